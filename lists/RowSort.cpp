// Row sorting: keys, comparisons, the quicksort and the name ranks.
#include "lists/RowSort.h"

#include "core/CachedStatistics.h"
#include "core/ColumnDef.h"
#include "core/Database.h"
#include "core/DateStepping.h"
#include "core/ExtraRecords.h"
#include "core/PackedDate.h"
#include "core/PriceLookups.h"
#include "core/PriceStatistics.h"
#include "core/RecordLists.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/ReadersWriterLock.h"
#include "core/TableLock.h"
#include "lists/CellValue.h"
#include "lists/FieldTable.h"
#include "lists/ListOptions.h"
#include "platform/ByteOrder.h"
#include "platform/DebugOutput.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <optional>
#include <span>
#include <strings.h>
#include <unordered_map>

namespace qv {

constexpr uint8_t kTradeRecordClass = 3;

uint8_t SortBusy = 0;
uint8_t SortStop = 0;

namespace {

// The context comparisons read while a sort runs.
struct CompareContext {
    uint16_t mask = 0xFFFF;
    int shift = 0;
    std::span<const uint8_t> byteMap; // a 256-byte map of a field entry
    bool useRanks = false;
    int tradeField = 0;
    // Texts computed once per row for keys that have no slot (trade types, news companies), by key.
    std::unordered_map<const uint8_t*, std::optional<std::string>> itemTexts;
    std::unordered_map<const uint8_t*, float> itemNumbers;
};
CompareContext ctx;

std::vector<std::string>& Pool()
{
    static std::vector<std::string> pool;
    return pool;
}

SortProgress sortProgress = nullptr;
void ShowSortProgress(const char* text, int step)
{
    if (sortProgress)
        sortProgress(text, step, true);
}

float dollarDivisor = 1.0f;
float euroDivisor = 1.0f;

std::array<uint16_t, 0x10000>& Ranks()
{
    static std::array<uint16_t, 0x10000> ranks{};
    return ranks;
}
bool ranksStale = true;

int Sign(int64_t v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }
// Storage order of the keys: the lower address first.
int Position(const SortItem& a, const SortItem& b) { return Sign(b.key - a.key); }
int Ranked(const SortItem& a, const SortItem& b)
{
    if (ctx.useRanks && a.rank != b.rank)
        return a.rank < b.rank ? 1 : -1;
    return Position(a, b);
}

template <typename T>
int LargerFirst(T va, T vb)
{
    return va > vb ? 1 : va < vb ? -1 : 0;
}

int U8Larger(const SortItem& a, const SortItem& b)
{
    int c = LargerFirst(*a.key, *b.key);
    return c ? c : Position(a, b);
}
int I8Larger(const SortItem& a, const SortItem& b)
{
    int c = LargerFirst(int8_t(*a.key), int8_t(*b.key));
    return c ? c : Position(a, b);
}
int I16Larger(const SortItem& a, const SortItem& b)
{
    int c = LargerFirst(LoadI16(a.key), LoadI16(b.key));
    return c ? c : Position(a, b);
}
int U16Smaller(const SortItem& a, const SortItem& b)
{
    int c = -LargerFirst(LoadU16(a.key), LoadU16(b.key));
    return c ? c : Position(a, b);
}
int U16Larger(const SortItem& a, const SortItem& b)
{
    int c = LargerFirst(LoadU16(a.key), LoadU16(b.key));
    return c ? c : Position(a, b);
}
uint16_t Masked(const uint8_t* key)
{
    uint16_t v = uint16_t((LoadU16(key) & ctx.mask) >> ctx.shift);
    return ctx.byteMap.size() >= 256 && v < 256 ? ctx.byteMap[v] : v;
}
int MaskedSmaller(const SortItem& a, const SortItem& b)
{
    int c = -LargerFirst(Masked(a.key), Masked(b.key));
    return c ? c : Ranked(a, b);
}
int ZeroAs256(const SortItem& a, const SortItem& b)
{
    int va = *a.key ? *a.key : 256, vb = *b.key ? *b.key : 256;
    int c = -LargerFirst(va, vb);
    return c ? c : Position(a, b);
}
int U8Smaller(const SortItem& a, const SortItem& b)
{
    int c = -LargerFirst(*a.key, *b.key);
    return c ? c : Position(a, b);
}
int I32Larger(const SortItem& a, const SortItem& b)
{
    int c = LargerFirst(LoadI32(a.key), LoadI32(b.key));
    return c ? c : Position(a, b);
}
int U32NoTie(const SortItem& a, const SortItem& b) { return LargerFirst(LoadU32(a.key), LoadU32(b.key)); }

float FloatKey(const uint8_t* key)
{
    float v = LoadF32(key);
    return v == kNoValueFloat ? 0.0f : v;
}
int FloatCommon(const SortItem& a, const SortItem& b)
{
    int c = LargerFirst(FloatKey(a.key), FloatKey(b.key));
    return c ? c : Ranked(a, b);
}
int FloatReversed(const SortItem& a, const SortItem& b) { return -FloatCommon(a, b); }
int FloatZerosLast(const SortItem& a, const SortItem& b)
{
    float va = FloatKey(a.key), vb = FloatKey(b.key);
    if (va == 0 || vb == 0)
        return FloatCommon(a, b);
    if (va != vb)
        return va < vb ? 1 : -1;
    if (ctx.useRanks && a.rank != b.rank)
        return a.rank > b.rank ? 1 : -1;
    return Sign(a.key - b.key);
}

int Alphabetical(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    int c = std::memcmp(a.data(), b.data(), n);
    if (c == 0)
        c = a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    return c < 0 ? 1 : c > 0 ? -1 : 0;
}
int AlphabeticalNoCase(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    int c = n ? strncasecmp(a.data(), b.data(), n) : 0;
    if (c == 0)
        c = a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    return c < 0 ? 1 : c > 0 ? -1 : 0;
}
// Empty texts after every other text.
int EmptyLast(std::string_view a, std::string_view b, int (*order)(std::string_view, std::string_view))
{
    if (a.empty() != b.empty())
        return a.empty() ? -1 : 1;
    return order(a, b);
}

int SlotText(const SortItem& a, const SortItem& b)
{
    uint32_t ia = LoadU32(a.key), ib = LoadU32(b.key);
    auto& pool = Pool();
    bool na = ia == 0 || ia > pool.size(), nb = ib == 0 || ib > pool.size();
    if (na || nb)
        return na && nb ? Position(a, b) : na ? -1 : 1;
    int c = Alphabetical(pool[ia - 1], pool[ib - 1]);
    return c ? c : Position(a, b);
}
int ZeroText(const SortItem& a, const SortItem& b)
{
    int c = Alphabetical(reinterpret_cast<const char*>(a.key), reinterpret_cast<const char*>(b.key));
    return c ? c : Position(a, b);
}
std::string_view Counted(const uint8_t* key) { return {reinterpret_cast<const char*>(key + 1), key[0]}; }
int CountedText(const SortItem& a, const SortItem& b)
{
    int c = EmptyLast(Counted(a.key), Counted(b.key), AlphabeticalNoCase);
    return c ? c : Position(a, b);
}

// Records of the main block by address and line; the others by name.
int StorageOrder(const SortItem& a, const SortItem& b)
{
    auto inMain = [](const uint8_t* r) { return r >= MainRecordBlock && r < MainBlockEnd; };
    bool ma = inMain(a.entry.record), mb = inMain(b.entry.record);
    if (ma && mb) {
        if (a.entry.record != b.entry.record)
            return a.entry.record < b.entry.record ? 1 : -1;
        return -LargerFirst(a.entry.count, b.entry.count);
    }
    if (ma != mb)
        return ma ? 1 : -1;
    int c = AlphabeticalNoCase(GetRecordTexts(a.entry.record).name, GetRecordTexts(b.entry.record).name);
    if (c)
        return c;
    return a.entry.record < b.entry.record ? 1 : a.entry.record > b.entry.record ? -1 : -LargerFirst(a.entry.count, b.entry.count);
}

int I32LargerMirror(const SortItem& a, const SortItem& b)
{
    int c = LargerFirst(LoadI32(a.key), LoadI32(b.key));
    return c ? c : Sign(a.key - b.key);
}
int U32Smaller(const SortItem& a, const SortItem& b)
{
    int c = -LargerFirst(LoadU32(a.key), LoadU32(b.key));
    return c ? c : Position(a, b);
}

// News entries: the latest day and time first.
int NewsWhen(const SortItem& a, const SortItem& b)
{
    const uint8_t* ea = a.entry.record;
    const uint8_t* eb = b.entry.record;
    int c = LargerFirst(LoadU16(ea + NewsEntryLayout::Date), LoadU16(eb + NewsEntryLayout::Date));
    if (!c)
        c = LargerFirst(LoadU32(ea + NewsEntryLayout::Time), LoadU32(eb + NewsEntryLayout::Time));
    return c ? c : Position(a, b);
}

// A share id (u16 key) by the share's name, looked up once per row; an id without a record last.
int ShareIdByName(const SortItem& a, const SortItem& b)
{
    const std::optional<std::string>& na = ctx.itemTexts[a.key];
    const std::optional<std::string>& nb = ctx.itemTexts[b.key];
    if (!na || !nb)
        return !na && !nb ? Position(a, b) : !na ? -1 : 1;
    int c = AlphabeticalNoCase(*na, *nb);
    return c ? c : Position(a, b);
}

void NameShareIds(ShareList* list, size_t offset)
{
    int32_t n = ShareListCount(list);
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t* key = list->entries[i].record + offset;
        uint16_t id = LoadU16(key);
        uint8_t* record = id ? FindShareRecord(id) : nullptr;
        ctx.itemTexts[key] = record ? std::optional<std::string>(GetRecordTexts(record).name) : std::nullopt;
    }
}

// Intraday trades and quotes (32-byte records, the key the record itself): numbers larger first and
// the later record first on a tie; values, directions and trade types order trades only, the quotes
// after them.
int TradeRecords(const SortItem& a, const SortItem& b)
{
    const uint8_t* ra = a.key;
    const uint8_t* rb = b.key;
    int field = ctx.tradeField;
    auto later = [&] { return Sign(ra - rb); };
    if (field == 10 || field == 11 || field == 7) {
        bool ta = ra[TradeLayout::Class] == kTradeRecordClass, tb = rb[TradeLayout::Class] == kTradeRecordClass;
        if (ta != tb)
            return ta ? 1 : -1;
        if (!ta)
            return 0;
    }
    int c = 0;
    switch (field) {
    case 3:
        c = LargerFirst(LoadF32(ra + TradeLayout::Bid) + LoadF32(ra + TradeLayout::Offer),
                        LoadF32(rb + TradeLayout::Bid) + LoadF32(rb + TradeLayout::Offer));
        break;
    case 10:
        c = LargerFirst(LoadF32(ra + TradeLayout::Volume) * LoadF32(ra + TradeLayout::Price),
                        LoadF32(rb + TradeLayout::Volume) * LoadF32(rb + TradeLayout::Price));
        break;
    case 11: c = LargerFirst(int8_t(ra[TradeLayout::Direction]), int8_t(rb[TradeLayout::Direction])); break;
    case 12: c = LargerFirst(ra[TradeLayout::Centre], rb[TradeLayout::Centre]); break;
    case 7: return Alphabetical(ctx.itemTexts[ra].value_or(""), ctx.itemTexts[rb].value_or(""));
    default: break;
    }
    return c ? c : later();
}

// Dealings (rows of items of the dealings stream, keyed by the item): numbers larger first, dates
// earlier first, texts alphabetical with an empty text last, code 1 the stream's order.
int DealingNumber(const SortItem& a, const SortItem& b)
{
    int c = LargerFirst(ctx.itemNumbers[a.key], ctx.itemNumbers[b.key]);
    return c ? c : Position(a, b);
}
int DealingDate(const SortItem& a, const SortItem& b)
{
    int c = -LargerFirst(ctx.itemNumbers[a.key], ctx.itemNumbers[b.key]);
    return c ? c : Position(a, b);
}
int DealingText(const SortItem& a, const SortItem& b)
{
    int c = EmptyLast(ctx.itemTexts[a.key].value_or(""), ctx.itemTexts[b.key].value_or(""), Alphabetical);
    return c ? c : Position(a, b);
}
int StreamOrder(const SortItem& a, const SortItem& b) { return Position(a, b); }

// The comparisons of field types below 15.
RowCompare TypeCompare(uint8_t type)
{
    switch (type) {
    case 0: return U8Larger;
    case 1: case 9: case 10: case 12: case 13: return U16Smaller;
    case 2: return I32Larger;
    case 3: case 5: return ZeroText;
    case 4: return CountedText;
    case 6: return FloatCommon;
    case 7: case 11: return MaskedSmaller;
    case 8: return U8Smaller;
    case 14: return ZeroAs256;
    default: return nullptr;
    }
}

uint8_t* SlotOf(RecordCursor row)
{
    uint8_t* sub = SkipSubRecords(&row);
    return sub ? sub + SubRecordLayout::Statistics : nullptr;
}

void WriteSlotFloat(RecordCursor row, float v)
{
    if (uint8_t* slot = SlotOf(row))
        StoreF32(slot, v);
}

int32_t RowCount(const ShareList* list) { return ShareListCount(list); }

template <typename Fill>
void FillSlots(ShareList* list, Fill fill)
{
    int32_t n = RowCount(list);
    for (int32_t i = 0; i < n && !SortStop; ++i)
        WriteSlotFloat(list->entries[i], fill(list->entries[i]));
}

float ClassOrder(RecordCursor row)
{
    int32_t c = GetRecordClass(&row);
    if (c >= 11 && c <= 14)
        c = 11;
    else if (c > 14)
        c -= 3;
    return float(c);
}

// The close `count` units back: unit 5 trading days from the stream's end, 1-4 the date units 0-3
// back from the latest date; no price gives the no-value mark.
float CloseBack(RecordCursor row, uint8_t unitByte, uint16_t count)
{
    int unit = unitByte & 7;
    float p = 0;
    if (unit == 5)
        p = GetPriceDaysBack(row.record, row.count, count);
    else if (unit >= 1 && unit <= 4)
        p = GetPriceOnDate(row.record, row.count, AddToDate(LatestDatabaseDate, -int32_t(count), unit - 1), true);
    return p == 0 ? kNoValueFloat : p;
}

float VolumeBack(RecordCursor row, uint8_t unitByte, uint16_t count)
{
    int unit = unitByte & 7;
    DayRecord day{};
    if (unit == 5) {
        GetDayRecordFromEnd(row.record, row.count, count, &day);
        return day.volume;
    }
    if (unit >= 1 && unit <= 4)
        FindPriceOnDate(row.record, row.count, AddToDate(LatestDatabaseDate, -int32_t(count), unit - 1), true, &day);
    return day.volume;
}

float HighLowKey(RecordCursor row, const uint8_t* def)
{
    uint16_t start = DateBackFromLatest(def[ColumnDefLayout::FirstUnit], def[ColumnDefLayout::FirstCount]);
    float high = 0, low = 0;
    uint16_t highDate = 0, lowDate = 0;
    GetHighLowInRange(row.record, row.count, start, &high, &highDate, &low, &lowDate);
    uint8_t sub = def[ColumnDefLayout::SubKind];
    bool isHigh = (sub & 1) != 0;
    float price = isHigh ? high : low;
    uint16_t date = isHigh ? highDate : lowDate;
    switch (sub) {
    case 0: case 1: return price;
    case 2: case 3: return float(date);
    case 4: case 5: return date ? float(DaysBetween(date, LatestDatabaseDate)) : 0.0f;
    default: {
        uint8_t* s = SkipSubRecords(&row);
        float close = s ? LoadF32(s + kStatLastClose) : 0;
        return price == 0 ? 0.0f : (close - price) / price * 100;
    }
    }
}

bool PreparePriceHistory(ShareList* list, const uint8_t* def, SortKeys& out)
{
    uint8_t code = ColumnDefCode(def);
    out.keyOffset = kSortSlotKey;
    out.compare = FloatCommon;
    if (code == '^') {
        uint8_t sub = def[ColumnDefLayout::SubKind];
        out.compare = sub == 6 || sub == 7 ? FloatReversed : sub == 4 || sub == 5 ? FloatZerosLast : FloatCommon;
        FillSlots(list, [&](RecordCursor row) { return HighLowKey(row, def); });
        return true;
    }
    uint8_t unit = def[ColumnDefLayout::FirstUnit];
    uint16_t count = LoadU16(def + ColumnDefLayout::FirstCount);
    if (code == 'W') {
        FillSlots(list, [&](RecordCursor row) { return VolumeBack(row, unit, count); });
        return true;
    }
    if (code == 'X') {
        FillSlots(list, [&](RecordCursor row) { return AverageVolumeLastDays(row.record, row.count, count); });
        return true;
    }
    bool percent = (unit & 0x80) != 0;
    bool two = def[ColumnDefLayout::HistoryFour] == 7 && def[0] >= kPriceHistoryDefBytes;
    FillSlots(list, [&](RecordCursor row) {
        float p1 = CloseBack(row, unit, count);
        if (!two)
            return p1 == kNoValueFloat || !percent ? p1 : FloatKey(SlotOf(row) + 8) / p1 - 1;
        float p2 = CloseBack(row, def[ColumnDefLayout::SecondUnit], LoadU16(def + ColumnDefLayout::SecondCount));
        if (p1 == kNoValueFloat || p2 == kNoValueFloat)
            return kNoValueFloat;
        return percent ? p2 / p1 - 1 : p2 - p1;
    });
    return true;
}

// The number FormatColumnValue leaves for the row's cell; no value for an empty cell.
float CellNumber(ShareList* list, const uint8_t* def, RecordCursor row, int32_t number, std::string* text = nullptr)
{
    char buffer[kCellTextBytes];
    size_t n = FormatColumnValue(row.record, row.count, def, buffer, sizeof buffer, number, list, 0);
    if (text)
        text->assign(buffer, n);
    return n == 0 ? kNoValueFloat : LastCellValue().value;
}

bool PrepareCellValues(ShareList* list, const uint8_t* def, SortKeys& out)
{
    uint8_t kind = ColumnDefKind(def), code = ColumnDefCode(def);
    bool numeric = !(def[ColumnDefLayout::TextColumn] & 1);
    int32_t number = 0;
    FillSlots(list, [&](RecordCursor row) {
        float v = CellNumber(list, def, row, ++number);
        if (kind == kColumnPartnerView)
            return v != kNoValueFloat && (code == 0 || code == 1 || code == 4) ? std::trunc(v) : v;
        if (numeric && (v == kNoValueFloat || v > 9e9f))
            v = -9e9f;
        return v;
    });
    out.keyOffset = kSortSlotKey;
    out.compare = FloatCommon;
    bool sixteenBit = (kind == kColumnResults && code == 0) || (kind == kColumnResultsChange && (code == 13 || code == 45));
    if (sixteenBit) {
        // Dates go into the slot's first two bytes.
        int32_t n = RowCount(list);
        for (int32_t i = 0; i < n; ++i)
            if (uint8_t* slot = SlotOf(list->entries[i]))
                StoreU16(slot, uint16_t(std::clamp(LoadF32(slot), 0.0f, 65535.0f)));
        out.compare = U16Smaller;
    } else if (kind == kColumnHolding && code == 22) {
        int32_t n = RowCount(list);
        for (int32_t i = 0; i < n; ++i)
            if (uint8_t* slot = SlotOf(list->entries[i]))
                StoreU32(slot, uint32_t(int32_t(LoadF32(slot))));
        out.compare = U32NoTie;
    }
    return true;
}

// A field of the record's company data (codes 96-127 of the record, 128 and up of the line; code 2
// read as 130), found by the bounded lookup: texts by the text pool, numbers as floats, a missing
// field after every other.
bool PrepareCompanyField(ShareList* list, const uint8_t* def, SortKeys& out)
{
    uint8_t code = ColumnDefCode(def);
    if (code == 128) {
        FillSlots(list, [&](RecordCursor) { return 0.0f; });
        int32_t n = RowCount(list);
        std::string text;
        for (int32_t i = 0; i < n && !SortStop; ++i) {
            CellNumber(list, def, list->entries[i], i + 1, &text);
            text.resize(4, '\0');
            uint32_t key = uint32_t(uint8_t(text[0])) << 24 | uint32_t(uint8_t(text[1])) << 16 |
                           uint32_t(uint8_t(text[2])) << 8 | uint8_t(text[3]);
            if (uint8_t* slot = SlotOf(list->entries[i]))
                StoreU32(slot, key);
        }
        out = {kSortSlotKey, U32NoTie};
        return true;
    }
    if (code == 129) {
        FillSlots(list, [&](RecordCursor row) { return -float(GetShareFieldType(&row, 0)); });
        out = {kSortSlotKey, FloatCommon};
        return true;
    }
    uint32_t field = code == 2 ? 130 : code;
    bool texts = false;
    int32_t n = RowCount(list);
    for (int32_t i = 0; i < n && !SortStop; ++i) {
        RecordCursor row = list->entries[i];
        const uint8_t* descriptor = nullptr;
        const uint8_t* data = GetFieldDescriptor(field, &descriptor, &row, 0);
        uint8_t* slot = SlotOf(row);
        if (!slot)
            continue;
        StoreU32(slot, 0);
        if (!data || !descriptor) {
            StoreF32(slot, -1.0f);
            continue;
        }
        uint8_t type = descriptor[1];
        if ((type & 0xF0) == 0) {
            texts = true;
            if (data[0] == 0)
                continue;
            Pool().emplace_back(reinterpret_cast<const char*>(data + 1), data[0]);
            StoreU32(slot, uint32_t(Pool().size()));
            continue;
        }
        float v = 0;
        switch (type & 0xF0) {
        case 0xE0: v = data[0]; break;
        case 0xF0: v = LoadU16(data); break;
        case 0xD0: v = LoadU32(data) == 0 ? -1.0f : float(LoadU32(data)); break;
        case 0x80: {
            uint32_t run = 0;
            for (int b = 0; b < 3; ++b)
                run = run << 8 | (b < (type & 0x0F) ? data[b] : 0);
            v = float(run);
            break;
        }
        default: v = -1.0f; break;
        }
        StoreF32(slot, v);
    }
    out = {kSortSlotKey, texts ? SlotText : FloatCommon};
    if (texts)
        for (int32_t i = 0; i < n; ++i)
            if (uint8_t* slot = SlotOf(list->entries[i]); slot && LoadF32(slot) == -1.0f)
                StoreU32(slot, 0);
    return true;
}

bool PrepareFieldColumn(ShareList* list, const uint8_t* def, SortKeys& out)
{
    uint8_t code = ColumnDefCode(def);
    // Other families read their own field table; without one their fields cannot be keyed.
    std::span<const uint8_t> table = list->fieldTable ? std::span<const uint8_t>(list->fieldTable, list->fieldTableSize)
                                                      : DatabaseFieldTable();
    if (!list->fieldTable && list->family != kFamilyShares)
        return false;
    if (code == 23) {
        FillSlots(list, [&](RecordCursor row) {
            uint8_t* s = SkipSubRecords(&row);
            float v = s ? LoadF32(s + kStatMarketValue) : 0;
            uint32_t currency = GetShareFieldType(&row, 0);
            return currency == 3 ? v / dollarDivisor : currency == 6 ? v / euroDivisor : v;
        });
        out = {kSortSlotKey, FloatCommon};
        return true;
    }
    if (code == '\\') {
        FillSlots(list, ClassOrder);
        out = {kSortSlotKey, FloatCommon};
        return true;
    }
    auto entry = FieldTableEntryOf(table, code);
    if (!entry)
        return false;
    uint8_t type = entry->type;
    int32_t offset = entry->offset >= kSubRecordOffsetsFrom ? -(256 - entry->offset) : entry->offset;
    if (code == 14 || code == 49)
        type = 7;
    if (type == 36)
        type = 2;
    if (code == 21) {
        int32_t n = RowCount(list);
        for (int32_t i = 0; i < n && !SortStop; ++i)
            GetCachedVolatility(list->entries[i]);
        type = 1;
    }
    if (code == 22) {
        int32_t n = RowCount(list);
        for (int32_t i = 0; i < n && !SortStop; ++i)
            GetCachedBeta(list->entries[i]);
        out = {-46, I16Larger};
        return true;
    }
    if (code == 46) {
        int32_t n = RowCount(list);
        for (int32_t i = 0; i < n && !SortStop; ++i)
            GetCachedCorrelation(list->entries[i]);
        out = {-44, I8Larger};
        return true;
    }
    out.keyOffset = offset;
    ctx.mask = entry->scale ? entry->scale : 0xFFFF;
    ctx.shift = 0;
    while (ctx.mask && !((ctx.mask >> ctx.shift) & 1))
        ++ctx.shift;
    ctx.byteMap = entry->data.size() >= 256 && (code == 24 || code == 25) ? entry->data.first(256) : std::span<const uint8_t>{};
    if (code == 21 || code == 12 || code == 13 || code == 0x34 || code == 0x35)
        out.compare = U16Larger;
    else if (code == 14 || code == 0x31 || code == 24 || code == 25 || code == 26)
        out.compare = MaskedSmaller;
    else if (code == 15 && type != 15)
        out.compare = StorageOrder;
    else if (type == 15 || type == 34 || type == 35)
        out.compare = code == 0x3F || code == 0x40 ? FloatReversed : code == 0x36 || code == 0x37 ? FloatZerosLast : FloatCommon;
    else if (type < 15)
        out.compare = TypeCompare(type);
    return out.compare != nullptr;
}

bool PrepareNewsColumn(ShareList* list, const uint8_t* def, SortKeys& out)
{
    uint8_t code = ColumnDefCode(def);
    if (code == 4 || code == 9 || code == 10) {
        size_t offset = NewsEntryLayout::Companies + (code == 4 ? 0 : code == 9 ? 2 : 4);
        NameShareIds(list, offset);
        out = {int32_t(offset), ShareIdByName};
        return true;
    }
    switch (code) {
    case 1: out = {0, NewsWhen}; return true;
    case 2: out = {int32_t(NewsEntryLayout::Time), U32Smaller}; return true;
    case 3: out = {int32_t(NewsEntryLayout::Status), U8Smaller}; return true;
    case 5: out = {int32_t(NewsEntryLayout::Position), I32Larger}; return true;
    case 6: out = {int32_t(NewsEntryLayout::Code), U16Smaller}; return true;
    case 7: out = {int32_t(NewsEntryLayout::Industry), U16Smaller}; return true;
    case 8: out = {int32_t(NewsEntryLayout::Subject), U16Smaller}; return true;
    default: return false;
    }
}

bool PrepareTradeColumn(ShareList* list, const uint8_t* def, SortKeys& out)
{
    uint8_t code = ColumnDefCode(def);
    switch (code) {
    case 6: out = {int32_t(TradeLayout::Volume), FloatCommon}; return true;
    case 5: out = {int32_t(TradeLayout::Price), FloatCommon}; return true;
    case 1: out = {int32_t(TradeLayout::Time), I32LargerMirror}; return true;
    case 2: out = {int32_t(TradeLayout::Bid), FloatCommon}; return true;
    case 4: out = {int32_t(TradeLayout::Offer), FloatCommon}; return true;
    case 3: case 7: case 10: case 11: case 12: break;
    default: return false;
    }
    ctx.tradeField = code;
    if (code == 7) {
        int32_t n = RowCount(list);
        char text[kCellTextBytes];
        for (int32_t i = 0; i < n; ++i) {
            RecordCursor row = list->entries[i];
            size_t len = FormatColumnValue(row.record, row.count, def, text, sizeof text, i + 1, list, 0);
            ctx.itemTexts[row.record] = std::string(text, len);
        }
    }
    out = {0, TradeRecords};
    return true;
}

// The note of each row as its cell shows it, by the text pool; an empty note counts as none.
bool PrepareNoteColumn(ShareList* list, const uint8_t* def, SortKeys& out)
{
    int32_t n = RowCount(list);
    char text[kCellTextBytes];
    for (int32_t i = 0; i < n && !SortStop; ++i) {
        RecordCursor row = list->entries[i];
        uint8_t* slot = SlotOf(row);
        if (!slot)
            continue;
        size_t len = FormatColumnValue(row.record, row.count, def, text, sizeof text, i + 1, list, 0);
        uint32_t index = 0;
        if (len != 0) {
            Pool().emplace_back(text, len);
            index = uint32_t(Pool().size());
        }
        StoreU32(slot, index);
    }
    out = {kSortSlotKey, SlotText};
    return true;
}

// Dealing columns keyed from the cells the dealings code gives (its text and number), once per row.
bool PrepareDealingColumn(ShareList* list, const uint8_t* def, SortKeys& out)
{
    uint8_t code = ColumnDefCode(def);
    if (code == 1) {
        out = {0, StreamOrder};
        return true;
    }
    bool number = code == 3 || code == 5 || code == 6 || code == 7 || code == 12 || code == 13;
    int32_t n = RowCount(list);
    char text[kCellTextBytes];
    for (int32_t i = 0; i < n && !SortStop; ++i) {
        RecordCursor row = list->entries[i];
        size_t len = FormatColumnValue(row.record, row.count, def, text, sizeof text, i + 1, list, 0);
        if (number)
            ctx.itemNumbers[row.record] = len ? LastCellValue().value : 0.0f;
        else
            ctx.itemTexts[row.record] = std::string(text, len);
    }
    out = {0, number ? (code == 3 ? DealingDate : DealingNumber) : DealingText};
    return true;
}

SortItem MakeItem(RecordCursor row, int32_t keyOffset)
{
    SortItem item{row, nullptr, 0};
    if (keyOffset >= 0 && keyOffset < kKeyIsEntry)
        item.key = row.record + keyOffset;
    else if (keyOffset < 0) {
        uint8_t* sub = SkipSubRecords(&row);
        item.key = sub ? sub - keyOffset : row.record;
    } else
        item.key = reinterpret_cast<const uint8_t*>(row.record);
    if (ctx.useRanks)
        item.rank = Ranks()[EntryRecordId(row)];
    return item;
}

SortItem* Median3(SortItem* a, SortItem* b, SortItem* c, RowCompare compare)
{
    if (compare(*a, *b) < 0)
        std::swap(a, b);
    // a before b
    if (compare(*b, *c) > 0)
        return b;
    return compare(*a, *c) > 0 ? c : a;
}

} // namespace

