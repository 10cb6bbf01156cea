// The intraday alarm server's tests, steps and notification.
#include "realtime/alarms/AlarmServer.h"

#include "news/NewsRealTime.h"
#include "platform/DebugOutput.h"
#include "realtime/TimerQueue.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTShareTable.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <ctime>

namespace qv {
namespace {

CAlarmServer*& ServerPointer()
{
    static CAlarmServer* server = nullptr;
    return server;
}

constexpr uint32_t kMsgRebuildLines = 0x456;

uint8_t ExchangeOf(uint32_t key) { return uint8_t(key >> 16); }

void ProgramTimer(CAlarmServer& server, bool arm)
{
    if (arm)
        TimerQueue().AddMessage(server, CAlarmServer::kTimerPeriodMs);
    else
        TimerQueue().RemoveMessage(server);
}

} // namespace

CAlarmServer* TheAlarmServer() { return ServerPointer(); }
void SetAlarmServer(CAlarmServer* server) { ServerPointer() = server; }

CAlarmServer::CAlarmServer(std::unique_ptr<AlarmMarket> market)
    : market_(market ? std::move(market) : std::make_unique<AlarmMarket>())
{
    setTimer = ProgramTimer;
    lastDate_ = market_->Today();
}

CAlarmServer::~CAlarmServer()
{
    if (timerArmed_ && setTimer)
        setTimer(*this, false);
    if (watchAttached_)
        FreeRTWatchList(watchList_);
}

void CAlarmServer::Create()
{
    InitRTWatchList(this, targetId(), watchList_);
    watchAttached_ = true;
    LoadRecords();
    Subscribe();
    RebuildLineAlarms();
    ApplySettings();
}

intptr_t CAlarmServer::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case kMsgRTNewData: TestPrices(uint32_t(wParam), lParam != 0 || wParam == 0); return 0;
    case kWindowTimerMessage: TimerStep(); return 0;
    case kMsgAlarmsRaised: Notify(); return 0;
    case kMsgRebuildLines: RebuildLineAlarms(); return 0;
    default: return 0;
    }
}

void CAlarmServer::ApplySettings()
{
    std::lock_guard guard(lock_);
    settings_ = RTAlarmSettings::Current();
    actions_ = RTAlarmSettings::Actions();
    globalOn_ = false;
    for (size_t i = 0; i < globalSlots_.size(); ++i) {
        globalSlots_[i] = RTAlarmSlot::Read(settings_.moves[i]);
        globalOn_ = globalOn_ || globalSlots_[i].on;
    }
    indicatorsOn_ = AnyIndicatorTestOn(settings_);
    const RTAlarmSettings before = settings_;
    watch_ = market_->SourceShares(settings_);
    if (!(settings_ == before))
        settings_.Store(); // the portfolio is gone: the source fell back to the whole list
    std::sort(watch_.begin(), watch_.end());
    watch_.erase(std::unique(watch_.begin(), watch_.end()), watch_.end());
    newData_.assign(watch_.size(), 1);
    scanSet_.assign(watch_.size(), 0);
    scanRunning_ = false;
    passRunning_ = false;
    passPending_ = indicatorsOn_;
    UpdateTimer();
}

void CAlarmServer::LoadRecords()
{
    records_.clear();
    std::vector<uint32_t> news;
    for (uint32_t key : ShareAlarmKeys()) {
        auto record = LoadShareAlarmRecord(RTKeyShare(key), ExchangeOf(key));
        if (!record)
            continue;
        if (record->newsOn)
            news.push_back(key);
        records_[key] = std::move(*record);
    }
    SetRealTimeNewsTable(std::move(news));
    RecomputeTimerAlarm();
}

void CAlarmServer::Subscribe()
{
    if (!watchAttached_)
        return;
    BeginRTWatchListUpdate(watchList_, true);
    for (const auto& entry : records_)
        AddRTWatchShare(ShareRef{nullptr, ExchangeOf(entry.first), RTKeyShare(entry.first)}, watchList_);
    EndRTWatchListUpdate(watchList_);
}

