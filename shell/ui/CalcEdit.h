// The calculator number field: an edit taking digits and one "." that holds its value as a double
// and tells its dialog each change.
#pragma once

#include "platform/MessageDispatch.h"

#include <QWidget>

namespace qv {

class CDateEditField;

class CCalcEdit : public QWidget, public MessageTarget {
    Q_OBJECT
public:
    explicit CCalcEdit(QWidget* parent = nullptr);

    // The dialog receives 1087 with wParam 0 and lParam = word after each change.
    void Create(int controlId, MessageTarget* dialog, intptr_t word);
    double value() const { return value_; }
    // Sets the value and shows it with two decimals.
    void SetValue(double value);
    CDateEditField* edit() const { return edit_; }

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CDateEditField* edit_;
    uint64_t dialogId_ = 0;
    intptr_t word_ = 0;
    double value_ = 0;
};

} // namespace qv
