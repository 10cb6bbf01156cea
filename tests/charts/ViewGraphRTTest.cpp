// The intraday chart view over a made-up store: the days it shows and steps, its bands and series,
// the latest day kept apart, the period in its title and the message when a day holds nothing.
#include "charts/ViewGraphRT.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/ChartModes.h"
#include "chartmodel/LegendModel.h"
#include "chartmodel/StopLossSettings.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "core/ConfigState.h"
#include "chartmodel/AddedGraphCommands.h"
#include "chartmodel/AddedGraphEntries.h"
#include "core/DateText.h"
#include "core/TimeZones.h"
#include "support/FakeMessageBox.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>

#include <map>

namespace qv {
namespace {

namespace gs = graphsetting;

const std::vector<PackedDate> kHeld = {PackDate(4, 3, 2026), PackDate(5, 3, 2026), PackDate(6, 3, 2026)};

IntradayTick Stamp(uint32_t seconds)
{
    IntradayTick t;
    t.type = kTickTime;
    t.value1 = seconds;
    return t;
}
IntradayTick Priced(uint16_t type, float a, float b)
{
    IntradayTick t;
    t.type = type;
    t.SetF(a, b);
    return t;
}

// A day of quotes every ten minutes from 08:00 to 16:30 around a price, with a trade each hour.
std::vector<IntradayTick> Day(float price)
{
    std::vector<IntradayTick> ticks;
    for (uint32_t t = 28800; t <= 59400; t += 600) {
        ticks.push_back(Stamp(t));
        const float mid = price + float((t / 600) % 7);
        ticks.push_back(Priced(kTickQuote, mid + 0.5f, mid - 0.5f));
        if (t % 3600 == 0)
            ticks.push_back(Priced(kTickTrade, mid, 1000));
    }
    return ticks;
}

class IntradayChartViewTest : public ::testing::Test {
protected:
    IntradayChartViewTest() : saved_(Config().intradayGraphs.records[0])
    {
        InitGraphSetting(Setting(), true);
        chart.chart.ShowShare({0x4001, 0, "Alpha", {}});
        chart.chart.source.heldDays = [this] { return held; };
        chart.chart.source.dayTicks = [this](uint16_t share, PackedDate day) {
            if (share != 0x4001) {
                auto it = otherTicks.find(day);
                return it == otherTicks.end() ? std::vector<IntradayTick>() : it->second;
            }
            auto it = ticks.find(day);
            return it == ticks.end() ? std::vector<IntradayTick>() : it->second;
        };
        chart.chart.source.latestTime = [](uint8_t, PackedDate) { return -1; };
        chart.chart.source.marketHours = [](uint8_t) { return std::make_pair(28800, 59400); };
        chart.chart.source.beep = [this] { ++beeps; };
        for (size_t i = 0; i < kHeld.size(); ++i)
            ticks[kHeld[i]] = Day(100 + 10 * float(i));
    }
    ~IntradayChartViewTest() override { Config().intradayGraphs.records[0] = saved_; }

    GraphSetting& Setting() { return Config().intradayGraphs.records[0]; }
    void Draw()
    {
        chart.SetMode(true, kModeRedrawing, 0, 0, 0xFFFF);
        int device = 0;
        chart.AttachGraphSource(&device, nullptr, 0, 0, 1200, 700, 0, 4, false, true);
    }
    int Bands() const
    {
        int n = 0;
        for (const TimeBand* b = chart.timeBands; b; b = b->next)
            ++n;
        return n;
    }

