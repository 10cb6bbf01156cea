// The 36-byte daily price record that price streams decode into and that price corrections keep.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// One day of a share's history. Arrays of them end with a record whose date is 0.
struct DayRecord {
    float open;
    float high;
    float low;
    float close;
    float volume;
    float unit;                 // the price unit in force; every price is a running integer times it
    uint8_t correctionOnly[4];  // written only by a price correction, carried otherwise
    uint16_t date;              // PackedDate of the day; 0 ends an array
    uint8_t weekday;            // weekday counter of the date cursor, 1 = Monday ... 5 = Friday
    uint8_t carried;
    uint8_t modeMarks;          // bits 0-3 the coding mode, plus the day marks below
    uint8_t spare[3];
};
static_assert(sizeof(DayRecord) == 36);
static_assert(offsetof(DayRecord, unit) == 20);
static_assert(offsetof(DayRecord, date) == 28);
static_assert(offsetof(DayRecord, weekday) == 30);
static_assert(offsetof(DayRecord, modeMarks) == 32);

constexpr uint8_t kDayModeBits = 0x0F;
constexpr uint8_t kDayMarkA = 0x10;  // a day without data, stored as 'A'
constexpr uint8_t kDayMarkC = 0x20;  // a day without data, stored as 'C'
constexpr uint8_t kDayMarkF = 0x40;  // a marked day priced at the running price
constexpr uint8_t kDayMarks = kDayMarkA | kDayMarkC | kDayMarkF;

inline bool IsMarkedDay(const DayRecord& day) { return (day.modeMarks & kDayMarks) != 0; }
// Coding mode 1: the day has open, high, low, close and volume (mode 0 knows the close only).
inline bool IsFullDataDay(const DayRecord& day) { return (day.modeMarks & kDayModeBits) == 1; }

constexpr size_t kDayRecordSize = 36;

// The stored form (price-correction blobs), field by field, little-endian.
DayRecord LoadDayRecord(const uint8_t* bytes);
void StoreDayRecord(uint8_t* bytes, const DayRecord& day);

} // namespace qv
