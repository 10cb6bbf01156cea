// Price correction nodes over a loaded price array and their items in the correction store.
#include "chartmodel/PriceEdits.h"

#include "core/LinesAndTextFiles.h"
#include "core/Memory.h"
#include "core/PriceStatistics.h"
#include "core/PriceSubRecords.h"
#include "platform/ByteOrder.h"
#include "support/PriceFixtures.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

const uint16_t kMonday = Date(2006, 1, 2);

// Closes 0.05, 0.06, (no data), 0.08, 0.09, 0.10 from Monday 2 January 2006.
std::vector<uint8_t> Week()
{
    return Record(0x4001, {SubRecord(100, kMonday, {5, 1, 'A', 2, 1, 1, ' '})});
}

class PriceEditsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        record = Week();
        entry = RecordCursor{record.data(), 0};
        RecordCursor cursor = entry;
        count = DecodePriceHistory(&cursor, &days, 0, false, false);
        ASSERT_GT(count, 4);
    }
    void TearDown() override
    {
        FreePriceEdits(list, false);
        ProFree(days);
        PriceCorrectionStore().FreeItems();
    }
    DayRecord* Day(int i) { return days + i; }
    uint32_t StoredLength() { return BlobLength(PriceCorrectionStore().GetItem(0x4001, 6, 0)); }

    std::vector<uint8_t> record;
    RecordCursor entry;
    DayRecord* days = nullptr;
    int32_t count = 0;
    PriceEditList list;
};

} // namespace

TEST(PriceEdits, DifferencesBeyondTheTolerances)
{
    DayRecord a{};
    a.date = kMonday;
    a.close = 10;
    a.volume = 100;
    struct {
        float close;
        float volume;
        uint16_t date;
        bool differs;
    } cases[] = {
        {10.00005f, 100, kMonday, false},
        {10.0002f, 100, kMonday, true},
        {10, 100.5f, kMonday, false},
        {10, 101, kMonday, true},
        {20, 100, uint16_t(kMonday + 1), false}, // another day never differs
    };
    for (const auto& c : cases) {
        DayRecord b = a;
        b.close = c.close;
        b.volume = c.volume;
        b.date = c.date;
        EXPECT_EQ(PriceRecordDiffers(&a, &b), c.differs) << c.close << " " << c.volume;
    }
    EXPECT_FALSE(PriceRecordDiffers(&a, nullptr));
}

TEST_F(PriceEditsTest, NodesKeepDayOrderAndOneADay)
{
    AddPriceEdit(list, Day(3), 1);
    AddPriceEdit(list, Day(0), 1);
    AddPriceEdit(list, Day(4), 1);
    DayRecord copy = *Day(3);
    PriceEdit* again = AddPriceEdit(list, &copy, 1); // the same day only repoints its node
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(again->record, &copy);
    uint16_t last = 0;
    for (const PriceEdit& node : list) {
        EXPECT_GT(node.unedited.date, last);
        last = node.unedited.date;
    }
    EXPECT_EQ(FindPriceEdit(list, Day(4))->unedited.date, Day(4)->date);
    EXPECT_EQ(FindPriceEdit(list, nullptr), nullptr);
}

TEST_F(PriceEditsTest, RestorePutsTheDatabaseValuesBack)
{
    float close = Day(1)->close;
    AddPriceEdit(list, Day(1), 1);
    Day(1)->close = 99;
    EXPECT_TRUE(AnyPriceEdited(list));
    FreePriceEdits(list, true);
    EXPECT_FLOAT_EQ(Day(1)->close, close);
    EXPECT_TRUE(list.empty());
}

TEST_F(PriceEditsTest, SaveKeepsOnlyRealDifferencesAndLoadLaysThemOver)
{
    AddPriceEdit(list, Day(1), 1)->changed = 1;
    Day(1)->close += 0.00005f;  // too small to count
    EXPECT_EQ(StoredLength(), 0u);
    SavePriceEdits(list, &entry);
    EXPECT_EQ(StoredLength(), 0u);
    EXPECT_EQ(list.front().changed, 0u);

    AddPriceEdit(list, Day(4), 1);
    Day(4)->close = 2.5f;
    SavePriceEdits(list, &entry);
    EXPECT_EQ(StoredLength(), 8u + 36 + 36);
    EXPECT_FLOAT_EQ(ReadStreamStatistics(SubRecordOf(record.data(), 0).sub).allTimeHigh, 2.5f); // recomputed

    // A fresh load of the history takes the stored day again.
    float original = Day(4)->close;
    FreePriceEdits(list, true);
    EXPECT_FLOAT_EQ(Day(4)->close, 0.09f);
    LoadPriceEdits(days, list, &entry, false);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_FLOAT_EQ(Day(4)->close, original);
    EXPECT_EQ(list.front().changed, 1u);
    EXPECT_FLOAT_EQ(list.front().unedited.close, 0.09f);

    // Typing the database's value back clears the item.
    Day(4)->close = 0.09f;
    SavePriceEdits(list, &entry);
    EXPECT_EQ(StoredLength(), 0u);
}

TEST_F(PriceEditsTest, StoredDaysTheHistoryNoLongerHoldsAreIgnored)
{
    DayRecord gone{};
    gone.date = Date(2005, 6, 1);
    gone.close = 7;
    DayRecord kept = *Day(2);
    kept.close = 3;
    std::vector<uint8_t> body(4, 0);
    std::vector<uint8_t> records = CorrectionBytes({gone, kept});
    body.insert(body.end(), records.begin(), records.end());
    body.push_back(1); // a short tail reads as far as it goes
    PriceCorrectionStore().SetItem(0x4001, 6, 0, MakeBlob(body));
    LoadPriceEdits(days, list, &entry, false);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_FLOAT_EQ(Day(2)->close, 3);
}

TEST_F(PriceEditsTest, SwingEntriesUpToTheFirstEmpty)
{
    std::vector<uint8_t> entries(8 * 3, 0);
    StoreU16(entries.data(), kMonday);
    StoreU16(entries.data() + 8, uint16_t(kMonday + 1));
    entries[9 + 3] = 5;
    SavePriceEditFlags(entries, &entry);
    std::vector<uint8_t> read;
    EXPECT_EQ(LoadPriceEditFlags(read, &entry), 16u);
    EXPECT_EQ(std::vector<uint8_t>(entries.begin(), entries.begin() + 16), read);
    SavePriceEditFlags({}, &entry);
    EXPECT_EQ(LoadPriceEditFlags(read, &entry), 0u);
    EXPECT_TRUE(read.empty());
}
