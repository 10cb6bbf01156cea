// Tests of amounts, money, significant digits, magnitudes, clock times and the number parser.
#include "core/FormatNumber.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace qv;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Sets the bracket option for the life of the object.
struct Brackets {
    explicit Brackets(bool on) : was(CurrentFormatOptions().negativeMoneyInBrackets)
    {
        CurrentFormatOptions().negativeMoneyInBrackets = on;
    }
    ~Brackets() { CurrentFormatOptions().negativeMoneyInBrackets = was; }
    bool was;
};
} // namespace

TEST(FormatNumber, Amounts)
{
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {999.999, "1,000"},
        {-123456, "-123,456"},
        {1234567.5, "1,234,567.50"},
        {-1234, "-1,234"},
        {-123, "-123"},
        {1000, "1,000"},
        {0.25, "0.25"},
        {-0.001, "0"}, // rounds to zero: no sign
        {1e20, "100,000,000,000,000,000,000"},
        {kNaN, ""},
        {kInf, ""},
        {-kInf, ""},
    };
    for (auto [value, text] : cases)
        EXPECT_EQ(FormatAmount(value), text) << value;
}

TEST(FormatNumber, Money)
{
    struct Case {
        double value;
        bool decimals, four, brackets;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, true, false, false, "\xA3" "1,234.50"},
        {-1234.5, true, false, false, "-\xA3" "1,234.50"},
        {-1234.5, true, false, true, "(\xA3" "1,234.50)"},
        {-5, false, false, true, "(\xA3" "5)"},
        {0.125, true, true, false, "\xA3" "0.1250"},
        {0.12, true, true, false, "\xA3" "0.12"},
        {1234567.125, true, true, false, "\xA3" "1,234,567.1250"},
        {1234567, false, false, false, "\xA3" "1,234,567"},
        {123, false, false, false, "\xA3" "123"},
        {0, true, false, false, "\xA3" "0.00"},
        {-0.001, true, false, true, "\xA3" "0.00"},
        {1e18, false, false, false, "\xA3" "1,000,000,000,000,000,000"},
        {kNaN, true, false, false, ""},
        {-kInf, false, false, false, ""},
    };
    for (const Case& c : cases) {
        Brackets b(c.brackets);
        EXPECT_EQ(FormatMoney(c.value, c.decimals, c.four), c.text) << c.value;
    }
}

TEST(FormatNumber, Magnitudes)
{
    const std::pair<double, int> cases[] = {{0.5, 0},  {999, 0},    {1000, 3},   {999999, 3},
                                            {1e6, 6},  {2.5e9, 9},  {1e12, 12},  {5e15, 15},
                                            {1e20, 15}, {-5, 0},     {kNaN, 0}};
    for (auto [value, exponent] : cases) {
        int e = -1;
        EXPECT_EQ(FindMagnitude(value, e), std::pow(10.0, exponent)) << value;
        EXPECT_EQ(e, exponent) << value;
    }
    EXPECT_EQ(GetMagnitudeWord(3), "thousands");
    EXPECT_EQ(GetMagnitudeWord(6), "millions");
    EXPECT_EQ(GetMagnitudeWord(9), "billions");
    EXPECT_EQ(GetMagnitudeWord(12), "trillions");
    EXPECT_EQ(GetMagnitudeWord(0), "");
    EXPECT_EQ(GetMagnitudeWord(15), "");
}

TEST(FormatNumber, SignificantDigits)
{
    struct Case {
        double value;
        int digits;
        double unit;
        int reserve;
        const char* text;
    };
    const Case cases[] = {
        {1234.5678, 0, 1, 0, "1,234.57"},
        {12.345, 3, 1, 0, "12.3"},
        {1234.5678, 3, 1, 0, "1,230"},
        {0.012345, 3, 1, 0, "0.01"},
        {5.55, 2, 1, 0, "5.6"},
        {999.7, 3, 1, 0, "1,000"},
        {2500000, 3, 1000, 0, "2,500,000"},
        {123.456, 3, 1, 2, "1.23"},
        {0.0001, 3, 1, 0, "0"},
        {-1234.567, 3, 1, 0, "-1,234.56"},
        {1e20, 3, 1, 0, "*****"},
        {1e14, 3, 1, 2, "*****"},
        {1e12, 3, 1, 2, "10,000,000,000"},
        {5, 3, 0, 0, "*****"}, // a zero unit makes every value too wide
        {1e20, 30, 1, 0, "******************"},
        {kInf, 4, 1, 0, "******"},
        {kNaN, 4, 1, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatSignificantDigits(c.value, c.digits, c.unit, c.reserve), c.text)
            << c.value << " " << c.digits << " " << c.reserve;
}

TEST(FormatNumber, ClockTimes)
{
    const std::tuple<uint32_t, bool, const char*> cases[] = {
        {0, true, ""},
        {0, false, ""},
        {30, true, " 0:00:30"},
        {9 * 3600 + 5 * 60 + 30, true, " 9:05:30"},
        {23 * 3600 + 59 * 60 + 59, true, "23:59:59"},
        {30 * 60, false, "12:30:00 AM"}, // half past midnight
        {11 * 3600 + 59 * 60 + 59, false, "11:59:59 AM"},
        {12 * 3600, false, "12:00:00 PM"},
        {13 * 3600 + 5 * 60 + 7, false, " 1:05:07 PM"},
        {23 * 3600, false, "11:00:00 PM"},
    };
    for (auto [seconds, h24, text] : cases)
        EXPECT_EQ(FormatClockTime(seconds, h24), text) << seconds << " " << h24;
}

TEST(FormatNumber, ParsingDecimals)
{
    const std::tuple<const char*, double, bool> cases[] = {
        {"", 0, true},        {"  12.5  ", 12.5, true}, {"-3", -3, true},   {"- 3", -3, true},
        {"+.5", 0.5, true},   {".", 0, true},           {"0.125", 0.125, true},
        {"1,000", 1, false},  {"12a", 12, false},       {"1.2.3", 1.2, false}, {"abc", 0, false},
        {"1 2", 1, false},    {"--1", 0, false},
    };
    for (auto [text, value, ok] : cases) {
        double out = -99;
        EXPECT_EQ(ParseDecimal(out, text), ok) << text;
        EXPECT_DOUBLE_EQ(out, value) << text;
    }
}