std::vector<std::string>& SortTextPool() { return Pool(); }
void SetSortProgress(SortProgress progress) { sortProgress = progress; }
void SetSortMoneyDivisors(float dollar, float euro)
{
    dollarDivisor = dollar > 0 ? dollar : 1.0f;
    euroDivisor = euro > 0 ? euro : 1.0f;
}

bool QuickSortRows(SortItem* first, SortItem* last, int depth, RowCompare compare)
{
    while (first < last) {
        if (depth > 1000)
            return false;
        if (SortStop)
            return true;
        SortItem* mid = first + (last - first) / 2;
        std::swap(*first, *Median3(first, mid, last, compare));
        SortItem pivot = *first;
        SortItem* lo = first;
        SortItem* hi = last;
        for (;;) {
            while (lo < hi && compare(pivot, *hi) > 0)
                --hi;
            while (lo < hi && compare(pivot, *lo) < 0)
                ++lo;
            if (lo >= hi)
                break;
            std::swap(*lo, *hi);
            ++lo;
            --hi;
            if (SortStop)
                return true;
        }
        if (lo == hi && compare(pivot, *hi) > 0)
            --hi;
        if (first < hi && !QuickSortRows(first, hi, depth + 1, compare))
            return false;
        first = hi + 1;
    }
    return true;
}

