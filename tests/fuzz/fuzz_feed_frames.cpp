// Fuzzes the whole client path of what a server sends: the frame reader, then every frame through
// the feed thread's handler (the decoder, the store, member messaging), as a connection and as a
// recording ("Demo.dat") would hand them over, and the messaging's distribution to the inbox and
// the contact list. What the server makes the program hold stays within the feed's ceilings.
#include "realtime/feed/FeedFrame.h"
#include "realtime/feed/FeedLimits.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/messaging/MemberMessaging.h"
#include "realtime/store/RTStore.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::ResetRTStore();
    qv::TheRTStore().workAreaReady = true;
    qv::TheRTEngine().running = true;
    qv::TheRTEngine().backfillRunning = false;
    qv::ResetFeedFloodCounts();
    // Pieces of the input arrive as a connection would hand them over.
    qv::FeedFrameReader reader;
    qv::FeedFrame frame;
    for (size_t at = 0; at < size; at += 7) {
        reader.Add(std::span(data + at, std::min<size_t>(7, size - at)));
        while (reader.Next(frame) == qv::FeedFrameReader::Result::Frame)
            qv::HandleFeedFrame(frame);
    }
    qv::PlayBackFeedFrames(std::span(data, size), 0, nullptr);
    qv::MemberMessaging& messaging = qv::TheMemberMessaging();
    messaging.Distribute();
    if (messaging.queues.inbox.size() > qv::kFeedMaxMemberMessages ||
        messaging.queues.contacts.size() > qv::kFeedMaxContacts)
        std::abort();
    if (qv::TheRTStore().table.instrumentCount > qv::kFeedMaxInstruments + 1)
        std::abort();
    return 0;
}
