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

} // namespace
} // namespace qv
