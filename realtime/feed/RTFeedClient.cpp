// The feed thread and the engine's start and stop.
#include "realtime/feed/RTFeedClient.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/ReadersWriterLock.h"
#include "platform/ByteOrder.h"
#include "platform/DebugOutput.h"
#include "platform/Paths.h"
#include "realtime/AgreementPages.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/feed/FeedDecoder.h"
#include "realtime/feed/FeedLimits.h"
#include "realtime/feed/FeedRecord.h"
#include "realtime/feed/FeedServerInfo.h"
#include "realtime/feed/RTBackfill.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTReconnect.h"
#include "realtime/messaging/MemberMessaging.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTStoreFiles.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace qv {
namespace {

constexpr int kWaitMs = 250;
constexpr int kConnectLimitMs = 20000;

std::thread& FeedThread()
{
    static std::thread thread;
    return thread;
}
std::atomic<bool> g_threadRunning{false};
// When the connection's day first completed (steady ms), 0 before.
std::atomic<uint64_t> g_connectedAt{0};

uint64_t SteadyMs()
{
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count()) | 1;
}
// The feed's activity flags: a frame being handled, a recording being played back, a request being sent.
std::atomic<bool> g_handling{false}, g_playing{false}, g_sending{false};

struct ActivityMark {
    explicit ActivityMark(std::atomic<bool>& flag) : flag_(flag) { flag_ = true; }
    ~ActivityMark() { flag_ = false; }
    std::atomic<bool>& flag_;
};

int SendRequest(std::span<const uint8_t> data, uint8_t code)
{
    ActivityMark mark(g_sending);
    return TheFeedTransport().SendFeedRequest(data, code);
}

bool RealTimeOptionOn() { return Config().optionsA.data()[OptionBlockA::kRealTimeOption] != 0; }

void SetStep(int32_t step) { SetRTConnectionState(step); }

void Record(const FeedFrame& f)
{
    // The user-interface thread starts and stops the recording under the same lock.
    ExclusiveLockGuard lock(IntradayStoreLock());
    RTStore& s = TheRTStore();
    if (!s.recording)
        return;
    auto bytes = EncodeFeedFrame(f.kind, f.code, f.payload);
    s.recordingBuffer.insert(s.recordingBuffer.end(), bytes.begin(), bytes.end());
}

// After today's catch-up (an older day a backfill brought is whole): the stretches of the day the
// coverage map shows missing are asked for, one gap a step as the request machine gives them; their
// answers come as they come.
void RequestDayGaps(PackedDate date)
{
    {
        ExclusiveLockGuard lock(IntradayStoreLock());
        const RTDayRecord* current = CurrentRTDay();
        if (!current || current->day != date)
            return;
    }
    RTBackfillDay backfill;
    backfill.day = date;
    const FeedSender send = [](std::span<const uint8_t> data, uint8_t code) {
        if (code == kRequestGap)
            ++TheFeedServerInfo().gapRequests;
        return SendRequest(data, code);
    };
    while (!backfill.finished && !TheFeedTransport().stopSet()) {
        ExclusiveLockGuard lock(IntradayStoreLock());
        RTDayRecord* day = GetRTDay(date, false);
        if (!day || NextRTBackfillRequest(backfill, *day, false, send) < 0)
            break;
    }
}

void AfterCatchUp()
{
    TheFeedCatchUp().running = false;
    TheRTEngine().backfillRunning = false;
    LockRTExclusive();
    if (RTDayRecord* day = CurrentRTDay())
        PrepareRTDay(*day);
    for (RTWatchList* list : TheRTStore().watchLists)
        PostRTViewMessage(*list, 0, 0, true);
    UnlockRTExclusive();
}

