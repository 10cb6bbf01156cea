// The capital gains pass: lots, same-day amalgamation, the matching rules of each era, the pools and
// their indexation, taper relief, rebasing, receipts, and the setting off of losses year by year.
#include "portfolio/CapitalGains.h"

#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "core/Portfolio.h"
#include "core/PriceLookups.h"
#include "core/RecordLookup.h"
#include "core/StringPrintf.h"
#include "core/SystemDate.h"
#include "platform/ByteOrder.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace qv {
namespace {

namespace L = TransactionLayout;

constexpr double kTiny = 0.0001;
constexpr double kPre1982BaseRpi = 79.44;
constexpr uint32_t kDescribeStep = 4097;
constexpr uint32_t kClosingLine = 4096;
constexpr uint32_t kYearLine = 8192;

enum LotKind { kDone = 0, kAcquisition = 1, kDisposal = 2, kValuation = 15 };

float GetF(const Transaction& t, size_t at) { return LoadF32(t.bytes.data() + at); }
void PutF(Transaction& t, size_t at, double v) { StoreF32(t.bytes.data() + at, float(v)); }

bool AddsShares(int type) { return type == 1 || type == 4 || type == 8 || type == 10 || type == 11 || type == 12; }
bool RemovesShares(int type) { return type == 2 || type == 5; }

std::string Money(double v) { return FormatMoney(v, true, false); }
std::string Price(double v) { return FormatMoney(v, true, true); }
std::string Num(double v) { return FormatAmount(v); }
std::string MonthText(PackedDate d) { return FormatMonthShortYear(d); }
std::string RpiText(double rpi) { return StringPrintf("%.*f", rpi >= 100 ? 1 : 2, rpi); }
std::string YearText(int year) { return FormatMonthYear(year); }
std::string Ratio(double cost, double n, double number)
{
    return StringPrintf(" (%s x %g / %g)", Money(cost).c_str(), n, number);
}

struct CgtLot {
    double remaining = 0;
    double number = 0;
    double price = 0;
    double costs = 0;
    double value = 0;
    double valueWithCosts = 0;
    double splitFactor = 1.0;
    double rpi = 0;
    double adjustment = 1.0;
    int kind = kDone;
    int firstKind = kDone;
    uint8_t flags = 0;
    PackedDate date = 0;
    PackedDate ownDate = 0; // a valuation row's own date
    uint8_t type = 0;
    uint16_t share = 0;
    uint8_t line = 0;
    bool described = false;
    Transaction* tx = nullptr;

    bool SameHolding(const CgtLot& o) const { return share == o.share && line == o.line; }
    bool IsDisposal() const { return firstKind == kDisposal || firstKind == kValuation; }
};

struct Holdings {
    double cost1982 = 0, number1982 = 0;
    double s104Indexed = 0, s104Cost = 0, s104Number = 0;
    double newIndexed = 0, newCost = 0, newNumber = 0;
    double lastRpi = 0, lastAdjustment = 1.0;
    PackedDate indexDate = 0;
    bool frozen = false;
    bool cost1982Shown = false;
    bool identified = false;
    bool started1982Era = false;
    bool started1998Era = false;
};

struct GainEntry {
    uint32_t sequence;
    double gain;
    double gainLeft;
    double taper;
    PackedDate date;
    size_t lot;
};
struct LossEntry {
    uint32_t sequence;
    double loss;
    PackedDate date;
    size_t lot;
};

class CapitalGainsPass {
public:
    CapitalGainsPass(const CgtInputs& inputs, const CgtReportFilter& filter, bool keepText)
        : in_(inputs), filter_(filter), keepText_(keepText), lines_(filter) {}

    CgtPassResult Run();

private:
    // Lots
    void MakeLots();
    void ScaleForSplit(const Transaction& t);
    void Amalgamate();
    void MatchLots();
    void StartHolding(size_t i);

    // Lines
    // The text is a string or a function making it, called only when the pass keeps its lines.
    template <typename Text>
    void Line(PackedDate date, uint16_t share, uint32_t sequence, Text&& text)
    {
        if (!keepText_)
            return;
        if constexpr (std::is_invocable_v<Text>)
            lines_.Add(date, share, sequence, text());
        else
            lines_.Add(date, share, sequence, std::string(text));
    }
    template <typename Text>
    void Line(Text&& text)
    {
        Line(Lot().date, Lot().share, seq_, std::forward<Text>(text));
    }
    CgtLot& Lot() { return lots_[cur_]; }
    PackedDate TaperDisposalDate() { return Lot().firstKind == kValuation ? Lot().ownDate : Lot().date; }

    // Eras
    void DisposePre1965();
    void Dispose1965To1982();
    void Dispose1982To1998();
    void Acquire1982To1998();
    void Dispose1998On();

    // Matching
    void IdentifyPurchase();
    bool MatchOne(size_t acq, bool thirtyDays, bool sameDay);
    void MatchWithin10Days();
    void PoolStep(PackedDate newTaper, PackedDate s104Taper);
    void IdentifyPool(double& indexed, double& cost, double& number, PackedDate taperDate);
    void Identify1982Holding();
    void IdentifyPre1965();
    void ValueOfHolding();
    bool SmallReceipt();
    void PotentialGain();

    // Arithmetic
    void IndexS104Holding();
    void DescribeS104Holding();
    void DescribeDisposal();
    void DescribeAcquisition(size_t i, const char* suffix);
    void PartDisposalValue(double n);
    double GainOrLossLine(double sale, double indexed, double unindexed, const std::string& prefix);
    double IndexedCost(double n, double number, double cost, const std::string& prefix);
    void ApplyTaper(double gain, PackedDate acquired);
    void TakeFromDisposal(double n);
    double Rebasing(size_t i, bool use1965) const;

    // Years
    void EarlyYear(int year, double broughtIn);
    void OffsetLosses();
    void AfterLossesForTaperYears();
    double ManualOr(int year, double computed) const;
    int LastYear() const;
    std::string LotYearText(PackedDate date) const;

