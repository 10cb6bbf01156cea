// The feed check: the connection step, the current day's shares, trades and times, and the DDE
// server's "mid" of the first share that traded.
#include "app/ui/FeedCheck.h"

#include "core/ReadersWriterLock.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/StringPrintf.h"
#include "realtime/FeedStates.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStore.h"
#include "shell/FeedClient.h"
#include "shell/ui/MainFrame.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace qv {
namespace {

struct DayCounts {
    PackedDate day = 0;
    int shares = 0;
    uint32_t trades = 0;
    uint32_t first = 0, last = 0;
    uint32_t firstShareKey = 0;
};

DayCounts CountCurrentDay()
{
    DayCounts c;
    ExclusiveLockGuard lock(IntradayStoreLock()); // summaries may be loaded
    RTDayRecord* day = CurrentRTDay();
    if (!day)
        return c;
    c.day = day->day;
    for (RTDayShareEntry& e : day->entries) {
        std::array<uint32_t, kRTSummaryWords> words{};
        if (GetRTSummaryBlock(&e, words, *day) != 0)
            continue;
        RTDaySummary s = ReadRTDaySummary(words);
        uint32_t trades = s.tradeCounts[0] + s.tradeCounts[1] + s.tradeCounts[2];
        if (!trades)
            continue;
        ++c.shares;
        c.trades += trades;
        uint32_t first = s.times[kRTSlotFirstTrade];
        if (!c.firstShareKey || first < c.first)
            c.first = first;
        if (!c.firstShareKey && FindShareRecord(RTKeyShare(e.key)))
            c.firstShareKey = e.key;
        c.last = std::max(c.last, s.times[kRTSlotLatestTrade]);
    }
    return c;
}

std::string Clock(uint32_t t) { return StringPrintf("%02u:%02u:%02u", t / 3600, t / 60 % 60, t % 60); }

} // namespace

void RunFeedCheck(CMainFrame& frame, std::function<void()> done)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [&frame, timer, poll, done] {
        DayCounts c = CountCurrentDay();
        bool ready = RTConnectionStep() == kFeedConnected && c.trades > 0;
        if (!ready && timer->elapsed() < 60000) {
            QTimer::singleShot(200, &frame, *poll);
            return;
        }
        DdeValue mid = TheDdeRTFeed().columnValue(c.firstShareKey, 'K', 0);
        std::printf("Feed check: step %d, day %02d/%02d/%04d, %d shares traded, %u trades from %s to %s, "
                    "mid of share 0x%04X %s\n",
                    int(RTConnectionStep()), DayOfMonth(c.day), MonthOfYear(c.day), FullYear(c.day), c.shares,
                    c.trades, Clock(c.first).c_str(), Clock(c.last).c_str(), RTKeyShare(c.firstShareKey),
                    mid.type == kDdeFloat ? StringPrintf("%.2f", mid.number).c_str() : "none");
        std::fflush(stdout);
        *poll = nullptr; // the closure no longer holds itself
        done();
    };
    QTimer::singleShot(0, &frame, *poll);
}

} // namespace qv
