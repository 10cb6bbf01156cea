// Fuzzes the market table's "RTMarket.cfg" blobs: any blob reads back whole or not at all, and one
// that reads packs to the same bytes.
#include "realtime/RTMarketTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::optional<qv::MarketDay> day = qv::UnpackMarketDay(std::span(data, size));
    if (!day)
        return 0;
    std::vector<uint8_t> packed = qv::PackMarketDay(*day);
    // A float that is a NaN may pack to other bits; compare everything else.
    for (size_t i = 0; i < packed.size(); ++i)
        if (packed[i] != data[i] && (i < 4 || (i - 4) % 16 < 8))
            std::abort();
    return 0;
}
