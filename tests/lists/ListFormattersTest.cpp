// The shell's field texts served by the cell engine once the list views are installed.
#include "lists/ListFormatters.h"

#include "shell/ColumnFormatter.h"
#include "shell/StatusPaneTexts.h"
#include "ListFixture.h"
#include "lists/ListRows.h"
#include "portfolio/Transaction.h"

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

// A transaction row stands for its share: the panes show that share's fields, not the bytes of the
// transaction read as a share record.
TEST_F(ListFormatters, PanesOfATransactionRowShowItsShare)
{
    InstallListFormatters();
    ShareList* shares = NewList(0, 8);
    RefreshListRows(shares, true, false);
    shares->current = 0;
    TransactionFields f;
    f.type = 1;
    f.shareId = 0x4001;
    f.texts[0] = "Alpha Mining";
    std::optional<std::vector<uint8_t>> bytes = EncodeTransaction(f);
    ASSERT_TRUE(bytes);
    ShareList* transactions = NewList(0, 2);
    transactions->family = kFamilyTransactions;
    transactions->entries[0] = {bytes->data(), 0};

    EXPECT_EQ(FormatSharePaneText(transactions, ColumnField::Name, false), "Alpha Mining");
    EXPECT_EQ(FormatMarketPaneText(transactions), FormatMarketPaneText(shares));
    f.shareId = 0x4777; // a share the database no longer has
    bytes = EncodeTransaction(f);
    transactions->entries[0] = {bytes->data(), 0};
    EXPECT_EQ(FormatSharePaneText(transactions, ColumnField::Name, false), "");
    EXPECT_EQ(FormatMarketPaneText(transactions), "");
}