    const CgtInputs& in_;
    CgtReportFilter filter_;
    bool keepText_;
    CgtReportLines lines_;
    std::vector<CgtLot> lots_;
    std::vector<GainEntry> gains_;
    std::vector<LossEntry> losses_;
    Holdings h_;
    size_t cur_ = 0;
    size_t holdingStart_ = 0;
    uint32_t seq_ = 0;
    double total_ = 0;
    CgtPassResult out_;
    PackedDate lastPre1990Date_ = 0;
    int todayYear_ = 0;
    int lastYear_ = 0;
};

// --- Lots ---------------------------------------------------------------------------------------

void CapitalGainsPass::ScaleForSplit(const Transaction& t)
{
    double ratio = GetF(t, L::SplitRatio);
    if (!(ratio > 0))
        return;
    for (CgtLot& lot : lots_) {
        if (lot.share != t.shareId() || lot.line != t.line())
            continue;
        lot.remaining *= ratio;
        lot.number *= ratio;
        lot.price /= ratio;
    }
}

void CapitalGainsPass::MakeLots()
{
    PackedDate lastSplitDate = 0;
    uint16_t lastSplitShare = 0;
    uint8_t lastSplitLine = 0;
    const CgtLot* previous = nullptr;
    for (Transaction* t = in_.transactions; t; t = t->next) {
        int type = t->type();
        uint8_t flags = t->bytes[L::Flags];
        double shares = GetF(*t, L::Shares);
        double price = GetF(*t, L::Price);
        if (flags & TransactionFlag::IgnoreInGains) {
            double value = std::abs(shares) < 0.001 ? price : shares * price;
            Line(t->date(), t->shareId(), 0, [&] {
                return StringPrintf("Ignore %s %s shares value %s", RemovesShares(type) ? "sale" : "purchase",
                                    Num(shares).c_str(), Money(value).c_str());
            });
            PutF(*t, L::GainBeforeLosses, kCgtNotCalculated);
            PutF(*t, L::GainAfterLosses, kCgtNotCalculated);
            continue;
        }
        if (type == 13 || type == 14) {
            if (t->date() != lastSplitDate || t->shareId() != lastSplitShare || t->line() != lastSplitLine)
                ScaleForSplit(*t);
            lastSplitDate = t->date();
            lastSplitShare = t->shareId();
            lastSplitLine = t->line();
            continue;
        }
        if (type == 3)
            continue;
        CgtLot lot;
        lot.tx = t;
        lot.type = uint8_t(type);
        lot.flags = flags;
        lot.share = t->shareId();
        lot.line = t->line();
        lot.date = t->date();
        lot.kind = AddsShares(type) ? kAcquisition : RemovesShares(type) ? kDisposal : type;
        lot.remaining = lot.number = std::max(0.0, shares);
        lot.price = price;
        lot.costs = GetF(*t, L::Charges);
        lot.value = lot.number < 0.001 ? price : lot.number * price;
        bool newHolding = !previous || !previous->SameHolding(lot);
        if (newHolding && type != kLatestRowType && (filter_.allYears || filter_.taxYear > 0))
            Line(lot.date, lot.share, 0, std::string(t->text(0)));
        if (flags & TransactionFlag::IgnorePounds) {
            double ignore = std::min<double>(GetF(*t, L::IgnoredAmount), lot.value);
            lot.value -= ignore;
            Line(lot.date, lot.share, 0, [&] { return StringPrintf("Ignore %s of sale", Money(ignore).c_str()); });
        }
        if (lot.kind == kDisposal) {
            PutF(*t, L::GainBeforeLosses, 0);
            PutF(*t, L::GainAfterLosses, 0);
            lot.valueWithCosts = lot.value - lot.costs;
        } else {
            lot.valueWithCosts = lot.value + lot.costs;
        }
        if (type == kLatestRowType) {
            double number = GetF(*t, L::Shares);
            if (number <= kTiny)
                continue;
            lot.ownDate = lot.date;
            lot.date = CgtDate::Valuation;
            lot.costs = 0;
            lot.value = lot.valueWithCosts = GetF(*t, L::Consideration);
            lot.price = lot.value / number;
            Line(lot.date, lot.share, 0, [&] {
                return StringPrintf("Potential chargeable gain on %s shares valued at %s", Num(number).c_str(),
                                    Price(lot.price).c_str());
            });
        } else if (lot.number < kTiny && std::abs(lot.value) < kTiny) {
            lot.kind = kDone;
            Line(lot.date, lot.share, 0, "Transaction ignored");
        }
        int month = CgtMonthIndex(lot.date == CgtDate::Valuation ? lot.ownDate : lot.date);
        lot.rpi = RpiOfMonth(month);
        lot.adjustment = 1.0 + IndexationFactor(month);
        lot.firstKind = lot.kind;
        lots_.push_back(lot);
        previous = &lots_.back();
    }
}

void CapitalGainsPass::Amalgamate()
{
    PackedDate lineDate = 0;
    for (size_t i = 0; i < lots_.size();) {
        CgtLot& first = lots_[i];
        size_t j = i + 1;
        for (; j < lots_.size(); ++j) {
            CgtLot& other = lots_[j];
            if (first.kind == kDone || other.date != first.date || other.kind != first.kind ||
                !other.SameHolding(first))
                break;
            first.remaining += other.remaining;
            first.number += other.number;
            first.value += other.value;
            first.valueWithCosts += other.valueWithCosts;
            first.costs += other.costs;
            // Two receipts or part payments on a day hold no shares: the price stays as it was.
            if (first.remaining > kTiny)
                first.price = first.value / first.remaining;
            other.kind = other.firstKind = kDone;
            if (lineDate != first.date)
                Line(first.date, first.share, 0, "Amalgamate share purchases and sales on same day");
            lineDate = first.date;
        }
        i = j;
    }
}

void CapitalGainsPass::StartHolding(size_t i)
{
    h_ = Holdings{};
    holdingStart_ = i;
}

void CapitalGainsPass::MatchLots()
{
    for (cur_ = 0; cur_ < lots_.size(); ++cur_) {
        if (cur_ == 0 || !lots_[cur_].SameHolding(lots_[cur_ - 1]))
            StartHolding(cur_);
        CgtLot& lot = Lot();
        if (lot.kind == kDone)
            continue;
        seq_ = 0;
        h_.identified = false;
        bool disposal = lot.kind == kDisposal || lot.kind == kValuation;
        if (lot.kind != kAcquisition && !disposal)
            continue;
        if (lot.date < CgtDate::Apr1965) {
            if (disposal)
                DisposePre1965();
            else
                DescribeAcquisition(cur_, "(pre-1965)");
        } else if (lot.date < CgtDate::Apr1982) {
            if (disposal) {
                Dispose1965To1982();
            } else {
                DescribeAcquisition(cur_, "(1982 holding)");
                h_.cost1982 += lot.value;
                h_.number1982 += lot.remaining;
                lot.kind = kDone;
            }
        } else if (lot.date < CgtDate::Apr1998) {
            if (!h_.started1982Era && h_.number1982 > kTiny && !h_.cost1982Shown) {
                Line(CgtDate::Apr1982, lot.share, 0, [&] {
                    return StringPrintf("Cost of '1982 holding' (%s shares)\t%s", Num(h_.number1982).c_str(),
                                        Money(h_.cost1982).c_str());
                });
                h_.cost1982Shown = true;
            }
            h_.started1982Era = true;
            if (disposal)
                Dispose1982To1998();
            else
                Acquire1982To1998();
        } else {
            if (!h_.started1998Era && h_.s104Number + h_.newNumber > kTiny && !h_.frozen) {
                PackedDate keep = lot.date;
                lot.date = CgtDate::Apr1998First;
                IndexS104Holding();
                lot.date = keep;
                h_.frozen = true;
            }
            h_.started1998Era = true;
            if (disposal)
                Dispose1998On();
            else
                DescribeAcquisition(cur_, "");
        }
    }
}

// --- Eras ---------------------------------------------------------------------------------------

void CapitalGainsPass::DisposePre1965()
{
    if (SmallReceipt())
        return;
    DescribeDisposal();
    IdentifyPre1965();
    PotentialGain();
}

void CapitalGainsPass::Dispose1965To1982()
{
    if (SmallReceipt())
        return;
    DescribeDisposal();
    Identify1982Holding();
    PotentialGain();
}

void CapitalGainsPass::Dispose1982To1998()
{
    if (SmallReceipt())
        return;
    DescribeDisposal();
    IndexS104Holding();
    MatchWithin10Days();
    PoolStep(CgtDate::Mar1998, CgtDate::Jan1996);
    PotentialGain();
}

void CapitalGainsPass::Acquire1982To1998()
{
    CgtLot& lot = Lot();
    DescribeAcquisition(cur_, "(S104 holding)");
    IndexS104Holding();
    if (lot.date < CgtDate::Mar1998) {
        h_.s104Indexed += lot.value;
        h_.s104Cost += lot.value;
        h_.s104Number += lot.type == 12 ? 0.0 : lot.remaining;
    } else {
        h_.newIndexed += lot.value;
        h_.newCost += lot.value;
        h_.newNumber += lot.type == 12 ? 0.0 : lot.remaining;
    }
    if (h_.indexDate == 0)
        h_.indexDate = lot.date;
    DescribeS104Holding();
    // The lot stays open for a 10-day match, but the pool now holds it.
    lot.kind = kDone;
}

void CapitalGainsPass::Dispose1998On()
{
    CgtLot& lot = Lot();
    if (lot.remaining <= kTiny && std::abs(lot.value) <= kTiny)
        return;
    if (SmallReceipt())
        return;
    DescribeDisposal();
    IdentifyPurchase();
    PutF(*lot.tx, L::GainBeforeLosses, total_);
    DescribeS104Holding();
    lot.kind = kDone;
}

// --- Matching -----------------------------------------------------------------------------------

void CapitalGainsPass::TakeFromDisposal(double n)
{
    CgtLot& d = Lot();
    if (d.remaining <= 0)
        return;
    double share = std::min(1.0, n / d.remaining);
    d.value -= d.value * share;
    d.remaining -= n;
    if (d.remaining < kTiny)
        d.remaining = 0;
}

bool CapitalGainsPass::MatchOne(size_t a, bool thirtyDays, bool sameDay)
{
    CgtLot& d = Lot();
    CgtLot& acq = lots_[a];
    double n = std::min(d.remaining, acq.remaining);
    if (n < kTiny)
        return false;
    if (thirtyDays) {
        DescribeAcquisition(a, "");
    } else if (h_.identified) {
        Line("");
    }
    h_.identified = true;
    ++seq_;
    Line([&] {
        std::string how = sameDay ? std::string("on same day")
                                  : StringPrintf("%s%s", thirtyDays ? "within 30 days " : "within 10 days ",
                                                 FormatDate(acq.date).c_str());
        return StringPrintf("Match %s share purchase and sale %s", Num(n).c_str(), how.c_str());
    });
    if (thirtyDays && !sameDay)
        Line(acq.date, acq.share, seq_, [&] {
            return StringPrintf("Match %s share purchase and sale within 30 days %s", Num(n).c_str(),
                                FormatDate(d.date).c_str());
        });
    double sale = n * d.value / d.remaining;
    double cost = n * acq.value / acq.remaining;
    Line([&] {
        return StringPrintf("Sale value of %s shares%s\t%s", Num(n).c_str(), Ratio(d.value, n, d.remaining).c_str(),
                            Money(sale).c_str());
    });
    Line([&] {
        return StringPrintf("Cost of %s shares%s\t%s", Num(n).c_str(), Ratio(acq.value, n, acq.remaining).c_str(),
                            Money(cost).c_str());
    });
    double gain = sale - cost;
    int year = CgtTaxYearIndex(d.date);
    if (gain > 0.001) {
        Line([&] { return StringPrintf("Chargeable gain\t%s", Money(gain).c_str()); });
        if (d.date >= CgtDate::Apr1990)
            gains_.push_back({seq_, gain, gain, 100.0, d.date, cur_});
    } else if (gain < -0.001) {
        if (thirtyDays)
            Line([&] {
                return StringPrintf("Chargeable loss%s\t%s",
                                    year >= 0 ? StringPrintf(" %s", YearText(year).c_str()).c_str() : "",
                                    Money(gain).c_str());
            });
        else
            Line([&] { return StringPrintf("Chargeable loss\t%s", Money(gain).c_str()); });
        if (d.date >= CgtDate::Apr1990)
            losses_.push_back({seq_, -gain, d.date, cur_});
    } else {
        Line("No chargeable gain or loss");
    }
    total_ += gain;
    acq.value -= cost;
    acq.valueWithCosts = acq.value;
    acq.remaining -= n;
    TakeFromDisposal(n);
    if (acq.remaining < kTiny) {
        acq.remaining = 0;
        if (thirtyDays)
            acq.kind = kDone;
    }
    return true;
}

void CapitalGainsPass::IdentifyPurchase()
{
    CgtLot& d = Lot();
    if (d.remaining <= kTiny && d.value > kTiny) {
        ValueOfHolding();
        return;
    }
    for (size_t a = holdingStart_; a < lots_.size() && lots_[a].SameHolding(d) && d.remaining > kTiny; ++a)
        if (lots_[a].kind == kAcquisition && lots_[a].date == d.date)
            MatchOne(a, true, true);
    // Acquisitions up to and including day 30 after the disposal.
    for (size_t a = cur_ + 1; a < lots_.size() && lots_[a].SameHolding(d) && d.remaining > kTiny; ++a) {
        const CgtLot& acq = lots_[a];
        if (acq.date == CgtDate::Valuation || DaysBetween(d.date, acq.date) > 30)
            break;
        if (acq.kind == kAcquisition && acq.date != d.date)
            MatchOne(a, true, false);
    }
    for (size_t a = cur_; a-- > holdingStart_ && d.remaining > kTiny;) {
        CgtLot& acq = lots_[a];
        if (acq.date < CgtDate::Apr1998)
            break;
        if (acq.kind != kAcquisition || acq.remaining < kTiny)
            continue;
        double n = std::min(d.remaining, acq.remaining);
        ++seq_;
        Line([&] {
            return StringPrintf("Identify %s shares purchased %s", Num(n).c_str(), FormatDate(acq.date).c_str());
        });
        PartDisposalValue(n);
        double cost = n * acq.value / acq.remaining;
        Line([&] {
            return StringPrintf("Cost of %s shares (%s x %g / %g)\t%s", Num(n).c_str(), Money(acq.value).c_str(), n,
                                acq.remaining, Money(cost).c_str());
        });
        double gain = n * d.value / d.remaining - cost;
        acq.value -= cost;
        acq.valueWithCosts = acq.value;
        acq.remaining -= n;
        if (acq.remaining < kTiny)
            acq.remaining = 0;
        TakeFromDisposal(n);
        if (gain < -kTiny)
            Line([&] {
                if (d.date == CgtDate::Valuation)
                    return StringPrintf("Potential chargeable loss\t%s", Money(gain).c_str());
                return StringPrintf("Chargeable loss %s\t%s", LotYearText(d.date).c_str(), Money(gain).c_str());
            });
        ApplyTaper(gain, acq.date);
    }
    if (d.remaining > kTiny)
        PoolStep(CgtDate::Mar1998, CgtDate::Jan1996);
}

void CapitalGainsPass::MatchWithin10Days()
{
    CgtLot& d = Lot();
    // Only acquisitions fewer than 10 days before the disposal: a later one joins the pool.
    for (size_t a = holdingStart_; a < lots_.size() && lots_[a].SameHolding(d) && d.remaining > kTiny; ++a) {
        CgtLot& acq = lots_[a];
        if (acq.date > d.date)
            break;
        if (acq.firstKind != kAcquisition || acq.date < CgtDate::Apr1982 ||
            DaysBetween(acq.date, d.date) >= 10 || acq.remaining < kTiny)
            continue;
        double n = std::min(d.remaining, acq.remaining);
        double cost = n * acq.value / acq.remaining;
        bool newPool = acq.date >= CgtDate::Mar1998;
        double& number = newPool ? h_.newNumber : h_.s104Number;
        double& indexed = newPool ? h_.newIndexed : h_.s104Indexed;
        double& unindexed = newPool ? h_.newCost : h_.s104Cost;
        if (!MatchOne(a, false, acq.date == d.date) || a > cur_)
            continue;
        number = std::max(0.0, number - n);
        indexed = std::max(0.0, indexed - cost);
        unindexed = std::max(0.0, unindexed - cost);
    }
}

void CapitalGainsPass::PoolStep(PackedDate newTaper, PackedDate s104Taper)
{
    CgtLot& d = Lot();
    if (d.remaining <= kTiny && d.value > kTiny && d.date < CgtDate::Apr1998) {
        ValueOfHolding();
        return;
    }
    if (d.remaining > kTiny && h_.newNumber > kTiny)
        IdentifyPool(h_.newIndexed, h_.newCost, h_.newNumber, newTaper);
    if (d.remaining > kTiny && h_.s104Number > kTiny)
        IdentifyPool(h_.s104Indexed, h_.s104Cost, h_.s104Number, s104Taper);
    if (d.remaining > kTiny)
        Identify1982Holding();
}

void CapitalGainsPass::IdentifyPool(double& indexed, double& cost, double& number, PackedDate taperDate)
{
    CgtLot& d = Lot();
    double n = std::min(d.remaining, number);
    ++seq_;
    Line([&] { return StringPrintf("Identify %s shares with 'S104 holding'", Num(n).c_str()); });
    PartDisposalValue(n);
    bool whole = std::abs(n - number) < kTiny;
    double partCost = cost * n / number;
    double partIndexed = indexed * n / number;
    Line([&] {
        return StringPrintf("Unindexed cost of %s shares%s\t%s", Num(n).c_str(),
                            whole ? "" : Ratio(cost, n, number).c_str(), Money(partCost).c_str());
    });
    Line([&] {
        return StringPrintf("Indexed cost of %s shares%s\t%s", Num(n).c_str(),
                            whole ? "" : Ratio(indexed, n, number).c_str(), Money(partIndexed).c_str());
    });
    double sale = n * d.value / d.remaining;
    double gain = GainOrLossLine(sale, partIndexed, partCost, "");
    cost -= partCost;
    indexed -= partIndexed;
    number -= n / d.splitFactor;
    if (number < kTiny)
        number = cost = indexed = 0;
    TakeFromDisposal(n);
    ApplyTaper(gain, taperDate);
}

double CapitalGainsPass::Rebasing(size_t i, bool use1965) const
{
    for (size_t k = i + 1; k-- > holdingStart_;) {
        const CgtLot& lot = lots_[k];
        if (!lot.tx)
            continue;
        double v = GetF(*lot.tx, use1965 ? L::Value1965 : L::Value1982);
        if (v != 0 && std::isfinite(v))
            return v;
    }
    return 0;
}

void CapitalGainsPass::Identify1982Holding()
{
    CgtLot& d = Lot();
    double n = std::min(d.remaining, h_.number1982);
    if (n > kTiny) {
        ++seq_;
        Line([&] { return StringPrintf("Identify %s shares from '1982 holding'", Num(n).c_str()); });
        PartDisposalValue(n);
        double gain = 0;
        double value1982 = Rebasing(cur_, false);
        if (d.tx->bytes[L::GainsBase] == 2) {
            Line([&] { return StringPrintf("Using 1982 cost base %s", Money(value1982 * n).c_str()); });
            gain = IndexedCost(n, n, value1982 * n, "");
        } else if (d.date > CgtDate::Jan1990) {
            Line("Alternative 1 - purchase cost");
            double g1 = IndexedCost(n, h_.number1982, h_.cost1982, " ");
            Line([&] {
                return StringPrintf("Alternative 2 - 1982 valuation: %s", Money(value1982 * h_.number1982).c_str());
            });
            double g2 = IndexedCost(n, h_.number1982, value1982 * h_.number1982, " ");
            if (g1 > 0 && g2 > 0) {
                gain = std::min(g1, g2);
                Line([&] { return StringPrintf("Take lower gain\t%s", Money(gain).c_str()); });
            } else if (g1 < 0 && g2 < 0) {
                gain = std::max(g1, g2);
                Line([&] { return StringPrintf("Take smaller loss\t\t%s", Money(gain).c_str()); });
            } else {
                Line("No gain/no loss");
            }
        } else {
            gain = IndexedCost(n, h_.number1982, h_.cost1982, "");
        }
        h_.cost1982 -= h_.cost1982 * n / h_.number1982;
        h_.number1982 -= n;
        TakeFromDisposal(n);
        ApplyTaper(gain, CgtDate::Apr1982);
    }
    if (d.remaining > kTiny)
        IdentifyPre1965();
}

void CapitalGainsPass::IdentifyPre1965()
{
    CgtLot& d = Lot();
    for (size_t a = holdingStart_; a < cur_ && d.remaining > kTiny; ++a) {
        CgtLot& acq = lots_[a];
        if (acq.firstKind != kAcquisition || acq.date >= CgtDate::Apr1965 || acq.remaining <= 0.001)
            continue;
        double n = std::min(d.remaining, acq.remaining);
        ++seq_;
        Line([&] {
            return StringPrintf("Identify %s shares purchased %s", Num(n).c_str(), FormatDate(acq.date).c_str());
        });
        PartDisposalValue(n);
        double v1965 = Rebasing(a, true);
        double v1982 = Rebasing(a, false);
        double gain = 0;
        int election = acq.tx ? acq.tx->bytes[L::GainsBase] : 0;
        if (election == 1) {
            Line([&] { return StringPrintf("Alternative 1 - 1965 valuation (elected): %s", Price(v1965).c_str()); });
            double g1 = IndexedCost(n, n, v1965 * n, " ");
            Line([&] { return StringPrintf("Alternative 2 - 1982 valuation: %s", Price(v1982).c_str()); });
            double g2 = IndexedCost(n, n, v1982 * n, " ");
            if (g1 < 0 && g2 < 0) {
                gain = std::max(g1, g2);
                Line([&] { return StringPrintf("Take smaller loss\t%s", Money(gain).c_str()); });
            } else if (g1 > 0 && g2 > 0) {
                Line("");
                Line("Alternative 1 - original cost base");
                IndexedCost(n, acq.remaining, acq.value, " ");
                Line("");
                Line("Alternative 2 - 1982 cost base");
                double g4 = IndexedCost(n, n, v1982 * n, " ");
                gain = g4 > 0 ? std::min(g4, g1) : g4;
                if (g4 > 0)
                    Line([&] { return StringPrintf("Take lower gain\t%s", Money(gain).c_str()); });
            } else {
                Line("No gain/no loss");
            }
        } else if (election == 2) {
            Line([&] { return StringPrintf("Using 1982 cost base %s", Money(v1982 * n).c_str()); });
            gain = IndexedCost(n, n, v1982 * n, "");
        } else if (d.date > CgtDate::Jan1990) {
            Line("Alternative 1 - purchase cost");
            double g1 = IndexedCost(n, acq.remaining, acq.value, " ");
            Line([&] { return StringPrintf("Alternative 2 - 1965 valuation: %s", Price(v1965).c_str()); });
            double g2 = IndexedCost(n, n, v1965 * n, " ");
            Line([&] { return StringPrintf("Alternative 3 - 1982 valuation: %s", Price(v1982).c_str()); });
            double g3 = IndexedCost(n, n, v1982 * n, " ");
            if (g1 > 0 && g2 > 0 && g3 > 0) {
                gain = std::min({ g1, g2, g3 });
                Line([&] { return StringPrintf("Take lowest gain\t%s", Money(gain).c_str()); });
            } else if (g1 < 0 && g2 < 0 && g3 < 0) {
                gain = std::max({ g1, g2, g3 });
                Line([&] { return StringPrintf("Take smallest loss\t%s", Money(gain).c_str()); });
            } else {
                Line("No gain/no loss");
            }
        } else {
            gain = IndexedCost(n, acq.remaining, acq.value, "");
        }
        acq.value -= acq.value * n / acq.remaining;
        acq.remaining -= n;
        TakeFromDisposal(n);
        ApplyTaper(gain, acq.date);
    }
    if (d.remaining > kTiny) {
        Line([&] { return StringPrintf("UNABLE TO IDENTIFY %s SHARES", Num(d.remaining).c_str()); });
        double gain = d.value;
        d.value = 0;
        d.remaining = 0;
        ApplyTaper(gain, d.date);
    }
}

// The A / (A + B) rule: a receipt without shares takes part of the cost of the whole holding.
void CapitalGainsPass::ValueOfHolding()
{
    CgtLot& d = Lot();
    IndexS104Holding();
    bool taperEra = d.date >= CgtDate::Apr1998First;
    double number = h_.number1982 + h_.s104Number + h_.newNumber;
    double cost = h_.cost1982 + h_.s104Cost + h_.newCost;
    double indexed = h_.s104Indexed + h_.newIndexed;
    auto indexFrom = [&](double rpi, double adjustment) {
        return taperEra ? adjustment : std::max(1.0, d.rpi / rpi);
    };
    indexed += h_.cost1982 * indexFrom(kPre1982BaseRpi, 1.0 + IndexationFactor(0));
    for (size_t a = holdingStart_; a < cur_; ++a) {
        const CgtLot& acq = lots_[a];
        if (acq.kind != kAcquisition || acq.remaining < kTiny)
            continue;
        number += acq.remaining;
        cost += acq.value;
        indexed += acq.date < CgtDate::Apr1965 ? acq.value * indexFrom(kPre1982BaseRpi, 1.0 + IndexationFactor(0))
                                                : acq.value;
    }
    Line([&] { return StringPrintf("Total unindexed cost of holding %s", Money(cost).c_str()); });
    Line([&] { return StringPrintf("Total indexed cost of holding %s", Money(indexed).c_str()); });
    double price = in_.price ? in_.price(d.share, d.line, d.date) : 0.0;
    double b = number * price;
    Line([&] {
        return StringPrintf("Value of holding (%s x %s)\t%s", Num(number).c_str(), Price(price).c_str(),
                            Money(b).c_str());
    });
    double a = d.value;
    double fraction = a + b > kTiny ? a / (a + b) : 1.0;
    total_ = a;
    auto reduce = [&](const char* what, double base) {
        double part = base * fraction;
        Line([&] {
            return StringPrintf("Reduce %scost base (%s x %s) / (%s + %s)\t%s", what, Money(a).c_str(),
                                Money(base).c_str(), Money(a).c_str(), Money(b).c_str(), Money(part).c_str());
        });
        return part;
    };
    for (size_t i = holdingStart_; i < cur_; ++i) {
        CgtLot& acq = lots_[i];
        if (acq.kind != kAcquisition || acq.remaining < kTiny)
            continue;
        ++seq_;
        Line([&] {
            return StringPrintf("Identify %s cost purchased %s", Money(acq.value).c_str(),
                                FormatDate(acq.date).c_str());
        });
        double part = reduce("", acq.value);
        acq.value -= part;
        acq.valueWithCosts = acq.value;
        total_ -= part;
    }
    if (h_.cost1982 != 0) {
        ++seq_;
        Line([&] { return StringPrintf("Identify %s cost with 1982 holding", Money(h_.cost1982).c_str()); });
        double part = reduce("'1982 holding' ", h_.cost1982);
        h_.cost1982 -= part;
        total_ -= part;
    }
    for (auto [pIndexed, pCost] : {std::pair{&h_.s104Indexed, &h_.s104Cost}, std::pair{&h_.newIndexed, &h_.newCost}}) {
        if (*pCost == 0 && *pIndexed == 0)
            continue;
        ++seq_;
        Line([&, costOf = pCost] { return StringPrintf("Identify %s cost with 'S104 holding'", Money(*costOf).c_str()); });
        *pCost -= reduce("unindexed ", *pCost);
        double part = reduce("indexed ", *pIndexed);
        *pIndexed -= part;
        total_ -= part;
    }
    d.value = 0;
    if (d.date >= CgtDate::Apr1998)
        ApplyTaper(std::exchange(total_, 0.0), CgtDate::Apr1998);
}

bool CapitalGainsPass::SmallReceipt()
{
    CgtLot& d = Lot();
    if (!(d.flags & TransactionFlag::SmallReceipt) || d.kind != kDisposal)
        return false;
    Line([&] { return StringPrintf("Disposal designated as a small receipt %s", Money(d.value - d.costs).c_str()); });
    IndexS104Holding();
    double left = d.value - d.costs;
    for (size_t a = cur_; a-- > holdingStart_ && left > kTiny;) {
        CgtLot& acq = lots_[a];
        if (acq.date < CgtDate::Apr1998First)
            break;
        if (acq.kind != kAcquisition)
            continue;
        double x = std::min(left, acq.value);
        acq.value -= x;
        acq.valueWithCosts = acq.value;
        left -= x;
        Line([&] {
            return StringPrintf("Matched %s cost with purchase %s, new value\t%s", Money(x).c_str(),
                                FormatDate(acq.date).c_str(), Money(acq.value).c_str());
        });
    }
    for (auto pool : { std::tuple{ &h_.newIndexed, &h_.newCost, &h_.newNumber },
                       std::tuple{ &h_.s104Indexed, &h_.s104Cost, &h_.s104Number } }) {
        auto [indexed, cost, number] = pool;
        if (left <= kTiny || *indexed == 0)
            continue;
        double x = std::min(left, *indexed);
        *indexed -= x;
        *cost -= x;
        *number = std::max(0.0, *number - d.remaining);
        left -= x;
        Line([&, costOf = cost] {
            return StringPrintf("Matched %s cost with 'S104 holding', new unindexed value\t%s", Money(x).c_str(),
                                Money(*costOf).c_str());
        });
        Line([&, indexedOf = indexed] {
            return StringPrintf("New 'S104 holding' indexed value\t%s", Money(*indexedOf).c_str());
        });
    }
    if (left > kTiny && h_.cost1982 > 0) {
        double x = std::min(left, h_.cost1982);
        h_.cost1982 -= x;
        left -= x;
        Line([&] {
            return StringPrintf("Matched %s cost with 'S104 holding', new value\t%s", Money(x).c_str(),
                                Money(h_.cost1982).c_str());
        });
    }
    if (left < kTiny) {
        d.kind = kDone;
        return true;
    }
    d.value = left + d.costs;
    return false;
}

void CapitalGainsPass::PotentialGain()
{
    CgtLot& d = Lot();
    bool valuation = d.date == CgtDate::Valuation;
    if (d.date < CgtDate::Apr1990) {
        if (lastPre1990Date_ != d.date)
            Line(d.date, d.share, kClosingLine, "Chargeable gains not calculated pre-1990");
        lastPre1990Date_ = d.date;
        PutF(*d.tx, L::GainBeforeLosses, kCgtNotCalculated);
        PutF(*d.tx, L::GainAfterLosses, kCgtNotCalculated);
        d.kind = kDone;
        return;
    }
    PutF(*d.tx, L::GainBeforeLosses, total_);
    if (total_ < -kTiny) {
        Line(d.date, d.share, kClosingLine, [&] {
            return StringPrintf("%shargeable loss %s\t%s", valuation ? "Potential c" : "C",
                                LotYearText(d.date).c_str(), Money(total_).c_str());
        });
        PutF(*d.tx, L::GainAfterLosses, kCgtNotCalculated);
    } else if (total_ <= kTiny) {
        PutF(*d.tx, L::GainAfterLosses, 0);
        Line(d.date, d.share, kClosingLine, valuation ? "No potential chargeable gain or loss" : "No chargeable gain");
    }
    d.kind = kDone;
}

// --- Arithmetic ---------------------------------------------------------------------------------

void CapitalGainsPass::IndexS104Holding()
{
    CgtLot& lot = Lot();
    if (h_.frozen || h_.s104Number + h_.newNumber <= kTiny)
        return;
    double before = h_.s104Indexed + h_.newIndexed;
    if (lot.date < CgtDate::Apr1998First) {
        if (h_.lastRpi <= 0 || std::abs(lot.rpi - h_.lastRpi) < 1e-9)
            return;
        Line([&] {
            return StringPrintf("%s RPI %s, %s RPI %s", MonthText(h_.indexDate).c_str(), RpiText(h_.lastRpi).c_str(),
                                MonthText(lot.date).c_str(), RpiText(lot.rpi).c_str());
        });
        // No allowance when the RPI fell: the indexed cost stays as it is.
        double ratio = std::max(1.0, lot.rpi / h_.lastRpi);
        h_.s104Indexed *= ratio;
        h_.newIndexed *= ratio;
        h_.indexDate = lot.date;
        Line(lot.date, lot.share, seq_, [&] {
            return StringPrintf("New indexed cost of 'S104 holding' (%s x %s / %s)\t%s", Money(before).c_str(),
                                RpiText(lot.rpi).c_str(), RpiText(h_.lastRpi).c_str(),
                                Money(h_.s104Indexed + h_.newIndexed).c_str());
        });
        h_.lastRpi = lot.rpi;
        h_.lastAdjustment = lot.adjustment;
        return;
    }
    Line(CgtDate::Apr1998First, lot.share, seq_, [&] {
        return StringPrintf("%s RPI indexation adjustment %.3f", MonthText(h_.indexDate).c_str(),
                            h_.lastAdjustment - 1.0);
    });
    h_.s104Indexed *= h_.lastAdjustment;
    h_.newIndexed *= h_.lastAdjustment;
    h_.indexDate = CgtDate::Apr1998First;
    Line(CgtDate::Apr1998First, lot.share, seq_, [&] {
        return StringPrintf("New indexed cost of 'S104 holding' (%s x %.3f)\t%s", Money(before).c_str(),
                            h_.lastAdjustment, Money(h_.s104Indexed + h_.newIndexed).c_str());
    });
    h_.lastAdjustment = 1.0;
    h_.lastRpi = RpiOfMonth(kRpiMonths - 1);
}

void CapitalGainsPass::DescribeS104Holding()
{
    CgtLot& lot = Lot();
    if (!h_.frozen) {
        h_.lastRpi = lot.rpi;
        h_.lastAdjustment = lot.adjustment;
    }
    seq_ += kDescribeStep;
    double number = h_.s104Number + h_.newNumber;
    double cost = h_.s104Cost + h_.newCost;
    double indexed = h_.s104Indexed + h_.newIndexed;
    if (number <= kTiny) {
        if (lot.date != CgtDate::Valuation)
            Line("No 'S104 holding'");
        return;
    }
    Line([&] {
        return StringPrintf("Unindexed cost of 'S104 holding' (%s shares)\t%s", Num(number).c_str(),
                            Money(cost).c_str());
    });
    if (std::abs(indexed - cost) > 0.005)
        Line([&] {
            return StringPrintf("Indexed cost of 'S104 holding' (%s shares)\t%s", Num(number).c_str(),
                                Money(indexed).c_str());
        });
}

void CapitalGainsPass::DescribeDisposal()
{
    CgtLot& d = Lot();
    if (d.remaining <= kTiny)
        Line([&] {
            return StringPrintf("Received %s minus %s costs\t%s", Money(d.value).c_str(), Money(d.costs).c_str(),
                                Money(d.value - d.costs).c_str());
        });
    else
        Line([&] {
            return StringPrintf("%s %s shares at %s minus %s costs\t%s", d.kind == kValuation ? "Value" : "Sold",
                                Num(d.remaining).c_str(), Price(d.price).c_str(), Money(d.costs).c_str(),
                                Money(d.value - d.costs).c_str());
        });
    d.value -= d.costs;
    d.valueWithCosts = d.value;
    d.costs = 0;
    total_ = 0;
}

void CapitalGainsPass::DescribeAcquisition(size_t i, const char* suffix)
{
    CgtLot& a = lots_[i];
    if (a.described)
        return;
    a.described = true;
    const char* word = a.type == 4 ? "Acquired" : a.type == 8 ? "Rights" : a.type == 10 ? "Scrip"
                     : a.type == 11 ? "Init. pay." : a.type == 12 ? "Part pay." : "Bought";
    Line(a.date, a.share, 0, [&] {
        return StringPrintf("%s %s shares at %s plus %s costs %s\t%s", word, Num(a.number).c_str(),
                            Price(a.price).c_str(), Money(a.costs).c_str(), suffix, Money(a.value + a.costs).c_str());
    });
    a.value += a.costs;
    a.valueWithCosts = a.value;
    a.costs = 0;
}

void CapitalGainsPass::PartDisposalValue(double n)
{
    CgtLot& d = Lot();
    if (d.date <= CgtDate::Jan1990 || std::abs(n - d.remaining) < kTiny || d.remaining <= 0)
        return;
    Line([&] {
        return StringPrintf("Sale value of %s shares%s\t%s", Num(n).c_str(), Ratio(d.value, n, d.remaining).c_str(),
                            Money(n * d.value / d.remaining).c_str());
    });
}

double CapitalGainsPass::GainOrLossLine(double sale, double indexed, double unindexed, const std::string& prefix)
{
    if (sale > indexed) {
        double gain = sale - indexed;
        Line([&] {
            return StringPrintf("%sChargeable gain (%s - %s)\t%s", prefix.c_str(), Money(sale).c_str(),
                                Money(indexed).c_str(), Money(gain).c_str());
        });
        return gain;
    }
    if (sale < unindexed) {
        double loss = sale - unindexed;
        Line([&] {
            return StringPrintf("%sChargeable loss (%s - %s)\t%s", prefix.c_str(), Money(sale).c_str(),
                                Money(unindexed).c_str(), Money(loss).c_str());
        });
        return loss;
    }
    Line(prefix + "No chargeable gain or loss");
    return 0;
}

// Sources held before March 1982 are indexed from March 1982.
double CapitalGainsPass::IndexedCost(double n, double number, double cost, const std::string& prefix)
{
    CgtLot& d = Lot();
    if (d.date < CgtDate::Jan1990 || number <= 0)
        return 0;
    double part = n * cost / number;
    bool taperEra = d.date >= CgtDate::Apr1998First;
    double baseFactor = IndexationFactor(0);
    if (taperEra)
        Line([&] {
            return StringPrintf("%s%s RPI indexation adjustment %.3f", prefix.c_str(),
                                MonthText(CgtDate::Mar1982First).c_str(), baseFactor);
        });
    else
        Line([&] {
            return StringPrintf("%s%s RPI %s, %s RPI %s", prefix.c_str(), MonthText(CgtDate::Mar1982First).c_str(),
                                RpiText(kPre1982BaseRpi).c_str(), MonthText(d.date).c_str(), RpiText(d.rpi).c_str());
        });
    Line([&] {
        return StringPrintf("%sUnindexed cost of %s shares%s\t%s", prefix.c_str(), Num(n).c_str(),
                            std::abs(n - number) > kTiny ? Ratio(cost, n, number).c_str() : "", Money(part).c_str());
    });
    double indexedPart = 0;
    if (!taperEra) {
        indexedPart = part * std::max(1.0, d.rpi / kPre1982BaseRpi);
        Line([&] {
            return StringPrintf("%sIndexed cost of %s shares (%s x %s / %s)\t%s", prefix.c_str(), Num(n).c_str(),
                                Money(part).c_str(), RpiText(d.rpi).c_str(), RpiText(kPre1982BaseRpi).c_str(),
                                Money(indexedPart).c_str());
        });
    } else {
        indexedPart = part * (1.0 + baseFactor);
        Line([&] {
            return StringPrintf("%sIndexed cost of %s shares (%s x %.3f)\t%s", prefix.c_str(), Num(n).c_str(),
                                Money(part).c_str(), 1.0 + baseFactor, Money(indexedPart).c_str());
        });
    }
    double sale = d.remaining > 0 ? n * d.value / d.remaining : 0;
    return GainOrLossLine(sale, indexedPart, part, prefix);
}

void CapitalGainsPass::ApplyTaper(double gain, PackedDate acquired)
{
    CgtLot& d = Lot();
    if (d.date < CgtDate::Apr1990)
        return;
    if (d.date < CgtDate::Apr1998) {
        if (gain > kTiny) {
            gains_.push_back({seq_, gain, gain, 100.0, d.date, cur_});
            Line([&] { return StringPrintf("Capital gain\t%s", Money(gain).c_str()); });
        } else if (gain < -kTiny) {
            losses_.push_back({seq_, -gain, d.date, cur_});
            Line([&] { return StringPrintf("Capital losses\t%s", Money(gain).c_str()); });
        } else {
            Line("No chargeable gain or loss");
        }
        total_ += gain;
        return;
    }
    PackedDate disposal = TaperDisposalDate();
    int bonus = acquired < CgtDate::Mar1998 ? 1 : 0;
    PackedDate start = std::max(acquired, CgtDate::Apr1998);
    int years = std::clamp(bonus + (disposal > start ? (int(disposal) - int(start)) >> 9 : 0), 0, 10);
    if (gain > kTiny) {
        double p = NonBusinessTaper(years);
        gains_.push_back({seq_, gain, gain, p, d.date, cur_});
        Line([&] {
            return StringPrintf("Year %i of taper: %g%% of %s gain is chargeable\t%s", years, p, Money(gain).c_str(),
                                Money(gain * p / 100).c_str());
        });
        gain = gain * p / 100;
    } else if (gain < -kTiny) {
        losses_.push_back({seq_, -gain, d.date, cur_});
        Line([&] { return StringPrintf("No taper or indexing for losses\t%s", Money(gain).c_str()); });
    } else {
        Line("No chargeable gain or loss");
    }
    total_ += gain;
}

// --- Years --------------------------------------------------------------------------------------

double CapitalGainsPass::ManualOr(int year, double computed) const
{
    if (year < 0 || year >= kCgtTableYears)
        return computed;
    float manual = in_.manualLosses[size_t(year)];
    return manual >= 0 ? manual : computed;
}

// The years run to the tax year of today, or of a later-dated disposal.
int CapitalGainsPass::LastYear() const
{
    int last = std::max(todayYear_, 7);
    for (const CgtLot& lot : lots_)
        if (lot.firstKind == kDisposal && lot.date >= CgtDate::Apr1990)
            last = std::max(last, CgtTaxYearIndex(lot.date));
    return std::min(last, kCgtLastTaxYear);
}

// The valuation rows stand at today, so their lines name today's tax year.
std::string CapitalGainsPass::LotYearText(PackedDate date) const
{
    return YearText(date == CgtDate::Valuation ? todayYear_ : CgtTaxYearIndex(date));
}

// A year to 1997/98, or the valuation year: this year's losses first, then the exemption, then the
// losses brought forward on what the exemption leaves.
void CapitalGainsPass::EarlyYear(int year, double broughtIn)
{
    double thisYear = 0;
    for (CgtLot& lot : lots_) {
        if (!lot.IsDisposal() || lot.date < CgtDate::Apr1990 || CgtTaxYearIndex(lot.date) != year)
            continue;
        float g = GetF(*lot.tx, L::GainBeforeLosses);
        if (g < 0 && g != kCgtNotCalculated) {
            thisYear -= g;
            PutF(*lot.tx, L::GainAfterLosses, 0);
        }
    }
    double brought = ManualOr(year, broughtIn);
    const bool valuationYear = year == kCgtValuationYear;
    double exemption = valuationYear ? 0.0 : AnnualExemption(year);
    for (CgtLot& lot : lots_) {
        if (!lot.IsDisposal() || lot.date < CgtDate::Apr1990 || CgtTaxYearIndex(lot.date) != year)
            continue;
        double g = GetF(*lot.tx, L::GainBeforeLosses);
        if (!(g > 0) || g == kCgtNotCalculated)
            continue;
        bool valuation = lot.date == CgtDate::Valuation;
        auto line = [&](auto&& text) { Line(lot.date, lot.share, kYearLine, text); };
        double x = std::min(thisYear, g);
        if (x > kTiny) {
            line([&] { return StringPrintf("Offset %s against losses", Money(x).c_str()); });
            thisYear -= x;
            g -= x;
        }
        x = std::min(exemption, g);
        exemption -= x;
        g -= x;
        if (g > 0.001 && brought > kTiny) {
            x = std::min(g, brought);
            line([&] { return StringPrintf("Offset %s against losses", Money(x).c_str()); });
            brought -= x;
            g -= x;
        }
        line([&] {
            return StringPrintf("%shargeable gain%s\t\t%s", valuation ? "Potential c" : "C",
                                valuation ? "" : StringPrintf(" %s", YearText(year).c_str()).c_str(), Money(g).c_str());
        });
        if (valuation)
            out_.valuationGain += g;
        else
            out_.yearGains[size_t(year)] += g;
        PutF(*lot.tx, L::GainAfterLosses, g);
    }
    // What the valuation rows leave is a potential loss, never one carried forward.
    double carried = thisYear + brought;
    if (!valuationYear)
        out_.lossesCarried[size_t(year)] = carried > kTiny ? carried : 0;
}

void CapitalGainsPass::OffsetLosses()
{
    auto order = [](const GainEntry& a, const GainEntry& b) {
        return a.taper != b.taper ? a.taper > b.taper : a.gainLeft > b.gainLeft;
    };
    std::array<std::vector<GainEntry*>, kCgtTaxYears> byYear;
    std::array<double, kCgtTaxYears> yearLosses{};
    for (GainEntry& e : gains_)
        if (e.date >= CgtDate::Apr1990)
            byYear[size_t(CgtTaxYearIndex(e.date))].push_back(&e);
    for (const LossEntry& e : losses_)
        if (e.date >= CgtDate::Apr1990)
            yearLosses[size_t(CgtTaxYearIndex(e.date))] += e.loss;
    for (int year = 8; year <= lastYear_; ++year) {
        double brought = ManualOr(year, out_.lossesCarried[size_t(year - 1)]);
        double thisYear = yearLosses[size_t(year)];
        auto next = [&]() -> GainEntry* {
            GainEntry* best = nullptr;
            for (GainEntry* e : byYear[size_t(year)])
                if (e->gainLeft > kTiny && (!best || order(*e, *best)))
                    best = e;
            return best;
        };
        while (thisYear > kTiny) {
            GainEntry* e = next();
            if (!e)
                break;
            double x = std::min(thisYear, e->gainLeft);
            e->gain -= x;
            e->gainLeft -= x;
            thisYear -= x;
            const CgtLot& lot = lots_[e->lot];
            Line(lot.date, lot.share, kYearLine, [&] {
                return StringPrintf("Offset loss %s (this year) to generate lower gain\t\t%s", Money(x).c_str(),
                                    Money(e->gain * e->taper / 100).c_str());
            });
        }
        double exemption = AnnualExemption(year);
        while (brought > kTiny) {
            GainEntry* e = next();
            if (!e)
                break;
            const CgtLot& lot = lots_[e->lot];
            double covered = std::min(exemption, e->gainLeft);
            e->gainLeft -= covered;
            exemption -= covered;
            if (covered > kTiny && e->gainLeft < brought)
                Line(lot.date, lot.share, kYearLine, [&] {
                    return StringPrintf("Don't apply losses to first %s as below CGT allowance",
                                        Money(covered).c_str());
                });
            if (e->gainLeft <= kTiny)
                continue;
            double x = std::min(brought, e->gainLeft);
            e->gain -= x;
            e->gainLeft -= x;
            brought -= x;
            Line(lot.date, lot.share, kYearLine, [&] {
                return StringPrintf("Offset loss %s (before taper) to generate lower gain\t%s", Money(x).c_str(),
                                    Money(e->gain * e->taper / 100).c_str());
            });
        }
        double carried = thisYear + brought;
        out_.lossesCarried[size_t(year)] = carried > kTiny ? carried : 0;
        if (carried > kTiny)
            Line(1991 + year <= FullYear(kLastPackedDate) ? PackDate(6, 4, 1991 + year) : kLastPackedDate,
                 kCgtCarryShare, 0,
                 [&] { return StringPrintf("Carry %s loss forward", Money(carried).c_str()); });
    }
}

void CapitalGainsPass::AfterLossesForTaperYears()
{
    for (const GainEntry& e : gains_)
        if (e.date >= CgtDate::Apr1998 && CgtTaxYearIndex(e.date) != kCgtValuationYear)
            PutF(*lots_[e.lot].tx, L::GainAfterLosses, 0);
    double run = 0;
    for (size_t i = 0; i < gains_.size(); ++i) {
        const GainEntry& e = gains_[i];
        int year = CgtTaxYearIndex(e.date);
        if (e.date < CgtDate::Apr1998 || year == kCgtValuationYear)
            continue;
        const CgtLot& lot = lots_[e.lot];
        double part = e.gain * e.taper / 100;
        PutF(*lot.tx, L::GainAfterLosses, GetF(*lot.tx, L::GainAfterLosses) + part);
        out_.yearGains[size_t(year)] += part;
        run += part;
        bool last = i + 1 == gains_.size() || lots_[gains_[i + 1].lot].share != lot.share ||
                    CgtTaxYearIndex(gains_[i + 1].date) != year;
        if (last) {
            Line(lot.date, lot.share, kYearLine,
                 [&] { return StringPrintf("Chargeable gain %s\t\t%s", YearText(year).c_str(), Money(run).c_str()); });
            run = 0;
        }
    }
}

CgtPassResult CapitalGainsPass::Run()
{
    CgtLossesCarriedForward() = {};
    std::string title = "Capital Gains Report ";
    if (filter_.shareId > 0) {
        std::string name;
        for (Transaction* t = in_.transactions; t; t = t->next)
            if (t->shareId() == filter_.shareId) {
                name = std::string(t->text(0));
                break;
            }
        title += StringPrintf("for %s", name.c_str());
    } else if (filter_.taxYear >= 0) {
        title += StringPrintf("for year %s", YearText(filter_.taxYear).c_str());
    }
    out_.title = title;
    if (keepText_) {
        lines_.AddTitle(title);
        lines_.AddTitle("Date\tDescription\tIntermediate\tChargeable");
        lines_.AddTitle("\t\tcalculation\tGain");
    }
    MakeLots();
    todayYear_ = std::clamp(CgtTaxYearIndex(in_.today ? in_.today : GetTodayDate(0)), 0, kCgtLastTaxYear);
    lastYear_ = LastYear();
    Amalgamate();
    MatchLots();
    double carried = 0;
    for (int year = 0; year <= 7; ++year) {
        EarlyYear(year, carried);
        carried = out_.lossesCarried[size_t(year)];
    }
    OffsetLosses();
    AfterLossesForTaperYears();
    EarlyYear(kCgtValuationYear, out_.lossesCarried[size_t(lastYear_)]);
    CgtLossesCarriedForward() = out_.lossesCarried;
    if (keepText_ && lines_.ShownAnything())
        out_.report = lines_.Assemble();
    return out_;
}

} // namespace

