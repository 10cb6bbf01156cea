// The special-edition wizard's proposals: which list tables count as unused, the first pair of
// default graph settings, and the graph list's two selections.
#include "tools/options/EditionWizardRules.h"

#include "core/ColumnDef.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

// A chain of plain records of the given kinds and field codes, then its end.
std::vector<uint8_t> Chain(std::vector<std::pair<uint8_t, uint8_t>> columns)
{
    std::vector<uint8_t> chain;
    for (auto [kind, field] : columns) {
        std::vector<uint8_t> record(kColumnDefBytes, 0);
        record[ColumnDefLayout::Length] = uint8_t(kColumnDefBytes);
        record[ColumnDefLayout::Kind] = kind;
        record[ColumnDefLayout::FieldCode] = field;
        chain.insert(chain.end(), record.begin(), record.end());
    }
    chain.push_back(0);
    return chain;
}

} // namespace

TEST(EditionWizardRules, AListTableIsUnusedWithOnlyBlankFieldColumns)
{
    struct Case {
        std::vector<uint8_t> layout;
        bool unused;
    } cases[] = {
        {{}, true},
        {{0}, true},
        {Chain({{kColumnField, 0}, {kColumnField, 15}}), true},
        {Chain({{kColumnField, 0}, {kColumnField, 7}}), false},
        {Chain({{kColumnFormula, 0}}), false},
        {{1, 1, 0}, true},                  // fillers only
        {{27, 0, 1}, false},                // a record cut short
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListTableUnused(c.layout), c.unused) << c.layout.size();

    TableFamily tables;
    for (TableSlot& slot : tables.designs)
        slot.chain = Chain({{kColumnField, 7}});
    EXPECT_EQ(FirstUnusedListTable(tables), std::nullopt);
    tables.designs[9].chain = Chain({{kColumnField, 15}});
    tables.designs[10].chain.clear();
    EXPECT_EQ(FirstUnusedListTable(tables), 9);
}

TEST(EditionWizardRules, TheFirstPairOfDefaultGraphSettings)
{
    std::array<bool, kSettingSlots> differs{};
    differs.fill(true);
    EXPECT_EQ(FirstUnusedGraphPair(differs), std::nullopt);
    differs[4] = differs[6] = differs[7] = false;
    EXPECT_EQ(FirstUnusedGraphPair(differs), 6);
    differs[11] = differs[10] = false;
    differs[6] = true;
    EXPECT_EQ(FirstUnusedGraphPair(differs), 10);
}

TEST(EditionWizardRules, TheGraphListKeepsTheLatestTwoSelections)
{
    GraphPairChoice pair{3, 4};
    pair.select(7);
    EXPECT_TRUE(pair.selected(3) && pair.selected(7) && !pair.selected(4));
    pair.select(2);
    EXPECT_TRUE(pair.selected(7) && pair.selected(2) && !pair.selected(3));
    pair.select(7); // already one of the two
    EXPECT_EQ(pair.ordered(), (std::array<uint8_t, 2>{2, 7}));
}
