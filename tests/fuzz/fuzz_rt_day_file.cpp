// Fuzzes the intraday day-file reader, the loading of every entry's tick words and summary, and
// their decoding.
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStoreFiles.h"
#include "realtime/store/RTTickCoding.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::RTFileReader read = [&](uint64_t at, size_t n, uint8_t* out) {
        if (at > size || n > size - at)
            return false;
        std::copy_n(data + at, n, out);
        return true;
    };
    auto day = qv::ParseRTDayFile(read, size);
    if (!day)
        return 0;
    for (size_t i = 0; i < day->slotMap.size(); ++i)
        day->EntryFor(uint32_t(i), uint32_t(i));
    for (qv::RTDayShareEntry& e : day->entries) {
        if (qv::LoadRTShareTicks(read, size, e, qv::kRTLoadSummary) == 0)
            qv::ReadRTDaySummary(std::span<const uint32_t, qv::kRTSummaryWords>(e.ticks.data(), qv::kRTSummaryWords));
        if (qv::LoadRTShareTicks(read, size, e, qv::kRTLoadAllTicks) == 0)
            qv::ReadRTStoredTicks(e.ticks, e.streamOffset, e.loadFlags & qv::kRTLoadPounds);
    }
    return 0;
}
