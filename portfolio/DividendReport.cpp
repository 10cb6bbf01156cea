// The dividend report of a portfolio for a tax year.
#include "portfolio/DividendReport.h"

#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "core/PackedDate.h"
#include "core/StringPrintf.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

namespace L = TransactionLayout;

constexpr int kDividend = 3;

float FieldF(const Transaction& t, size_t at)
{
    float v;
    std::memcpy(&v, t.bytes.data() + at, sizeof v);
    return v;
}

// A stored rate outside 0-90 (or not a number) would give no credit or divide by zero.
double CappedRate(double rate) { return rate >= 0 ? std::min(rate, kMaxTaxCreditRate) : 0.0; }

} // namespace

double DividendTaxCredit(double received, double rate)
{
    rate = CappedRate(rate);
    return rate * received / (100 - rate);
}

std::string DividendReportCaption(const std::string& portfolio, int year)
{
    return StringPrintf("Dividend report for portfolio %s, tax year %i/%i",
                        portfolio.empty() ? "unknown" : portfolio.c_str(), year, year + 1);
}

std::vector<std::string> DividendReportLines(const Transaction* transactions, int year)
{
    std::vector<std::string> lines{"Date\tName\tNo. Shares\tNet\tReceived\tTax Rate\tTax Credit"};
    year = std::clamp(year, kDividendFirstYear, kDividendLastYear);
    const PackedDate from = PackDate(6, 4, year);
    const PackedDate to = year < kDividendLastYear ? PackDate(5, 4, year + 1) : kLastPackedDate;
    double received = 0;
    double credits = 0;
    for (const Transaction* t = transactions; t; t = t->next) {
        if (t->type() != kDividend || t->date() < from || t->date() > to)
            continue;
        const double amount = FieldF(*t, L::Amount);
        const double rate = CappedRate(FieldF(*t, L::TaxCreditRate));
        const double credit = DividendTaxCredit(amount, rate);
        lines.push_back(StringPrintf("%s\t%s\t%g\t%s\t%s\t%g%%\t%s", FormatDate(t->date()).c_str(),
                                     std::string(t->text(0)).c_str(), double(FieldF(*t, L::Shares)),
                                     FormatMoney(FieldF(*t, L::Price), true, true).c_str(),
                                     FormatMoney(amount, true, false).c_str(), rate, FormatMoney(credit, true, false).c_str()));
        received += amount;
        credits += credit;
    }
    if (received > 0) {
        lines.push_back("");
        lines.push_back(StringPrintf("Total\tTax year %i/%i\t\t\t%s\t\t%s", year, year + 1,
                                     FormatMoney(received, true, false).c_str(), FormatMoney(credits, true, false).c_str()));
    } else {
        lines.push_back(StringPrintf("No dividends in tax year %i/%i", year, year + 1));
    }
    return lines;
}

} // namespace qv
