// "Edit share price": one day's open, high, low, close and volume beside the values the database
// gave, for the chart's price-edit mode.
#pragma once

#include "chartmodel/EodPriceEdit.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace qv {

class CEditDayPriceDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOpen = 4037, kHigh = 4038, kLow = 4039, kClose = 4040, kVolume = 4041;
    static constexpr int kDate = 4047, kStatus = 4049, kReset = 4069, kResetAll = 4092;
    static constexpr int kSaved = 4122, kTemporary = 4123;

    CEditDayPriceDlg(const DayPriceEdit& edit, QWidget* parent = nullptr);
    void accept() override;
    const DayPriceEdit& edit() const { return edit_; }
    DayPriceAnswer answer() const { return answer_; }
    QLineEdit* field(int id) const;
    QRadioButton* temporaryButton() const { return temporary_; }
    void Reset();
    void ResetAll();

private:
    DayPriceEdit edit_;
    DayPriceAnswer answer_ = DayPriceAnswer::Cancel;
    QLineEdit* fields_[5];
    QRadioButton* saved_;
    QRadioButton* temporary_;
};

// Runs the dialog on the day; what the user chose.
DayPriceAnswer RunEditDayPrice(DayPriceEdit& edit);

} // namespace qv
