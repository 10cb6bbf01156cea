// What the daily chart shows of its setting: the colour rules of bars, candles and volume, hollow
// rising candles, the time axis in its own row with its end dates and grid lines, the pane titles with
// their unit, and the design's watermark, latest-close label and shaded background.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/BarColour.h"
#include "chartmodel/GraphDesign.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/SeriesLayout.h"
#include "core/ConfigState.h"
#include "core/DateText.h"
#include "devtools/lib/SyntheticDays.h"
#include "support/ui/Render.h"
#include "views/ViewKinds.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>

namespace qv {
namespace {
namespace gs = graphsetting;

// Three days: up on its open and on the day before, down on both, then unchanged on both; the volume
// rises, falls and rises.
std::vector<DayRecord> ThreeDays()
{
    std::vector<DayRecord> days = dev::MakeSyntheticDays(3);
    const float values[3][5] = {{100, 110, 95, 105, 2000}, {105, 106, 95, 100, 1000}, {100, 102, 98, 100, 1500}};
    for (size_t i = 0; i < 3; ++i) {
        days[i].open = values[i][0];
        days[i].high = values[i][1];
        days[i].low = values[i][2];
        days[i].close = values[i][3];
        days[i].volume = values[i][4];
    }
    return days;
}

class DailyChartLook : public ::testing::Test {
protected:
    DailyChartLook() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Setting(), false);
        gs::SetU8(Setting(), gs::kBarPeriod, 1);
    }
    ~DailyChartLook() override { Config().dailyGraphs.records[0] = saved_; }
    static GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }

    QImage Render(const std::vector<DayRecord>& days, const char* name = nullptr, int width = 1000, int height = 600)
    {
        chart = std::make_unique<CViewGraphEODWnd>(kViewDailyChart);
        chart->eod.SetHistory(days.data(), int32_t(days.size()), 1);
        QImage image = chart->RenderToImage(width, height);
        if (name)
            test::SaveRender(image, name);
        return image;
    }
    const GraphSeries* Series(uint32_t pane) const { return FindSeries(chart->timeBands, chart->FindPane(pane)); }
    // The colour index of each point of the series' first-added element, by the chart's rule.
    std::vector<int> PointColours(uint32_t pane) const
    {
        const PlotElement* element = Series(pane)->elements;
        while (element->next)
            element = element->next;
        CGraphSeriesLayout layout;
        layout.Setup(*element);
        chart->eod.PrepareColouring(*element, layout);
        std::vector<int> colours;
        SeriesPoint point;
        while (layout.Next(point))
            colours.push_back(point.colour);
        return colours;
    }

    std::unique_ptr<CViewGraphEODWnd> chart;

private:
    GraphSetting saved_;
};

