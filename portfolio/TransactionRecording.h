// Recording a transaction without its window: the type list's order, the figures the record dialog
// keeps in step, the rebasing choices a date allows, and building and storing the record.
#pragma once

#include "core/PackedDate.h"
#include "portfolio/Transaction.h"

#include <cstdint>
#include <string>

namespace qv {

struct Portfolio;

// The record dialog's type list: item index to type code and back (-1 when the code is not listed).
constexpr int kTransactionTypeItems = 20;
int TransactionTypeOfItem(int item);
int TransactionItemOfType(int type);
// Orders (16-21) move no shares and no cash.
constexpr bool TranIsOrder(int type) { return type >= 16 && type <= 21; }
constexpr bool TranIsSplit(int type) { return type == 13 || type == 14; }
// The types whose total is a cost (consideration plus charges).
constexpr bool TranIsCostType(int type) { return type == 1 || type == 4 || type == 7 || type == 8 || type == 11 || type == 12; }

// Below this a divisor counts as zero and the figure it would set keeps its value.
constexpr double kSmallestDivisor = 0.0001;
constexpr double kHighestTaxRate = 90;

// The figures of the record dialog; prices are pounds. Each Set* takes what the user typed and
// works out the others.
struct TransactionFigures {
    int type = 1;
    double shares = 0, price = 0, total = 0;
    double broker = 0, stamp = 0, levy = 0;
    double taxRate = 0, taxCredit = 0;
    double previousHolding = 0, newNumber = 0, ratio = 1;
    bool sharesTyped = false, priceTyped = false;
    bool priceTypedLast = false;

    double charges() const { return broker + stamp + levy; }
    double consideration() const { return shares < kSmallestDivisor ? price : shares * price; }

    void SetShares(double value);
    void SetPrice(double pounds);
    void SetCharges(double brokerCharge, double stampDuty, double contractLevy);
    void SetTotal(double value);
    void SetTaxRate(double rate);
    void SetTaxCredit(double credit);
    void SetNewNumber(double value);
    void SetRatio(double value);
    // The total (and for a dividend the tax credit) from the shares, price and charges.
    void Recompute();
};

// A price shown in pence is the stored pounds x 100, and back.
constexpr double PenceOfPounds(double pounds) { return pounds * 100; }
constexpr double PoundsOfPence(double pence) { return pence / 100; }

// The rebasing choices an acquisition of that date may take.
struct RebasingChoices {
    bool base1965 = false;
    bool base1982 = false;
};
RebasingChoices RebasingChoicesFor(int type, PackedDate date);
// A base (0 historic cost, 1 the 1965 value, 2 the 1982 value) the date no longer allows falls back.
int FallBackGainsBase(int base, const RebasingChoices& choices);

// What the dialog answers.
struct TransactionAnswer {
    TransactionFigures figures;
    PackedDate date = 0;
    uint32_t time = 0;
    uint8_t line = 0;
    uint8_t shareType = 31;
    uint16_t cashAccount = 0;
    uint8_t gainsBase = 0;
    double value1965 = 0, value1982 = 0, ignoredAmount = 0;
    bool ignoreInGains = false, ignorePounds = false, smallReceipt = false, otherUnit = false;
    std::string note, reference;
};

// The record's fields from the answer: a split's ratio below 0.0000001 becomes 1 and decides type
// 13 or 14, its shares and cash account 0; a dividend's total is price x shares. The old record's
// kept flags (bits 1, 2, 6, 7) and its other notes carry over when one is given.
TransactionFields BuildTransactionFields(const TransactionAnswer& answer, uint16_t shareId, const std::string& name,
                                         uint16_t portfolioNumber, const TransactionFields* old);

// The share type a recorded line carries (field 68): the kind of the share's sub-record for the line,
// 31 when there is no share record.
uint8_t LineShareType(const uint8_t* share, uint32_t line);

// The holding before the record: field 40 of its share and line's 'Latest' row (0 without one) for
// a new record; for an edited one, its holding undone.
double PreviousHoldingOf(const Portfolio& portfolio, uint16_t shareId, uint8_t line);
double PreviousHoldingOf(const TransactionFields& edited);
// The shares of the share and line held at the end of the date, counted from the records as the
// holdings pass counts them (one split a day); `skip` (the record being edited) is left out.
double HoldingOnDate(const Portfolio& portfolio, uint16_t shareId, uint8_t line, PackedDate date,
                     const Transaction* skip);

// The record takes the old one's place (freed) or is new, in list order. Nothing is stored when
// the fields do not encode; the new record otherwise.
Transaction* StoreTransaction(Portfolio& portfolio, const TransactionFields& fields, Transaction* old);
// Unlinks and frees the record; false when it is not in the list.
bool RemoveTransaction(Portfolio& portfolio, Transaction* record);

// How the charges are asked for (the portfolio options): none (a total in pence), one field, or
// broker charge, stamp and levy.
enum ExpensesOption : uint8_t { kHideExpenses = 0, kShowExpenses = 1, kShowAllExpenses = 2 };

// The choices the record dialog remembers from one use to the next.
struct TransactionDialogOptions {
    ExpensesOption expenses = kShowAllExpenses;
    bool dividendOtherUnit = false; // the unit of the last dividend differed from its default
    bool otherUnit = false;         // that of the last other transaction
    bool showGains = false;         // the capital gains part shown
};
TransactionDialogOptions& TransactionDialogDefaults();

} // namespace qv
