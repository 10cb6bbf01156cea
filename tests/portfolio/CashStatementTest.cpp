// Tests of a cash account's statement, removing entries and the attachment's clearing.
#include "portfolio/CashStatement.h"

#include "core/CashAccounts.h"
#include "core/Memory.h"
#include "core/PackedDate.h"
#include "core/Portfolio.h"
#include "platform/ByteOrder.h"
#include "portfolio/CashEntry.h"
#include "portfolio/Transaction.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class Statement : public ::testing::Test {
protected:
    void SetUp() override
    {
        account_.number = 3;
        account_.dataSize = 1024;
        account_.data = static_cast<uint8_t*>(ProCalloc(1, 1024, nullptr));
        other_.number = 2;
        portfolio_.next = &other_;
    }
    void TearDown() override
    {
        portfolio_.next = nullptr;
        FreeTransactions(portfolio_.transactions);
        FreeTransactions(other_.transactions);
        ProFree(account_.data);
    }
    void Entry(uint8_t type, uint16_t date, float amount)
    {
        CashEntryFields f;
        f.type = type;
        f.date = date;
        f.amount = amount;
        ASSERT_TRUE(AddCashEntry(account_.data, account_.dataSize, *EncodeCashEntry(f)));
    }
    void Add(Portfolio& p, uint8_t type, uint16_t date, float amount, uint16_t cash = 3)
    {
        TransactionFields f;
        f.type = type;
        f.date = date;
        f.amount = amount;
        f.shareId = 0x100;
        f.cashAccount = cash;
        f.portfolioNumber = p.number;
        f.texts[0] = "Alpha";
        InsertSortedByName(p.transactions, new Transaction{nullptr, *EncodeTransaction(f)});
    }
    static float Balance(const RecordCursor& row)
    {
        return LoadF32(row.record + (row.count == kCashRowEntry ? CashEntryLayout::Balance : TransactionLayout::CashBalance));
    }
    CashAccount account_;
    Portfolio portfolio_, other_;
};

TEST_F(Statement, MergesByDateWithEntriesFirstAndWritesRunningBalances)
{
    const uint16_t d1 = PackDate(1, 2, 2010), d2 = PackDate(2, 2, 2010);
    Add(portfolio_, 1, d1, 100);       // a buy settled from the account
    Entry(kCashDebit, d2, 50);
    Entry(kCashCredit, d2, 80);
    Add(portfolio_, 13, d1, 0);        // a split: never listed
    Add(portfolio_, 17, d1, 999);      // an order: moves no cash
    Add(portfolio_, 2, d1, 5, 4);      // another account
    CashStatement s = BuildCashStatement(account_, &portfolio_);
    ASSERT_EQ(s.rows.size(), 3u);
    EXPECT_EQ(s.rows[0].count, kCashRowTransaction);
    const float expected[] = {-100, -150, -70};
    for (size_t i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(Balance(s.rows[i]), expected[i]) << i;
    EXPECT_DOUBLE_EQ(s.balance, -70);

    Add(portfolio_, 3, d2, 10);        // same date as the entries: after them
    Entry(kCashInterest, d1, 1);
    Entry(kCashCharge, d1, 2);
    s = BuildCashStatement(account_, &portfolio_);
    ASSERT_EQ(s.rows.size(), 6u);
    const uint32_t kinds[] = {kCashRowEntry, kCashRowEntry, kCashRowTransaction, kCashRowEntry, kCashRowEntry,
                              kCashRowTransaction};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(s.rows[i].count, kinds[i]) << i;
    EXPECT_DOUBLE_EQ(s.balance, -70 + 1 - 2 + 10);
}

TEST_F(Statement, GroupPortfoliosAreLeftOut)
{
    other_.type = kGroupPortfolio;
    Add(other_, 2, PackDate(1, 2, 2010), 40);
    EXPECT_TRUE(BuildCashStatement(account_, &portfolio_).rows.empty());
}

TEST_F(Statement, RemovingAnEntryMovesTheRestUp)
{
    Entry(kCashCredit, PackDate(1, 2, 2010), 10);
    Entry(kCashDebit, PackDate(2, 2, 2010), 20);
    Entry(kCashCredit, PackDate(3, 2, 2010), 30);
    CashStatement s = BuildCashStatement(account_, &portfolio_);
    const int64_t middle = CashEntryOffset(account_, s.rows[1]);
    ASSERT_GT(middle, 0);
    EXPECT_FALSE(RemoveCashEntry(account_, uint32_t(middle) + 1)) << "not the start of an entry";
    EXPECT_TRUE(RemoveCashEntry(account_, uint32_t(middle)));
    s = BuildCashStatement(account_, &portfolio_);
    ASSERT_EQ(s.rows.size(), 2u);
    EXPECT_DOUBLE_EQ(s.balance, 40);
    EXPECT_EQ(CashEntriesEnd({account_.data, account_.dataSize}), uint32_t(2 * middle));
    EXPECT_FALSE(RemoveCashEntry(account_, uint32_t(2 * middle)));
}

TEST_F(Statement, ForeignTransactionsAreCountedAndClearedOnlyForOtherPortfolios)
{
    portfolio_.number = 1;
    Add(portfolio_, 1, PackDate(1, 2, 2010), 10);
    Add(other_, 1, PackDate(1, 2, 2010), 10);
    Add(other_, 2, PackDate(2, 2, 2010), 10);
    EXPECT_EQ(CountForeignCashTransactions(3, 1, &portfolio_, false), 2);
    EXPECT_EQ(CountForeignCashTransactions(3, 1, &portfolio_, true), 2);
    EXPECT_EQ(CountForeignCashTransactions(3, 1, &portfolio_, false), 0);
    EXPECT_EQ(LoadU16(&portfolio_.transactions->bytes[TransactionLayout::CashAccount]), 3) << "the chosen one keeps it";
    EXPECT_EQ(LoadU16(&other_.transactions->bytes[TransactionLayout::CashAccount]), 0xFFFF);
}

} // namespace
