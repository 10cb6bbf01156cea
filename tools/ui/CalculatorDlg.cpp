// The calculator dialog: a grid of keys over the display panel, keyboard keys mapped to them.
#include "tools/ui/CalculatorDlg.h"

#include "shell/FrameSwitches.h"
#include "shell/ui/CalcEdit.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace qv {

namespace {

struct KeyDef {
    int id;
    const char* text;
    CalcKey key;
    int row, column;
    Qt::Key keyboard;
    bool memory() const { return row == 0; }
};

constexpr int kLargeKeyPixels = 20;
constexpr int kLargeKeyHeight = 40;

// Insert and Exit are not calculator keys; they end the dialog.
const KeyDef kKeys[] = {
    {2310, "MC", CalcKey::MemoryClear, 0, 0, Qt::Key_unknown},
    {2309, "MR", CalcKey::MemoryRecall, 0, 1, Qt::Key_unknown},
    {2308, "M-", CalcKey::MemorySubtract, 0, 2, Qt::Key_unknown},
    {2307, "M+", CalcKey::MemoryAdd, 0, 3, Qt::Key_unknown},
    {2295, "<-", CalcKey::Back, 1, 0, Qt::Key_Backspace},
    {2313, "CE", CalcKey::ClearEntry, 1, 1, Qt::Key_Delete},
    {2312, "C", CalcKey::Clear, 1, 2, Qt::Key_C},
    {2299, "+/-", CalcKey::Sign, 1, 3, Qt::Key_unknown},
    {2300, "7", CalcKey::Digit7, 2, 0, Qt::Key_7},
    {2301, "8", CalcKey::Digit8, 2, 1, Qt::Key_8},
    {2302, "9", CalcKey::Digit9, 2, 2, Qt::Key_9},
    {2311, "/", CalcKey::Divide, 2, 3, Qt::Key_Slash},
    {2296, "4", CalcKey::Digit4, 3, 0, Qt::Key_4},
    {2297, "5", CalcKey::Digit5, 3, 1, Qt::Key_5},
    {2298, "6", CalcKey::Digit6, 3, 2, Qt::Key_6},
    {2306, "*", CalcKey::Multiply, 3, 3, Qt::Key_Asterisk},
    {2292, "1", CalcKey::Digit1, 4, 0, Qt::Key_1},
    {2293, "2", CalcKey::Digit2, 4, 1, Qt::Key_2},
    {2294, "3", CalcKey::Digit3, 4, 2, Qt::Key_3},
    {2305, "-", CalcKey::Subtract, 4, 3, Qt::Key_Minus},
    {2291, "0", CalcKey::Digit0, 5, 0, Qt::Key_0},
    {2232, ".", CalcKey::Point, 5, 1, Qt::Key_Period},
    {2303, "%", CalcKey::Percent, 5, 2, Qt::Key_Percent},
    {2304, "+", CalcKey::Add, 5, 3, Qt::Key_Plus},
    {2287, "=", CalcKey::Equals, 6, 1, Qt::Key_Equal},
};

const KeyDef* FindKey(int id)
{
    for (const KeyDef& k : kKeys)
        if (k.id == id)
            return &k;
    return nullptr;
}

int KeyForKeyboard(int key)
{
    switch (key) {
    case Qt::Key_Return: case Qt::Key_Enter: return 2287;
    case Qt::Key_Comma: return 2232;
    default: break;
    }
    for (const KeyDef& k : kKeys)
        if (k.keyboard == key)
            return k.id;
    return 0;
}

} // namespace

// The panel: the pending sum on a small line, the value on a large one, both right-aligned.
class CCalculatorDisplay : public QWidget {
public:
    explicit CCalculatorDisplay(QWidget* parent) : QWidget(parent) { setMinimumHeight(52); }
    void SetLines(QString pending, QString value)
    {
        pending_ = std::move(pending);
        value_ = std::move(value);
        update();
    }
    QString value() const { return value_; }
    QString pending() const { return pending_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(Qt::gray);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        QRect inner = rect().adjusted(6, 2, -6, -2);
        QFont small(QStringLiteral("Arial"));
        small.setPixelSize(15);
        QFont large(QStringLiteral("Arial"));
        large.setPixelSize(22);
        p.setPen(Qt::darkGray);
        p.setFont(small);
        p.drawText(inner, Qt::AlignRight | Qt::AlignTop, pending_);
        p.setPen(Qt::black);
        p.setFont(large);
        p.drawText(inner, Qt::AlignRight | Qt::AlignBottom, value_);
    }

private:
    QString pending_, value_;
};

