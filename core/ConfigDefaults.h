// The defaults that "Quorva.cfg" falls back on. The records' fields belong to the table, ticker and
// alarm code; until that code fills these functions, they give zero-filled records of the right size.
#pragma once

#include "core/ConfigRecords.h"

#include <cstdint>
#include <vector>

namespace qv {

// The built-in sets of default column layouts.
enum class ColumnLayoutSet {
    ListTables,      // five
    ListTablesAlt,   // four, when bit 0 of "signal" is set
    TranTables,      // four each from here on
    DealTables,
    CashTables,
    NewsTables,
    TradeTables,     // "Trade"
    QuoteTables,     // "Quote"
    TradeQuoteTables // "T & Q"
};

// A copy of a built-in layout as a column chain ending with its zero byte.
std::vector<uint8_t> DefaultColumnLayout(ColumnLayoutSet set, int index);

void InitDefaultTableStyle(TableStyle& style);
void SetDefaultTickerSettings(TickerSetting& ticker);
void InitNamedSettingRecord(AlarmActionRecord& actions);
void SetDefaultAlarmMoves(RTAlarmSettingsRecord& settings);
void SetDefaultAlarmIndicators(RTAlarmSettingsRecord& settings);

} // namespace qv
