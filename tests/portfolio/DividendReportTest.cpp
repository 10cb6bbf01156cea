// The dividend report: the tax year's bounds, the credit and its rate cap, the totals.
#include "portfolio/DividendReport.h"

#include "core/DateText.h"
#include "portfolio/Transaction.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv {
namespace {

struct Dividend {
    const char* date;
    double shares;
    double perShare;
    double rate;
};

class Dividends {
public:
    explicit Dividends(std::vector<Dividend> rows)
    {
        Transaction** tail = &head_;
        for (const Dividend& d : rows) {
            TransactionFields f;
            f.date = ParseDate(d.date);
            f.type = 3;
            f.shareId = 1;
            f.shares = float(d.shares);
            f.price = float(d.perShare);
            f.amount = float(d.shares * d.perShare);
            f.taxCreditRate = float(d.rate);
            f.texts[0] = "A&B Holdings";
            auto t = std::make_unique<Transaction>();
            t->bytes = *EncodeTransaction(f);
            *tail = t.get();
            tail = &t->next;
            rows_.push_back(std::move(t));
        }
    }
    const Transaction* head() const { return head_; }

private:
    Transaction* head_ = nullptr;
    std::vector<std::unique_ptr<Transaction>> rows_;
};

TEST(DividendReport, YearBoundsCreditsAndTotals)
{
    Dividends d({{"5/4/2004", 100, 0.1, 10},
                 {"6/4/2004", 1000, 0.05, 10},
                 {"5/4/2005", 200, 0.25, 0},
                 {"6/4/2005", 300, 1, 10}});
    const std::vector<std::string> lines = DividendReportLines(d.head(), 2004);
    const std::vector<std::string> expected = {
        "Date\tName\tNo. Shares\tNet\tReceived\tTax Rate\tTax Credit",
        "6/4/04\tA&B Holdings\t1000\t\xA3" "0.05\t\xA3" "50.00\t10%\t\xA3" "5.56",
        "5/4/05\tA&B Holdings\t200\t\xA3" "0.25\t\xA3" "50.00\t0%\t\xA3" "0.00",
        "",
        "Total\tTax year 2004/2005\t\t\t\xA3" "100.00\t\t\xA3" "5.56",
    };
    EXPECT_EQ(lines, expected);
}

TEST(DividendReport, NoDividendsAndTheRateCap)
{
    EXPECT_EQ(DividendReportLines(nullptr, 2010),
              (std::vector<std::string>{"Date\tName\tNo. Shares\tNet\tReceived\tTax Rate\tTax Credit",
                                        "No dividends in tax year 2010/2011"}));
    EXPECT_DOUBLE_EQ(DividendTaxCredit(90, 10), 10);
    EXPECT_DOUBLE_EQ(DividendTaxCredit(90, 0), 0);
    // A stored 100 % would divide by zero: the rate stops at 90, as the transaction dialog stops it.
    EXPECT_DOUBLE_EQ(DividendTaxCredit(10, 100), 90);
    EXPECT_DOUBLE_EQ(DividendTaxCredit(10, -5), 0);
    Dividends full({{"1/6/2004", 100, 0.1, 100}});
    EXPECT_EQ(DividendReportLines(full.head(), 2004)[1], "1/6/04\tA&B Holdings\t100\t\xA3" "0.10\t\xA3" "10.00\t90%\t\xA3"
                                                          "90.00");
    EXPECT_EQ(DividendReportCaption("", 2001), "Dividend report for portfolio unknown, tax year 2001/2002");
}

} // namespace
} // namespace qv
