// Tests of the items of "Quorva.cfg".
#include "core/ConfigItem.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {
std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> out;
    for (int v : values)
        out.push_back(uint8_t(v));
    return out;
}

// A column record of the given length: its length byte, then bytes counting up from `first`.
std::vector<uint8_t> Record(size_t length, uint8_t first)
{
    std::vector<uint8_t> r(length);
    r[0] = uint8_t(length);
    for (size_t i = 1; i < length; ++i)
        r[i] = uint8_t(first + i);
    return r;
}
} // namespace

TEST(ConfigItem, WrittenItemsReadBackWithNameSortAndData)
{
    ByteWriter w;
    auto data = Bytes({9, 8, 7});
    WriteConfigItemWithSort(w, 5, data, std::string("Table 6"), -3);
    WriteConfigItem(w, 11, data, std::nullopt);
    // The length word counts the name (with its zero) and the data, not the sort byte.
    EXPECT_EQ(LoadU16(w.data().data()), 8 + 3);

    ByteReader r(w.data());
    ConfigItem item;
    ASSERT_TRUE(ReadConfigItem(r, true, ItemLengthRule::Current, item));
    EXPECT_EQ(item.head.type, 5);
    EXPECT_EQ(item.name, "Table 6");
    EXPECT_EQ(item.sort, -3);
    EXPECT_EQ(std::vector<uint8_t>(item.data.begin(), item.data.end()), data);
    ASSERT_TRUE(ReadConfigItem(r, false, ItemLengthRule::Current, item));
    EXPECT_EQ(item.head.type, 11);
    EXPECT_FALSE(item.name);
    EXPECT_EQ(item.data.size(), 3u);
    EXPECT_TRUE(r.atEnd());
}

TEST(ConfigItem, OlderLengthRulesFindTheSameData)
{
    // Length word counting the sort byte: 1 (name "A" + zero = 2) + 1 sort + 2 data = 5.
    auto countsSort = Bytes({5, 0, 3, 2, 'A', 0, 7, 0xAA, 0xBB});
    // Length word of 4 + data length, the name not counted.
    auto fourNotName = Bytes({6, 0, 3, 2, 'A', 0, 0xAA, 0xBB});
    for (auto [bytes, rule, sort] :
         {std::tuple{countsSort, ItemLengthRule::CountsSortByte, true},
          std::tuple{fourNotName, ItemLengthRule::CountsFourNotName, false}}) {
        ByteReader r(bytes);
        ConfigItem item;
        ASSERT_TRUE(ReadConfigItem(r, sort, rule, item));
        EXPECT_EQ(item.name, "A");
        EXPECT_EQ(std::vector<uint8_t>(item.data.begin(), item.data.end()), Bytes({0xAA, 0xBB}));
        EXPECT_TRUE(r.atEnd());
    }
}

TEST(ConfigItem, DamagedItemsAreFailedReads)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        ItemLengthRule rule;
    };
    std::vector<Case> cases = {
        {"short head", Bytes({4, 0, 1}), ItemLengthRule::Current},
        {"name longer than its item", Bytes({2, 0, 1, 5, 'a', 'b', 'c', 'd', 0}), ItemLengthRule::Current},
        {"type outside the slots", Bytes({1, 0, 12, 0, 9}), ItemLengthRule::Current},
        {"data past the end", Bytes({9, 0, 1, 0, 1, 2}), ItemLengthRule::Current},
        {"sort-counting length too small", Bytes({2, 0, 1, 2, 'a', 0, 3}), ItemLengthRule::CountsSortByte},
        {"old graph length below 4", Bytes({3, 0, 1, 0}), ItemLengthRule::CountsFourNotName},
    };
    for (const auto& c : cases) {
        ByteReader r(c.bytes);
        ConfigItem item;
        EXPECT_FALSE(ReadConfigItem(r, c.rule == ItemLengthRule::CountsSortByte, c.rule, item)) << c.what;
        EXPECT_FALSE(r.ok()) << c.what;
    }
}

TEST(ConfigItem, FixedRecordsRejectLongerData)
{
    auto bytes = Bytes({3, 0, 0, 0, 1, 2, 3});
    ByteReader r(bytes);
    ConfigItem item;
    ASSERT_TRUE(ReadConfigItem(r, false, ItemLengthRule::Current, item));
    uint8_t small[2] = {};
    uint8_t large[4] = {9, 9, 9, 9};
    EXPECT_FALSE(ReadItemData(item, small, sizeof small));
    EXPECT_TRUE(ReadItemData(item, large, sizeof large));
    EXPECT_EQ(large[2], 3);
    EXPECT_EQ(large[3], 9); // bytes past the data keep what the record held
}

