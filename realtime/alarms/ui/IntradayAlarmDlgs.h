// The intraday alarm dialogs: the modeless "Intraday triggered alarms" list, the review list of the
// shares' alarms, the per-share editor, the global editor and the interval chooser.
#pragma once

#include "platform/MessageDispatch.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/TimerQueue.h"
#include "realtime/alarms/RTShareAlarmRecord.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace qv {

class CAlarmServer;
struct IntradayAlarm;

// The list line of a triggered alarm: local time, share, text, then "global alarm" for the global and
// indicator kinds, or the share's note when it has one.
std::string TriggeredAlarmLine(const IntradayAlarm& alarm, const std::string& shareName, const std::string& note);
// The review lines of one share's record ("Increase to %g", "Decrease 5.00% since open" ...).
std::vector<std::string> ReviewAlarmLines(const RTShareAlarmRecord& record);

class CAlarmIntervalDlg : public QDialog {
    Q_OBJECT
public:
    CAlarmIntervalDlg(const RTAlarmSlot& slot, QWidget* parent = nullptr);
    const RTAlarmSlot& slot() const { return slot_; }
    void accept() override;

private:
    void Enable();
    RTAlarmSlot slot_;
    std::array<QRadioButton*, 5> kinds_{};
    QSpinBox* minutes_;
    QSpinBox* hours_;
    QSpinBox* days_;
};

// Three increase and three decrease rows: check, percentage, interval button.
class AlarmMoveRows : public QWidget {
    Q_OBJECT
public:
    AlarmMoveRows(float maxIncrease, QWidget* parent);
    void Set(const std::array<RTAlarmSlot, 6>& moves);
    // False (after "Invalid percentage value") when a percentage field is bad.
    bool Get(std::array<RTAlarmSlot, 6>& moves) const;

private:
    std::array<RTAlarmSlot, 6> moves_{};
    std::array<QCheckBox*, 6> checks_{};
    std::array<QLineEdit*, 6> percents_{};
    std::array<QPushButton*, 6> intervals_{};
    float maxIncrease_;
};

class CShareRTAlarmsDlg : public QDialog {
    Q_OBJECT
public:
    CShareRTAlarmsDlg(uint16_t share, uint8_t exchange, QWidget* parent = nullptr);
    void accept() override;
    void SetRecord(const RTShareAlarmRecord& record);

private:
    uint16_t share_;
    uint8_t exchange_;
    RTShareAlarmRecord record_;
    AlarmMoveRows* moves_;
    QCheckBox *aboveOn_, *belowOn_, *stopOn_, *timerOn_, *newsOn_;
    QLineEdit *above_, *below_, *stop_, *note_;
    QDateTimeEdit *stopFrom_, *timer_;
};

class CGlobalIntradayAlarmsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CGlobalIntradayAlarmsDlg(const RTAlarmSettings& settings, QWidget* parent = nullptr);
    const RTAlarmSettings& settings() const { return settings_; }
    void accept() override;
    void Set(const RTAlarmSettings& settings);
    QTabWidget* tabs() const { return tabs_; }

private:
    RTAlarmSettings settings_;
    QTabWidget* tabs_;
    QRadioButton *sourceShares_, *sourceFtse_, *sourceOther_;
    QComboBox* portfolios_;
    AlarmMoveRows* moves_;
    QSpinBox *shortCount_, *longCount_;
    QComboBox *shortType_, *longType_;
    QCheckBox *golden_, *dead_;
    QLineEdit* trigger_;
    QCheckBox* macdOn_;
    QSpinBox *macdShort_, *macdLong_, *macdSignal_;
    QCheckBox* rsiOn_;
    QSpinBox *rsiCount_, *rsiHigh_, *rsiLow_;
    QComboBox* rsiSmoothing_;
    QCheckBox *stochCrosses_, *stochLevels_;
    QSpinBox *stochCount_, *stochHigh_, *stochLow_, *stochSlowing_, *stochSignal_;
    QComboBox* stochType_;
    QCheckBox* limit_;
    QSpinBox* minutes_;
};

class CReviewShareAlarmsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CReviewShareAlarmsDlg(QWidget* parent = nullptr);
    void Fill();
    QListWidget* list() const { return list_; }
    void OnCommand(uint32_t command);
    std::function<bool(uint16_t share, uint8_t exchange)> editShare;

private:
    QListWidget* list_;
    std::vector<uint32_t> keys_; // per line
};

// The list fills in passes on the timer queue's window timer message, so that a long list never holds
// the program up: a pass inserts the alarms not yet listed until its 30 ms are up (or, from an empty
// list, 50 lines are in) and schedules the next.
class CIntradayAlarmsDlg : public QDialog, public MessageTarget {
    Q_OBJECT
public:
    explicit CIntradayAlarmsDlg(CAlarmServer& server, QWidget* parent = nullptr);
    ~CIntradayAlarmsDlg() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // Empties the list and lists every alarm anew from a pass 200 ms later; " No alarms" at once for
    // an empty list.
    void Reset();
    // A pass after the interval, or, when negative, 1000 ms (2000 once a pass ran); none while one waits.
    void ScheduleRefresh(int32_t intervalMs);
    // One pass; true when every alarm is listed.
    bool RefreshPass();
    bool refreshPending() const { return refreshPending_; }
    QListWidget* list() const { return list_; }
    void OnCommand(uint32_t command);
    std::function<bool(uint16_t share, uint8_t exchange)> editShare;
    std::function<bool()> editGlobal;
    // The millisecond clock the passes time themselves by.
    std::function<uint32_t()> ticks = SteadyTickCount;

private:
    void EnableResets();
    void ShowLogFile();
    // The position in the server's list of the alarm on a line.
    std::optional<size_t> AlarmAtRow(int row) const;
    CAlarmServer& server_;
    QListWidget* list_;
    QPushButton *reset_, *resetAll_;
    bool refreshPending_ = false;
    bool passRan_ = false;
};

// The modal editors as the commands run them; true on OK.
bool EditShareRTAlarms(uint16_t share, uint8_t exchange, QWidget* parent);
bool EditGlobalIntradayAlarms(QWidget* parent);
bool ReviewShareRTAlarms(QWidget* parent);
// Shows the program's triggered-alarms dialog (modeless), creating it on first use.
void ShowIntradayAlarms(QWidget* parent, bool focus);
bool IntradayAlarmsVisible();
void RefreshIntradayAlarms();
// Creates the program's alarm server with its window-layer hooks, and frees it.
void CreateIntradayAlarmServer();
void DestroyIntradayAlarmServer();
// Installs the server's start-up steps and the commands 26849-26851.
void InstallIntradayAlarms();

} // namespace qv
