// The calculator number field.
#include "shell/ui/CalcEdit.h"

#include "resources/MessageIds.h"
#include "shell/ui/DateEdit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QTimer>

namespace qv {

CCalcEdit::CCalcEdit(QWidget* parent) : QWidget(parent), edit_(new CDateEditField(1, this, this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_);
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
    edit_->setText(QString::number(value, 'f', 2));
}

intptr_t CCalcEdit::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t)
{
    if (message != MSG_CALCULATOR_FIELD_A)
        return 0;
    if (wParam == kEditChanged)
        value_ = edit_->text().toDouble();
    // The text is rewritten only when the field is left, so typing is never disturbed.
    if (wParam == kEditLeft)
        edit_->setText(QString::number(value_, 'f', 2));
    SendProgramMessageTo(dialogId_, MSG_CALCULATOR_FIELD_B, 0, word_);
    return 1;
}

} // namespace qv
