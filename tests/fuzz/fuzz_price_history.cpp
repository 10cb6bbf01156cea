// Fuzzes history decoding, statistics, skipping and the single-day lookups over arbitrary price
// streams.
#include "core/Memory.h"
#include "core/PriceLookups.h"
#include "core/PriceStatistics.h"
#include "core/PriceStream.h"
#include "platform/ByteOrder.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace qv;
    if (size < 6)
        return 0;
    // Bytes 0-1 the scale, 2-3 the first date, 4 the flags, 5 how the last date is chosen; the rest
    // is the stream, placed in a sub-record of exactly its size.
    std::vector<uint8_t> sub(kSubRecordStream + size - 6, 0);
    StoreU16(sub.data() + kSubRecordScale, LoadU16(data));
    StoreU16(sub.data() + kSubRecordFirstDate, LoadU16(data + 2));
    uint32_t flags = data[4];
    StoreU16(sub.data() + kSubRecordLastDate, data[5] & 1 ? 0xFFFF : uint16_t(LoadU16(data + 2) + data[5] * 8));
    for (size_t i = 6; i < size; ++i)
        sub[kSubRecordStream + i - 6] = data[i];
    const uint8_t* begin = sub.data();
    const uint8_t* end = begin + sub.size();

    // Two correction records without their end record.
    uint8_t correctionBytes[2 * kDayRecordSize] = {};
    DayRecord correction{};
    correction.date = uint16_t(LoadU16(data + 2) + 1);
    correction.close = 1;
    StoreDayRecord(correctionBytes, correction);
    correction.date = uint16_t(LoadU16(data + 2) + 40);
    StoreDayRecord(correctionBytes + kDayRecordSize, correction);
    CorrectionCursor corrections{correctionBytes, correctionBytes + sizeof correctionBytes};

    DayRecord* days = nullptr;
    for (bool raw : {true, false}) {
        int32_t count = DecodeSubRecordHistory(begin, end, days, flags, raw, data[5] & 2 ? corrections : CorrectionCursor{});
        if (count < 0)
            __builtin_trap();
    }
    ProFree(days);

    ComputeStreamStatistics(sub.data(), end, corrections);
    RecomputeSubRecordExtremes(sub.data(), end, {}, 0);

    const uint8_t* p = begin + kSubRecordStream;
    uint8_t mode = 0;
    int32_t repeat = 0;
    bool isDay = true;
    while (isDay && !AtStreamEnd(p, end, repeat)) {
        const uint8_t* before = p;
        p = SkipPriceEntry(p, end, mode, repeat, isDay);
        if (p < before || p > end)
            __builtin_trap();
    }

    // The same stream as the only sub-record of a record, through the lookups.
    if (sub.size() + 32 <= 0xFFFF) {
        std::vector<uint8_t> record(32 + sub.size(), 0);
        StoreU16(record.data(), uint16_t(record.size()));
        StoreU16(record.data() + 2, 0x4001);
        StoreU16(record.data() + 22, 32);
        for (size_t i = 0; i < sub.size(); ++i)
            record[32 + i] = sub[i];
        StoreU16(record.data() + 32, 0);
        record[32 + 2] = data[4] & 1 ? 14 : 10;
        uint8_t* r = record.data();
        uint16_t date = uint16_t(LoadU16(data + 2) + data[5]);
        DayRecord day;
        FindPriceOnDate(r, 0, date, data[5] & 4, &day);
        GetRawPriceOnDate(r, 0, date, true);
        GetDayRecordFromEnd(r, 0, data[5] % 7, &day);
        AveragePriceLastDays(r, 0, 1 + data[5] % 5);
        GetLastPriceDate(r, 0);
        float high, low;
        uint16_t highDate, lowDate;
        GetHighLowInRange(r, 0, date, &high, &highDate, &low, &lowDate);
        MovingAverageCache cache;
        GetMovingAverageAt(r, 0, -int32_t(data[5] % 9), (5u << 16) | (1 + data[4] % 5), &cache);
        GetMovingAverageAt(r, 0, date, (6u << 16) | 1, &cache);
    }
    return 0;
}
