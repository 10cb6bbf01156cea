// Tests of the bar colouring rules and the small chart routines: number formats, rounding, scaling,
// box tables, axis steps, pen metrics, average lag, line colours, line clipping and stop labels.
#include "chartmodel/BarColour.h"
#include "chartmodel/BoxTable.h"
#include "chartmodel/ChartNumbers.h"
#include "chartmodel/ChartRoutines.h"
#include "chartmodel/DataArray.h"
#include "chartmodel/GraphModel.h"
#include "core/MovingAverage.h"
#include "platform/ByteOrder.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace qv;

namespace {

std::array<uint8_t, kDailyRecordSize> Daily(float open, float high, float low, float close, float volume,
                                            uint8_t marks = 1)
{
    std::array<uint8_t, kDailyRecordSize> r{};
    const float fields[5] = {open, high, low, close, volume};
    for (int i = 0; i < 5; ++i)
        StoreF32(r.data() + 4 * i, fields[i]);
    r[kDailyFlags] = marks;
    return r;
}

std::array<uint8_t, 24> Intraday(float close, float volume)
{
    std::array<uint8_t, 24> r{};
    StoreF32(r.data() + 16, close);
    StoreF32(r.data() + 20, volume);
    return r;
}

} // namespace

TEST(BarColour, ModeParams)
{
    const int expected[10][2] = {{0, 0}, {0, 2}, {0, 2}, {0, 2}, {0, 1}, {3, 4}, {0, 4}, {0, 1}, {0, 0}, {0, 0}};
    for (uint32_t mode = 0; mode < 10; ++mode) {
        int a = -1, b = -1;
        GetColourModeParams(mode, a, b);
        EXPECT_EQ(a, expected[mode][0]) << mode;
        EXPECT_EQ(b, expected[mode][1]) << mode;
    }
}

