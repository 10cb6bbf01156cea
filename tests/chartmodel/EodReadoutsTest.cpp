// The daily chart's status and cursor readouts.
#include "chartmodel/EodReadouts.h"

#include "core/DateStepping.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

std::vector<DayRecord> TwoDays()
{
    std::vector<DayRecord> days(2);
    PackedDate date = PackDate(6, 1, 2020);
    for (size_t i = 0; i < 2; ++i, date = NextWeekday(date)) {
        const float c = 100.0f + float(i);
        days[i] = {c, c + 2, c - 2, c, 2500000.0f, 1.0f, {}, date, uint8_t(WeekdayOf(date) + 1), 0, 1, {}};
    }
    return days;
}

TEST(EodReadouts, TheLastDayAndWhatIsMissing)
{
    const EodReadoutTexts none = LatestReadouts({});
    EXPECT_EQ(none.price, "No price data");
    EXPECT_EQ(none.ohlc, "No OHLC data");
    EXPECT_EQ(none.volume, "No volume data");
    EXPECT_EQ(none.trend, "No trend line");

    std::vector<DayRecord> days = TwoDays();
    EodReadoutInput in{days.data(), 2, nullptr, nullptr};
    EodReadoutTexts latest = LatestReadouts(in);
    EXPECT_EQ(latest.price, "7/1/20, 101  +1");
    EXPECT_EQ(latest.ohlc, "OHLC 101, 103, 99, 101");
    EXPECT_EQ(latest.volume, "Volume 2.5m");
    // The volume signal follows the OHLC text; a close-only day has no OHLC text.
    const float signal[2] = {0, 1800000};
    in.signal = signal;
    EXPECT_EQ(LatestReadouts(in).ohlc, "OHLC 101, 103, 99, 101 (sig) (1.8m)");
    days[1].open = days[1].high = days[1].low = 0;
    EXPECT_EQ(LatestReadouts(in).ohlc, "No OHLC data");

    PackedDate end = days[0].date;
    for (int i = 0; i < 250; ++i)
        end = NextWeekday(end);
    const TrendLineEnds trend{days[0].date, end, 100, 110, false};
    in.trend = &trend;
    EXPECT_EQ(LatestReadouts(in).trend, "Trend +10.00 p.a.");
}

TEST(EodReadouts, TheCursorOnAndOffTheGraph)
{
    const std::vector<DayRecord> days = TwoDays();
    const EodReadoutInput in{days.data(), 2, nullptr, nullptr};
    CursorPoint point;
    point.visibleBars = 42;
    EodReadoutTexts off = CursorReadouts(in, point);
    EXPECT_EQ(off.cursor, "Cursor (Off graph)");
    EXPECT_EQ(off.price, "No price selected");
    EXPECT_EQ(off.ohlc, "No OHLC selected");
    EXPECT_EQ(off.volume, "No volume selected");
    EXPECT_EQ(off.trend, "42 trading days");
    EodReadoutInput weekly = in;
    weekly.weekly = true;
    EXPECT_EQ(CursorReadouts(weekly, point).trend, "42 trading weeks");
    EXPECT_EQ(CursorLegendTexts(off),
              (std::array<std::string, 4>{"No price selected", "No OHLC selected", "No volume selected",
                                          "Cursor (Off graph)"}));

    point.pane = CursorPane::Price;
    point.record = 0;
    point.value = 100.4f;
    EodReadoutTexts on = CursorReadouts(in, point);
    EXPECT_EQ(on.cursor, "Cursor (6/1/20, 100)");
    EXPECT_EQ(on.price, "6/1/20, 100 no change");
    EXPECT_EQ(on.ohlc, "OHLC 100, 102, 98, 100");
    point.pane = CursorPane::Volume;
    point.value = 1250000;
    EXPECT_EQ(CursorReadouts(in, point).cursor, "Cursor (6/1/20, 1.2m)");
    // A record index outside the history is off the graph.
    point.record = 2;
    EXPECT_EQ(CursorReadouts(in, point).cursor, "Cursor (Off graph)");
}

TEST(EodReadouts, OverAnIndicatorWindowItsValuesLeadTheTrendText)
{
    const std::vector<DayRecord> days = TwoDays();
    const TrendLineEnds trend{PackDate(6, 1, 2020), PackDate(6, 1, 2021), 100, 110, false};
    struct Case {
        const char* name;
        float value;
        bool wholeNumbers;
        const TrendLineEnds* trend;
        const char* cursor;
        std::string trendText;
    };
    const Case cases[] = {
        {"two decimals on the window's scale", 54.256f, false, nullptr, "Cursor (7/1/20, 54.26)", "RSI 14 53.87"},
        {"a volume scale in its units", 1250000, true, nullptr, "Cursor (7/1/20, 1.2m)", "RSI 14 53.87"},
        {"the trend line follows", -3.5f, false, &trend, "Cursor (7/1/20, -3.50)", "RSI 14 53.87  Trend "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EodReadoutInput in{days.data(), 2, nullptr, c.trend};
        CursorPoint point;
        point.pane = CursorPane::Indicator;
        point.record = 1;
        point.value = c.value;
        point.wholeNumbers = c.wholeNumbers;
        point.indicatorValues = "RSI 14 53.87";
        const EodReadoutTexts texts = CursorReadouts(in, point);
        EXPECT_EQ(texts.cursor, c.cursor);
        EXPECT_EQ(texts.trend.rfind(c.trendText, 0), 0u) << texts.trend;
        // The record under the cursor is described as over the price pane.
        EXPECT_EQ(texts.price.rfind("7/1/20, 101", 0), 0u) << texts.price;
    }
}

} // namespace
} // namespace qv
