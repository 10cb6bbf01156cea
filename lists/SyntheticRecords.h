// The synthetic price records that let a chart draw a whole list or a portfolio as one share: the
// composite of a list's rows and the value (or profit-or-loss) history of a portfolio.
//
// Both records are share-like: 36 bytes of head (title length at 30, title from 31, a NUL), the
// offset of the one price sub-record at byte 22 (title length + 33), an 80-byte sub-record head with
// class 12, the scale word at 8, the first date at 10 and the last at 40, and a price stream from
// sub-record byte 80: per slot the byte 0x41 (no value) or EncodeVarInt of the change of the running
// total, ended by 0x20. The block is sized from the slot count (at most 4 bytes a slot).
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct Portfolio;
struct ShareList;

constexpr uint8_t kSyntheticClass = 12;
constexpr float kSlotNoValue = 3.4028235e38f;

// Builds a synthetic record from per-slot values (kSlotNoValue: none) already multiplied into stream
// integers. Returns the ProCalloc'd record, or null when a difference does not fit EncodeVarInt.
uint8_t* MakeSyntheticRecord(const std::string& title, int16_t scale, uint16_t firstDate, uint16_t lastDate,
                             const std::vector<double>& values);

// The composite of the rows (null-ended): one slot per calendar day from the earliest first price
// date to the latest last price date; each row adds close x weight / its latest close (weight its
// capitalisation, or 1 when not weighted), keeping its first value before its first day and its last
// after its last; the sum is divided by the first slot with data, so the series starts at 1 (100
// with the scale word). Rows without a latest close, or weighted rows without a positive
// capitalisation, are left out ("Some shares not included"). Replaces (and frees) `target`; false
// with "Not enough data to construct graph" when no row has a last date or no day has data.
bool BuildListCompositeSeries(uint8_t*& target, const std::string& title, const RecordCursor* rows,
                              bool corrections, bool weighted);

// A portfolio's history in plain terms: its transaction chain, grouped by holding, each group ended
// by the holding's latest-valuation transaction (type 15), and its cash account's entries.
struct HistoryTransaction {
    uint16_t date = 0;
    uint8_t type = 0;
    uint16_t shareId = 0;
    uint8_t line = 0;
    float amount = 0;       // pounds
    float holdingAfter = 0; // shares
    bool cashAccount = false;
};
struct HistoryCashEntry {
    uint16_t date = 0;
    uint8_t type = 0;
    float amount = 0; // pounds
};
struct PortfolioHistoryInput {
    std::vector<HistoryTransaction> chain;
    std::vector<HistoryCashEntry> cash;
    bool chartCash = false; // value mode only
    std::string title;
};

// The days of the history (one a weekday from the period start to the weekday after its end, in
// pence; kSlotNoValue for none) before scaling. Empty when there is no data. `incomplete` is set
// when a transaction's share is not in the database.
struct PortfolioHistory {
    uint16_t start = 0;
    uint16_t end = 0;
    std::vector<double> days;
    bool incomplete = false;
};
PortfolioHistory ComputePortfolioHistory(const PortfolioHistoryInput& input, bool profit);

// Scales the days for the stream: while the largest value is above 100000 they are divided by 10
// more (in value mode not once the first slot over the next divisor is 1 or less), and further while
// a difference would not fit the stream; returns the scale word (100 unscaled, then 10, 1, -10, ...).
int16_t ScalePortfolioHistory(std::vector<double>& days, bool profit);

// Builds the history record into `target` (freed and replaced): 0, or -1 after "Not enough data to
// construct graph" (and "Some shares not included" first when shares were missing).
int BuildPortfolioHistoryRecord(uint8_t*& target, const PortfolioHistoryInput& input, bool profit);

// The input of a share list's portfolio: its transactions and its cash account; false when the list
// has no portfolio.
bool PortfolioHistoryInputOf(const ShareList& list, bool chartCash, PortfolioHistoryInput& out);
bool PortfolioHistoryInputOf(const Portfolio& portfolio, bool chartCash, PortfolioHistoryInput& out);

} // namespace qv
