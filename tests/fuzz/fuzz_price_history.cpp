// Fuzzes history decoding, statistics and skipping over arbitrary price streams.
#include "core/Memory.h"
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
    return 0;
}
