// Fuzzes the member message and contact records as the server sends them: each is read only within
// its bytes and its own length, a record read and written again reads back to the same bytes, and
// the contact list merges whatever arrives without losing a node.
#include "realtime/feed/FeedMessageQueue.h"
#include "realtime/messaging/MemberRecords.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

template <typename Record> void RoundTrip(const std::vector<uint8_t>& bytes)
{
    auto record = Record::Read(bytes);
    if (!record)
        return;
    const std::vector<uint8_t> written = record->Write();
    auto again = Record::Read(written);
    if (!again || again->Write() != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> exact(data, data + size);
    RoundTrip<qv::MemberMessage>(exact);
    RoundTrip<qv::ContactRecord>(exact);
    // The input cut into records by its first bytes, each as a node of the incoming queue.
    qv::FeedMessageCollector c;
    qv::FeedMessageQueue incoming;
    size_t nodes = 0;
    for (size_t at = 0; at + 2 <= size;) {
        const size_t n = std::min<size_t>(data[at + 1], size - at - 2);
        incoming.Enqueue(qv::MakeFeedMessageNode(uint16_t(data[at] % 3), uint32_t(at), {data + at + 2, n}));
        at += 2 + n;
        ++nodes;
    }
    c.DistributeIncoming(incoming);
    if (c.inbox.size() + c.contacts.size() + incoming.size() > nodes)
        std::abort();
    c.contacts.ForEach([](const qv::FeedMessageNode& node) {
        (void)qv::ContactRecord::Read({node.data.data(), node.length});
        return true;
    });
    c.inbox.ForEach([](const qv::FeedMessageNode& node) {
        (void)qv::MemberMessage::Read({node.data.data(), node.length});
        return true;
    });
    return 0;
}
