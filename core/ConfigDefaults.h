// The defaults that "Quorva.cfg" falls back on: built-in column layouts (lists/DefaultColumnLayouts)
// and the default table style, ticker design and intraday alarm records.
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

// A copy of a built-in layout as a column chain ending with its zero byte (lists/DefaultColumnLayouts;
// an index past the set's last gives its last).
std::vector<uint8_t> DefaultColumnLayout(ColumnLayoutSet set, int index);

// Where the default records keep their fields.
namespace TickerLayout {
constexpr size_t Size = 0;        // u16
constexpr size_t Flags = 2;       // bit 1: the optional layout bytes are set
constexpr size_t Kind = 3;
constexpr size_t LayoutBytes = 4; // three bytes
constexpr size_t Colours = 8;     // ten u32
constexpr size_t Backgrounds = 48; // six u32
} // namespace TickerLayout
namespace AlarmSettingsLayout {
constexpr size_t Flag = 0;        // u32
constexpr size_t Word = 4;        // u32
constexpr size_t Moves = 8;       // six rows {f32 percentage, u32 periods, u32 1, u32 0}
constexpr size_t MoveRowSize = 16;
constexpr size_t MoveBytes = 104; // six bytes
constexpr size_t Threshold = 112; // f32
constexpr size_t Indicators = 124; // fifteen i16 indicator-cross parameters
} // namespace AlarmSettingsLayout

// The font face tables use: "Microsoft Sans Serif" when that font is installed, else "MS Sans Serif".
// The window layer answers the question; without it the older face is used.
void SetFontInstalledCheck(bool (*installed)(const char* face));

void InitDefaultTableStyle(TableStyle& style);
void SetDefaultTickerSettings(TickerSetting& ticker, bool withLayout = true);
void InitNamedSettingRecord(AlarmActionRecord& actions);
void SetDefaultAlarmMoves(RTAlarmSettingsRecord& settings);
void SetDefaultAlarmIndicators(RTAlarmSettingsRecord& settings);

} // namespace qv