void CAlarmServer::OnShareRecordChanged(uint32_t key)
{
    {
        std::lock_guard guard(lock_);
        LoadRecords();
        Subscribe();
        RecomputeStopHighs(key);
        UpdateTimer();
    }
    PostProgramMessage(*this, kMsgRTNewData, 0, 1);
}

void CAlarmServer::RebuildLineAlarms()
{
    std::lock_guard guard(lock_);
    lines_.clear();
    market_->Lines(lines_);
    UpdateTimer();
}

void CAlarmServer::RecomputeTimerAlarm()
{
    nextTimer_ = 0;
    for (const auto& entry : records_)
        if (entry.second.timerOn && (nextTimer_ == 0 || entry.second.timerTime < nextTimer_))
            nextTimer_ = std::max<uint32_t>(entry.second.timerTime, 1);
}

void CAlarmServer::RecomputeStopHighs(uint32_t key)
{
    for (auto& [k, record] : records_) {
        if ((key && k != key) || !record.stopOn)
            continue;
        const float high = market_->HighSince(k, record.stopFrom);
        if (high > 0 && high != record.stopHigh) {
            record.stopHigh = high;
            StoreShareAlarmRecord(RTKeyShare(k), ExchangeOf(k), record);
        }
    }
}

bool CAlarmServer::HasWork() const
{
    return indicatorsOn_ || nextTimer_ != 0 || !lines_.empty() || globalOn_ || notifyTick_ != 0;
}

void CAlarmServer::UpdateTimer()
{
    const bool want = HasWork();
    if (want == timerArmed_)
        return;
    timerArmed_ = want;
    if (setTimer)
        setTimer(*this, want);
}

bool CAlarmServer::Started(uint8_t exchange, uint32_t& latest) const
{
    latest = market_->LatestTime(exchange);
    return latest >= market_->OpenTime(exchange) + actions_.startDelay;
}

bool CAlarmServer::Raise(uint32_t key, std::string text, int32_t kind, uint8_t slot, uint32_t timeOfDay,
                         const std::array<uint32_t, 4>& line)
{
    IntradayAlarm alarm;
    alarm.key = key;
    alarm.stamp = market_->Now();
    alarm.timeOfDay = timeOfDay;
    alarm.text = std::move(text);
    alarm.kind = kind;
    alarm.slot = slot;
    alarm.line = line;
    const AlarmLimit limit{actions_.limit, actions_.minutes, market_->LatestTime(ExchangeOf(key))};
    if (!alarms_.Raise(std::move(alarm), limit))
        return false;
    if (notifyTick_ == 0) {
        notifyTick_ = market_->Ticks();
        if (notifyTick_ == 0)
            notifyTick_ = 1;
    }
    UpdateTimer();
    return true;
}

void CAlarmServer::TestPrices(uint32_t key, bool all)
{
    std::lock_guard guard(lock_);
    for (const auto& [k, record] : records_) {
        if (!all && k != key)
            continue;
        uint32_t latest = 0;
        if (!Started(ExchangeOf(k), latest))
            continue;
        const float price = market_->LatestPrice(k);
        if (!(price > 0))
            continue;
        if (record.AnySlotOn())
            MoveTests(k, record.moves, kAlarmShareMove);
        const std::string at = AlarmTimeText(latest, market_->ZoneLabel(ExchangeOf(k)));
        for (PriceAlarm& alarm : LevelAlarms(record, price, market_->TodayHigh(k), at))
            Raise(k, std::move(alarm.text), alarm.kind, 0, latest);
    }
}

