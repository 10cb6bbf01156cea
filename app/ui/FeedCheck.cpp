// The feed check: the connection step, the current day's shares, trades and times, and the DDE
// server's "mid" of the first share that traded.
#include "app/ui/FeedCheck.h"

#include "core/ReadersWriterLock.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/StringPrintf.h"
#include "platform/Paths.h"
#include "realtime/FeedStates.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/alarms/AlarmServer.h"
#include "realtime/alarms/RTShareAlarmRecord.h"
#include "realtime/IntradayState.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTReconnect.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStore.h"
#include "shell/FeedClient.h"
#include "shell/FeedLevelPane.h"
#include "shell/FrameMessages.h"
#include "shell/ui/StatusBarEx.h"
#include "shell/ui/MainFrame.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <fstream>
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

std::string StatusPane(CMainFrame& frame)
{
    CStatusBarEx* bar = frame.statusBarEx();
    return bar ? bar->PaneText(kFeedStatusPane).toStdString() : std::string();
}

// Polls every 200 ms until the condition holds or the time runs out, then goes on.
void WaitFor(CMainFrame& frame, std::function<bool()> condition, int timeoutMs, std::function<void(bool, double)> next)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [&frame, timer, poll, condition, timeoutMs, next] {
        bool met = condition();
        if (!met && timer->elapsed() < timeoutMs) {
            QTimer::singleShot(200, &frame, *poll);
            return;
        }
        double seconds = double(timer->elapsed()) / 1000.0;
        *poll = nullptr;
        next(met, seconds);
    };
    QTimer::singleShot(0, &frame, *poll);
}

void Say(const std::string& line)
{
    std::printf("Feed check: %s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

void RunFeedReconnectCheck(CMainFrame& frame, std::function<void()> done)
{
    // Connected once the status pane has taken the step's notice too.
    auto connected = [&frame] {
        return RTConnectionStep() == kFeedConnected && StatusPane(frame).rfind("Connected", 0) == 0;
    };
    WaitFor(frame, connected, 60000, [&frame, connected, done](bool ok, double) {
        Say(ok ? StringPrintf("connected, status \"%s\", levels 0x%03X in use", StatusPane(frame).c_str(),
                              unsigned(CurrentFeedLevels().inUse))
               : "never connected");
        if (!ok)
            return done();
        // The caller drops the stand-in's connections now.
        WaitFor(frame, [] { return RTConnectionStep() != kFeedConnected; }, 90000,
                [&frame, connected, done](bool dropped, double) {
            if (!dropped) {
                Say("never dropped");
                return done();
            }
            WaitFor(frame, connected, 90000, [&frame, done](bool again, double seconds) {
                Say(again ? StringPrintf("reconnected after %.1f s, status \"%s\"", seconds, StatusPane(frame).c_str())
                          : "not reconnected");
                frame.OnCommand(26806);
                // Longer than a retry: nothing may connect again after the user's disconnect.
                WaitFor(frame, [] { return false; }, int(RTReconnectPauseMs(2)) + 1500, [&frame, done](bool, double) {
                    int32_t step = RTConnectionStep();
                    Say(StringPrintf("disconnected, step %d \"%s\", status \"%s\", engine state %d, reconnect waiting %s",
                                     step, FeedStepText(step), StatusPane(frame).c_str(), int(RTEngineState),
                                     TheRTReconnect().scheduled ? "yes" : "no"));
                    done();
                });
            });
        });
    });
}

void WaitForTrading(CMainFrame& frame, uint32_t seconds, std::function<void()> then)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [&frame, timer, poll, seconds, then] {
        const bool ready = RTConnectionStep() == kFeedConnected && CountCurrentDay().trades > 0;
        if (!ready && timer->elapsed() < 60000) {
            QTimer::singleShot(200, &frame, *poll);
            return;
        }
        *poll = nullptr; // the closure no longer holds itself
        QTimer::singleShot(int(seconds) * 1000, &frame, then);
    };
    QTimer::singleShot(0, &frame, *poll);
}

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

void RunFeedAlarmCheck(CMainFrame& frame, std::function<void()> done)
{
    auto traded = [] { return RTConnectionStep() == kFeedConnected && CountCurrentDay().firstShareKey != 0; };
    WaitFor(frame, traded, 60000, [&frame, done](bool ok, double) {
        CAlarmServer* server = TheAlarmServer();
        if (!ok || !server) {
            Say(ok ? "no alarm server" : "never traded");
            return done();
        }
        // A rise-above level well below the price, and every alarm logged to a file of this run.
        const uint32_t key = CountCurrentDay().firstShareKey;
        const std::string log = AppPath("intraday-alarms.log").string();
        std::remove(log.c_str());
        IntradayAlarmActions actions = RTAlarmSettings::Actions();
        actions.log = true;
        actions.logFile = log;
        RTAlarmSettings::SetActions(actions);
        server->ApplySettings();
        RTShareAlarmRecord record;
        record.aboveOn = true;
        record.aboveLevel = server->market().LatestPrice(key) / 2;
        StoreShareAlarmRecord(RTKeyShare(key), uint8_t(key >> 16), record);
        server->OnShareRecordChanged(key);
        auto logged = [log] {
            std::ifstream in(log);
            std::string line;
            return bool(std::getline(in, line));
        };
        WaitFor(frame, logged, 90000, [log, done](bool written, double) {
            std::ifstream in(log);
            std::string line;
            std::getline(in, line);
            Say(written ? "alarm logged: " + line.substr(line.find('\t') + 1) : "no alarm logged");
            done();
        });
    });
}

} // namespace qv
