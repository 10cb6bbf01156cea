// "Define the default range" of the intraday chart: a limited range of so many minutes, or none.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace qv {

// The minutes a limited range may span.
constexpr int kRangeMinutesMin = 5;
constexpr int kRangeMinutesMax = 86400;
inline bool RangeMinutesValid(int minutes) { return minutes >= kRangeMinutesMin && minutes <= kRangeMinutesMax; }

class CIntradayRangeDlg : public QDialog {
public:
    explicit CIntradayRangeDlg(int minutes = 60, QWidget* parent = nullptr);
    bool Limited() const;
    int Minutes() const;
    // A minutes value outside 5..86400 with the box ticked is refused and the dialog stays open.
    void accept() override;

private:
    QCheckBox* limited_ = nullptr;
    QLineEdit* minutes_ = nullptr;
};

} // namespace qv
