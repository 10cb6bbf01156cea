// The intraday alarm server: the hidden "AlarmServer" window that watches the shares with intraday
// alarms and the global alarm source, tests prices, moves, indicator crosses, timers and drawn lines,
// keeps the alarms triggered today, and logs, sounds and shows them.
#pragma once

#include "platform/MessageDispatch.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/alarms/AlarmMarket.h"
#include "realtime/alarms/IntradayAlarmList.h"
#include "realtime/alarms/RTShareAlarmRecord.h"
#include "realtime/store/RTActiveShares.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace qv {

constexpr uint32_t kMsgAlarmsRaised = 0x455; // WM_USER + 85: the server's own notice of new alarms

// What the server asks of the window layer; each may be empty.
struct AlarmServerUi {
    std::function<bool()> dialogVisible;
    std::function<void()> showDialog;        // shows the triggered-alarms dialog and schedules a refresh
    std::function<void()> dayChanged;        // an open dialog refreshes
    std::function<bool(const std::string& file)> playSound; // false when it cannot play
    std::function<void()> beep;
    std::function<void()> flash;
    std::function<bool()> loading;           // the program's load-in-progress flag
};

class CAlarmServer : public MessageTarget {
public:
    static constexpr uint32_t kStepSharesPerBatch = 40;
    static constexpr uint32_t kSliceMs = 30, kBatchStartMs = 15, kTimerTestsMs = 31;
    static constexpr uint32_t kScanIntervalMs = 2000, kNotifyDelayMs = 1000, kLineIntervalMs = 1000;
    static constexpr uint32_t kTimerPeriodMs = 100;

    explicit CAlarmServer(std::unique_ptr<AlarmMarket> market = nullptr);
    ~CAlarmServer() override;

    const char* title() const { return "AlarmServer"; }
    // Attaches the watch list and subscribes the shares with records (the window's creation).
    void Create();

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // Settings and actions as the options and the global dialog left them (Config()).
    void ApplySettings();
    // One share's record changed (key), or every record (0).
    void OnShareRecordChanged(uint32_t key = 0);
    void RebuildLineAlarms();

    // The per-share price tests: one share, or every share with a record.
    void TestPrices(uint32_t key, bool all);
    // One timer step.
    void TimerStep();
    // The notice of new alarms: dialog, log, sound, flash.
    void Notify();
    void ResetAlarm(size_t position);
    void ResetAll();

    IntradayAlarmList& alarms() { return alarms_; }
    const RTAlarmSettings& settings() const { return settings_; }
    const IntradayAlarmActions& actions() const { return actions_; }
    const std::vector<uint32_t>& watchList() const { return watch_; }
    const std::vector<ShareLine>& lines() const { return lines_; }
    bool timerArmed() const { return timerArmed_; }
    bool scanRunning() const { return scanRunning_; }
    bool passRunning() const { return passRunning_; }
    AlarmMarket& market() { return *market_; }

    AlarmServerUi ui;
    // Where the timer entry lives; the program's queue unless a test gives none (then nothing is armed).
    std::function<void(CAlarmServer&, bool arm)> setTimer;

    // "%d:%2.2d\t%s\t%s\n" of an alarm for the log: local hour and minute of its stamp, share, text.
    static std::string LogLine(const IntradayAlarm& alarm, const std::string& shareName);

private:
    void LoadRecords();
    void Subscribe();
    void RecomputeTimerAlarm();
    void RecomputeStopHighs(uint32_t key);
    void UpdateTimer();
    bool HasWork() const;
    bool Raise(uint32_t key, std::string text, int32_t kind, uint8_t slot, uint32_t timeOfDay,
               const std::array<uint32_t, 4>& line = {});
    bool Started(uint8_t exchange, uint32_t& latest) const;
    void MoveTests(uint32_t key, const std::array<RTAlarmSlot, 6>& moves, int32_t kind);
    void MarkNewData();
    void ScanStep();
    void IndicatorStep(uint32_t stepStart);
    void TimerAlarms();
    void LineAlarms();
    void WriteLog();
    uint32_t Elapsed(uint32_t since) const { return market_->Ticks() - since; }

    std::unique_ptr<AlarmMarket> market_;
    std::recursive_mutex lock_;
    RTAlarmSettings settings_;
    IntradayAlarmActions actions_;
    std::array<RTAlarmSlot, 6> globalSlots_{};
    bool indicatorsOn_ = false, globalOn_ = false;
    std::map<uint32_t, RTShareAlarmRecord> records_;
    RTWatchList watchList_;
    bool watchAttached_ = false;
    std::vector<uint32_t> watch_;            // sorted keys
    std::vector<uint8_t> newData_, scanSet_; // one flag per watched share
    IntradayAlarmList alarms_;
    std::vector<ShareLine> lines_;
    uint32_t nextTimer_ = 0;                 // the earliest armed timer; 0 none
    uint32_t lastDate_ = 0;
    uint16_t updateIndex_ = 0;
    bool scanRunning_ = false;
    size_t scanCursor_ = 0;
    uint32_t lastScanTick_ = 0;
    bool passRunning_ = false, passPending_ = false;
    size_t passCursor_ = 0;
    uint32_t passPeriod_ = 0;
    uint32_t lastLineTick_ = 0;
    uint32_t notifyTick_ = 0;                // 0: no notification pending
    bool inStep_ = false;
    bool timerArmed_ = false;
};

// The program's server while the real-time option created it; null otherwise.
CAlarmServer* TheAlarmServer();
void SetAlarmServer(CAlarmServer* server);

} // namespace qv
