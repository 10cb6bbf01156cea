// The defer dialog behind a document window's Later...: when the document should come back, in a
// basic form (tomorrow or finished) and an advanced one, the last choice and form remembered.
#pragma once

#include "infocentre/InCDocLayout.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimeEdit;
class QWidget;

namespace qv {

// The remembered word in the program's settings: the choice in the low byte, 0x100 advanced.
uint16_t RememberedDeferWord();
void RememberDeferWord(uint16_t word);

class CInCDeferDlg : public QDialog {
    Q_OBJECT
public:
    // `now` is the time the defaults are taken from (seconds since 1970).
    CInCDeferDlg(int64_t now, QWidget* parent);

    // The dialog's choices as they stand.
    DeferForm Form() const;
    // The due time of the choice; none for "finished".
    std::optional<int64_t> DueTime() const;

    void accept() override;

private:
    void SetAdvanced(bool advanced);

    int64_t now_;
    int64_t todayMidnight_ = 0;
    bool advanced_ = false;
    QRadioButton* choices_[5] = {};
    QSpinBox* hours_ = nullptr;
    QTimeEdit* today_ = nullptr;
    QTimeEdit* tomorrow_ = nullptr;
    QTimeEdit* onDay_ = nullptr;
    QComboBox* days_ = nullptr;
    QPushButton* toggle_ = nullptr;
    QWidget* advancedRows_[3] = {};
};

} // namespace qv