CgtPassResult CapitalGainsReport(const CgtInputs& inputs, const CgtReportFilter& filter, bool keepText)
{
    return CapitalGainsPass(inputs, filter, keepText).Run();
}

std::array<float, kCgtTableYears> PortfolioManualLosses(const Portfolio& portfolio)
{
    std::array<float, kCgtTableYears> out{};
    static_assert(sizeof(out) == kPortfolioSettingsSize);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = LoadF32(portfolio.settings + 4 * i);
    return out;
}

std::array<double, kCgtTaxYears>& CgtLossesCarriedForward()
{
    static std::array<double, kCgtTaxYears> losses{};
    return losses;
}

CgtPriceOnDate DatabaseCgtPrice()
{
    return [](uint16_t shareId, uint8_t line, PackedDate date) -> double {
        uint8_t* record = FindShareRecord(shareId);
        return record ? GetRawPriceOnDate(record, line, date, true) * 0.01 : 0.0;
    };
}

void RunSilentCapitalGains(Portfolio& portfolio, const CgtPriceOnDate& price)
{
    CgtInputs inputs;
    inputs.transactions = portfolio.transactions;
    inputs.manualLosses = PortfolioManualLosses(portfolio);
    inputs.price = price;
    CapitalGainsReport(inputs, CgtReportFilter{}, false);
}

} // namespace qv