TEST_F(DailyChartLook, BarsLinesAndVolumeTakeTheColoursOfTheirRules)
{
    struct Case {
        const char* name;
        uint8_t style, priceMode, volumeMode;
        std::vector<int> price, volume;
    };
    const Case cases[] = {
        {"OHLC against the open", 1, kColourCloseOpen, 0, {0, 1, 2}, {0, 1, 2}},
        {"candles against the day before", 4, kColourCloseClose, 0, {0, 1, 2}, {0, 1, 2}},
        {"close line against the open", 0, kColourCloseOpen, 0, {0, 1, 2}, {0, 1, 2}},
        {"volume by its change", 1, kColourCloseOpen, 2, {0, 1, 2}, {0, 1, 0}},
        {"volume by the price's move", 1, kColourCloseOpen, 3, {0, 1, 2}, {0, 1, 2}},
        {"volume in one colour", 1, kColourCloseOpen, 1, {0, 1, 2}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gs::SetU8(Setting(), gs::kPriceDisplay, c.style);
        gs::SetU8(Setting(), gs::kPriceColourMode, c.priceMode);
        gs::SetU8(Setting(), gs::kVolumeColourMode, c.volumeMode);
        Render(ThreeDays());
        EXPECT_EQ(PointColours(kPanePrice), c.price);
        EXPECT_EQ(PointColours(kPaneVolume), c.volume);
    }
    // The bars' tick pen is the setting's, where the bar drawer reads it.
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    gs::SetU32(Setting(), gs::kTickColour, 0x123456);
    Render(ThreeDays());
    const PlotElement* bars = Series(kPanePrice)->elements;
    while (bars->next)
        bars = bars->next;
    EXPECT_EQ(bars->extraColour, 0x123456u);
    EXPECT_TRUE(bars->flags & 0x20000u);
}

TEST_F(DailyChartLook, RisingCandlesAreHollowAndFallingOnesFilled)
{
    gs::SetU8(Setting(), gs::kPriceDisplay, 4);
    gs::SetU8(Setting(), gs::kPriceColourMode, kColourCloseOpen);
    const QImage image = Render(ThreeDays(), "eod_candles_up_down", 600, 400);
    const GraphSeries* price = Series(kPanePrice);
    auto body = [&](int bar, float value) {
        return image.pixel(chart->IndexToXScale(&chart->timeBands->scale, bar) + 1,
                           chart->ValueToY(price->range, value, false));
    };
    EXPECT_EQ(body(0, 103), qRgb(255, 255, 255)) << "the rising day's body shows the background";
    EXPECT_EQ(body(1, 102.5f), qRgb(255, 0, 0)) << "the falling day's body is filled in the down colour";
}

TEST_F(DailyChartLook, TheTimeAxisHasARowOfItsOwnWithItsEndDatesAndGridLines)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(300);
    Render(days, "eod_time_axis_year");
    const GraphPane* volume = chart->FindPane(kPaneVolume);
    ASSERT_NE(volume, nullptr);
    EXPECT_GE(chart->plotRect[3] - volume->bottom, chart->textHeight) << "a text row below the lowest pane";
    const std::array<std::string, 2> ends = chart->eod.AxisEndTexts();
    EXPECT_EQ(ends[0], FormatDate(days.front().date));
    EXPECT_EQ(ends[1], FormatDate(days[299].date));
    auto gridLines = [&] {
        int n = 0;
        for (const GridLine* line = chart->timeBands->timeLines; line; line = line->next)
            ++n;
        return n;
    };
    EXPECT_GT(gridLines(), 0) << "the default vertical grid";
    EXPECT_GT(chart->eod.axisLabels().size(), 12u) << "a label a month and more";
    gs::SetU32(Setting(), gs::kGridDensityV, 0);
    Render(days);
    EXPECT_EQ(gridLines(), 0);

    // An axis running on into the future labels the dates there too.
    gs::SetU16(Setting(), gs::kShowFutureBars, 1);
    gs::SetU16(Setting(), gs::kShowFutureSecond, 3);
    gs::SetU32(Setting(), gs::kShowFutureThird, 3);
    Render(days, "eod_time_axis_future");
    ASSERT_GT(chart->eod.futureBars(), 0);
    const int32_t lastBarX = chart->IndexToXScale(&chart->timeBands->scale, int32_t(chart->eod.bars().size()) - 1);
    EXPECT_GT(chart->eod.axisLabels().back().x, lastBarX);
    EXPECT_GT(chart->eod.AxisEndTexts()[1], std::string()) << "the axis end";
}

TEST_F(DailyChartLook, NoBarIsHiddenByTheGridOrCutAtTheEdges)
{
    // Six weeks over a month's end, so that a month grid line falls on the first bar of February.
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(30);
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    gs::SetU32(Setting(), gs::kGridPenV, 0xC0C0C0);
    gs::SetU32(Setting(), gs::kGridPenH, 0xC0C0C0);
    const QImage image = Render(days, "eod_bars_over_the_grid");
    const TimeBand* band = chart->timeBands;
    const GraphSeries* price = Series(kPanePrice);
    ASSERT_TRUE(band && price);
    ASSERT_EQ(chart->eod.bars().size(), days.size() - 1);
    const QRgb grid = qRgb(0xC0, 0xC0, 0xC0), background = qRgb(255, 255, 255);
    auto x = [&](size_t bar) { return chart->IndexToXScale(&band->scale, int32_t(bar)); };
    auto y = [&](float value) { return chart->ValueToY(price->range, value, false); };

    size_t february = 0;
    while (MonthField(days[february].date) == MonthField(days[0].date))
        ++february;
    bool lineAtBar = false;
    for (const GridLine* line = band->timeLines; line; line = line->next)
        lineAtBar |= line->pixel + chart->timeLineOffset == x(february);
    ASSERT_TRUE(lineAtBar) << "a grid line stands on the month's first bar";
    // The bar's stem between its high and low is drawn over the line, in the bar's colour.
    const DayRecord& first = days[february];
    int stem = 0;
    for (int32_t row = y(first.high) + 1; row < y(first.low); ++row)
        stem += image.pixel(x(february), row) != grid && image.pixel(x(february), row) != background;
    EXPECT_EQ(stem, y(first.low) - y(first.high) - 1);

    // The first bar's open tick and the last bar's close tick are whole inside the band.
    const int32_t half = chart->barHalfWidth;
    const size_t last = days.size() - 2;
    EXPECT_GE(x(0) - half, band->left);
    EXPECT_LE(x(last) + half + 1, band->right);
    EXPECT_NE(image.pixel(x(0) - half, y(days[0].open)), background);
    EXPECT_NE(image.pixel(x(last) + half, y(days[last].close)), background);
}

