// Fuzzes the collection of member messages: a script of Begin/Append/End calls with lengths and
// chunks from the input; nothing is allocated past the cap and every queued message is whole.
#include "realtime/feed/FeedMessageQueue.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::FeedMessageCollector c;
    qv::FeedMessageQueue incoming;
    size_t i = 0;
    auto take = [&](size_t n) {
        uint32_t v = 0;
        for (size_t k = 0; k < n && i < size; ++k)
            v = v << 8 | data[i++];
        return v;
    };
    while (i < size) {
        uint8_t op = uint8_t(take(1));
        int slot = int(op >> 2) % 9 - 1;
        switch (op & 3) {
        case 0: c.BeginMessage(slot, uint16_t(take(1) % 4), take(3) % (qv::kFeedMessageMaxBytes + 16), take(2)); break;
        case 1: {
            uint32_t n = std::min<uint32_t>(take(1), uint32_t(size - i));
            c.AppendMessage(slot, data + i, n);
            i += n;
            break;
        }
        case 2: c.EndMessage(slot, incoming); break;
        default: c.DistributeIncoming(incoming); break;
        }
    }
    for (qv::FeedMessageQueue* q : {&incoming, &c.inbox, &c.contacts})
        while (auto node = q->TakeHead())
            if (node->filled != node->length || node->length > qv::kFeedMessageMaxBytes || node->data.size() != node->length + 4)
                std::abort();
    return 0;
}
