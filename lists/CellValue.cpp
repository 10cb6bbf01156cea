// The dispatch of a cell by column kind, the field-table and field-descriptor routes, the special
// texts, and the number, date and text cells every route ends in.
#include "lists/CellValue.h"

#include "core/CachedStatistics.h"
#include "core/CodedText.h"
#include "core/Currency.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/ExtraRecords.h"
#include "core/FormatNumber.h"
#include "core/FormatValue.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/ShareStatistics.h"
#include "core/ShareList.h"
#include "lists/CellContext.h"
#include "lists/FieldValue.h"
#include "lists/FormulaColumn.h"
#include "lists/ResultsFigures.h"
#include "platform/ByteOrder.h"
#include "platform/Clock.h"
#include "portfolio/Transaction.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qv {
namespace {

constexpr uintptr_t kLowestRecordAddress = 10;
constexpr int kFirstDescriptorCode = 96;
constexpr int kBeforeDateStyleYear = 1950;
constexpr size_t kExportShortText = 12;
constexpr uint8_t kTickStyleBit = 0x02;
constexpr int kCodeRowNumber = 0, kCodeSedol = 2, kCodeExchange = 92, kCodeExtraInfo = 93, kCodeEpic = 128,
              kCodeCurrency = 129, kSedolItem = 130, kCodeName = 15, kCodeUnderlined = 117,
              kCodeCorrelation = 46, kCodeBetaEntry = 22, kCodeVolatility = 21;
constexpr uint8_t kClassBytePlain = 14;
constexpr uint32_t kStatisticsNoValue16 = 0x8000, kStatisticsNotComputed16 = 0x8001;
constexpr float kNotApplicable = -9.99e31f;
constexpr int kMaxBitTexts = 8;
constexpr int kLookupTablesEntry = 100; // lookup table n is field-table entry 100 + n

const char* const kExchangeNames[] = {"LSE", "NYSE", "AMEX", "NASDAQ(NM)", "NASDAQ(SC)", "NASDAQ Indices",
                                      "Euronext", "XETRA", "FOREX", "US Indices", "UK Indices",
                                      "European Indices (EET)"};
const char* const kExchangeShortNames[] = {"LSE", "NYSE", "AMEX", "NNM", "NSC", "NAS",
                                           "ENXT", "GER", "FX", "USI", "UKI", "EI"};
const char kClassLetters[] = "AIZPWVNUMCO";

uint8_t RowFlags(const CellCall& c)
{
    uint16_t id = 0;
    if (c.family == kFamilyTransactions) {
        id = LoadU16(c.record + TransactionLayout::ShareId);
    } else {
        id = RecordId(c.record);
    }
    if (!IsMadeItemId(id))
        return 0;
    return ExtraRecordExists(id) ? kRowIntradayOnly : kRowImportedItem;
}

// Text n (from 0) of a u8-counted text list; false past its end.
bool CountedText(std::span<const uint8_t> list, int n, const char*& text, size_t& length)
{
    size_t pos = 0;
    for (int i = 0; pos < list.size(); ++i) {
        size_t len = list[pos];
        if (len == 0 || len > list.size() - pos - 1)
            return false;
        if (i == n) {
            text = reinterpret_cast<const char*>(list.data() + pos + 1);
            length = len;
            return true;
        }
        pos += 1 + len;
    }
    return false;
}

// The text at b up to its NUL or at most n bytes.
size_t TextLength(std::span<const uint8_t> b, size_t n)
{
    size_t limit = n < b.size() ? n : b.size();
    const void* nul = std::memchr(b.data(), 0, limit);
    return nul ? size_t(static_cast<const uint8_t*>(nul) - b.data()) : limit;
}

int LowestBit(uint16_t mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

float Scaled(const FieldTableEntry& e, float v)
{
    if (e.multiply)
        return v * float(e.scale);
    if (e.divide && e.scale != 0)
        return v / float(e.scale);
    return v;
}

// The record's name text; for code 15 in lists other than transactions, with the line's class letter.
void NameCell(CellCall& c, std::span<const uint8_t> counted)
{
    uint32_t n = 0;
    if (!ReadU8(counted, 0, n))
        return;
    n = std::min<uint32_t>(n, uint32_t(counted.size() - 1));
    const CellSettings& settings = CurrentCellSettings();
    if (c.code() == kCodeName && c.family != kFamilyTransactions && !settings.exportMode && settings.showClassLetters) {
        std::span<uint8_t> sub = RowSubRecord(c.record, c.extra);
        int lineClass = sub.empty() ? -1 : sub[SubRecordLayout::Kind];
        if (lineClass >= 0 && lineClass <= 10) {
            c.out.append(kClassLetters[lineClass]);
            c.out.append(" - ");
        }
    }
    TextCell(c, reinterpret_cast<const char*>(counted.data() + 1), TextLength(counted.subspan(1), n));
}

void BitFieldCell(CellCall& c, const FieldTableEntry& e, uint32_t word)
{
    const int code = c.code();
    uint32_t index = (word & e.scale) >> LowestBit(e.scale);
    bool security = code == 24 || code == 25 || code == 26;
    if (security) {
        std::span<uint8_t> sub = RowSubRecord(c.record, c.extra);
        if (!sub.empty() && sub[SubRecordLayout::Kind] == SubRecordKind::Index)
            return TextCell(c, "Index");
        if (index == 0xFE)
            return TextCell(c, "Unit Trust");
        if (index == 0xFD)
            return TextCell(c, "Gilt");
    }
    std::span<const uint8_t> texts = e.data;
    if (code == 24 || code == 25) {
        constexpr size_t kMapBytes = 256;
        if (texts.size() < kMapBytes || index >= kMapBytes)
            return;
        index = texts[index];
        texts = texts.subspan(kMapBytes);
    }
    if (index == 0xFF)
        return;
    if (code == 8 || code == 50) {
        if (c.formatB() & 1) {
            float rating = float(index) * 0.04f;
            return PlainNumber(c, rating > 9.9f ? 0.0f : rating);
        }
        if (index == 0)
            return;
        uint32_t n = std::min<uint32_t>((index - 13) / 25, 8);
        index = index < 13 ? 0 : n;
    }
    if (e.type == 16)
        return PlainNumber(c, float(index));
    const char* text = nullptr;
    size_t length = 0;
    c.value(float(index));
    if (CountedText(texts, int(index), text, length))
        TextCell(c, text, length);
}

void BitSetCell(CellCall& c, const FieldTableEntry& e, uint32_t word)
{
    int shown = 0;
    for (int bit = 0; bit < 16 && shown < kMaxBitTexts; ++bit) {
        if (!(word & (1u << bit)))
            continue;
        const char* text = nullptr;
        size_t length = 0;
        if (!CountedText(e.data, bit, text, length))
            continue;
        if (shown++ > 0)
            c.out.append(", ");
        c.out.append(text, length);
    }
    c.text = true;
}

void LookupCell(CellCall& c, const FieldTableEntry& e, uint32_t key)
{
    auto table = FieldTableEntryOf(ListFieldTable(c.list), kLookupTablesEntry + (e.scale >> 8));
    const char* text = nullptr;
    size_t length = 0;
    if (table && CountedText(table->data, int(key), text, length))
        TextCell(c, text, length);
}

// A number packed as {mantissa bits, exponent bits, signed bias} by the entry's first three data bytes.
void PackedFieldCell(CellCall& c, const FieldTableEntry& e, std::span<const uint8_t> b)
{
    uint32_t word = 0;
    if (e.data.size() < 3 || !ReadU32(b, 0, word))
        return;
    int mantissaBits = e.data[0] & 31, exponentBits = e.data[1] & 15;
    uint32_t mantissa = word & ((1u << mantissaBits) - 1);
    uint32_t exponent = (word >> mantissaBits) & ((1u << exponentBits) - 1);
    PackedNumber(c, PackedDealingNumber(mantissa, exponent, int8_t(e.data[2])));
}

void CodedTextCell(CellCall& c, const FieldTableEntry& e, std::span<const uint8_t> b)
{
    if (e.offset == 0) { // company data: a count byte, then the coded bytes
        if (b.empty())
            return;
        b = b.subspan(1, std::min<size_t>(b[0], b.size() - 1));
    }
    if (b.empty())
        return;
    char decoded[kCellTextBytes];
    UnpackText(decoded, sizeof decoded, BitCursor{b, 0}, e.scale & 0xFF, false);
    TextCell(c, decoded);
}

void CachedStatisticCell(CellCall& c, const FieldTableEntry& e, int which)
{
    RecordCursor cursor{c.record, c.extra};
    if (which == kCodeCorrelation) {
        int8_t v = GetCachedCorrelation(cursor);
        return v == kCorrelationNoValue ? void() : PlainNumber(c, Scaled(e, float(v)));
    }
    if (which == kCodeBetaEntry) {
        int16_t v = GetCachedBeta(cursor);
        return uint16_t(v) == kStatisticNoValue ? void() : PlainNumber(c, Scaled(e, float(v)));
    }
    uint16_t v = GetCachedVolatility(cursor);
    if (v != kStatisticNoValue)
        PlainNumber(c, Scaled(e, float(v)));
}

void FieldTableRoute(CellCall& c, int code)
{
    auto entry = FieldTableEntryOf(ListFieldTable(c.list), code == kCodeCorrelation ? kCodeBetaEntry : code);
    if (!entry)
        return;
    const FieldTableEntry& e = *entry;
    std::span<const uint8_t> b = FieldBytes(e, c.record, c.extra, code == kCodeCorrelation ? kCodeBetaEntry : code);
    uint32_t u = 0;
    float f = 0;
    switch (e.type) {
    case 0:
        if (code == kCodeCorrelation)
            return CachedStatisticCell(c, e, kCodeCorrelation);
        if (code == kCodeBetaEntry)
            return CachedStatisticCell(c, e, kCodeBetaEntry);
        return ReadU8(b, 0, u) ? PlainNumber(c, Scaled(e, float(u))) : void();
    case 1:
        if (!ReadU16(b, 0, u) || u == kStatisticsNoValue16)
            return;
        if ((code == 12 || code == 13) && c.extra != 0)
            return;
        if (u == kStatisticsNotComputed16)
            return code == kCodeVolatility ? CachedStatisticCell(c, e, kCodeVolatility) : void();
        return PlainNumber(c, Scaled(e, float(u)));
    case 2: return ReadU32(b, 0, u) ? PlainNumber(c, float(int32_t(u))) : void();
    case 3: return TextCell(c, reinterpret_cast<const char*>(b.data()), TextLength(b, e.scale >> 8));
    case 4: return NameCell(c, code == kCodeName && b.size() > 4 ? b.subspan(4) : b);
    case 6: {
        if (!ReadU32(b, 0, u) || ((code == 10 || code == 11 || code == 47) && c.extra != 0))
            return;
        float v = float(int32_t(u));
        if (code == 23) {
            const ExchangeRates& rates = GetExchangeRates();
            int unit = RowUnit(c);
            double rate = unit == 6 ? rates.euro : unit == 3 ? rates.usDollar : 1.0;
            v = rate > 0 ? float(v / rate) : v;
        }
        return PlainNumber(c, v);
    }
    case 7:
    case 16: return ReadU16(b, 0, u) ? BitFieldCell(c, e, u) : void();
    case 10: return ReadU16(b, 0, u) ? DateCell(c, PackedDate(u)) : void();
    case 11: return ReadU16(b, 0, u) ? YesNoCell(c, u & e.scale) : void();
    case 12: return ReadU8(b, 0, u) ? LookupCell(c, e, u) : void();
    case 13: return ReadU16(b, 0, u) ? LookupCell(c, e, u) : void();
    case 14: return ReadU16(b, 0, u) ? BitSetCell(c, e, u) : void();
    case 20: return ReadU16(b, 0, u) ? DateCell(c, TwelveBitDate(u)) : void();
    case 21: return PackedFieldCell(c, e, b);
    case 22: return CodedTextCell(c, e, b);
    case 23:
        if (b.size() < 3)
            return;
        return TextCell(c, GetBitField(b.data(), e.scale & 7, 1) ? "Y" : "N");
    case 24: {
        if (!ReadF32(b, 0, f) || !(f >= 0 && f < 86400.0f))
            return;
        c.value(f);
        std::string time = FormatClockTime(uint32_t(f), true);
        return TextCell(c, time.c_str());
    }
    case 34:
        if (!ReadF32(b, 0, f) || f == FLT_MAX)
            return;
        return MoneyNumber(c, code == 70 ? f * 100 : f);
    case 35:
        if (!ReadF32(b, 0, f) || f == FLT_MAX)
            return;
        if (f == kNotApplicable && (code == 20 || code == 21))
            return TextCell(c, "n/a");
        return MoneyNumber(c, f * 100);
    case 36: {
        if (!ReadU32(b, 0, u))
            return;
        int32_t v = int32_t(u);
        c.value(float(v));
        if (v == 0)
            return PlainNumber(c, 0);
        const bool exporting = CurrentCellSettings().exportMode;
        c.out.printf(exporting ? "%0i%03i%03i" : "%i-%03i-%03i", v / 1000000, (v / 1000) % 1000, v % 1000);
        return;
    }
    default: return;
    }
}

void DescriptorRoute(CellCall& c, int code)
{
    if (IsMadeItemId(RecordId(c.record)))
        return;
    const uint8_t* descriptor = nullptr;
    RecordCursor cursor{c.record, c.extra};
    const uint8_t* data = GetFieldDescriptor(uint32_t(code), &descriptor, &cursor, 0);
    if (!data || !descriptor)
        return;
    const uint8_t type = descriptor[1];
    if ((type & 0xF0) == 0x00)
        return TextCell(c, reinterpret_cast<const char*>(data + 1), data[0]);
    if (type == 0xF0) {
        uint16_t date = LoadU16(data);
        return date == 0xFFFF ? void() : DateCell(c, date);
    }
    if ((type & 0xF0) == 0x80)
        return TextCell(c, reinterpret_cast<const char*>(data), TextLength({data, size_t(type & 0x0F)}, type & 0x0F));
    if (type == 0xE0 || type == 0xF1) {
        uint32_t index = type == 0xE0 ? data[0] : LoadU16(data);
        if (descriptor[0] < 4)
            return;
        auto entry = FieldTableEntryOf(ListFieldTable(c.list), descriptor[3]);
        const char* text = nullptr;
        size_t length = 0;
        if (entry && CountedText(entry->data, int(index), text, length))
            TextCell(c, text, length);
    }
}

void FieldRoute(CellCall& c)
{
    const int code = c.code();
    const bool shareTable = c.family == kFamilyShares || c.family == kFamilyTicker;
    RecordCursor cursor{c.record, c.extra};
    switch (code) {
    case kCodeRowNumber:
        c.value(float(c.number));
        c.out.printf("%i", c.number);
        return;
    case kCodeExchange: {
        if (!shareTable)
            return;
        int32_t cls = GetRecordClass(&cursor);
        if (cls < 0 || cls >= int32_t(std::size(kExchangeNames)))
            return;
        return TextCell(c, (c.formatB() & 1) ? kExchangeShortNames[cls] : kExchangeNames[cls]);
    }
    default: break;
    }
    if (code == kCodeSedol && shareTable)
        return DescriptorRoute(c, kSedolItem);
    if (shareTable && (code == kCodeExtraInfo || code == kCodeEpic)) {
        // Other items (indices, the special class records) keep their codes in the company data.
        if (!IsShareId(RecordId(c.record)) && !IsMadeItemId(RecordId(c.record))) {
            if (code == kCodeEpic)
                DescriptorRoute(c, code);
            return;
        }
        RecordTexts texts = GetRecordTexts(c.record);
        if (code == kCodeEpic)
            return TextCell(c, texts.epic.data(), texts.epic.size());
        const char* afterEpic = texts.epic.data() + texts.epic.size() + 1;
        const char* end = reinterpret_cast<const char*>(c.record) + RecordLayout::Text + c.record[RecordLayout::TextLength];
        if (texts.epic.data() && afterEpic < end)
            TextCell(c, afterEpic, TextLength({reinterpret_cast<const uint8_t*>(afterEpic), size_t(end - afterEpic)}, 255));
        return;
    }
    if (code == kCodeCurrency && shareTable) {
        uint16_t id = RecordId(c.record);
        if (IsShareId(id) || IsMadeItemId(id) || GetRecordTexts(c.record).classByte == kClassBytePlain)
            TextCell(c, GetMajorCurrencyName(int(GetShareFieldType(&cursor, 0))));
        return;
    }
    if (c.family == kFamilyTransactions) {
        TransactionField(c);
        return;
    }
    if (!shareTable)
        return; // the other families' fixed tables name no further fields yet
    if (code >= kFirstDescriptorCode) {
        if (shareTable)
            DescriptorRoute(c, code);
    } else {
        FieldTableRoute(c, code);
    }
    if (code == kCodeUnderlined && c.aux == 0) {
        const char* bar = std::strchr(c.out.c_str(), '|');
        if (bar) {
            char part[kCellTextBytes];
            size_t n = std::min(size_t(bar - c.out.c_str()), sizeof part - 1);
            std::memcpy(part, c.out.c_str(), n);
            c.out.clear();
            c.out.append('*');
            c.out.append(part, n);
        }
    }
}

// The column kinds a family's records can answer; any other pairing would read one record kind as
// another.
bool KindFitsFamily(uint8_t kind, int family)
{
    switch (family) {
    case kFamilyTransactions:
        return kind == kColumnField || kind == kColumnFormula || kind == kColumnNote || kind == kColumnHolding;
    case kFamilyDealings: return kind == kColumnField || kind == kColumnDealing;
    case kFamilyCash: return kind == kColumnField || kind == kColumnCash;
    case kFamilyNews: return kind == kColumnField || kind == kColumnNews;
    case kFamilyTrades: return kind == kColumnField || kind == kColumnTrade;
    default: return kind != kColumnCash && kind != kColumnNews && kind != kColumnTrade && kind != kColumnDealing;
    }
}

// Export mode's text rules: cut to 12 characters for format 3, commas to ";" where they would split
// a field.
void ExportText(CellText& out)
{
    const CellSettings& s = CurrentCellSettings();
    if (s.exportFormat == 3)
        out.truncate(kExportShortText);
    if (s.exportFormat == 1 || (s.exportSeparator == ',' && s.exportFormat > 3)) {
        for (char* p = out.data(); *p; ++p)
            if (*p == ',')
                *p = ';';
    }
}

} // namespace

void CellCall::value(float v)
{
    CellValue& cell = LastCellValue();
    cell.value = v == FLT_MAX ? 0 : v;
    cell.negative = cell.value < 0;
}

CellValue& LastCellValue()
{
    static CellValue value;
    return value;
}

CellSources& CurrentCellSources()
{
    static CellSources sources;
    return sources;
}

PackedDate TodayPackedDate()
{
    LocalDateTime now = NowLocal();
    if (now.year < 1900 || now.year > 2027)
        return LatestDatabaseDate;
    return PackDate(now.day, now.month, now.year);
}

PackedDate TwelveBitDate(uint32_t bits)
{
    bits &= 0xFFF;
    if (bits == 0)
        return 0;
    int year0 = DatabaseBaseYear() - 1900 + int(bits >> 9);
    return MakePackedDate(int(bits & 31), int((bits >> 5) & 15), year0);
}

int DatabaseBaseYear()
{
    PackedDate latest = LatestDatabaseDate ? LatestDatabaseDate : DatabaseDate;
    return latest ? FullYear(latest) - 7 : 1990;
}

float PackedDealingNumber(uint32_t mantissa, uint32_t exponent, int bias)
{
    static constexpr double kPowers[] = {1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5,
                                         1e-4,  1e-3,  1e-2,  1e-1,  1,     1e1,   1e2,  1e3,  1e4,  1e5,  1e6,
                                         1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13, 1e14, 1e15};
    int power = int(exponent) + bias;
    if (power < -15 || power > 15)
        return FLT_MAX;
    return float(double(mantissa) * kPowers[power + 15]);
}

float DealingWordValue(uint32_t word, int bits)
{
    if (bits == 14)
        return PackedDealingNumber(word & 0x3FF, (word >> 10) & 15, kDealing14BitBias);
    return PackedDealingNumber(word & 0x7F, (word >> 7) & 7, kDealing10BitBias);
}

constexpr double kQuarterTolerance = 1e-3;

void PlainNumber(CellCall& c, float value)
{
    c.value(value);
    CellNumberFormat f{c.formatA(), c.formatB(), c.code(), false, 2, true};
    c.out.adopt(FormatCellNumber(c.out.tail(), c.out.room(), value, f));
}

namespace {

constexpr uint16_t kFirstImportedItemId = 0xF000;

// An imported item's prices are whatever the file gave (165.98), not quarters of a penny.
bool ImportedRow(const CellCall& c)
{
    if (c.family == kFamilyTrades || c.family == kFamilyTransactions || c.family == kFamilyCash || !c.record)
        return false;
    return RecordId(c.record) >= kFirstImportedItemId;
}

} // namespace

void MoneyNumberInUnit(CellCall& c, float pence, int unit)
{
    c.value(pence);
    CellNumberFormat f{c.formatA(), c.formatB(), c.code(), true, unit, true, ImportedRow(c)};
    c.out.adopt(FormatCellNumber(c.out.tail(), c.out.room(), pence, f));
}

void MoneyNumber(CellCall& c, float pence) { MoneyNumberInUnit(c, pence, RowUnit(c)); }

void QuotedPrice(CellCall& c, float price)
{
    using namespace CellFormatBits;
    c.value(price);
    const int unit = RowUnit(c);
    const bool minor = GetCurrencyUnitSymbols(unit).minor != 0;
    uint8_t a = c.formatA(), b = c.formatB();
    // Left to itself a quote of a share priced in pence stays in pence, as its price column shows it.
    if (minor && (a & MoneyUnit) == 0)
        a |= MoneyPence;
    // The fraction glyphs show quarters only: any other price takes the decimals that tell it apart.
    const double quarters = double(price) * 4;
    if ((b & Fractions) && std::fabs(quarters - std::nearbyint(quarters)) > kQuarterTolerance) {
        b = uint8_t(b & ~(Fractions | Decimals));
        a |= AutoDecimals;
    }
    // Without a minor unit (no database record, or a currency without one) the figure is shown as held.
    CellNumberFormat f{a, b, c.code(), minor, minor ? unit : 2, true};
    c.out.adopt(FormatCellNumber(c.out.tail(), c.out.room(), price, f));
}

void PackedNumber(CellCall& c, float value)
{
    c.value(value);
    CellNumberFormat f{c.formatA(), c.formatB(), c.code(), false, 2, false};
    c.out.adopt(FormatCellNumber(c.out.tail(), c.out.room(), value, f));
}

void DateCell(CellCall& c, PackedDate date)
{
    if (date == 0)
        return;
    c.value(float(date));
    const CellSettings& s = CurrentCellSettings();
    if (s.exportMode) {
        std::string text = FormatDateStyled(date, s.exportDateStyle, s.exportDateSeparator);
        c.out.append(text.c_str());
        return;
    }
    int year = FullYear(date);
    if (year < kBeforeDateStyleYear)
        c.out.printf("%i/%i/%i", DayOfMonth(date), MonthOfYear(date), year);
    else
        c.out.printf("%i/%i/%02i", DayOfMonth(date), MonthOfYear(date), year % 100);
}

void TextCell(CellCall& c, const char* text) { TextCell(c, text, text ? std::strlen(text) : 0); }

void TextCell(CellCall& c, const char* text, size_t n)
{
    c.text = true;
    if (text && n)
        c.out.append(text, n);
}

void YesNoCell(CellCall& c, uint32_t value)
{
    c.value(float(value));
    const uint8_t style = c.option();
    if (style & kTickStyleBit) {
        LastCellValue().tickFont = true;
        if (value == 0)
            c.out.append('3');
        else if (style == kTickStyleBit)
            c.out.append('7');
        return;
    }
    if (value == 0)
        c.out.append("Yes");
    else if (style == 0)
        c.out.append("No");
}

int RowUnit(const CellCall& c)
{
    if (c.family == kFamilyTrades)
        return c.record[TradeLayout::Unit] & 7;
    if (c.family == kFamilyTransactions || c.family == kFamilyCash)
        return 0;
    RecordCursor cursor{c.record, c.extra};
    return int(GetShareFieldType(&cursor, 0));
}

float LatestClose(const CellCall& c)
{
    float v = 0;
    return ReadF32(RowSubRecord(c.record, c.extra), kStatLastClose, v) ? v : 0;
}

size_t FormatColumnValue(uint8_t* record, uint32_t extra, const uint8_t* column, char* text, size_t capacity,
                         int32_t number, const ShareList* list, uint32_t aux)
{
    CellText out(text, capacity);
    LastCellValue() = {};
    LastFormulaResult() = {};
    if (!column || column[ColumnDefLayout::Length] < kColumnDefBytes ||
        reinterpret_cast<uintptr_t>(record) < kLowestRecordAddress)
        return 0;
    CellCall c{record, extra, column, list, ListFamily(list), number, aux, out};
    if (!KindFitsFamily(c.kind(), c.family))
        return 0;
    if (c.family == kFamilyShares || c.family == kFamilyTicker || c.family == kFamilyTransactions)
        LastCellValue().rowFlags = RowFlags(c);
    switch (c.kind()) {
    case kColumnField: FieldRoute(c); break;
    case kColumnResults: ResultsRoute(c); break;
    case kColumnFormula: FormulaRoute(c); break;
    case kColumnPriceHistory: PriceHistoryRoute(c); break;
    case kColumnHolding: HoldingRoute(c); break;
    case kColumnDealing: DealingRoute(c); break;
    case kColumnNote: NoteRoute(c); break;
    case kColumnCash: CashRoute(c); break;
    case kColumnNews: NewsRoute(c); break;
    case kColumnIntraday: IntradayRoute(c); break;
    case kColumnTrade: TradeRoute(c); break;
    case kColumnResultsChange: ResultsChangeRoute(c); break;
    case kColumnPartnerView: PartnerViewRoute(c); break;
    default: break;
    }
    if (c.text && CurrentCellSettings().exportMode)
        ExportText(out);
    return out.size();
}

} // namespace qv
