// Price work on whole records: the price sub-records of an in-memory record, each with the end of the
// bytes that belong to it (its length, or the record's end for the last one) so that stream readers
// stop there; their statistics at load and after changes; history decoding by record cursor.
#pragma once

#include "core/DayRecord.h"
#include "core/RecordAccess.h"

#include <cstdint>

namespace qv {

struct SubRecordSpan {
    uint8_t* sub = nullptr;
    const uint8_t* end = nullptr;
    explicit operator bool() const { return sub != nullptr; }
};

// Sub-record n of the record (the last one when the record has fewer); empty for a null record or
// one whose lengths do not hold together.
SubRecordSpan SubRecordOf(uint8_t* record, uint32_t n);

// Number of sub-records of the record (0 for a null or damaged record).
uint32_t SubRecordCount(const uint8_t* record);

// Fills the statistics room of every sub-record of the record, with each stream's corrections.
void ComputeRecordStatistics(uint8_t* record);

// Fills the statistics room of every sub-record of every record of a block (records walked by their
// lengths up to the zero-length end mark). Large blocks are shared out over several threads, which
// have finished when it returns.
void ComputeBlockStatistics(uint8_t* block);

// Works out the statistics of the cursor's sub-record again, with its corrections.
void RecomputeStreamStatistics(const RecordCursor* cursor);

// Decodes the price history of the cursor's sub-record (the last one when the record has fewer; the
// cursor's count is lowered to match) into a new ProCalloc'd array that replaces and frees `*days`:
// raw with DecodePriceDay, else with DecodePriceMarker; with the stream's corrections when asked.
// Days after the sub-record's last priced date are not decoded; trailing days with a zero close are
// dropped (unless raw with flags bit 2 or 3) but still counted. Returns the number of days decoded;
// 0 for a null cursor, record or array address.
int32_t DecodePriceHistory(RecordCursor* cursor, DayRecord** days, uint32_t flags, bool raw, bool withCorrections);

// Recomputes the period high and low of every sub-record of the record over the days after `start`;
// the corrections of sub-record k are those of stream number `streamNumber` + k.
void RecomputePeriodExtremes(uint8_t* record, uint32_t streamNumber, uint16_t start);

// Recomputes the period extremes of every record of the main block and every imported item from the
// start the period option gives; run when the option changes.
void RecomputeAllPeriodExtremes();

} // namespace qv