    GraphSetting saved_;
    CViewGraphRT chart{kViewIntradayChart};
    std::vector<PackedDate> held = kHeld;
    std::map<PackedDate, std::vector<IntradayTick>> ticks;
    std::map<PackedDate, std::vector<IntradayTick>> otherTicks; // every other share's
    int beeps = 0;
};

TEST_F(IntradayChartViewTest, ThreeHeldDaysWithFiveViewedShowThree)
{
    gs::SetU8(Setting(), intraday::kDaysViewed, 4);
    Draw();
    ASSERT_EQ(chart.chart.sets().size(), 3u);
    EXPECT_EQ(Bands(), 3);
    EXPECT_TRUE(chart.noDataText.empty());
    // Side by side, oldest first, the last ending at the plot's right.
    const auto& sets = chart.chart.sets();
    EXPECT_LT(sets[0].right, sets[1].left);
    EXPECT_LT(sets[1].right, sets[2].left);
    EXPECT_TRUE(sets[2].today);
    EXPECT_FALSE(chart.chart.latestSet().has_value());
    // One price range over every band, widened by the quotes of all three days.
    const GraphSeries* first = FindSeries(chart.timeBands, chart.FindPane(kPanePrice));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first->range, nullptr);
    EXPECT_LE(first->range->minimum, 100.5f);
    EXPECT_GE(first->range->maximum, 126.5f);
    for (const TimeBand* b = chart.timeBands; b; b = b->next)
        EXPECT_EQ(FindSeries(b, chart.FindPane(kPanePrice))->range, first->range);
}

TEST_F(IntradayChartViewTest, StepsAndWidensTheDays)
{
    gs::SetU8(Setting(), intraday::kDaysViewed, 1);
    Draw();
    EXPECT_EQ(chart.chart.shownDays(), (DayWindow{1, 2}));
    chart.NextDay();
    EXPECT_EQ(beeps, 1) << "already at the last day";
    chart.PreviousDay();
    Draw();
    EXPECT_EQ(chart.chart.shownDays(), (DayWindow{0, 2}));
    EXPECT_TRUE(chart.chart.keepOwnDays());
    EXPECT_EQ(chart.chart.displayFrom(), kHeld[0]);
    // The latest day, no longer shown, still feeds the read-outs.
    ASSERT_TRUE(chart.chart.latestSet().has_value());
    EXPECT_EQ(chart.chart.latestSet()->day, kHeld[2]);
    EXPECT_FALSE(chart.chart.latestSet()->items.quotes.items.empty());
    chart.FewerDays();
    Draw();
    EXPECT_EQ(chart.chart.shownDays(), (DayWindow{1, 1}));
    chart.MoreDays();
    chart.MoreDays();
    Draw();
    EXPECT_EQ(chart.chart.shownDays(), (DayWindow{0, 2}));
    EXPECT_EQ(beeps, 1);
    chart.MoreDays();
    Draw();
    EXPECT_EQ(beeps, 2) << "no day before the first held";
}

TEST_F(IntradayChartViewTest, PeriodInTitleAndBars)
{
    gs::SetU32(Setting(), intraday::kBarPeriodIndex, 2);
    gs::SetU8(Setting(), intraday::kPriceStyle, 4);
    Draw();
    EXPECT_EQ(chart.chart.TitleSuffix(), "2.5 min. bars");
    EXPECT_EQ(chart.chart.ChartTitle(), "Alpha - 2.5 min. bars");
    const IntradayDaySet& last = chart.chart.sets().back();
    EXPECT_EQ(last.bars.period, 150);
    EXPECT_FALSE(last.bars.bars.empty());
}

TEST_F(IntradayChartViewTest, NoPriceDataNamesTheDay)
{
    ticks.clear();
    Draw();
    EXPECT_EQ(chart.noDataText, "No price data for " + FormatDate(kHeld.back()));
}

TEST_F(IntradayChartViewTest, PriceDisplayCommandsToggle)
{
    Draw();
    struct Case {
        uint32_t command;
        uint8_t style;
    };
    for (const Case& c : {Case{intraday::kCmdMidLine, 1}, Case{intraday::kCmdCloseLine, 2},
                          Case{intraday::kCmdOhlcBars, 3}, Case{intraday::kCmdCandles, 4}}) {
        gs::SetU8(Setting(), intraday::kPriceStyle, 0);
        chart.onProgramMessage(WM_COMMAND, c.command, 0);
        EXPECT_EQ(gs::U8(Setting(), intraday::kPriceStyle), c.style) << c.command;
        CommandUi ui;
        ui.command = c.command;
        ASSERT_TRUE(chart.UpdateCommandUi(ui));
        EXPECT_TRUE(ui.enabled && ui.checked.value_or(false)) << c.command;
        chart.onProgramMessage(WM_COMMAND, c.command, 0);
        EXPECT_EQ(gs::U8(Setting(), intraday::kPriceStyle), 0) << c.command;
    }
}

TEST_F(IntradayChartViewTest, NewDataReloadsTheDays)
{
    Draw();
    const size_t before = chart.chart.sets().back().items.quotes.items.size();
    ticks[kHeld.back()].push_back(Stamp(60000));
    ticks[kHeld.back()].push_back(Priced(kTickQuote, 130, 129));
    Draw();
    EXPECT_EQ(chart.chart.sets().back().items.quotes.items.size(), before) << "no reload without new data";
    chart.onProgramMessage(kMsgRTNewData, 0, 0);
    Draw();
    EXPECT_EQ(chart.chart.sets().back().items.quotes.items.size(), before + 1);
}

// A share of New York (five hours behind London in early March) lines up on London's clock: its
// quote at 09:30 stands at 14:30.
TEST_F(IntradayChartViewTest, AnAddedShareOfAnotherExchangeLinesUpOnTheClock)
{
    ResetMarketZoneMap();
    WriteAddedGraph(Setting(), 0, {1, 0x0000FF, 0x4002});
    for (PackedDate day : kHeld)
        otherTicks[day] = {Stamp(34200), Priced(kTickQuote, 51, 50), Stamp(36000), Priced(kTickQuote, 52, 51)};
    Draw();
    for (const IntradayDaySet& set : chart.chart.sets()) {
        ASSERT_EQ(set.added[0].items.size(), 2u);
        EXPECT_EQ(set.added[0].items[0].time, 52200);
        EXPECT_EQ(set.added[0].items[1].time, 54000);
    }
    // Its own scale, apart from the share's prices.
    const GraphPane* price = chart.FindPane(kPanePrice);
    const ValueRange* shareRange = FindSeries(chart.timeBands, price)->range;
    int addedSeries = 0;
    for (const GraphSeries* s = chart.timeBands->series; s; s = s->next)
        if (s->range && s->range != shareRange && s->range->maximum == 51.5f)
            ++addedSeries;
    EXPECT_EQ(addedSeries, 1);
    // Removed by its command, it goes at the next build.
    chart.onProgramMessage(WM_COMMAND, kCmdRemoveFirstGraph, 0);
    Draw();
    EXPECT_TRUE(chart.chart.sets().back().added[0].items.empty());
}

// An added share's day whose time stamps go back is cut there, with the message once for that day.
TEST_F(IntradayChartViewTest, AnAddedShareOutOfOrderIsReportedOncePerDay)
{
    test::FakeMessageBox box;
    ResetAddedTickReport();
    WriteAddedGraph(Setting(), 0, {0, 0x0000FF, 0x4002});
    otherTicks[kHeld[2]] = {Stamp(36000), Priced(kTickQuote, 51, 50), Stamp(35000), Priced(kTickQuote, 52, 51)};
    Draw();
    ASSERT_EQ(box.shown().size(), 1u);
    EXPECT_NE(box.texts()[0].find("There appears to be some corruption in your intraday data for " +
                                  FormatDateWithDay(kHeld[2])),
              std::string::npos);
    EXPECT_EQ(chart.chart.sets().back().added[0].items.size(), 1u) << "the quote before the stamp that went back";
    chart.chart.dataChanged = true;
    Draw();
    EXPECT_EQ(box.shown().size(), 1u) << "the same day again says nothing";
}


// The measuring drawings read the period bars between their two moments: across days, either way
// round, held to the bars there are.
TEST_F(IntradayChartViewTest, BarsBetweenTwoMomentsForTheMeasuringDrawings)
{
    gs::SetU8(Setting(), intraday::kDaysViewed, 2);
    Draw();
    const auto& sets = chart.chart.sets();
    ASSERT_EQ(sets.size(), 3u);
    ASSERT_EQ(sets[1].bars.bars.size(), 103u) << "5-minute bars from 08:00 to 16:30";
    auto at = [](size_t day, int32_t seconds) { return int32_t(DateToCalendarIndex(kHeld[day])) + seconds; };
    struct Case {
        const char* what;
        int32_t from, to;
        size_t count;
        size_t day, firstBar; // where the first bar comes from
    };
    const Case cases[] = {
        {"everything", 0, INT32_MAX, 3 * 103, 0, 0},
        {"an hour of one day", at(1, 36000), at(1, 39600), 13, 1, 24},
        {"the same the other way round", at(1, 39600), at(1, 36000), 13, 1, 24},
        {"over the night", at(0, 57600), at(1, 32400), 7 + 13, 0, 96},
        {"beyond the last bar", at(2, 70000), at(2, 80000), 1, 2, 102},
        {"before the first bar", at(0, 0), at(0, 28800), 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<PlacedBar> bars = chart.chart.GetBarsInRange(c.from, c.to);
        ASSERT_EQ(bars.size(), c.count);
        EXPECT_EQ(bars.front().values.close, sets[c.day].bars.bars[c.firstBar].close);
        EXPECT_EQ(bars.front().x, chart.chart.XOfPosition(at(c.day, 28800 + 300 * int32_t(c.firstBar))));
        for (size_t i = 1; i < bars.size(); ++i)
            EXPECT_GT(bars[i].x, bars[i - 1].x);
    }
    const auto values = GetBarValuesInRange(chart.chart.GetBarsInRange(at(1, 36000), at(1, 39600)), false);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->first, sets[1].bars.bars[24].close);
    EXPECT_EQ(values->last, sets[1].bars.bars[36].close);
    EXPECT_GE(values->high, values->low);
}

// A drawn line's texts: its points with the share and the moment, its anchor (the time alone on the
// latest day) and a selected time range.
TEST_F(IntradayChartViewTest, PointAnchorAndTimeRangeTexts)
{
    gs::SetU8(Setting(), intraday::kDaysViewed, 2);
    Draw();
    const int32_t first = int32_t(DateToCalendarIndex(kHeld[0])), last = int32_t(DateToCalendarIndex(kHeld[2]));
    EXPECT_EQ(chart.chart.PointText(last + 36000, 123.4567f), "Alpha 06/03/2026 10:00.00 - 123.457");
    EXPECT_EQ(chart.chart.AnchorText(last + 36000), "Anchor time 10:00.00");
    EXPECT_EQ(chart.chart.AnchorText(first + 37230), "Anchor time 04/03/2026 10:20.30");
    const auto& sets = chart.chart.sets();
    const auto texts = chart.chart.TimeRangeTexts(sets[2].left, sets[0].left);
    EXPECT_EQ(texts[0], "Anchor time 08:00.00") << "where the selection started";
    EXPECT_EQ(texts[1], "From 04/03/2026 08:00.00 to 06/03/2026 08:00.00");
}

// The legend shows the stop-loss lines the build drew, with the last stop each reached.
TEST_F(IntradayChartViewTest, TheLegendGetsTheStopLinesAndTheirLastValues)
{
    const uint16_t mask = GlobalStopMask(true);
    const StopRecord record = GlobalStopRecord(true);
    SetGlobalStopMask(true, 1);
    SetGlobalStopRecord(true, StopRecord{0, 0, 0x0080FF, 1.0f, 0});
    Draw();
    LegendSource source;
    chart.chart.FillStopLegend(source);
    ASSERT_NE(source.globalStop, nullptr);
    EXPECT_EQ(source.globalStop->pen, 0x0080FFu);
    EXPECT_EQ(source.individualStop, nullptr);
    // A stop-loss 1% under the highest mid of the last day (126, from 08:00 the mids run 100-106 + 20).
    EXPECT_FLOAT_EQ(source.globalStopValue, 126.0f * 0.99f);
    SetGlobalStopMask(true, 0);
    Draw();
    chart.chart.FillStopLegend(source);
    EXPECT_EQ(source.globalStop, nullptr) << "a mask without the setting draws and shows none";
    SetGlobalStopMask(true, mask);
    SetGlobalStopRecord(true, record);
}

// An index keeps the clock and hours of its own market, which its record's class names; a share
// those of its exchange.
TEST(IntradayMarketTest, AnIndexTakesItsRecordsMarket)
{
    uint8_t index[8] = {8, 0, 0x0F, 0xC0, 0, 0, 0, 0};
    uint8_t share[8] = {8, 0, 0x01, 0x40, 0, 0, 0, 0};
    EXPECT_EQ(IntradayMarketOf(RecordCursor{index, 0}), 9) << "US Industrials: the US indices";
    EXPECT_EQ(IntradayMarketOf(RecordCursor{share, 1}), 1);
    EXPECT_EQ(IntradayMarketOf(RecordCursor{}), 0);
}

} // namespace
} // namespace qv
