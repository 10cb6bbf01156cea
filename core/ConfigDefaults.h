// The defaults that "Quorva.cfg" falls back on: built-in column layouts (lists/DefaultColumnLayouts)
// and the default table style, ticker design and intraday alarm records.
#pragma once

#include "core/ConfigRecords.h"

#include <cstdint>
#include <optional>
#include <string>
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
constexpr size_t FieldMask = 0;          // u16: bit 0 Name, 1 EPIC, 2 Price, 3 change since open,
                                         // 4 change since close, 5 and 6 their % changes, 7 Volume, 8 Time
constexpr size_t Categories = 2;         // bit 0 Indices, 1 FTSE 100, 2 FTSE 250, 3 Small Cap, 4 Fledgling, 5 Other
constexpr size_t Layout = 3;             // 0 one line, 1 two, 2 four, 3 vertical one line, 4 vertical two
constexpr size_t Flags = 4;              // bit 0 variable speed, bit 1 discard data older than 15 seconds
constexpr size_t Speed = 5;              // 1-5
constexpr size_t WhiteSpace = 6;
constexpr size_t UpColour = 8;           // u32 colours (0x00BBGGRR)
constexpr size_t SameColour = 12;
constexpr size_t DownColour = 16;
constexpr size_t NoDataBackground = 20;
constexpr size_t ExcessBackground = 24;
constexpr size_t CategoryText = 28;       // six u32
constexpr size_t CategoryBackground = 52; // six u32
constexpr size_t PortfolioFilter = 76;    // bit 0 portfolio 1, bit 1 portfolio 2
constexpr size_t Portfolio1 = 78;         // u16 portfolio numbers
constexpr size_t Portfolio2 = 80;
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
// The light or dark look: the field mask, categories and colours; layout, speed, white space and
// flags stay as they are.
void SetTickerLook(TickerSetting& ticker, bool dark);
// The intraday alarm actions of a fresh or unreadable configuration: the triggered-alarms dialog on,
// everything else off, and the log and sound file names (kept beside the stored record, which has no
// room for them) set to the empty text, so that no name of an earlier load survives a reset.
void InitNamedSettingRecord(AlarmActionRecord& actions, std::optional<std::string>& logFile,
                            std::optional<std::string>& soundFile);
void SetDefaultAlarmMoves(RTAlarmSettingsRecord& settings);
void SetDefaultAlarmIndicators(RTAlarmSettingsRecord& settings);

} // namespace qv