TEST(BarColour, DailyAndBarMembers)
{
    auto prev = Daily(10, 12, 8, 10, 1000);
    auto up = Daily(10, 13, 9, 11, 2000);
    auto down = Daily(12, 11, 7, 9, 500);
    auto same = Daily(10, 12, 8, 10, 1000);
    auto invalid = Daily(10, 13, 9, 11, 2000, 0);
    struct Case {
        const uint8_t* record;
        const uint8_t* previous;
        uint32_t mode;
        float signal;
        int daily;
    };
    const Case cases[] = {
        {up.data(), prev.data(), 1, 0, 0},
        {down.data(), prev.data(), 1, 0, 1},
        {same.data(), prev.data(), 1, 0, 2},
        {up.data(), nullptr, 1, 0, 0},
        {down.data(), nullptr, 1, 0, 0},
        {down.data(), prev.data(), 7, 0, 1},
        {up.data(), prev.data(), 7, 0, 0},
        {up.data(), nullptr, 2, 0, 0},
        {down.data(), nullptr, 2, 0, 1},
        {same.data(), nullptr, 2, 0, 2},
        {up.data(), prev.data(), 3, 0, 0},
        {down.data(), prev.data(), 3, 0, 1},
        {up.data(), nullptr, 4, 3000, 1},
        {up.data(), nullptr, 4, 1000, 0},
        {up.data(), prev.data(), 6, 0, 0},
        {down.data(), prev.data(), 6, 0, 1},
        {up.data(), nullptr, 6, 0, 0},
        {up.data(), prev.data(), 8, 0, 0},
        // A day without the valid bit colours only by modes 1 and 7.
        {invalid.data(), prev.data(), 2, 0, 0},
        {invalid.data(), prev.data(), 7, 0, 0},
        {down.data(), invalid.data(), 3, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetDailyBarColour(c.record, c.previous, c.mode, 0, c.signal, 0), c.daily) << "mode " << c.mode;
    // The bar member reads the same first twenty bytes and knows no valid bit.
    EXPECT_EQ(GetBarColour(invalid.data(), nullptr, 2, 0, 0, 0), 0);
    EXPECT_EQ(GetBarColour(down.data(), nullptr, 2, 0, 0, 0), 1);
    EXPECT_EQ(GetBarColour(down.data(), prev.data(), 3, 0, 0, 0), 1);
    EXPECT_EQ(GetBarColour(down.data(), prev.data(), 9, 0, 0, 0), 0);

    const uint8_t marks[] = {1 | 4, 1 | 8, 1 | 4 | 8, 1};
    const int eventIndex[] = {0, 1, 0, 0};
    for (int i = 0; i < 4; ++i) {
        auto day = Daily(1, 1, 1, 1, 1, marks[i]);
        EXPECT_EQ(GetDailyBarColour(day.data(), nullptr, 9, 0, 0, 0), eventIndex[i]);
    }
}

TEST(BarColour, GraduatedByVolume)
{
    struct Case {
        float volume, low, high;
        int index;
    };
    const Case cases[] = {
        {150, 100, 200, -33}, {100, 100, 200, -1}, {200, 100, 200, -64}, {150, 150, 150, -64},
        {50, 100, 200, -1},   {900, 100, 200, -64}, {5e9f, 0, 1, -64},   {-5e9f, 0, 1, -1},
    };
    for (const Case& c : cases) {
        auto day = Daily(1, 1, 1, 1, c.volume);
        EXPECT_EQ(GetDailyBarColour(day.data(), nullptr, 5, 0, c.low, c.high), c.index) << c.volume;
    }
    EXPECT_EQ(GraduatedIndex(std::nan(""), 0, 1), -1);
}

TEST(BarColour, IntradayValueAndFourthFieldMembers)
{
    auto prev = Intraday(10, 100);
    auto lower = Intraday(9, 200);
    auto higher = Intraday(11, 50);
    for (uint32_t mode : {1u, 2u, 7u}) {
        EXPECT_EQ(GetIntradayBarColour(lower.data(), prev.data(), mode, 0, 0), 1) << mode;
        EXPECT_EQ(GetIntradayBarColour(higher.data(), prev.data(), mode, 0, 0), 0) << mode;
        EXPECT_EQ(GetIntradayBarColour(lower.data(), nullptr, mode, 0, 0), 0) << mode;
    }
    EXPECT_EQ(GetIntradayBarColour(lower.data(), prev.data(), 3, 0, 0), 0);
    EXPECT_EQ(GetIntradayBarColour(higher.data(), prev.data(), 3, 0, 0), 1);
    EXPECT_EQ(GetIntradayBarColour(higher.data(), prev.data(), 4, 60, 0), 1);
    EXPECT_EQ(GetIntradayBarColour(higher.data(), prev.data(), 5, 0, 100), -33);

    const float before = 5;
    EXPECT_EQ(GetValueColour(6, &before, 7, 0), 0);
    EXPECT_EQ(GetValueColour(5, &before, 7, 0), 2);
    EXPECT_EQ(GetValueColour(4, &before, 7, 0), 1);
    EXPECT_EQ(GetValueColour(4, nullptr, 7, 0), 0);
    EXPECT_EQ(GetValueColour(4, &before, 8, 4.5f), 1);
    EXPECT_EQ(GetValueColour(5, &before, 8, 4.5f), 0);
    EXPECT_EQ(GetValueColour(4, &before, 1, 0), 0);

    std::array<uint8_t, 16> r1{}, r2{};
    StoreF32(r1.data() + 12, 3);
    StoreF32(r2.data() + 12, 2);
    EXPECT_EQ(GetFourthFieldColour(r1.data(), r2.data(), 3, 0, 0), 0);
    EXPECT_EQ(GetFourthFieldColour(r2.data(), r1.data(), 3, 0, 0), 1);
    EXPECT_EQ(GetFourthFieldColour(r2.data(), r2.data(), 3, 0, 0), 2);
    EXPECT_EQ(GetFourthFieldColour(r2.data(), r1.data(), 7, 0, 0), 1);
    EXPECT_EQ(GetFourthFieldColour(r1.data(), r2.data(), 7, 0, 0), 0);
    EXPECT_EQ(GetFourthFieldColour(r1.data(), nullptr, 5, 0, 6), -33);
    EXPECT_EQ(GetFourthFieldColour(r1.data(), r2.data(), 1, 0, 0), 0);
}

TEST(BarColour, ClassifyBar)
{
    struct Case {
        float high, low, close, previousHigh, previousLow;
        uint32_t flags;
        int cls;
    };
    const Case cases[] = {
        {10, 5, 7, 11, 4, 0, 3},  // inside
        {10, 3, 7, 11, 4, 0, 1},  // lower high, lower low: down
        {12, 5, 7, 11, 4, 0, 0},  // higher high, higher low: up
        {11, 5, 7, 11, 4, 0, 0},  // equal high, higher low: up
        {12, 3, 7, 11, 4, 0, 4},  // outside
        {10, 5, 8, 9, 6, 2, 0},   // outside, close above the middle 7.5
        {10, 5, 7.5f, 9, 6, 2, 4},
        {10, 5, 7, 9, 6, 2, 1},
        {12, 4, 7, 11, 4, 0, 2},  // equal low
        {12, 4, 7, 11, 4, 1, 0},
        {11, 4, 7, 11, 4, 1, 2},
        {11, 3, 7, 11, 4, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyBar(c.high, c.low, c.close, c.previousHigh, c.previousLow, c.flags), c.cls)
            << c.high << " " << c.low << " flags " << c.flags;
}

TEST(ChartRoutines, ClampToPercentBand)
{
    struct Case {
        float value;
        int side;
        bool both;
        float result;
    };
    const Case cases[] = {
        {85, 0, true, 90}, {115, 0, true, 110}, {95, 0, true, 95}, {115, 0, false, 115},
        {-5, 0, false, 90}, {115, 1, true, 110}, {85, 1, true, 90}, {85, 1, false, 85},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(ClampToPercentBand(100, c.value, 10, c.side, c.both), c.result) << c.value << " " << c.side;
    EXPECT_FLOAT_EQ(ClampToPercentBand(100, 50, 150, 0, true), 50); // the lower bound stops at 0
}

TEST(ChartNumbers, BuildNumberFormat)
{
    struct Case {
        float value;
        int decimals;
        bool plus, zero;
        int minimum;
        const char* format;
        double shown;
        const char* text;
    };
    const Case cases[] = {
        {3.14159f, 2, false, false, 0, "%.2f", 3.14, "3.14"},
        {150, 2, false, false, 0, "%.0f", 150, "150"},
        {-0.004f, 2, false, false, 0, "%.0f", 0, "0"},
        {2.95f, 0, false, false, 0, "%d", 3, "3"},
        {-2.95f, 0, false, false, 0, "%d", -3, "-3"},
        {2.5f, 2, false, false, 0, "%.1f", 2.5, "2.5"},
        {3.0f, 2, false, false, 0, "%.0f", 3, "3"},
        {2.5f, 2, false, false, 2, "%.2f", 2.5, "2.50"},
        {2.5f, 2, true, false, 0, "%+.1f", 2.5, "+2.5"},
        {-2.5f, 2, true, false, 0, "%+.1f", -2.5, "-2.5"},
        {2.5f, 2, false, true, 0, "%0.1f", 2.5, "2.5"},
        // Values beyond 32 bits keep their digits.
        {5e9f, 0, false, false, 0, "%d", 5e9, "5000000000"},
        {5e9f, 2, false, false, 0, "%.0f", 5e9, "5000000000"},
        {12345.678f, 3, false, false, 0, "%.0f", 12345.678, "12346"},
        // 25000.12345 at five decimals is 2500012305 hundred-thousandths: more than 32 bits hold.
        {25000.12345f, 5, false, false, 0, "%.2f", 25000.12305, "25000.12"},
        {0.123456f, 6, false, false, 0, "%.6f", 0.123456, "0.123456"},
        {1e30f, 0, false, false, 0, "%d", 1e30, "9223372036854775807"},
    };
    for (const Case& c : cases) {
        std::string format;
        double shown = BuildNumberFormat(format, c.value, c.decimals, c.plus, c.zero, c.minimum);
        EXPECT_EQ(format, c.format) << c.value;
        EXPECT_NEAR(shown, c.shown, std::fabs(c.shown) * 1e-6 + 1e-6) << c.value;
        std::string text;
        FormatChartValueText(text, c.value, c.decimals, c.plus, c.zero, c.minimum);
        EXPECT_EQ(text, c.text) << c.value;
    }
}

TEST(ChartNumbers, FormatScaledAndSuffixes)
{
    struct Case {
        float value;
        bool useDivisor, fixed;
        int32_t divisor;
        const char* text;
    };
    const Case cases[] = {
        {5000, false, false, 0, "5k"},       {3999, false, false, 0, "3999"},
        {4000000, false, false, 0, "4m"},    {2500000000.0f, false, false, 0, "2500m"},
        {-5000, false, false, 0, "-5k"},     {5e12f, false, false, 0, "5000b"},
        {5000, false, true, 0, "5000"},      {5000, true, true, 100, "50"},
        {5000, true, true, 0, "5000"},
    };
    for (const Case& c : cases) {
        std::string text;
        FormatScaled(text, c.value, c.useDivisor, c.fixed, c.divisor, 0, 0, false);
        EXPECT_EQ(text, c.text) << c.value;
    }

    const char* suffix = "x";
    EXPECT_DOUBLE_EQ(ScaleWithSuffix(2500000, suffix), 2.5);
    EXPECT_STREQ(suffix, "m");
    suffix = "x";
    EXPECT_DOUBLE_EQ(ScaleWithSuffix(999, suffix), 999);
    EXPECT_STREQ(suffix, "x");
    EXPECT_DOUBLE_EQ(ScaleWithSuffix(-2500, suffix), -2.5);
    EXPECT_STREQ(suffix, "k");
    EXPECT_NEAR(ScaleWithSuffix(3e9, suffix), 3, 1e-12);
    EXPECT_STREQ(suffix, "b");

    struct Scale {
        double value;
        double factor;
        int power;
    };
    const Scale scales[] = {{3999, 1, 0}, {4000, 1000, 1}, {-4e6, 1e6, 2}, {4e9, 1e9, 3}, {4e15, 1e9, 3}};
    for (const Scale& s : scales) {
        double factor = 0;
        int power = -1;
        GetThousandsScale(s.value, factor, power);
        EXPECT_EQ(factor, s.factor) << s.value;
        EXPECT_EQ(power, s.power) << s.value;
    }
}

TEST(ChartNumbers, Rounding)
{
    EXPECT_EQ(KeepSignificantDigits(double(123456789.0f)), 123456700);
    EXPECT_EQ(KeepSignificantDigits(9999999), 9999999);
    EXPECT_EQ(KeepSignificantDigits(9.7), 9);
    EXPECT_EQ(KeepSignificantDigits(-123456789), -123456789);
    EXPECT_EQ(KeepSignificantDigits(98765432101.0), 98765430000);

    struct Case {
        double value;
        int decimals;
        double result;
        int after;
    };
    const Case cases[] = {
        {2.5, 2, 2.5, 1}, {3.14159, 2, 3.14, 2}, {3.0, 3, 3.0, 0}, {0.0, 2, 0.0, 0},
        {1234.56789, 4, 1234.5679, 3}, // the fourth decimal lies beyond the seventh digit
        {5e9, 2, 5e9, 0},
    };
    for (const Case& c : cases) {
        int d = c.decimals;
        EXPECT_NEAR(RoundToDecimals(c.value, d), c.result, 1e-9 * std::max(1.0, c.result)) << c.value;
        EXPECT_EQ(d, c.after) << c.value;
    }
    EXPECT_NEAR(RoundedDifference(10.25f, 10.0f, 2), 0.25, 1e-12);
    EXPECT_NEAR(RoundedDifference(3.0f, 5.0f, 0), -2, 1e-12);
    EXPECT_NEAR(RoundedDifference(5e9f, 1e9f, 2), 4e9, 1);
}

TEST(ChartNumbers, NiceAxisStep)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double low, high;
        int n, decimals;
        double step;
    };
    const Case cases[] = {
        {0, 100, 4, 0, 20},     {0, 1, 4, 1, 0.2},  {0, 0.001, 4, 2, 0.01}, {0, 1, 4, 0, 1},
        {5, 5, 4, 0, 0},        {10, 0, 4, 0, 0},   {0, 1000, 0, 0, 500},   {0, 70, 4, 0, 20},
        {0, 7000, 4, 0, 2000},  {0, inf, 4, 0, 0},  {-inf, 0, 4, 0, 0},     {std::nan(""), 1, 4, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(NiceAxisStep(c.low, c.high, c.n, c.decimals), c.step, c.step * 1e-9)
            << c.low << ".." << c.high;
}

TEST(ChartRoutines, PenDashMetrics)
{
    struct Case {
        uint32_t pen;
        float scale;
        PenMetrics metrics;
    };
    const Case cases[] = {
        {0x00000000, 1, {1, -1, 1}},   {0x10FF0000, 1, {2, -1, 2}},  {0x70000000, 1, {8, -4, 5}},
        {0x30000000, 2, {8, -4, 6}},   {0x80FF0000, 1, {1, -1, 1}},  {0xF0000000, 1, {1, -1, 1}},
        {0x20000000, 1.5f, {5, -3, 3}},
    };
    for (const Case& c : cases) {
        PenMetrics m = GetPenDashMetrics(c.pen, c.scale);
        EXPECT_EQ(m.width, c.metrics.width) << std::hex << c.pen;
        EXPECT_EQ(m.start, c.metrics.start) << std::hex << c.pen;
        EXPECT_EQ(m.end, c.metrics.end) << std::hex << c.pen;
    }
}

TEST(ChartRoutines, MeasureAverageLag)
{
    struct Case {
        int32_t period;
        int32_t lag;
    };
    for (const Case& c : {Case{10, 5}, Case{20, 10}, Case{3, 1}}) {
        auto average = CreateMovingAverage(kSimpleAverage, c.period, 2.0, 0);
        int32_t needed = 0, leadIn = 0;
        average->Prepare(needed, leadIn);
        EXPECT_EQ(MeasureAverageLag(*average, needed), c.lag) << c.period;
    }
    for (int32_t n : {1, 2}) {
        auto average = CreateMovingAverage(kSimpleAverage, n, 2.0, 0);
        EXPECT_EQ(MeasureAverageLag(*average, n), 0);
    }
}

TEST(ChartRoutines, PickLineColour)
{
    ResetLineColourCounter();
    EXPECT_EQ(PickLineColour(0xFFFFFF), 0x800000u);
    EXPECT_EQ(PickLineColour(0x000000), 0xFF7FFFu); // the second entry, inverted
    ResetLineColourCounter();
    EXPECT_EQ(PickLineColour(0x000000), 0x7FFFFFu);
    for (int i = 1; i < 24; ++i)
        PickLineColour(0xFFFFFF);
    EXPECT_EQ(PickLineColour(0xFFFFFF), 0x800000u);
    ResetLineColourCounter();
    EXPECT_EQ(PickLineColour(0x7F8080), 0x800000u); // 383: light
    ResetLineColourCounter();
    EXPECT_EQ(PickLineColour(0x7F7F80), 0x7FFFFFu); // 382: dark
    ResetLineColourCounter();
}

TEST(ChartRoutines, ClipLineToRect)
{
    struct Case {
        LineSegment in;
        int32_t left, top, right, bottom;
        bool hits;
        LineSegment out;
    };
    const Case cases[] = {
        {{10, 50, 20, 50}, 0, 0, 100, 100, true, {0, 50, 100, 50}},
        {{10, 10, 20, 20}, 0, 0, 100, 50, true, {0, 0, 50, 50}},
        {{10, 200, 20, 210}, 0, 0, 100, 50, false, {}},
        {{30, 10, 30, 20}, 0, 0, 100, 50, true, {30, 0, 30, 50}},
        {{30, 20, 30, 10}, 0, 50, 100, 0, true, {30, 50, 30, 0}},
        {{130, 10, 130, 20}, 0, 0, 100, 50, false, {}},
        {{10, 150, 20, 150}, 0, 0, 100, 100, false, {}},
        {{0, 0, 10, 5}, 0, 0, 100, 100, true, {0, 0, 100, 50}},
        {{10, 40, 20, 30}, 0, 0, 100, 50, true, {0, 50, 50, 0}},
        {{10, 10, 20, 20}, 5, 0, 5, 50, false, {}},
    };
    for (const Case& c : cases) {
        LineSegment out{};
        EXPECT_EQ(ClipLineToRect(c.in, c.left, c.top, c.right, c.bottom, out), c.hits) << c.in.x1 << "," << c.in.y1;
        if (!c.hits)
            continue;
        EXPECT_EQ(out.x1, c.out.x1);
        EXPECT_EQ(out.y1, c.out.y1);
        EXPECT_EQ(out.x2, c.out.x2);
        EXPECT_EQ(out.y2, c.out.y2);
    }
}

TEST(ChartRoutines, StopLabelAndScaleSettings)
{
    std::string text = "old";
    FormatStopLabel(text, nullptr, 5, "Global");
    EXPECT_EQ(text, "");
    uint8_t bytes[kStopRecordSize] = {};
    StopRecord stop;
    stop.flags = 0;
    stop.percent = 12.5f;
    stop.pen = 0x20FF0000;
    WriteStopRecord(stop, bytes);
    StopRecord read = ReadStopRecord(bytes);
    EXPECT_EQ(read.pen, 0x20FF0000u);
    FormatStopLabel(text, &read, 123.456f, "Global");
    EXPECT_EQ(text, "12.5% Global Stop-loss 123.456");
    read.flags = 1;
    read.percent = 10;
    FormatStopLabel(text, &read, 0, "Individual");
    EXPECT_EQ(text, "10% Individual Stop-gain ");

    ScaleSettings settings;
    settings.fixedMaximum = 9;
    InitScaleSettings(settings, true);
    EXPECT_EQ(settings.marginPercent, 5u);
    EXPECT_EQ(settings.fixedMaximum, 0);
    EXPECT_FALSE(ScaleSettingsChanged(settings));
    settings.flags = 2;
    EXPECT_TRUE(ScaleSettingsChanged(settings));
    InitScaleSettings(settings, false);
    EXPECT_EQ(settings.marginPercent, 25u);
    EXPECT_TRUE(ScaleSettingsChanged(settings));
    settings.marginPercent = 5;
    settings.word3 = 1;
    EXPECT_TRUE(ScaleSettingsChanged(settings));
}

TEST(BoxTable, BandsSizesAndBoxNumbers)
{
    const float lows[] = {0, 10};
    const float sizes[] = {1, 2};
    BoxTable banded{0, 2, 0, 0, lows, sizes};
    EXPECT_EQ(FindPriceBand(15, lows, 2), 1);
    EXPECT_EQ(FindPriceBand(5, lows, 2), 0);
    EXPECT_EQ(FindPriceBand(-5, lows, 2), 0);
    EXPECT_EQ(FindPriceBand(5, lows, 0), 0);
    EXPECT_FLOAT_EQ(GetBoxSize(15, banded), 2);
    EXPECT_EQ(PriceToBoxNumber(15, banded), 12);
    EXPECT_EQ(PriceToBoxNumber(5, banded), 5);

    const float onePercent[] = {1};
    BoxTable percent{1, 1, 0, 0, nullptr, onePercent};
    EXPECT_EQ(PriceToBoxNumber(100, percent), 462);
    EXPECT_FLOAT_EQ(GetBoxSize(200, percent), 2);
    percent.baseBox = 400;
    EXPECT_EQ(PriceToBoxNumber(100, percent), 62);

    // Nothing divides by zero: a price at or below 0, a percentage of 0, a band of size 0.
    EXPECT_EQ(PriceToBoxNumber(0, percent), 0);
    EXPECT_EQ(PriceToBoxNumber(-3, percent), 0);
    const float zeroPercent[] = {0};
    BoxTable flat{1, 1, 0, 0, nullptr, zeroPercent};
    EXPECT_EQ(PriceToBoxNumber(100, flat), 0);
    const float zeroSizes[] = {0, 0};
    BoxTable empty{0, 2, 0, 0, lows, zeroSizes};
    EXPECT_EQ(PriceToBoxNumber(15, empty), 0);
    BoxTable none{0, 0, 0, 0, lows, sizes};
    EXPECT_EQ(PriceToBoxNumber(15, none), 0);
}

TEST(BoxTable, PriceRangeOfARunOfBoxes)
{
    const float lows[] = {0, 10};
    const float sizes[] = {1, 2};
    BoxTable banded{0, 2, 0, 0, lows, sizes};
    ValueRange range{};
    range.flags = 7;
    GetBoxPriceRange(range, 0, 200, banded, 10, 0);
    EXPECT_FLOAT_EQ(range.minimum, 0);
    EXPECT_FLOAT_EQ(range.maximum, 30);
    EXPECT_EQ(range.yTop, 0);
    EXPECT_EQ(range.yBottom, 200);
    EXPECT_EQ(range.flags, 0);

    const float half[] = {0.5f};
    const float oneLow[] = {0};
    BoxTable single{0, 1, 0, 0, oneLow, half};
    GetBoxPriceRange(range, 0, 100, single, 10, 4);
    EXPECT_FLOAT_EQ(range.minimum, 2);
    EXPECT_FLOAT_EQ(range.maximum, 7);

    const float onePercent[] = {1};
    BoxTable percent{1, 1, 0, 0, nullptr, onePercent};
    GetBoxPriceRange(range, 0, 100, percent, 10, 462);
    EXPECT_EQ(range.flags & kRangeLogarithmic, kRangeLogarithmic);
    EXPECT_NEAR(range.minimum, std::exp(std::log(1.01) * 462), 1e-3);
    EXPECT_GT(range.maximum, range.minimum);

    // Less than a whole pixel per box, or a table that cannot grow: an empty range, no infinity.
    GetBoxPriceRange(range, 0, 200, banded, 0.5f, 0);
    EXPECT_TRUE(IsRangeEmpty(range));
    GetBoxPriceRange(range, 0, 100, single, 0, 4);
    EXPECT_TRUE(IsRangeEmpty(range));
    const float minus100[] = {-100};
    BoxTable dead{1, 1, 0, 0, nullptr, minus100};
    GetBoxPriceRange(range, 0, 100, dead, 10, 4);
    EXPECT_TRUE(IsRangeEmpty(range));
}
