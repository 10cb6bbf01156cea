// "Set or edit alarms for %s (%s)": one share's end-of-day alarms (fixed prices, three rise and three
// fall rows, a stop-loss, directors' dealings, a date and a note) as a share alarm record.
#pragma once

#include "core/PackedDate.h"
#include "tools/alarms/ShareAlarmRecord.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace qv {

class CDateEdit;

class CShareAlarmDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIncreaseOn = 18080, kIncreaseLevel = 18082, kDecreaseOn = 18090, kDecreaseLevel = 18091;
    static constexpr int kRiseOn[3] = {18000, 18020, 18040}, kFallOn[3] = {18010, 18030, 18050};
    static constexpr int kStopOn = 18100, kStopPercent = 18101, kStopCapped = 18102;
    static constexpr int kDateOn = 18110, kNote = 18111, kDealings = 18113, kDefault = 3;

    // `price` and `unit` make the "Current price" line; `today` dates the defaults.
    CShareAlarmDlg(const QString& name, const QString& code, const QString& priceLine, const ShareAlarmRecord& record,
                   PackedDate today, QWidget* parent = nullptr);

    const ShareAlarmRecord& record() const { return record_; }
    // The "Default" button: every alarm off and the default values.
    void SetDefaults();
    // Refuses (and stays open on) a value out of range in an enabled field.
    void accept() override;

private:
    struct Row {
        QCheckBox* on;
        QLineEdit* percent;
        QLineEdit* days;
    };
    void Show(const ShareAlarmRecord& r);
    void Enable();
    bool Read(ShareAlarmRecord& r);

    ShareAlarmRecord record_;
    PackedDate today_;
    QCheckBox *increaseOn_, *decreaseOn_, *stopOn_, *stopCapped_, *dateOn_, *dealings_;
    QLineEdit *increase_, *decrease_, *stopPercent_, *note_;
    Row rises_[3], falls_[3];
    CDateEdit* date_;
};

// Opens the editor for the share (record id and stream); on OK stores its record, or deletes it when
// no alarm is set, sets the alarms-changed flag and refills the alarm portfolios. True on OK.
bool EditShareAlarms(uint16_t shareId, uint8_t stream);

} // namespace qv
