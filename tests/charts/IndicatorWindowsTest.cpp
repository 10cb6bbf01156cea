// The daily chart's indicator windows on a view without a window: the dispatch table, which slots
// get a series and are drawn in which order, what draws nothing, the rebuild rule, the legend lines,
// and the preset with three windows.
#include "charts/IndicatorWindows.h"

#include "chartmodel/BarColour.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/LegendModel.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/ViewGraphEOD.h"
#include "charts/IndicatorRoutes.h"
#include "core/ConfigState.h"
#include "core/DateText.h"
#include "devtools/lib/SyntheticDays.h"
#include "support/RasterCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <set>

namespace qv {
namespace {

namespace gs = graphsetting;

// A daily view that draws on a raster canvas.
class RasterDailyView : public ViewGraphEODT<CViewGraph> {
public:
    RasterDailyView() : ViewGraphEODT(0)
    {
        textHeight = 12;
        digitWidth = 7;
    }
    void Paint()
    {
        raster = std::make_unique<test::RasterCanvas>(900, 700);
        OnDraw(&dc_, DrawDevice{false, 900, 700, 0, 0});
    }
    using ViewGraphEODT::BuildAddOnSeries;
    using ViewGraphEODT::PrepareColouring;
    ChartCanvas* Canvas() override { return raster.get(); }
    std::unique_ptr<test::RasterCanvas> raster;

private:
    int dc_ = 0;
};

class IndicatorWindowsView : public ::testing::Test {
protected:
    IndicatorWindowsView() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Setting(), false);
        Load(dev::MakeSyntheticDays(300));
    }
    ~IndicatorWindowsView() override { Config().dailyGraphs.records[0] = saved_; }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }
    void Load(const std::vector<DayRecord>& history)
    {
        days = history;
        view.eod.SetHistory(days.data(), int32_t(days.size()), 1);
    }
    // Record `slot` of window `window`; the first record of a window gets a height.
    void Put(int window, int slot, IndicatorRecord record, uint32_t pen)
    {
        record.pens = {pen, pen + 1, pen + 2, 0};
        if (slot == 0)
            record.heightWeight = 150;
        record.Write(gs::IndicatorSlot(Setting(), window, slot));
    }
    const IndicatorResult* Result(int window, int slot) { return view.indicators.result(window, slot); }

    std::vector<DayRecord> days;
    RasterDailyView view;

private:
    GraphSetting saved_;
};

TEST(IndicatorRoutes, OneRowPerTypeWithItsRoutine)
{
    const std::set<int> none{0, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 56, 60, 61};
    const std::set<int> lines{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21, 22,
                              23, 24, 25, 26, 27, 28, 29, 30, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 57, 59};
    const std::set<int> panes{15, 41, 55};
    ASSERT_EQ(IndicatorRoutes().size(), 62u);
    for (int type = 0; type < 62; ++type) {
        const IndicatorRoute& r = IndicatorRoutes()[size_t(type)];
        if (none.count(type))
            EXPECT_EQ(r.family, IndicatorFamily::None) << type;
        else if (lines.count(type))
            EXPECT_EQ(r.family, IndicatorFamily::Lines) << type;
        else if (panes.count(type))
            EXPECT_EQ(r.family, IndicatorFamily::Pane) << type;
        else if (type == 58)
            EXPECT_EQ(r.family, IndicatorFamily::VolumeWindow);
        else
            EXPECT_EQ(r.family, IndicatorFamily::Pending) << type;
        EXPECT_EQ(r.routine != nullptr, r.family == IndicatorFamily::Lines || r.family == IndicatorFamily::Pane)
            << type;
    }
    // Shared routines tell their members apart by the variant.
    EXPECT_EQ(RouteOf(42).routine, RouteOf(43).routine);
    EXPECT_EQ(RouteOf(42).variant, 42);
    EXPECT_EQ(RouteOf(43).variant, 43);
    EXPECT_EQ(RouteOf(46).variant, 1);
    EXPECT_EQ(RouteOf(47).variant, 0);
    EXPECT_EQ(RouteOf(25).variant, 25);
    EXPECT_EQ(RouteOf(6).routine, RouteOf(17).routine);
    EXPECT_EQ(RouteOf(16).variant, 16);
    EXPECT_EQ(RouteOf(49).routine, RouteOf(50).routine);
    EXPECT_EQ(RouteOf(50).variant, 1);
    EXPECT_EQ(RouteOf(200).family, IndicatorFamily::None);
}