// Receives until the stop event, a drop or a fault. A server must send its first frame, and
// finish every frame it begins, within the engine's answer limit: one that accepts and stays silent, or drips a
// frame byte by byte, ends in a stated failure rather than a wait without end.
void ReceiveLoop()
{
    using Clock = std::chrono::steady_clock;
    FeedTransport& t = TheFeedTransport();
    FeedFrameReader reader;
    FeedFrame frame;
    bool answered = false;
    Clock::time_point lastFrame = Clock::now();
    auto end = [&](int32_t failure) {
        TheRTEngine().failure = failure;
        SetStep(kFeedConnectionLost);
    };
    while (!t.stopSet()) {
        if (!t.WaitForData(kWaitMs))
            break;
        if (!t.Receive(reader)) {
            // A server that refused the log-on closes the connection: the refusal stays the step.
            if (!IsFeedRefusal(RTConnectionStep()))
                SetStep(kFeedConnectionLost);
            break;
        }
        FlushRTBackfillMarks(uint32_t(SteadyMs()));
        FeedFrameReader::Result r;
        while ((r = reader.Next(frame)) == FeedFrameReader::Result::Frame) {
            ActivityMark mark(g_handling);
            answered = true;
            lastFrame = Clock::now();
            Record(frame);
            HandleFeedFrame(frame);
        }
        if (r == FeedFrameReader::Result::Bad) {
            OutputDebugText("RT Error bad frame - connection closed");
            end(kFeedUnreadable);
            break;
        }
        if (FeedFloodCheck() == FeedFlood::Disconnect) {
            OutputDebugText("RT Error the server keeps flooding - connection closed");
            end(kFeedFlooded);
            break;
        }
        const auto limit = std::chrono::milliseconds(TheRTEngine().answerLimitMs.load());
        if ((!answered || reader.buffered() > 0) && Clock::now() - lastFrame > limit) {
            OutputDebugText("RT Error no answer from the server - connection closed");
            end(kFeedNoAnswer);
            break;
        }
    }
    t.Close();
}

// The shares the user's windows watch, those of live windows first, for a priority catch-up.
std::vector<uint32_t> WatchedRTKeys()
{
    std::vector<uint32_t> keys;
    for (bool live : {true, false})
        for (const auto& a : TheRTStore().activeShares)
            if (keys.size() < kFeedPriorityShares && (a->liveSubscribers > 0) == live &&
                (a->liveSubscribers > 0 || a->subscriberCount > 0))
                keys.push_back(a->key);
    return keys;
}

// The log-on: u16 the newest day held, then, for a priority catch-up, u16 the count and the keys.
std::vector<uint8_t> LogOnRequest(PackedDate newest, const std::vector<uint32_t>& priority)
{
    std::vector<uint8_t> out(priority.empty() ? 2 : 4 + 4 * priority.size());
    StoreU16(out.data(), newest);
    if (priority.empty())
        return out;
    StoreU16(out.data() + 2, uint16_t(priority.size()));
    for (size_t i = 0; i < priority.size(); ++i)
        StoreU32(out.data() + 4 + 4 * i, priority[i]);
    return out;
}

void FeedThreadProc(FeedServer server, std::vector<uint32_t> priority)
{
    FeedTransport& t = TheFeedTransport();
    if (!t.Connect(server.host, server.port, kConnectLimitMs)) {
        if (!t.stopSet())
            TheRTEngine().failure = kFeedNoServer;
    } else {
        if (SendRequest(LogOnRequest(TheRTStore().newestDaySeen, priority), kFeedLogOn) < 0) {
            SetStep(kFeedConnectionLost);
        } else {
            RTStore& s = TheRTStore();
            if (s.playback && !s.playbackBuffer.empty()) {
                ActivityMark mark(g_playing);
                PlayBackFeedFrames(s.playbackBuffer, s.playbackPace, &t.stopFlag());
                s.playback = false;
            }
            ReceiveLoop();
        }
    }
    // A connection that ended by itself stops the engine; the engine state word is the
    // user-interface thread's, which learns of the end from the hook.
    bool stopped = t.stopSet();
    if (!stopped)
        TheRTEngine().running = false;
    g_threadRunning = false;
    if (const auto& ended = TheRTEngineHooks().feedEnded; ended && !stopped)
        ended();
}

