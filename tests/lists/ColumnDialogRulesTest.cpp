// The column dialogs' rules: the appearance bytes of a column, high/low periods, date choices.
#include "lists/ColumnDialogRules.h"

#include "core/DateText.h"

#include <gtest/gtest.h>

#include <array>

using namespace qv;

namespace {

std::array<uint8_t, kColumnAppearanceBytes> Pack(const ColumnAppearance& a)
{
    std::array<uint8_t, kColumnAppearanceBytes> bytes;
    bytes.fill(0xAA);
    PackColumnAppearance(a, bytes);
    return bytes;
}

} // namespace

TEST(ColumnAppearance, PacksFlagsColoursAndStyles)
{
    ColumnAppearance a;
    a.background = true;
    a.mix = true;
    a.backgroundColour = 0x00112233;
    a.textColour = true;
    a.textColourValue = 0x00445566;
    a.left = 2;
    a.right = 3;
    a.textStyle = true;
    a.bold = true;
    a.underline = true;
    const auto bytes = Pack(a);
    const std::array<uint8_t, 10> expected = {1 | 2 | 4 | 8 | 16 | 32, 0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0,
                                              2 | (3 << 2) | 0x10 | 0x40};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(UnpackColumnAppearance(bytes), a);
}

TEST(ColumnAppearance, DefaultsAndOrphanOptionsStoreNothing)
{
    // All "Default": nothing stored, whatever the bytes held before.
    EXPECT_EQ(Pack(ColumnAppearance{}), (std::array<uint8_t, 10>{}));

    // Mixing without a background, a style choice without "Text Style", a colour without its flag.
    ColumnAppearance a;
    a.mix = true;
    a.bold = true;
    a.italic = true;
    a.backgroundColour = 0xFFFFFF;
    a.textColourValue = 0x123456;
    EXPECT_EQ(Pack(a), (std::array<uint8_t, 10>{}));

    // A border "0 none" is a choice of its own, unlike "Default".
    ColumnAppearance none;
    none.left = 0;
    EXPECT_EQ(Pack(none)[0], 8);
    EXPECT_EQ(Pack(none)[9], 0);
    EXPECT_EQ(UnpackColumnAppearance(Pack(none)).left, 0);
    EXPECT_EQ(UnpackColumnAppearance(Pack(none)).right, -1);
}

TEST(HighLowPeriod, FormatsEveryKind)
{
    const PackedDate date = PackDate(2, 3, 2004);
    struct Case {
        int kind, value;
        std::string text;
    } cases[] = {
        {0, 9, "All history"},
        {1, 250, "Last 250 trad. days"},
        {2, 7, "Last 7 days"},
        {3, 0, "Since 1st Jan"},
        {4, date, "Since " + FormatDate(date)},
        {5, 1, "[unknown]"},
        {-1, 1, "[unknown]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatHighLowPeriod(c.kind, c.value), c.text) << c.kind;
}

TEST(HighLowPeriod, TradingDaysStartAtTwoButPriceDatesAtOne)
{
    EXPECT_FALSE(HighLowPeriodRange(1).contains(1));
    EXPECT_TRUE(HighLowPeriodRange(1).contains(2));
    EXPECT_TRUE(HighLowPeriodRange(1).contains(999));
    EXPECT_FALSE(HighLowPeriodRange(2).contains(1000));
    EXPECT_EQ(HighLowPeriodRange(1).start, 250);
    EXPECT_EQ(HighLowPeriodRange(2).start, 7);
    // "Select date of price": trading days from 1.
    EXPECT_TRUE(DateChoiceRange(2).contains(1));
    EXPECT_TRUE(DateChoiceRange(2).contains(9999));
    EXPECT_FALSE(DateChoiceRange(5).contains(100));
}

TEST(DateChoice, UnitsMapBothWays)
{
    // unit -> choice: 1 days, 5 trading days, 2 weeks, 3 months, 4 years; anything else a date.
    const int units[] = {1, 5, 2, 3, 4};
    for (int choice = 1; choice <= 5; ++choice) {
        EXPECT_EQ(DateChoiceOfUnit(units[choice - 1]), choice);
        EXPECT_EQ(UnitOfDateChoice(choice), units[choice - 1]);
    }
    EXPECT_EQ(DateChoiceOfUnit(0), 0);
    EXPECT_EQ(DateChoiceOfUnit(6), 0);
    EXPECT_EQ(DateChoiceDefault(4, true), 2);
    EXPECT_EQ(DateChoiceDefault(1, true), 20);
    EXPECT_EQ(DateChoiceDefault(1, false), 10);
}

TEST(HighLowColumn, OpensFromItsFieldCode)
{
    struct Case {
        int code, sub;
        bool lows;
        int display;
        bool custom;
    } cases[] = {
        {19, 0, false, 0, false}, {20, 0, true, 0, false}, {52, 0, false, 1, false}, {55, 0, true, 2, false},
        {64, 0, true, 3, false},  {94, 0, false, 0, true}, {94, 5, true, 2, true},   {94, 6, false, 3, true},
    };
    for (const Case& c : cases) {
        const HighLowColumnChoice h = HighLowChoiceOfColumn(c.code, c.sub);
        EXPECT_TRUE(h.valid) << c.code;
        EXPECT_EQ(h.lows, c.lows) << c.code << "/" << c.sub;
        EXPECT_EQ(h.display, c.display) << c.code << "/" << c.sub;
        EXPECT_EQ(h.customPeriod, c.custom) << c.code;
        if (!c.custom) {
            EXPECT_EQ(GlobalHighLowFieldCode(c.lows, c.display), c.code);
        }
    }
    EXPECT_FALSE(HighLowChoiceOfColumn(94, 8).valid);
    EXPECT_FALSE(HighLowChoiceOfColumn(21, 0).valid);
}
