// The share details page: the item list and its settings, the layout, the results rows with their
// dates and changes, the growth chart and the title.
#include "lists/DetailPage.h"

#include "core/ConfigRecords.h"
#include "core/RecordLookup.h"
#include "core/SettingRecordStore.h"
#include "devtools/lib/PriceDatabase.h"
#include "lists/ResultsFigures.h"
#include "platform/ByteOrder.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

constexpr uint16_t kShare = 0x4001;

struct Entry {
    PackedDate date;
    uint8_t kind;
    float profit, eps, dividend, turnover;
};

class DetailResults : public DatabaseFixture {
protected:
    uint8_t* Load(const std::vector<Entry>& entries)
    {
        dev::DbRecord r = dev::ShareRecord(kShare, "Alpha", 'O', "ALP");
        for (const Entry& e : entries) {
            dev::DbItem item;
            StoreU16(item.bytes.data(), e.date);
            item.bytes[2] = e.kind;
            StoreF32(item.bytes.data() + 4, e.profit);
            StoreF32(item.bytes.data() + 8, e.eps);
            StoreF32(item.bytes.data() + 12, e.dividend);
            StoreF32(item.bytes.data() + 16, e.turnover);
            r.items.push_back(item);
        }
        DatabaseFixture::Load(dev::WriteQuorvaDat(OneEntry({r})));
        return FindShareRecord(kShare);
    }
};

TEST(DetailPage, ItemListsDefaultsAndTheWholeTable)
{
    EXPECT_EQ(kDetailItemCodes[0], 8);
    EXPECT_EQ(kDetailItemCodes[34], 5);
    EXPECT_EQ(kDetailItemCodes[62], 111);
    std::array<uint8_t, kDetailListBytes> list{};
    // No end mark: the default items, the same the item chooser's "Default" includes.
    const std::vector<uint8_t> defaults = DefaultDetailItems();
    EXPECT_EQ(DetailItemIndexes(list.data()), std::vector<int>(defaults.begin(), defaults.end()));
    EXPECT_EQ(defaults.size(), 26u);
    list.fill(0);
    list[0] = kDetailListEnd;
    EXPECT_TRUE(DetailItemIndexes(list.data()).empty());
    const uint8_t chosen[] = {62, 63, 200, 3, 62, kDetailListEnd};
    std::copy(std::begin(chosen), std::end(chosen), list.begin());
    EXPECT_EQ(DetailItemIndexes(list.data()), (std::vector<int>{62, 3}));
}

TEST(DetailPage, SettingsRoundTripThroughTheirBytesOnly)
{
    OptionBlockB block;
    const std::vector<uint8_t> defaults = DefaultDetailItems();
    EXPECT_EQ(DetailItemIndexes(ReadDetailSettings(block).items.data()), std::vector<int>(defaults.begin(), defaults.end()));
    DetailSettings s;
    s.items.fill(kDetailListEnd);
    s.items[0] = 40;
    s.whiteSpace = 7;
    s.showNotes = false;
    s.fontPoints = 12;
    s.italic = true;
    s.boxBack = 0x123456;
    OptionBlockB before = block;
    WriteDetailSettings(block, s);
    const DetailSettings back = ReadDetailSettings(block);
    EXPECT_EQ(back.items, s.items);
    EXPECT_EQ(back.whiteSpace, 7);
    EXPECT_FALSE(back.showNotes);
    EXPECT_TRUE(back.showInterims);
    EXPECT_EQ(back.fontPoints, 12);
    EXPECT_TRUE(back.italic && !back.bold);
    EXPECT_EQ(back.boxBack, 0x123456u);
    for (size_t i = 0; i < 452; ++i) {
        if (i < OptionBlockB::kDetailSettings || i >= OptionBlockB::kDetailSettingsEnd) {
            ASSERT_EQ(block.data()[i], before.data()[i]) << i;
        }
    }
}

TEST(DetailPage, LayoutTitleAndScrolling)
{
    struct Case {
        int width;
        int columns, labelWidth, columnWidth;
        bool split;
    };
    // 8 characters of 7 units and two margins of 6: 68 units a column.
    for (const Case c : {Case{700, 10, 31, 70, true}, Case{200, 2, 45, 100, false}, Case{40, 1, 18, 40, false}}) {
        const DetailLayout l = ComputeDetailLayout(c.width, 7, 12, 6, false);
        EXPECT_EQ(l.columns, c.columns) << c.width;
        EXPECT_EQ(l.labelWidth, c.labelWidth) << c.width;
        EXPECT_EQ(l.columnWidth, c.columnWidth) << c.width;
        EXPECT_EQ(l.splitHeading, c.split) << c.width;
        EXPECT_EQ(l.lineStep, 24);
    }
    EXPECT_EQ(ComputeDetailLayout(700, 7, 12, 6, true).lineStep, 36);

    EXPECT_EQ(DetailTitle(2, false, "Growth", "All sectors", "P"), "Details - Growth");
    EXPECT_EQ(DetailTitle(1, true, "Shares", "All sectors", "P"), "Details - Shares - All sectors");
    EXPECT_EQ(DetailTitle(1, false, "Shares", "All sectors", "P"), "Details - Shares - All sectors - P");

    EXPECT_EQ(ClampDetailScroll(-3, 10), 0);
    EXPECT_EQ(ClampDetailScroll(12, 10), 10);
    int wheel = 0;
    EXPECT_EQ(DetailWheelPages(wheel, -60), 0);
    EXPECT_EQ(DetailWheelPages(wheel, -60), 1); // a full 120 down: one page down
    EXPECT_EQ(DetailWheelPages(wheel, 240), -2);
}

