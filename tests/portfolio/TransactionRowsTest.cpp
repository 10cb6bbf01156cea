// Tests of the rows of transaction and cash lists: the share a row stands for, and rows never left
// pointing at transactions that were freed or moved.
#include "portfolio/TransactionRows.h"

#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "portfolio/CashStatement.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/Transaction.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qv;
using namespace qv::test;

namespace {

constexpr uint16_t kAlpha = 0x4001;
constexpr uint16_t kGone = 0x4077;

class TransactionRows : public DatabaseFixture {
protected:
    void SetUp() override
    {
        Load(dev::WriteQuorvaDat(OneEntry({dev::ShareRecord(kAlpha, "Alpha Mining", 'O', "ALM")})));
    }
    void TearDown() override
    {
        FreePortfolioChain();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
    }
    Portfolio* make(uint16_t number, uint8_t type = kUserPortfolio)
    {
        auto* p = new Portfolio;
        p->number = number;
        p->type = type;
        ResetPortfolioEntries(*p);
        AppendToChain(p);
        return p;
    }
    static void buy(Portfolio& p, uint16_t id, const std::string& name, uint16_t date)
    {
        TransactionFields f;
        f.date = date;
        f.type = 0;
        f.shareId = id;
        f.shares = 100;
        f.flags = TransactionFlag::FloatValues;
        f.texts[0] = name;
        auto* t = new Transaction;
        t->bytes = *EncodeTransaction(f);
        InsertSortedByName(p.transactions, t);
    }
    // A list of the family showing every transaction of the portfolio, its second row current.
    static ShareList* shown(Portfolio* p, int32_t family)
    {
        ShareList* list = CreateShareList(8, 0, family, p, true);
        SetListRows(list, RowsOfTransactions(TransactionRowsOf(*p, false, false)));
        list->current = 1;
        return list;
    }
    static bool anyRow(const ShareList* list)
    {
        for (int32_t i = 0; i < list->capacity; ++i)
            if (list->entries[i].record)
                return true;
        return false;
    }
};

} // namespace

// A group's transactions are copies that each rebuild frees: a list showing them keeps no row
// into the old copies, whatever its cursor, while lists of other portfolios keep theirs.
TEST_F(TransactionRows, RowsOfFreedTransactionsAreEmptiedAndOnlyThose)
{
    Portfolio* member = make(1);
    buy(*member, kAlpha, "Alpha Mining", 100);
    buy(*member, kAlpha, "Alpha Mining", 200);
    Portfolio* other = make(2);
    buy(*other, kAlpha, "Alpha Mining", 300);
    Portfolio* group = make(3, kGroupPortfolio);
    group->members = new PortfolioMember{{}, uint16_t(member->number + 1), 0};
    RebuildGroupPortfolio(group);

    ShareList* groupRows = shown(group, kFamilyTransactions);
    ShareList* otherRows = shown(other, kFamilyTransactions);
    ShareList* cashRows = shown(group, kFamilyCash);
    ASSERT_TRUE(anyRow(groupRows));
    RebuildGroupPortfolio(group);

    EXPECT_FALSE(anyRow(groupRows)) << "no row past the end marker either";
    EXPECT_EQ(groupRows->current, 1) << "the cursor is kept for the refill";
    EXPECT_EQ(CurrentEntry(groupRows)->record, nullptr);
    EXPECT_FALSE(anyRow(cashRows));
    ASSERT_TRUE(anyRow(otherRows));
    EXPECT_EQ(otherRows->entries[0].record, other->transactions->bytes.data());
}

// Renaming a record may move its bytes: the rows showing it go first.
TEST_F(TransactionRows, RowsOfARenamedTransactionAreEmptied)
{
    Portfolio* p = make(1);
    buy(*p, kAlpha, "Old name", 100);
    ShareList* list = shown(p, kFamilyTransactions);
    HoldingsMarket market;
    market.share = [](uint16_t, uint8_t) {
        HoldingShare share;
        share.name = "Alpha Mining with a name long enough to move its bytes";
        return std::optional<HoldingShare>(share);
    };
    BuildHoldingRows(*p, market);
    EXPECT_FALSE(anyRow(list));
}

TEST_F(TransactionRows, ARowStandsForTheShareItNames)
{
    Portfolio* p = make(1);
    buy(*p, kAlpha, "Alpha Mining", 100);
    buy(*p, kGone, "Gone Holdings", 100);
    const RecordCursor alpha = FindRecordById(kAlpha, 0);
    ShareList* shares = CreateShareList(8, 0, kFamilyShares, nullptr, true);
    ShareList* transactions = shown(p, kFamilyTransactions);
    ShareList* cash = CreateShareList(8, 0, kFamilyCash, nullptr, true);
    const RecordCursor alphaRow = transactions->entries[0];
    const RecordCursor goneRow = transactions->entries[1];
    ASSERT_EQ(EntryRecordId(ShareOfRow(*transactions, alphaRow)), kAlpha);

    struct Case {
        const char* what;
        const ShareList* list;
        RecordCursor row;
        const uint8_t* share;
    };
    const Case cases[] = {
        {"a share list's row is the share", shares, alpha, alpha.record},
        {"a transaction names its share", transactions, alphaRow, alpha.record},
        {"a transaction of a share not in the database", transactions, goneRow, nullptr},
        {"a cash row of a transaction", cash, {alphaRow.record, kCashRowTransaction}, alpha.record},
        {"a cash account's own entry", cash, {alphaRow.record, kCashRowEntry}, nullptr},
        {"an empty row", transactions, {}, nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShareOfRow(*c.list, c.row).record, c.share) << c.what;
}