void CAlarmServer::MoveTests(uint32_t key, const std::array<RTAlarmSlot, 6>& moves, int32_t kind)
{
    uint32_t latest = 0;
    if (!Started(ExchangeOf(key), latest))
        return;
    const float price = market_->LatestPrice(key);
    const std::string at = " at " + AlarmTimeText(latest, market_->ZoneLabel(ExchangeOf(key)));
    auto test = [&](size_t i, float reference) {
        if (auto text = MoveAlarmText(moves[i], price, reference))
            Raise(key, *text + at, kind, uint8_t(i), latest);
    };
    const float open = market_->OpenPrice(key);
    for (size_t i = 0; i < moves.size(); ++i)
        if (moves[i].on && moves[i].kind == kIntervalSinceOpen && open > 0)
            test(i, open);
    std::vector<AlarmQuote> quotes;
    bool decoded = false;
    for (size_t i = 0; i < moves.size(); ++i) {
        if (!moves[i].on || (moves[i].kind != kIntervalMinutes && moves[i].kind != kIntervalHours))
            continue;
        if (!decoded) {
            quotes = market_->Quotes(key);
            decoded = true;
        }
        test(i, QuoteReference(quotes, SlotTargetTime(moves[i], latest)));
    }
    for (size_t i = 0; i < moves.size(); ++i) {
        if (!moves[i].on || (moves[i].kind != kIntervalSinceClose && moves[i].kind != kIntervalDays))
            continue;
        const int days = moves[i].kind == kIntervalSinceClose ? 1 : std::max<int>(moves[i].count, 1);
        test(i, market_->CloseDaysBack(key, days));
    }
}

void CAlarmServer::TimerStep()
{
    if (inStep_)
        return;
    const int32_t step = market_->ConnectionStep();
    if (step != 7 && step != 8)
        return;
    std::lock_guard guard(lock_);
    inStep_ = true;
    const uint32_t stepStart = market_->Ticks();
    const uint32_t today = market_->Today();
    if (today != lastDate_) {
        alarms_.Clear();
        lastDate_ = today;
        if (ui.dayChanged)
            ui.dayChanged();
    }
    MarkNewData();
    if (!globalOn_) {
        scanRunning_ = false;
    } else {
        if (!scanRunning_ && Elapsed(lastScanTick_) > kScanIntervalMs) {
            std::swap(newData_, scanSet_);
            std::fill(newData_.begin(), newData_.end(), 0);
            scanRunning_ = true;
            scanCursor_ = 0;
            lastScanTick_ = market_->Ticks();
        }
        if (scanRunning_)
            ScanStep();
    }
    if (indicatorsOn_) {
        const uint32_t period = market_->Ticks() / 300000;
        if (!passRunning_ && (passPending_ || (period != 0 && period != passPeriod_))) {
            passRunning_ = true;
            passPending_ = false;
            passCursor_ = 0;
            passPeriod_ = period;
        }
        if (passRunning_)
            IndicatorStep(stepStart);
    }
    if (Elapsed(stepStart) < kTimerTestsMs) {
        TimerAlarms();
        LineAlarms();
    }
    if (notifyTick_ != 0 && Elapsed(notifyTick_) > kNotifyDelayMs) {
        notifyTick_ = 0;
        PostProgramMessage(*this, kMsgAlarmsRaised);
    }
    UpdateTimer();
    inStep_ = false;
}

void CAlarmServer::MarkNewData()
{
    for (uint32_t key : market_->UpdatesSince(updateIndex_)) {
        auto at = std::lower_bound(watch_.begin(), watch_.end(), key);
        if (at != watch_.end() && *at == key)
            newData_[size_t(at - watch_.begin())] = 1;
    }
}

void CAlarmServer::ScanStep()
{
    uint32_t handled = 0;
    while (scanCursor_ < watch_.size() && handled < kStepSharesPerBatch) {
        const size_t i = scanCursor_++;
        if (!scanSet_[i])
            continue;
        scanSet_[i] = 0;
        ++handled;
        MoveTests(watch_[i], globalSlots_, kAlarmGlobalMove);
    }
    if (scanCursor_ >= watch_.size())
        scanRunning_ = false;
}

void CAlarmServer::IndicatorStep(uint32_t stepStart)
{
    const int32_t barLength = std::max<int32_t>(settings_.barMinutes, 1) * 60;
    std::vector<AlarmBar> bars;
    bool first = true;
    while (passCursor_ < watch_.size() && (first || Elapsed(stepStart) < kBatchStartMs)) {
        first = false;
        for (uint32_t n = 0; n < kStepSharesPerBatch && passCursor_ < watch_.size(); ++n) {
            if (Elapsed(stepStart) >= kSliceMs)
                return;
            const uint32_t key = watch_[passCursor_++];
            uint32_t latest = 0;
            if (!Started(ExchangeOf(key), latest))
                continue;
            const int32_t start = int32_t(market_->OpenTime(ExchangeOf(key)) + actions_.startDelay);
            int32_t firstTime = 0;
            if (!market_->Bars(key, barLength, start, int32_t(latest), bars, firstTime))
                continue;
            const BarSeries series{bars, firstTime, barLength, start};
            for (IndicatorCross& cross : FindIndicatorCrosses(series, settings_, market_->ZoneLabel(ExchangeOf(key))))
                Raise(key, std::move(cross.text), cross.kind, 0, cross.time);
        }
    }
    if (passCursor_ >= watch_.size())
        passRunning_ = false;
}

