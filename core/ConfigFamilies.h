// The slot families of "Quorva.cfg" in file order, their selector masks and their defaults.
#pragma once

#include "core/ConfigState.h"

#include <array>
#include <cstdint>

namespace qv {

enum class ConfigFamily : uint8_t {
    ListTables,
    TranTables,
    DailyGraphs,
    IntradayGraphs,
    DealTables,
    CashTables,
    NewsTables,
    DataMiningTables,
    DataMiningGraphs,
    ListStyles, // the list tables' style records, stored after the other tables
    TradeTables,
    QuoteTables,
    TradeQuoteTables,
    Tickers,
};

inline constexpr std::array<ConfigFamily, 14> kConfigFileOrder = {
    ConfigFamily::ListTables,       ConfigFamily::TranTables,    ConfigFamily::DailyGraphs,
    ConfigFamily::IntradayGraphs,   ConfigFamily::DealTables,    ConfigFamily::CashTables,
    ConfigFamily::NewsTables,       ConfigFamily::DataMiningTables, ConfigFamily::DataMiningGraphs,
    ConfigFamily::ListStyles,       ConfigFamily::TradeTables,   ConfigFamily::QuoteTables,
    ConfigFamily::TradeQuoteTables, ConfigFamily::Tickers,
};

// Selector masks: a single-slot selector is the family's mask | the slot; -1 selects everything.
namespace config_mask {
inline constexpr uint32_t kDataMiningTables = 0x100;
inline constexpr uint32_t kDataMiningGraphs = 0x200;
inline constexpr uint32_t kCashTables = 0x400;
inline constexpr uint32_t kNewsTables = 0x800;
inline constexpr uint32_t kDealTables = 0x1000;
inline constexpr uint32_t kListTables = 0x2000;
inline constexpr uint32_t kTranTables = 0x4000;
inline constexpr uint32_t kDailyGraphs = 0x8000;
inline constexpr uint32_t kIntradayGraphs = 0x10000;
inline constexpr uint32_t kTickers = 0x20000;
inline constexpr uint32_t kTradeTables = 0x40000;
inline constexpr uint32_t kQuoteTables = 0x80000;
inline constexpr uint32_t kTradeQuoteTables = 0x100000;
} // namespace config_mask

inline constexpr int32_t kWholeConfig = -1;
inline constexpr uint32_t kSelectorFamilyBits = 0xFFFF00;
inline constexpr uint32_t kSelectorSlotBits = 0xF;

uint32_t FamilyMask(ConfigFamily family);
// The family's table designs, or null for the families of named records and the list styles.
TableFamily* TableFamilyOf(ConfigState& state, ConfigFamily family);
const TableFamily* TableFamilyOf(const ConfigState& state, ConfigFamily family);
// 0, 1 or 2 for the three trade-list families.
int TradeKindOf(ConfigFamily family);

// How a family's items are stored: a sort byte after the name (list, dealing, news and data-mining
// tables), names required (list and data-mining tables), a style record after each table item, and
// the items each slot writes (2 for tables with style records and for trade tables).
bool FamilyHasSortByte(ConfigFamily family);
bool FamilyNeedsNames(ConfigFamily family);
bool FamilyHasStyleItems(ConfigFamily family);
int FamilyItemsPerSlot(ConfigFamily family);

// The built-in design of list table `slot` (from 0): layouts 0-4 with sort bytes 10, 7, 8, 8 and
// 2, or with `alternative` the second set of four with sort byte 2.
TableSlot DefaultListTableDesign(size_t slot, bool alternative);

// Gives the family its defaults: names from its pattern, built-in column layouts and sort bytes,
// and default records where it has them. Graph settings get their names only.
void ResetConfigFamily(ConfigState& state, ConfigFamily family);
void ResetIntradayAlarms(ConfigState& state);
// Every family and the trailing alarm settings; the option blocks are left as they are.
void ResetAllConfigFamilies(ConfigState& state);

} // namespace qv
