// The cell routes of the column kinds other than plain fields: results, formulas, price history,
// holdings, dealings, notes, cash, news, intraday values, trades, results changes and partner views;
// and the transaction family's own fields.
#include "core/CashAccounts.h"
#include "core/Database.h"
#include "core/DateStepping.h"
#include "core/FormatNumber.h"
#include "core/FormatValue.h"
#include "core/Portfolio.h"
#include "core/PriceLookups.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/SettingRecordStore.h"
#include "core/ShareList.h"
#include "core/ShareNotes.h"
#include "core/TransactionTypes.h"
#include "lists/CellContext.h"
#include "lists/FieldValue.h"
#include "lists/FormulaColumn.h"
#include "lists/ResultsFigures.h"
#include "platform/ByteOrder.h"
#include "portfolio/CashEntry.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/CapitalGains.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <cfloat>
#include <cstring>

namespace qv {
namespace {

constexpr float kLargestShownResult = 1e8f;
constexpr uint8_t kPercentBit = 0x80;
constexpr uint8_t kDateUnitBits = 7;
constexpr int kFixedDateUnit = 0, kTradingDaysUnit = 5;
// Field 8 holds the consensus forecasts, field 50 the previous ones: the change is the first less the
// second.
constexpr int kCodeMainLineFormula = 29, kCodeConsensusChange = 48, kCodeConsensusNow = 8, kCodeConsensusBefore = 50;
constexpr int kPartnerViewItem = 123;
constexpr size_t kMostTableName = 190;
constexpr uint8_t kOrderListType = 3;
constexpr uint8_t kTradeClass = 3;

// A share's close on the column's first or second date (unit byte at `unitAt`, count at unitAt + 1).
float CloseOnDate(const CellCall& c, size_t unitAt)
{
    const int unit = c.byte(unitAt) & kDateUnitBits;
    const uint16_t count = c.word(unitAt + 1);
    if (unit == kTradingDaysUnit)
        return GetPriceDaysBack(c.record, c.extra, count);
    PackedDate date = unit == kFixedDateUnit ? count : AddToDate(LatestDatabaseDate, -int32_t(count), unit - 1);
    return GetPriceOnDate(c.record, c.extra, date, true);
}

float VolumeOnDate(const CellCall& c)
{
    const int unit = c.byte(ColumnDefLayout::FirstUnit) & kDateUnitBits;
    const uint16_t count = c.word(ColumnDefLayout::FirstCount);
    DayRecord day{};
    if (unit == kTradingDaysUnit) {
        GetDayRecordFromEnd(c.record, c.extra, count, &day);
        return day.volume;
    }
    PackedDate date = unit == kFixedDateUnit ? count : AddToDate(LatestDatabaseDate, -int32_t(count), unit - 1);
    FindPriceOnDate(c.record, c.extra, date, true, &day);
    return day.volume;
}

void Percentage(CellCall& c, float now, float then)
{
    if (then == 0 || now == 0)
        return;
    PlainNumber(c, (now / then - 1) * 100);
}

void HighsAndLows(CellCall& c)
{
    PackedDate start = DateBackFromLatest(c.byte(ColumnDefLayout::FirstUnit), c.word(ColumnDefLayout::FirstCount));
    float high = 0, low = 0;
    uint16_t highDate = 0, lowDate = 0;
    GetHighLowInRange(c.record, c.extra, start, &high, &highDate, &low, &lowDate);
    const float latest = LatestClose(c);
    switch (c.byte(ColumnDefLayout::SubKind)) {
    case 0: return MoneyNumber(c, high);
    case 1: return MoneyNumber(c, low);
    case 2: return DateCell(c, highDate);
    case 3: return DateCell(c, lowDate);
    case 4: return highDate == 0 ? void() : PlainNumber(c, float(DaysBetween(highDate, LatestDatabaseDate)));
    case 5: return lowDate == 0 ? void() : PlainNumber(c, float(DaysBetween(lowDate, LatestDatabaseDate)));
    case 6: return high == 0 ? void() : PlainNumber(c, (latest - high) / high * 100);
    case 7: return low == 0 ? void() : PlainNumber(c, (latest - low) / low * 100);
    default: return;
    }
}

void ResultsNumber(CellCall& c, float v)
{
    if (v == kNoResultsValue || v >= kLargestShownResult)
        return;
    PlainNumber(c, v);
}

// The value of another field of the row through a column made on the spot.
float FieldValueOf(CellCall& c, uint8_t code)
{
    uint8_t column[kColumnDefBytes] = {};
    column[ColumnDefLayout::Length] = kColumnDefBytes;
    column[ColumnDefLayout::Kind] = kColumnField;
    column[ColumnDefLayout::FieldCode] = code;
    char text[kCellTextBytes];
    FormatColumnValue(c.record, c.extra, column, text, sizeof text, 0, c.list, 0);
    return LastCellValue().value;
}

void ConsensusChange(CellCall& c)
{
    const float now = FieldValueOf(c, kCodeConsensusNow);
    const float before = FieldValueOf(c, kCodeConsensusBefore);
    LastCellValue() = {};
    c.text = true;
    if (now == 0 && before == 0)
        return;
    if (before == 0) {
        c.value(1);
        return c.out.append("New");
    }
    if (now == 0) {
        c.value(2);
        return c.out.append("Removed");
    }
    float d = now - before;
    if (d >= 0)
        d += 3;
    c.value(d);
    c.out.append(d > 3 ? "Stronger" : d >= 0 ? "No change" : "Weaker");
}

// The u8-counted texts of a transaction after its fixed part: text 0 the share's name, 1-10 notes.
std::string_view TransactionText(const uint8_t* t, int n)
{
    const size_t length = LoadU16(t + TransactionLayout::RecordLength);
    size_t pos = TransactionLayout::FixedSize;
    for (int i = 0; pos < length; ++i) {
        size_t len = t[pos];
        if (len > length - pos - 1)
            len = length - pos - 1;
        if (i == n) {
            const char* text = reinterpret_cast<const char*>(t + pos + 1);
            return {text, strnlen(text, len)};
        }
        pos += len + 2;
    }
    return {};
}

float TransactionFloat(const uint8_t* t, size_t offset) { return LoadF32(t + offset); }

Portfolio* ListPortfolio(const CellCall& c) { return c.list ? c.list->source : nullptr; }

void CutTableName(CellCall& c, const std::string& name)
{
    TextCell(c, name.c_str(), std::min(name.size(), kMostTableName));
}

// The share id and stream of a row: a transaction's own, or the database record's.
uint16_t RowShareId(const CellCall& c)
{
    return c.family == kFamilyTransactions ? LoadU16(c.record + TransactionLayout::ShareId) : RecordId(c.record);
}
uint32_t RowStream(const CellCall& c)
{
    return c.family == kFamilyTransactions ? c.record[TransactionLayout::Line] : c.extra;
}

// The 'Latest' valuation row of the row's share in the list's portfolio.
const uint8_t* LatestRow(const CellCall& c)
{
    Portfolio* p = ListPortfolio(c);
    if (!p)
        return nullptr;
    const uint16_t id = RowShareId(c);
    for (Transaction* t = p->transactions.get(); t; t = t->next) {
        if (t->bytes.size() < TransactionLayout::FixedSize || t->type() != kLatestRowType || t->shareId() != id)
            continue;
        if (IsMadeItemId(id) || t->line() == RowStream(c))
            return t->bytes.data();
    }
    return nullptr;
}

bool HoldsRecord(const Portfolio& p, uint16_t id)
{
    const RecordCursor* entries = p.entries.get();
    if (!entries)
        return false;
    const uint32_t slots = PortfolioEntrySlots(p);
    for (uint32_t i = 0; i < slots && entries[i].record; ++i) {
        if (RecordId(entries[i].record) == id)
            return true;
    }
    return false;
}

// The money fields of a holding row (pounds in the record, shown in pence) and its plain ones.
struct HoldingField {
    uint8_t code;
    size_t offset;
    bool money;
};
constexpr HoldingField kHoldingFields[] = {
    {10, TransactionLayout::Charges, true},       {11, TransactionLayout::Holding, false},
    {12, TransactionLayout::Consideration, true}, {13, TransactionLayout::Profit, true},
    {14, TransactionLayout::ReturnPercent, false}, {15, TransactionLayout::AnnualReturn, false},
    {16, TransactionLayout::AverageCost, true},   {20, TransactionLayout::GainBeforeLosses, true},
    {21, TransactionLayout::GainAfterLosses, true}, {25, TransactionLayout::RealisedProfit, true},
};

// A transaction's own figures, shown on its row only (kind 0x10 columns read the holding fields).
constexpr HoldingField kDealFields[] = {
    {4, TransactionLayout::Shares, false},      {5, TransactionLayout::Price, true},
    {6, TransactionLayout::Amount, true},       {7, TransactionLayout::BrokerCharge, true},
    {8, TransactionLayout::StampDuty, true},    {9, TransactionLayout::ContractLevy, true},
};

template <size_t N>
const HoldingField* FindField(const HoldingField (&fields)[N], int code)
{
    for (const HoldingField& f : fields)
        if (f.code == code)
            return &f;
    return nullptr;
}

const HoldingField* FindHoldingField(int code) { return FindField(kHoldingFields, code); }

void HoldingNumber(CellCall& c, const uint8_t* row, const HoldingField& f)
{
    float v = TransactionFloat(row, f.offset);
    if (v == kNotComputed)
        return;
    if (v == kCgtNotCalculated)
        return TextCell(c, "n/a");
    if (f.code == 16 && v < 0)
        return;
    return f.money ? MoneyNumberInUnit(c, v * 100, 0) : PlainNumber(c, v);
}

const char* const kTransactionTypeNames[] = {
    "",                 "Buy",                  "Sell",          "Dividend",           "Other acquisition",
    "Other disposal",   "Other return",         "Other cost",    "Take up Rights",     "Sell nil paid Rights",
    "Scrip Dividend",   "Initial Part Payment", "Part payment",  "Share Split",        "Share Consolidation",
    "Latest",           "Buy at market",        "Limit buy",     "Stop buy",           "Sell at market",
    "Limit sell",       "Stop loss"};

const char* const kCashEntryNames[] = {"Credit", "Debit", "Interest", "Charge"};

const char* const kNewsStatus[] = {"", "Unread", "Keep", "Delete on Purge"};
constexpr uint8_t kNewsUnread = 1;

const char* const kTradeTypes[] = {
    "Unknown trade type", "Ordinary trade", "Broker to broker", "Agency cross", "Block trade",
    "Late trade", "Off book trade", "Non-standard settlement", "Odd lot", "Cancelled trade",
    "Correction", "Opening trade", "Closing trade", "Auction trade", "Intraday auction",
    "Volume weighted", "Portfolio trade", "Contra trade", "Derivative related", "Risk trade",
    "Worked principal", "Sold out of sequence", "Bunched trade", "Average price", "Cash trade",
    "Next day trade", "Seller's option", "Rule 155 trade", "Prior reference price", "Stopped stock",
    "Post contra", "Unknown trade type"};

const char* const kMarketCentres[] = {
    "", "NASDAQ Market", "American Stock Exchange", "Boston Stock Exchange", "Cincinnati Stock Exchange",
    "Alternative Display Facility", "Market Independent", "Chicago Stock Exchange (Mid West)",
    "New York Stock Exchange", "Pacific Stock Exchange", "Philadelphia Stock Exchange"};

const char* const kRecommendations[] = {"", "Strong Buy", "Buy", "Keep Buying", "Attractive", "Good Value", "Hold",
                                        "Fairly Priced", "High Enough", "Avoid", "Sell", "Bid Situation", ""};

template <size_t N>
const char* Named(const char* const (&names)[N], size_t i)
{
    return i < N ? names[i] : "";
}

void TradePrice(CellCall& c, float price)
{
    if (price < 0)
        return TextCell(c, "NA");
    QuotedPrice(c, price);
}

} // namespace

const char* TransactionTypeName(int type) { return type >= 0 ? Named(kTransactionTypeNames, size_t(type)) : ""; }

float TransactionSharePrice(const uint8_t* transaction, bool change)
{
    RecordCursor share = FindRecordById(LoadU16(transaction + TransactionLayout::ShareId), 0);
    if (!share.record || RecordLength(share.record) == 0)
        return 0;
    float v = 0;
    ReadF32(RowSubRecord(share.record, transaction[TransactionLayout::Line]), change ? kStatChange : kStatLastClose, v);
    return v;
}

bool TransactionField(CellCall& c)
{
    const uint8_t* t = c.record;
    const int code = c.code();
    switch (code) {
    case 1: DateCell(c, LoadU16(t + TransactionLayout::Date)); return true;
    case 2: TextCell(c, TransactionTypeName(t[TransactionLayout::Type])); return true;
    case 18: {
        std::string_view name = TransactionText(t, 0);
        TextCell(c, name.data(), name.size());
        return true;
    }
    case 22: {
        Portfolio* own = ListPortfolio(c);
        Portfolio* p = own;
        if (own && own->type == kOrderListType && t[TransactionLayout::Type] != kLatestRowType)
            p = FindPortfolioByNumber(LoadU16(t + TransactionLayout::PortfolioNumber));
        if (p)
            CutTableName(c, p->name.str());
        return true;
    }
    case 23: {
        const char* ref = reinterpret_cast<const char*>(t + TransactionLayout::Reference);
        TextCell(c, ref, strnlen(ref, TransactionLayout::ReferenceSize));
        return true;
    }
    case 24: {
        uint16_t number = LoadU16(t + TransactionLayout::CashAccount);
        if (number & 0xF000)
            return true;
        for (CashAccount* a = CashAccounts().head; a; a = a->next) {
            if (a->number == number) {
                CutTableName(c, a->name);
                break;
            }
        }
        return true;
    }
    case 26: MoneyNumber(c, TransactionSharePrice(t, false)); return true;
    case 27: MoneyNumber(c, TransactionSharePrice(t, true)); return true;
    case 29: {
        // The time of day is optional: a record without one (and a 'Latest' row) shows nothing.
        const uint32_t seconds = LoadU32(t + TransactionLayout::Time);
        if (seconds == 0 || seconds >= 86400)
            return true;
        c.value(float(seconds));
        TextCell(c, FormatClockTime(seconds, true).c_str());
        return true;
    }
    default: break;
    }
    const HoldingField* f = FindHoldingField(code);
    if (!f)
        f = FindField(kDealFields, code);
    if (!f)
        return false;
    HoldingNumber(c, t, *f);
    return true;
}

void ResultsRoute(CellCall& c)
{
    const int item = c.code();
    float v = GetResultsFigure(int8_t(c.option()), item, c.record, c.extra);
    if ((item & 7) == kResultsDate) {
        if (v == kNoResultsValue)
            return;
        uint16_t date = uint16_t(uint32_t(v) & 0xFFFF);
        return date == 0xFFFF ? void() : DateCell(c, date);
    }
    ResultsNumber(c, v);
}

void ResultsChangeRoute(CellCall& c)
{
    const int item = c.code();
    float v = GetResultsColumnValue(int8_t(c.option()), item, c.record, c.extra);
    if (item == 13 || item == 45) {
        if (v == kNoResultsValue)
            return;
        return DateCell(c, uint16_t(uint32_t(v) & 0xFFFF));
    }
    ResultsNumber(c, v);
}

void FormulaRoute(CellCall& c)
{
    const int code = c.code();
    if (code == kCodeMainLineFormula && c.extra != 0)
        return;
    if (code == kCodeConsensusChange)
        return ConsensusChange(c);
    const size_t length = c.column[ColumnDefLayout::Length];
    if (length <= ColumnDefLayout::Expression)
        return;
    std::span<const uint8_t> expression(c.column + ColumnDefLayout::Expression, length - ColumnDefLayout::Expression);
    if (EvaluateFormulaColumn(expression, c.record, c.extra, c.list) != 0)
        return;
    const FormulaResult r = LastFormulaResult();
    switch (r.type) {
    case kFormulaBoolean: return YesNoCell(c, r.bits == 0 ? 1 : 0); // true shows "Yes"
    case kFormulaReal: {
        float v = r.real();
        return v >= kLargestShownResult ? void() : PlainNumber(c, v);
    }
    case kFormulaInteger: return PlainNumber(c, float(r.integer()));
    default: return;
    }
}

void PriceHistoryRoute(CellCall& c)
{
    switch (c.code()) {
    case 30:
    case 31: {
        const float then = CloseOnDate(c, ColumnDefLayout::FirstUnit);
        if (c.byte(ColumnDefLayout::FirstUnit) & kPercentBit)
            return Percentage(c, LatestClose(c), then);
        return then == 0 ? void() : MoneyNumber(c, then);
    }
    case 56:
    case 57: {
        const float first = CloseOnDate(c, ColumnDefLayout::FirstUnit);
        const float second = CloseOnDate(c, ColumnDefLayout::SecondUnit);
        if (first == 0 || second == 0)
            return;
        return c.code() == 56 ? MoneyNumber(c, second - first) : Percentage(c, second, first);
    }
    case 87: return PlainNumber(c, VolumeOnDate(c));
    case 88: return PlainNumber(c, AverageVolumeLastDays(c.record, c.extra, std::max<uint32_t>(1, c.word(ColumnDefLayout::FirstCount))));
    case 94: return HighsAndLows(c);
    default: return;
    }
}

void HoldingRoute(CellCall& c)
{
    const uint16_t id = RowShareId(c);
    if (c.code() == 22) {
        const Portfolio* first = nullptr;
        bool others = false;
        for (Portfolio* p = PortfolioChain(); p && !others; p = p->next.get()) {
            if (p->type != kUserPortfolio || !HoldsRecord(*p, id))
                continue;
            if (first)
                others = true;
            else
                first = p;
        }
        if (first) {
            CutTableName(c, first->name.str());
            if (others)
                c.out.append(" + others");
            return;
        }
    }
    const uint8_t* row = LatestRow(c);
    const HoldingField* f = FindHoldingField(c.code());
    if (row && f)
        HoldingNumber(c, row, *f);
}

void DealingRoute(CellCall& c)
{
    const CellSources& s = CurrentCellSources();
    if (!s.dealingText)
        return;
    float value = 0;
    c.out.adopt(s.dealingText(c.record, c.code(), c.out.tail(), c.out.room(), &value));
    c.value(value);
}

void NoteRoute(CellCall& c)
{
    int note = c.byte(ColumnDefLayout::FormatA);
    note = note < 1 || note > kNoteSets ? 1 : note;
    if (c.family == kFamilyTransactions) {
        std::string_view text = TransactionText(c.record, note);
        return TextCell(c, text.data(), text.size());
    }
    uint8_t* data = GetSettingRecord(RecordId(c.record), uint8_t(c.extra), NoteSettingId(note));
    if (!data)
        return;
    const char* text = reinterpret_cast<const char*>(data);
    TextCell(c, text, strnlen(text, SettingDataSize(data)));
}

void CashRoute(CellCall& c)
{
    const uint8_t* r = c.record;
    const int code = c.code();
    if (c.extra == 1) { // a cash entry
        const uint8_t kind = r[CashEntryLayout::Type];
        const float amount = LoadF32(r + CashEntryLayout::Amount);
        const bool debit = kind == kCashDebit || kind == kCashCharge;
        switch (code) {
        case 1: return DateCell(c, LoadU16(r + CashEntryLayout::Date));
        case 3: return TextCell(c, Named(kCashEntryNames, kind));
        // An entry keeps its description as its note and its reference in the 20-byte field.
        case 4: {
            size_t n = r[CashEntryLayout::Length] > CashEntryLayout::BaseSize ? r[CashEntryLayout::Length] - CashEntryLayout::BaseSize : 0;
            const char* note = reinterpret_cast<const char*>(r + CashEntryLayout::Note);
            return TextCell(c, note, strnlen(note, n));
        }
        case 5: return debit ? MoneyNumberInUnit(c, amount * 100, 0) : void();
        case 6: return !debit && kind <= kCashCharge ? MoneyNumberInUnit(c, amount * 100, 0) : void();
        case 7: return kind <= kCashCharge ? MoneyNumberInUnit(c, (debit ? -amount : amount) * 100, 0) : void();
        case 8: return MoneyNumberInUnit(c, LoadF32(r + CashEntryLayout::Balance) * 100, 0);
        case 10: {
            const char* d = reinterpret_cast<const char*>(r + CashEntryLayout::Description);
            return TextCell(c, d, strnlen(d, CashEntryLayout::DescriptionSize));
        }
        default: return;
        }
    }
    const int type = r[TransactionLayout::Type];
    const float amount = LoadF32(r + TransactionLayout::Amount);
    switch (code) {
    case 1: return DateCell(c, LoadU16(r + TransactionLayout::Date));
    case 2: {
        Portfolio* p = FindPortfolioByNumber(LoadU16(r + TransactionLayout::PortfolioNumber));
        if (p && p->type == kOrderListType)
            p = FindPortfolioByNumber(LoadU16(r + TransactionLayout::PortfolioNumber + 2));
        return p ? CutTableName(c, p->name.str()) : void();
    }
    case 3: return TextCell(c, TransactionTypeName(type));
    case 4:
    case 9: {
        std::string_view name = TransactionText(r, 0);
        return TextCell(c, name.data(), name.size());
    }
    case 5: return TranIsDebit(type) ? MoneyNumberInUnit(c, amount * 100, 0) : void();
    case 6: return TranIsCredit(type) ? MoneyNumberInUnit(c, amount * 100, 0) : void();
    case 7: return MoneyNumberInUnit(c, (TranIsDebit(type) ? -amount : amount) * 100, 0);
    case 8: return MoneyNumberInUnit(c, LoadF32(r + TransactionLayout::CashBalance) * 100, 0);
    case 10: {
        const char* ref = reinterpret_cast<const char*>(r + TransactionLayout::Reference);
        return TextCell(c, ref, strnlen(ref, TransactionLayout::ReferenceSize));
    }
    default: return;
    }
}

void NewsRoute(CellCall& c)
{
    uint8_t* e = c.record;
    const CellSources& s = CurrentCellSources();
    const int code = c.code();
    switch (code) {
    case 1: return DateCell(c, LoadU16(e + NewsEntryLayout::Date));
    case 2: {
        const uint32_t seconds = LoadU32(e + NewsEntryLayout::Time);
        c.value(float(seconds));
        std::string time = FormatClockTime(seconds, true);
        return TextCell(c, time.c_str());
    }
    case 3: {
        if (e[NewsEntryLayout::Status] > 3)
            e[NewsEntryLayout::Status] = 0;
        const uint8_t status = e[NewsEntryLayout::Status];
        c.value(float(status));
        if (status == kNewsUnread && s.newsLatestBoundary &&
            LoadU32(e + NewsEntryLayout::Position) >= s.newsLatestBoundary())
            return TextCell(c, "Latest Unread");
        return TextCell(c, kNewsStatus[status]);
    }
    case 4:
    case 9:
    case 10: {
        const size_t which = code == 4 ? 0 : code == 9 ? 1 : 2;
        const uint16_t id = LoadU16(e + NewsEntryLayout::Companies + 2 * which);
        if (id == 0)
            return;
        RecordCursor company = FindRecordById(id, 0);
        if (!company.record || RecordLength(company.record) == 0)
            return;
        std::string_view name = GetRecordTexts(company.record).name;
        return TextCell(c, name.data(), name.size());
    }
    case 5: return s.newsTitle ? TextCell(c, s.newsTitle(e)) : void();
    case 6:
    case 7:
    case 8: {
        const size_t field = code == 6 ? NewsEntryLayout::Code : code == 7 ? NewsEntryLayout::Industry : NewsEntryLayout::Subject;
        const char* name = s.newsCodeName ? s.newsCodeName(LoadU16(e + field), code) : nullptr;
        return name ? TextCell(c, name) : void();
    }
    default: return;
    }
}

void IntradayRoute(CellCall& c)
{
    const CellSources& s = CurrentCellSources();
    if (!s.intradayValue)
        return;
    const uint32_t word = uint32_t(c.word(ColumnDefLayout::IntradayWord)) |
                          (uint32_t(c.word(ColumnDefLayout::IntradayWord + 2)) << 16);
    const int daysBack = -int(int16_t(word >> 16));
    float value = 0;
    switch (s.intradayValue(c.record, c.extra, daysBack, c.code(), uint16_t(word & 0xFFFF), &value)) {
    case 1: {
        ValueTextRequest req;
        req.value = value;
        req.autoDecimals = (c.formatA() & CellFormatBits::AutoDecimals) ? 1 : 0;
        req.style = c.formatB();
        // Bit 7 of format B keeps the decimals' count of significant figures; the scale letter
        // ("k", "m", "b") comes back apart from the text and belongs after it.
        if (c.formatB() & 0x80)
            req.digitLimit = c.formatB() & 0x0F;
        req.noSeparators = CurrentCellSettings().exportMode ? 1 : 0;
        FormatValueText(req);
        c.value(value);
        if (req.suffix)
            req.out += req.suffix;
        return TextCell(c, req.out.c_str());
    }
    case 3: return PlainNumber(c, value);
    case 4: return PlainNumber(c, value);
    case 5: {
        c.value(value);
        std::string time = FormatClockTime(uint32_t(value), true);
        return TextCell(c, time.c_str());
    }
    default: return;
    }
}

void TradeRoute(CellCall& c)
{
    const uint8_t* r = c.record;
    const float bid = LoadF32(r + TradeLayout::Bid), offer = LoadF32(r + TradeLayout::Offer);
    const float price = LoadF32(r + TradeLayout::Price), volume = LoadF32(r + TradeLayout::Volume);
    const bool trade = r[TradeLayout::Class] == kTradeClass;
    switch (c.code()) {
    case 1: {
        const uint32_t seconds = LoadU32(r + TradeLayout::Time);
        c.value(float(seconds));
        std::string time = FormatClockTime(seconds, true);
        return TextCell(c, time.c_str());
    }
    case 2: return TradePrice(c, bid);
    case 3: return bid < 0 || offer < 0 ? TextCell(c, "NA") : QuotedPrice(c, (bid + offer) / 2);
    case 4: return TradePrice(c, offer);
    case 5: return TradePrice(c, price);
    case 6: return volume < 0 ? TextCell(c, "NA") : PlainNumber(c, volume);
    case 7: return trade ? TextCell(c, Named(kTradeTypes, r[TradeLayout::TradeType])) : void();
    case 8: return TextCell(c, (r[TradeLayout::Flags] & 1) ? "Delete" : "Add");
    case 9: return;
    case 10: return volume < 0 || price < 0 ? TextCell(c, "NA") : MoneyNumber(c, volume * price);
    case 11: {
        if (!trade)
            return;
        const int8_t direction = int8_t(r[TradeLayout::Direction]);
        return TextCell(c, direction > 0 ? "Buy" : direction < 0 ? "Sell" : "Unknown");
    }
    case 12: return TextCell(c, Named(kMarketCentres, r[TradeLayout::Centre]));
    default: return;
    }
}

void PartnerViewRoute(CellCall& c)
{
    const uint8_t* descriptor = nullptr;
    RecordCursor cursor{c.record, c.extra};
    const uint8_t* item = GetFieldDescriptor(kPartnerViewItem, &descriptor, &cursor, 0);
    if (!item || !descriptor || (descriptor[1] & 0xF0) != 0 || item[0] < PartnerViewLayout::Size - 1)
        return;
    switch (c.code()) {
    case 0: {
        const uint8_t index = std::min<uint8_t>(item[PartnerViewLayout::Recommendation], 12);
        c.value(float(12 - index));
        return TextCell(c, kRecommendations[index]);
    }
    case 1: return DateCell(c, LoadU16(item + PartnerViewLayout::Date));
    case 2: return MoneyNumber(c, LoadF32(item + PartnerViewLayout::Price));
    case 3: {
        const int volume = item[PartnerViewLayout::Volume], issue = item[PartnerViewLayout::Issue];
        c.value(float(volume * 1000 + issue));
        c.text = true;
        return c.out.printf("%1d:%1d", volume, issue);
    }
    case 4: return PlainNumber(c, float(LoadU16(item + PartnerViewLayout::Page)));
    default: return;
    }
}

} // namespace qv
