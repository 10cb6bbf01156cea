// The intraday engine's hooks on the user-interface side and the DDE server's intraday feed.
#include "shell/FeedClient.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/PriceStatistics.h"
#include "core/ReadersWriterLock.h"
#include "core/RecordAccess.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "realtime/AgreementPages.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/feed/FeedLimits.h"
#include "realtime/feed/FeedServerInfo.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/feed/RTReconnect.h"
#include "realtime/messaging/MemberMessaging.h"
#include "realtime/store/RTStore.h"
#include "resources/MessageIds.h"
#include "shell/AppServices.h"
#include "shell/FeedLevelPane.h"
#include "shell/FrameDialogSeams.h"
#include "shell/FrameMessages.h"
#include "shell/PortfolioAdd.h"
#include "shell/ViewGroups.h"
#include "views/FrameState.h"

namespace qv {
namespace {

// Messages the engine posts from the feed thread to its window here.
constexpr uint32_t kMsgInstruments = WM_USER + 90;
constexpr uint32_t kMsgStep = WM_USER + 91;
constexpr uint32_t kMsgAgreements = WM_USER + 92;
constexpr uint32_t kMsgFeedEnded = WM_USER + 93;
constexpr uint32_t kMsgFeedLimit = WM_USER + 95;

// A pass over the new instruments waits on the user-interface thread.
std::atomic<bool>& InstrumentsPosted()
{
    static std::atomic<bool> posted{false};
    return posted;
}

// Runs the engine's notices on the user-interface thread.
bool& PurgeCheckDue();
void RunDuePurgeCheck();

class EngineWindow : public MessageTarget {
public:
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t) override
    {
        switch (message) {
        case kMsgInstruments: {
            // The feed thread adds instruments under the exclusive lock; reading takes the shared.
            // One pass serves every definition that came meanwhile.
            InstrumentsPosted().store(false);
            LockRTShared();
            RegisterRTInstrumentExtras();
            UnlockRTShared();
            return 1;
        }
        case kMsgStep:
            CurrentFeedLevels().connectionState = int(wParam);
            // The levels the server reported at log-on are in use once connected.
            CurrentFeedLevels().inUse = int32_t(wParam) >= kFeedConnected && int32_t(wParam) < kFeedConnectionLost
                                            ? TheFeedServerInfo().currentLevels.load()
                                            : 0;
            if (const auto& progress = FeedConnectProgressHook())
                progress(int32_t(wParam));
            if (MessageTarget* frame = MainFrameTarget()) {
                // The London feed; a complete day shows 100 %.
                PostProgramMessage(*frame, MSG_FEED_STATUS, 0, wParam == uintptr_t(kFeedConnected) ? 100 : 0);
                if (wParam == 0)
                    PostProgramMessage(*frame, MSG_FEED_ICON, 0, 0);
            }
            // The connection dropped: the engine ends and, unless the user stopped it, reconnects.
            // A refused log-on (steps 11-14) ends it too, without a reconnect that would be refused again.
            if (IsFeedRefusal(int32_t(wParam)))
                TheRTReconnect().commandStopped = true;
            // Messages posted while disconnected go once the day is complete.
            if (wParam == uintptr_t(kFeedConnected))
                TheMemberMessaging().SendWaiting();
            RunDuePurgeCheck();
            return 1;
        case kMsgFeedEnded: {
            // The feed thread ended by itself (no server, a drop, a refusal, a fault): the engine
            // ends and, unless the user stopped it or the log-on was refused, tries again later.
            if (RTEngineState != kEngineRunning)
                return 1;
            const bool wasConnected = RTConnectionCompleted();
            const int32_t failure = TheRTEngine().failure;
            DisconnectDroppedRTEngine();
            // "Alert me when the intraday feed is disconnected": a connection that was up has gone
            // (an attempt that never got there is no disconnection). One box at a time.
            static bool alerting = false;
            if (wasConnected && !alerting && CurrentRTFeedSettings().disconnectAlert) {
                alerting = true;
                ShowMessage(FeedDisconnectAlertText(failure, TheRTReconnect().scheduled), {}, MsgButtons::Ok,
                            MsgIcon::Exclamation);
                alerting = false;
            }
            return 1;
        }
        case kMsgFeedLimit:
            if (wParam < uintptr_t(FeedLimit::Count))
                ShowMessage(FeedLimitText(FeedLimit(wParam)), {}, MsgButtons::Ok, MsgIcon::Exclamation);
            return 1;
        case kMsgAgreements: {
            // Answers finished while the feed was away go now; the server reported before it had them.
            uint32_t completed = uint32_t(wParam);
            if (SendRTAgreement())
                completed |= kNyseAgreementDone;
            // The agreement wizards the delivery levels need and the server does not report completed,
            // unless one is open already (a reconnect reports the same again).
            if (TheAgreementOutbox().wizardRunning)
                return 1;
            if (MessageTarget* frame = MainFrameTarget())
                for (uint32_t command : AgreementCommands(CurrentRTFeedSettings().deliveryLevels, completed))
                    if (command == kCommandNasdaqAgreement || FindCommandDialog(command))
                        PostProgramMessage(*frame, WM_COMMAND, command);
            return 1;
        }
        case kMsgRTReconnect:
            RunRTReconnect();
            return 1;
        case kMsgRTNewDay:
            UpdateAllViewGroups(-1, false, nullptr, true, false);
            InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
            if (MessageTarget* frame = MainFrameTarget())
                PostProgramMessage(*frame, kMsgRTNewDay);
            PurgeCheckDue() = true;
            RunDuePurgeCheck();
            return 1;
        default: return 0;
        }
    }
};

// A new day's purge (or its reminder) waits for the day's catch-up to end: the purge dialog refuses
// to open while one runs, and the catch-up is what brings the new day.
bool& PurgeCheckDue()
{
    static bool due = false;
    return due;
}

void RunDuePurgeCheck()
{
    if (!PurgeCheckDue() || RTConnectionStep() >= kFeedBackfilling)
        return;
    PurgeCheckDue() = false;
    if (const auto& newDay = FrameDialogs().newTradingDay)
        newDay();
}

EngineWindow& Engine()
{
    static EngineWindow window;
    return window;
}

float LastClose(uint16_t share)
{
    uint8_t* record = FindShareRecord(share);
    const uint8_t* sub = record ? GetSubRecord(RecordCursor{record, 0}, 0) : nullptr;
    return sub ? ReadStreamStatistics(sub).lastClose : 0.0f;
}

std::vector<uint16_t> DatabaseShares()
{
    std::vector<uint16_t> ids;
    for (uint32_t id = 0x4000; id <= 0x7FFF; ++id)
        if (FindShareRecord(uint16_t(id)))
            ids.push_back(uint16_t(id));
    return ids;
}

bool RealTimeOn() { return Config().optionsA.data()[OptionBlockA::kRealTimeOption] != 0; }

ShareRef RefOf(uint32_t key) { return ShareRef{nullptr, uint8_t(key >> 16), RTKeyShare(key)}; }

} // namespace

