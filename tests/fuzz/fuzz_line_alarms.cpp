// Fuzzes the collection of drawn lines with alarms from a packed lines-and-text item: every walk stays
// inside the item, and each line collected lies on the day asked for.
#include "realtime/alarms/AlarmMarket.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const uint32_t today = (uint32_t(data[0]) << 8 | data[1]) + 19000;
    std::vector<uint8_t> item(data + 2, data + size);
    std::vector<qv::ShareLine> lines;
    qv::CollectAlarmLines(item, 0x4001, today, lines);
    for (const qv::ShareLine& l : lines)
        if (l.line.time1 / 86400 != today || l.line.time2 / 86400 != today)
            std::abort();
    return 0;
}
