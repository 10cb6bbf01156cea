// The share table: the halving search, insertion that keeps entry numbers, instruments and names.
#include "realtime/store/RTShareTable.h"

#include "realtime/store/RTStore.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

RTShareTable TableOf(std::initializer_list<uint32_t> keys)
{
    RTShareTable t = DefaultRTShareTable();
    for (uint32_t k : keys)
        AddRTKey(t, k, FindRTKeySlot(t, k).slot, ShareRef{nullptr, uint8_t(k >> 16), RTKeyShare(k)}, false);
    return t;
}

TEST(RTShareTableTest, FindsKeysAndInsertionSlotsByHalving)
{
    EXPECT_FALSE(FindRTKeySlot(DefaultRTShareTable(), 5).found);
    EXPECT_EQ(FindRTKeySlot(DefaultRTShareTable(), 5).slot, 0u);
    RTShareTable t = TableOf({40, 10, 30, 20, 50, 60});
    struct Case {
        uint32_t key;
        bool found;
        uint32_t slot;
    } cases[] = {{5, false, 0}, {10, true, 0}, {60, true, 5}, {70, false, 6}, {30, true, 2},
                 {40, true, 3}, {25, false, 2}, {55, false, 5}, {15, false, 1}};
    for (const Case& c : cases) {
        RTKeySlot r = FindRTKeySlot(t, c.key);
        EXPECT_EQ(r.found, c.found) << c.key;
        EXPECT_EQ(r.slot, c.slot) << c.key;
    }
}

TEST(RTShareTableTest, InsertionKeepsEntryNumbersAndTheOrder)
{
    RTShareTable t = TableOf({30, 10});
    EXPECT_EQ(t.keys[0].key, 30u) << "entry numbers follow the order of adding";
    EXPECT_EQ(t.KeyAtSlot(0), 10u);
    // A stale slot from the caller cannot break the order.
    EXPECT_EQ(AddRTKey(t, 20, 0, ShareRef{nullptr, 0, 20}, false), 1);
    EXPECT_EQ(AddRTKey(t, 20, 0, ShareRef{nullptr, 0, 20}, false), 1) << "a known key is not added again";
    EXPECT_EQ(t.keyCount, 3);
    EXPECT_EQ(t.KeyAtSlot(1), 20u);
    EXPECT_EQ(t.keys[2].key, 20u);
}

TEST(RTShareTableTest, GrowsBeyondItsCapacityInSteps)
{
    RTShareTable t = DefaultRTShareTable();
    for (uint32_t k = 1; k <= 1001; ++k)
        AddRTKey(t, k * 3, FindRTKeySlot(t, k * 3).slot, ShareRef{nullptr, 0, uint16_t(k * 3)}, false);
    EXPECT_EQ(t.keyCount, 1001);
    EXPECT_EQ(t.keyCapacity, 1200);
    EXPECT_TRUE(FindRTKeySlot(t, 3003).found);
    EXPECT_EQ(FindRTKeySlot(t, 3003).slot, 1000u);
}

bool OnlyEvenShares(uint16_t share) { return share % 2 == 0; }

TEST(RTShareTableTest, InstrumentsOnlyForSharesTheDatabaseLacksOrWhenForced)
{
    SetRTDatabaseLookup(OnlyEvenShares);
    RTShareTable t = DefaultRTShareTable();
    auto add = [&](uint16_t share, bool force) {
        uint32_t key = MakeRTKey(0, share);
        AddRTKey(t, key, FindRTKeySlot(t, key).slot, ShareRef{nullptr, 0, share}, force);
        return t.keys[t.keyCount - 1].instrument;
    };
    EXPECT_EQ(add(0x4002, false), kRTNoInstrument);
    EXPECT_EQ(add(0x4003, false), 1) << "instrument number 0 is never handed out";
    EXPECT_EQ(add(0x4004, true), 2);
    EXPECT_EQ(t.Instrument(2)->share, 0x4004);
    EXPECT_EQ(t.Instrument(0), nullptr);
    EXPECT_EQ(t.Instrument(3), nullptr);
    SetRTDatabaseLookup(nullptr);
}

TEST(RTShareTableTest, NewSharesAreTheInstrumentsTheDatabaseLacks)
{
    SetRTDatabaseLookup(OnlyEvenShares);
    RTShareTable t = DefaultRTShareTable();
    for (uint16_t share : {0x4003, 0x4004, 0x4005}) {
        const uint32_t key = MakeRTKey(0, share);
        AddRTKey(t, key, FindRTKeySlot(t, key).slot, ShareRef{nullptr, 0, share}, true);
        RTInstrument* x = t.Instrument(t.keys[t.keyCount - 1].instrument);
        x->shortName = uint32_t(AddRTName(t, "S" + std::to_string(share)));
        x->longName = uint32_t(AddRTName(t, "Share " + std::to_string(share)));
    }
    EXPECT_EQ(NewRTShareLines(t), (std::vector<std::string>{"S16387  Share 16387", "S16389  Share 16389"}));
    // Registered as an extra item the database then answers for it; it is still a new share.
    SetRTDatabaseLookup([](uint16_t) { return true; });
    t.Instrument(1)->registeredExtra = 1;
    EXPECT_EQ(NewRTShareLines(t), (std::vector<std::string>{"S16387  Share 16387"}));
    SetRTDatabaseLookup(nullptr);
    EXPECT_TRUE(NewRTShareLines(DefaultRTShareTable()).empty());
}

TEST(RTShareTableTest, NamesAppendWithTheirEnd)
{
    RTShareTable t = DefaultRTShareTable();
    EXPECT_EQ(AddRTName(t, "ABC"), 0);
    EXPECT_EQ(AddRTName(t, "Longer name"), 4);
    EXPECT_EQ(t.NameAt(4), "Longer name");
    EXPECT_EQ(t.NameAt(400), "");
    RTShareTable none;
    EXPECT_EQ(AddRTName(none, "X"), -1);
}

TEST(RTShareTableTest, InstrumentClosesOutsideTheRangeAreCleared)
{
    struct Case {
        float close;
        int result;
        float kept;
    } cases[] = {{0.000001f, -1, 0}, {0.00002f, 0, 0.00002f}, {123.5f, 0, 123.5f}, {1000000.0f, 0, 1000000.0f},
                 {2000000.0f, -1, 0}, {-5.0f, -1, 0}};
    for (const Case& c : cases) {
        RTInstrument x;
        x.previousClose = c.close;
        EXPECT_EQ(CheckRTInstrumentClose(x), c.result) << c.close;
        EXPECT_EQ(x.previousClose, c.kept) << c.close;
    }
}

} // namespace
} // namespace qv
