// Column commands on a share list: the new layout reaches every list of the setting, the sort column
// follows and the stored sort byte is rewritten.
#include "lists/ListColumnCommands.h"

#include "core/ConfigState.h"
#include "lists/ColumnCatalogues.h"
#include "lists/ColumnDef.h"
#include "lists/ListSettings.h"
#include "ListFixture.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class ListColumnCommands : public ListFixture {
protected:
    void SetUp() override
    {
        saved_ = Config();
        a_ = Chained(0);
        b_ = Chained(4);
        SelectColumnSetting(a_, kListKindShares, 1, false, false);
        SelectColumnSetting(b_, kListKindShares, 1, false, false);
        a_->sortColumn = 6;
        a_->sortDirection = -1;
    }
    void TearDown() override
    {
        ShareListChain() = nullptr;
        FreeSettingLayouts();
        Config() = saved_;
    }
    ShareList* Chained(int32_t number)
    {
        ShareList* list = NewList(number);
        list->next = ShareListChain();
        ShareListChain() = list;
        return list;
    }
    int Code(int column) const { return ColumnDefCode(GetColumnDef(a_->columnLayout, column)); }

    ConfigState saved_;
    ShareList* a_ = nullptr;
    ShareList* b_ = nullptr;
};

} // namespace

TEST_F(ListColumnCommands, AColumnAddedLeftOfTheSortColumnKeepsTheSameColumnSorted)
{
    const int before = ListColumnCount(a_, kListKindShares);
    const int sortedCode = Code(6);
    AddColumnRequest request;
    request.insertAt = 2;
    request.pointSize = 12;
    ASSERT_TRUE(AddListColumn(a_, kListKindShares, CatalogueTemplate(Catalogue::Shares, 21), request));
    EXPECT_EQ(ListColumnCount(a_, kListKindShares), before + 1);
    EXPECT_EQ(b_->columnLayout, a_->columnLayout);
    EXPECT_EQ(Code(2), 21);
    EXPECT_EQ(ColumnDefWidth(GetColumnDef(a_->columnLayout, 2)), 80);
    EXPECT_EQ(a_->sortColumn, 7);
    EXPECT_EQ(Code(7), sortedCode);
    EXPECT_EQ(GetSettingSort(kListKindShares, 1), -8);

    // Right of the sort column: the sort stays.
    request.insertAt = -1;
    ASSERT_TRUE(AddListColumn(a_, kListKindShares, CatalogueTemplate(Catalogue::Shares, 22), request));
    EXPECT_EQ(GetSettingSort(kListKindShares, 1), -8);
}

TEST_F(ListColumnCommands, RemovingTheSortedColumnLeavesColumnZeroAscendingAndUnsorted)
{
    ASSERT_TRUE(RemoveListColumn(a_, kListKindShares, 6));
    EXPECT_EQ(GetSettingSort(kListKindShares, 1), 1);
    EXPECT_EQ(a_->sortColumn, -1);

    a_->sortColumn = 4;
    a_->sortDirection = 1;
    ASSERT_TRUE(RemoveListColumn(a_, kListKindShares, 1));
    EXPECT_EQ(GetSettingSort(kListKindShares, 1), 4);
}

TEST_F(ListColumnCommands, MovingRetitlingAndSizing)
{
    const int sortedCode = Code(6);
    ASSERT_TRUE(MoveListColumn(a_, kListKindShares, 6, 0));
    EXPECT_EQ(Code(0), sortedCode);
    EXPECT_EQ(GetSettingSort(kListKindShares, 1), -1);
    EXPECT_FALSE(MoveListColumn(a_, kListKindShares, 2, 2));

    ASSERT_TRUE(RetitleListColumn(a_, kListKindShares, 1, "My name", "Name"));
    EXPECT_STREQ(ColumnDefOwnTitle(GetColumnDef(b_->columnLayout, 1)), "My name");

    ASSERT_TRUE(SetListColumnWidth(a_, kListKindShares, 1, 3));
    EXPECT_EQ(ColumnDefWidth(GetColumnDef(a_->columnLayout, 1)), 10);
}
