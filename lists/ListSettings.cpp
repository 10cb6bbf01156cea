// The list settings of each view kind on the configuration's tables.
#include "lists/ListSettings.h"

#include "core/ColumnDef.h"
#include "core/ConfigState.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "lists/FieldTable.h"
#include "lists/ListSort.h"
#include "platform/ByteOrder.h"

#include <array>
#include <cstring>
#include <map>
#include <tuple>

namespace qv {
namespace {

constexpr uint32_t kResortInterval = 300000;
constexpr uint8_t kLiveColumn = 0x82;
constexpr uint8_t kTradeColumn = 0x83;

using LayoutKey = std::tuple<int, int, int>; // family kind, setting, market

// The layouts live as long as the program; the last of them are freed at its end.
struct LayoutCache {
    std::map<LayoutKey, uint8_t*> layouts;
    ~LayoutCache()
    {
        for (auto& [key, buffer] : layouts)
            ProFree(buffer);
    }
};

std::map<LayoutKey, uint8_t*>& OwnedLayouts()
{
    static LayoutCache cache;
    return cache.layouts;
}

int FamilyKind(int kind) { return kind == kListKindPortfolio ? kListKindShares : kind; }

TableFamily* FamilyOf(int kind)
{
    ConfigState& c = Config();
    switch (FamilyKind(kind)) {
    case kListKindShares: return &c.listTables;
    case kListKindTransactions: return &c.tranTables;
    case kListKindDealings: return &c.dealTables;
    case kListKindDataMining: return &c.dataMiningTables;
    case kListKindCash: return &c.cashTables;
    case kListKindNews: return &c.newsTables;
    default: return nullptr;
    }
}

bool InRange(int setting, int market) { return setting >= 0 && setting < kListSettings && market >= 0 && market < kTradeMarkets; }

TradeTableEntry* TradeEntry(int setting, int market)
{
    if (!InRange(setting, market))
        return nullptr;
    return &Config().tradeTables[size_t(market) * kListSettings + size_t(setting)];
}

// The configuration's chain of a setting, or null.
std::vector<uint8_t>* ConfigChain(int kind, int setting, int market)
{
    if (FamilyKind(kind) == kListKindTrades) {
        TradeTableEntry* e = TradeEntry(setting, market);
        return e ? &e->chain : nullptr;
    }
    TableFamily* family = FamilyOf(kind);
    if (!family || !InRange(setting, 0))
        return nullptr;
    return &family->designs[size_t(setting)].chain;
}

bool HasSortBytes(int kind)
{
    switch (kind) {
    case kListKindShares:
    case kListKindPortfolio:
    case kListKindDealings:
    case kListKindDataMining:
    case kListKindNews:
    case kListKindTrades:
        return true;
    default:
        return false;
    }
}

std::array<uint8_t, 16>& ProgramWideSettings()
{
    static std::array<uint8_t, 16> bytes{};
    return bytes;
}

void StoreCurrentSetting(ShareList* list, int kind, int setting)
{
    if (kind == kListKindShares) {
        int32_t number = list->word;
        if (number >= 0 && size_t(number) * 4 + 4 <= kCurrentSettingTableBytes)
            StoreU32(Config().currentSettings.data() + size_t(number) * 4, uint32_t(setting));
        return;
    }
    if (kind == kListKindPortfolio && list->source) {
        list->source->viewSetting = uint8_t(setting);
        return;
    }
    if (kind >= 0 && size_t(kind) < ProgramWideSettings().size())
        ProgramWideSettings()[size_t(kind)] = uint8_t(setting);
}

std::span<const uint8_t> FamilyFieldTable(int kind)
{
    switch (FamilyKind(kind)) {
    case kListKindShares:
    case kListKindDataMining:
        return DatabaseFieldTable();
    default:
        return {};
    }
}

} // namespace

TradeListSetting& TradeSetting(int market, int setting)
{
    static std::array<TradeListSetting, kTradeMarkets * kListSettings> settings{};
    if (!InRange(setting, market))
        market = setting = 0;
    return settings[size_t(market) * kListSettings + size_t(setting)];
}

int NormalisedTradeMarket(ShareList& list)
{
    if (list.tradeMarket < 0 || list.tradeMarket >= kTradeMarkets)
        list.tradeMarket = 0;
    return list.tradeMarket;
}

const uint8_t* SettingLayout(int kind, int setting, int market)
{
    LayoutKey key{FamilyKind(kind), setting, FamilyKind(kind) == kListKindTrades ? market : 0};
    auto it = OwnedLayouts().find(key);
    if (it != OwnedLayouts().end())
        return it->second;
    std::vector<uint8_t>* chain = ConfigChain(kind, setting, std::get<2>(key));
    if (!chain)
        return nullptr;
    size_t n = chain->empty() ? 1 : chain->size();
    auto* buffer = static_cast<uint8_t*>(ProCalloc(uint32_t(n), 1, "Column layout"));
    if (!chain->empty())
        std::memcpy(buffer, chain->data(), chain->size());
    OwnedLayouts()[key] = buffer;
    return buffer;
}

TableStyle* SettingStyle(int kind, int setting, int market)
{
    if (FamilyKind(kind) == kListKindTrades) {
        TradeTableEntry* e = TradeEntry(setting, market);
        return e ? reinterpret_cast<TableStyle*>(e->record.data()) : nullptr;
    }
    TableFamily* family = FamilyOf(kind);
    if (!family || !InRange(setting, 0))
        return nullptr;
    return &family->styles[size_t(setting)];
}

int GetSettingSort(int kind, int setting, int market)
{
    if (!HasSortBytes(kind))
        return 0;
    if (kind == kListKindTrades) {
        TradeTableEntry* e = TradeEntry(setting, market);
        return e ? int8_t(e->record.bytes[TradeTableRecord::kSortByte]) : 0;
    }
    TableFamily* family = FamilyOf(kind);
    return family && InRange(setting, 0) ? family->designs[size_t(setting)].sort : 0;
}

void SetSettingSort(int kind, int setting, int market, int value)
{
    if (!HasSortBytes(kind))
        return;
    if (kind == kListKindTrades) {
        if (TradeTableEntry* e = TradeEntry(setting, market))
            e->record.bytes[TradeTableRecord::kSortByte] = uint8_t(int8_t(value));
        return;
    }
    if (TableFamily* family = FamilyOf(kind); family && InRange(setting, 0))
        family->designs[size_t(setting)].sort = int8_t(value);
}

void StoreSortColumn(const ShareList* list, int kind)
{
    if (!list || !HasSortBytes(kind))
        return;
    int direction = list->sortDirection < 0 ? -1 : 1;
    int market = kind == kListKindTrades ? list->tradeMarket : 0;
    SetSettingSort(kind, list->tableSetting, market, (list->sortColumn + 1) * direction);
}

void SetLayoutPointer(const ShareList* list, int kind, uint8_t* layout)
{
    if (!list || !layout)
        return;
    int market = FamilyKind(kind) == kListKindTrades ? list->tradeMarket : 0;
    const uint8_t* old = SettingLayout(kind, list->tableSetting, market);
    LayoutKey key{FamilyKind(kind), list->tableSetting, market};
    if (!OwnedLayouts().count(key)) {
        ProFree(layout);
        return;
    }
    OwnedLayouts()[key] = layout;
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->columnLayout == old)
            l->columnLayout = layout;
    KeepLayoutEdit(list, kind);
    ProFree(const_cast<uint8_t*>(old));
}

