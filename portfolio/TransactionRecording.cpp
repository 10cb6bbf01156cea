// Recording a transaction: type order, figures in step, rebasing choices, building and storing.
#include "portfolio/TransactionRecording.h"

#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "core/TransactionTypes.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qv {
namespace {

constexpr uint8_t kKeptFlags = 0x02 | 0x04 | 0x40 | 0x80;
constexpr double kSmallestRatio = 0.0000001;
constexpr PackedDate k6April1965 = PackDate(6, 4, 1965);
constexpr PackedDate k6April1982 = PackDate(6, 4, 1982);

bool Divisor(double value) { return std::fabs(value) >= kSmallestDivisor; }

} // namespace

int TransactionTypeOfItem(int item)
{
    if (item < 0 || item >= kTransactionTypeItems)
        return -1;
    const int n = item + 1;
    if (n < 4)
        return n;
    if (n <= 10)
        return item + 5;
    if (n <= 14)
        return item - 6;
    return item + 2;
}

int TransactionItemOfType(int type)
{
    for (int item = 0; item < kTransactionTypeItems; ++item)
        if (TransactionTypeOfItem(item) == type)
            return item;
    return -1;
}

void TransactionFigures::Recompute()
{
    if (type == 3) {
        total = shares * price;
        taxCredit = taxRate >= 100 ? 0 : total * taxRate / (100 - taxRate);
        return;
    }
    total = TranIsCostType(type) ? consideration() + charges() : consideration() - charges();
}

void TransactionFigures::SetShares(double value)
{
    shares = value < kSmallestDivisor ? 0 : value;
    sharesTyped = true;
    priceTypedLast = false;
    Recompute();
}

void TransactionFigures::SetPrice(double pounds)
{
    price = pounds;
    priceTyped = true;
    priceTypedLast = true;
    Recompute();
}

void TransactionFigures::SetCharges(double brokerCharge, double stampDuty, double contractLevy)
{
    broker = brokerCharge;
    stamp = stampDuty;
    levy = contractLevy;
    Recompute();
}

void TransactionFigures::SetTotal(double value)
{
    total = value;
    const double net = type == 3 ? value : TranIsCostType(type) ? value - charges() : value + charges();
    if (shares < kSmallestDivisor && !sharesTyped)
        price = net;
    else if (priceTypedLast && Divisor(price))
        shares = net / price;
    else if (!priceTypedLast && Divisor(shares))
        price = net / shares;
    if (type == 3)
        taxCredit = taxRate >= 100 ? 0 : total * taxRate / (100 - taxRate);
}

void TransactionFigures::SetTaxRate(double rate)
{
    taxRate = std::min(rate, kHighestTaxRate);
    Recompute();
}

void TransactionFigures::SetTaxCredit(double credit)
{
    taxCredit = credit;
    if (!Divisor(credit + total))
        return;
    const double rate = credit * 100 / (credit + total);
    if (std::fabs(rate - taxRate) >= 0.4)
        taxRate = std::min(std::round(rate), kHighestTaxRate);
}

void TransactionFigures::SetNewNumber(double value)
{
    newNumber = value;
    if (Divisor(previousHolding))
        ratio = newNumber / previousHolding;
}

void TransactionFigures::SetRatio(double value)
{
    ratio = value;
    newNumber = previousHolding * ratio;
}

RebasingChoices RebasingChoicesFor(int type, PackedDate date)
{
    if (!TranAddsShares(type))
        return {};
    return {date < k6April1965, date < k6April1982};
}

int FallBackGainsBase(int base, const RebasingChoices& choices)
{
    if (base == 1 && !choices.base1965)
        base = 2;
    if (base == 2 && !choices.base1982)
        base = 0;
    return base;
}

