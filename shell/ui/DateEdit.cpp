// The date field and its edit part, and the protocol they keep with their dialog.
#include "shell/ui/DateEdit.h"

#include "core/DateText.h"
#include "core/StringPrintf.h"
#include "resources/MessageIds.h"
#include "shell/DateControlRules.h"
#include "shell/ui/ControlLook.h"
#include "shell/ui/DateControl.h"

#include <QFontMetrics>
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
    if (setEditText)
        edit_->setText(QString::fromStdString(
            StringPrintf("%02i/%02i/%02i", DayOfMonth(date), MonthOfYear(date), TwoDigitYear(date))));
    longDate_->setText(QString::fromStdString(FormatLongDate(date)));
}

PackedDate CDateEdit::ReadDate() const
{
    const QString line = edit_->text().section(QLatin1Char('\n'), 0, 0).left(19);
    return ParseDate(line.toStdString());
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
