// The price sub-records of an in-memory database record, each with the end of the bytes that belong
// to it (its length, or the record's end for the last one), so that stream readers stop there.
#pragma once

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

inline uint16_t RecordIdOf(const uint8_t* record) { return uint16_t(record[2] | (record[3] << 8)); }

// Fills the statistics room of every sub-record of the record, with each stream's corrections.
void ComputeRecordStatistics(uint8_t* record);

// Recomputes the period high and low of every sub-record of the record over the days after `start`;
// the corrections of sub-record k are those of stream number `streamNumber` + k.
void RecomputePeriodExtremes(uint8_t* record, uint32_t streamNumber, uint16_t start);

} // namespace qv