// The rest of the day is not covered: a later backfill asks for it again.
void UncoverRestOfDay()
{
    RTDayRecord* day = CurrentRTDay();
    if (!day || day->coverage.size() < kRTCoverageBytes)
        return;
    for (size_t source = 1; source < 15; ++source) {
        uint32_t t = TheRTEngine().sourceLatest[source];
        if (!t)
            continue;
        uint8_t* row = day->coverage.data() + source * 1544;
        uint32_t from = std::min(t / 15, kRTCoverageSlots);
        if (from < LoadU32(row + 4))
            StoreU32(row + 4, from);
        for (uint32_t slot = from; slot < kRTCoverageSlots; ++slot)
            row[8 + slot / 4] &= uint8_t(~(3u << (2 * (slot % 4))));
    }
}

} // namespace

FeedTransport& TheFeedTransport()
{
    static FeedTransport transport;
    return transport;
}

bool RTFeedThreadRunning() { return g_threadRunning; }

bool RTConnectionCompleted() { return g_connectedAt != 0; }

void HandleFeedFrame(const FeedFrame& f)
{
    FeedServerInfo& info = TheFeedServerInfo();
    ++info.frames;
    switch (f.kind) {
    case kFeedLiveRecord: HandleFeedRecords(nullptr, f.payload, false); break;
    case kFeedCatchUpBlock:
        ++info.catchUpBlocks;
        ++info.backfillDone;
        HandleFeedRecords(nullptr, f.payload, true);
        break;
    case kFeedDefinition:
        ++info.definitions;
        HandleRTInstrumentRecord(f.payload);
        break;
    case kFeedBackfillDays:
        if (auto days = ParseBackfillDays(f.payload)) {
            std::lock_guard guard(info.mutex);
            info.days = std::move(*days);
            info.daysAnswered = true;
        }
        break;
    case kFeedStatus:
        ++info.control;
        // The feed's date is its newest day; a backfill's older days leave it.
        if (f.payload.size() >= 2 && LoadU16(f.payload.data()) > info.feedDay)
            info.feedDay = LoadU16(f.payload.data());
        if (f.code == kFeedLogOnStatus) {
            if (auto status = ParseLogOnStatus(f.payload)) {
                info.agreements = status->agreements;
                info.currentLevels = status->levels;
                if (const auto& agreements = TheRTEngineHooks().agreementsReported)
                    agreements(status->agreements);
            }
        }
        if ((f.code == kFeedBackfilling || f.code == kFeedPriorityBackfill) && f.payload.size() >= 6) {
            info.backfillTotal = LoadU32(f.payload.data() + 2);
            info.backfillDone = 0;
            FeedCatchUp& c = TheFeedCatchUp();
            const PackedDate day = LoadU16(f.payload.data());
            // The rest of a day whose watched shares came first in a priority catch-up: the day was
            // cleared before them.
            const bool restOfPriorityDay = f.code == kFeedBackfilling && c.running && c.priority && c.day == day;
            c = {};
            c.running = true;
            c.priority = f.code == kFeedPriorityBackfill;
            c.day = day;
            c.remaining = int32_t(LoadU32(f.payload.data() + 2));
            TheRTEngine().backfillRunning = true;
            // The day comes again whole: what the store holds of it from the sources the catch-up
            // refills goes first, so that a reconnection stores nothing twice. The log-on's
            // catch-up brings every source; a backfill the exchanges asked for, with London's
            // index values beside London.
            uint32_t mask = info.backfillMask ? info.backfillMask.load() : 0xFFFFFFFFu;
            ExclusiveLockGuard lock(IntradayStoreLock());
            if (RTDayRecord* record = c.day && !restOfPriorityDay ? GetRTDay(c.day, false) : nullptr)
                ClearRTDaySources(*record, mask, (mask & 0x300) ? kFeedIndexSource : -1);
        } else if (f.code == kFeedConnected) {
            AfterCatchUp();
            TheRTEngine().failure = 0;
            uint64_t expected = 0;
            g_connectedAt.compare_exchange_strong(expected, SteadyMs());
            // Today's day complete: what it still lacks is asked for.
            if (f.payload.size() >= 2)
                RequestDayGaps(LoadU16(f.payload.data()));
        }
        if (IsFeedRefusal(f.code))
            TheRTEngine().failure = f.code;
        if (f.code <= 15)
            SetStep(f.code);
        break;
    case kFeedBackfillAnswer:
        ++info.backfillAnswers;
        ApplyRTBackfillItems(f.payload, uint32_t(SteadyMs()));
        break;
    case kFeedMemberPiece:
    case kFeedNicknameInUse: TheMemberMessaging().HandleFrame(f); break;
    default: break; // kinds this client does not know are passed over
    }
}