void SelectionSortRows(SortItem* lo, SortItem* hi, RowCompare compare)
{
    if (lo >= hi) {
        OutputDebugText("SwitchSorting\n");
        return;
    }
    for (SortItem* i = lo; i < hi; ++i) {
        if (SortStop == 1)
            return;
        for (SortItem* j = i + 1; j <= hi; ++j)
            if (compare(*i, *j) < 0)
                std::swap(*i, *j);
    }
}

bool SortRowArray(RecordCursor* rows, const SortKeys& keys, bool useRanks)
{
    ctx.useRanks = useRanks;
    std::vector<SortItem> items;
    for (RecordCursor* r = rows; r->record; ++r)
        items.push_back(MakeItem(*r, keys.keyOffset));
    if (items.size() < 2)
        return true;
    if (!QuickSortRows(items.data(), items.data() + items.size() - 1, 0, keys.compare))
        SelectionSortRows(items.data(), items.data() + items.size() - 1, keys.compare);
    for (size_t i = 0; i < items.size(); ++i)
        rows[i] = items[i].entry;
    return true;
}

std::vector<uint8_t> IntradaySortColumn(const uint8_t* def)
{
    constexpr size_t kValueKind = ColumnDefLayout::Parameters, kForm = kValueKind + 1;
    const int graph = def[ColumnDefLayout::Align] & 0x0F;
    if (def[ColumnDefLayout::Length] <= kForm || (graph != 3 && graph != 4 && graph != 5 && graph != 7))
        return {};
    std::vector<uint8_t> copy(def, def + def[ColumnDefLayout::Length]);
    copy[ColumnDefLayout::Align] = 1;
    if (graph == 3) {
        copy[ColumnDefLayout::FieldCode] = 'K';
        copy[kForm] &= 0x20;
    } else {
        copy[ColumnDefLayout::FieldCode] = graph == 7 ? 'Q' : 'S';
        copy[kValueKind] = 5;
    }
    return copy;
}

