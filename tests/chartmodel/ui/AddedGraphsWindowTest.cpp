// The daily chart window with added graphs: another share and the FTSE 100 drawn over the share's
// bars in their own pens, on the share's axis from the share's level.
#include "../../lists/ListFixture.h"
#include "chartmodel/AddedGraphEntries.h"
#include "chartmodel/AddedGraphSet.h"
#include "chartmodel/EodChart.h"
#include "chartmodel/RelativeSeries.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/LegendModel.h"
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "core/ConfigState.h"
#include "core/RecordFlags.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"
#include "support/ui/Render.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>

#include <random>

namespace qv {
namespace {

namespace gs = graphsetting;
using namespace std::chrono;

constexpr uint32_t kMagenta = 0xC000C0;  // red in the low byte
constexpr uint32_t kOlive = 0x00C0C0;
constexpr uint32_t kTwoPixels = 1u << 28;

dev::DbRecord WalkRecord(std::mt19937& rng, uint16_t id, const char* name, uint8_t kind, double start, int16_t scale)
{
    dev::WalkParameters walk;
    walk.startPrice = start;
    walk.scale = scale;
    walk.unit = scale == 10 ? 0.1f : 1.0f;
    dev::DbRecord r = dev::ShareRecord(id, name, 11, std::string(name).substr(0, 3));
    if (kind == 1) {
        const uint16_t flags = MakeRecordFlags(kMarketIndex, kIndexNone);
        r.head[kRecordFlagsOffset - 4] = uint8_t(flags);
        r.head[kRecordFlagsOffset - 3] = uint8_t(flags >> 8);
    }
    r.subRecords = {dev::PriceSubRecord(kind, 100, dev::RandomWalkHistory(rng, sys_days{2024y / 1 / 2},
                                                                          sys_days{2025y / 12 / 31}, walk))};
    return r;
}

int CountColour(const QImage& image, uint32_t word)
{
    const QRgb wanted = qRgb(int(word & 0xFF), int((word >> 8) & 0xFF), int((word >> 16) & 0xFF));
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF);
    return n;
}

class AddedGraphsWindow : public test::ListFixture {
protected:
    AddedGraphsWindow() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Setting(), false);
        std::mt19937 rng(20260101);
        std::vector<dev::DbRecord> records = {WalkRecord(rng, 0x4001, "Alpha Mining", 11, 250, 1),
                                              WalkRecord(rng, 0x4002, "Bravo Foods", 11, 900, 1),
                                              WalkRecord(rng, kMarketCalendarId, "FTSE 100", 1, 7000, 10)};
        Load(dev::WriteQuorvaDat(test::OneEntry(std::move(records))));
        list = NewList(1);
        list->entries[0] = {RecordIndex[0x4001], 0};
        list->last = 0;
        list->filledMark = list->word + 1;
    }
    ~AddedGraphsWindow() override { Config().dailyGraphs.records[0] = saved_; }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }

    ShareList* list = nullptr;

private:
    GraphSetting saved_;
};

TEST_F(AddedGraphsWindow, TwoGraphsDrawInTheirPensOnTheSharesAxis)
{
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    WriteAddedGraph(Setting(), 0, {0, kMagenta | kTwoPixels, 0x4002});
    WriteAddedGraph(Setting(), 1, {0, kOlive | kTwoPixels, kAddedFtse100});
    CViewGraphEODWnd window(kViewDailyChart);
    window.list = list;
    const QImage image = window.RenderToImage(1200, 700);
    test::SaveRender(image, "eod_added_graphs");
    ASSERT_TRUE(window.noDataText.empty());
    EXPECT_GT(CountColour(image, kMagenta), 300);
    EXPECT_GT(CountColour(image, kOlive), 300);

    // Each graph's range is the share's range at the graph's level.
    const GraphSeries* price = FindSeries(window.timeBands, window.FindPane(kPanePrice));
    ASSERT_NE(price, nullptr);
    for (int k = 0; k < 2; ++k) {
        const AddedGraphSlot& slot = window.eod.addedGraphs().slot(k);
        ASSERT_NE(slot.series, nullptr) << k;
        const float ratio = slot.reference / slot.priceReference;
        EXPECT_NEAR(slot.series->range->maximum, price->range->maximum * ratio, 1e-3f * slot.series->range->maximum);
        EXPECT_NEAR(slot.series->range->minimum, price->range->minimum * ratio, 1e-3f * slot.series->range->maximum);
    }

    // Removing the graphs leaves the share alone.
    RemoveAddedGraph(Setting(), 0);
    RemoveAddedGraph(Setting(), 1);
    const QImage plain = window.RenderToImage(1200, 700);
    EXPECT_EQ(CountColour(plain, kMagenta), 0);
    EXPECT_EQ(CountColour(plain, kOlive), 0);
}

