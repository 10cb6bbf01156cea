// Rows of the fixed lists, their filters, and refilling share lists.
#include "lists/ListRows.h"

#include "core/ColumnDef.h"
#include "core/Database.h"
#include "core/Memory.h"
#include "core/PackedDate.h"
#include "core/Portfolio.h"
#include "core/PriceStatistics.h"
#include "core/RecordFlags.h"
#include "core/RecordLists.h"
#include "core/SectorFilter.h"
#include "core/ShareList.h"
#include "core/TableLock.h"
#include "lists/CellNumber.h"
#include "lists/CellValue.h"
#include "lists/FieldTable.h"
#include "lists/ListOptions.h"
#include "lists/ListSettings.h"
#include "lists/ListSort.h"
#include "platform/ByteOrder.h"
#include "views/ViewBase.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace qv {
namespace {

constexpr std::array<const char*, kFixedListCount> kListNames = {
    "All", "Shares", "Investment Trusts", "Indices", "FTSE 100", "FTSE 250", "FTSE SmallCap", "Fledgling",
    "Non-index", "AIM", "Warrant", "Preference", "Convertibles", "Income", "Capital", "Other", "Imports",
    "FTSE 350", "Unit Trusts", "TechMark", "FT 30", "TechMark 100", "Gilts", "Commodities", "Foreign Exchange",
    "Intraday Holding List", "Bonds", "Exchange Traded Funds", "LSE", "NASDAQ", "NYSE", "AMEX", "Europe", "U.S.",
    "U.K."};

enum FixedList : int32_t {
    kAll = 0, kShares, kTrusts, kIndices, kFtse100, kFtse250, kSmallCap, kFledgling, kNonIndex, kAim, kWarrant,
    kPreference, kConvertibles, kIncome, kCapital, kOther, kImports, kFtse350, kUnitTrusts, kTechMark, kFt30,
    kTechMark100, kGilts, kCommodities, kForex, kIntradayHolding, kBonds, kEtfs, kLse, kNasdaq, kNyse, kAmex,
    kEurope, kUs, kUk
};

constexpr size_t kSectorWordOffset = 6;
constexpr int kSectorEntry = 25;
constexpr uint16_t kSectorMask = 0x003F;
constexpr uint16_t kMainSectorMask = 0x03C0;
constexpr uint16_t kNoSubSector = 63;
constexpr int32_t kFinancialsGroup = 2023;

bool Ordinary(uint8_t c) { return c == 7 || c == 11; }

// The text number of a record's sector under a scheme (field-table entry 24, 25 or 26), -1 for none.
int32_t SectorNumber(const uint8_t* record, int entry)
{
    uint16_t word = LoadU16(record + kSectorWordOffset);
    if (entry == 26) {
        uint16_t v = word >> 10;
        return v == kNoSubSector ? -1 : int32_t(v);
    }
    uint16_t stored = entry == 24 ? uint16_t((word & kMainSectorMask) >> 6) : uint16_t(word & kSectorMask);
    if (stored == 0)
        return -1;
    auto e = FieldTableEntryOf(DatabaseFieldTable(), entry);
    if (!e || e->data.size() < 256)
        return int32_t(stored) - 1;
    uint8_t mapped = e->data[stored];
    return mapped == 0xFF ? -1 : int32_t(mapped);
}

// The name of text `n` of a field-table entry's name list (after its 256-byte map).
std::string_view SectorText(int entry, int32_t n)
{
    auto e = FieldTableEntryOf(DatabaseFieldTable(), entry);
    if (!e || n < 0 || e->data.size() < 256)
        return {};
    std::span<const uint8_t> names = e->data.subspan(256);
    size_t pos = 0;
    for (int32_t i = 0; i < n && pos < names.size(); ++i)
        pos += 1 + names[pos];
    if (pos >= names.size() || pos + 1 + names[pos] > names.size())
        return {};
    return {reinterpret_cast<const char*>(&names[pos + 1]), names[pos]};
}

bool IsTrustSector(const uint8_t* record)
{
    return SectorText(kSectorEntry, SectorNumber(record, kSectorEntry)).find("Investment") != std::string_view::npos;
}

bool IsIndexRecord(const uint8_t* record)
{
    if (RecordMarketBits(RecordFlags(record)) == kMarketIndex)
        return true;
    const uint8_t* first = FirstSubRecord(record);
    return SubRecordKindOf(first) == SubRecordKind::Index;
}

int32_t ExchangeCode(const uint8_t* record)
{
    RecordCursor cursor{const_cast<uint8_t*>(record), 0};
    return GetRecordClass(&cursor);
}

bool SectorPasses(const RowFilter& f, const uint8_t* record, uint8_t c)
{
    if (!f.sectorFilterOn || f.listNumber == kIndices || f.listNumber == kGilts || f.listNumber == kCommodities ||
        f.listNumber == kForex)
        return true;
    bool chosen = f.sectorIndex >= 0;
    if (c == 1 || c == 13 || c == 16 || c == 17)
        return !chosen;
    if (f.sectorGroup == kFinancialsGroup) {
        int32_t main = SectorNumber(record, 24);
        if (main < 0)
            return !chosen;
        bool financial = SectorText(24, main).find("Financ") != std::string_view::npos;
        return (f.sectorIndex == 0) == financial;
    }
    int entry = f.sectorGroup == 2024 ? 24 : f.sectorGroup == 2026 ? 26 : 25;
    int32_t n = SectorNumber(record, entry);
    if (n < 0)
        return !chosen;
    return !chosen || n == f.sectorIndex;
}

bool HighLowPasses(const RowFilter& f, const uint8_t* sub)
{
    if (!f.newHighs && !f.newLows)
        return true;
    float close = LoadF32(sub + kStatLastClose);
    float high = LoadF32(sub + kStatPeriodHigh);
    float low = LoadF32(sub + kStatPeriodLow);
    float volume = LoadF32(sub + kStatLastVolume);
    if (volume == 0)
        return false;
    return f.newHighs ? close == high && close != low : close == low && close != high;
}

bool FreshEnough(const RowFilter& f, const uint8_t* sub)
{
    const ListOptions& o = CurrentListOptions();
    if (f.listNumber == kImports || o.showOldShares || LatestDatabaseDate == 0)
        return true;
    uint16_t last = LoadU16(sub + kStatLastDate);
    return last != 0 && DaysBetween(last, LatestDatabaseDate) <= o.staleDays;
}

// One of the three name-ordered sources.
struct SourceWalk {
    RowSource source;
    uint8_t* record = nullptr;         // main block: the record in hand (length 0 at the end)
    RecordListNode* node = nullptr;    // lists: the node in hand

