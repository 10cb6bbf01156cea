// Company results by year: the results table that follows a share's name, the detailed results blocks
// of its company data (fields 118-122), and the items that results columns show from them.
//
// Results table: the record's 20-byte items in date order, each {u16 PackedDate, u8 class (1 interim,
// 3 forecast, others annual), u8, f32 profit (m), f32 EPS, f32 dividend, f32 turnover (m)}.
// Detailed block: {u8 length (60 or more to count), u8, u16 PackedDate of the year end, 25 figures of
// 18 bits packed most significant bit first}.
#pragma once

#include <cfloat>
#include <cstdint>
#include <span>

namespace qv {

constexpr float kNoResultsValue = FLT_MAX;

// Item codes of a results figure (low three bits); bit 3 asks for interims; the high nibble n for
// the percentage change over n years.
enum ResultsItem : int {
    kResultsDate = 0,
    kResultsProfit = 1,
    kResultsEps = 2,
    kResultsDividend = 3,
    kResultsTurnover = 4,
    kResultsForecastGrowth = 5, // named "NAV (millions)"
    kResultsFinalDividend = 6,
    kResultsClass = 7,
};
constexpr int kResultsInterimBit = 8;
constexpr int kResultsDirectYear = 64; // years from here address entry (year - 64)

namespace ResultsEntryLayout {
constexpr size_t Date = 0;   // u16 PackedDate
constexpr size_t Class = 2;  // u8
constexpr size_t Floats = 4; // items 1-4 at 4, 8, 12, 16
constexpr size_t Size = 20;
} // namespace ResultsEntryLayout
constexpr uint8_t kResultsInterim = 1;
constexpr uint8_t kResultsForecast = 3;

namespace ResultsBlockLayout {
constexpr size_t Length = 0;  // u8
constexpr size_t Date = 2;    // u16 PackedDate of the year end
constexpr size_t Figures = 4; // 25 x 18 bits
constexpr size_t Size = 61;   // the length byte and the 60 it counts
} // namespace ResultsBlockLayout
constexpr uint8_t kResultsBlockMinLength = 60;
constexpr int kResultsBlockFigures = 25;
constexpr uint32_t kFigureNoValue = 0x1FFFF;
constexpr int kFirstResultsBlockField = 118;
constexpr int kResultsBlockFields = 5;

// One results figure of a share: year below 64 walks from the first forecast entry (1 the first
// forecast, 0 the latest annual or interim, -1 the one before ...), 64 and up takes entry year - 64.
// kNoResultsValue when there is none.
float GetResultsFigure(int year, int item, uint8_t* record, uint32_t extra);
// The same with profit, EPS, dividend and turnover converted to pounds from results published in
// dollars or euro (the rates of GetExchangeRates).
float GetResultsFigureConverted(int year, int item, uint8_t* record, uint32_t extra);

// Figure n of a detailed results block, or kNoResultsValue. The block must hold 61 bytes.
float ReadResultsBlockFigure(const uint8_t* block, int figure);
// The value of an 18-bit figure code.
float DecodeResultsFigure(uint32_t code);

// One detailed results item (the codes of ResultsItemName) for the block of the year `yearsAgo`
// years back (block null when the year has none); kNoResultsValue for no value.
float GetDetailedResultsItem(const uint8_t* block, int code, uint8_t* record, uint32_t extra, int yearsAgo);
// A results-change column's value: the low nibble of yearByte the years back (0-4), the high nibble n
// the growth over n years in percent; the record's detailed blocks are matched to the years by their
// year-end dates. Items 13 and 45 (dates) are whole numbers.
float GetResultsColumnValue(int yearByte, int code, uint8_t* record, uint32_t extra);
// True for the items that are computed from the results table alone.
bool ResultsItemNeedsNoBlock(int code);
// The detailed block of a year back (0-4) whose date matches the results table, or null.
const uint8_t* FindResultsBlock(uint8_t* record, uint32_t extra, int yearsAgo);

// The name of a detailed results item code, "" for codes without one.
const char* ResultsItemName(int code);
// The name of a results figure item (low three bits): "Date", "Profit (millions)", ...
const char* ResultsFigureItemName(int item);

} // namespace qv
