// The valuation report over scripted portfolios: the valuation day, holdings at a date, and the lines
// of the single-date and comparison reports.
#include "portfolio/ValuationReport.h"

#include "core/DateText.h"
#include "core/TradingCalendar.h"
#include "portfolio/Transaction.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv {
namespace {

struct Row {
    const char* date;
    int type; // 1 buy, 2 sell, 13 split, 15 'Latest'
    double shares;
    uint16_t share = 1;
    uint8_t line = 0;
    float extra = 0; // split ratio, or a 'Latest' row's value
};

class Script {
public:
    explicit Script(std::vector<Row> rows)
    {
        Transaction** tail = &head_;
        for (const Row& r : rows) {
            TransactionFields f;
            f.date = ParseDate(r.date);
            f.type = uint8_t(r.type);
            f.shareId = r.share;
            f.line = r.line;
            f.shares = float(r.shares);
            f.splitRatio = r.type == 13 ? r.extra : 0;
            f.consideration = r.type == kLatestRowType ? r.extra : kNotComputed;
            f.texts[0] = r.share == 1 ? "Alpha & Sons" : "Beta";
            auto t = std::make_unique<Transaction>();
            t->bytes = *EncodeTransaction(f);
            *tail = t.get();
            tail = &t->next;
            rows_.push_back(std::move(t));
        }
        in.transactions = head_;
        // 100p a share for share 1, 200p for share 2 line 0, nothing for line 1; none before 2005.
        in.pricePence = [](uint16_t share, uint8_t line, PackedDate date) -> double {
            if (date < PackDate(1, 1, 2005) || line == 1)
                return 0;
            return share == 1 ? 100 : 200;
        };
    }
    ValuationInputs in;

private:
    Transaction* head_ = nullptr;
    std::vector<std::unique_ptr<Transaction>> rows_;
};

PackedDate D(const char* text) { return ParseDate(text); }

TEST(ValuationReport, TheValuationDayRollsBackOffWeekendsAndHolidays)
{
    EXPECT_EQ(ValuationDay(D("6/6/2010")), D("4/6/2010")) << "Sunday as Friday";
    EXPECT_EQ(ValuationDay(D("7/6/2010")), D("7/6/2010"));
    for (PackedDate holiday : MarketHolidays()) {
        if (WeekdayOf(holiday) != 4 || IsMarketHoliday(PackedDate(DayNumberToDate(DateToDayNumber(holiday) - 1))))
            continue;
        const PackedDate sunday = DayNumberToDate(DateToDayNumber(holiday) + 2);
        EXPECT_EQ(ValuationDay(sunday), DayNumberToDate(DateToDayNumber(holiday) - 1))
            << "Sunday " << FormatDate(sunday) << " after a Friday holiday is the Thursday";
        return;
    }
    ADD_FAILURE() << "no Friday holiday in the calendar";
}

TEST(ValuationReport, SingleDateLines)
{
    Script s({{"1/6/2006", 1, 1000},
              {"8/12/2026", kLatestRowType, 1000, 1, 0, 1000},
              {"1/6/2012", 1, 500, 2},
              {"8/12/2026", kLatestRowType, 500, 2, 0, 1000},
              {"1/6/2006", 1, 300, 2, 1},
              {"8/12/2026", kLatestRowType, 300, 2, 1, 0}});
    const std::vector<std::string> lines = SingleDateValuation(s.in, D("2/1/2010"));
    const std::vector<std::string> expected = {
        " Company name\tNumber\t" + FormatDateWithDay(D("2/1/2010")) + "\t% of holding",
        "",
        " Alpha & Sons\t1,000\t\xA3" "1,000.00\t100.0%",
        " Beta\t-\t-",   // bought after the date
        " Beta\t300\t-", // the second line of the share: held, without a price
        "\t\t----------------",
        " Total value\t\t\xA3" "1,000.00\t100.0%",
        " ",
    };
    EXPECT_EQ(lines, expected);

    // With the cash asked for and no account attached: the zero cash line, the shares unchanged.
    s.in.includeCash = true;
    std::vector<std::string> withCash = SingleDateValuation(s.in, D("2/1/2010"));
    EXPECT_EQ(withCash[2], expected[2]);
    EXPECT_EQ(withCash[5], " Cash\t-\t\xA3" "0.00\t0.0%");

    // An account holding as much again halves the shares' part.
    s.in.cash.push_back({"Deposit", [](PackedDate) { return 1000.0; }});
    withCash = SingleDateValuation(s.in, D("2/1/2010"));
    EXPECT_EQ(withCash[2], " Alpha & Sons\t1,000\t\xA3" "1,000.00\t50.0%");
    EXPECT_EQ(withCash[5], " Deposit (cash)\t\t\xA3" "1,000.00\t50.0%");
    EXPECT_EQ(withCash[7], " Total value\t\t\xA3" "2,000.00\t100.0%");

    // Nothing priced: a zero total gives every share of it as 0.0 %.
    s.in.cash = {{"Empty", [](PackedDate) { return 0.0; }}};
    withCash = SingleDateValuation(s.in, D("2/1/2003"));
    EXPECT_EQ(withCash[2], " Alpha & Sons\t-\t-");
    EXPECT_EQ(withCash[5], " Empty (cash)\t\t\xA3" "0.00\t0.0%");
}

TEST(ValuationReport, HoldingsCountSplitsAndALatestRowBeforeTheDateMarksThePoint)
{
    Script s({{"1/6/2006", 1, 1000}, {"1/6/2008", 2, 400}, {"1/6/2010", 13, 0, 1, 0, 2}, {"8/12/2011", kLatestRowType, 1200}});
    const Transaction* first = s.in.transactions;
    EXPECT_EQ(HoldingAt(first, D("31/5/2006")), 0);
    EXPECT_EQ(HoldingAt(first, D("1/6/2006")), 1000);
    EXPECT_EQ(HoldingAt(first, D("1/1/2009")), 600);
    EXPECT_EQ(HoldingAt(first, D("1/1/2011")), 1200);
    // A date after the 'Latest' row (the database's last day) still values the holding.
    EXPECT_EQ(SingleDateValuation(s.in, D("1/6/2013"))[2], " Alpha & Sons\t1,200\t\xA3" "1,200.00\t100.0%");
}

TEST(ValuationReport, ComparisonLines)
{
    Script s({{"1/6/2006", 1, 1000},
              {"1/6/2010", 13, 0, 1, 0, 2},
              {"8/12/2026", kLatestRowType, 2000, 1, 0, 2000},
              {"1/6/2012", 1, 500, 2},
              {"8/12/2026", kLatestRowType, 500, 2, 0, 1000}});
    // Dates entered later-first are swapped; the split multiplies the later holding only.
    const std::vector<std::string> lines = ComparisonValuation(s.in, D("4/1/2011"), D("4/1/2010"), true);
    const std::vector<std::string> expected = {
        " Company name\t\t" + FormatDateWithDay(D("4/1/2010")) + "\t\t" + FormatDateWithDay(D("4/1/2011")) +
            "\t% change",
        "",
        " Alpha & Sons\t1,000\t\xA3" "1,000.00\t2,000\t\xA3" "2,000.00\t100.0%",
        " Beta\t-\t-\t-\t-",
        "\t\t----------------\t\t----------------",
        " Total\t\t\xA3" "1,000.00\t\t\xA3" "2,000.00\t100.0%",
    };
    EXPECT_EQ(lines, expected);
    const std::vector<std::string> absolute = ComparisonValuation(s.in, D("4/1/2010"), D("4/1/2013"), false);
    EXPECT_EQ(absolute[0].substr(absolute[0].size() - 7), "\tChange");
    EXPECT_EQ(absolute[3], " Beta\t-\t-\t500\t\xA3" "1,000.00\t");
    EXPECT_EQ(absolute[5], " Total\t\t\xA3" "1,000.00\t\t\xA3" "3,000.00\t\xA3" "2,000.00");
}

} // namespace
} // namespace qv
