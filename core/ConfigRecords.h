// The fixed-size records that "Quorva.cfg" carries: the two option blocks and the sized records whose
// fields belong to the table, chart, data-mining, ticker and alarm code.
#pragma once

#include "platform/ByteOrder.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace qv {

// A stored record of a fixed size, kept as its bytes; the owning code reads its fields through
// accessors, never by casting.
template <size_t N>
struct SizedRecord {
    static constexpr size_t kSize = N;
    std::array<uint8_t, N> bytes{};

    uint8_t* data() { return bytes.data(); }
    const uint8_t* data() const { return bytes.data(); }
    bool operator==(const SizedRecord&) const = default;
};

// Options that the options sheet edits; stored raw.
struct OptionBlockA : SizedRecord<1100> {
    static constexpr size_t kCurrentPortfolio = 120;
    static constexpr size_t kFilterPosition = 392;
    static constexpr size_t kRealTimeOption = 474;
    static constexpr size_t kMultipleWindows = 475;
    static constexpr size_t kDataMiningWord = 532;
    // The Colour Selector's palette byte (bit 0 light palette, bit 1 advanced view) and its fourteen
    // previous colours, u32 each, most recent first.
    static constexpr size_t kColourPalette = 980;
    static constexpr size_t kPreviousColours = 984;
    // Grid lists: 1 draws a line under every row; the price-list flags 1-5 as bits 1-5.
    static constexpr size_t kGridListLines = 1040;
    static constexpr size_t kPriceListFlags = 1041;
    // Find a share: 1 uses EPIC codes; 1 when "Start from first letter" is cleared; bit 0 Fast EPIC,
    // bit 1 its question suppressed; 1 shows the alphabet.
    static constexpr size_t kFindUseEpic = 1044;
    static constexpr size_t kFindContains = 1045;
    static constexpr size_t kFindFastEpic = 1046;
    static constexpr size_t kFindShowAlphabet = 1047;
    // The program-wide chart font, 40 bytes (chartmodel/ChartFont.h).
    static constexpr size_t kChartFont = 1048;
    // 1: print in landscape.
    static constexpr size_t kPrintLandscape = 1090;
    // The special edition's list-table slot and its two graph-setting slots (255 = none).
    static constexpr size_t kEditionTableSlot = 1091;
    static constexpr size_t kEditionGraphSlot1 = 1092;
    static constexpr size_t kEditionGraphSlot2 = 1093;

    // The places of the settings the options sheet edits and of the program-wide holders it keeps
    // (tools/options/OptionSettings.h and docs/DATA.md give their fields). kOptionsStamp is 1 once a
    // save has written them; a file without it takes their defaults.
    static constexpr size_t kOptionsStamp = 600;
    static constexpr size_t kSheetPage = 601;          // the options sheet's remembered page
    static constexpr size_t kListFlags = 602;          // u16: the Lists page's flags
    static constexpr size_t kStaleDays = 604;          // u16: days before a share is hidden
    static constexpr size_t kFrozenColumns = 606;
    static constexpr size_t kListScaleButton = 607;    // 0 "80%", 1 "90%", 2 "100%"
    static constexpr size_t kMicrographStart = 608;    // i16: seconds
    static constexpr size_t kGraphFlags = 610;         // u16: the Graph page's flags
    static constexpr size_t kCrossHairStyle = 612;     // two u32 words and a byte, to 620
    static constexpr size_t kClipboardFlags = 621;     // bit 0 vector copy, bit 1 fixed size
    static constexpr size_t kClipboardWidth = 622;     // u16
    static constexpr size_t kClipboardHeight = 624;    // u16
    static constexpr size_t kCalculatorByte = 626;
    static constexpr size_t kCurrencyFlags = 627;      // bit 0 the euro shown as "E"
    static constexpr size_t kExchangeRates = 628;      // four f32, euros and US dollars per pound first
    static constexpr size_t kExportFormat = 644;       // format byte, format byte 2, field and date separators
    static constexpr size_t kImportFormat = 648;       // format, field and date separators, flags, errors, overwrite
    static constexpr size_t kPortfolioExpenses = 654;
    static constexpr size_t kIncludeCash = 655;
    static constexpr size_t kPortfolioWarning = 656;   // u32
    static constexpr size_t kAlarmFlags = 660;
    static constexpr size_t kAlarmCheckBack = 661;     // method byte, u16 days at 662
    static constexpr size_t kHighLowMethod = 664;      // method byte, u16 days at 666, u16 dates at 668, 670
    static constexpr size_t kProgramNotes = 672;       // bit 0 moving averages Advanced, 1 and 2 notes not shown again
    static constexpr size_t kStatisticsPeriod = 674;   // u16 unit, u16 count
    static constexpr size_t kSwitches = 678;           // notes visible, slide loop, i32 slide delay at 680
    static constexpr size_t kChartZoom = 684;          // zoom percent, cross hairs on at 685
    static constexpr size_t kListPrinting = 686;       // print font size, data-mining print flags at 687
    static constexpr size_t kListRowFlags = 688;       // ranking, per-list settings, per-list current row
    // The six global end-of-day alarm rows, three falls then three rises: on, whole percent, n days.
    static constexpr size_t kGlobalAlarmRows = 689;    // 18 bytes, to 706
    static constexpr size_t kOptionsEnd = 707;

    uint32_t dataMiningWord() const { return LoadU32(data() + kDataMiningWord); }
    void setDataMiningWord(uint32_t v) { StoreU32(data() + kDataMiningWord, v); }
};

