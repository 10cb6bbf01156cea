// The date field and its edit part, and the protocol they keep with their dialog.
#include "shell/ui/DateEdit.h"

#include "core/DateText.h"
#include "core/StringPrintf.h"
#include "resources/MessageIds.h"
#include "shell/DateControlRules.h"
#include "shell/ui/ControlLook.h"
#include "shell/ui/DateControl.h"

#include "platform/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace qv {
CDateEditField::CDateEditField(int mode, MessageTarget* owner, QWidget* parent)
    : CFilteredEdit(owner, mode == 0 ? MSG_DATE_FIELD_A : MSG_CALCULATOR_FIELD_A,
                    [mode](std::string_view text, char c) { return DateFieldAccepts(mode, text, c); }, parent),
      mode_(mode)
{
}

void CDateEditField::SetFocusCommand(MessageTarget* dialog, uintptr_t wParam, intptr_t lParam)
{
    dialogId_ = dialog ? dialog->targetId() : 0;
    focusWParam_ = wParam;
    focusLParam_ = lParam;
}

void CDateEditField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (mode_ == 1)
        TellOwner(kEditChanged);
    else
        SendProgramMessageTo(dialogId_, WM_COMMAND, focusWParam_, focusLParam_);
}

namespace {

// Leaving for the dialog's Cancel button is no move on: the date goes with the dialog.
bool LeavingForCancel()
{
    auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
    auto* box = button ? qobject_cast<QDialogButtonBox*>(button->parentWidget()) : nullptr;
    return box && box->buttonRole(button) == QDialogButtonBox::RejectRole;
}

} // namespace

void CDateEditField::focusOutEvent(QFocusEvent* event)
{
    // Only a move the user made within the window is checked; the window losing the focus (to the
    // message itself, say) is not.
    const Qt::FocusReason reason = event->reason();
    const bool moved = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                       reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
    if (mode_ != 0 || !moved || !refuse_ || LeavingForCancel()) {
        CFilteredEdit::focusOutEvent(event);
        return;
    }
    QLineEdit::focusOutEvent(event);
    if (!refuse_())
        TellOwner(kEditLeft);
}

void CDateEditField::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (mode_ == 0 && enter && refuse_ && refuse_()) {
        event->accept();
        return;
    }
    CFilteredEdit::keyPressEvent(event);
}

CDateEdit::CDateEdit(QWidget* parent)
    : QWidget(parent), edit_(new CDateEditField(0, this, this)), button_(new QPushButton(QStringLiteral("..."), this)),
      longDate_(new QLabel(this))
{
    edit_->setObjectName(QString::number(kEditId));
    button_->setObjectName(QString::number(kButtonId));
    longDate_->setObjectName(QString::number(kLongDateId));
    const QFont font = DefaultGuiFont();
    for (QWidget* child : {static_cast<QWidget*>(edit_), static_cast<QWidget*>(longDate_)})
        child->setFont(font);
    button_->setFont(EllipsisButtonFont());
    button_->setFocusPolicy(Qt::TabFocus);
    setFocusProxy(edit_);
    edit_->SetRefusal([this] { return RefuseBadText(); });
    connect(button_, &QPushButton::clicked, this, &CDateEdit::DropClicked);
    // The edit takes the top half: tall enough for its text over the long-date line.
    setMinimumHeight(2 * (QFontMetrics(font).height() + 8) - 2);
}

bool CDateEdit::Create(int controlId, QWidget& placeholder, MessageTarget* dialog, PackedDate held)
{
    TakeOverPlaceholder(*this, placeholder);
    return Create(controlId, parentWidget(), geometry(), dialog, held);
}

bool CDateEdit::Create(int controlId, QWidget* parent, const QRect& rect, MessageTarget* dialog, PackedDate held)
{
    if (!parent)
        return false; // a field sits in a dialog
    controlId_ = controlId;
    dialogId_ = dialog ? dialog->targetId() : 0;
    if (parentWidget() != parent)
        setParent(parent);
    setGeometry(rect);
    edit_->SetFocusCommand(dialog, CommandWParam(controlId, 0), intptr_t(this));
    date = held;
    FormatDate(true);
    show();
    return true;
}

void CDateEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int half = (height() + 2) / 2;
    const int editRight = width() - 10 - half;
    edit_->setGeometry(0, 0, editRight, half);
    button_->setGeometry(editRight + 1, 0, half, half);
    longDate_->setGeometry(0, half + 2, width(), height() - half - 2);
}

void CDateEdit::FormatDate(bool setEditText)
{
    if (setEditText) {
        written_ = QString::fromStdString(
            StringPrintf("%02i/%02i/%02i", DayOfMonth(date), MonthOfYear(date), TwoDigitYear(date)));
        edit_->setText(written_);
    }
    longDate_->setText(QString::fromStdString(FormatLongDate(date)));
}

PackedDate CDateEdit::ReadDate() const
{
    const QString line = edit_->text().section(QLatin1Char('\n'), 0, 0).left(19);
    return ParseDate(line.toStdString());
}

bool CDateEdit::RefuseBadText()
{
    // The field's own text (a dialog's empty date, say) is never refused, only what was typed.
    if (ReadDate() != 0 || edit_->text() == written_)
        return false;
    ShowMessage(std::string(kBadDateMessage), {}, MsgButtons::Ok, MsgIcon::Exclamation);
    edit_->setFocus(Qt::OtherFocusReason);
    edit_->selectAll();
    return true;
}

void CDateEdit::EnableWindow(bool enable)
{
    edit_->setEnabled(enable);
    button_->setEnabled(enable);
}

void CDateEdit::TellDialog(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    SendProgramMessageTo(dialogId_, message, wParam, lParam);
}

intptr_t CDateEdit::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message != MSG_DATE_FIELD_A)
        return 0;
    if (wParam == kEditChanged) {
        PackedDate typed = ReadDate();
        if (typed == 0)
            return 1;
        date = typed;
        FormatDate(false);
        TellDialog(MSG_DATE_FIELD_A, kEditChanged, lParam);
    } else if (wParam == kEditLeft) {
        FormatDate(true);
        TellDialog(MSG_DATE_FIELD_B, kEditLeft, lParam);
    } else {
        date = PackedDate(wParam);
        FormatDate(true);
        TellDialog(MSG_DATE_FIELD_B, wParam, lParam);
    }
    return 1;
}

CDateControl* CDateEdit::calendar() const { return calendar_; }

void CDateEdit::DropClicked()
{
    TellDialog(WM_COMMAND, CommandWParam(controlId_, 0), intptr_t(this));
    delete calendar_.data();
    calendar_ = CDateControl::Open(ReadDate(), button_, this);
}

} // namespace qv
