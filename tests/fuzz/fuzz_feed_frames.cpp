// Fuzzes the frame reader and the playback of a recording ("Demo.dat"): every frame it yields goes
// to the feed thread's handler.
#include "realtime/feed/FeedFrame.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/store/RTStore.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::ResetRTStore();
    qv::TheRTStore().workAreaReady = true;
    qv::TheRTEngine().running = true;
    qv::TheRTEngine().backfillRunning = false;
    // Pieces of the input arrive as a connection would hand them over.
    qv::FeedFrameReader reader;
    qv::FeedFrame frame;
    for (size_t at = 0; at < size; at += 7) {
        reader.Add(std::span(data + at, std::min<size_t>(7, size - at)));
        while (reader.Next(frame) == qv::FeedFrameReader::Result::Frame)
            ;
    }
    qv::PlayBackFeedFrames(std::span(data, size), 0, nullptr);
    return 0;
}
