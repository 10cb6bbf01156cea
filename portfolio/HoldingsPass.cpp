// The holdings pass, the summary of the 'Latest' rows and cash balances.
#include "portfolio/HoldingsPass.h"

#include "core/CashAccounts.h"
#include "core/Database.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "core/TransactionTypes.h"
#include "core/PriceSubRecords.h"
#include "platform/ByteOrder.h"
#include "portfolio/CapitalGains.h"
#include "portfolio/CashEntry.h"
#include "core/Portfolio.h"
#include "portfolio/Transaction.h"

#include <cmath>
#include <vector>

namespace qv {
namespace {

namespace L = TransactionLayout;

constexpr float kYearsPerDay = 0.002739726f;
constexpr float kReturnLimit = 999999.0f;
constexpr float kLeastShares = 0.0001f;
constexpr uint16_t kImportedIds = 0xF000;

HoldingsTaxStep& TaxStep()
{
    static HoldingsTaxStep step = [](Portfolio& p) { RunSilentCapitalGains(p, DatabaseCgtPrice()); };
    return step;
}

float Get(const Transaction& t, size_t at) { return LoadF32(&t.bytes[at]); }
void Put(Transaction& t, size_t at, float v) { StoreF32(&t.bytes[at], v); }

bool SameRun(const Transaction& a, const Transaction& b)
{
    return a.shareId() == b.shareId() && (a.shareId() >= kImportedIds || a.line() == b.line());
}

bool IsSplit(uint8_t type) { return type == 13 || type == 14; }

float Bounded(float v) { return v > kReturnLimit || v < -kReturnLimit || !std::isfinite(v) ? kNotComputed : v; }

std::vector<Transaction*> ListOf(Portfolio& p)
{
    std::vector<Transaction*> out;
    for (Transaction* t = p.transactions; t; t = t->next)
        out.push_back(t);
    return out;
}

// Step 1: the old 'Latest' rows go.
void RemoveLatestRows(Portfolio& p)
{
    Transaction* head = p.transactions;
    Transaction** link = &head;
    while (Transaction* t = *link) {
        if (t->type() == kLatestRowType) {
            *link = t->next;
            delete t;
        } else {
            link = &t->next;
        }
    }
    p.transactions = head;
}

// Step 2: names follow the database; a record of a gone share whose name cannot be shown is a "Lost
// Share". The list is put in order again when any name changed.
void MendNames(Portfolio& p, const HoldingsMarket& market)
{
    bool rebuilt = false;
    for (Transaction* t = p.transactions; t; t = t->next) {
        if (t->bytes.size() < L::FixedSize)
            continue;
        auto share = market.share ? market.share(t->shareId(), t->line()) : std::nullopt;
        if (!share) {
            if (!TransactionNameIsSound(t->bytes)) {
                ForgetRowsShowing(t->bytes.data());
                RebuildAsLostShare(t->bytes);
                rebuilt = true;
            }
        } else if (share->name != t->text(0)) {
            ForgetRowsShowing(t->bytes.data());
            RenameTransaction(t->bytes, share->name);
            rebuilt = true;
        }
    }
    if (!rebuilt)
        return;
    Transaction* head = nullptr;
    for (Transaction* t : ListOf(p)) {
        t->next = nullptr;
        InsertSortedByName(&head, t);
    }
    p.transactions = head;
}

// The product of the ratios of the run's splits and consolidations in [from, to), each date once.
float SplitProduct(const std::vector<Transaction*>& run, size_t from, size_t to)
{
    float product = 1;
    uint16_t counted = 0;
    for (size_t i = from; i < to; ++i) {
        const Transaction& t = *run[i];
        if (!IsSplit(t.type()) || t.date() == counted)
            continue;
        counted = t.date();
        const float ratio = Get(t, L::SplitRatio);
        if (ratio > 0)
            product *= ratio;
    }
    return product;
}

struct RunSums {
    float held = 0, bought = 0, cost = 0, flow = 0, income = 0, realised = 0, charges = 0;
    float weightedCost = 0, weightedGrowth = 0;
    bool noAnnualRate = false;
    bool allIgnored = true;
    uint16_t lastSplitDate = 0;
};

// Matches a sale first in first out against the run's earlier acquisitions.
void MatchDisposal(const std::vector<Transaction*>& run, size_t sale, RunSums& s)
{
    float remaining = Get(*run[sale], L::Shares);
    for (size_t i = 0; i < sale && remaining > 0.001f; ++i) {
        Transaction& buy = *run[i];
        const float unmatched = Get(buy, L::Unmatched);
        if (!TranAddsShares(buy.type()) || unmatched <= 0)
            continue;
        const float factor = 1 / SplitProduct(run, i + 1, sale);
        const float used = std::min(remaining, unmatched / factor);
        Put(buy, L::Unmatched, unmatched - used * factor);
        const float bought = Get(buy, L::Shares);
        if (bought > 0)
            s.realised -= used * factor * (Get(buy, L::Amount) / bought);
        remaining -= used;
    }
}

void Acquire(const std::vector<Transaction*>& run, size_t i, const HoldingsMarket& market, float latestPence,
             RunSums& s)
{
    Transaction& t = *run[i];
    const float shares = Get(t, L::Shares), price = Get(t, L::Price);
    if (!(t.bytes[L::Flags] & TransactionFlag::IgnoreInGains))
        s.allIgnored = false;
    s.held += shares;
    Put(t, L::Unmatched, shares);
    s.bought += shares;
    s.flow -= Get(t, L::Amount);
    const float cost = shares == 0 ? price : price * shares;
    s.cost += cost;
    const float years = float(DaysBetween(t.date(), market.latestDate)) * kYearsPerDay;
    if (t.date() > market.latestDate || years <= 0)
        return;
    const float adjusted = price / SplitProduct(run, i, run.size());
    if (!(adjusted > 0)) {
        s.noAnnualRate = true;
        return;
    }
    s.weightedGrowth += std::exp(std::log(latestPence / (adjusted * 100)) / years) * years * cost;
    s.weightedCost += years * cost;
}

void Dispose(const std::vector<Transaction*>& run, size_t i, RunSums& s)
{
    Transaction& t = *run[i];
    const float shares = Get(t, L::Shares);
    if (!(t.bytes[L::Flags] & TransactionFlag::IgnoreInGains))
        s.allIgnored = false;
    s.held -= shares;
    s.noAnnualRate = true;
    s.flow += Get(t, L::Amount);
    s.realised += shares * Get(t, L::Price) - Get(t, L::Charges);
    MatchDisposal(run, i, s);
}

void Step(const std::vector<Transaction*>& run, size_t i, const HoldingsMarket& market, float latestPence, RunSums& s)
{
    Transaction& t = *run[i];
    const uint8_t type = t.type();
    const float charges = Get(t, L::BrokerCharge) + Get(t, L::StampDuty) + Get(t, L::ContractLevy);
    Put(t, L::Charges, charges);
    s.charges += charges;
    if (TranAddsShares(type)) {
        Acquire(run, i, market, latestPence, s);
    } else if (type == 12) {
        s.flow -= Get(t, L::Amount);
        const float shares = Get(t, L::Shares), price = Get(t, L::Price);
        s.cost += shares == 0 ? price : price * shares;
    } else if (TranRemovesShares(type)) {
        Dispose(run, i, s);
    } else if (type == 3 || type == 6 || type == 9) {
        s.income += Get(t, L::Amount);
        s.realised += Get(t, L::Amount);
    } else if (type == 7) {
        s.flow -= Get(t, L::Amount);
    } else if (IsSplit(type) && t.date() != s.lastSplitDate) {
        s.lastSplitDate = t.date();
        const float ratio = Get(t, L::SplitRatio);
        s.bought *= ratio;
        s.held *= ratio;
    }
    Put(t, L::Holding, s.held);
}

// Step 4: the run's 'Latest' row, linked in after its last record.
Transaction* MakeLatestRow(const Portfolio& p, const Transaction& last, const HoldingsMarket& market,
                           const std::optional<HoldingShare>& share, const RunSums& s)
{
    TransactionFields f;
    f.type = kLatestRowType;
    f.date = market.latestDate;
    f.shareId = last.shareId();
    f.line = last.line();
    f.shareType = last.bytes[L::ShareType];
    f.flags = TransactionFlag::FloatValues | (s.allIgnored ? TransactionFlag::IgnoreInGains : 0);
    f.portfolioNumber = p.number;
    f.texts[0] = std::string(last.text(0));
    f.price = share ? share->closePence / 100 : 0;
    f.cashAccount = 0xFFFF;
    auto* row = new Transaction;
    row->bytes = *EncodeTransaction(f);
    return row;
}

// Step 5: the 'Latest' row's valuation.
void Value(Transaction& row, const std::optional<HoldingShare>& share, RunSums s)
{
    const float latest = share ? share->closePence : 0;
    const float held = s.held;
    const float value = latest * held / 100;
    s.income += value;
    Put(row, L::PriceChange, share ? share->changePence : 0);
    float ret = kNotComputed;
    if (s.income == 0 && held != 0)
        ret = 0;
    else if (s.flow < -0.1f && held != 0)
        ret = (-1 - s.income / s.flow) * 100;
    Put(row, L::ReturnPercent, Bounded(ret));
    const bool annual = !s.noAnnualRate && s.weightedCost != 0;
    Put(row, L::AnnualReturn, annual ? Bounded((s.weightedGrowth / s.weightedCost - 1) * 100) : kNotComputed);
    Put(row, L::Holding, held);
    Put(row, L::RealisedProfit, s.realised);
    Put(row, L::Consideration, value);
    Put(row, L::Charges, s.charges);
    Put(row, L::Profit, s.income + s.flow);
    // Without shares bought (dividends only, a sale with no recorded buy) there is no average cost.
    const bool bought = s.bought >= kLeastShares;
    Put(row, L::AverageCost, bought ? s.cost / s.bought : kNotComputed);
    Put(row, L::Shares, held);
    if (held < kLeastShares)
        Put(row, L::Price, 0);
    Put(row, L::Amount, bought ? (s.cost / s.bought) * held + s.charges * held / s.bought : kNotComputed);
    Put(row, L::GainBeforeLosses, 0);
    Put(row, L::GainAfterLosses, 0);
}

void ClearDerived(Transaction& t)
{
    for (size_t at : {L::Consideration, L::Profit, L::ReturnPercent, L::AnnualReturn, L::GainBeforeLosses,
                      L::GainAfterLosses, L::RealisedProfit})
        Put(t, at, kNotComputed);
    Put(t, L::Unmatched, 0);
}

void PassOverRun(const Portfolio& p, std::vector<Transaction*>& run, const HoldingsMarket& market)
{
    const Transaction& last = *run.back();
    auto share = market.share ? market.share(last.shareId(), last.line()) : std::nullopt;
    const float latestPence = share ? share->closePence : 0;
    RunSums sums;
    for (size_t i = 0; i < run.size(); ++i)
        Step(run, i, market, latestPence, sums);
    Transaction* row = MakeLatestRow(p, last, market, share, sums);
    row->next = run.back()->next;
    run.back()->next = row;
    Value(*row, share, sums);
}

} // namespace

LineFigures ReadLineFigures(uint8_t* record, uint32_t line)
{
    LineFigures figures;
    if (!record)
        return figures;
    SubRecordSpan span = SubRecordOf(record, line);
    auto read = [&](uint32_t at, float& out) {
        if (span && span.sub + at + 4 <= span.end)
            out = LoadF32(span.sub + at);
    };
    read(kStatLastClose, figures.close);
    read(kStatChange, figures.change);
    read(kStatMarketValue, figures.capital);
    return figures;
}

HoldingsMarket DatabaseHoldingsMarket()
{
    HoldingsMarket market;
    market.latestDate = LatestDatabaseDate;
    market.share = [](uint16_t id, uint8_t line) -> std::optional<HoldingShare> {
        uint8_t* record = FindShareRecord(id);
        if (!record)
            return std::nullopt;
        HoldingShare share;
        share.name = std::string(GetRecordTexts(record).name);
        const LineFigures figures = ReadLineFigures(record, line);
        share.closePence = figures.close;
        share.changePence = figures.change;
        return share;
    };
    return market;
}

void SetHoldingsTaxStep(HoldingsTaxStep step) { TaxStep() = std::move(step); }

void BuildHoldingRows(Portfolio& portfolio, const HoldingsMarket& market)
{
    RemoveLatestRows(portfolio);
    MendNames(portfolio, market);
    std::vector<Transaction*> run;
    for (Transaction* t = portfolio.transactions; t;) {
        Transaction* next = t->next;
        if (t->bytes.size() >= L::FixedSize) {
            ClearDerived(*t);
            run.push_back(t);
        }
        if (!run.empty() && (!next || !SameRun(*run.back(), *next))) {
            PassOverRun(portfolio, run, market);
            run.clear();
        }
        t = next;
    }
    if (TaxStep())
        TaxStep()(portfolio);
}

void BuildHoldingRows(Portfolio& portfolio) { BuildHoldingRows(portfolio, DatabaseHoldingsMarket()); }

bool& IncludeAttachedCashOption()
{
    static bool include = true;
    return include;
}

std::vector<HeaderItem> PortfolioValueLine(const Portfolio& portfolio, bool includeCash)
{
    double value = 0, profit = 0, realised = 0, charges = 0, change = 0;
    for (const Transaction* t = portfolio.transactions; t; t = t->next) {
        if (t->type() != kLatestRowType || t->bytes.size() < L::FixedSize)
            continue;
        value += LoadF32(&t->bytes[L::Consideration]);
        profit += LoadF32(&t->bytes[L::Profit]);
        realised += LoadF32(&t->bytes[L::RealisedProfit]);
        charges += LoadF32(&t->bytes[L::Charges]);
        change += double(LoadF32(&t->bytes[L::PriceChange])) * LoadF32(&t->bytes[L::Holding]);
    }
    std::vector<HeaderItem> items;
    bool attached = false;
    double cash = 0;
    if (includeCash)
        for (const CashAccount* a = CashAccounts().head; a; a = a->next)
            if (a->kind == int32_t(portfolio.number)) {
                attached = true;
                cash += CashBalanceAt(*a, &portfolio, 0xFFFF);
            }
    if (attached)
        items.push_back({"Value", StringPrintf("\xA3%.2f / \xA3%.2f", value + cash, value)});
    else
        items.push_back({"Value", StringPrintf("\xA3%.2f", value)});
    items.push_back({"", StringPrintf("\xA3%+.2f", change / 100)});
    const double base = value - change / 100;
    items.push_back({"", StringPrintf("%+.2f%%", base == 0 ? 0.0 : change / base)});
    items.push_back({"Profit", StringPrintf("\xA3%.0f", profit)});
    items.push_back({"Realised profit", StringPrintf("\xA3%.0f", realised)});
    items.push_back({"Charges", StringPrintf("\xA3%.2f", charges)});
    return items;
}

float CashBalanceAt(const CashAccount& account, const Portfolio* portfolio, uint16_t date)
{
    float balance = 0;
    for (uint32_t pos = 0; account.data && pos < account.dataSize && account.data[pos] != 0;) {
        auto entry = DecodeCashEntry({account.data + pos, account.dataSize - pos});
        if (!entry)
            break;
        pos += account.data[pos];
        if (entry->date > date)
            continue;
        balance += float(CashEntrySign(entry->type)) * entry->amount;
    }
    if (!portfolio)
        return balance;
    for (const Transaction* t = portfolio->transactions; t; t = t->next) {
        if (t->bytes.size() < L::FixedSize || t->date() > date ||
            LoadU16(&t->bytes[L::CashAccount]) != account.number)
            continue;
        balance += float(TranCashSign(t->type())) * LoadF32(&t->bytes[L::Amount]);
    }
    return balance;
}

} // namespace qv