TransactionFields BuildTransactionFields(const TransactionAnswer& answer, uint16_t shareId, const std::string& name,
                                         uint16_t portfolioNumber, const TransactionFields* old)
{
    TransactionFields f = old ? *old : TransactionFields{};
    const TransactionFigures& g = answer.figures;
    f.type = uint8_t(g.type);
    f.date = answer.date;
    f.time = answer.time;
    f.shareId = shareId;
    f.line = answer.line;
    f.shareType = answer.shareType;
    f.shares = float(g.shares);
    f.price = float(g.price);
    f.amount = float(g.type == 3 ? g.price * g.shares : g.total);
    f.brokerCharge = float(g.broker);
    f.stampDuty = float(g.stamp);
    f.contractLevy = float(g.levy);
    f.charges = float(g.charges());
    f.consideration = float(g.shares * g.price);
    f.taxCreditRate = float(g.taxRate);
    f.cashAccount = answer.cashAccount;
    f.gainsBase = answer.gainsBase;
    f.value1965 = float(answer.value1965);
    f.value1982 = float(answer.value1982);
    f.ignoredAmount = float(answer.ignoredAmount);
    f.portfolioNumber = portfolioNumber;
    uint8_t flags = uint8_t((old ? old->flags : 0) & kKeptFlags) | TransactionFlag::FloatValues;
    if (answer.smallReceipt)
        flags |= TransactionFlag::SmallReceipt;
    if (answer.ignoreInGains)
        flags |= TransactionFlag::IgnoreInGains;
    if (answer.ignorePounds)
        flags |= TransactionFlag::IgnorePounds;
    if (answer.otherUnit)
        flags |= TransactionFlag::OtherUnit;
    f.flags = flags;
    if (TranIsSplit(g.type)) {
        const double ratio = g.ratio < kSmallestRatio ? 1 : g.ratio;
        if (ratio > 1)
            f.type = 13;
        else if (ratio < 1)
            f.type = 14;
        f.splitRatio = float(ratio);
        f.shares = 0;
        f.cashAccount = 0;
    }
    f.texts[0] = name;
    f.texts[1] = answer.note;
    f.reference.fill(0);
    std::memcpy(f.reference.data(), answer.reference.data(),
                std::min(answer.reference.size(), TransactionLayout::ReferenceSize - 1));
    return f;
}

uint8_t LineShareType(const uint8_t* share, uint32_t line)
{
    const uint8_t* sub = share ? GetSubRecord({const_cast<uint8_t*>(share), line}, line) : nullptr;
    return sub ? SubRecordKindOf(sub) : 31;
}

double PreviousHoldingOf(const Portfolio& portfolio, uint16_t shareId, uint8_t line)
{
    for (const Transaction* t = portfolio.transactions; t; t = t->next)
        if (t->type() == kLatestRowType && t->shareId() == shareId && t->line() == line)
            if (auto f = DecodeTransaction(t->bytes))
                return f->holding;
    return 0;
}

double PreviousHoldingOf(const TransactionFields& edited)
{
    if (TranAddsShares(edited.type))
        return edited.holding - edited.shares;
    if (TranRemovesShares(edited.type))
        return edited.holding + edited.shares;
    if (TranIsSplit(edited.type) && Divisor(edited.splitRatio))
        return edited.holding / edited.splitRatio;
    return edited.holding;
}

double HoldingOnDate(const Portfolio& portfolio, uint16_t shareId, uint8_t line, PackedDate date,
                     const Transaction* skip)
{
    double held = 0;
    PackedDate lastSplit = 0;
    for (const Transaction* t = portfolio.transactions; t; t = t->next) {
        if (t == skip || t->shareId() != shareId || t->line() != line || t->date() > date)
            continue;
        const uint8_t type = t->type();
        if (type == kLatestRowType || t->bytes.size() < TransactionLayout::FixedSize)
            continue;
        if (TranAddsShares(type))
            held += LoadF32(&t->bytes[TransactionLayout::Shares]);
        else if (TranRemovesShares(type))
            held -= LoadF32(&t->bytes[TransactionLayout::Shares]);
        else if (TranIsSplit(type) && t->date() != lastSplit) {
            lastSplit = t->date();
            held *= LoadF32(&t->bytes[TransactionLayout::SplitRatio]);
        }
    }
    return held;
}

bool RemoveTransaction(Portfolio& portfolio, Transaction* record)
{
    Transaction* head = portfolio.transactions;
    Transaction** link = &head;
    while (*link && *link != record)
        link = &(*link)->next;
    if (!*link)
        return false;
    *link = record->next;
    portfolio.transactions = head;
    delete record;
    return true;
}

Transaction* StoreTransaction(Portfolio& portfolio, const TransactionFields& fields, Transaction* old)
{
    auto bytes = EncodeTransaction(fields);
    if (!bytes)
        return nullptr;
    if (old)
        RemoveTransaction(portfolio, old);
    auto* record = new Transaction{nullptr, std::move(*bytes)};
    InsertSortedByName(portfolio.transactions, record);
    portfolio.changed = 1;
    return record;
}

TransactionDialogOptions& TransactionDialogDefaults()
{
    static TransactionDialogOptions options;
    return options;
}

} // namespace qv
