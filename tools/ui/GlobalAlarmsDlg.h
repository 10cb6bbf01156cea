// "Set or edit global alarm settings": the six move rows every share is tested against.
#pragma once

#include "portfolio/AlarmPortfolios.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLineEdit;

namespace qv {

class CGlobalAlarmsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRiseOn[3] = {18000, 18020, 18040}, kFallOn[3] = {18010, 18030, 18050}, kDefault = 3;
    // The rows kept in single bytes: what the user enters within these comes back as entered.
    static constexpr int kRisePercentMost = 255, kFallPercentMost = 99;
    static constexpr int kRiseDaysMost = 255, kFallDaysMost[3] = {200, 200, 255};

    // `rows`: three rises, then three falls (as the alarm portfolios take them).
    explicit CGlobalAlarmsDlg(const std::vector<MoveCriterion>& rows, QWidget* parent = nullptr);

    const std::vector<MoveCriterion>& rows() const { return rows_; }
    void SetDefaults();
    void accept() override;

private:
    struct Row {
        QCheckBox* on;
        QLineEdit* percent;
        QLineEdit* days;
    };
    void Show(const std::vector<MoveCriterion>& rows);
    void Enable();

    std::vector<MoveCriterion> rows_;
    Row rows6_[6];
};

// Opens the dialog on the global rows; on OK stores them, sets the global-alarms-changed flag and
// refills "Alarms - Global". True on OK.
bool EditGlobalAlarms();

} // namespace qv