bool PrepareSortKeys(ShareList* list, const uint8_t* def, SortKeys& out)
{
    ctx = CompareContext{};
    Pool().clear();
    uint8_t kind = ColumnDefKind(def), code = ColumnDefCode(def);
    if (kind == kColumnNews)
        return PrepareNewsColumn(list, def, out);
    if (kind == kColumnTrade)
        return PrepareTradeColumn(list, def, out);
    // Keys computed into sort slots need rows that address database records.
    bool slots = list->family == kFamilyShares;
    switch (kind) {
    case kColumnResults:
    case kColumnResultsChange:
    case kColumnFormula:
    case kColumnHolding:
    case kColumnPartnerView:
        return slots && PrepareCellValues(list, def, out);
    case kColumnPriceHistory:
        return slots && PreparePriceHistory(list, def, out);
    case kColumnNote:
        return slots && PrepareNoteColumn(list, def, out);
    case kColumnIntraday: {
        // The intraday value the cell shows (through the real-time code's source); none is 0.
        if (!slots)
            return false;
        // The values come from the intraday store, which the feed may be writing meanwhile.
        SharedLockGuard storeLock(IntradayStoreLock());
        // A small graph sorts by the value behind it: a price line by the mid, a thermograph and
        // tick changes by the trade count, a buy/sell bar by the volume.
        const std::vector<uint8_t> copy = IntradaySortColumn(def);
        const uint8_t* column = copy.empty() ? def : copy.data();
        int32_t number = 0;
        FillSlots(list, [&](RecordCursor row) {
            float v = CellNumber(list, column, row, ++number);
            return v == kNoValueFloat ? 0.0f : v;
        });
        out = {kSortSlotKey, FloatCommon};
        return true;
    }
    case kColumnDealing:
        return PrepareDealingColumn(list, def, out);
    default:
        break;
    }
    if (kind == kColumnField && slots && (code >= 96 || code == 2))
        return PrepareCompanyField(list, def, out);
    bool slotCode = code == 21 || code == 22 || code == 23 || code == 46 || code == '\\';
    if (!slots && (slotCode || code >= 96))
        return false;
    return PrepareFieldColumn(list, def, out);
}

