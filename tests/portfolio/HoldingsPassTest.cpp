// Tests of the holdings pass, the summary of the 'Latest' rows and cash balances.
#include "portfolio/HoldingsPass.h"

#include "core/CashAccounts.h"
#include "core/Memory.h"
#include "core/PackedDate.h"
#include "platform/ByteOrder.h"
#include "portfolio/CashEntry.h"
#include "core/Portfolio.h"
#include "portfolio/Transaction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace qv;

namespace {

namespace L = TransactionLayout;

const uint16_t kLatest = PackDate(1, 6, 2010);

struct Tx {
    uint16_t date;
    uint8_t type;
    float shares = 0;
    float price = 0;
    float amount = 0;
    float ratio = 0;
    uint8_t flags = 0;
    uint16_t id = 0x100;
    std::string name = "Alpha";
    float charges = 0;
    uint16_t cash = 0xFFFF;
};

class Holdings : public ::testing::Test {
protected:
    void TearDown() override { FreeTransactions(portfolio_.transactions); }

    void Add(const Tx& x)
    {
        TransactionFields f;
        f.date = x.date;
        f.type = x.type;
        f.shares = x.shares;
        f.price = x.price;
        f.amount = x.amount;
        f.splitRatio = x.ratio;
        f.flags = uint8_t(TransactionFlag::FloatValues | x.flags);
        f.shareId = x.id;
        f.texts[0] = x.name;
        f.brokerCharge = x.charges;
        f.cashAccount = x.cash;
        auto* t = new Transaction;
        t->bytes = *EncodeTransaction(f);
        InsertSortedByName(portfolio_.transactions, t);
    }

    void Run() { BuildHoldingRows(portfolio_, market_); }

    std::vector<const Transaction*> Records(uint16_t id = 0x100) const
    {
        std::vector<const Transaction*> out;
        for (const Transaction* t = portfolio_.transactions; t; t = t->next)
            if (t->shareId() == id)
                out.push_back(t);
        return out;
    }
    const Transaction* Latest(uint16_t id = 0x100) const
    {
        for (const Transaction* t : Records(id))
            if (t->type() == kLatestRowType)
                return t;
        return nullptr;
    }
    static float F(const Transaction* t, size_t at) { return LoadF32(&t->bytes[at]); }

