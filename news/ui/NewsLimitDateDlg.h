// The "Limit search date" dialog, and the "News stats" page that holds no fields of its own.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QSpinBox;

namespace qv {

class CNewsLimitDateDlg : public QDialog {
    Q_OBJECT
public:
    CNewsLimitDateDlg(bool limitOn, uint16_t weeks, QWidget* parent = nullptr);

    bool limitOn() const;
    uint16_t weeks() const;
    QCheckBox* limitBox() const { return limit_; }
    QSpinBox* weeksField() const { return weeks_; }

private:
    QCheckBox* limit_ = nullptr;
    QSpinBox* weeks_ = nullptr;
};

// "News stats": the page the statistics command opens; it holds no fields of its own.
class CNewsStatsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNewsStatsDlg(QWidget* parent = nullptr);
};

} // namespace qv