size_t PlayBackFeedFrames(std::span<const uint8_t> recording, uint32_t pace, const std::atomic<bool>* stop)
{
    FeedFrameReader reader;
    reader.Add(recording);
    FeedFrame frame;
    size_t handled = 0;
    uint32_t lastTime = 0;
    while (reader.Next(frame) == FeedFrameReader::Result::Frame) {
        if (stop && *stop)
            break;
        if (frame.kind == kFeedLiveRecord && frame.payload.size() >= kFeedRecordHeaderBytes && pace) {
            uint32_t t = LoadU32(frame.payload.data() + 6);
            if (lastTime && t > lastTime)
                std::this_thread::sleep_for(std::chrono::milliseconds(std::min<uint32_t>((t - lastTime) * 50 / pace, 2000)));
            lastTime = t;
        }
        HandleFeedFrame(frame);
        ++handled;
    }
    return handled;
}

bool StartRTEngine()
{
    if (!RealTimeOptionOn()) {
        RTEngineState = kEngineStopped;
        return false;
    }
    if (RTEngineState == kEngineRunning && g_threadRunning)
        return true;
    SetStep(kFeedSetup);
    ClearRTSourceTimes();
    if (FeedThread().joinable())
        FeedThread().join();
    RTEngineState = kEngineStarting;
    {
        // The request tables are changed, so no reader may walk them meanwhile.
        ExclusiveLockGuard lock(IntradayStoreLock());
        if (RTDayRecord* day = CurrentRTDay())
            ClearRTRequested(*day);
        if (const auto& shares = TheRTEngineHooks().databaseShares)
            TheRTEngine().requestShares = shares();
        TheRTEngine().requestCursor = 0;
        TheRTStore().newestDaySeen = std::max(TheRTStore().newestDaySeen, TheRTStore().latestDay);
    }
    SetStep(kFeedLocating);
    RTEngineState = kEngineThreadStarting;
    TheRTEngine().running = true;
    if (std::filesystem::exists(AppPath("Demo.dat")))
        LoadPlaybackRT();
    ResetFeedServerInfo();
    ResetFeedFloodCounts();
    g_connectedAt = 0;
    TheFeedTransport().ResetStopEvent();
    g_threadRunning = true;
    // Running before the thread starts: a connection that fails or drops at once ends it again.
    RTEngineState = kEngineRunning;
    // The feed thread connects: a server that is slow to answer, or an address that swallows the
    // connection, never holds the window.
    // Each attempt in a row takes the next server of the settings.
    TheRTEngine().serverAttempt = TheRTReconnect().attempts.load();
    FeedServer server = ChosenFeedServer(TheRTEngine().serverAttempt);
    // "Use priority backfilling": the day of the shares the user watches comes before the rest.
    std::vector<uint32_t> priority;
    if (CurrentRTFeedSettings().priorityBackfill) {
        SharedLockGuard lock(IntradayStoreLock());
        priority = WatchedRTKeys();
    }
    FeedThread() = std::thread(FeedThreadProc, server, std::move(priority));
    ExclusiveLockGuard lock(IntradayStoreLock());
    if (RTDayRecord* current = CurrentRTDay())
        ResetRTDayWork(*current);
    return true;
}

