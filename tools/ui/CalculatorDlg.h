// The calculator dialog "Quorvantis Calculator": the keys of the calculator, the display panel with
// its memory indicator, keyboard keys that press the same buttons, and "Insert" handing the value
// back.
#pragma once

#include "tools/Calculator.h"

#include <QDialog>
#include <map>
#include <optional>

class QLabel;
class QPushButton;

namespace qv {

class CCalculatorDisplay;

class CCalculatorDlg : public QDialog {
    Q_OBJECT
public:
    // Control ids of the keys and panels.
    static constexpr int kDisplay = 2290, kMemoryIndicator = 2314, kInsert = 2289, kExit = 2316;

    // The display bits of the program's calculator byte (the General page's options).
    static constexpr uint8_t kMemoryButtons = 0x01, kMemoryValue = 0x02, kShowCalculation = 0x04,
                             kLargeButtons = 0x08;
    static constexpr uint8_t kStandardLook = kMemoryButtons | kShowCalculation;

    explicit CCalculatorDlg(double start = 0, uint8_t mode = kStandardLook, QWidget* parent = nullptr);

    // The value "Insert" handed back; nothing after "Exit" or closing.
    std::optional<double> result() const { return result_; }
    const Calculator& calculator() const { return calc_; }
    QPushButton* button(int id) const;
    // The pending sum the display shows above the value (empty unless "Show calculation" is on).
    QString calculationLine() const;
    // Presses the key the button stands for, as a click or its keyboard key does.
    void Press(int id);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Refresh();

    Calculator calc_;
    std::map<int, QPushButton*> buttons_;
    CCalculatorDisplay* display_;
    QLabel* memory_;
    uint8_t mode_;
    std::optional<double> result_;
};

// Opens the calculator showing the value, laid out by the program's calculator byte and placed just
// under the widget when one is given; the value handed back by "Insert", nothing otherwise.
std::optional<double> RunCalculator(double value, QWidget* under);

} // namespace qv
