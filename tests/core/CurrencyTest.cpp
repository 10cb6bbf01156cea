// Currency names, symbols and the results-column titles.
#include "core/Currency.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(CurrencyTest, NamesAndSymbolsByCode)
{
    struct Case {
        int code;
        const char *major, *minor, *symbol;
    } cases[] = {
        {0, "Pounds", "Pence", "\xA3"},  {1, "Punts", "Irish Pence", "*"}, {2, "", "", "*"},
        {3, "US Dollars", "Cents", "$"}, {4, "French Francs", "Centimes", "*"},
        {5, "DM", "Pfennigs", "*"},      {6, "Euro", "Cents", "Euro"},     {7, "", "", "*"},
        {-1, "", "", "*"},               {99, "", "", "*"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(GetMajorCurrencyName(c.code), c.major) << c.code;
        EXPECT_STREQ(GetMinorCurrencyName(c.code), c.minor) << c.code;
        EXPECT_EQ(GetCurrencySymbol(c.code), c.symbol) << c.code;
        if (c.code != 6) {
            EXPECT_EQ(GetCurrencySymbolShort(c.code), c.symbol) << c.code;
        }
    }
    EXPECT_EQ(GetCurrencySymbolShort(6), "\x80");
    SetEuroAsLetter(true);
    EXPECT_EQ(GetCurrencySymbolShort(6), "E");
    SetEuroAsLetter(false);
}

TEST(CurrencyTest, ResultsTitlesCarryTheCurrencyLetters)
{
    struct Case {
        int entry, code;
        const char* title;
    } cases[] = {
        {1, 3, "Profit ($m)"},   {2, 0, "EPS (p)"},        {3, 6, "Dividend (c)"},
        {4, 1, "Turnover (\xA3m)"}, {5, 4, "NAV (Fm)"},    {6, 5, "Final Div. (p)"},
        {7, 5, "Dm"},            {8, 2, " "},              {10, 6, "\x80m"},
        {0, 3, "Date"},          {14, 3, "Profit (millions)"}, {19, 0, "Final Div."},
        {20, 0, ""},             {-1, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetResultsColumnTitle(c.entry, c.code), c.title) << c.entry << "/" << c.code;
}