std::string FeedDisconnectAlertText(int32_t failure, bool retrying)
{
    const char* reason = FeedFailureText(failure);
    std::string text = "The intraday feed has been disconnected.\n\n";
    text += *reason ? reason : FeedStepText(kFeedConnectionLost);
    if (retrying)
        text += "\n\nQuorvantis will connect again as soon as it can.";
    return text;
}

std::function<void(int32_t)>& FeedConnectProgressHook()
{
    static std::function<void(int32_t)> hook;
    return hook;
}

DdeRTFeed& TheDdeRTFeed()
{
    static DdeRTFeed feed;
    return feed;
}

DdeRTFeed::~DdeRTFeed() = default;

int DdeRTFeed::connectionState() const { return RTConnectionStep(); }

std::optional<uint32_t> DdeRTFeed::changeMarks(uint32_t shareKey)
{
    LockRTShared();
    RTActiveShare* a = FindRTActiveShare(shareKey);
    std::optional<uint32_t> marks;
    if (a)
        marks = a->changeFlags;
    UnlockRTShared();
    return marks;
}

void DdeRTFeed::clearChangeMarks(uint32_t shareKey)
{
    LockRTExclusive();
    if (RTActiveShare* a = FindRTActiveShare(shareKey))
        a->changeFlags = 0;
    UnlockRTExclusive();
}