TEST_F(IndicatorWindowsView, EveryTypeOfTheGroupsDrawsItsLineInItsWindow)
{
    for (int type : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 14, 15, 17, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51,
                     52, 53, 54, 55, 57, 58}) {
        Put(0, 0, IndicatorRecord::Of(type, type == 15 || type == 41 || type == 55 ? 0 : 3, 14, 26, 9), 0x0000C0);
        view.Paint();
        GraphSeries* series = view.indicators.series(0, 0);
        ASSERT_NE(series, nullptr) << type;
        EXPECT_EQ(series->pane->id, kPaneFirstAddOn);
        EXPECT_NE(series->title[0], '\0') << type;
        EXPECT_FALSE(IsRangeEmpty(*series->range)) << type;
        if (type == 58) {
            EXPECT_EQ(series->firstElement->style, 4u);  // the histogram, drawn by the model
            EXPECT_EQ(view.paneAxis[kPaneFirstAddOn].maxDecimals, 0);
            continue;
        }
        ASSERT_NE(Result(0, 0), nullptr) << type;
        EXPECT_GT(view.raster->Count(0x0000C0), 50) << type;
        // The values went to the element: the legend finds the last day's.
        EXPECT_GT(series->firstElement->second.count, 0) << type;
    }
}

TEST_F(IndicatorWindowsView, SlotsAreDrawnFromTheLastToTheFirstAndOnlyTheFirstHasLevels)
{
    Put(0, 0, IndicatorRecord::Of(2, 0, 14), 0x000010);
    Put(0, 1, IndicatorRecord::Of(2, 0, 5), 0x000020);
    Put(0, 2, IndicatorRecord::Of(53, 0, 14), 0x000030);
    Put(0, 3, IndicatorRecord::Of(12, 0, 14, 3, 3), 0x000040);
    view.Paint();
    std::vector<uint32_t> order;
    for (uint32_t pen : view.raster->pens)
        if (pen >= 0x10 && pen <= 0x40 && (pen & 0xF) == 0 && std::find(order.begin(), order.end(), pen) == order.end())
            order.push_back(pen);
    EXPECT_EQ(order, (std::vector<uint32_t>{0x40, 0x30, 0x20, 0x10}));
    // Only the first series hands its values over.
    EXPECT_GT(view.indicators.series(0, 0)->firstElement->second.count, 0);
    EXPECT_EQ(view.indicators.series(0, 1)->firstElement->second.count, 0);
    // Each series has a study key of its own record.
    EXPECT_NE(view.indicators.series(0, 0)->studyKey, view.indicators.series(0, 1)->studyKey);
    EXPECT_EQ(view.FindPane(kPanePrice)->firstSeries->studyKey, 0x01000000u);
    EXPECT_EQ(view.FindPane(kPaneVolume)->firstSeries->studyKey, 0x02000000u);
}

TEST_F(IndicatorWindowsView, WhatDrawsNothing)
{
    // A window whose first record is unused is skipped.
    Put(0, 1, IndicatorRecord::Of(2, 0, 14), 0x0000C0);
    view.Paint();
    EXPECT_EQ(view.indicators.series(0, 1), nullptr);
    EXPECT_EQ(view.raster->Count(0x0000C0), 0);
    IndicatorRecord{}.Write(gs::IndicatorSlot(Setting(), 0, 1));

    // Spare types, pivot points and the last two types: a series and a caption, no line.
    for (int type : {31, 35, 40, 56, 60, 61}) {
        Put(0, 0, IndicatorRecord::Of(type, 0, 14), 0x0000C0);
        view.Paint();
        ASSERT_NE(view.indicators.series(0, 0), nullptr) << type;
        EXPECT_EQ(Result(0, 0), nullptr) << type;
        EXPECT_EQ(view.raster->Count(0x0000C0), 0) << type;
    }

    // One visible day: nothing is drawn.
    Put(0, 0, IndicatorRecord::Of(2, 0, 14), 0x0000C0);
    Load(dev::MakeSyntheticDays(1));
    view.Paint();
    EXPECT_EQ(Result(0, 0), nullptr);
    EXPECT_EQ(view.raster->Count(0x0000C0), 0);

    // Another graph kind than a share's own prices: nothing is computed.
    Load(dev::MakeSyntheticDays(300));
    view.Paint();
    ASSERT_NE(Result(0, 0), nullptr);
    view.graphSourceKind = 4;
    view.indicators.Compute();
    EXPECT_EQ(Result(0, 0), nullptr);
}