TEST_F(DetailResults, RowsDatesAndChanges)
{
    uint8_t* share = Load({{PackDate(31, 3, 2019), 0, 10, 20, 8, 100},
                           {PackDate(30, 9, 2019), 1, 4, 9, 3, 48},
                           {PackDate(31, 3, 2020), 0, 12, 24, 10, 110},
                           {PackDate(31, 3, 2021), 3, 15, 30, 12, 120}});
    auto rows = BuildDetailResultsRows(share, 0, true, true);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(DetailResultsDateText(rows[0]), "Announced: 31/3/19");
    EXPECT_EQ(DetailResultsDateText(rows[1]), "Interim: 30/9/19");
    EXPECT_EQ(DetailResultsDateText(rows[3]), "Forecast: 3/21");
    // Changes against the previous figure of the same kind: annual 10 -> 12, interims apart.
    EXPECT_EQ(rows[2].changes[0], "  (20.0%)");
    EXPECT_TRUE(rows[1].changes[0].empty());
    EXPECT_EQ(rows[3].changes[0], "  (25.0%)");
    EXPECT_EQ(BuildDetailResultsRows(share, 0, false, false).size(), 3u);
    EXPECT_TRUE(BuildDetailResultsRows(share, 0, false, false)[1].changes[0].empty());

    GrowthChart chart = BuildGrowthChart(share, 0);
    ASSERT_TRUE(chart.valid());
    ASSERT_EQ(chart.dates.size(), 3u); // interims left out
    EXPECT_FALSE(chart.changes[0][0]);
    EXPECT_DOUBLE_EQ(*chart.changes[0][1], 0.2);
    EXPECT_TRUE(chart.forecast[2]);
    EXPECT_NEAR(chart.top, 0.3, 1e-9); // the largest change 0.25
    EXPECT_NEAR(chart.bottom, 0, 1e-9);
}

TEST_F(DetailResults, NoResultsAndOneRowGiveNoChart)
{
    uint8_t* none = Load({});
    EXPECT_TRUE(BuildDetailResultsRows(none, 0, true, true).empty());
    EXPECT_FALSE(BuildGrowthChart(none, 0).valid());
    FreeDatabase(true);
    uint8_t* one = Load({{PackDate(31, 3, 2020), 0, 12, 24, 10, 110}});
    EXPECT_EQ(BuildDetailResultsRows(one, 0, true, true).size(), 1u);
    EXPECT_FALSE(BuildGrowthChart(one, 0).valid());
}

TEST_F(DetailResults, NotesOfTheShareInNumberOrder)
{
    uint8_t* share = Load({});
    const char note[] = "Buy below 300p";
    ASSERT_TRUE(SetSettingRecord(kShare, 0, 130, "Results in May", 15));
    ASSERT_TRUE(SetSettingRecord(kShare, 0, 128, note, sizeof note));
    ASSERT_TRUE(SetSettingRecord(kShare, 1, 129, "another line", 13)); // another sub-record's note
    const auto notes = DetailNotes({share, 0});
    DeleteSettingKey(kShare);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], (std::pair<int, std::string>{1, "Buy below 300p"}));
    EXPECT_EQ(notes[1], (std::pair<int, std::string>{3, "Results in May"}));
}

TEST(DetailPage, GrowthScale)
{
    struct Case {
        double lo, hi, bottom, top;
    };
    for (const Case c : {Case{-0.25, 0.33, -0.3, 0.4}, Case{-2.2, 1.7, -3, 2}, Case{0, 0, 0, 0.1}}) {
        GrowthChart chart;
        chart.changes[0] = {c.lo, c.hi};
        ScaleGrowthChart(chart);
        EXPECT_NEAR(chart.bottom, c.bottom, 1e-9);
        EXPECT_NEAR(chart.top, c.top, 1e-9);
    }
}

} // namespace

TEST(DetailPage, PensAndFaceRecordReadsBackOrIsIgnored)
{
    DetailSettings s;
    s.pens[2] = 0x2300FFFF;
    s.face = "Times New Roman";
    const std::vector<uint8_t> record = EncodeDetailPens(s);
    ASSERT_EQ(record.size(), kDetailPensRecordSize);
    DetailSettings back;
    ASSERT_TRUE(DecodeDetailPens(record, back));
    EXPECT_EQ(back.pens, s.pens);
    EXPECT_EQ(back.face, "Times New Roman");

    std::vector<uint8_t> shortRecord(record.begin(), record.end() - 1);
    std::vector<uint8_t> noFace = record;
    std::fill_n(noFace.data() + 32, 32, uint8_t(0));
    std::vector<uint8_t> unended = record;
    std::fill_n(unended.data() + 32, 32, uint8_t('A'));
    for (const auto& bad : {shortRecord, noFace, unended}) {
        DetailSettings kept;
        EXPECT_FALSE(DecodeDetailPens(bad, kept));
        EXPECT_EQ(kept.pens, DetailSettings{}.pens);
        EXPECT_EQ(kept.face, "Arial");
    }
}
