// The intraday chart's rules: the checked setting fields, the periods, the days chosen and stepped,
// the period bars, the bands of the time axis and the tick order check.
#include "charts/IntradayChart.h"

#include "chartmodel/GraphSettingDefaults.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qv;

namespace {

namespace gs = graphsetting;

const std::vector<PackedDate> kFiveDays = {PackDate(2, 3, 2026), PackDate(3, 3, 2026), PackDate(4, 3, 2026),
                                           PackDate(5, 3, 2026), PackDate(6, 3, 2026)};

TickItemArray Items(std::initializer_list<TickItem> items)
{
    TickItemArray a;
    a.Reserve(items.size());
    for (const TickItem& i : items)
        a.Append(i);
    return a;
}

// A quote of offer and bid around a mid.
TickItem Quote(int32_t time, float mid) { return {0, time, mid + 1, mid - 1}; }
TickItem Trade(int32_t time, float price, float volume) { return {kItemBuy, time, price, volume}; }

TEST(IntradaySettingFields, DaysAndPeriodAreHeldToTheirTables)
{
    GraphSetting s{};
    InitGraphSetting(s, true);
    struct Case {
        uint8_t daysByte;
        int32_t days;
        uint32_t periodIndex;
        int period;
    };
    // A days byte would load up to 256 days, and an index past the twelve-entry table would read
    // beyond it.
    for (const Case& c : {Case{0, 1, 0, 0}, Case{4, 5, 11, 11}, Case{9, 10, 12, kDefaultBarPeriod},
                          Case{255, 10, 0xFFFFFFFF, kDefaultBarPeriod}}) {
        gs::SetU8(s, intraday::kDaysViewed, c.daysByte);
        gs::SetU32(s, intraday::kBarPeriodIndex, c.periodIndex);
        EXPECT_EQ(DaysViewedOf(s), c.days) << int(c.daysByte);
        EXPECT_EQ(BarPeriodIndexOf(s), c.period) << c.periodIndex;
    }
}

TEST(IntradaySettingFields, TradesDisplayIsAWordBeforeTheTitleOptions)
{
    GraphSetting s{};
    InitGraphSetting(s, true);
    const uint16_t titles = gs::U16(s, intraday::kTitleOptions);
    EXPECT_EQ(intraday::kTradesDisplay + 2, intraday::kTitleOptions);
    gs::SetU16(s, intraday::kTradesDisplay, 0xFFFF);
    EXPECT_EQ(gs::U16(s, intraday::kTitleOptions), titles);
}

TEST(IntradayTradeDots, DiameterFollowsTheVolume)
{
    struct Case {
        float volume, average;
        int32_t diameter;
    } cases[] = {
        {0, 1000, 4},     {-5, 1000, 4},    {499, 1000, 4},   {500, 1000, 6},   {1000, 1000, 6},
        {2000, 1000, 6},  {2001, 1000, 8},  {5000, 1000, 8},  {5001, 1000, 10}, {1e9f, 1000, 10},
        {1000, 0, 4},     {std::nanf(""), 1000, 4}, {1000, std::nanf(""), 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TradeDotDiameter(c.volume, c.average), c.diameter) << c.volume << " of " << c.average;
    // Trades without a volume do not pull the average down.
    EXPECT_FLOAT_EQ(AverageTradeVolume(Items({Trade(1, 10, 100), Trade(2, 10, 0), Trade(3, 10, 300)})), 200);
    EXPECT_EQ(AverageTradeVolume(Items({Trade(1, 10, 0)})), 0);
}

TEST(IntradayBarPeriods, SecondsAndTitles)
{
    struct Case {
        int index;
        int32_t seconds;
        const char* title;
    };
    for (const Case& c : {Case{0, 60, "1 min. bars"}, Case{2, 150, "2.5 min. bars"}, Case{5, 300, "5 min. bars"},
                          Case{11, 3600, "60 min. bars"}, Case{12, 300, "5 min. bars"}}) {
        EXPECT_EQ(BarPeriodSeconds(c.index), c.seconds) << c.index;
        EXPECT_EQ(BarPeriodTitle(c.index), c.title) << c.index;
    }
}

TEST(IntradayDays, ChosenFromTheHeldDays)
{
    const std::vector<PackedDate> three(kFiveDays.begin(), kFiveDays.begin() + 3);
    struct Case {
        const char* name;
        std::span<const PackedDate> days;
        int32_t viewed;
        PackedDate from;
        size_t start, count;
    };
    const Case cases[] = {
        {"three held, five viewed", three, 5, 0, 0, 3},
        {"the last two", kFiveDays, 2, 0, 3, 2},
        {"from before every held day", kFiveDays, 2, PackDate(1, 1, 2026), 0, 2},
        {"from the second day", kFiveDays, 2, kFiveDays[1], 1, 2},
        {"from the Sunday before the first", kFiveDays, 3, PackDate(1, 3, 2026), 0, 3},
        {"from the last day shows the last days", kFiveDays, 3, kFiveDays[4], 2, 3},
        {"from after every held day", kFiveDays, 2, PackDate(1, 4, 2026), 4, 1},
    };
    for (const Case& c : cases) {
        const DayWindow w = ChooseDays(c.days, c.viewed, c.from);
        EXPECT_EQ(w.start, c.start) << c.name;
        EXPECT_EQ(w.count, c.count) << c.name;
    }
}

TEST(IntradayDays, StepsBeepAtTheEnds)
{
    std::vector<PackedDate> twelve;
    for (int d = 1; d <= 12; ++d)
        twelve.push_back(PackDate(d, 1, 2026));
    struct Case {
        const char* name;
        std::span<const PackedDate> days;
        size_t first, count;
        bool shift;
        int direction;
        int32_t viewed;
        PackedDate from;
        bool beep;
    };
    const Case cases[] = {
        {"next day at the last day", kFiveDays, 3, 2, true, +1, 2, 0, true},
        {"previous day", kFiveDays, 3, 2, true, -1, 2, kFiveDays[2], false},
        {"previous day at the first day", kFiveDays, 0, 2, true, -1, 2, kFiveDays[0], true},
        {"next day back to the last", kFiveDays, 2, 2, true, +1, 2, 0, false},
        {"one more day", kFiveDays, 3, 2, false, +1, 3, 0, false},
        {"one more day before the first held", kFiveDays, 0, 5, false, +1, 5, 0, true},
        {"one fewer day", kFiveDays, 3, 2, false, -1, 1, 0, false},
        {"fewer than one", kFiveDays, 4, 1, false, -1, 1, 0, true},
        {"more than ten", twelve, 2, 10, false, +1, 10, 0, true},
        {"fewer days, earlier window", kFiveDays, 0, 3, false, -1, 2, kFiveDays[1], false},
    };
    for (const Case& c : cases) {
        const DayStep step = StepDays(c.days, c.first, c.count, c.shift, c.direction);
        EXPECT_EQ(step.daysViewed, c.viewed) << c.name;
        EXPECT_EQ(step.displayFrom, c.from) << c.name;
        EXPECT_EQ(step.beep, c.beep) << c.name;
    }
}

TEST(IntradayPeriodBars, TicksGoToTheNearestBar)
{
    // Bars of 60 s from 36,000 (the first tick plus half a period, rounded down).
    const TickItemArray quotes = Items({Quote(36000, 100), Quote(36029, 102), Quote(36030, 104), Quote(36150, 98)});
    const TickItemArray trades = Items({Trade(36010, 106, 500), Trade(36100, 95, 200), Trade(36110, 99, 300)});
    PeriodBarInput in;
    in.quotes = &quotes;
    in.trades = &trades;
    in.firstTick = 36000;
    in.lastTick = 36150;
    const PeriodBars bars = BuildPeriodBars(in, 60);
    ASSERT_EQ(bars.start, 36000);
    ASSERT_EQ(bars.bars.size(), 4u); // up to 36,180
    // Half a period after bar 0's time belongs to bar 1.
    EXPECT_EQ(BarOfTime(bars, 36029), 0);
    EXPECT_EQ(BarOfTime(bars, 36030), 1);
    EXPECT_FLOAT_EQ(bars.bars[0].open, 100);
    EXPECT_FLOAT_EQ(bars.bars[0].close, 102);
    EXPECT_FLOAT_EQ(bars.bars[1].open, 104);
    // The trades widen the bars and bring their volume.
    EXPECT_FLOAT_EQ(bars.bars[0].high, 106);
    EXPECT_FLOAT_EQ(bars.bars[0].volume, 500);
    EXPECT_FLOAT_EQ(bars.bars[2].low, 95);
    EXPECT_FLOAT_EQ(bars.bars[2].volume, 500);
    // A bar no quote reaches stands flat at the last price.
    EXPECT_FLOAT_EQ(bars.bars[3].open, 98);
    EXPECT_FLOAT_EQ(bars.bars[2].open, 104);
    EXPECT_FLOAT_EQ(bars.bars[2].close, 104);
    EXPECT_EQ(bars.visibleLast, 3);
    EXPECT_EQ(bars.tradeFirst, 0);
    EXPECT_EQ(bars.tradeLast, 2);
}

TEST(IntradayPeriodBars, NoneWithoutQuotesOrSpan)
{
    const TickItemArray none = Items({});
    const TickItemArray trades = Items({Trade(36010, 106, 500)});
    PeriodBarInput in;
    in.quotes = &none;
    in.trades = &trades;
    in.firstTick = in.lastTick = 36010;
    EXPECT_TRUE(BuildPeriodBars(in, 300).bars.empty());
    // A selection whose start lies after its end makes no bars.
    const TickItemArray quotes = Items({Quote(36000, 100)});
    in.quotes = &quotes;
    in.selection = 2;
    in.selectFrom = 40000;
    in.selectTo = 39000;
    EXPECT_TRUE(BuildPeriodBars(in, 300).bars.empty());
}

TEST(IntradayPeriodBars, SelectedHoursAndTodaysEnd)
{
    const TickItemArray quotes = Items({Quote(30000, 100), Quote(32000, 101)});
    PeriodBarInput in;
    in.quotes = &quotes;
    in.firstTick = 30000;
    in.lastTick = 32000;
    in.selection = 1;
    in.selectFrom = 28800;
    in.selectTo = 59400;
    const PeriodBars all = BuildPeriodBars(in, 600);
    EXPECT_EQ(all.start, 28800);
    EXPECT_EQ(all.bars.size(), size_t((59400 - 28800) / 600 + 1));
    // Today stops at its last tick rounded up while the day is under way.
    in.today = true;
    const PeriodBars today = BuildPeriodBars(in, 600);
    EXPECT_EQ(today.bars.size(), size_t((32400 - 28800) / 600 + 1));
    EXPECT_EQ(MapTimeToBar(today, 0, 0, 0), std::make_pair(0, int32_t(today.bars.size()) - 1));
    EXPECT_EQ(MapTimeToBar(today, 2, 29000, 30000), std::make_pair(0, 2));
    EXPECT_EQ(MapTimeToBar(today, 2, 50000, 60000).second, -1);
}

TEST(IntradayTimeAxis, BandEnds)
{
    AxisHours hours;
    hours.open = 28800;
    hours.close = 59400;
    const DaySpan days[] = {{29000, 59000, false}, {28900, 40000, true}};
    struct Case {
        const char* name;
        int dayHours;
        int32_t latest;
        bool extend;
        int32_t start0, end0, start1, end1;
    };
    const Case cases[] = {
        // All day: from the first tick down to 15 minutes, to the last tick plus 225 s up to 900 s.
        {"all day", 0, -1, false, 28800, 59400, 28800, 40500},
        {"market hours", 1, -1, false, 28800, 59400, 28800, 59400},
        {"market hours, today under way", 1, 41000, false, 28800, 59400, 28800, 41400},
        {"market hours, today extended", 1, 41000, true, 28800, 59400, 28800, 59400},
    };
    for (const Case& c : cases) {
        hours.dayHours = c.dayHours;
        hours.latestTime = c.latest;
        hours.extendToday = c.extend;
        const auto bands = LayOutTimeAxis(hours, days);
        ASSERT_EQ(bands.size(), 2u);
        EXPECT_EQ(bands[0].start, c.start0) << c.name;
        EXPECT_EQ(bands[0].end, c.end0) << c.name;
        EXPECT_EQ(bands[1].start, c.start1) << c.name;
        EXPECT_EQ(bands[1].end, c.end1) << c.name;
    }
    // A limited range of one hour shows the last hour of the latest day only.
    hours.dayHours = 1;
    hours.latestTime = -1;
    hours.limited = true;
    hours.windowSeconds = 3600;
    const auto limited = LayOutTimeAxis(hours, days);
    EXPECT_FALSE(limited[0].visible);
    EXPECT_EQ(limited[1].visibleStart, 59400 - 3600);
}

TEST(IntradayTimeAxis, BandPixelsSideBySide)
{
    BandSpan a, b, hidden;
    a.visible = b.visible = true;
    a.visibleStart = 0;
    a.visibleEnd = 3000;
    b.visibleStart = 0;
    b.visibleEnd = 1000;
    const BandSpan bands[] = {a, hidden, b};
    const auto px = LayOutBandPixels(bands, 0, 406, 2);
    // 400 pixels after the gap, three quarters to the first band; the last ends at the edge.
    EXPECT_EQ(px[0], std::make_pair(0, 300));
    EXPECT_GT(px[1].first, px[1].second);
    EXPECT_EQ(px[2], std::make_pair(306, 406));
}

TEST(IntradayTickOrder, FirstDecreasingStamp)
{
    auto stamp = [](uint32_t t) {
        IntradayTick tick;
        tick.type = kTickTime;
        tick.value1 = t;
        return tick;
    };
    IntradayTick quote;
    quote.type = kTickQuote;
    const std::vector<IntradayTick> ordered = {stamp(10), quote, stamp(10), stamp(20)};
    const std::vector<IntradayTick> broken = {stamp(10), quote, stamp(30), quote, stamp(20), stamp(40)};
    EXPECT_EQ(CheckTickOrder(ordered), -1);
    EXPECT_EQ(CheckTickOrder(broken), 4);
}

} // namespace
