// The portfolio valuation report at one date or two.
#include "portfolio/ValuationReport.h"

#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "core/StringPrintf.h"
#include "core/TradingCalendar.h"
#include "platform/ByteOrder.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

namespace L = TransactionLayout;

constexpr uint16_t kAnyLineFrom = 0xF000;
constexpr double kLeastShares = 1e-9;

float FieldF(const Transaction& t, size_t at) { return LoadF32(t.bytes.data() + at); }

bool AddsShares(int type) { return type == 1 || type == 4 || type == 8 || type == 10 || type == 11; }
bool RemovesShares(int type) { return type == 2 || type == 5; }
bool Splits(int type) { return type == 13 || type == 14; }

bool SameRun(const Transaction& a, const Transaction& b)
{
    return a.shareId() == b.shareId() && (a.line() == b.line() || a.shareId() >= kAnyLineFrom);
}

// One holding: its first transaction and its 'Latest' row (null when the run has none).
struct Run {
    const Transaction* first;
    const Transaction* latest;
};

std::vector<Run> Runs(const Transaction* head)
{
    std::vector<Run> runs;
    for (const Transaction* t = head; t;) {
        Run run{t, nullptr};
        const Transaction* last = t;
        for (; t && SameRun(*run.first, *t); t = t->next) {
            last = t;
            if (t->type() == kLatestRowType) {
                t = t->next;
                break;
            }
        }
        if (last->type() == kLatestRowType)
            run.latest = last;
        runs.push_back(run);
    }
    return runs;
}

std::string NameOf(const Run& run)
{
    return std::string((run.latest ? run.latest : run.first)->text(0));
}

std::string Money(double v) { return FormatMoney(v, true, false); }

// The value of a run's holding on the date; `latestFallback` takes the 'Latest' row's stored value
// when the price gives none.
double ValueAt(const ValuationInputs& in, const Run& run, double held, PackedDate date, bool latestFallback)
{
    double value = 0;
    if (in.pricePence)
        value = in.pricePence(run.first->shareId(), run.first->line(), date) * held * 0.01;
    if (value == 0 && latestFallback && run.latest && run.latest->date() <= date)
        value = FieldF(*run.latest, L::Consideration);
    return std::isfinite(value) ? value : 0.0;
}

std::string Change(double earlier, double later, bool percent)
{
    if (earlier == 0)
        return {};
    if (!percent)
        return Money(later - earlier);
    if (earlier > 0 && later > 0)
        return StringPrintf("%.1f%%", (later - earlier) * 100 / earlier);
    return {};
}

} // namespace

ValuationSettings& CurrentValuationSettings()
{
    static ValuationSettings settings;
    return settings;
}

PackedDate ValuationDay(PackedDate date)
{
    if (WeekdayOf(date) >= 5 || IsMarketHoliday(date))
        return PreviousWeekday(date, true);
    return date;
}

double HoldingAt(const Transaction* first, PackedDate date)
{
    double count = 0;
    for (const Transaction* t = first; t && SameRun(*first, *t); t = t->next) {
        const int type = t->type();
        if (type == kLatestRowType || t->date() > date)
            break;
        if (AddsShares(type))
            count += FieldF(*t, L::Shares);
        else if (RemovesShares(type))
            count -= FieldF(*t, L::Shares);
        else if (Splits(type))
            count *= FieldF(*t, L::SplitRatio);
    }
    return count;
}