namespace {

// The feed thread gone, the transport disconnected and the day's marks reset; step 0.
void EndRTEngine()
{
    FeedTransport& t = TheFeedTransport();
    // The thread goes before anything of the store may be freed under it.
    if (FeedThread().joinable())
        FeedThread().join();
    t.Disconnect();
    g_threadRunning = false;
    UncoverRestOfDay();
    for (auto& a : TheRTStore().activeShares)
        a->tradeChangeTick = a->quoteChangeTick = 0;
    RTEngineState = kEngineStopped;
    SetStep(kFeedDisconnected);
}

} // namespace

bool RequestRTBackfillDays()
{
    {
        FeedServerInfo& info = TheFeedServerInfo();
        std::lock_guard guard(info.mutex);
        info.daysAnswered = false;
        info.days.clear();
    }
    return RTEngineState == kEngineRunning && SendRequest({}, kRequestBackfillDays) >= 0;
}

bool SendRTBackfillRequest(std::span<const uint8_t> record)
{
    TheFeedServerInfo().abortCurrent = false;
    TheFeedServerInfo().abortAll = false;
    if (record.size() >= 4)
        TheFeedServerInfo().backfillMask = LoadU32(record.data()) ? LoadU32(record.data()) : 0x300;
    return RTEngineState == kEngineRunning && SendRequest(record, kRequestBackfill) >= 0;
}

int WaitFeedActivityEnd(const std::function<void(int ms)>& sleep)
{
    for (int step = 0; step < kActivitySteps; ++step) {
        if (!g_handling && !g_playing && !g_sending)
            return 0;
        sleep(kActivityStepMs);
    }
    return g_handling || g_playing || g_sending ? -1 : 0;
}

bool FeedActive() { return g_handling || g_playing || g_sending; }

bool AbortRTBackfill(bool all)
{
    (all ? TheFeedServerInfo().abortAll : TheFeedServerInfo().abortCurrent) = true;
    const uint8_t which = all ? 1 : 0;
    return RTEngineState == kEngineRunning && SendRequest(std::span(&which, 1), kRequestBackfillAbort) >= 0;
}

bool SendRTAgreement()
{
    AgreementOutbox& outbox = TheAgreementOutbox();
    if (!outbox.toSend || RTEngineState != kEngineRunning || SendRequest(outbox.block, kRequestAgreement) < 0)
        return false;
    outbox.toSend = false;
    return true;
}

bool StopRTEngine()
{
    TheRTReconnect().userStopped = true;
    CancelRTReconnect();
    TheRTEngine().running = false;
    RTEngineState = kEngineStopped;
    FeedTransport& t = TheFeedTransport();
    t.SetStopEvent();
    if (WaitFeedActivityEnd([](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }) < 0)
        OutputDebugText("RT Stop: the feed was still busy");
    t.Close();
    EndRTEngine();
    g_connectedAt = 0;
    return true;
}

bool DisconnectDroppedRTEngine()
{
    TheFeedTransport().Close();
    for (int i = 0; i < 21 && g_threadRunning; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (g_threadRunning) {
        OutputDebugText("RT Disconnect thread timeout");
        return false;
    }
    RTEngineState = kEngineDisconnecting;
    EndRTEngine();
    // A connection that completed its day and stayed up a while starts the pauses again.
    auto since = g_connectedAt.exchange(0);
    bool settled = since && SteadyMs() - since >= kRTConnectionSettledMs;
    ScheduleRTRetryAfterEnd(settled);
    return true;
}

} // namespace qv