TEST_F(IndicatorWindowsView, SeriesAreRebuiltOnlyWithTheirRedrawBit)
{
    Put(0, 0, IndicatorRecord::Of(2, 0, 14), 0x0000C0);
    view.Paint();
    GraphSeries* built = view.indicators.series(0, 0);
    ASSERT_NE(built, nullptr);
    view.modeRecord.mask = kRedrawValueRanges;
    view.BuildAddOnSeries();
    EXPECT_EQ(view.indicators.series(0, 0), built);
    view.modeRecord.mask |= kRedrawAddOnSeries;
    view.BuildAddOnSeries();
    EXPECT_NE(view.indicators.series(0, 0), built);
}

TEST_F(IndicatorWindowsView, AShortRateOfChangeLeavesANamedEmptyWindow)
{
    Put(0, 0, IndicatorRecord::Of(10, 0, 12), 0x0000C0);
    Load(dev::MakeSyntheticDays(10));
    view.Paint();
    GraphSeries* series = view.indicators.series(0, 0);
    ASSERT_NE(series, nullptr);
    EXPECT_STREQ(series->title, GetIndicatorName(IndicatorRecord::Of(10, 0, 12)).c_str());
    EXPECT_TRUE(IsRangeEmpty(*series->range));
    EXPECT_EQ(view.raster->Count(0x0000C0), 0);
    // The window is titled by its series, as the model titles every pane; the drawer adds nothing.
    EXPECT_TRUE(series->pane->showTitles);
    EXPECT_TRUE(view.raster->captions.empty());
}

TEST_F(IndicatorWindowsView, AccumulationIsTheSameWhateverTheBarPeriodAndWithTheSwingChart)
{
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    Put(0, 0, IndicatorRecord::Of(42, 0), 0x0000C0);
    std::vector<double> byPeriod[2];
    for (int i : {0, 1}) {
        gs::SetU8(Setting(), gs::kBarPeriod, i == 0 ? 1 : 6);
        view.Paint();
        ASSERT_NE(Result(0, 0), nullptr);
        byPeriod[i] = Result(0, 0)->lines[0].values;
    }
    EXPECT_EQ(byPeriod[0], byPeriod[1]);
    EXPECT_EQ(byPeriod[0].size(), 300u);
    // The swing chart's top and bottom marks are kept apart from the days: the line stays the same.
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    gs::SetU32(Setting(), gs::kSwingFlags, 1 | 2 | 0x10 | (0x3Fu << 16));
    view.Paint();
    EXPECT_FALSE(view.eod.swingChart().events.empty());
    ASSERT_NE(Result(0, 0), nullptr);
    EXPECT_EQ(Result(0, 0)->lines[0].values, byPeriod[0]);
}

TEST_F(IndicatorWindowsView, TheLegendListsEachWindowsLineWithItsValues)
{
    Put(0, 0, IndicatorRecord::Of(2, 0, 14), 0x0000C0);
    Put(1, 0, IndicatorRecord::Of(48, 0), 0x00C000);
    view.Paint();
    LegendSource source;
    source.items = &ProgramLegendItems(false);
    source.setting = &Setting();
    view.indicators.FillLegend(source, 150);
    ASSERT_EQ(source.indicators.size(), 2u);
    const std::string rsi = view.indicators.series(0, 0)->title;
    EXPECT_EQ(source.indicators[0].name, rsi);
    EXPECT_EQ(source.indicators[0].pen, 0x0000C0u);
    const IndicatorLine& line = Result(0, 0)->lines[0];
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", line.values.back());
    EXPECT_EQ(source.indicators[0].latest, text);
    std::snprintf(text, sizeof text, "%.2f", line.values[150 - 14]);
    EXPECT_EQ(source.indicators[0].cursor, text);

    LegendModel legend;
    legend.Update(source, false);
    int found = 0;
    for (const LegendLine& l : legend.lines())
        found += l.text == rsi || l.text == rsi + " " + source.indicators[0].latest ||
                 l.text == rsi + " " + source.indicators[0].cursor;
    EXPECT_EQ(found, 3);
}

