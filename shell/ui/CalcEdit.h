// The calculator number field: an edit taking digits and one "." that holds its value as a double,
// shows it with two (or five) decimals less the trailing zeros, tells its dialog each change, and
// opens the calculator from its drop button.
#pragma once

#include "platform/MessageDispatch.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QToolButton;

namespace qv {

class CDateEditField;

// The calculator the drop button opens, given the field's value and the field to place it under;
// the value "Insert" handed back. Installed by the tools (none: the button does nothing).
using CalculatorRunner = std::function<std::optional<double>(double value, QWidget* under)>;
void SetCalculatorRunner(CalculatorRunner runner);

class CCalcEdit : public QWidget, public MessageTarget {
    Q_OBJECT
public:
    static constexpr int kEditId = 100004;

    explicit CCalcEdit(QWidget* parent = nullptr);

    // The dialog receives 1087 with wParam 0 and lParam = word after each change.
    void Create(int controlId, MessageTarget* dialog, intptr_t word);
    double value() const { return value_; }
    // Sets the value and shows it in the field's format.
    void SetValue(double value);
    // Empties the text and the value.
    void Clear();
    // Two decimals (the default) or five.
    void SetTwoDecimals(bool two);
    CDateEditField* edit() const { return edit_; }
    QToolButton* dropButton() const { return drop_; }

    // "%.2f" or "%.5f" less the trailing zeros (and a bare point); in two-decimals mode a single
    // decimal left gets a "0": 12.5 shows 12.50, 12.00 shows 12.
    static QString FormatValue(double value, bool twoDecimals);

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DropClicked();
    void TellDialog();

    CDateEditField* edit_;
    QToolButton* drop_;
    uint64_t dialogId_ = 0;
    intptr_t word_ = 0;
    double value_ = 0;
    bool twoDecimals_ = true;
};

} // namespace qv
