// Current setting numbers by view kind, the list scale and the transaction-type groups.
#include "core/ViewSettings.h"

#include "core/TransactionTypes.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ViewSettingsTest, NumbersByKindAndTable)
{
    SetViewSettingIndex(1, 0, 4);
    SetViewSettingIndex(1, 34, 7);
    SetViewSettingIndex(1, 35, 9); // beyond the tables: not kept
    SetViewSettingIndex(0, 3, 2);  // kinds with one number ignore the table index
    SetViewSettingIndex(3, 0, 5);
    SetViewSettingIndex(2, 0, 12);
    SetViewSettingIndex(4, 0, -1);
    SetDataMiningGraphMode(false);
    SetViewSettingIndex(6, 0, 3);
    SetDataMiningGraphMode(true);
    SetViewSettingIndex(6, 0, 8);
    struct Case {
        int kind, table, number;
    } cases[] = {
        {1, 0, 4}, {1, 34, 7}, {1, 35, 0}, {1, -1, 0}, {0, 0, 2}, {3, 0, 0}, {11, 0, 0},
        {2, 0, 0}, {4, 0, 0}, {6, 0, 8}, {12, 0, 0}, {-2, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetViewSettingIndex(c.kind, c.table), c.number) << c.kind << "/" << c.table;
    SetDataMiningGraphMode(false);
    EXPECT_EQ(GetViewSettingIndex(6, 0), 3);
}

TEST(ViewSettingsTest, ListScaleFromTheChosenButton)
{
    ApplyListScaleOption(kListScale80Button);
    EXPECT_EQ(ListScaleDivisor(), 125);
    ApplyListScaleOption(kListScale100Button);
    EXPECT_EQ(ListScaleDivisor(), 100);
    ApplyListScaleOption(0);
    EXPECT_EQ(ListScaleDivisor(), 111);
}

TEST(TransactionTypesTest, GroupsOfTypeCodes)
{
    std::string adds, removes, credits, debits;
    for (int t = 0; t <= 21; ++t) {
        adds += TranAddsShares(t) ? 'x' : '.';
        removes += TranRemovesShares(t) ? 'x' : '.';
        credits += TranIsCredit(t) ? 'x' : '.';
        debits += TranIsDebit(t) ? 'x' : '.';
    }
    //         0123456789012345678901
    EXPECT_EQ(adds, ".x..x...x.xx..........");
    EXPECT_EQ(removes, "..x..x................");
    EXPECT_EQ(credits, "..xx.xx..x............");
    EXPECT_EQ(debits, ".x..x..xx..xx.........");
}
