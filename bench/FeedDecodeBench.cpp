// The intraday feed: a whole London trading day (08:00-16:30) of the stand-in's ticks for 290 shares
// decoded and stored, and a live trade from a server on the loopback interface to the 0x444 posted
// for the window that watches the share.
#include "devtools/lib/FeedEncoder.h"
#include "devtools/lib/FeedSimulator.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "realtime/feed/FeedDecoder.h"
#include "realtime/feed/FeedFrame.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/store/RTStore.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr qv::PackedDate kDay = qv::PackDate(7, 12, 2026);
constexpr int kShares = 290;

struct FeedDay {
    std::vector<std::vector<uint8_t>> blocks;
    size_t items = 0;
};

// The day as catch-up blocks of 64 records, one item each, in time order, as the stand-in sends it.
const FeedDay& LondonDay()
{
    static const FeedDay day = [] {
        struct Timed {
            uint32_t time;
            uint16_t share;
            qv::dev::IntradayEvent e;
        };
        std::vector<Timed> timeline;
        for (int i = 0; i < kShares; ++i) {
            uint16_t share = uint16_t(0x4000 + i);
            for (const auto& e : qv::dev::SimulatedShareDay(share, kDay, 50.0f + float(i * 13 % 900)))
                timeline.push_back({e.time, share, e});
        }
        std::stable_sort(timeline.begin(), timeline.end(), [](const Timed& a, const Timed& b) { return a.time < b.time; });
        FeedDay out;
        std::vector<std::vector<uint8_t>> records;
        auto coded = [](float p) { return int32_t(std::lround(double(p) * 100.0)); };
        for (const Timed& t : timeline) {
            qv::dev::FeedPriceItem item{coded(t.e.bid), coded(t.e.offer), std::nullopt, 0, 0, std::nullopt, std::nullopt};
            if (t.e.trade) {
                item.trade = coded(t.e.price);
                item.volume = t.e.volume;
            }
            records.push_back(qv::dev::FeedPriceRecord(0, kDay, t.time, {{t.share, {item}}}));
            if (records.size() == 64) {
                out.blocks.push_back(qv::dev::FeedCatchUpBlock(t.time * 20, records));
                records.clear();
            }
        }
        if (!records.empty())
            out.blocks.push_back(qv::dev::FeedCatchUpBlock(timeline.back().time * 20, records));
        out.items = timeline.size();
        return out;
    }();
    return day;
}

void ResetStore()
{
    qv::ResetRTStore();
    qv::TheRTStore().workAreaReady = true;
    qv::TheRTEngine().running = true;
    qv::TheFeedCatchUp() = {};
    qv::TheFeedCatchUp().running = true;
    qv::TheFeedCatchUp().day = kDay;
    // Every share priced in hundredths, as the stand-in defines them.
    for (int i = 0; i < kShares; ++i)
        qv::HandleRTInstrumentRecord(qv::dev::FeedInstrumentDefinition(qv::MakeRTKey(0, uint16_t(0x4000 + i)), "", "", 1, 2, 0, 1));
}

void BM_DecodeLondonDay(benchmark::State& state)
{
    const FeedDay& day = LondonDay();
    for (auto _ : state) {
        state.PauseTiming();
        ResetStore();
        state.ResumeTiming();
        for (const auto& block : day.blocks)
            benchmark::DoNotOptimize(qv::HandleFeedRecords(nullptr, block, true));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(day.items));
    state.counters["items"] = double(day.items);
    qv::TheRTEngine().running = false;
    qv::ResetRTStore();
}
BENCHMARK(BM_DecodeLondonDay)->Unit(benchmark::kMillisecond);

// The window that watches the share: counts the 0x444 it is posted.
class Watcher : public qv::MessageTarget {
public:
    intptr_t onProgramMessage(uint32_t message, uintptr_t, intptr_t) override
    {
        posts += message == qv::kMsgRTNewData;
        return 1;
    }
    int posts = 0;
};

void BM_TradeToPostedNotice(benchmark::State& state)
{
    // A server of our own on a free loopback port, so that each trade is sent when the loop asks.
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
    setenv("QV_FEED_SERVER", ("127.0.0.1:" + std::to_string(ntohs(addr.sin_port))).c_str(), 1);
    qv::Config().optionsA.data()[qv::OptionBlockA::kRealTimeOption] = 1;
    qv::ResetRTStore();
    qv::CreateRTStoreObjects();
    qv::TheRTStore().workAreaReady = true;
    if (!qv::StartRTEngine()) {
        state.SkipWithError("the engine did not start");
        return;
    }
    int server = accept(listener, nullptr, nullptr);
    Watcher watcher;
    qv::RTWatchList list;
    qv::InitRTWatchList(&watcher, watcher.targetId(), list);
    qv::BeginRTWatchListUpdate(list, true);
    qv::AddRTWatchShare(qv::ShareRef{nullptr, 0, 0x4001}, list);
    qv::EndRTWatchListUpdate(list);
    uint32_t time = 9 * 3600;
    for (auto _ : state) {
        int before = watcher.posts;
        qv::dev::FeedPriceItem item{10000, 10050, 10025 + int32_t(time % 7), 1, 500, std::nullopt, std::nullopt};
        auto frame = qv::EncodeFeedFrame(qv::kFeedLiveRecord, 0, qv::dev::FeedPriceRecord(0, kDay, ++time, {{0x4001, {item}}}));
        if (send(server, frame.data(), frame.size(), MSG_NOSIGNAL) != ssize_t(frame.size()))
            state.SkipWithError("send failed");
        while (watcher.posts == before)
            qv::DeliverPostedMessages();
    }
    qv::FreeRTWatchList(list);
    qv::StopRTEngine();
    close(server);
    close(listener);
    unsetenv("QV_FEED_SERVER");
    qv::Config().optionsA.data()[qv::OptionBlockA::kRealTimeOption] = 0;
    qv::ResetRTStore();
    qv::DestroyRTStoreObjects();
}
BENCHMARK(BM_TradeToPostedNotice)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