TEST_F(DailyChartLook, PanesAreTitledAndTheVolumeTitleNamesItsUnit)
{
    std::vector<DayRecord> days = dev::MakeSyntheticDays(60);
    for (DayRecord& day : days)
        day.volume *= 1000;
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    Render(days, "eod_titles");
    EXPECT_TRUE(chart->FindPane(kPanePrice)->showTitles);
    const GraphPane* volume = chart->FindPane(kPaneVolume);
    EXPECT_TRUE(volume->showTitles);
    EXPECT_EQ(volume->titleUnitMode, 0);
    EXPECT_GE(volume->thousandsIndex, 1);
    EXPECT_EQ(std::string(Series(kPanePrice)->title), chart->eod.ChartTitle());

    // Windows of whole numbers (volume, A/D, OBV) name the unit their axis counts in.
    for (uint8_t type : {uint8_t(58), uint8_t(42), uint8_t(48)}) {
        SCOPED_TRACE(int(type));
        IndicatorRecord::Of(type, 0).Write(gs::IndicatorSlot(Setting(), 0, 0));
        Render(days);
        const GraphPane* window = chart->FindPane(kPaneFirstAddOn);
        ASSERT_NE(window, nullptr);
        const GraphSeries* series = FindSeries(chart->timeBands, window);
        ASSERT_NE(series, nullptr);
        EXPECT_EQ(window->titleUnitMode, 0);
        ASSERT_GE(window->thousandsIndex, 1);
        const std::string caption = chart->BuildPaneCaption(*series);
        EXPECT_TRUE(caption.ends_with(" - thousands") || caption.ends_with(" - millions") ||
                    caption.ends_with(" - billions"))
            << caption;
    }
    // An RSI window counts plain numbers: no unit.
    IndicatorRecord::Of(2, 0, 14).Write(gs::IndicatorSlot(Setting(), 0, 0));
    Render(days);
    EXPECT_EQ(chart->FindPane(kPaneFirstAddOn)->thousandsIndex, 0);

    // An add-on window whose indicator built no series still names it.
    const IndicatorRecord record = IndicatorRecord::Of(2, 0, 14);
    record.Write(gs::IndicatorSlot(Setting(), 0, 0));
    Render(days);
    const GraphPane* window = chart->FindPane(kPaneFirstAddOn);
    ASSERT_NE(window, nullptr);
    if (!FindSeries(chart->timeBands, window)) {
        EXPECT_EQ(chart->EmptyPaneCaption(*window),
                  std::vector<std::string>{GetIndicatorName(record) + " - no data"});
    }
}

TEST_F(DailyChartLook, TheDesignsWatermarkLatestCloseAndShadedBackground)
{
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(80);
    gs::SetU16(Setting(), gs::kWatermarks, 2 | 4);
    Render(days);
    const std::string close = FormatPriceInUnit(days[79].close, days[79].unit);
    EXPECT_EQ(chart->eod.WatermarkTexts(kPanePrice, 2 | 4), std::vector<std::string>{close});
    EXPECT_EQ(chart->eod.WatermarkTexts(kPaneVolume, 2 | 4), std::vector<std::string>{"Volume"});
    // "Show latest price on right" queues the last close beside the axis, ahead of the axis labels.
    gs::SetU16(Setting(), gs::kScaleFlags, uint16_t(gs::U16(Setting(), gs::kScaleFlags) | kLatestPriceFlag));
    gs::SetU32(Setting(), gs::kLatestPriceBack, 0x00FFFF);
    const QImage marked = Render(days, "eod_latest_price");
    const GraphSeries* series = Series(kPanePrice);
    const int32_t row = chart->ValueToY(series->range, days[79].close, false);
    EXPECT_EQ(marked.pixel(chart->plotRect[2] + chart->labelUnit / 2 + 1, row), qRgb(255, 255, 0));

    // The Dark design shades each pane from its top colour down to its bottom one.
    graphdesign::ApplyColourDefaults(Setting(), true);
    const QImage image = Render(days, "eod_dark_design");
    const GraphPane* price = chart->FindPane(kPanePrice);
    EXPECT_EQ(chart->BackgroundAtRow(price->top), gs::U32(Setting(), gs::kShadeTop) & 0xFFFFFF);
    EXPECT_EQ(chart->BackgroundAtRow(price->bottom - 1), gs::U32(Setting(), gs::kShadeBottom) & 0xFFFFFF);
    const QRgb top = image.pixel(price->left + 2, price->top + 2), bottom = image.pixel(price->left + 2, price->bottom - 3);
    EXPECT_GT(qBlue(top), qBlue(bottom));
}

} // namespace
} // namespace qv
