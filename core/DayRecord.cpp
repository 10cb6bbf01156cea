// Stored form of the daily price record.
#include "core/DayRecord.h"

#include "platform/ByteOrder.h"

#include <cstring>

namespace qv {

DayRecord LoadDayRecord(const uint8_t* bytes)
{
    DayRecord day{};
    day.open = LoadF32(bytes);
    day.high = LoadF32(bytes + 4);
    day.low = LoadF32(bytes + 8);
    day.close = LoadF32(bytes + 12);
    day.volume = LoadF32(bytes + 16);
    day.unit = LoadF32(bytes + 20);
    std::memcpy(day.correctionOnly, bytes + 24, 4);
    day.date = LoadU16(bytes + 28);
    day.weekday = bytes[30];
    day.carried = bytes[31];
    day.modeMarks = bytes[32];
    std::memcpy(day.spare, bytes + 33, 3);
    return day;
}

void StoreDayRecord(uint8_t* bytes, const DayRecord& day)
{
    StoreF32(bytes, day.open);
    StoreF32(bytes + 4, day.high);
    StoreF32(bytes + 8, day.low);
    StoreF32(bytes + 12, day.close);
    StoreF32(bytes + 16, day.volume);
    StoreF32(bytes + 20, day.unit);
    std::memcpy(bytes + 24, day.correctionOnly, 4);
    StoreU16(bytes + 28, day.date);
    bytes[30] = day.weekday;
    bytes[31] = day.carried;
    bytes[32] = day.modeMarks;
    std::memcpy(bytes + 33, day.spare, 3);
}

} // namespace qv
