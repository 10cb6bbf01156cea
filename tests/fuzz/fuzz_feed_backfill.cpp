// Fuzzes the backfill's answers into a fresh store and the status answer.
#include "realtime/feed/RTBackfill.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::ResetRTStore();
    qv::TheRTStore().workAreaReady = true;
    qv::TheRTEngine().running = true;
    qv::TheRTBackfillCounts() = {};
    qv::ApplyRTBackfillItems(std::span(data, size), 0);
    qv::RTStatusTables tables;
    qv::ReadRTStatusAnswer(std::span(data, size), tables);
    return 0;
}