std::vector<std::string> SingleDateValuation(const ValuationInputs& in, PackedDate date)
{
    const std::vector<Run> runs = Runs(in.transactions);
    std::vector<double> held, values;
    double total = 0;
    if (in.includeCash)
        for (const ValuationCash& cash : in.cash)
            total += cash.balanceAt(date);
    for (const Run& run : runs) {
        held.push_back(HoldingAt(run.first, date));
        values.push_back(ValueAt(in, run, held.back(), date, false));
        if (values.back() > 0.001)
            total += values.back();
    }
    auto share = [&](double value) { return total > 0.0001 ? (value * 100 + 0.05) / total : 0.0; };
    std::vector<std::string> lines{
        StringPrintf(" Company name\tNumber\t%s\t%% of holding", FormatDateWithDay(date).c_str()), ""};
    for (size_t i = 0; i < runs.size(); ++i) {
        std::string line = StringPrintf(" %s\t", NameOf(runs[i]).c_str());
        if (std::fabs(held[i]) < kLeastShares)
            line += "-\t-";
        else if (values[i] == 0)
            line += FormatAmount(held[i]) + "\t-";
        else
            line += StringPrintf("%s\t%s\t%.1f%%", FormatAmount(held[i]).c_str(), Money(values[i]).c_str(),
                                 share(values[i]));
        lines.push_back(line);
    }
    if (in.includeCash) {
        for (const ValuationCash& cash : in.cash) {
            const double balance = cash.balanceAt(date);
            lines.push_back(StringPrintf(" %s (cash)\t%s\t%s\t%.1f%%", cash.name.c_str(), "", Money(balance).c_str(),
                                         share(balance)));
        }
        if (in.cash.empty())
            lines.push_back(" Cash\t-\t\xA3" "0.00\t0.0%");
    }
    lines.push_back("\t\t----------------");
    lines.push_back(StringPrintf(" Total value\t\t%s\t100.0%%", Money(total).c_str()));
    lines.push_back(" ");
    return lines;
}

std::vector<std::string> ComparisonValuation(const ValuationInputs& in, PackedDate first, PackedDate second,
                                             bool percent)
{
    const PackedDate earlier = ValuationDay(std::min(first, second));
    const PackedDate later = ValuationDay(std::max(first, second));
    std::vector<std::string> lines{StringPrintf(" Company name\t\t%s\t\t%s\t%s", FormatDateWithDay(earlier).c_str(),
                                                FormatDateWithDay(later).c_str(), percent ? "% change" : "Change"),
                                   ""};
    double totalEarlier = 0, totalLater = 0;
    for (const Run& run : Runs(in.transactions)) {
        const double heldEarlier = HoldingAt(run.first, earlier);
        const double heldLater = HoldingAt(run.first, later);
        const double valueEarlier = std::fabs(heldEarlier) < kLeastShares ? 0 : ValueAt(in, run, heldEarlier, earlier, true);
        const double valueLater = std::fabs(heldLater) < kLeastShares ? 0 : ValueAt(in, run, heldLater, later, true);
        totalEarlier += valueEarlier;
        totalLater += valueLater;
        std::string line = StringPrintf(" %s\t", NameOf(run).c_str());
        if (std::fabs(heldEarlier) < kLeastShares)
            line += "-\t-\t";
        else
            line += FormatAmount(heldEarlier) + "\t" + (valueEarlier == 0 ? "-" : Money(valueEarlier)) + "\t";
        if (std::fabs(heldLater) < kLeastShares)
            line += "-\t-";
        else if (valueLater == 0)
            line += FormatAmount(heldLater) + "\t-";
        else
            line += FormatAmount(heldLater) + "\t" + Money(valueLater) + "\t" + Change(valueEarlier, valueLater, percent);
        lines.push_back(line);
    }
    if (in.includeCash) {
        for (const ValuationCash& cash : in.cash) {
            const double a = cash.balanceAt(earlier);
            const double b = cash.balanceAt(later);
            totalEarlier += a;
            totalLater += b;
            std::string line = StringPrintf(" %s (cash)\t", cash.name.c_str());
            line += a == 0 ? "-\t-\t" : "-\t" + Money(a) + "\t";
            line += b == 0 ? "-\t-" : "-\t" + Money(b) + "\t" + Change(a, b, percent);
            lines.push_back(line);
        }
    }
    lines.push_back("\t\t----------------\t\t----------------");
    lines.push_back(StringPrintf(" Total\t\t%s\t\t%s\t%s", Money(totalEarlier).c_str(), Money(totalLater).c_str(),
                                 Change(totalEarlier, totalLater, percent).c_str()));
    return lines;
}

} // namespace qv