    uint8_t* current() const
    {
        if (source == RowSource::Main)
            return record && RecordLength(record) != 0 ? record : nullptr;
        return node ? node->record : nullptr;
    }
    void step()
    {
        if (source == RowSource::Main)
            record = NextRecord(record);
        else
            node = node->next;
    }
};

std::string_view NameOf(const uint8_t* record) { return GetRecordTexts(record).name; }

// a before b: bytes over at most the first name's length.
bool NameBefore(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    int c = std::memcmp(a.data(), b.data(), n);
    return c < 0 || (c == 0 && a.size() < b.size());
}

template <typename Visit>
void WalkInNameOrder(Visit visit)
{
    TableLockGuard lock(&ExtraRecordsLock);
    std::array<SourceWalk, 3> walks{SourceWalk{RowSource::Main, MainRecordBlock, nullptr},
                                    SourceWalk{RowSource::Imported, nullptr, ImportedItemList},
                                    SourceWalk{RowSource::Extra, nullptr, ExtraRecordList}};
    for (;;) {
        SourceWalk* best = nullptr;
        for (SourceWalk& w : walks)
            if (w.current() && (!best || NameBefore(NameOf(w.current()), NameOf(best->current()))))
                best = &w;
        if (!best)
            return;
        visit(best->current(), best->source);
        best->step();
    }
}

void WriteRow(ShareList* list, int32_t& n, RecordCursor row)
{
    if (n + 1 >= list->capacity) {
        int32_t capacity = std::max(n + 2, list->capacity * 2);
        list->entries = static_cast<RecordCursor*>(
            ProRealloc(list->entries, uint32_t(capacity) * uint32_t(sizeof(RecordCursor))));
        for (int32_t i = list->capacity; i < capacity; ++i)
            list->entries[i] = RecordCursor{};
        list->capacity = capacity;
    }
    list->entries[n++] = row;
}

// The kind that decides how a list fills its rows. News and dealings windows only follow the current
// share of a list they share with a chart or a share table, so the first other view decides, whatever
// order the windows were attached in; a list that only they follow keeps theirs.
int RowOwnerViewKind(const ShareList* list)
{
    if (!list->views)
        return kListKindShares;
    for (const CViewBase* v = list->views; v; v = v->nextInList)
        if (v->kind != kListKindNews && v->kind != kListKindDealings)
            return v->kind;
    return list->views->kind;
}

RowFilter FilterOf(const ShareList& list)
{
    RowFilter f;
    f.listNumber = list.word;
    f.sectorGroup = list.sectorGroup;
    f.sectorIndex = list.sectorIndex;
    f.sectorFilterOn = list.sectorFilterOn != 0;
    f.newHighs = list.newHighsOnly != 0;
    f.newLows = list.newLowsOnly != 0;
    return f;
}

FilterPortfolioFill& FilterFill()
{
    static FilterPortfolioFill fill;
    return fill;
}

} // namespace

