// Tests of list-cell values and prices.
#include "core/FormatValue.h"

#include "core/FormatNumber.h"
#include "core/RecordAccess.h"

#include <gtest/gtest.h>
#include <limits>

using namespace qv;

namespace {
struct ValueCase {
    float value;
    uint8_t style;
    uint8_t autoDecimals;
    uint32_t digitLimit;
    uint8_t zeroMode;
    uint8_t noSeparators;
    const char* text;
    char suffix;
};

ValueTextRequest Request(float value, uint8_t style)
{
    ValueTextRequest r;
    r.value = value;
    r.style = style;
    return r;
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
} // namespace

TEST(FormatValue, ValueTexts)
{
    const ValueCase cases[] = {
        // Scaling, glyphs, signs and separators.
        {2500000, kStyleScaleSuffix | 2, 0, 0, 0, 0, "2.50", 'm'},
        {2500, kStyleScaleSuffix | 1, 0, 0, 0, 0, "2.5", 'k'},
        {999, kStyleScaleSuffix, 0, 0, 0, 0, "999", 0},
        // Rounding at a magnitude step stays with the smaller suffix.
        {999.96f, kStyleScaleSuffix | 1, 0, 0, 0, 0, "1,000.0", 0},
        {999999, kStyleScaleSuffix | 1, 0, 0, 0, 0, "1,000.0", 'k'},
        {1000000, kStyleScaleSuffix | 1, 0, 0, 0, 0, "1.0", 'm'},
        {4.5e12f, kStyleScaleSuffix, 0, 0, 0, 0, "4,500", 'b'},
        {12.5, kStyleFractionGlyph, 0, 0, 0, 0, "12\xBD", 0},
        {12.25, kStyleFractionGlyph, 0, 0, 0, 0, "12\xBC", 0},
        {12.75, kStyleFractionGlyph, 0, 0, 0, 0, "12\xBE", 0},
        {12.9f, kStyleFractionGlyph, 0, 0, 0, 0, "13", 0},
        {12.1f, kStyleFractionGlyph, 0, 0, 0, 0, "12", 0},
        {-12.5, kStyleFractionGlyph, 0, 0, 0, 0, "-12\xBD", 0},
        {123, kStylePlusSign, 0, 0, 0, 0, "+123", 0},
        {1234, kStylePlusSign, 0, 0, 0, 0, "+1,234", 0},
        {-1234, kStylePlusSign, 0, 0, 0, 0, "-1,234", 0},
        {-1234.5, 1, 0, 0, 0, 0, "-1,234.5", 0},
        {1234567, 0, 0, 0, 0, 1, "1234567", 0},
        {0.5f, 2, 0, 0, 0, 0, "0.50", 0},
        // Automatic decimals.
        {3.0f, 0, 1, 0, 0, 0, "3", 0},
        {12.5f, 0, 1, 0, 0, 0, "12.5", 0},
        {0.1234f, 0, 1, 0, 0, 0, "0.1234", 0},
        {1234.5f, 0, 1, 0, 0, 0, "1,234.5", 0},
        {2.99999f, 3, 1, 0, 0, 0, "3", 0},
        {100.0f, 0, 1, 0, 0, 0, "100", 0},
        {123456.5f, 0, 1, 0, 0, 0, "123,456", 0}, // printf rounds half to even
        // Significant-digit limits, with rounding that carries into a new digit.
        {1234.567f, 2, 0, 3, 0, 0, "1,230", 0},
        {1235.567f, 2, 0, 3, 0, 0, "1,240", 0},
        {99.6f, 1, 0, 2, 0, 0, "100", 0},
        {9.96f, 2, 0, 2, 0, 0, "10.0", 0},
        {0.012345f, 5, 0, 2, 0, 0, "0.012", 0},
        {999999, 0, 0, 1, 0, 0, "1,000,000", 0},
        {0.0001f, 2, 0, 2, 0, 0, "0", 0},
        // Zeros.
        {0, 2, 0, 0, 0, 0, "", 0},
        {0, 2, 0, 0, 1, 0, "0", 0},
        {0, 2, 0, 0, 2, 0, "-", 0},
        {0, 2, 0, 0, 3, 0, "0", 0},
        {1e-30f, 2, 0, 0, 0, 0, "0", 0},
        {-1e-30f, 2, 0, 0, 0, 0, "0", 0},
        // Very large values and values that cannot be shown.
        {1e16f, 0, 0, 0, 0, 0, "10,000,000,272,564,224", 0},
        {1e18f, 0, 0, 0, 0, 0, "", 0},
        {3.0e38f, 4, 0, 0, 0, 0, "", 0},
        {3.0e38f, kStyleScaleSuffix | 4, 0, 0, 0, 0, "", 0},
        {-3.0e38f, 0, 0, 0, 0, 0, "", 0},
        {kNoValue, 2, 0, 0, 1, 0, "", 0},
        {kNaN, 2, 0, 0, 1, 0, "", 0},
        {kInf, 2, 0, 0, 1, 0, "", 0},
        {-kInf, 2, 0, 0, 1, 0, "", 0},
    };
    for (const ValueCase& c : cases) {
        ValueTextRequest r = Request(c.value, c.style);
        r.autoDecimals = c.autoDecimals;
        r.digitLimit = c.digitLimit;
        r.zeroMode = c.zeroMode;
        r.noSeparators = c.noSeparators;
        r.out = "stale";
        int length = FormatValueText(r);
        EXPECT_EQ(r.out, c.text) << c.value << " style " << int(c.style);
        EXPECT_EQ(length, int(r.out.size())) << c.value;
        EXPECT_EQ(r.suffix, c.suffix) << c.value;
    }
}

TEST(FormatValue, CurrencySymbols)
{
    auto text = [](CurrencySymbols s) {
        std::string t;
        for (char c : s.major)
            if (c)
                t += c;
        return t + "|" + (s.minor ? std::string(1, s.minor) : "");
    };
    EXPECT_EQ(text(GetCurrencyUnitSymbols(0)), "\xA3|p");
    EXPECT_EQ(text(GetCurrencyUnitSymbols(1)), "I\xA3|p");
    EXPECT_EQ(text(GetCurrencyUnitSymbols(2)), "|");
    EXPECT_EQ(text(GetCurrencyUnitSymbols(3)), "$|c");
    EXPECT_EQ(text(GetCurrencyUnitSymbols(4)), "FF|");
    EXPECT_EQ(text(GetCurrencyUnitSymbols(5)), "DM|");
    EXPECT_EQ(text(GetCurrencyUnitSymbols(6)), "\x80|c");
    EXPECT_EQ(text(GetCurrencyUnitSymbols(7)), "|");
    EXPECT_EQ(text(GetCurrencyUnitSymbols(-1)), "|");
    CurrentFormatOptions().plainEuroSign = true;
    EXPECT_EQ(text(GetCurrencyUnitSymbols(6)), "E|c");
    CurrentFormatOptions().plainEuroSign = false;
}

TEST(FormatValue, TheAlarmDialogsCurrentPriceTakesTheSharesOwnMinorUnit)
{
    struct Case {
        uint8_t currency;
        double price;
        const char* text;
    } cases[] = {
        {0, 434, "Current price: 434 p"},
        {3, 12.25, "Current price: 12.25 c"},
        {2, 5012.5, "Current price: 5012.5"}, // no currency: no unit
        {4, 1.5, "Current price: 1.5"},       // francs have no minor unit
    };
    for (const Case& c : cases) {
        uint8_t record[32] = {};
        StoreU16(record + RecordLayout::Id, 0x4001);
        record[RecordLayout::TypeByte] = c.currency;
        EXPECT_EQ(CurrentPriceText(RecordCursor{record, 0}, c.price), c.text);
    }
}

TEST(FormatValue, Prices)
{
    struct Case {
        float pence;
        uint8_t style;
        uint8_t zeroMode;
        int currency, mode;
        bool percent, unscaled;
        const char* text;
    };
    const Case cases[] = {
        {5.25f, 0, 0, 0, 0, false, false, "5.25p"},
        {50, 0, 0, 0, 0, false, false, "50p"},
        {50.5f, kStyleFractionGlyph, 0, 0, 0, false, false, "50\xBDp"},
        {50.5f, kStyleFractionGlyph | 1, 0, 0, 2, false, false, "50.5p"}, // mode 2 shows no glyph
        {99.4f, 1, 0, 0, 0, false, false, "99.4p"},
        {150, 0, 0, 0, 0, false, false, "\xA3" "1.50"},
        {123456, 0, 0, 0, 0, false, false, "\xA3" "1,234.56"},
        {150, 0, 0, 0, 2, false, false, "150.0p"},
        {-150, 0, 0, 0, 0, false, false, "-\xA3" "1.50"},
        {-5, 0, 0, 0, 0, false, false, "-5.00"},
        {150, kStylePlusSign, 0, 0, 0, false, false, "+\xA3" "1.50"},
        {150, kStylePlusSign, 0, 0, 2, false, false, "+150.0"},
        {5, kStylePlusSign, 0, 0, 0, false, false, "+5.00"},
        {250000000, kStyleScaleSuffix, 0, 0, 0, false, false, "\xA3" "2.50m"},
        {150, 0, 0, 1, 0, false, false, "I\xA3" "1.50"},
        {150, 0, 0, 3, 0, false, false, "$1.50"},
        {50, 0, 0, 3, 0, false, false, "50c"},
        {150, 0, 0, 6, 0, false, false, "\x80" "1.50"},
        {150, 0, 0, 4, 0, false, false, "FF1.50"},
        {50, 0, 0, 2, 0, false, false, "50"},
        {12.5f, 0, 0, 2, 0, true, false, "0.1250"},
        {12.5f, 0, 0, 2, 0, true, true, "12.500000"},
        // Zeros: mode 0 nothing, 2 a dash, 1 nothing but a lone "+" with the plus style.
        {0, 0, 0, 0, 0, false, false, ""},
        {0, 0, 2, 0, 0, false, false, "-"},
        {0, 0, 1, 0, 0, false, false, ""},
        {0, kStylePlusSign, 1, 0, 0, false, false, "+"},
        {kNoValue, 0, 1, 0, 0, false, false, ""},
        {std::numeric_limits<float>::quiet_NaN(), 0, 1, 0, 0, false, false, ""},
        {-3.0e38f, 0, 0, 0, 0, false, false, "-\xA3"}, // too wide to show: the number is left out
        {-5e18f, 0, 0, 0, 2, false, false, "-"},
    };
    for (const Case& c : cases) {
        ValueTextRequest r = Request(c.pence, c.style);
        r.zeroMode = c.zeroMode;
        int length = FormatPriceText(r, GetCurrencyUnitSymbols(c.currency), c.mode, c.percent, c.unscaled);
        EXPECT_EQ(r.out, c.text) << c.pence << " style " << int(c.style) << " mode " << c.mode;
        EXPECT_EQ(length, int(r.out.size())) << c.pence;
    }
}
