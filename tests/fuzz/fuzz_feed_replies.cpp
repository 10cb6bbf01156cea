// Fuzzes the server's replies besides the data: the backfillable days and the log-on answer. A list
// that is read back encodes to the bytes it was read from, and no list passes its cap.
#include "realtime/feed/FeedServerInfo.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> input(data, size);
    if (auto days = qv::ParseBackfillDays(input)) {
        if (days->size() > qv::kMaxBackfillDays)
            std::abort();
        std::vector<uint8_t> encoded = qv::EncodeBackfillDays(*days);
        if (encoded.size() > size || !std::equal(encoded.begin(), encoded.end(), data))
            std::abort();
    }
    if (auto status = qv::ParseLogOnStatus(input))
        if (size < 8)
            std::abort();
    return 0;
}
