// Masks and defaults of the slot families of "Quorva.cfg".
#include "core/ConfigFamilies.h"

#include "core/ConfigDefaults.h"
#include "core/UpperHooks.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstdio>

namespace qv {

namespace {

constexpr size_t kMaxTradeTableName = 15;
// The first slot's field mask (Name, Price, change since open, % change since open, Volume) and
// layout (vertical, two lines per item).
constexpr uint16_t kFirstTickerFields = 173;
constexpr uint8_t kFirstTickerLayout = 4;
constexpr std::array<int8_t, 5> kListSorts = {10, 7, 8, 8, 2};
constexpr int8_t kTableSort = 2;
// Dealings tables open newest deal first (the deal date, descending).
constexpr int8_t kDealTableSort = -2;
constexpr std::array<const char*, kTradeTableKinds> kTradeKindWords = {"Trade", "Quote", "T & Q"};

std::string SlotName(const char* pattern, size_t slot)
{
    char text[32];
    std::snprintf(text, sizeof text, pattern, int(slot + 1));
    return text;
}

void ResetTables(TableFamily& tables, const char* pattern, ColumnLayoutSet set, int lastLayout,
                 int8_t sort)
{
    for (size_t i = 0; i < kSettingSlots; ++i) {
        auto& slot = tables.designs[i];
        slot.name = SlotName(pattern, i);
        slot.chain = DefaultColumnLayout(set, std::min(int(i), lastLayout));
        slot.sort = sort;
        InitDefaultTableStyle(tables.styles[i]);
    }
}

void ResetListTables(ConfigState& state)
{
    for (size_t i = 0; i < kSettingSlots; ++i)
        state.listTables.designs[i] = DefaultListTableDesign(i, state.signal & 1);
    state.currentSettings.fill(0);
}

template <typename Record>
void ResetNames(NamedRecordFamily<Record>& family, const char* pattern)
{
    for (size_t i = 0; i < kSettingSlots; ++i)
        family.names[i] = SlotName(pattern, i);
}

void ResetTradeKind(ConfigState& state, int kind)
{
    static constexpr std::array<ColumnLayoutSet, kTradeTableKinds> sets = {
        ColumnLayoutSet::TradeTables, ColumnLayoutSet::QuoteTables,
        ColumnLayoutSet::TradeQuoteTables};
    for (size_t i = 0; i < kSettingSlots; ++i) {
        auto& entry = state.tradeTables[size_t(kind) * kSettingSlots + i];
        char text[32];
        std::snprintf(text, sizeof text, "%s table %d", kTradeKindWords[size_t(kind)], int(i + 1));
        entry.name = std::string(text).substr(0, kMaxTradeTableName);
        entry.chain = DefaultColumnLayout(sets[size_t(kind)], std::min(int(i), 3));
        TableStyle style;
        InitDefaultTableStyle(style);
        entry.record = TradeTableRecord{};
        std::copy(style.bytes.begin(), style.bytes.end(), entry.record.bytes.begin());
        entry.record.bytes[TradeTableRecord::kSortByte] = uint8_t(kTableSort);
    }
}

void ResetTickers(ConfigState& state)
{
    ResetNames(state.tickers, "Setting %i");
    for (auto& ticker : state.tickers.records)
        SetDefaultTickerSettings(ticker);
    StoreU16(state.tickers.records[0].data() + TickerLayout::FieldMask, kFirstTickerFields);
    state.tickers.records[0].bytes[TickerLayout::Layout] = kFirstTickerLayout;
}

} // namespace

TableSlot DefaultListTableDesign(size_t slot, bool alternative)
{
    TableSlot design;
    design.name = SlotName("Table %i", slot);
    if (alternative) {
        design.chain = DefaultColumnLayout(ColumnLayoutSet::ListTablesAlt, std::min(int(slot), 3));
        design.sort = kTableSort;
    } else {
        size_t layout = std::min(slot, kListSorts.size() - 1);
        design.chain = DefaultColumnLayout(ColumnLayoutSet::ListTables, int(layout));
        design.sort = kListSorts[layout];
    }
    return design;
}

uint32_t FamilyMask(ConfigFamily family)
{
    using namespace config_mask;
    switch (family) {
    case ConfigFamily::ListTables: return kListTables;
    case ConfigFamily::TranTables: return kTranTables;
    case ConfigFamily::DailyGraphs: return kDailyGraphs;
    case ConfigFamily::IntradayGraphs: return kIntradayGraphs;
    case ConfigFamily::DealTables: return kDealTables;
    case ConfigFamily::CashTables: return kCashTables;
    case ConfigFamily::NewsTables: return kNewsTables;
    case ConfigFamily::DataMiningTables: return kDataMiningTables;
    case ConfigFamily::DataMiningGraphs: return kDataMiningGraphs;
    case ConfigFamily::ListStyles: return kListTables;
    case ConfigFamily::TradeTables: return kTradeTables;
    case ConfigFamily::QuoteTables: return kQuoteTables;
    case ConfigFamily::TradeQuoteTables: return kTradeQuoteTables;
    case ConfigFamily::Tickers: return kTickers;
    }
    return 0;
}

TableFamily* TableFamilyOf(ConfigState& state, ConfigFamily family)
{
    switch (family) {
    case ConfigFamily::ListTables: return &state.listTables;
    case ConfigFamily::TranTables: return &state.tranTables;
    case ConfigFamily::DealTables: return &state.dealTables;
    case ConfigFamily::CashTables: return &state.cashTables;
    case ConfigFamily::NewsTables: return &state.newsTables;
    case ConfigFamily::DataMiningTables: return &state.dataMiningTables;
    default: return nullptr;
    }
}

const TableFamily* TableFamilyOf(const ConfigState& state, ConfigFamily family)
{
    return TableFamilyOf(const_cast<ConfigState&>(state), family);
}

int TradeKindOf(ConfigFamily family)
{
    switch (family) {
    case ConfigFamily::TradeTables: return 0;
    case ConfigFamily::QuoteTables: return 1;
    case ConfigFamily::TradeQuoteTables: return 2;
    default: return -1;
    }
}

bool FamilyHasSortByte(ConfigFamily family)
{
    switch (family) {
    case ConfigFamily::ListTables:
    case ConfigFamily::DealTables:
    case ConfigFamily::NewsTables:
    case ConfigFamily::DataMiningTables:
        return true;
    default:
        return false;
    }
}

bool FamilyNeedsNames(ConfigFamily family)
{
    return family == ConfigFamily::ListTables || family == ConfigFamily::DataMiningTables;
}

bool FamilyHasStyleItems(ConfigFamily family)
{
    switch (family) {
    case ConfigFamily::TranTables:
    case ConfigFamily::DealTables:
    case ConfigFamily::CashTables:
    case ConfigFamily::NewsTables:
    case ConfigFamily::DataMiningTables:
        return true;
    default:
        return false;
    }
}

int FamilyItemsPerSlot(ConfigFamily family)
{
    return FamilyHasStyleItems(family) || TradeKindOf(family) >= 0 ? 2 : 1;
}

void ResetConfigFamily(ConfigState& state, ConfigFamily family)
{
    switch (family) {
    case ConfigFamily::ListTables:
        ResetListTables(state);
        return;
    case ConfigFamily::TranTables:
        ResetTables(state.tranTables, "Tran table %i", ColumnLayoutSet::TranTables, 3, 0);
        return;
    case ConfigFamily::DailyGraphs:
        ResetNames(state.dailyGraphs, "Setting %i");
        for (GraphSetting& record : state.dailyGraphs.records)
            InitGraphSettingDefaults(record, false);
        return;
    case ConfigFamily::IntradayGraphs:
        ResetNames(state.intradayGraphs, "Setting %i");
        for (GraphSetting& record : state.intradayGraphs.records)
            InitGraphSettingDefaults(record, true);
        return;
    case ConfigFamily::DealTables:
        ResetTables(state.dealTables, "Deal table %i", ColumnLayoutSet::DealTables, 3, kDealTableSort);
        return;
    case ConfigFamily::CashTables:
        ResetTables(state.cashTables, "Cash table %i", ColumnLayoutSet::CashTables, 3, 0);
        return;
    case ConfigFamily::NewsTables:
        ResetTables(state.newsTables, "News table %i", ColumnLayoutSet::NewsTables, 3, kTableSort);
        return;
    case ConfigFamily::DataMiningTables:
        ResetTables(state.dataMiningTables, "Table %i", ColumnLayoutSet::ListTables, 4, kTableSort);
        return;
    case ConfigFamily::DataMiningGraphs:
        ResetNames(state.dataMiningGraphs, "Graph %i");
        for (DataMiningGraph& record : state.dataMiningGraphs.records)
            InitDataMiningGraphDefaults(record);
        state.optionsA.setDataMiningWord(kDefaultDataMiningWord);
        state.dataMining.unpack(kDefaultDataMiningWord);
        return;
    case ConfigFamily::ListStyles:
        for (auto& style : state.listTables.styles)
            InitDefaultTableStyle(style);
        return;
    case ConfigFamily::TradeTables:
    case ConfigFamily::QuoteTables:
    case ConfigFamily::TradeQuoteTables:
        ResetTradeKind(state, TradeKindOf(family));
        return;
    case ConfigFamily::Tickers:
        ResetTickers(state);
        return;
    }
}

void ResetIntradayAlarms(ConfigState& state)
{
    IntradayAlarmConfig& alarms = state.intradayAlarms;
    InitNamedSettingRecord(alarms.actions, alarms.logFile, alarms.soundFile);
    SetDefaultAlarmMoves(alarms.settings);
    SetDefaultAlarmIndicators(alarms.settings);
}

void ResetAllConfigFamilies(ConfigState& state)
{
    for (auto family : kConfigFileOrder)
        ResetConfigFamily(state, family);
    ResetIntradayAlarms(state);
}

} // namespace qv
