// The column catalogues: their sizes, the field code each shares template carries, and the walk of
// the installed catalogue.
#include "lists/ColumnCatalogues.h"

#include "core/ColumnDef.h"
#include "core/ColumnSpec.h"
#include "lists/AddColumnCommands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace qv;

TEST(ColumnCatalogues, EachCatalogueHasItsRecordCountAndEveryTemplateIsASoundColumn)
{
    const std::pair<Catalogue, int> sizes[] = {{Catalogue::Shares, 94}, {Catalogue::Transactions, 31}, {Catalogue::Dealings, 14},
        {Catalogue::Cash, 11}, {Catalogue::News, 11}, {Catalogue::Trades, 13}, {Catalogue::HighLow, 8}};
    for (auto [catalogue, size] : sizes) {
        EXPECT_EQ(CatalogueSize(catalogue), size);
        for (int n = 0; n < size; ++n) {
            const std::span<const uint8_t> t = CatalogueTemplate(catalogue, n);
            std::vector<uint8_t> layout(t.begin(), t.end());
            layout.push_back(0);
            EXPECT_NE(ValidateColumnLayout(layout), 0u) << "catalogue " << int(catalogue) << " template " << n;
        }
        EXPECT_EQ(CatalogueBytes(catalogue).back(), 0);
    }
}

TEST(ColumnCatalogues, SharesTemplateNCarriesFieldCodeNWithThreeExceptions)
{
    for (int n = 0; n < 94; ++n) {
        const std::span<const uint8_t> t = CatalogueTemplate(Catalogue::Shares, n);
        if (n == 1) {
            EXPECT_EQ(t.size(), 1u);
            continue;
        }
        const int expected = n == 3 ? 129 : n == 69 ? 70 : n;
        EXPECT_EQ(ColumnDefCode(t.data()), expected) << n;
    }
    EXPECT_STREQ(ColumnDefFormulaTitle(CatalogueTemplate(Catalogue::Shares, 12).data()), "Yield");
    EXPECT_STREQ(ColumnDefFormulaTitle(CatalogueTemplate(Catalogue::Transactions, 28).data()), "Price %");
    EXPECT_EQ(ColumnDefKind(CatalogueTemplate(Catalogue::Shares, 45).data()), kColumnNote);
    EXPECT_EQ(ColumnDefKind(CatalogueTemplate(Catalogue::Shares, 80).data()), kColumnIntraday);
    EXPECT_EQ(ColumnDefWidth(CatalogueTemplate(Catalogue::Shares, 86).data()), 10);
}

TEST(ColumnCatalogues, InstalledCatalogueAnswersTheColumnSpecWalk)
{
    InstallColumnCatalogues();
    const std::span<const uint8_t> price = GetColumnSpec(17, 0);
    ASSERT_FALSE(price.empty());
    EXPECT_EQ(price.data(), CatalogueTemplate(Catalogue::Shares, 17).data());
    EXPECT_EQ(GetColumnSpec(94, 6)[ColumnDefLayout::SubKind], 6);
    EXPECT_EQ(ColumnDefCode(GetColumnSpec(0x71, 0).data()), 0x71);
    EXPECT_EQ(ColumnDefCode(GetColumnSpec(129, 0).data()), 129);
    EXPECT_TRUE(GetColumnSpec(94, 8).empty());
}

TEST(AddColumnCommands, EveryCommandReachesATemplateOfItsCatalogue)
{
    for (const AddColumnCommand& c : AddColumnCommands()) {
        if (c.route != AddColumnRoute::Template && c.route != AddColumnRoute::DateDialog &&
            c.route != AddColumnRoute::Separator)
            continue;
        EXPECT_GE(CatalogueTemplate(c.catalogue, c.index).size(), kColumnDefBytes) << c.id;
    }
    ASSERT_NE(FindAddColumnCommand(25108), nullptr);
    EXPECT_EQ(AddColumnCommandCode(*FindAddColumnCommand(25108)), 70);
    EXPECT_EQ(FindAddColumnCommand(26716)->index, 0x71);
    EXPECT_EQ(FindAddColumnCommand(25171)->parameter1, -1);
    EXPECT_EQ(FindAddColumnCommand(1), nullptr);
    EXPECT_EQ(NoteCommandNumber(26282), 3);
    EXPECT_EQ(NoteCommandNumber(26290), 0);
}

// The trade list's commands, each to its template of the trade catalogue (template n, trade field n),
// the quoted prices in pence with fractions; the separator column serves the trade list too.
TEST(AddColumnCommands, TradeListCommandsAddTheirTradeTemplates)
{
    const std::pair<int, int> commands[] = {{26813, 1}, {26814, 2}, {26815, 3}, {26816, 4}, {26817, 5}, {26818, 6},
                                            {26824, 7}, {26821, 8}, {26820, 9}, {26972, 10}, {26973, 11}, {27092, 12}};
    for (auto [id, code] : commands) {
        const AddColumnCommand* c = FindAddColumnCommand(id);
        ASSERT_NE(c, nullptr) << id;
        EXPECT_EQ(c->catalogue, Catalogue::Trades) << id;
        EXPECT_EQ(AddColumnCommandCode(*c), code) << id;
        const uint8_t* t = CatalogueTemplate(Catalogue::Trades, code).data();
        EXPECT_EQ(ColumnDefKind(t), kColumnTrade) << id;
        const bool quote = code >= 2 && code <= 5;
        EXPECT_EQ(t[ColumnDefLayout::FormatA] == 8 && t[ColumnDefLayout::FormatB] == 0x10, quote) << id;
    }
    EXPECT_EQ(ColumnDefWidth(CatalogueTemplate(Catalogue::Trades, 7).data()), 120);
    EXPECT_EQ(ColumnDefWidth(CatalogueTemplate(Catalogue::Trades, 11).data()), 80);
    const AddColumnCommand* separator = FindAddColumnCommand(26808);
    ASSERT_NE(separator, nullptr);
    EXPECT_EQ(separator->route, AddColumnRoute::Separator);
    EXPECT_EQ(AddColumnCommandCode(*separator), 86);
}

TEST(AddColumnCommands, DateChoicesPackTheirModes)
{
    const int modes[] = {0, 1, 5, 2, 3, 4};
    for (int choice = 0; choice < 6; ++choice)
        EXPECT_EQ(DateParameter(choice, 250), (modes[choice] << 16) | 250) << choice;
}
