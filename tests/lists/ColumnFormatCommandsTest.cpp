// The column menu's format commands on the record bits, their item states and the menu plans.
#include "lists/ColumnFormatCommands.h"

#include "core/ColumnDef.h"
#include "lists/ColumnCatalogues.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qv;
using namespace ColumnDefLayout;
using namespace ColumnCommand;

namespace {

std::vector<uint8_t> Column(uint8_t kind, uint8_t code, uint8_t formatA = 0, uint8_t formatB = 2)
{
    std::vector<uint8_t> record;
    AppendColumnDef(record, ColumnOf(kind, code).withFormatA(formatA).withFormatB(formatB));
    return record;
}

// Applies the commands in turn and returns {align, format A, format B}.
std::array<int, 3> After(std::vector<uint8_t> def, std::initializer_list<int> commands)
{
    for (int c : commands)
        EXPECT_TRUE(ApplyColumnFormat(def.data(), c)) << c;
    return {def[Align], def[FormatA], def[FormatB]};
}

} // namespace

TEST(ColumnFormatCommands, CommandBitEffects)
{
    struct Case { std::initializer_list<int> commands; uint8_t formatA, formatB; std::array<int, 3> expected; };
    const Case cases[] = {
        {{CentreJustify}, 0, 2, {2, 0, 2}},
        {{LeftJustify}, 0, 2, {0, 0, 2}},
        {{ZeroAsHyphen}, 1, 2, {1, 2, 2}},
        {{ZeroBlank}, 2, 2, {1, 0, 2}},
        {{Significant1 + 2}, 0, 0x42, {1, 0, 0xC3}},
        {{Significant1 + 2, Significant1 + 2}, 0, 0x02, {1, 0, 0x00}},   // twice: back to plain
        {{Significant1 + 2, Significant1 + 1}, 0, 0x02, {1, 0, 0x82}},
        {{Fractions}, 0x10, 0x83, {1, 0, 0x10}},                          // fractions clear decimals
        {{Fractions, Decimals0 + 2}, 0, 0x03, {1, 0, 0x02}},              // decimals then clear fractions
        {{Fractions, Fractions}, 0, 0x03, {1, 0, 0x00}},
        {{ManyDecimals}, 0, 0x63, {1, 0x10, 0x60}},
        {{ManyDecimals, Decimals0 + 1}, 0, 0x02, {1, 0, 0x01}},
        {{Thousands, Thousands}, 0, 0x02, {1, 0, 0x02}},
        {{Thousands}, 0, 0x02, {1, 0, 0x42}},
        {{Pence}, 0x01, 2, {1, 0x09, 2}},
        {{Pounds, Simplest}, 0x01, 2, {1, 0x01, 2}},
        {{UpDownArrow}, 0, 2, {0x11, 0, 2}},
        {{ArrowPlacement}, 0, 2, {0x21, 0, 2}},
        {{ConsensusNumbers, ExchangeCode}, 0, 2, {1, 0, 2}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(After(Column(kColumnField, 17, c.formatA, c.formatB), c.commands), c.expected) << *c.commands.begin();
    std::vector<uint8_t> def = Column(kColumnField, 17);
    EXPECT_FALSE(ApplyColumnFormat(def.data(), Rename));
}

TEST(ColumnFormatCommands, ItemsAreEnabledAndCheckedByTheRecord)
{
    const std::vector<uint8_t> plain = Column(kColumnField, 17, 0, 0x02);
    EXPECT_TRUE(ColumnFormatState(plain.data(), Decimals0 + 2, 3).checked);
    EXPECT_TRUE(ColumnFormatState(plain.data(), RightJustify, 3).checked);
    EXPECT_TRUE(ColumnFormatState(plain.data(), Simplest, 3).checked);
    const std::vector<uint8_t> fractions = Column(kColumnField, 17, 0, 0x12);
    EXPECT_FALSE(ColumnFormatState(fractions.data(), Decimals0 + 2, 3).checked);
    EXPECT_TRUE(ColumnFormatState(fractions.data(), Fractions, 3).checked);
    const std::vector<uint8_t> significant = Column(kColumnField, 17, 0, 0x83);
    EXPECT_TRUE(ColumnFormatState(significant.data(), Significant1 + 2, 3).checked);
    EXPECT_FALSE(ColumnFormatState(significant.data(), Decimals0 + 3, 3).checked);

    std::vector<uint8_t> special = Column(kColumnField, 17);
    special[Align] = 3;
    EXPECT_FALSE(ColumnFormatState(special.data(), Decimals0, 3).enabled);
    EXPECT_FALSE(ColumnFormatState(nullptr, Decimals0, 3).enabled);
    EXPECT_FALSE(ColumnFormatState(plain.data(), Remove, 1).enabled);
    EXPECT_TRUE(ColumnFormatState(plain.data(), Remove, 2).enabled);

    const std::vector<uint8_t> intraday = Column(kColumnField, 73);
    EXPECT_FALSE(ColumnFormatState(intraday.data(), UpDownArrow, 3).enabled);
    std::vector<uint8_t> placed = Column(kColumnField, 18);
    placed[Align] |= 0x30;
    EXPECT_FALSE(ColumnFormatState(placed.data(), UpDownArrow, 3).enabled);
    EXPECT_TRUE(ColumnFormatState(placed.data(), ArrowPlacement, 3).checked);
}

TEST(ColumnFormatCommands, MenuPlansByFamilyAndColumn)
{
    const auto plan = [](MenuFamily f, const std::vector<uint8_t>& def) { return PlanColumnMenu(f, def.data()); };
    const ColumnMenuPlan price = plan(MenuFamily::Shares, Column(kColumnField, 17));
    EXPECT_TRUE(price.sort && price.numberSubmenu && price.moneySubmenu && price.zeroSubmenu);
    EXPECT_FALSE(price.thousands || price.changeContents);

    const ColumnMenuPlan capital = plan(MenuFamily::Shares, Column(kColumnField, 23));
    EXPECT_TRUE(capital.thousands);
    EXPECT_FALSE(capital.moneySubmenu);

    const ColumnMenuPlan name = plan(MenuFamily::Shares, Column(kColumnField, 15));
    EXPECT_TRUE(name.sort);
    EXPECT_FALSE(name.numberSubmenu);

    const ColumnMenuPlan blank = plan(MenuFamily::Shares, Column(kColumnField, 86));
    EXPECT_FALSE(blank.sort || blank.fitAndJustify);

    const ColumnMenuPlan results = plan(MenuFamily::Shares, Column(kColumnResults, 0x13));
    EXPECT_TRUE(results.sort && results.numberSubmenu && results.changeContents);
    EXPECT_FALSE(plan(MenuFamily::Shares, Column(kColumnResults, 0x10)).numberSubmenu);

    EXPECT_TRUE(plan(MenuFamily::Shares, Column(kColumnField, 92)).exchangeItem);
    EXPECT_TRUE(plan(MenuFamily::Shares, Column(kColumnField, 50)).consensusItem);
    EXPECT_TRUE(plan(MenuFamily::Shares, Column(kColumnField, 52)).changeContents);
    EXPECT_TRUE(plan(MenuFamily::Shares, Column(kColumnPriceHistory, 31)).changeContents);
    EXPECT_FALSE(plan(MenuFamily::Dealings, Column(kColumnDealing, 52)).changeContents);
    EXPECT_TRUE(plan(MenuFamily::Dealings, Column(kColumnDealing, 7)).thousands);
    EXPECT_FALSE(plan(MenuFamily::News, Column(kColumnNews, 5)).numberSubmenu);

    std::vector<uint8_t> holding = Column(kColumnHolding, 12);
    EXPECT_EQ(ColumnMenuBits(MenuFamily::Shares, holding.data()), 7);
    std::vector<uint8_t> intraday = Column(kColumnIntraday, 76);
    EXPECT_EQ(ColumnMenuBits(MenuFamily::Shares, intraday.data()), 3);
    intraday[FieldCode] = 81;
    EXPECT_EQ(ColumnMenuBits(MenuFamily::Shares, intraday.data()), 7);
}