int SortRows(ShareList* list, int n, bool force)
{
    if (!list || !list->entries || !list->entries[0].record)
        return 1;
    if (SortBusy) {
        SortStop = 1;
        return 1;
    }
    SortBusy = 1;
    SortStop = 0;
    ShowSortProgress("Sorting", 7);
    int column = ColumnOfSignedNumber(n);
    bool ascending = n > 0;
    int result = 1;
    // Rows not sorted since they were filled are sorted even when the list already names the
    // column (a stored setting names it before the first fill).
    if (column != list->sortColumn || force || !list->sorted) {
        const uint8_t* def = GetColumnDef(list->columnLayout, column);
        uint8_t kind = def && def[0] ? ColumnDefKind(def) : 0;
        bool fieldless = kind == kColumnResults || kind == kColumnResultsChange || kind == kColumnPartnerView;
        if (!def || def[0] == 0)
            result = 0;
        else if (ColumnDefCode(def) == 0 && !fieldless)
            result = 1;
        else if (ColumnDefCode(def) == 'V' && !fieldless)
            result = 0;
        else {
            // The base pass orders by a word of each item; dealing items and cash entries may be
            // shorter than its offset, so they keep their order for it.
            bool baseKey = list->family != kFamilyDealings && list->family != kFamilyCash;
            int32_t base = list->family == kFamilyNews ? 10 : list->family == kFamilyTrades ? 9 : 30;
            if (baseKey)
                SortRowArray(list->entries, SortKeys{base, I32Larger}, false);
            SortKeys keys;
            result = PrepareSortKeys(list, def, keys) ? 1 : 0;
            if (result && !SortStop) {
                bool ranks = list->family == kFamilyShares && CurrentListOptions().ranking;
                if (ranks && ranksStale)
                    BuildNameRankTable();
                result = SortRowArray(list->entries, keys, ranks) ? 1 : 0;
                list->sortDirection = 1;
            }
        }
    }
    if (ascending != (list->sortDirection >= 1)) {
        std::reverse(list->entries, list->entries + ShareListCount(list));
        list->sortDirection = -list->sortDirection;
    }
    list->sorted = 1;
    list->sortedNeighbour = 0;
    list->sortColumn = column;
    ShowSortProgress("", 0);
    SortBusy = 0;
    return result;
}

