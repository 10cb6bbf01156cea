// Active shares, their subscribers and their day blocks.
#include "realtime/store/RTActiveShares.h"

#include "realtime/store/RTStore.h"

#include <algorithm>
#include <bit>

namespace qv {
namespace {

constexpr size_t kSubscriberGrowth = 4;

bool InChain(const RTActiveShare& share)
{
    for (const auto& a : TheRTStore().activeShares)
        if (a.get() == &share)
            return true;
    return false;
}

} // namespace

float IntradayTick::F1() const { return std::bit_cast<float>(value1); }
float IntradayTick::F2() const { return std::bit_cast<float>(value2); }
void IntradayTick::SetF(float a, float b)
{
    value1 = std::bit_cast<uint32_t>(a);
    value2 = std::bit_cast<uint32_t>(b);
}

void AddRTSubscriber(RTWatchList& list, RTActiveShare& share)
{
    auto& subs = share.subscribers;
    if (std::find(subs.begin(), subs.end(), &list) != subs.end())
        return;
    if (subs.empty() || std::find(subs.begin(), subs.end(), nullptr) == subs.end())
        subs.resize(subs.size() + kSubscriberGrowth, nullptr);
    auto slot = std::find(subs.begin(), subs.end(), nullptr);
    *slot = &list;
    share.subscriberCount += 1;
    // Only a list that took a slot counts, so the live count always falls back to 0.
    if (list.countsAsLive)
        share.liveSubscribers += 1;
}

void RemoveRTSubscriber(RTWatchList& list, RTActiveShare& share)
{
    if (!InChain(share) || share.subscribers.empty())
        return;
    bool held = false;
    for (auto& s : share.subscribers) {
        if (s != &list)
            continue;
        s = nullptr;
        share.subscriberCount -= 1;
        held = true;
    }
    if (held && list.countsAsLive && share.liveSubscribers > 0)
        share.liveSubscribers -= 1;
}

void PruneRTActiveShares()
{
    auto& chain = TheRTStore().activeShares;
    std::erase_if(chain, [](const auto& a) { return a->subscriberCount <= 0; });
}

RTActiveShare* FindRTActiveShare(uint32_t key)
{
    for (auto& a : TheRTStore().activeShares)
        if (a->key == key)
            return a.get();
    return nullptr;
}

RTActiveShare* CreateRTActiveShare(const ShareRef& ref)
{
    uint32_t key = GetRTShareKey(ref);
    if (!key)
        return nullptr;
    if (RTActiveShare* a = FindRTActiveShare(key))
        return a;
    auto made = std::make_unique<RTActiveShare>();
    made->key = key;
    made->ref = ref;
    made->exchange = ref.exchange;
    auto& chain = TheRTStore().activeShares;
    chain.insert(chain.begin(), std::move(made));
    return chain.front().get();
}

RTShareDayBlock* FindRTShareDay(RTActiveShare& share, PackedDate day)
{
    for (auto& b : share.days)
        if (b->day == day)
            return b.get();
    return nullptr;
}

RTShareDayBlock* FindRTShareToday(RTActiveShare& share)
{
    RTDayRecord* current = CurrentRTDay();
    return current ? FindRTShareDay(share, current->day) : nullptr;
}

} // namespace qv
