// The cell number and money format: pence or pounds, symbols, fractions, decimals, significant
// figures, scaling, clamping, grouping, zero styles and export mode. Texts are Windows-1252.
#include "lists/CellNumber.h"

#include "core/FormatNumber.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;
using namespace qv::CellFormatBits;

namespace {

struct Case {
    const char* what;
    float value;
    bool money;
    uint8_t formatA, formatB;
    const char* expected;
    uint8_t code = 17;
    int unit = 0;
    bool exact = false;
};

std::string Format(float value, const CellNumberFormat& f)
{
    char out[64];
    size_t n = FormatCellNumber(out, sizeof out, value, f);
    EXPECT_EQ(n, std::string(out).size());
    return out;
}

class CellNumber : public ::testing::Test {
protected:
    void TearDown() override { CurrentCellSettings() = {}; }
};

TEST_F(CellNumber, MoneyAndNumbersAsTheListShowsThem)
{
    const Case cases[] = {
        {"pence in a pounds column", 12.34f, true, MoneyPounds, 2, "\xA3" "0.12"},
        {"99.5 pence and more are pounds", 123.4f, true, 0, 2, "\xA3" "1.23"},
        {"the threshold itself", 99.5f, true, 0, 2, "\xA3" "1.00"},
        {"below it pence, own decimals", 99.4f, true, 0, 0, "99p"},
        {"negative in pence", -1234.4f, true, MoneyPence, 0, "-1,234p"},
        {"plus sign", 1234.4f, true, MoneyPence, Plus, "+1,234p"},
        {"a fall under a penny keeps its decimals and sign", -0.2f, true, MoneyPence, 0, "-0.2p"},
        {"a rise under a penny with its plus", 0.25f, true, MoneyPence, Plus | Fractions, "+\xBCp"},
        {"a fall under a penny as a fraction", -0.5f, true, MoneyPence, Fractions, "-\xBDp"},
        {"minus before the symbol", -123.4f, true, 0, 2, "-\xA3" "1.23"},
        {"field 70 is always pounds", 50, true, 0, 2, "\xA3" "0.50", 70},
        {"dollars", 250, true, 0, 2, "$2.50", 17, 3},
        {"cents", 25, true, 0, 0, "25c", 17, 3},
        {"unit 2 has no symbols", 250, true, 0, 2, "250.00", 17, 2},
        {"scaling", 1234567, false, 0, Scale | 1, "1.2m"},
        {"scaling a negative", -2500000, false, 0, Scale | 2, "-2.50m"},
        {"scaling in pounds", 250000000, true, MoneyPounds, Scale | 1, "\xA3" "2.5m"},
        {"half a penny", 2.5f, true, MoneyPence, Fractions, "2\xBDp"},
        {"a quarter without its zero", 0.25f, true, MoneyPence, Fractions, "\xBCp"},
        {"three quarters", 10.8f, true, MoneyPence, Fractions, "10\xBEp"},
        {"a fraction of .875 or more rounds up", 10.9f, true, MoneyPence, Fractions, "11p"},
        {"a fraction under .125 rounds down", 10.1f, true, MoneyPence, Fractions, "10p"},
        {"a fraction of .875 or more in pounds", 16598.9f, true, 0, Fractions, "\xA3" "165.99"},
        {"an imported price is shown exactly", 165.98f, true, MoneyPence, Fractions, "165.98p", 17, 0, true},
        {"an imported change keeps its decimals", 0.59f, true, MoneyPence, Plus | Fractions, "+0.59p", 17, 0, true},
        {"an imported price in quarters", 100.25f, true, MoneyPence, Fractions, "100.25p", 17, 0, true},
        {"a negative keeps its fraction", -2.25f, true, MoneyPence, Fractions | 1, "-2\xBCp"},
        {"grouping", 1234567.25f, false, 0, 2, "1,234,567.25"},
        {"grouping with a plus", 1234, false, 0, Plus, "+1,234"},
        {"no value", kCellNoValue, false, 0, 2, ""},
        {"zero empty", 0, false, 0, 2, ""},
        {"zero shown", 0, false, 1, 2, "0.00"},
        {"zero dash", 0, false, 2, 2, "-"},
        {"zero money shown", 0, true, 1, 0, "0p"},
        {"clamped", 2e10f, false, 0, 0, "10,000,000,000"},
        {"clamped below", -2e10f, false, 0, 0, "-10,000,000,000"},
        {"significant figures", 123456, false, 0, Significant | 2, "120,000"},
        {"significant figures round up", 125600, false, 0, Significant | 3, "126,000"},
        {"a carry through nines", 9996, false, 0, Significant | 3, "10,000"},
        {"small significant figures", 0.012345f, false, 0, Significant | 3, "0.0123"},
        {"significant money keeps its decimals", 123456, true, MoneyPounds, Significant | 2, "\xA3" "1,234.56"},
        {"significant money on field 12", 123456, true, MoneyPounds, Significant | 2, "\xA3" "1,200", 12},
        {"automatic decimals", 0.1234f, false, AutoDecimals, 0, "0.1234"},
        {"automatic decimals for large values", 1234.5678f, false, AutoDecimals, 0, "1,234.568"},
        {"automatic decimals over a run of nines", 1.99999f, false, AutoDecimals, 0, "2"},
        {"automatic decimals leave no trailing zero", 1.35f, false, AutoDecimals, 0, "1.35"},
        {"automatic decimals of an index level", 5721.73f, false, AutoDecimals, 0, "5,721.73"},
        {"automatic decimals of a price near 100", 103.13f, false, AutoDecimals, 0, "103.13"},
        {"unit 2 with fractions chooses decimals", 0.1234f, true, MoneyPence, Fractions, "0.1234", 17, 2},
    };
    for (const Case& c : cases) {
        CellNumberFormat f{c.formatA, c.formatB, c.code, c.money, c.money ? c.unit : 2, true, c.exact};
        EXPECT_EQ(Format(c.value, f), c.expected) << c.what;
    }
}

TEST_F(CellNumber, EuroSignFollowsThePlainEuroOption)
{
    CellNumberFormat f{0, 2, 17, true, 6, true};
    CurrentFormatOptions().plainEuroSign = false;
    EXPECT_EQ(Format(250, f), "\x80" "2.50");
    CurrentFormatOptions().plainEuroSign = true;
    EXPECT_EQ(Format(250, f), "E2.50");
    CurrentFormatOptions().plainEuroSign = false;
}

TEST_F(CellNumber, ExportModeHasNoSymbolsFractionsOrSeparators)
{
    CurrentCellSettings().exportMode = true;
    const Case cases[] = {
        {"pounds with four decimals", 12345.6f, true, 0, Fractions, "123.4560"},
        {"the column's decimals replace the default", 12345.6f, true, 0, 2, "123.46"},
        {"no grouping", 1234567, false, 0, 0, "1234567"},
        {"no fraction glyph", 2.5f, true, MoneyPence, Fractions, "0.0250"},
    };
    for (const Case& c : cases) {
        CellNumberFormat f{c.formatA, c.formatB, c.code, c.money, 0, true};
        EXPECT_EQ(Format(c.value, f), c.expected) << c.what;
    }
    CurrentCellSettings().exportKeepsPence = true;
    CellNumberFormat money{0, Fractions, 17, true, 0, true};
    EXPECT_EQ(Format(12345.5f, money), "12345.500000");
}

TEST_F(CellNumber, EveryWriteStaysInsideTheBuffer)
{
    char out[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    CellNumberFormat f{0, 2, 17, false, 2, true};
    size_t n = FormatCellNumber(out, 5, 1234567.0f, f);
    EXPECT_EQ(n, 4u);
    EXPECT_STREQ(out, "1,23");
    EXPECT_EQ(out[5], 'x');

    CellText text(out, 4);
    text.append("A - ");
    text.append("Name");
    EXPECT_STREQ(out, "A -");
    EXPECT_EQ(text.size(), 3u);
}

} // namespace
