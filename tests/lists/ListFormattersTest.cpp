// The shell's field texts served by the cell engine once the list views are installed.
#include "lists/ListFormatters.h"

#include "shell/ColumnFormatter.h"
#include "shell/StatusPaneTexts.h"
#include "ListFixture.h"
#include "lists/ListRows.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class ListFormatters : public ListFixture {
protected:
    void SetUp() override
    {
        LoadShares({{0x4001, "Alpha Mining", {11}, MakeRecordFlags(kMarketMain, kIndexFtse100)}});
        previous_ = SetColumnFormatter({});
    }
    void TearDown() override
    {
        SetColumnFormatter(previous_);
        SetPaneTextSource({});
    }
    ColumnFormatter previous_;
};

} // namespace

TEST_F(ListFormatters, NamesAndPanesComeFromTheCells)
{
    InstallListFormatters();
    ShareList* list = NewList(0, 8);
    RefreshListRows(list, true, false);
    ASSERT_GT(ShareListCount(list), 0);
    list->current = 0;
    RecordCursor row = list->entries[0];
    EXPECT_EQ(FormatShareField(row, ColumnField::Name), "Alpha Mining");
    EXPECT_EQ(FormatSharePaneText(list, ColumnField::Name, false), "Alpha Mining");
    EXPECT_EQ(FormatShareField(RecordCursor{}, ColumnField::Name), "");
}