int DdeRTFeed::decodeColumnFlags(uint8_t field, uint32_t marks)
{
    uint32_t first = 0, second = 0;
    DecodeIntradayColumnFlags(field, marks, first, second);
    return int(first | second);
}

DdeValue DdeRTFeed::columnValue(uint32_t shareKey, uint8_t field, uint32_t qualifier)
{
    DdeValue v;
    double value = 0;
    LockRTShared();
    int type = GetRTColumnValue(0, value, RefOf(shareKey), field, qualifier);
    UnlockRTShared();
    switch (type) {
    case kRTValuePrice: v.type = kDdeFloat; break;
    case kRTValueNumber:
    case kRTValueInteger: v.type = kDdeNumber; break;
    case kRTValueTime: v.type = kDdeTime; break;
    default: return v;
    }
    v.number = value;
    return v;
}

void DdeRTFeed::attachTarget(uint64_t targetId) { target_ = targetId; }

void DdeRTFeed::setWatchList(const std::vector<uint32_t>& shareKeys)
{
    static RTWatchList list;
    if (!RTStoreExists() || !RealTimeOn())
        return;
    if (!listMade_) {
        InitRTWatchList(this, target_, list);
        listMade_ = true;
    }
    list.targetId = target_;
    BeginRTWatchListUpdate(list, true);
    for (uint32_t key : shareKeys)
        AddRTWatchShare(RefOf(key), list);
    EndRTWatchListUpdate(list);
}

void InstallFeedClient()
{
    RTEngineHooks& h = TheRTEngineHooks();
    h.postToMainWindow = [](uint32_t m) { PostProgramMessage(Engine(), m); };
    h.refreshViews = nullptr; // the new-day notice refreshes them on the user-interface thread
    h.previousClose = LastClose;
    h.databaseShares = DatabaseShares;
    h.instrumentsChanged = [] {
        if (!InstrumentsPosted().exchange(true))
            PostProgramMessage(Engine(), kMsgInstruments);
    };
    h.stepChanged = [](int32_t step) { PostProgramMessage(Engine(), kMsgStep, uintptr_t(step)); };
    h.agreementsReported = [](uint32_t completed) { PostProgramMessage(Engine(), kMsgAgreements, completed); };
    h.feedEnded = [] { PostProgramMessage(Engine(), kMsgFeedEnded); };
    FeedLimitHook() = [](FeedLimit kind) { PostProgramMessage(Engine(), kMsgFeedLimit, uintptr_t(kind)); };
    SetFeedStateQuery([] { return int32_t(RTConnectionStep()); });
    MemberMessagingHooks& messaging = TheMemberMessagingHooks();
    messaging.messageArrived = [] {
        if (MessageTarget* frame = MainFrameTarget())
            PostProgramMessage(*frame, MSG_INCOMING_MESSAGE);
    };
    messaging.nicknameInUse = [] {
        if (MessageTarget* frame = MainFrameTarget())
            PostProgramMessage(*frame, MSG_NICKNAME_CHECK);
    };
    FrameDialogs().startFeed = [] {
        ClearRTStoppingFlags();
        TheRTReconnect().attempts = 0;
        TheRTEngine().failure = 0;
        SetRTConnectionState(kFeedConnecting);
        if (StartRTEngine())
            return true;
        RTEngineState = kEngineStopped;
        return false;
    };
    // The user asks for it: a disconnect of theirs no longer holds the reconnect back.
    FrameDialogs().scheduleReconnect = [] {
        ClearRTStoppingFlags();
        ScheduleRTReconnect(kRTReconnectAfterDropMs);
    };
    FrameDialogs().stopFeed = [] { StopRTEngine(); };
    // As at start-up, the feed's instruments are extra items only with the real-time option.
    AfterLoad().intradayLinks = [] {
        if (!RealTimeOn())
            return;
        LockRTShared();
        RegisterRTInstrumentExtras();
        UnlockRTShared();
    };
}

} // namespace qv
