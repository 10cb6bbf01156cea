// Fuzzes the intraday day's split and decoding on random tick arrays with random counts: no array
// grows past its count, every bar lies inside its day, and the decode never reads past the ticks.
#include "chartmodel/IntradayTicks.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    qv::TickCounts counts{data[0] % 64u, data[1] % 16u, data[2] % 32u};
    const int32_t slot = 1 + data[3] % 120 * 30;
    const uint32_t flags = data[4] & 3;
    std::vector<qv::IntradayTick> ticks;
    for (size_t at = 8; at + 12 <= size; at += 12) {
        qv::IntradayTick t;
        t.source = data[at];
        t.tradeClass = data[at + 1];
        std::memcpy(&t.type, data + at + 2, 2);
        std::memcpy(&t.value1, data + at + 4, 4);
        std::memcpy(&t.value2, data + at + 8, 4);
        ticks.push_back(t);
    }
    qv::IntradaySeriesSet set;
    qv::SplitIntradayTicks(ticks, counts, set, "fuzz");
    if (set.quotes.items.size() > counts.quotes || set.others.items.size() > counts.others ||
        set.trades.items.size() > counts.trades)
        std::abort();
    qv::IntradayDay day;
    day.slotLength = slot;
    day.averages = {{0, 5, {}}};
    qv::DecodeIntradayTicks(day, ticks, counts, flags, "fuzz", (data[5] & 1) != 0);
    if (day.bars.bars.size() > size_t(86400 / slot + 2))
        std::abort();
    qv::ComputeBarAverages(day);
    return 0;
}