void SetFilterPortfolioFill(FilterPortfolioFill fill) { FilterFill() = std::move(fill); }

const char* FixedListName(int32_t listNumber)
{
    return listNumber >= 0 && listNumber < kFixedListCount ? kListNames[size_t(listNumber)] : "";
}

bool LineInFixedList(int32_t listNumber, const uint8_t* record, const uint8_t* sub, RowSource source)
{
    uint8_t c = SubRecordKindOf(sub);
    uint16_t flags = RecordFlags(record);
    uint16_t index = RecordIndexBits(flags);
    uint16_t market = RecordMarketBits(flags);
    switch (listNumber) {
    case kAll: return true;
    case kShares:
        return (c == 7 || c == 10 || c == 11) && (CurrentListOptions().trustsAreShares || !IsTrustSector(record));
    case kTrusts: return IsTrustSector(record) && !IsIndexRecord(record);
    case kIndices: return source == RowSource::Extra ? c == 1 : IsIndexRecord(record);
    case kFtse100: return index == kIndexFtse100 && Ordinary(c);
    case kFtse250: return index == kIndexFtse250 && Ordinary(c);
    case kSmallCap: return index == kIndexSmallCap && Ordinary(c);
    case kFledgling: return index == kIndexFledgling && Ordinary(c);
    case kNonIndex:
        return index == kIndexNone && market != kMarketAim && market != kMarketIndex && source != RowSource::Extra &&
               Ordinary(c);
    case kAim: return market == kMarketAim && Ordinary(c);
    case kWarrant: return c == 4;
    case kPreference: return c == 2 || c == 3;
    case kConvertibles: return c == 5;
    case kIncome: return c == 8;
    case kCapital: return c == 9;
    case kOther: return c == 0 || c == 10;
    case kImports: return RecordId(record) >= 0xF000 && source != RowSource::Extra;
    case kFtse350: return (index == kIndexFtse100 || index == kIndexFtse250) && Ordinary(c);
    case kUnitTrusts: return c == 14;
    case kTechMark: return RecordTechMarkBits(flags) != kTechMarkNone && Ordinary(c);
    case kFt30: return RecordInFt30(flags) && Ordinary(c);
    case kTechMark100: return RecordTechMark100Bits(flags) == 0 && Ordinary(c);
    case kGilts: return c == 13;
    case kCommodities: return c == 17;
    case kForex: return c == 16;
    case kIntradayHolding: return source == RowSource::Extra;
    case kBonds: return c == 18;
    case kEtfs: return c == 19;
    default: break;
    }
    int32_t x = ExchangeCode(record);
    switch (listNumber) {
    case kLse: return x == 0;
    case kNasdaq: return x >= 3 && x <= 5;
    case kNyse: return x == 1;
    case kAmex: return x == 2;
    case kEurope: return x == 6 || x == 7 || (x >= 11 && x <= 14);
    case kUs: return (x >= 1 && x <= 5) || x == 9;
    case kUk: return x == 0 || x == 10 || (x >= 16 && x <= 18);
    default: return false;
    }
}

template <typename Emit>
static void VisitListRows(const RowFilter& filter, Emit emit)
{
    WalkInNameOrder([&](uint8_t* record, RowSource source) {
        uint32_t line = 0;
        for (const uint8_t* sub = FirstSubRecord(record);; ++line) {
            uint8_t c = SubRecordKindOf(sub);
            if (LineInFixedList(filter.listNumber, record, sub, source) && HighLowPasses(filter, sub) &&
                SectorPasses(filter, record, c) && FreshEnough(filter, sub))
                emit(RecordCursor{record, line});
            if (SubRecordLength(sub) == 0)
                break;
            sub += SubRecordLength(sub);
        }
    });
}

std::vector<RecordCursor> CollectListRows(const RowFilter& filter)
{
    std::vector<RecordCursor> rows;
    VisitListRows(filter, [&](RecordCursor row) { rows.push_back(row); });
    return rows;
}