TEST(ConfigItem, ChainItemsWithoutChainOrName)
{
    ByteWriter w;
    WriteChainItem(w, 2, {}, std::nullopt);
    EXPECT_EQ(w.size(), 0u);
    WriteChainItem(w, 2, {}, std::string("N"));
    EXPECT_EQ(w.data(), Bytes({2, 0, 2, 2, 'N', 0}));

    // A chain is written up to its terminator only.
    ByteWriter c;
    auto chain = Bytes({2, 7, 0, 55, 55});
    WriteChainItem(c, 1, chain, std::nullopt);
    EXPECT_EQ(c.data(), Bytes({3, 0, 1, 0, 2, 7, 0}));
}

TEST(ConfigItem, CopyKeepsBytesAndLeavesOutTheSkippedSlot)
{
    ByteWriter source;
    WriteConfigItemWithSort(source, 3, Bytes({1, 2}), std::string("x"), 4);
    WriteConfigItemWithSort(source, 4, Bytes({5}), std::string("y"), -1);
    ByteReader r(source.data());
    ByteWriter target;
    EXPECT_TRUE(CopyConfigItem(r, target, 4, false, true));
    EXPECT_TRUE(CopyConfigItem(r, target, 4, false, true));
    EXPECT_TRUE(r.atEnd());
    ByteWriter expected;
    WriteConfigItemWithSort(expected, 3, Bytes({1, 2}), std::string("x"), 4);
    EXPECT_EQ(target.data(), expected.data());

    auto badBytes = Bytes({1, 0, 20, 0, 0});
    ByteReader bad(badBytes);
    EXPECT_FALSE(CopyConfigItem(bad, target, -1, false, false));
}

TEST(ConfigItem, ChainLengthNeedsATerminatorInside)
{
    EXPECT_EQ(ChainLength(Bytes({0})), 1u);
    EXPECT_EQ(ChainLength(Bytes({3, 1, 1, 2, 1, 0, 9})), 6u);
    EXPECT_EQ(ChainLength(Bytes({3, 1, 1, 2, 1})), 0u);
    EXPECT_EQ(ChainLength(Bytes({5, 1, 1})), 0u); // record runs past the end
    EXPECT_EQ(ChainLength({}), 0u);
}

TEST(ConfigItem, WideningInsertsSixteenBytesIntoEachRecord)
{
    auto first = Record(11, 0);
    auto second = Record(12, 40);
    second[1] = 0; // byte 1 stays 0 when it is 0
    std::vector<uint8_t> chain = first;
    chain.insert(chain.end(), second.begin(), second.end());
    chain.push_back(0);

    auto wide = WidenColumnChain(chain);
    ASSERT_TRUE(wide);
    ASSERT_EQ(wide->size(), 27u + 28u + 1u);
    const uint8_t* a = wide->data();
    EXPECT_EQ(a[0], 27);
    EXPECT_EQ(a[1], first[1] + 16);
    EXPECT_EQ(a[6], first[6]);
    EXPECT_EQ(a[7], 0);
    for (int i = 8; i < 24; ++i)
        EXPECT_EQ(a[i], 0) << i;
    EXPECT_EQ(a[24], first[8]);
    EXPECT_EQ(a[26], first[10]);
    const uint8_t* b = a + 27;
    EXPECT_EQ(b[0], 28);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[27], second[11]);
    EXPECT_EQ(wide->back(), 0);
}

TEST(ConfigItem, WideningFailsOnShortLongOrUnendedRecords)
{
    auto withEnd = [](std::vector<uint8_t> r) {
        r.push_back(0);
        return r;
    };
    EXPECT_FALSE(WidenColumnChain(withEnd(Record(10, 0))));   // shorter than 11
    EXPECT_FALSE(WidenColumnChain(withEnd(Record(240, 0))));  // 240 + 16 does not fit a byte
    EXPECT_TRUE(WidenColumnChain(withEnd(Record(239, 0))));
    EXPECT_FALSE(WidenColumnChain(Record(20, 0)));            // no terminator
    auto cut = Record(20, 0);
    cut.resize(15);
    EXPECT_FALSE(WidenColumnChain(cut));                      // record runs past the item
    EXPECT_EQ(WidenColumnChain(Bytes({0})), Bytes({0}));
}