// The general stop line is rebuilt on each paint of the price pane while its mask has the setting's
// bit, drawn in its pen, and its last value is kept for the legend.
TEST_F(IndicatorWindowsView, TheGeneralStopLineFollowsItsMask)
{
    const uint16_t savedMask = GlobalStopMask(false);
    const StopRecord savedRecord = GlobalStopRecord(false);
    StopRecord stop;
    stop.percent = 5;
    stop.pen = 0x00C0C0;
    SetGlobalStopRecord(false, stop);
    SetGlobalStopMask(false, uint16_t(1u << view.SettingIndex()));
    view.Paint();
    ASSERT_NE(view.stops.generalSettings(), nullptr);
    EXPECT_FALSE(view.stops.generalLine().points.empty());
    const StopLine expected = BuildStopLine(days, stop, kDisplayEndOpen);
    EXPECT_FLOAT_EQ(view.stops.generalValue(), expected.last);
    EXPECT_GT(view.raster->Count(0x00C0C0), 100);
    // Off for this setting: no line, no value.
    SetGlobalStopMask(false, 0);
    view.Paint();
    EXPECT_EQ(view.stops.generalSettings(), nullptr);
    EXPECT_EQ(view.raster->Count(0x00C0C0), 0);
    SetGlobalStopMask(false, savedMask);
    SetGlobalStopRecord(false, savedRecord);
}

TEST_F(IndicatorWindowsView, PresetTwoShowsMacdStochasticAndRsi)
{
    InitVexaGraphSetting(Setting(), 2);
    view.Paint();
    for (int w = 0; w < 3; ++w) {
        ASSERT_NE(Result(w, 0), nullptr) << w;
        EXPECT_FALSE(Result(w, 0)->lines[0].values.empty()) << w;
        EXPECT_GT(view.FindPane(kPaneFirstAddOn + uint32_t(w))->bottom - view.FindPane(kPaneFirstAddOn + uint32_t(w))->top, 20);
    }
    EXPECT_EQ(view.indicators.series(0, 0)->firstElement->series->pane->id, kPaneFirstAddOn);
}

} // namespace
} // namespace qv