void MarkNameRanksStale() { ranksStale = true; }
uint16_t NameRank(uint16_t id) { return Ranks()[id]; }

void BuildNameRankTable()
{
    TableLockGuard lock(&ExtraRecordsLock);
    std::array<uint16_t, 0x10000>& ranks = Ranks();
    ranks.fill(0);
    uint8_t* main = MainRecordBlock;
    RecordListNode* lists[2] = {ImportedItemList, ExtraRecordList};
    auto nameOf = [](const uint8_t* r) { return GetRecordTexts(r).name; };
    auto before = [](std::string_view a, std::string_view b) {
        size_t n = a.size();
        int c = n ? strncasecmp(a.data(), b.data(), std::min(n, b.size())) : 0;
        return c < 0 || (c == 0 && a.size() < b.size());
    };
    uint16_t next = 0;
    for (;;) {
        const uint8_t* best = nullptr;
        int from = -1;
        if (main && RecordLength(main) != 0) {
            best = main;
            from = 0;
        }
        for (int i = 0; i < 2; ++i)
            if (lists[i] && (!best || before(nameOf(lists[i]->record), nameOf(best)))) {
                best = lists[i]->record;
                from = i + 1;
            }
        if (!best)
            break;
        ranks[RecordId(best)] = ++next;
        if (from == 0)
            main = NextRecord(main);
        else
            lists[from - 1] = lists[from - 1]->next;
    }
    ranksStale = false;
}

} // namespace qv
