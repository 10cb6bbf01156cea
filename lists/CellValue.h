// The text and value of one list cell: a row's record and a column record give the text the list
// shows, prints, copies and exports, and leave the numeric value, a negative flag and the row-class
// flags for the sort, the colour rules and the formula machine to read right after the call.
//
// Every list family comes through FormatColumnValue: shares (database records), transactions, cash
// entries, dealings, news index entries and intraday trades. It allocates nothing: texts are written
// into the caller's buffer (kCellTextBytes is enough for any cell) and every write is bounded.
#pragma once

#include "core/PackedDate.h"

#include <cstddef>
#include <cstdint>

namespace qv {

struct ShareList;
struct IntradayGraphDay;

constexpr size_t kCellTextBytes = 256;

// Row-class flags of share rows (not set for dealings, cash, news and trade lists).
enum CellRowFlag : uint8_t {
    kRowImportedItem = 0x01, // an imported item (id 0xF000 and up)
    kRowIntradayOnly = 0x02, // a record without end-of-day company data (an extra record)
};

// What the last call left behind (program-wide, overwritten by every call).
struct CellValue {
    float value = 0;       // the cell's number, 0 when it has none
    bool negative = false; // the value is below zero
    uint8_t rowFlags = 0;  // CellRowFlag bits
    bool tickFont = false; // the text is in the list's tick-symbol font
};
CellValue& LastCellValue();

// Formats one cell into text (capacity bytes with the NUL) and returns the text's length.
//   record: the row's record (a database record, a transaction's bytes, a cash entry, a dealing, a
//           44-byte news entry or a 32-byte trade); an address below 10 is an empty cell.
//   extra:  the row entry's second word (a share's stream number; in cash lists 1 for a cash entry).
//   column: a column record that has passed ValidateColumnLayout (or a 27-byte record made in place).
//   number: the row number that field code 0 shows.
//   list:   the row's list (its family, field table and portfolio), or null for the share database.
//   aux:    field code 48's default text switch and field code 117's switch.
size_t FormatColumnValue(uint8_t* record, uint32_t extra, const uint8_t* column, char* text, size_t capacity,
                         int32_t number, const ShareList* list, uint32_t aux);

// Today's date by the program's clock.
PackedDate TodayPackedDate();

// The current price (or the day's change) of a transaction's share, from its price sub-record.
float TransactionSharePrice(const uint8_t* transaction, bool change);

// The news index entry (44 bytes) as the cell code reads it until the news database fills it:
//   0 u16 date, 2 u8 status (0-3), 3 u8 reserved, 4 u32 time (seconds of the day), 8/10/12 u16 ids of
//   the first, second and third company, 14 u16 country code, 16 u32 position of the story in the
//   database, 20 u16 industry code, 22 u16 subject code, 28 u32 the first company's id again (where the
//   story record keeps it, so a view group reads the row's share as it reads a story's), others reserved.
namespace NewsEntryLayout {
constexpr size_t Date = 0, Status = 2, Time = 4, Companies = 8, Code = 14, Position = 16, Industry = 20, Subject = 22,
                 ShareId = 28, Size = 44;
}
// The intraday trade or quote record (32 bytes):
//   0 u32 time (seconds of the day), 4 f32 bid, 8 f32 offer, 12 f32 price, 16 f32 volume, 20 u8 class
//   (3 a trade, others quotes), 21 u8 trade type (0-31), 22 u8 flags (bit 0 deleted), 23 i8 direction
//   (above 0 buy, below 0 sell), 24 u8 market centre, 25 u8 currency unit, 26-31 reserved.
namespace TradeLayout {
constexpr size_t Time = 0, Bid = 4, Offer = 8, Price = 12, Volume = 16, Class = 20, TradeType = 21, Flags = 22,
                 Direction = 23, Centre = 24, Unit = 25, Size = 32;
}

// The partner-view item (company-data field 123, data type 0x00) from its count byte on:
//   0 u8 count (11), 1 u16 PackedDate of the view, 3 u8 volume, 4 u8 recommendation (0-12),
//   5 f32 the price then (pence), 9 u8 issue, 10 u16 page.
namespace PartnerViewLayout {
constexpr size_t Count = 0, Date = 1, Volume = 3, Recommendation = 4, Price = 5, Issue = 9, Page = 10, Size = 12;
}

// What the news and intraday subsystems answer for cells; unset functions leave those cells empty.
struct CellSources {
    // The headline of a news entry.
    const char* (*newsTitle)(const uint8_t* entry) = nullptr;
    // The name of a news code for column 6 (country), 7 (industry) or 8 (subject); null when the code
    // lies outside that column's range.
    const char* (*newsCodeName)(uint16_t code, int column) = nullptr;
    // The position in the news index from which stories count as the latest.
    uint32_t (*newsLatestBoundary)() = nullptr;
    // An intraday value of column `item` (its kind letter) with the column's option word (low byte the
    // value kind, high byte the form): type 0 none, 1 a formatted number, 3 plain, 4 signed, 5 a time of
    // day.
    int (*intradayValue)(const uint8_t* record, uint32_t extra, int daysBack, int item, uint16_t option, float* value) = nullptr;
    // The up/down arrow of an 'I' column: the share's last trade's direction, `daysBack` days back;
    // 1 up, -1 down, 0 unchanged, 2 none.
    int (*intradayDirection)(const uint8_t* record, int daysBack) = nullptr;
    // A live cell's flash state for column `item`: 1 up, 2 down, 3 same, 0 none.
    int (*intradayFlash)(const uint8_t* record, int item) = nullptr;
    // The share's ticks of a day, `daysBack` weekdays back, for a small graph; false when none.
    bool (*intradayDay)(const uint8_t* record, int daysBack, IntradayGraphDay& day) = nullptr;
    // A dealing column's text and value (the dealings file's bit-packed records).
    size_t (*dealingText)(const uint8_t* dealing, int code, char* text, size_t capacity, float* value) = nullptr;
};
CellSources& CurrentCellSources();

// A packed dealing number: the mantissa times ten to the power (exponent + bias); FLT_MAX when the
// power lies outside 10^-15..10^15.
float PackedDealingNumber(uint32_t mantissa, uint32_t exponent, int bias);
// The dealings file's two coded numbers: a 14-bit word of a 10-bit mantissa under a 4-bit exponent,
// and a 10-bit word of a 7-bit mantissa under a 3-bit exponent.
constexpr int kDealing14BitBias = -3;
constexpr int kDealing10BitBias = -8;
// The value of a coded dealing word of 14 or 10 bits.
float DealingWordValue(uint32_t word, int bits);

} // namespace qv