namespace qv {
namespace {

TEST_F(IndicatorWindowsView, TheVolumeWindowsBarsColoursAndAverage)
{
    gs::SetU8(Setting(), gs::kPriceDisplay, 0);  // one bar a day
    struct Case {
        int16_t period3;
        int colourCount;
        uint32_t mode;
    };
    gs::SetU8(Setting(), gs::kPriceColourMode, 4);
    for (const Case& c : {Case{0, 5, 2}, Case{1, 1, 0}, Case{2, 3, 3}, Case{3, 3, 2}}) {
        Put(0, 0, IndicatorRecord::Of(58, 1, 0, 10, c.period3), 0x0000C0);
        view.Paint();
        GraphSeries* series = view.indicators.series(0, 0);
        ASSERT_NE(series, nullptr);
        const PlotElement& bars = *series->firstElement;
        EXPECT_EQ(bars.colourCount, c.colourCount) << c.period3;
        EXPECT_EQ(bars.aux, c.mode) << c.period3;
        if (c.period3 >= 2) {
            EXPECT_EQ(bars.colours[0], 0x0000C0u);
            EXPECT_EQ(bars.colours[1], 0x0000C2u);  // the record's third pen
            EXPECT_EQ(bars.colours[2], 0x0000C0u);
        }
        ASSERT_EQ(bars.values.count, 300);
        // 0 up to the highest volume, padded, not below 0.
        float highest = 0;
        for (int i = 0; i < 300; ++i)
            highest = std::max(highest, days[size_t(i)].volume);
        EXPECT_EQ(series->range->minimum, 0);
        EXPECT_FLOAT_EQ(series->range->maximum, highest * 1.05f);
    }
    // The average: an exponential average of period 2 seeded with the first volume.
    const PlotElement* average = view.indicators.series(0, 0)->elements;
    ASSERT_NE(average, view.indicators.series(0, 0)->firstElement);
    ASSERT_EQ(average->values.count, 300);
    const auto* values = static_cast<const float*>(average->values.data);
    double ema = days[0].volume;
    for (int i = 0; i < 300; ++i) {
        ema += (days[size_t(i)].volume - ema) * 2 / 11;
        EXPECT_NEAR(values[i], ema, ema * 1e-5) << i;
    }
    // On bars of two weeks each bar sums its days' volumes, and so does its average (the daily average
    // at its middle day times its days): the line runs through the bars, not along their foot.
    gs::SetU8(Setting(), gs::kPriceDisplay, 1);
    gs::SetU8(Setting(), gs::kBarPeriod, 6);
    Put(0, 0, IndicatorRecord::Of(58, 1, 0, 10), 0x0000C0);
    view.Paint();
    const std::vector<FoldedBar>& folded = view.eod.bars();
    const PlotElement* weekly = view.indicators.series(0, 0)->elements;
    ASSERT_EQ(weekly->values.count, int32_t(folded.size()));
    const auto* perBar = static_cast<const float*>(weekly->values.data);
    std::vector<double> daily(days.size() - 1);
    double e = days[0].volume;
    for (size_t i = 0; i < daily.size(); ++i)
        daily[i] = e += (days[i].volume - e) * 2 / 11;
    double barSum = 0, lineSum = 0;
    for (size_t b = 0; b < folded.size(); ++b) {
        const FoldedBar& bar = folded[b];
        const double expected = daily[size_t((bar.first + bar.last + 1) / 2)] * (bar.last - bar.first + 1);
        EXPECT_NEAR(perBar[b], expected, expected * 1e-5) << b;
        barSum += bar.values.volume;
        lineSum += perBar[b];
    }
    EXPECT_NEAR(lineSum / barSum, 1.0, 0.2) << "the line lies among the bars";
    gs::SetU8(Setting(), gs::kPriceDisplay, 0);
    // Without flag bit 0, or with a period of 1, there is no average.
    Put(0, 0, IndicatorRecord::Of(58, 0, 0, 10), 0x0000C0);
    view.Paint();
    EXPECT_EQ(view.indicators.series(0, 0)->elements->values.count, 0);
}

TEST_F(IndicatorWindowsView, AnInvertedFixedRangeDrawsNeitherLine)
{
    Put(0, 0, IndicatorRecord::Of(8, 3, 12, 26, 9), 0x0000C0);
    view.Paint();
    ValueRange& range = *view.indicators.series(0, 0)->range;
    range.flags |= kRangeFixed;
    range.minimum = 5;
    range.maximum = -5;
    view.raster = std::make_unique<test::RasterCanvas>(900, 700);
    view.indicators.Compute();
    view.indicators.Draw(*view.raster);
    EXPECT_EQ(range.minimum, 5);
    EXPECT_EQ(view.raster->Count(0x0000C0) + view.raster->Count(0x0000C1), 0);
    EXPECT_TRUE(view.raster->fills.empty());
}

} // namespace
} // namespace qv

