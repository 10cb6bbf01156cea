// The stop-loss dialogs: "Change the Global Stop-Loss settings" for daily charts and "Intraday Global
// Stop-Loss settings" for intraday charts, each in global mode (the program-wide record and mask of the
// kind) or individual mode (the shown share's own record and the individual-line mask).
#pragma once

#include "chartmodel/StopLossSettings.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

struct RecordCursor;
class CDateEdit;
class CStyleButton;
class CTimeEdit;

struct StopLossContext {
    bool intraday = false;
    bool individual = false;
    StopShareKey share;
    int setting = 0;                 // the view's graph setting index
    uint32_t background = 0xFFFFFF;
    PackedDate latestTradingDate = 0;
    PackedDate today = 0;
    int feedState = 0;               // the real-time feed's connection state
    std::string zoneName = "GMT";    // individual mode: the market's zone for the start date
    uint32_t resetTime = 0;          // "Reset start date/time to now": the start time it sets
    std::function<void()> notify;
    // "Select Settings": from the mask shown to the mask chosen; none keeps the mask.
    std::function<bool(int setting, uint16_t& mask)> selectSettings;
};

// The intraday dialog's clock for "Reset start date/time to now" and the zone label: a share's own
// market opens its day and names its zone (for the record's start date); the global settings run on
// GMT, from the first market's open moved to GMT for today. `entry` is the view's current share.
void SetIntradayStopTimes(StopLossContext& context, const RecordCursor* entry);

class CStopLossDlg : public QDialog {
    Q_OBJECT
public:
    CStopLossDlg(const StopLossContext& context, QWidget* parent = nullptr);
    ~CStopLossDlg() override;

    // Reads the fields into the record and stores it with the mask (Preview and OK).
    void Apply();
    void Delete();
    void DeleteAll();
    void SelectSettings();
    // Leaving the percentage field.
    void CheckPercent();
    void ResetToNow();

    uint16_t mask() const { return mask_; }
    const StopRecord& record() const { return record_; }
    QString applyText() const;

    void accept() override;
    void reject() override;

private:
    void ShowRecord();
    void UpdateTitle();
    void UpdateEnabling();
    void ShowMask();

    StopLossContext context_;
    StopRecord record_;
    bool isNew_ = false;
    uint16_t mask_ = 0;
    // For Cancel.
    std::optional<StopRecord> shareBefore_;
    StopRecord globalBefore_;
    uint16_t maskBefore_ = 0;
    uint32_t penBefore_ = 0;

    QLineEdit* percent_;
    CDateEdit* date_;
    CStyleButton* pen_;
    QCheckBox* moveBoth_;
    QCheckBox* startAtDate_;
    QRadioButton* stopLoss_;
    QRadioButton* stopGain_;
    QLabel* applyTo_;
    QPushButton* delete_ = nullptr;
    QPushButton* deleteAll_ = nullptr;
    // Intraday only.
    QCheckBox* startTime_ = nullptr;
    CTimeEdit* time_ = nullptr;
    QLabel* zone_ = nullptr;
    std::array<QRadioButton*, 3> basis_{};
    QPushButton* reset_ = nullptr;
};

} // namespace qv