void KeepLayoutEdit(const ShareList* list, int kind)
{
    if (!list)
        return;
    int market = FamilyKind(kind) == kListKindTrades ? list->tradeMarket : 0;
    const uint8_t* layout = SettingLayout(kind, list->tableSetting, market);
    std::vector<uint8_t>* chain = ConfigChain(kind, list->tableSetting, market);
    if (!layout || !chain)
        return;
    size_t n = ValidateColumnLayout({layout, ProBlockSize(layout)});
    chain->assign(layout, layout + n);
}

void FreeSettingLayouts()
{
    for (auto& [key, buffer] : OwnedLayouts())
        ProFree(buffer);
    OwnedLayouts().clear();
}

int CurrentSettingOf(const ShareList* list, int kind)
{
    if (!list)
        return 0;
    if (kind == kListKindShares) {
        int32_t number = list->word;
        if (number >= 0 && size_t(number) * 4 + 4 <= kCurrentSettingTableBytes)
            return int(LoadU32(Config().currentSettings.data() + size_t(number) * 4) % kListSettings);
        return 0;
    }
    if (kind == kListKindPortfolio && list->source)
        return list->source->viewSetting % kListSettings;
    return kind >= 0 && size_t(kind) < ProgramWideSettings().size() ? ProgramWideSettings()[size_t(kind)] % kListSettings
                                                                     : 0;
}

