// The feed's ceilings: drop counts per connection and the one notice per kind.
#include "realtime/feed/FeedLimits.h"

#include <array>
#include <atomic>

namespace qv {
namespace {

std::array<std::atomic<uint64_t>, size_t(FeedLimit::Count)>& Dropped()
{
    static std::array<std::atomic<uint64_t>, size_t(FeedLimit::Count)> counts{};
    return counts;
}

} // namespace

void NoteFeedDrop(FeedLimit kind)
{
    if (Dropped()[size_t(kind)]++ != 0)
        return;
    if (const auto& hook = FeedLimitHook())
        hook(kind);
}

uint64_t FeedDropped(FeedLimit kind) { return Dropped()[size_t(kind)]; }

std::function<void(FeedLimit)>& FeedLimitHook()
{
    static std::function<void(FeedLimit)> hook;
    return hook;
}

const char* FeedLimitText(FeedLimit kind)
{
    switch (kind) {
    case FeedLimit::MemberMessages:
        return "The intraday server sent more member messages than the program keeps (2,000); the rest were dropped.";
    case FeedLimit::Contacts:
        return "The intraday server sent more contacts than the program keeps (1,000); the rest were dropped.";
    case FeedLimit::LiveRecords:
        return "The intraday server sent more prices for one day than the program keeps; the rest of the day's "
               "prices were dropped.";
    case FeedLimit::Definitions:
        return "The intraday server defined more shares than the program keeps (20,000); the rest were dropped.";
    case FeedLimit::Count: break;
    }
    return "";
}

FeedFlood FeedFloodCheck()
{
    uint64_t total = 0;
    for (const auto& n : Dropped())
        total += n;
    return total >= kFeedFloodDisconnect ? FeedFlood::Disconnect : FeedFlood::None;
}

void ResetFeedFloodCounts()
{
    for (auto& n : Dropped())
        n = 0;
}

} // namespace qv