// The second option block; it also carries the identity words of the database last loaded.
struct OptionBlockB : SizedRecord<452> {
    static constexpr size_t kDatabaseWordA = 0;
    static constexpr size_t kDealingsWord = 2;
    static constexpr size_t kDatabaseDate = 4;
    static constexpr size_t kFirstLoadDate = 6;
    // The program's ticker font: a 60-byte font description (realtime/TickerFont.h); all zero until
    // one is stored.
    static constexpr size_t kTickerFont = 8;
    static constexpr size_t kTickerFontEnd = 68;
    // The share details page's settings: its item list, then its display settings (docs/DATA.md).
    static constexpr size_t kDetailSettings = 300;
    static constexpr size_t kDetailSettingsEnd = 380;
    // Stop-loss lines: u16 masks of the graph settings that show the global and the individual lines
    // (daily, then intraday), the u32 pen of new individual records and the daily global stop record.
    static constexpr size_t kDailyGlobalStopMask = 400;
    static constexpr size_t kDailyIndividualStopMask = 402;
    static constexpr size_t kIntradayGlobalStopMask = 404;
    static constexpr size_t kIntradayIndividualStopMask = 406;
    static constexpr size_t kNewStopRecordPen = 408;
    static constexpr size_t kDailyGlobalStopRecord = 412; // 16 bytes, to 427

    uint16_t databaseWordA() const { return LoadU16(data() + kDatabaseWordA); }
    uint16_t databaseDate() const { return LoadU16(data() + kDatabaseDate); }

    // The list design dialog's last tab, the results sheet's last page, and the high/low look-back
    // periods (u16 kind, u16 value each): the global one and the one last entered for a column.
    static constexpr size_t kDesignTab = 380;
    static constexpr size_t kResultsPage = 381;
    static constexpr size_t kGlobalHighLowPeriod = 382;
    static constexpr size_t kColumnHighLowPeriod = 386;
};

// Colours, lines and font of one list table: 50 little-endian words. Colours are 0x00BBGGRR; a pen
// word packs the colour (bits 0-23), the line style (24-26) and the width minus 1 (28-31).
struct TableStyle : SizedRecord<200> {
    static constexpr size_t kBackground = 0;
    static constexpr size_t kCurrentText = 4;
    static constexpr size_t kCurrentBackground = 8;
    static constexpr size_t kWhiteSpace = 12;      // pixels, odd 1-9
    static constexpr size_t kText = 16;
    static constexpr size_t kLineInterval = 20;    // rows, 1-6; 6 no horizontal lines
    static constexpr size_t kHorizontalPen = 24;
    static constexpr size_t kVerticalPen = 28;
    static constexpr size_t kHeadingBackground = 32;
    static constexpr size_t kHeadingText = 36;
    static constexpr size_t kNegative = 40;
    static constexpr size_t kImported = 44;
    static constexpr size_t kFlash = 48;           // up, down, same
    static constexpr size_t kCurrentFlash = 60;    // up, down, same on the current row
    static constexpr size_t kGraphPen = 72;
    static constexpr size_t kTickPens = 76;        // up, down, same
    static constexpr size_t kVolumeSplit = 88;     // buy, sell, unknown
    static constexpr size_t kThermograph = 100;    // up, down
    static constexpr size_t kIntradayOnly = 108;
    static constexpr size_t kArrows = 112;         // up, down, same
    static constexpr size_t kColourWords = 31;     // words 0-30
    static constexpr size_t kWrapColumns = 124;    // u8: 1 side-by-side bands
    static constexpr size_t kFontFlags = 125;      // u8: bit 0 bold, 1 italic, 2 underline
    static constexpr size_t kPointSize = 128;
    static constexpr size_t kFace = 132;           // NUL-ended, at most 31 characters
    static constexpr size_t kFaceSize = 32;
    static constexpr size_t kAlternateBackground = 164;
    static constexpr size_t kFlags = 168;          // u8: bit 0 alternate shading, bit 1 no plain vertical lines

    uint32_t word(size_t offset) const { return LoadU32(data() + offset); }
    void setWord(size_t offset, uint32_t v) { StoreU32(data() + offset, v); }
    uint8_t byte(size_t offset) const { return bytes[offset]; }
};
// A trade-list table: its style and four more bytes, the first its signed sort setting.
struct TradeTableRecord : SizedRecord<204> {
    static constexpr size_t kSortByte = 200;
};
// One daily or intraday graph setting. Five 24-byte entries from offset 938 start with a u16 that a
// save must never store as 0xFFFF.
struct GraphSetting : SizedRecord<1992> {
    static constexpr size_t kMarkerEntries = 938;
    static constexpr size_t kMarkerEntrySize = 24;
    static constexpr size_t kMarkerEntryCount = 5;
};
struct DataMiningGraph : SizedRecord<84> {};
struct TickerSetting : SizedRecord<108> {
    // The size of the record before its newer fields were added.
    static constexpr size_t kOlderSize = 76;
};
struct RTAlarmSettingsRecord : SizedRecord<156> {
    // The size of the record before its indicator settings were added.
    static constexpr size_t kOlderSize = 124;
};
struct AlarmActionRecord : SizedRecord<13> {};

static_assert(sizeof(OptionBlockA) == 1100);
static_assert(sizeof(OptionBlockB) == 452);
static_assert(sizeof(TableStyle) == 200);
static_assert(sizeof(TradeTableRecord) == 204);
static_assert(sizeof(GraphSetting) == 1992);
static_assert(sizeof(DataMiningGraph) == 84);
static_assert(sizeof(TickerSetting) == 108);
static_assert(sizeof(RTAlarmSettingsRecord) == 156);
static_assert(sizeof(AlarmActionRecord) == 13);

} // namespace qv