    Portfolio portfolio_;
    std::map<uint16_t, HoldingShare> shares_{{0x100, {"Alpha", 300, 5}}, {0x200, {"Beta", 50, -2}}};
    HoldingsMarket market_{kLatest, [this](uint16_t id, uint8_t) -> std::optional<HoldingShare> {
                               auto it = shares_.find(id);
                               if (it == shares_.end())
                                   return std::nullopt;
                               return it->second;
                           }};
};

TEST_F(Holdings, ASplitBetweenABuyAndASaleMatchesTheSaleAtHalfAndCountsOncePerDate)
{
    Add({PackDate(1, 2, 2005), 1, 100, 2.0f, 200});
    Add({PackDate(1, 3, 2006), 13, 0, 0, 0, 2});
    Add({PackDate(1, 3, 2006), 14, 0, 0, 0, 2}); // same date: not counted again
    Add({PackDate(1, 4, 2007), 2, 150, 1.5f, 225});
    Run();
    auto rows = Records();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_FLOAT_EQ(F(rows[0], L::Unmatched), 25);
    EXPECT_FLOAT_EQ(F(rows[1], L::Holding), 200);
    EXPECT_FLOAT_EQ(F(rows[2], L::Holding), 200);
    EXPECT_FLOAT_EQ(F(rows[3], L::Holding), 50);
    const Transaction* latest = Latest();
    ASSERT_EQ(latest, rows[4]);
    EXPECT_FLOAT_EQ(F(latest, L::Holding), 50);
    EXPECT_FLOAT_EQ(F(latest, L::Consideration), 150); // 50 at 300p
    // Realised: 150 x 1.50 less the cost of the 75 original shares matched (at 2.00 each).
    EXPECT_FLOAT_EQ(F(latest, L::RealisedProfit), 225 - 150);
    EXPECT_FLOAT_EQ(F(latest, L::AverageCost), 200.0f / 200);
    EXPECT_EQ(F(latest, L::AnnualReturn), kNotComputed); // any sale removes the annualised return
}

TEST_F(Holdings, TheLatestRowCarriesTheIgnoreFlagOnlyWhenEveryBuyAndSaleIsIgnored)
{
    Add({PackDate(1, 2, 2005), 1, 100, 2, 200, 0, TransactionFlag::IgnoreInGains});
    Add({PackDate(1, 2, 2006), 2, 10, 2, 20, 0, TransactionFlag::IgnoreInGains});
    Add({PackDate(1, 2, 2005), 1, 10, 2, 20, 0, 0, 0x200, "Beta"});
    Add({PackDate(1, 2, 2006), 1, 10, 2, 20, 0, TransactionFlag::IgnoreInGains, 0x200, "Beta"});
    Run();
    EXPECT_TRUE(Latest(0x100)->bytes[L::Flags] & TransactionFlag::IgnoreInGains);
    EXPECT_FALSE(Latest(0x200)->bytes[L::Flags] & TransactionFlag::IgnoreInGains);
}

TEST_F(Holdings, ReturnsAndTheAnnualisedReturnFollowTheirThresholds)
{
    // One buy two years back at 150p, now 300p: the annualised return is about 41%.
    Add({PackDate(1, 6, 2008), 1, 100, 1.5f, 150});
    // Beta: bought on the latest day adds nothing to the annualised return.
    Add({kLatest, 1, 100, 0.5f, 50, 0, 0, 0x200, "Beta"});
    Run();
    const Transaction* alpha = Latest(0x100);
    EXPECT_FLOAT_EQ(F(alpha, L::ReturnPercent), 100); // 300 value on 150 paid
    EXPECT_NEAR(F(alpha, L::AnnualReturn), (std::sqrt(2.0) - 1) * 100, 0.5);
    EXPECT_FLOAT_EQ(F(alpha, L::Profit), 150);
    EXPECT_FLOAT_EQ(F(alpha, L::PriceChange), 5);
    EXPECT_EQ(F(Latest(0x200), L::AnnualReturn), kNotComputed);

    struct Case {
        float paid, value;
        float expected;
    } cases[] = {
        {0.05f, 100, kNotComputed},  // paid less than 10p: no return
        {1, 100000, kNotComputed},   // above 999999%
    };
    for (const Case& c : cases) {
        FreeTransactions(portfolio_.transactions);
        shares_[0x100].closePence = c.value;
        Add({PackDate(1, 6, 2008), 1, 100, c.paid / 100, c.paid});
        Run();
        EXPECT_EQ(F(Latest(), L::ReturnPercent), c.expected) << c.paid << " " << c.value;
    }
}

TEST_F(Holdings, RunsWithoutSharesBoughtLeaveTheAverageCostNotComputed)
{
    Add({PackDate(1, 2, 2005), 3, 100, 0.1f, 10});            // a dividend only
    Add({PackDate(1, 2, 2005), 2, 10, 2, 20, 0, 0, 0x200, "Beta"}); // a sale with no buy
    Run();
    for (uint16_t id : {0x100, 0x200}) {
        const Transaction* latest = Latest(id);
        ASSERT_NE(latest, nullptr);
        EXPECT_EQ(F(latest, L::AverageCost), kNotComputed) << id;
        EXPECT_EQ(F(latest, L::Amount), kNotComputed) << id;
        EXPECT_TRUE(std::isfinite(F(latest, L::Profit))) << id;
    }
    EXPECT_FLOAT_EQ(F(Latest(0x100), L::RealisedProfit), 10);
    EXPECT_FLOAT_EQ(F(Latest(0x100), L::Price), 0); // nothing held
}

TEST_F(Holdings, RecordsFollowTheDatabaseNameOrBecomeLostShares)
{
    Add({PackDate(1, 2, 2005), 1, 100, 2, 200, 0, 0, 0x100, "Alpha Old"});
    Add({PackDate(1, 2, 2005), 1, 100, 2, 200, 0, 0, 0x300, "Gone but named"});
    Add({PackDate(1, 2, 2005), 1, 100, 2, 200, 0, 0, 0x301, std::string("Bad\x01name")});
    // A long first note survives the rename.
    {
        auto fields = *DecodeTransaction(portfolio_.transactions->bytes);
        ASSERT_EQ(fields.texts[0], "Alpha Old");
        fields.texts[1] = std::string(200, 'n');
        portfolio_.transactions->bytes = *EncodeTransaction(fields);
    }
    Run();
    EXPECT_EQ(Records(0x100).front()->text(0), "Alpha");
    EXPECT_EQ(Records(0x100).front()->text(1), std::string(200, 'n'));
    EXPECT_EQ(Records(0x300).front()->text(0), "Gone but named");
    EXPECT_EQ(Records(0x301).front()->text(0), kLostShareName);
    EXPECT_EQ(Records(0x301).front()->text(1), "");
    // A gone share is valued at 0 and the list stays in name order.
    EXPECT_FLOAT_EQ(F(Latest(0x300), L::Consideration), 0);
    std::vector<std::string> names;
    for (const Transaction* t = portfolio_.transactions; t; t = t->next)
        if (t->type() == kLatestRowType)
            names.emplace_back(t->text(0));
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Gone but named", "Lost Share"}));
}

TEST_F(Holdings, APassAgainGivesTheSameRows)
{
    Add({PackDate(1, 2, 2005), 1, 100, 2, 200});
    Add({PackDate(1, 2, 2006), 2, 40, 3, 120});
    Run();
    std::vector<std::vector<uint8_t>> first;
    for (const Transaction* t = portfolio_.transactions; t; t = t->next)
        first.push_back(t->bytes);
    Run();
    std::vector<std::vector<uint8_t>> second;
    for (const Transaction* t = portfolio_.transactions; t; t = t->next)
        second.push_back(t->bytes);
    EXPECT_EQ(first, second);
}

class CashFixture : public Holdings {
protected:
    void SetUp() override
    {
        account_ = new CashAccount;
        account_->number = 3;
        account_->kind = 0; // attached to portfolio 0
        account_->dataSize = 1024;
        account_->data = static_cast<uint8_t*>(ProCalloc(1, 1024, nullptr));
        CashAccounts().head = account_;
    }
    void TearDown() override
    {
        CashAccounts().head = nullptr;
        ProFree(account_->data);
        delete account_;
        Holdings::TearDown();
    }
    void Entry(uint8_t type, uint16_t date, float amount)
    {
        CashEntryFields f;
        f.type = type;
        f.date = date;
        f.amount = amount;
        ASSERT_TRUE(AddCashEntry(account_->data, account_->dataSize, *EncodeCashEntry(f)));
    }
    CashAccount* account_ = nullptr;
};

TEST_F(CashFixture, BalancesCountEntriesByTypeAndTransactionsByClassUpToTheDate)
{
    const uint16_t d1 = PackDate(1, 1, 2009), d2 = PackDate(1, 1, 2010);
    Entry(kCashCredit, d1, 1000);
    Entry(kCashInterest, d1, 10);
    Entry(kCashDebit, d1, 100);
    Entry(kCashCharge, d1, 1);
    Entry(kCashCredit, d2, 500);
    Add({d1, 1, 100, 2, 200, 0, 0, 0x100, "Alpha", 0, 3}); // debit
    Add({d1, 3, 100, 0.1f, 10, 0, 0, 0x100, "Alpha", 0, 3}); // credit
    Add({d1, 13, 0, 0, 0, 2, 0, 0x100, "Alpha", 0, 3});      // no class
    Add({d1, 17, 10, 2, 20, 0, 0, 0x100, "Alpha", 0, 3});    // an order
    Add({d1, 2, 10, 2, 20, 0, 0, 0x200, "Beta", 0, 4});      // another account
    EXPECT_FLOAT_EQ(CashBalanceAt(*account_, nullptr, d1), 909);
    EXPECT_FLOAT_EQ(CashBalanceAt(*account_, &portfolio_, d1), 909 - 200 + 10);
    EXPECT_FLOAT_EQ(CashBalanceAt(*account_, &portfolio_, 0xFFFF), 1409 - 200 + 10);
    EXPECT_FLOAT_EQ(CashBalanceAt(*account_, &portfolio_, d1 - 1), 0);
}

TEST_F(CashFixture, TheValueItemAddsAttachedBalancesOnlyWhenAskedAndAttached)
{
    Entry(kCashCredit, PackDate(1, 1, 2009), 1000);
    Add({PackDate(1, 2, 2005), 1, 100, 2, 200, 0, 0, 0x100, "Alpha", 12.5f});
    Run();
    using Items = std::vector<HeaderItem>;
    auto text = [](const Items& items) {
        std::string out;
        for (const HeaderItem& i : items)
            out += i.label + "=" + i.value + ";";
        return out;
    };
    // 100 at 300p, up 5p today: +5.00 on 295.00.
    EXPECT_EQ(text(PortfolioValueLine(portfolio_, true)),
              "Value=\xA3" "1300.00 / \xA3" "300.00;=\xA3+5.00;=+1.69%;Profit=\xA3" "100;Realised profit=\xA3" "0;"
              "Charges=\xA3" "12.50;");
    EXPECT_EQ(PortfolioValueLine(portfolio_, false)[0].value, "\xA3" "300.00");
    account_->kind = 7; // attached elsewhere
    EXPECT_EQ(PortfolioValueLine(portfolio_, true)[0].value, "\xA3" "300.00");
    Portfolio empty;
    EXPECT_EQ(text(PortfolioValueLine(empty, false)),
              "Value=\xA3" "0.00;=\xA3+0.00;=+0.00%;Profit=\xA3" "0;Realised profit=\xA3" "0;Charges=\xA3" "0.00;");
}

} // namespace
