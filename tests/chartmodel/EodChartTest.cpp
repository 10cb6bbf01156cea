// The end-of-day chart's rules: display range and range commands, future, bar scale, folding, price
// range, no-data texts, position keys, trend rate and period texts, and the time axis.
#include "chartmodel/EodChart.h"

#include "core/DateStepping.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qv {
namespace {

// n weekdays from Monday 6 January 2020, closes rising from 100.
std::vector<DayRecord> Weekdays(int n, PackedDate from = PackDate(6, 1, 2020))
{
    std::vector<DayRecord> days(size_t(n) + 1);
    PackedDate date = from;
    for (int i = 0; i < n; ++i, date = NextWeekday(date)) {
        const float c = 100.0f + float(i);
        days[size_t(i)] = {c, c + 2, c - 2, c, 1000.0f + float(i), 1.0f, {}, date, uint8_t(WeekdayOf(date) + 1), 0, 1, {}};
    }
    return days;
}

TEST(EodRange, RangeLimitsAreStoredAsMonthsOrWholeYears)
{
    struct Case {
        int32_t months;
        uint16_t unit, length;
    };
    for (Case c : {Case{1, 2, 1}, Case{3, 2, 3}, Case{6, 2, 6}, Case{12, 3, 1}, Case{24, 3, 2}, Case{60, 3, 5}}) {
        DateRangeSetting s;
        s.word = 0;
        ApplyRangeLimit(s, c.months, {100, 2000}, 2000);
        EXPECT_EQ(s.word, c.unit | 48) << c.months;
        EXPECT_EQ(s.length, c.length) << c.months;
        EXPECT_TRUE(IsRangeLimit(s, c.months)) << c.months;
    }
    DateRangeSetting twelveMonths{48 | 2, 0, 12, 0};
    EXPECT_FALSE(IsRangeLimit(twelveMonths, 12));
    // A display that ends before the last price date fixes the end.
    DateRangeSetting s{0, 0, 60, 0};
    ApplyRangeLimit(s, 3, {100, 1500}, 2000);
    EXPECT_EQ(s.word, 2 | 48 | 128);
    EXPECT_EQ(s.end, 1500);
}

TEST(EodRange, DisplayRangeFromTheSetting)
{
    const std::vector<DayRecord> days = Weekdays(300);
    const int32_t first = days[0].date, last = days[299].date;
    DisplayRange display;
    DateRangeSetting off{0, 0, 60, 0};
    ComputeDisplayRange(off, days.data(), 300, display);
    EXPECT_EQ(display.start, first);
    EXPECT_EQ(display.end, last);

    DateRangeSetting months{16 | 32 | 2, 0, 3, 0};
    display = {};
    ComputeDisplayRange(months, days.data(), 300, display);
    EXPECT_EQ(display.end, last);
    const PackedDate from = AddToDate(PackedDate(last), -3, 2);
    EXPECT_GE(display.start, from);
    EXPECT_LT(WeekdayOf(PackedDate(display.start)), 5);
    // Applying the range on screen again shows the whole history.
    ComputeDisplayRange(months, days.data(), 300, display);
    EXPECT_EQ(display.start, first);
    EXPECT_EQ(display.end, last);

    DateRangeSetting shortDays{16, 0, 3, 0};
    display = {};
    ComputeDisplayRange(shortDays, days.data(), 300, display);
    EXPECT_EQ(shortDays.length, 5);
    EXPECT_EQ(shortDays.word, 16 | 32);
    EXPECT_GE(display.start, AddToDate(PackedDate(last), -5, 0));
    EXPECT_LT(WeekdayOf(PackedDate(display.start)), 5);
    EXPECT_LE(display.start, AddToDate(PackedDate(last), -3, 0));
}

TEST(EodRange, ReduceAndIncreaseTheVisibleRange)
{
    const int32_t last = PackDate(30, 6, 2020), start = DateToDayNumber(PackedDate(last)) - 100;
    const DisplayRange display{DayNumberToDate(start), last};
    DateRangeSetting reduce{0, 0, 60, 0};
    ASSERT_TRUE(ChangeVisibleRange(reduce, false, display, PackDate(1, 1, 2019), last));
    EXPECT_EQ(reduce.word, 48);
    EXPECT_EQ(reduce.length, 66);  // 100 x 0.667f, truncated
    DateRangeSetting again{48 | 2, 0, 3, 0};
    ChangeVisibleRange(again, false, {display.start, last}, PackDate(1, 1, 2019), last);
    EXPECT_EQ(again.length, 66);   // at the last date the days on screen count again
    DateRangeSetting fixedEnd{16 | 32 | 2 | 128, 0, 6, PackDate(1, 5, 2020)};
    ChangeVisibleRange(fixedEnd, false, {display.start, PackDate(1, 5, 2020)}, PackDate(1, 1, 2019), last);
    EXPECT_EQ(fixedEnd.length, 4); // 6 x 0.667 = 4.002, rounded
    EXPECT_EQ(fixedEnd.word & 128, 128);

    DateRangeSetting increase{16 | 32 | 2 | 128, 0, 3, 0};
    ASSERT_TRUE(ChangeVisibleRange(increase, true, display, PackDate(1, 1, 2019), last));
    EXPECT_EQ(increase.word, 48);  // the fixed end and the unit go: days
    EXPECT_EQ(increase.length, 150);
    DateRangeSetting atStart{0, 0, 60, 0};
    EXPECT_FALSE(ChangeVisibleRange(atStart, true, display, display.start, last));
}

TEST(EodRange, FutureOfNinetyPercentCountsAsSeventyFive)
{
    const int32_t end = PackDate(30, 6, 2020);
    const DisplayRange display{DayNumberToDate(DateToDayNumber(PackedDate(end)) - 100), end};
    EXPECT_EQ(AxisEndWithFuture({1, 4, 90}, display, end), AddToDate(PackedDate(end), 300, 0));
    EXPECT_EQ(AxisEndWithFuture({1, 2, 3}, display, end), AddToDate(PackedDate(end), 3, 2));
    EXPECT_EQ(AxisEndWithFuture({0, 2, 3}, display, end), end);
}

TEST(EodBars, DynamicCodeAndBarScale)
{
    EXPECT_EQ(DynamicBarCode(1000, 0.5, 5), 6);
    EXPECT_EQ(DynamicBarCode(60, 10.0, 5), 1);
    EXPECT_EQ(DynamicBarCode(60, 0.01, 5), 16);  // nothing fits: bars of all 60 days, 12 weeks
    BarScaleInput in;
    in.paneLeft = 0;
    in.paneRight = 50;
    in.visibleCount = 100;
    in.lastBarIndex = 99;
    const BarScale narrow = ComputeBarScale(in);
    EXPECT_EQ(narrow.lastBarIndex, 0);
    EXPECT_EQ(narrow.pixelsPerBar, 0);
    EXPECT_EQ(XToBarIndex(30, 0, narrow.pixelsPerBar, narrow.lastBarIndex), 0);
    in.paneRight = 1000;
    in.fromMarkedVisible = 100;
    in.firstVisibleMarked = true;
    in.barCode = 3;
    const BarScale wide = ComputeBarScale(in);
    EXPECT_EQ(wide.code, 3);
    // The margins keep the first and last bars whole: half the drawn width and the bar's own pixel,
    // wider than half the smallest OHLC bar (2) once a bar is drawn wider than that.
    EXPECT_EQ(wide.drawWidth, 12);
    EXPECT_EQ(wide.leftMargin, wide.drawWidth / 2 + 1);
    EXPECT_EQ(wide.rightMargin, wide.drawWidth / 2 + 2);
    EXPECT_EQ(wide.firstX, wide.leftMargin);
    EXPECT_GT(wide.pixelsPerBar, 9.9);
    in.firstVisibleMarked = false;  // the first bar is drawn as a line: one pixel on the left
    EXPECT_EQ(ComputeBarScale(in).leftMargin, 1);
    in.firstVisibleMarked = true;
    in.priceEdit = true;
    EXPECT_EQ(ComputeBarScale(in).code, 1);
}

TEST(EodBars, BoxChartsTakeTheFullWidthAtTheColumnWidth)
{
    BarScaleInput in;
    in.paneLeft = 100;
    in.paneRight = 900;
    in.visibleCount = 40;
    in.lastBarIndex = 39;
    in.style = 5;
    in.barCode = 3;
    in.boxWidth = 12;
    in.boxMargin = 2;
    in.boxFirstColumn = 10;
    const BarScale box = ComputeBarScale(in);
    EXPECT_EQ(box.code, 0);
    EXPECT_EQ(box.pixelsPerBar, 12);
    EXPECT_EQ(box.leftMargin, 0);
    EXPECT_EQ(box.rightMargin, 0);
    EXPECT_EQ(box.firstX, 100 + 6 - 10 * 12);  // column 10's centre at the left edge's first column
    EXPECT_EQ(box.drawWidth, 8);
    EXPECT_EQ(box.lastBarIndex, 39);
    in.paneRight = 150;  // 50 pixels: nothing
    EXPECT_EQ(ComputeBarScale(in).lastBarIndex, 0);
}

TEST(EodBars, FoldingLeavesTheSourceDaysUntouched)
{
    std::vector<DayRecord> days = Weekdays(20);
    const std::vector<DayRecord> before = days;
    const std::vector<FoldedBar> pairs = FoldBars(days.data(), 20, 0, 0xFFFF, 2);
    ASSERT_EQ(pairs.size(), 10u);
    EXPECT_EQ(pairs[1].first, 2);
    EXPECT_EQ(pairs[1].last, 3);
    EXPECT_EQ(pairs[1].values.open, 102);
    EXPECT_EQ(pairs[1].values.close, 103);
    EXPECT_EQ(pairs[1].values.high, 105);
    EXPECT_EQ(pairs[1].values.low, 100);
    EXPECT_EQ(pairs[1].values.volume, 1002 + 1003);
    const std::vector<FoldedBar> fortnights = FoldBars(days.data(), 20, 0, 0xFFFF, 6);
    ASSERT_EQ(fortnights.size(), 2u);
    EXPECT_EQ(fortnights[0].last, 9);
    EXPECT_EQ(std::memcmp(days.data(), before.data(), days.size() * sizeof(DayRecord)), 0);
    EXPECT_EQ(FoldBars(days.data(), 20, 0, days[4].date, 1).size(), 5u);
}

TEST(EodBars, PriceRangeAndTrainingRoom)
{
    const std::vector<DayRecord> days = Weekdays(10);
    PriceRange bars = GetPriceRange(days.data(), 10, 0, 0xFFFF, 1, false, false);
    EXPECT_EQ(bars.low, 98);
    EXPECT_EQ(bars.high, 111);
    PriceRange line = GetPriceRange(days.data(), 10, 0, 0xFFFF, 0, false, false);
    EXPECT_EQ(line.low, 100);
    EXPECT_EQ(line.high, 109);
    PriceRange empty = GetPriceRange(days.data(), 10, 0, 0, 0, true, false);
    EXPECT_EQ(empty.low, 1);
    EXPECT_EQ(empty.high, 100);
    PriceRange scaled = GetPriceRange(days.data(), 10, 0, 0xFFFF, 0, true, true);
    EXPECT_FLOAT_EQ(scaled.high, 109 * 1.4f);
    EXPECT_FLOAT_EQ(scaled.low, 100 * 0.8333333f);
    PriceRange widened = GetPriceRange(days.data(), 10, 0, 0xFFFF, 0, true, false);
    EXPECT_FLOAT_EQ(widened.high, 104.5f + 6.75f);
    EXPECT_FLOAT_EQ(widened.low, 104.5f - 6.75f);
}

TEST(EodTexts, NoDataMessagesInTheirOrder)
{
    const std::string inRange = "No prices in the current range^^(Double-click to show the full range)";
    struct Case {
        NoDataInput in;
        std::string text;
    };
    NoDataInput shown{true, false, true, 100, 50, true, false, false};
    NoDataInput noneVisible = shown;
    noneVisible.visible = 0;
    NoDataInput noStream = shown;
    noStream.hasPriceStream = false;
    NoDataInput empty = shown;
    empty.count = 0;
    empty.hasPriceStream = false;
    NoDataInput reversed = shown;
    reversed.startAfterEnd = true;
    NoDataInput reversedLimit = reversed;
    reversedLimit.limitOn = true;
    for (const Case& c : {Case{shown, ""}, Case{noneVisible, inRange}, Case{noStream, "Not enough data"},
                          Case{empty, "No price data"}, Case{reversed, "Not enough data"},
                          Case{reversedLimit, inRange}})
        EXPECT_EQ(NoDataMessage(c.in), c.text);
    EXPECT_EQ(SplitChartText(inRange),
              (std::vector<std::string>{"No prices in the current range", "(Double-click to show the full range)"}));
}

TEST(EodTexts, PositionKeysTrendRatesAndPeriodLabels)
{
    const int32_t friday = PackDate(10, 1, 2020), monday = PackDate(13, 1, 2020);
    EXPECT_EQ(PositionKeyToDate(DateToPositionKey(friday) + 201), monday);
    EXPECT_EQ(PositionKeyToDate(DateToPositionKey(friday) + 200), friday);

    PackedDate first = PackDate(6, 1, 2020), second = first;
    for (int i = 0; i < 250; ++i)
        second = NextWeekday(second);
    EXPECT_EQ(GetTrendRateText(first, 100, second, 110, false), "+10.00 p.a.");
    EXPECT_EQ(GetTrendRateText(first, 100, second, 110, true), "+10.00% p.a.");
    EXPECT_EQ(GetTrendRateText(first, 0, second, 110, true), "");
    EXPECT_EQ(GetTrendRateText(first, 100, NextWeekday(first), 110, false), "");

    EXPECT_EQ(GetBarPeriodLabel(3, false), "3 day bars");
    EXPECT_EQ(GetBarPeriodLabel(6, true), "2 week bars (dyn.)");
    EXPECT_EQ(ZoomRangeText(true, PackedDate(friday)), "From 10/1/20");
    EXPECT_EQ(ZoomRangeText(false, PackedDate(monday)), "To 13/1/20");

    const std::vector<DayRecord> days = Weekdays(10);
    const PriceSummary summary = GetPriceSummary(days.data(), 10, days[2].date, days[4].date);
    EXPECT_EQ(summary.open, 102);
    EXPECT_EQ(summary.close, 104);
    EXPECT_EQ(summary.high, 106);
    EXPECT_EQ(summary.low, 100);
    EXPECT_EQ(summary.volume, 1002 + 1003 + 1004);
}

TEST(EodTexts, Readouts)
{
    std::vector<DayRecord> days = Weekdays(2);
    days[0].unit = days[1].unit = 0.1f;
    days[1].close = 100.5f;
    EXPECT_EQ(PriceReadoutText(days[1], &days[0]), "7/1/20, 100.5  +0.5");
    days[1].close = 100;
    EXPECT_EQ(PriceReadoutText(days[1], &days[0]), "7/1/20, 100.0 no change");
    days[1].modeMarks |= kDayMarkF;
    EXPECT_EQ(PriceReadoutText(days[1], &days[0]), "7/1/20, 100.0 (Susp.)");
    EXPECT_EQ(PriceReadoutText(days[0], nullptr), "6/1/20, 100.0 no change");
    EXPECT_EQ(OhlcReadoutText(days[0]), "OHLC 100.0, 102.0, 98.0, 100.0");
    EXPECT_EQ(VolumeReadoutText(2500000), "Volume 2.5m");
    EXPECT_EQ(VolumeReadoutText(45000), "Volume 45.0k");
    EXPECT_EQ(VolumeReadoutText(900), "Volume 900");
    // A share priced in pence reads as the lists show it.
    days[0].unit = days[1].unit = 1;
    days[0].close = 16553;
    days[1].close = 16712;
    days[1].modeMarks &= uint8_t(~kDayMarkF);
    EXPECT_EQ(PriceReadoutText(days[1], &days[0], 'p'), "7/1/20, 16,712p  +159p");
    days[1].close = 16300;
    EXPECT_EQ(PriceReadoutText(days[1], &days[0], 'p'), "7/1/20, 16,300p  -253p");
    EXPECT_EQ(FormatPriceInUnit(1234567.5f, 0.1f), "1,234,567.5");
}

TEST(EodAxis, LevelsAndLabels)
{
    EXPECT_EQ(TimeAxisLevel(20, 40), 1);     // few days: every other day
    EXPECT_EQ(TimeAxisLevel(250, 40), 3);    // a year: months without days
    EXPECT_EQ(TimeAxisLevel(2500, 40), 5);   // ten years
    EXPECT_EQ(TimeAxisLevel(6000, 40), 6);   // months per slot far below the day count's level
    EXPECT_EQ(TimeAxisLevel(20000, 4), 7);

    std::vector<std::pair<PackedDate, int32_t>> dated;
    PackedDate date = PackDate(28, 12, 2020);
    for (int i = 0; i < 30; ++i, date = NextWeekday(date))
        dated.emplace_back(date, i * 10);
    const std::vector<AxisLabel> labels = TimeAxisLabels(dated, 2, 1);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels[0].text, "28 ");
    auto year = std::find_if(labels.begin(), labels.end(), [](const AxisLabel& l) { return l.kind == 2; });
    ASSERT_NE(year, labels.end());
    EXPECT_EQ(year->text, "'21 ");
    EXPECT_EQ(year->tick, 3);
    EXPECT_TRUE(year->grid);
    auto month = std::find_if(labels.begin(), labels.end(), [](const AxisLabel& l) { return l.kind == 1; });
    ASSERT_NE(month, labels.end());
    EXPECT_EQ(month->text, "Feb ");
}

} // namespace
} // namespace qv

