// The typed array descriptor that the graph model, the tick decoding and the indicators hold their
// data in: a type that fixes the element size, two parameters, a count and the data.
#pragma once

#include "core/DayRecord.h"

#include <cstddef>
#include <cstdint>

namespace qv {

struct DataArray {
    uint32_t type = 0;
    uint32_t flags = 0;      // the series layout's selector bits
    uint32_t kindMask = 0;   // tick and three-field items: the item kinds that are drawn
    uint32_t paramA = 0;
    uint32_t paramB = 0;
    int32_t count = 0;
    uint32_t ownsData = 0;
    void* data = nullptr;
};

// Array types by what an element holds.
enum DataArrayType : uint32_t {
    kArrayWords = 1,      // one 32-bit value per bar
    kArrayFloats = 2,     // one f32 per bar
    kArrayDoubles = 3,    // one f64 per bar
    kArrayBars = 4,       // open, high, low, close, volume f32
    kArrayTicks = 5,      // 16-byte intraday tick item
    kArrayDaily = 6,      // 36-byte daily price record
    kArrayKeyed24 = 7,    // 24-byte record whose first u32 is its day or time key
    kArrayNone = 8,
    kArrayTriples = 9,    // 12-byte three-field item
    kArrayKeyedTriples = 10,
};

// Bytes of one element of the type; 0 for types that hold nothing.
uint32_t DataArrayElementSize(uint32_t type);

// Fills the descriptor and, for a non-zero count, allocates count zeroed elements and returns them.
void* InitDataArray(DataArray& array, uint32_t type, int32_t count, uint32_t paramA, uint32_t paramB);
// Frees the data when the array owns it; data and count become null and 0 either way.
void FreeDataArray(DataArray& array);

// Element layouts that the iterator and the colour rules read, as plain values.
struct BarValues {
    float open = 0, high = 0, low = 0, close = 0, volume = 0;
};
// The daily price record is the database's DayRecord, read in place: five f32 and the price unit,
// the u32 word that multi-day bars keep their first and last day in, the date and the mode byte
// (bits 0-3 the coding mode, 1 a day with open, high, low, close and volume; bits 4-6 the day
// marks). Folding days into bars marks no record, and no chart pass keeps state in that byte.
constexpr uint32_t kDailyRecordSize = kDayRecordSize;
constexpr uint32_t kDailyXWord = offsetof(DayRecord, correctionOnly);
constexpr uint32_t kDailyDate = offsetof(DayRecord, date);
constexpr uint32_t kDailyFlags = offsetof(DayRecord, modeMarks);
static_assert(kDailyXWord == 24 && kDailyDate == 28 && kDailyFlags == 32);
BarValues ReadBarValues(const uint8_t* element);

} // namespace qv
