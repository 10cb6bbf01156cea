// Small builders for price-stream tests: sub-records around hand-made streams, and dates worked out
// with the standard calendar rather than the code under test.
#pragma once

#include "core/PriceStream.h"
#include "platform/ByteOrder.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace qv::test {

inline uint16_t Date(int year, int month, int day)
{
    return uint16_t(((year - 1900) << 9) | ((month - 1) << 5) | (day - 1));
}

inline std::chrono::sys_days ToDays(uint16_t d)
{
    using namespace std::chrono;
    return sys_days{year{1900 + (d >> 9)} / month{unsigned(((d >> 5) & 15) + 1)} / day{unsigned((d & 31) + 1)}};
}

inline uint16_t FromDays(std::chrono::sys_days days)
{
    std::chrono::year_month_day ymd{days};
    return Date(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())));
}

// The date `n` Monday-to-Friday days after `first` (n = 0 is `first` itself).
inline uint16_t WeekdaysAfter(uint16_t first, int n)
{
    using namespace std::chrono;
    sys_days d = ToDays(first);
    for (int i = 0; i < n; ++i) {
        do
            d += days{1};
        while (weekday{d}.iso_encoding() > 5);
    }
    return FromDays(d);
}

// A price sub-record: 80 bytes of head and statistics room, then the stream. Sized exactly, so that
// a reader running past its end is caught by the address sanitizer.
inline std::vector<uint8_t> SubRecord(int16_t scale, uint16_t firstDate, const std::vector<uint8_t>& stream,
                                      uint16_t lastDate = 0xFFFF, float issue = 0)
{
    std::vector<uint8_t> sub(kSubRecordStream + stream.size(), 0);
    StoreF32(sub.data() + 4, issue);
    StoreI16(sub.data() + kSubRecordScale, scale);
    StoreU16(sub.data() + kSubRecordFirstDate, firstDate);
    StoreU16(sub.data() + kSubRecordLastDate, lastDate);
    for (size_t i = 0; i < stream.size(); ++i)
        sub[kSubRecordStream + i] = stream[i];
    return sub;
}

inline std::vector<uint8_t> F32Bytes(float f)
{
    uint8_t b[4];
    StoreF32(b, f);
    return {b[0], b[1], b[2], b[3]};
}

// An in-memory database record (no text, no items) holding the given sub-records; every one but the
// last gets its length, the last runs to the record's end.
inline std::vector<uint8_t> Record(uint16_t id, std::vector<std::vector<uint8_t>> subs, uint8_t kind = 10)
{
    std::vector<uint8_t> record(32, 0);
    StoreU16(record.data() + 2, id);
    StoreU16(record.data() + 22, 32);
    for (size_t i = 0; i < subs.size(); ++i) {
        std::vector<uint8_t>& sub = subs[i];
        sub[2] = kind;
        StoreU16(sub.data(), i + 1 < subs.size() ? uint16_t(sub.size()) : 0);
        size_t at = record.size();
        record.resize(at + sub.size());
        for (size_t k = 0; k < sub.size(); ++k)
            record[at + k] = sub[k];
    }
    StoreU16(record.data(), uint16_t(record.size()));
    return record;
}

// Stored correction records (36 bytes each) with the date-0 record that ends them.
inline std::vector<uint8_t> CorrectionBytes(const std::vector<DayRecord>& days)
{
    std::vector<uint8_t> bytes((days.size() + 1) * kDayRecordSize, 0);
    for (size_t i = 0; i < days.size(); ++i)
        StoreDayRecord(bytes.data() + i * kDayRecordSize, days[i]);
    return bytes;
}

inline CorrectionCursor Corrections(const std::vector<uint8_t>& bytes)
{
    return {bytes.data(), bytes.data() + bytes.size()};
}

} // namespace qv::test