namespace qv {
namespace {

// The colour index of each bar of the volume window's histogram, laid out as the painter lays it out.
std::vector<int> VolumeBarColours(const RasterDailyView& view, const PlotElement& bars)
{
    CGraphSeriesLayout layout;
    layout.Setup(bars);
    view.PrepareColouring(bars, layout);
    std::vector<int> colours;
    SeriesPoint point;
    while (layout.Next(point))
        colours.push_back(point.colour);
    return colours;
}

TEST_F(IndicatorWindowsView, TheVolumeWindowsBarsArePaintedByTheChartsColouring)
{
    gs::SetU8(Setting(), gs::kPriceDisplay, 0);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    auto closeAgainstDayBefore = [&](size_t i) {
        return i == 0 ? 0 : days[i].close > days[i - 1].close ? 0 : days[i].close < days[i - 1].close ? 1 : 2;
    };
    std::vector<float> average(days.size());
    double ema = days[0].volume;
    for (size_t i = 0; i < days.size(); ++i)
        average[i] = float(ema += (days[i].volume - ema) * 2 / 11);
    struct Case {
        const char* name;
        uint8_t chartMode;
        IndicatorRecord record;
        std::function<int(size_t)> expected;  // null: graduated
    };
    const Case cases[] = {
        {"one colour chart: up and down by the close", 0, IndicatorRecord::Of(58, 0, 0, 10),
         closeAgainstDayBefore},
        {"volume against its average", kColourVolumeSignal, IndicatorRecord::Of(58, 1, 0, 10),
         [&](size_t i) { return days[i].volume < average[i] ? 1 : 0; }},
        {"average asked for but not drawn: against the open", kColourVolumeSignal, IndicatorRecord::Of(58, 0, 0, 10),
         [&](size_t i) { return days[i].close > days[i].open ? 0 : days[i].close < days[i].open ? 1 : 2; }},
        {"graduated between the lowest and highest volume", kColourGraduated, IndicatorRecord::Of(58, 0, 0, 10),
         nullptr},
        {"the window's own pen alone", 0, IndicatorRecord::Of(58, 0, 0, 10, 1), [](size_t) { return 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gs::SetU8(Setting(), gs::kPriceColourMode, c.chartMode);
        Put(0, 0, c.record, 0x0000C0);
        view.Paint();
        const std::vector<int> colours = VolumeBarColours(view, *view.indicators.series(0, 0)->firstElement);
        // One bar a day, from the first day on.
        ASSERT_EQ(colours.size(), view.eod.bars().size());
        ASSERT_EQ(view.eod.bars().back().last, int32_t(colours.size()) - 1);
        if (!c.expected) {
            const auto shownEnd = days.begin() + std::ptrdiff_t(colours.size());
            const auto [low, high] = std::minmax_element(days.begin(), shownEnd, [](const DayRecord& a, const DayRecord& b) {
                return a.volume < b.volume;
            });
            EXPECT_EQ(colours[size_t(low - days.begin())], -1);
            EXPECT_EQ(colours[size_t(high - days.begin())], -64);
            EXPECT_TRUE(std::all_of(colours.begin(), colours.end(), [](int k) { return k >= -64 && k <= -1; }));
            continue;
        }
        std::set<int> seen;
        for (size_t i = 0; i < colours.size(); ++i) {
            EXPECT_EQ(colours[i], c.expected(i)) << i;
            seen.insert(colours[i]);
        }
        // The synthetic history rises and falls: a rule that colours at all shows two colours.
        EXPECT_EQ(seen.size() > 1, c.record.period3 != 1);
    }
}

TEST_F(IndicatorWindowsView, TheCursorReadoutListsTheWindowsValuesOnTheDayUnderIt)
{
    gs::SetU8(Setting(), gs::kPriceDisplay, 0);
    gs::SetU8(Setting(), gs::kBarPeriod, 1);
    Put(0, 0, IndicatorRecord::Of(2, 0, 14), 0x0000C0);
    Put(0, 1, IndicatorRecord::Of(5, 0, 10), 0x00C000);
    Put(1, 0, IndicatorRecord::Of(58, 0, 0, 10), 0x000C00);
    view.Paint();
    ASSERT_EQ(view.eod.bars()[150].last, 150);
    const int32_t bar = 150;
    const int32_t x = view.IndexToXScale(&view.timeBands->scale, bar) + 1;
    ASSERT_EQ(view.XToIndexScale(&view.timeBands->scale, x), bar);
    const GraphPane* rsiPane = view.FindPane(kPaneFirstAddOn);
    const GraphPane* volumePane = view.FindPane(kPaneFirstAddOn + 1);
    const std::string date = FormatDate(days[size_t(bar)].date);
    auto readout = [&](const GraphPane* pane) {
        view.lastMouseX = x;
        view.lastMouseY = (pane->top + pane->bottom) / 2;
        std::array<std::string, 3> texts;
        view.eod.FillStatusTexts(texts, true, false);
        return texts;
    };
    char value[32];
    std::snprintf(value, sizeof value, "%.2f", Result(0, 0)->lines[0].values[size_t(bar - 14)]);
    const std::string rsi = std::string(view.indicators.series(0, 0)->title) + " " + value;
    const std::array<std::string, 3> overRsi = readout(rsiPane);
    EXPECT_EQ(overRsi[0].rfind("Cursor (" + date + ", ", 0), 0u) << overRsi[0];
    EXPECT_NE(overRsi[2].find(rsi + "  " + view.indicators.series(0, 1)->title + " "), std::string::npos)
        << overRsi[2];
    // The record under the cursor, not the last day, is described.
    EXPECT_EQ(overRsi[1].rfind(date + ", ", 0), 0u) << overRsi[1];

    const std::array<std::string, 3> overVolume = readout(volumePane);
    const std::string volume = VolumeAmountText(days[size_t(bar)].volume);
    EXPECT_NE(overVolume[2].find(std::string(view.indicators.series(1, 0)->title) + " " + volume), std::string::npos)
        << overVolume[2];
    EXPECT_EQ(overVolume[2].find(rsi), std::string::npos);
}

} // namespace
} // namespace qv