SettingSelection SelectColumnSetting(ShareList* list, int kind, int n, bool deferredSort, bool reset)
{
    SettingSelection out;
    if (!list)
        return out;
    // In the data-mining view's graph mode "Setting n" picks the current graph record, not a table.
    if (kind == kListKindDataMining && n >= 0 && n < kListSettings && Config().dataMining.bytes[0] != 0) {
        Config().dataMining.bytes[2] = uint8_t(n);
        out.setting = n;
        return out;
    }
    if (n < 0)
        n = list->tableSetting;
    n = n >= 0 && n < kListSettings ? n : 0;
    out.setting = n;
    if (kind == kListKindDailyChart || kind == kListKindIntradayChart || kind == kListKindTicker) {
        // Chart settings live in the view; only the kind's current number is kept here.
        StoreCurrentSetting(list, kind, n);
        return out;
    }
    out.resetGrid = reset && n != list->tableSetting;
    int market = kind == kListKindTrades ? NormalisedTradeMarket(*list) : 0;
    list->tableSetting = n;
    list->columnLayout = SettingLayout(kind, n, market);
    std::span<const uint8_t> table = FamilyFieldTable(kind);
    list->fieldTable = table.data();
    list->fieldTableSize = uint32_t(table.size());
    out.style = SettingStyle(kind, n, market);
    out.setting = n;
    StoreCurrentSetting(list, kind, n);
    int sort = GetSettingSort(kind, n, market);
    list->sortDirection = sort < 0 ? -1 : 1;
    list->sortColumn = (sort < 0 ? -sort : sort) - 1;
    list->deferredSort = deferredSort ? 1 : 0;
    return out;
}

bool ContinueListBuild(ShareList* list)
{
    if (!list || !list->deferredSort)
        return false;
    RecordCursor* current = CurrentEntry(list);
    if (!current || !current->record)
        return false;
    uint32_t id = EntryRecordId(*current);
    uint32_t sub = current->count;
    SortListByColumn(false, list, (list->sortColumn + 1) * (list->sortDirection < 0 ? -1 : 1), true);
    list->current = FindListEntryIndex(list->entries, list->capacity, id, sub);
    list->pendingScroll = 1;
    list->deferredSort = 0;
    return true;
}

int LiveResortColumn(LiveResortClock& clock, const ShareList& list, uint32_t nowMs)
{
    if ((++clock.ticks & 15) != 0)
        return 0;
    const uint8_t* def = GetColumnDef(list.columnLayout, list.sortColumn);
    if (!def || def[0] == 0 || list.sortColumn < 0)
        return 0;
    uint8_t kind = ColumnDefKind(def);
    if (kind != kLiveColumn && kind != kTradeColumn)
        return 0;
    if (clock.nextAllowed != 0 && int32_t(nowMs - clock.nextAllowed) < 0)
        return 0;
    clock.nextAllowed = nowMs + kResortInterval;
    if (clock.nextAllowed == 0)
        clock.nextAllowed = 1;
    return (list.sortColumn + 1) * (list.sortDirection < 0 ? -1 : 1);
}

} // namespace qv
