// The daily chart window on a synthetic history: renders of each price style, multi-day bars, the
// averages with their bands and the no-data text, and the class the daily chart kind is created as.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/ConfigState.h"
#include "devtools/lib/SyntheticDays.h"
#include "shell/ViewKinds.h"
#include "shell/ui/ViewClassRegistry.h"
#include "support/ui/Render.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv {
namespace {

namespace gs = graphsetting;

class DailyChartWindow : public ::testing::Test {
protected:
    DailyChartWindow() : saved_(Config().dailyGraphs.records[0]) { InitGraphSetting(Setting(), false); }
    ~DailyChartWindow() override { Config().dailyGraphs.records[0] = saved_; }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }

    QImage Render(const std::vector<DayRecord>& days, const char* name)
    {
        window = std::make_unique<CViewGraphEODWnd>(kViewDailyChart);
        window->eod.SetHistory(days.data(), int32_t(days.size()), 1);
        QImage image = window->RenderToImage(1200, 700);
        test::SaveRender(image, name);
        return image;
    }

    std::unique_ptr<CViewGraphEODWnd> window;

private:
    GraphSetting saved_;
};

int CountColoured(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            n += qRed(p) != qGreen(p) || qGreen(p) != qBlue(p);
        }
    return n;
}

TEST_F(DailyChartWindow, EachPriceStyleDrawsTheHistoryWithoutANoDataText)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(400);
    const char* names[] = {"eod_close_line", "eod_ohlc", "eod_hlc", "eod_hl", "eod_candles"};
    for (uint8_t style = 0; style <= 4; ++style) {
        gs::SetU8(Setting(), gs::kPriceDisplay, style);
        const QImage image = Render(days, names[style]);
        EXPECT_TRUE(window->noDataText.empty()) << int(style);
        EXPECT_EQ(window->eod.visibleCount(), 400) << int(style);
        EXPECT_GT(CountColoured(image), 200) << int(style);
    }
}

TEST_F(DailyChartWindow, FortnightlyBarsAndAveragesWithBands)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(2500);
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    gs::SetU8(Setting(), gs::kBarPeriod, 6);
    Render(days, "eod_two_week_bars");
    EXPECT_EQ(window->eod.scale().code, 6);
    gs::SetU8(Setting(), gs::kBarPeriod, 0);
    for (int line = 0; line < 4; ++line)
        gs::SetU32(Setting(), gs::kLineWords + 4 * size_t(line), gs::LineWord(Setting(), line) | 0xC0000000u);
    Render(days, "eod_averages_bands");
    EXPECT_TRUE(window->noDataText.empty());
}

TEST_F(DailyChartWindow, PivotPointLinesFollowTheEnableBits)
{
    gs::SetU8(Setting(), gs::kPivot1 + gs::kPivotFlags, 1 | 8);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(120);
    Render(days, "eod_pivots");
    const GraphSeries* price = FindSeries(window->timeBands, window->FindPane(kPanePrice));
    ASSERT_NE(price, nullptr);
    int lines = 0;
    for (const PlotElement* e = price->elements; e; e = e->next)
        lines += e->style == 1 && e->values.type == kArrayFloats;
    EXPECT_EQ(lines, 2);
    // The pivot of day 2 is the mean of day 1's high, low and close (method 0), at bar 2.
    const PlotElement* pivot = price->elements->next;
    const float expected = (days[1].high + days[1].low + days[1].close) / 3;
    EXPECT_FLOAT_EQ(static_cast<const float*>(pivot->values.data)[2], expected);
}

TEST_F(DailyChartWindow, AZoomDragUnderFivePixelsChangesNothing)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(400);
    Render(days, "eod_before_zoom");
    const TimeBand* band = window->timeBands;
    ASSERT_NE(band, nullptr);
    const int32_t x = (band->left + band->right) / 2;
    EXPECT_FALSE(window->eod.ZoomToDragRange(x, x + 4));
    EXPECT_EQ(window->eod.ZoomRangeTexts(band->left, band->right)[0], "From 2/1/15");
    ASSERT_TRUE(window->eod.ZoomToDragRange(x, band->right));
    window->RenderToImage(1200, 700);
    EXPECT_LT(window->eod.visibleCount(), 220);
    EXPECT_GT(window->eod.visibleCount(), 180);
    EXPECT_EQ(window->eod.display().end, days[399].date);
}

TEST_F(DailyChartWindow, CloseOnlyDaysDrawWithoutAVolumePane)
{
    std::vector<DayRecord> days = dev::MakeSyntheticDays(300);
    for (DayRecord& day : days)
        day.open = day.high = day.low = day.volume = 0;
    days.back() = DayRecord{};
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    Render(days, "eod_close_only");
    EXPECT_TRUE(window->noDataText.empty());
    EXPECT_EQ(window->volumeShown, 0);
    const GraphPane* volume = window->FindPane(kPaneVolume);
    EXPECT_TRUE(volume == nullptr || !volume->visible);
    // The closes are drawn as a line, not as bars.
    const GraphSeries* price = FindSeries(window->timeBands, window->FindPane(kPanePrice));
    ASSERT_NE(price, nullptr);
    EXPECT_EQ(price->firstElement->style, 1u);
}

TEST_F(DailyChartWindow, AnEmptyHistoryPaintsNoPriceData)
{
    Render({}, "eod_no_data");
    EXPECT_EQ(window->noDataText, "No price data");
    // A fixed range that starts after it ends.
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(300);
    gs::SetU16(Setting(), gs::kDateRangeFlags, 16 | 64 | 128);
    gs::SetU16(Setting(), gs::kDateRangeStart, days[200].date);
    gs::SetU16(Setting(), gs::kDateRangeEnd, days[100].date);
    Render(days, "eod_no_prices_in_range");
    EXPECT_EQ(window->noDataText, "No prices in the current range^^(Double-click to show the full range)");
    window->eod.OnDoubleClick();
    window->RenderToImage(1200, 700);
    EXPECT_TRUE(window->noDataText.empty());
    EXPECT_EQ(window->eod.visibleCount(), 300);
}

TEST_F(DailyChartWindow, TheDailyChartKindIsCreatedAsTheDailyChart)
{
    InstallDailyChartClass();
    std::unique_ptr<CViewBaseWnd> created(CreateViewWindowForKind(kViewDailyChart));
    EXPECT_NE(dynamic_cast<CViewGraphEODWnd*>(created.get()), nullptr);
}

} // namespace
} // namespace qv