namespace qv {
namespace {

TEST(EodXTable, BarsFractionsAndBack)
{
    const int32_t table[] = {10, 20, 30, 50};
    struct Case {
        int32_t x, index, fraction;
    };
    for (const Case c : {Case{5, 0, 0}, Case{10, 0, 0}, Case{15, 0, 127}, Case{19, 0, 229}, Case{20, 1, 0},
                         Case{40, 2, 127}, Case{50, 3, 0}, Case{90, 3, 0}}) {
        const int32_t index = XTableIndex(table, 4, c.x);
        EXPECT_EQ(index, c.index) << c.x;
        EXPECT_EQ(XTableFraction(table, 4, index, c.x), c.fraction) << c.x;
    }
    // Back to x: a fraction lands between the bar and the next; the last bar has no next.
    EXPECT_EQ(XTableX(table, 4, 2, 127), 39);
    EXPECT_EQ(XTableX(table, 4, 3, 200), 50);
    EXPECT_EQ(XTableX(table, 4, 9, 0), 50);
    EXPECT_EQ(XTableIndex(nullptr, 0, 12), 0);
}

TEST(EodXTable, KeyboardStepsOfThePointer)
{
    const int32_t table[] = {10, 20, 30, 40, 50};
    CursorStepInput in;
    in.table = table;
    in.count = 5;
    in.bandLeft = 8;
    in.bandRight = 52;
    in.pixelsPerBar = 10;
    struct Case {
        int32_t x;
        int direction;
        bool back, on;
        CursorStep step;
    };
    const Case cases[] = {
        {20, 1, false, false, {30, 0}},   // to the next bar
        {24, -1, false, false, {20, 0}},  // back to the bar's own x first
        {20, -1, false, false, {10, 0}},
        {12, -1, true, false, {12, -1}},  // within half a bar of the left edge: scroll back
        {12, -1, false, false, {10, 0}},  // nothing to scroll: the pointer moves
        {10, -1, false, false, {9, 0}},   // at least a pixel, inside the band
        {8, -1, false, false, {8, 0}},
        {48, 1, false, true, {48, 1}},    // the right edge scrolls on
        {50, 1, false, false, {51, 0}},
    };
    for (const Case& c : cases) {
        in.canScrollBack = c.back;
        in.canScrollOn = c.on;
        const CursorStep step = StepCursor(in, c.x, c.direction);
        EXPECT_EQ(step.x, c.step.x) << c.x << " " << c.direction;
        EXPECT_EQ(step.scroll, c.step.scroll) << c.x << " " << c.direction;
    }
    // Bars a pixel wide or less: a pixel a step.
    in.pixelsPerBar = 1;
    in.canScrollBack = in.canScrollOn = false;
    EXPECT_EQ(StepCursor(in, 30, 1).x, 31);
}

} // namespace
} // namespace qv