bool RefreshListRows(ShareList* list, bool firstLayoutSet, bool resetLayout)
{
    if (!list)
        return false;
    if (Portfolio* p = list->source; p && p->type == kFilterPreset && p->changed && FilterFill()) {
        FilterFill()(p);
        return true;
    }
    if (!list->entries || list->capacity <= 0) {
        list->capacity = std::max(TotalItemCount, 0) + 1000;
        ProFree(list->entries);
        list->entries = static_cast<RecordCursor*>(ProCalloc(uint32_t(list->capacity), sizeof(RecordCursor), "Rows"));
    }
    if (!CurrentListOptions().perListSettings) {
        SectorFilter f = SectorFilterOf(*list);
        CopyGlobalListSettings(f);
        SetSectorFilter(*list, f);
    }
    if (resetLayout) {
        std::span<const uint8_t> table = DatabaseFieldTable();
        list->fieldTable = table.data();
        list->fieldTableSize = uint32_t(table.size());
        list->columnLayout = SettingLayout(firstLayoutSet ? kListKindShares : kListKindDataMining, list->tableSetting);
    }
    int32_t n = 0;
    VisitListRows(FilterOf(*list), [&](RecordCursor row) { WriteRow(list, n, row); });
    list->entries[n] = RecordCursor{};
    list->rowsEnd = n;
    list->last = n > 0 ? n - 1 : 0;
    list->filledMark = list->word + 1;
    list->sorted = 0;
    if (resetLayout && n > 0 && list->columnLayout)
        SortListByColumn(true, list, (list->sortColumn + 1) * (list->sortDirection < 0 ? -1 : 1), true);
    return true;
}

namespace {

// The row another window's list of the same fixed list shows, for a list that has none of its own
// yet while no row of that list is remembered (a list laid out from a layout keeps its stored row
// without a refill).
RememberedRow RowOfAnotherList(const ShareList* list)
{
    for (ShareList* other = ShareListChain(); other; other = other->next) {
        if (other == list || other->word != list->word || other->family != kFamilyShares || other->source)
            continue;
        if (const RecordCursor* entry = other->entries ? CurrentEntry(other) : nullptr; entry && entry->record)
            return {EntryRecordId(*entry), uint32_t(entry->count)};
        if (other->currentId != 0)
            return {other->currentId, other->currentSub};
    }
    return {};
}

} // namespace

void RefillListSource(ShareList* list, bool rebuild)
{
    if (!list || !list->entries)
        return;
    int kind = RowOwnerViewKind(list);
    bool remembers = kind == kListKindShares || kind == kListKindDataMining;
    if (!CurrentListOptions().perListCurrentRow && remembers) {
        RememberedRow row = RememberedListRow(list->word);
        if (row.id == 0 && list->currentId == 0)
            row = RowOfAnotherList(list);
        if (row.id != 0) {
            list->currentId = row.id;
            list->currentSub = row.line;
        }
    }
    bool portfolioKind = kind == 2 || (kind >= 4 && kind <= 8);
    if (rebuild && !list->source && !portfolioKind)
        RefreshListRows(list, true, false);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!list->sorted && list->columnLayout && list->sortColumn >= 0)
            SortListByColumn(false, list, (list->sortColumn + 1) * (list->sortDirection < 0 ? -1 : 1), false);
        if (list->family == kFamilyShares && list->source && ShareListHasEntries(list)) {
            SetShareListSource(list, list->source, list->currentId, list->currentSub, false, false);
            RememberListRow(list->word, {list->currentId, list->currentSub});
            return;
        }
        int32_t n = ShareListCount(list);
        if (n > 0) {
            int32_t at = FindListEntryIndex(list->entries, list->capacity, list->currentId, list->currentSub);
            list->current = at;
            list->firstVisible = std::max(at - 1, 0);
            list->currentId = EntryRecordId(list->entries[at]);
            list->currentSub = list->entries[at].count;
            break;
        }
        if (attempt == 1 || list->word == 0) {
            list->current = list->firstVisible = 0;
            break;
        }
        list->word = 0;
        RefreshListRows(list, true, false);
    }
    if (remembers)
        RememberListRow(list->word, {list->currentId, list->currentSub});
    bool keepsRefill = kind == kListKindDataMining || kind == 2 || list->family != kFamilyShares;
    list->filledMark = keepsRefill ? 0 : list->word + 1;
}

std::vector<RecordCursor> MarketGroupRowsOf(int32_t listNumber)
{
    RowFilter f;
    f.listNumber = listNumber;
    std::vector<RecordCursor> rows;
    VisitListRows(f, [&](RecordCursor row) { rows.push_back(row); });
    return rows;
}

std::string ShareColumnText(const RecordCursor& share, uint32_t fieldCode)
{
    if (!share.record || fieldCode > 0xFF)
        return {};
    // Prices in pence, as the lists' price columns show them.
    std::vector<uint8_t> column;
    AppendColumnDef(column,
                    ColumnOf(kColumnField, uint8_t(fieldCode)).withWidth(120).withFormatA(CellFormatBits::MoneyPence));
    char text[256];
    const size_t n = FormatColumnValue(share.record, share.count, column.data(), text, sizeof text, 0, nullptr, 0);
    return std::string(text, n);
}

} // namespace qv
