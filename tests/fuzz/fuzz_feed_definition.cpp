// Fuzzes the feed's instrument definitions, then a record for the share they define.
#include "realtime/feed/FeedDecoder.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::ResetRTStore();
    qv::TheRTStore().workAreaReady = true;
    qv::TheRTEngine().running = true;
    size_t half = size / 2;
    qv::HandleRTInstrumentRecord(std::span(data, half));
    qv::HandleRTInstrumentRecord(std::span(data + half, size - half));
    return 0;
}
