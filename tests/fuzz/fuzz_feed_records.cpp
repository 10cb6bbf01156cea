// Fuzzes the feed decoder: a catch-up block (first byte even) of the day its first record names, or
// a live record (odd), into a fresh store.
#include "platform/ByteOrder.h"
#include "realtime/feed/FeedDecoder.h"
#include "realtime/feed/FeedRecord.h"
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
    std::span<const uint8_t> block(data + 1, size - 1);
    size_t dayAt = qv::kFeedBlockHeaderBytes + 10;
    if (catchUp && block.size() >= dayAt + 2) {
        qv::TheFeedCatchUp().running = true;
        qv::TheFeedCatchUp().day = qv::LoadU16(block.data() + dayAt);
    }
    qv::HandleFeedRecords(nullptr, block, catchUp);
    return 0;
}
