// The calculator number field.
#include "shell/ui/CalcEdit.h"

#include "resources/MessageIds.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/FrameCommandHost.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QTimer>
#include <QToolButton>

namespace qv {

namespace {

CalculatorRunner& Runner()
{
    static CalculatorRunner runner;
    return runner;
}

constexpr uint8_t kDesktopCalculatorBit = 0x80;

} // namespace

void SetCalculatorRunner(CalculatorRunner runner) { Runner() = std::move(runner); }

QString CCalcEdit::FormatValue(double value, bool twoDecimals)
{
    QString text = QString::asprintf(twoDecimals ? "%.2f" : "%.5f", value);
    if (!text.contains(QLatin1Char('.')))
        return text;
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    const int point = int(text.indexOf(QLatin1Char('.')));
    if (twoDecimals && point >= 0 && text.size() - point == 2)
        text += QLatin1Char('0');
    return text;
}

CCalcEdit::CCalcEdit(QWidget* parent)
    : QWidget(parent), edit_(new CDateEditField(1, this, this)), drop_(new QToolButton(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit_);
    layout->addWidget(drop_);
    edit_->setObjectName(QString::number(kEditId));
    drop_->setArrowType(Qt::DownArrow);
    drop_->setFocusPolicy(Qt::NoFocus);
    drop_->setToolTip(QStringLiteral("Calculator"));
    connect(drop_, &QToolButton::clicked, this, &CCalcEdit::DropClicked);
    setFocusProxy(edit_);
    edit_->installEventFilter(this);
    SetValue(0);
}

// Entering the field selects its figure, so that what is typed replaces it.
bool CCalcEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edit_ && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, edit_, [edit = edit_] { edit->selectAll(); });
    return QWidget::eventFilter(watched, event);
}

void CCalcEdit::Create(int controlId, MessageTarget* dialog, intptr_t word)
{
    setObjectName(QString::number(controlId));
    dialogId_ = dialog ? dialog->targetId() : 0;
    word_ = word;
}

void CCalcEdit::SetValue(double value)
{
    value_ = value;
    edit_->setText(FormatValue(value, twoDecimals_));
}

void CCalcEdit::Clear()
{
    value_ = 0;
    edit_->clear();
}

void CCalcEdit::SetTwoDecimals(bool two)
{
    twoDecimals_ = two;
    SetValue(value_);
}

void CCalcEdit::TellDialog()
{
    SendProgramMessageTo(dialogId_, MSG_CALCULATOR_FIELD_B, 0, word_);
}

// The desktop's calculator when the setting asks for it (the program's own when none starts); an
// "Insert" puts the value into the field.
void CCalcEdit::DropClicked()
{
    if ((ProgramSwitches().calculatorMode & kDesktopCalculatorBit) && OpenExternal(kDesktopCalculator))
        return;
    if (!Runner())
        return;
    // The calculator starts from the figure the field shows (a rate kept as a float, 1.44000005722,
    // shows as 1.44).
    bool shown = false;
    const double typed = edit_->text().toDouble(&shown);
    std::optional<double> result = Runner()(shown ? typed : value_, this);
    if (result)
        SetValue(*result);
    if (parentWidget())
        parentWidget()->setFocus();
    TellDialog();
}

intptr_t CCalcEdit::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t)
{
    if (message != MSG_CALCULATOR_FIELD_A)
        return 0;
    if (wParam == kEditChanged)
        value_ = edit_->text().toDouble();
    // The text is rewritten only when the field is left, so typing is never disturbed.
    if (wParam == kEditLeft)
        edit_->setText(FormatValue(value_, twoDecimals_));
    TellDialog();
    return 1;
}

} // namespace qv
