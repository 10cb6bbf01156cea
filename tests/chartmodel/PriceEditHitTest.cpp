// Taking hold of a bar's prices and dragging them: which part a point holds, and what a drag does to
// the day.
#include "chartmodel/PriceEditHit.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// A bar at x 100, 4 pixels each side: high at row 30, open 50, close 90, low 110.
PriceEditBar Bar(int style)
{
    PriceEditBar bar;
    bar.x = 100;
    bar.halfWidth = 4;
    bar.yHigh = 30;
    bar.yOpen = 50;
    bar.yClose = 90;
    bar.yLow = 110;
    bar.style = style;
    return bar;
}

TEST(PriceEditHit, ThePointHoldsTheNearestPartWithin128SquaredPixels)
{
    const struct {
        int style;
        int32_t x, y;
        uint32_t part;
    } cases[] = {
        {1, 100, 21, kEditPartNone},   // more than 8 pixels above the high
        {1, 100, 119, kEditPartNone},  // more than 8 pixels below the low
        {1, 100, 22, kEditPartHigh},   // 8 above the high: 64 squared pixels
        {1, 100, 118, kEditPartLow},
        {1, 96, 51, kEditPartOpen},    // the open tick is left of the bar
        {1, 104, 89, kEditPartClose},  // the close tick right of it
        {1, 100, 70, kEditPartBar},    // 20 rows from every point
        {1, 111, 30, kEditPartHigh},   // 11 pixels right of the high: 121 squared pixels
        {3, 96, 51, kEditPartBar},     // HL bars have neither open nor close
        {3, 104, 90, kEditPartBar},
        {2, 96, 51, kEditPartBar},     // HLC bars have no open
        {2, 104, 90, kEditPartClose},
        {4, 96, 50, kEditPartOpen},    // candlesticks have both
        {0, 100, 91, kEditPartClose},  // a close line's close is at the bar
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChoosePriceEditPart(Bar(c.style), c.x, c.y), c.part) << c.style << " " << c.x << "," << c.y;
    }
    // 12 pixels from the high (144 squared pixels) is too far for it.
    EXPECT_EQ(ChoosePriceEditPart(Bar(1), 112, 30), kEditPartBar);
}

TEST(PriceEditHit, AFlatBarOffersNoLowBesideItsHigh)
{
    PriceEditBar flat = Bar(0);
    flat.yHigh = flat.yLow = flat.yOpen = flat.yClose = 70;
    EXPECT_EQ(ChoosePriceEditPart(flat, 100, 72), kEditPartHigh);
}

DayRecord Day(float open, float high, float low, float close, float volume = 1000)
{
    DayRecord day{};
    day.open = open;
    day.high = high;
    day.low = low;
    day.close = close;
    day.volume = volume;
    day.date = 1;
    return day;
}

void ExpectPrices(const DayRecord& day, float open, float high, float low, float close, const char* what)
{
    EXPECT_FLOAT_EQ(day.open, open) << what;
    EXPECT_FLOAT_EQ(day.high, high) << what;
    EXPECT_FLOAT_EQ(day.low, low) << what;
    EXPECT_FLOAT_EQ(day.close, close) << what;
}

TEST(PriceEditHit, DraggingAPartKeepsTheBarWhole)
{
    const DayRecord held = Day(100, 110, 90, 105);
    const struct {
        uint32_t part;
        double value;
        float open, high, low, close;
        const char* what;
    } cases[] = {
        {kEditPartOpen, 95, 95, 110, 90, 105, "open inside the bar"},
        {kEditPartOpen, 120, 120, 120, 90, 105, "open above the high takes the high"},
        {kEditPartClose, 80, 100, 110, 80, 80, "close below the low takes the low"},
        {kEditPartHigh, 102, 100, 102, 90, 102, "high below the close takes the close"},
        {kEditPartLow, 101, 101, 110, 101, 105, "low above the open takes the open"},
        {kEditPartBar, 60, 90, 100, 80, 95, "the whole bar moves by the change (70 held, 60 now)"},
        {kEditPartBar, -5, 30, 40, 20, 35, "a value below 0 counts as 0"},
        {kEditPartHigh, 5e6, 100, 1e6f, 90, 105, "prices stop at 1e6"},
    };
    for (const auto& c : cases) {
        DayRecord day = held;
        ApplyPriceEditDrag(day, held, 70, c.part, c.value);
        ExpectPrices(day, c.open, c.high, c.low, c.close, c.what);
        EXPECT_FLOAT_EQ(day.volume, 1000) << c.what;
    }
}

TEST(PriceEditHit, VolumesStopAt6e9AndACloseOnlyDayTakesTheValueEverywhere)
{
    DayRecord day = Day(100, 110, 90, 105);
    ApplyPriceEditDrag(day, day, 0, kEditPartVolume, 1e10);
    EXPECT_FLOAT_EQ(day.volume, 6e9f);
    ApplyPriceEditDrag(day, day, 0, kEditPartVolume, -3);
    EXPECT_FLOAT_EQ(day.volume, 0);

    const DayRecord closeOnly = Day(0, 0, 0, 50);
    DayRecord edited = closeOnly;
    ApplyPriceEditDrag(edited, closeOnly, 50, kEditPartBar, 55);
    ExpectPrices(edited, 55, 55, 55, 55, "close only");
}

} // namespace
} // namespace qv
