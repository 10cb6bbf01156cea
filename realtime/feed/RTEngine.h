// The intraday engine around the store: its state, the day roll-over, the live change marks and the
// posts to subscribed windows, the recent-trades ring, the watch lists, and the value queries of the
// intraday columns, the DDE server and the end-of-day chart.
#pragma once

#include "core/PackedDate.h"
#include "realtime/IntradayState.h"
#include "realtime/store/RTActiveShares.h"
#include "realtime/store/RTDayRecord.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace qv {

constexpr uint32_t kMsgRTNewData = 0x444;   // new ticks for a window's watched shares
constexpr uint32_t kMsgRTRefreshAll = 0x454; // the window must refresh whole
constexpr uint32_t kMsgRTNewDay = 1105;     // to the main window: a new trading day began
constexpr int kRTSources = 15;
constexpr int kRTExchanges = 70;

struct RTExchangeDay {
    PackedDate day = 0;
    uint32_t latestTime = 0;
    uint32_t extremesSelector = 0; // 0: the summary's second pair of extremes
    uint32_t counters[2] = {};
};

// What the engine needs of the layers above; app/LayerHooks installs them.
struct RTEngineHooks {
    std::function<void(uint32_t message)> postToMainWindow;
    std::function<void()> refreshViews;           // every view group refreshes; visible views repaint
    std::function<float(uint16_t share)> previousClose; // the end-of-day close before the last day
    std::function<bool(uint16_t share)> pricedInPounds;
    std::function<std::vector<uint16_t>()> databaseShares;
    // Instruments the database lacks were defined: register them as extra items on the
    // user-interface thread (called from the feed thread).
    std::function<void()> instrumentsChanged;
    // The connection step changed (from any thread).
    std::function<void(int32_t step)> stepChanged;
    // The feed thread ended by itself (no server, a drop, a refusal, a fault; from the feed thread).
    std::function<void()> feedEnded;
    // The log-on reported the completed agreements (called from the feed thread).
    std::function<void(uint32_t completed)> agreementsReported;
};
RTEngineHooks& TheRTEngineHooks();

struct RTEngine {
    std::atomic<bool> running{false};
    std::atomic<bool> backfillRunning{false};
    std::array<std::atomic<uint32_t>, kRTSources> sourceLatest{};
    std::array<RTExchangeDay, kRTExchanges> exchanges{};
    uint8_t highlightDuration = 8; // tenths of a second
    size_t requestCursor = 0;
    std::vector<uint16_t> requestShares; // the database's shares, in list order, taken at start
    uint32_t enabledFeeds = 0xFFFFFFFF; // the feeds the user takes; London (0x300) always
    // Why the last connection ended (FeedFailureText), 0 when nothing to tell.
    std::atomic<int32_t> failure{0};
    // A server must send its first frame, and finish each frame it begins, within this time.
    std::atomic<uint32_t> answerLimitMs{30000};
    // The intraday views are told of new data at most this many times a second (0: every change).
    std::atomic<uint8_t> updateRate{0};
    // The attempt in a row of the current or last connection (ChosenFeedServer's argument).
    std::atomic<int> serverAttempt{0};
};
RTEngine& TheRTEngine();
// The connection step's setter, which tells the user-interface side.
void SetRTConnectionState(int32_t step);
void ClearRTSourceTimes();

// Starts a new trading day: nothing when the day is held, the engine is not running, or the day is
// not newer than the newest seen. Returns the day record (or null).
RTDayRecord* BeginRTDay(PackedDate day, bool lock, bool notify);

// Live notifications, called by the decoder under the exclusive lock.
// type 1 a trade (value 1 the price), 2 a quote (value 1 offer, value 2 bid).
void MarkRTTickChange(RTActiveShare& share, uint32_t tick, int type, float value1, float value2, float previous1,
                      float previous2);
void RefreshRTSubscribers(RTActiveShare& share, bool trade);
void PostRTViewMessage(RTWatchList& list, uintptr_t parameter, uint32_t value, bool refresh);
// Clears marks older than the highlight duration (x 100 ms).
void ExpireRTTickFlags(RTActiveShare& share, uint32_t now, uint32_t& flags);

// The watch lists.
void InitRTWatchList(void* owner, uint64_t targetId, RTWatchList& list);
void FreeRTWatchList(RTWatchList& list);
void BeginRTWatchListUpdate(RTWatchList& list, bool reset);
RTActiveShare* AddRTWatchShare(const ShareRef& ref, RTWatchList& list);
void EndRTWatchListUpdate(RTWatchList& list);

// The program-wide ring of the last 500 trades.
struct RecentTrade {
    uint16_t share = 0;
    uint32_t time = 0;
    float price = 0;
    float open = 0, last = 0; // summary words 22 and 23
    float volume = 0;
    uint8_t exchange = 0;
};
constexpr size_t kRecentTrades = 500;
void AddRTRecentTrade(const RecentTrade& trade);
void ClearRTRecentTrades();
// The trades from oldest to newest.
std::vector<RecentTrade> RecentRTTrades();
// The entries from index `from` up to the write index (to entry 499 and on from 0 when the write
// index has wrapped past it), added to `out`; the write index, the reader's next `from`. Entries
// overwritten since the reader's last call are not told apart.
uint16_t ReadRTRecentTrades(uint16_t from, std::vector<RecentTrade>& out);
// The write index (a new reader starts there).
uint16_t RTRecentTradesWriteIndex();

// Marks every entry's summary for a rebuild and sets each exchange's latest time.
void PrepareRTDay(RTDayRecord& day);
// Replays the share's stored ticks of the day through the summary rules; clears the rebuild flag.
void RebuildRTSummary(RTDayShareEntry& entry, RTDayRecord& day);

// The day summary as seven (or eleven) floats: open, high, low, last, mid, volume, previous close
// (and bid, offer, previous trade, last volume). False when there is none.
bool GetRTDaySummary(std::array<float, 7>& out, uint32_t key, PackedDate day);
bool GetRTDaySummaryEx(std::array<float, 11>& out, uint32_t key, PackedDate day);

// Value types of GetRTColumnValue.
constexpr int kRTValueZero = 0, kRTValueNumber = 1, kRTValueNone = 2, kRTValueInteger = 3, kRTValuePrice = 4,
              kRTValueTime = 5;
// The value of an intraday column (kind letter G-U) for a share, days back from the current day.
int GetRTColumnValue(int32_t daysBack, double& value, const ShareRef& ref, uint16_t kindWord, uint32_t option,
                     uint8_t* extra = nullptr);
// The direction of the share's last trade against the trade before it, days back from the current
// day: 1 up, -1 down, 0 unchanged (or the day's first trade), 2 no trade yet.
int GetRTTradeDirection(int32_t daysBack, const ShareRef& ref);
void DecodeIntradayColumnFlags(uint8_t letter, uint32_t option, uint32_t& first, uint32_t& second);

// The keys to ask the feed for: subscribed shares not yet requested for the day, then the database's.
size_t BuildRTRequestList(RTDayRecord& day, uint32_t* keys, size_t limit);
void ClearRTRequested(RTDayRecord& day);
size_t CountRTRequested(RTDayRecord& day);

} // namespace qv
