// Tests of recording a transaction: the type order, the figures kept in step, the rebasing
// choices, the record built from an answer and its storing.
#include "portfolio/TransactionRecording.h"

#include "core/DateText.h"
#include "core/Portfolio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace qv;

namespace {

TEST(TransactionTypeItems, MapBothWaysInTheListsOrder)
{
    const int expected[kTransactionTypeItems] = {1, 2, 3, 8, 9, 10, 11, 12, 13, 14, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21};
    for (int item = 0; item < kTransactionTypeItems; ++item) {
        EXPECT_EQ(TransactionTypeOfItem(item), expected[item]) << item;
        EXPECT_EQ(TransactionItemOfType(expected[item]), item);
    }
    EXPECT_EQ(TransactionTypeOfItem(20), -1);
    EXPECT_EQ(TransactionItemOfType(15), -1) << "'Latest' rows are never recorded";
}

// Each row starts from fresh figures of a type, applies one edit and checks what moved with it.
TEST(TransactionFiguresInStep, EachEditRecomputesTheOthers)
{
    using F = TransactionFigures;
    struct Case {
        const char* what;
        int type;
        void (*edit)(F&);
        double shares, price, total;
    };
    const Case cases[] = {
        {"buy: total is cost plus charges", 1,
         [](F& f) { f.SetShares(100); f.SetPrice(2); f.SetCharges(10, 5, 1); }, 100, 2, 216},
        {"sell: total is value less charges", 2,
         [](F& f) { f.SetShares(100); f.SetPrice(2); f.SetCharges(10, 5, 1); }, 100, 2, 184},
        {"no shares: the price is the consideration", 7, [](F& f) { f.SetPrice(50); f.SetCharges(1, 0, 0); }, 0, 50, 51},
        {"total with no shares typed sets the price", 1, [](F& f) { f.SetCharges(10, 0, 0); f.SetTotal(110); }, 0, 100, 110},
        {"total after the shares sets the price", 1,
         [](F& f) { f.SetShares(50); f.SetCharges(10, 0, 0); f.SetTotal(110); }, 50, 2, 110},
        {"total after the price sets the shares", 2,
         [](F& f) { f.SetShares(1); f.SetPrice(4); f.SetCharges(10, 0, 0); f.SetTotal(390); }, 100, 4, 390},
        {"total with a zero price keeps the shares", 1,
         [](F& f) { f.SetShares(5); f.SetPrice(0); f.SetTotal(100); }, 5, 0, 100},
        {"a tiny shares value becomes 0", 1, [](F& f) { f.SetShares(0.00001); }, 0, 0, 0},
        {"dividend: received is shares x net", 3, [](F& f) { f.SetShares(250); f.SetPrice(0.04); }, 250, 0.04, 10},
    };
    for (const Case& c : cases) {
        F f;
        f.type = c.type;
        c.edit(f);
        EXPECT_NEAR(f.shares, c.shares, 1e-9) << c.what;
        EXPECT_NEAR(f.price, c.price, 1e-9) << c.what;
        EXPECT_NEAR(f.total, c.total, 1e-9) << c.what;
        EXPECT_TRUE(std::isfinite(f.shares) && std::isfinite(f.price)) << c.what;
    }
    EXPECT_DOUBLE_EQ(PenceOfPounds(1.25), 125);
    EXPECT_DOUBLE_EQ(PoundsOfPence(125), 1.25);
}

TEST(TransactionFiguresInStep, DividendCreditAndRate)
{
    TransactionFigures f;
    f.type = 3;
    f.SetShares(100);
    f.SetPrice(0.9);
    f.SetTaxRate(10);
    EXPECT_NEAR(f.taxCredit, 10, 1e-9);
    f.SetTaxRate(95);
    EXPECT_EQ(f.taxRate, 90) << "capped";
    EXPECT_NEAR(f.taxCredit, 810, 1e-9);
    f.SetTaxRate(10);
    f.SetTaxCredit(10.2); // 10.18%: within 0.4 of 10 keeps the rate
    EXPECT_EQ(f.taxRate, 10);
    f.SetTaxCredit(22.5); // 20%
    EXPECT_EQ(f.taxRate, 20);
    f.SetTaxCredit(10.5); // 10.44%: rounded
    EXPECT_EQ(f.taxRate, 10);
    TransactionFigures none;
    none.type = 3;
    none.SetTaxCredit(0);
    EXPECT_TRUE(std::isfinite(none.taxRate)) << "credit + received of 0 leaves the rate";
}

TEST(TransactionFiguresInStep, SplitRatioAndNewNumber)
{
    TransactionFigures f;
    f.type = 13;
    f.previousHolding = 200;
    f.SetNewNumber(500);
    EXPECT_DOUBLE_EQ(f.ratio, 2.5);
    f.SetRatio(0.5);
    EXPECT_DOUBLE_EQ(f.newNumber, 100);
    TransactionFigures empty;
    empty.type = 13;
    empty.SetNewNumber(100);
    EXPECT_DOUBLE_EQ(empty.ratio, 1) << "no previous holding leaves the ratio";
}

TEST(Rebasing, ChoicesFollowTheDate)
{
    const struct {
        int type;
        PackedDate date;
        bool b1965, b1982;
    } cases[] = {
        {1, PackDate(5, 4, 1965), true, true},
        {1, PackDate(6, 4, 1965), false, true},
        {1, PackDate(1, 4, 1982), false, true},
        {1, PackDate(6, 4, 1982), false, false},
        {2, PackDate(1, 1, 1960), false, false},
    };
    for (const auto& c : cases) {
        RebasingChoices r = RebasingChoicesFor(c.type, c.date);
        EXPECT_EQ(r.base1965, c.b1965) << c.date;
        EXPECT_EQ(r.base1982, c.b1982) << c.date;
    }
    EXPECT_EQ(FallBackGainsBase(1, {false, true}), 2);
    EXPECT_EQ(FallBackGainsBase(1, {false, false}), 0);
    EXPECT_EQ(FallBackGainsBase(2, {true, true}), 2);
}

TransactionAnswer Answer(int type)
{
    TransactionAnswer a;
    a.figures.type = type;
    a.date = PackDate(3, 3, 2010);
    a.cashAccount = 4;
    return a;
}

TEST(BuildingTheRecord, SplitRatioDecidesTheTypeAndZeroBecomesOne)
{
    const struct {
        int chosen;
        double ratio;
        int type;
        float stored;
    } cases[] = {{13, 0, 13, 1}, {14, 2, 13, 2}, {13, 0.5, 14, 0.5}, {14, 1, 14, 1}, {13, 1, 13, 1}};
    for (const auto& c : cases) {
        TransactionAnswer a = Answer(c.chosen);
        a.figures.ratio = c.ratio;
        a.figures.shares = 10;
        TransactionFields f = BuildTransactionFields(a, 0x100, "Alpha", 2, nullptr);
        EXPECT_EQ(f.type, c.type) << c.ratio;
        EXPECT_FLOAT_EQ(f.splitRatio, c.stored);
        EXPECT_EQ(f.shares, 0);
        EXPECT_EQ(f.cashAccount, 0);
    }
}

TEST(BuildingTheRecord, FieldsFlagsTextsAndKeptBits)
{
    TransactionAnswer a = Answer(2);
    a.figures.shares = 100;
    a.figures.price = 2;
    a.figures.SetCharges(10, 0, 1);
    a.smallReceipt = a.otherUnit = true;
    a.note = "A note";
    a.reference = std::string(25, 'R');
    TransactionFields old;
    old.flags = 0x46 | TransactionFlag::IgnoreInGains;
    old.texts[3] = "kept";
    TransactionFields f = BuildTransactionFields(a, 0x100, "Alpha", 7, &old);
    EXPECT_EQ(f.flags, 0x46 | TransactionFlag::FloatValues | TransactionFlag::SmallReceipt | TransactionFlag::OtherUnit);
    EXPECT_FLOAT_EQ(f.amount, 189);
    EXPECT_FLOAT_EQ(f.charges, 11);
    EXPECT_FLOAT_EQ(f.consideration, 200);
    EXPECT_EQ(f.portfolioNumber, 7);
    EXPECT_EQ(f.cashAccount, 4);
    EXPECT_EQ(f.texts[0], "Alpha");
    EXPECT_EQ(f.texts[1], "A note");
    EXPECT_EQ(f.texts[3], "kept");
    EXPECT_EQ(f.reference[18], 'R');
    EXPECT_EQ(f.reference[19], 0) << "the reference keeps its NUL";
    TransactionAnswer d = Answer(3);
    d.figures.shares = 250;
    d.figures.price = 0.04;
    d.figures.total = 99;
    EXPECT_FLOAT_EQ(BuildTransactionFields(d, 1, "A", 0, nullptr).amount, 10) << "a dividend's total is shares x price";
}

class Storing : public ::testing::Test {
protected:
    void TearDown() override { FreeTransactions(portfolio_.transactions); }
    Transaction* Store(int type, double shares, PackedDate date, Transaction* old = nullptr)
    {
        TransactionAnswer a = Answer(type);
        a.figures.shares = shares;
        a.figures.price = 1;
        a.date = date;
        return StoreTransaction(portfolio_, BuildTransactionFields(a, 0x100, "Alpha", 0, nullptr), old);
    }
    int Count() const
    {
        int n = 0;
        for (const Transaction* t = portfolio_.transactions; t; t = t->next)
            ++n;
        return n;
    }
    Portfolio portfolio_;
};

TEST_F(Storing, NewRecordsGoInDateOrderAndAnEditTakesTheOldOnesPlace)
{
    Transaction* later = Store(1, 10, PackDate(2, 2, 2010));
    Store(1, 20, PackDate(1, 1, 2010));
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(portfolio_.transactions->date(), PackDate(1, 1, 2010));
    EXPECT_EQ(portfolio_.changed, 1);
    Transaction* edited = Store(2, 5, PackDate(3, 3, 2010), later);
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(portfolio_.transactions->next, edited);
    EXPECT_EQ(edited->type(), 2);
    Transaction stranger;
    EXPECT_FALSE(RemoveTransaction(portfolio_, &stranger));
    EXPECT_TRUE(RemoveTransaction(portfolio_, edited));
    EXPECT_EQ(Count(), 1);
}

TEST_F(Storing, PreviousHoldingComesFromTheLatestRowOrUndoesTheEditedRecord)
{
    TransactionFields latest;
    latest.type = kLatestRowType;
    latest.shareId = 0x100;
    latest.holding = 250;
    latest.texts[0] = "Alpha";
    StoreTransaction(portfolio_, latest, nullptr);
    EXPECT_DOUBLE_EQ(PreviousHoldingOf(portfolio_, 0x100, 0), 250);
    EXPECT_DOUBLE_EQ(PreviousHoldingOf(portfolio_, 0x100, 1), 0);
    TransactionFields f;
    f.holding = 300;
    f.shares = 100;
    const struct {
        uint8_t type;
        float ratio;
        double previous;
    } cases[] = {{1, 0, 200}, {2, 0, 400}, {13, 3, 100}, {13, 0, 300}, {3, 0, 300}};
    for (const auto& c : cases) {
        f.type = c.type;
        f.splitRatio = c.ratio;
        EXPECT_DOUBLE_EQ(PreviousHoldingOf(f), c.previous) << int(c.type);
    }
}

// The holding on a date counts the records up to that day's end, one split a day, the edited record
// left out, other lines and shares apart.
TEST_F(Storing, TheHoldingOnADateCountsTheRecordsUpToIt)
{
    Store(1, 100, PackDate(1, 1, 2010));
    Transaction* sale = Store(2, 30, PackDate(1, 2, 2010));
    Transaction* split = Store(1, 0, PackDate(1, 3, 2010));
    Store(1, 50, PackDate(1, 4, 2010));
    TransactionFields f = *DecodeTransaction(split->bytes);
    f.type = 13;
    f.splitRatio = 2;
    split = StoreTransaction(portfolio_, f, split);
    StoreTransaction(portfolio_, f, nullptr); // a second split that day counts for nothing
    TransactionFields other = f;
    other.type = 1;
    other.shares = 999;
    other.line = 1;
    StoreTransaction(portfolio_, other, nullptr);
    const struct {
        PackedDate date;
        double held;
    } cases[] = {{PackDate(31, 12, 2009), 0}, {PackDate(1, 1, 2010), 100}, {PackDate(15, 2, 2010), 70},
                 {PackDate(1, 3, 2010), 140},  {PackDate(1, 4, 2010), 190}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(HoldingOnDate(portfolio_, 0x100, 0, c.date, nullptr), c.held) << FormatDate(c.date);
    EXPECT_DOUBLE_EQ(HoldingOnDate(portfolio_, 0x100, 0, PackDate(15, 2, 2010), sale), 100) << "the edited sale";
    EXPECT_DOUBLE_EQ(HoldingOnDate(portfolio_, 0x100, 1, PackDate(1, 4, 2010), nullptr), 999);
    EXPECT_DOUBLE_EQ(HoldingOnDate(portfolio_, 0x200, 0, PackDate(1, 4, 2010), nullptr), 0);
}

} // namespace