void CAlarmServer::TimerAlarms()
{
    const uint32_t now = market_->Now();
    if (nextTimer_ == 0 || now < nextTimer_)
        return;
    for (auto& [key, record] : records_) {
        if (!record.timerOn || record.timerTime > now)
            continue;
        Raise(key, "timer alarm", kAlarmTimer, 0, market_->LatestTime(ExchangeOf(key)));
        record.timerOn = false;
        StoreShareAlarmRecord(RTKeyShare(key), ExchangeOf(key), record);
    }
    RecomputeTimerAlarm();
}

void CAlarmServer::LineAlarms()
{
    if (lines_.empty() || Elapsed(lastLineTick_) < kLineIntervalMs)
        return;
    lastLineTick_ = market_->Ticks();
    for (const ShareLine& l : lines_) {
        const float price = market_->LatestPrice(l.key);
        const uint32_t latest = market_->LatestTime(ExchangeOf(l.key));
        if (!(price > 0))
            continue;
        const auto when = LineCrossTime(l.line, price, latest, latest);
        if (!when)
            continue;
        const std::array<uint32_t, 4> ends{l.line.time1, std::bit_cast<uint32_t>(l.line.price1), l.line.time2,
                                           std::bit_cast<uint32_t>(l.line.price2)};
        Raise(l.key, LineCrossText(l.line, *when, market_->ZoneLabel(ExchangeOf(l.key))), kAlarmLine, 0, *when, ends);
    }
}

void CAlarmServer::Notify()
{
    std::lock_guard guard(lock_);
    if (alarms_.empty() || (ui.loading && ui.loading()))
        return;
    if ((actions_.showDialog || (ui.dialogVisible && ui.dialogVisible())) && ui.showDialog)
        ui.showDialog();
    if (actions_.log)
        WriteLog();
    if (actions_.audio) {
        const bool played = actions_.wave && ui.playSound && ui.playSound(actions_.soundFile);
        if (!played && ui.beep)
            ui.beep();
    }
    if (actions_.flash && ui.flash)
        ui.flash();
}

std::string CAlarmServer::LogLine(const IntradayAlarm& alarm, const std::string& shareName)
{
    const std::time_t stamp = std::time_t(alarm.stamp);
    std::tm local{};
    localtime_r(&stamp, &local);
    char head[16];
    std::snprintf(head, sizeof head, "%d:%2.2d", local.tm_hour, local.tm_min);
    return std::string(head) + "\t" + shareName + "\t" + alarm.text + "\n";
}

void CAlarmServer::WriteLog()
{
    std::FILE* file = std::fopen(actions_.logFile.c_str(), "a");
    if (!file) {
        OutputDebugText("Error opening intraday alarms log file\n");
        return;
    }
    // The list runs newest first: the log takes the alarms in the order they happened.
    for (auto it = alarms_.alarms().rbegin(); it != alarms_.alarms().rend(); ++it) {
        if (it->logged)
            continue;
        const std::string line = LogLine(*it, market_->ShareName(it->key));
        if (std::fputs(line.c_str(), file) < 0) {
            OutputDebugText("Error writing to intraday alarms log file\n");
            break;
        }
        it->logged = true;
    }
    std::fclose(file);
}

void CAlarmServer::ResetAlarm(size_t position)
{
    {
        std::lock_guard guard(lock_);
        alarms_.Remove(position);
    }
    TestPrices(0, true);
}

void CAlarmServer::ResetAll()
{
    {
        std::lock_guard guard(lock_);
        alarms_.Clear();
    }
    TestPrices(0, true);
}

} // namespace qv