CCalculatorDlg::CCalculatorDlg(double start, uint8_t mode, QWidget* parent)
    : QDialog(parent), display_(new CCalculatorDisplay(this)), memory_(new QLabel(this)), mode_(mode)
{
    setWindowTitle(QStringLiteral("Quorvantis Calculator"));
    display_->setObjectName(QString::number(kDisplay));
    memory_->setObjectName(QString::number(kMemoryIndicator));
    auto* grid = new QGridLayout(this);
    // The memory value takes a line of its own under the display; the indicator alone sits beside it.
    if (mode_ & kMemoryValue) {
        grid->addWidget(display_, 0, 0, 1, 4);
        grid->addWidget(memory_, 1, 0, 1, 4);
        memory_->setAlignment(Qt::AlignRight);
    } else {
        memory_->setFixedWidth(16);
        grid->addWidget(memory_, 0, 0);
        grid->addWidget(display_, 0, 1, 1, 3);
    }
    const int top = 2;
    QFont keyFont = font();
    if (mode_ & kLargeButtons)
        keyFont.setPixelSize(kLargeKeyPixels);
    auto add = [this, grid, keyFont](int id, const char* text, int row, int column, int span) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::number(id));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFont(keyFont);
        if (mode_ & kLargeButtons)
            b->setMinimumHeight(kLargeKeyHeight);
        grid->addWidget(b, row + top, column, 1, span);
        buttons_[id] = b;
        connect(b, &QPushButton::clicked, this, [this, id] { Press(id); });
    };
    for (const KeyDef& k : kKeys) {
        add(k.id, k.text, k.row, k.column, 1);
        buttons_[k.id]->setVisible(!k.memory() || (mode_ & kMemoryButtons));
    }
    add(kInsert, "Insert", 6, 0, 1);
    add(kExit, "Exit", 6, 2, 2);
    calc_.start(start);
    Refresh();
}

QPushButton* CCalculatorDlg::button(int id) const
{
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

QString CCalculatorDlg::calculationLine() const { return display_->pending(); }

void CCalculatorDlg::Press(int id)
{
    if (id == kInsert) {
        result_ = calc_.value();
        accept();
        return;
    }
    if (id == kExit) {
        reject();
        return;
    }
    if (const KeyDef* k = FindKey(id))
        calc_.press(k->key);
    Refresh();
}

void CCalculatorDlg::Refresh()
{
    const QString pending = (mode_ & kShowCalculation) ? QString::fromStdString(calc_.pendingText()) : QString();
    display_->SetLines(pending, QString::fromStdString(calc_.display()));
    if (mode_ & kMemoryValue)
        memory_->setText(QStringLiteral("Memory: ") + QString::fromStdString(FormatCalculatorNumber(calc_.memory())));
    else
        memory_->setText(calc_.memory() != 0 ? QStringLiteral("M") : QString());
}

// A keyboard key shows its button pressed and presses it.
void CCalculatorDlg::keyPressEvent(QKeyEvent* event)
{
    int id = KeyForKeyboard(event->key());
    if (!id) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (QPushButton* b = button(id)) {
        b->setDown(true);
        QTimer::singleShot(100, b, [b] { b->setDown(false); });
    }
    Press(id);
}

std::optional<double> RunCalculator(double value, QWidget* under)
{
    CCalculatorDlg dialog(value, ProgramSwitches().calculatorMode,
                          under ? under->window() : QApplication::activeWindow());
    if (under) {
        dialog.adjustSize();
        dialog.move(under->mapToGlobal(QPoint(0, under->height())));
    }
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.result();
}

} // namespace qv
