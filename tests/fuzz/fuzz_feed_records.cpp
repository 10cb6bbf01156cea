// Fuzzes the feed decoder: a block (first byte even) or a live record (odd) into a fresh store.
#include "realtime/feed/FeedDecoder.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    qv::ResetRTStore();
    qv::TheRTStore().workAreaReady = true;
    qv::TheRTEngine().running = true;
    qv::TheFeedCatchUp() = {};
    bool catchUp = (data[0] & 1) == 0;
    if (catchUp && size >= 3) {
        qv::TheFeedCatchUp().running = true;
        qv::TheFeedCatchUp().day = uint16_t(data[1] | data[2] << 8);
    }
    qv::HandleFeedRecords(nullptr, std::span(data + 1, size - 1), catchUp);
    return 0;
}