// The relative entry draws the share's closes relative to its item (not the item's own closes),
// named "Relative to" the item, and follows the share after each load.
TEST_F(AddedGraphsWindow, TheRelativeEntryDrawsTheShareAgainstItsItem)
{
    WriteAddedGraph(Setting(), kRelativeEntry, {0, kMagenta | kTwoPixels, kAddedFtse100});
    CViewGraphEODWnd window(kViewDailyChart);
    window.list = list;
    const QImage image = window.RenderToImage(1200, 700);
    test::SaveRender(image, "eod_relative_ftse100");
    EXPECT_GT(CountColour(image, kMagenta), 300);
    const AddedGraphSlot& slot = window.eod.addedGraphs().slot(kRelativeEntry);
    EXPECT_EQ(slot.name, "Relative to " + slot.itemName);
    // The legend puts its own "Relative to " before the item's name: it is handed the name alone.
    LegendSource legend;
    window.eod.FillLegendSource(legend, false);
    EXPECT_EQ(legend.addedGraphNames[size_t(kRelativeEntry)], slot.itemName);
    EXPECT_NE(slot.itemName.rfind("Relative to ", 0), 0u) << slot.itemName;
    // Each bar's value is b x close / index close, b the index's first close.
    const std::vector<DayRecord>& days = window.eod.days();
    const std::vector<double> relative = BuildRelativeValues(days, slot.days);
    const std::vector<FoldedBar>& bars = window.eod.bars();
    ASSERT_EQ(slot.values.size(), bars.size());
    for (size_t b = 0; b < bars.size(); b += 17)
        EXPECT_NEAR(slot.values[b], relative[size_t(bars[b].last)], 1e-3 * relative[size_t(bars[b].last)]) << b;
    // Not the index's own closes.
    EXPECT_GT(std::fabs(slot.values.back() - slot.days.back().close), 1.0f);
}

// A Kagi chart against the dates draws the added graphs over it, on its axis.
TEST_F(AddedGraphsWindow, AKagiChartAgainstTheDatesCarriesTheAddedGraphs)
{
    gs::SetU8(Setting(), gs::kPriceDisplay, 6);
    gs::SetU16(Setting(), gs::kBoxValue, 300);
    gs::SetU8(Setting(), gs::kBoxValueOption, 1);
    gs::SetU16(Setting(), gs::kBoxChartFlags, 2);
    WriteAddedGraph(Setting(), 0, {0, kMagenta | kTwoPixels, 0x4002});
    CViewGraphEODWnd window(kViewDailyChart);
    window.list = list;
    const QImage image = window.RenderToImage(1200, 700);
    test::SaveRender(image, "eod_added_graphs_kagi_dated");
    ASSERT_TRUE(window.noDataText.empty());
    ASSERT_TRUE(window.eod.DatedReversal());
    EXPECT_GT(CountColour(image, kMagenta), 300);
    const AddedGraphSlot& slot = window.eod.addedGraphs().slot(0);
    ASSERT_NE(slot.series, nullptr);
    const GraphSeries* price = FindSeries(window.timeBands, window.FindPane(kPanePrice));
    ASSERT_NE(price, nullptr);
    // The Kagi prices lie within the joint axis.
    for (const BoxChartPoint& p : window.eod.boxPoints())
        if (int32_t(p.lastDate) >= window.eod.display().start) {
            EXPECT_GE(p.price, price->range->minimum);
            EXPECT_LE(p.price, price->range->maximum);
        }
}

} // namespace
} // namespace qv
