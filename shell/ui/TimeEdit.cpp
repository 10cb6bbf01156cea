// The time field, its chooser, and the ordering of a from/to pair.
#include "shell/ui/TimeEdit.h"

#include "core/ui/PenSelect.h"
#include "resources/MessageIds.h"
#include "shell/ui/ControlLook.h"
#include "shell/ui/FilteredEdit.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace qv {
namespace {

QString TimeText(int seconds) { return QString::fromStdString(FormatTimeOfDay(seconds)); }

} // namespace

CTimeChooser::CTimeChooser(int limit, bool beforeLimit, QWidget* anchor, MessageTarget* notify)
    : QWidget(anchor, Qt::Popup | Qt::FramelessWindowHint), limit_(limit), beforeLimit_(beforeLimit), notifyId_(notify ? notify->targetId() : 0)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Time Control"));
    setFont(DefaultGuiFont());
    const QFontMetrics metrics(font());
    metrics_ = {3, metrics.horizontalAdvance(QStringLiteral("888:888")), metrics.height() + 2};
    setFixedSize(2 * metrics_.margin + kChooserColumns * metrics_.cellWidth,
                 2 * metrics_.margin + kChooserRows * metrics_.cellHeight);
    setFocusPolicy(Qt::StrongFocus);
    if (anchor)
        move(anchor->mapToGlobal(QPoint(0, 0)));
}

CTimeChooser* CTimeChooser::Create(int limit, bool beforeLimit, QWidget* anchor, MessageTarget* notify)
{
    auto* chooser = new CTimeChooser(limit, beforeLimit, anchor, notify);
    chooser->show();
    chooser->setFocus();
    return chooser;
}

QPoint CTimeChooser::CellCentre(int column, int row) const
{
    return QPoint(metrics_.margin + column * metrics_.cellWidth + metrics_.cellWidth / 2,
                  metrics_.margin + row * metrics_.cellHeight + metrics_.cellHeight / 2);
}

void CTimeChooser::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColourFromWord(SystemColourWord(SystemColour::ButtonFace)));
    DrawRaisedBox(painter, rect(), false);
    const QColor text = ColourFromWord(SystemColourWord(SystemColour::ButtonText));
    const QColor grey = ColourFromWord(SystemColourWord(SystemColour::GreyText));
    const int bottom = metrics_.margin + kChooserRows * metrics_.cellHeight - 1;
    for (int column = 0; column < kChooserColumns; ++column) {
        const int left = metrics_.margin + column * metrics_.cellWidth;
        if (column > 0)
            DrawEtchedLine(painter, QPoint(left - 1, metrics_.margin), QPoint(left - 1, bottom));
        for (int row = 0; row < kChooserRows; ++row) {
            const int time = ChooserTime(column, row);
            painter.setPen(ChooserAllows(time, limit_, beforeLimit_) ? text : grey);
            const QRect cell(left, metrics_.margin + row * metrics_.cellHeight, metrics_.cellWidth, metrics_.cellHeight);
            painter.drawText(cell, Qt::AlignCenter, QLatin1Char(' ') + TimeText(time) + QLatin1Char(' '));
        }
    }
}

void CTimeChooser::mousePressEvent(QMouseEvent* event)
{
    if (!rect().contains(event->position().toPoint()))
        close(); // a click elsewhere takes the focus away
}

void CTimeChooser::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    const int time = ChooserHitTime(metrics_, p.x(), p.y());
    if (time < 0 || !ChooserAllows(time, limit_, beforeLimit_))
        return;
    repaint();
    SendProgramMessageTo(notifyId_, MSG_TIME_FIELD, uintptr_t(time), 0);
    close();
}

void CTimeChooser::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void CTimeChooser::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        close();
}

void CTimeChooser::closeEvent(QCloseEvent* event)
{
    notifyId_ = 0;
    QWidget::closeEvent(event);
    emit closed();
}

CTimeEdit::CTimeEdit(QWidget* parent)
    : QWidget(parent),
      edit_(new CFilteredEdit(this, MSG_TIME_FIELD, [](std::string_view, char c) { return TimeFieldAccepts(c); }, this)),
      button_(new QPushButton(QStringLiteral("..."), this))
{
    edit_->setObjectName(QString::number(kEditId));
    button_->setObjectName(QString::number(kButtonId));
    const QFont font = DefaultGuiFont();
    edit_->setFont(font);
    button_->setFont(EllipsisButtonFont());
    button_->setFocusPolicy(Qt::TabFocus);
    setFocusProxy(edit_);
    connect(button_, &QPushButton::clicked, this, &CTimeEdit::ButtonClicked);
}

bool CTimeEdit::Create(int controlId, QWidget& placeholder, MessageTarget* dialog, CTimeEdit* partner, bool isStart)
{
    TakeOverPlaceholder(*this, placeholder);
    return Create(controlId, parentWidget(), geometry(), dialog, partner, isStart);
}

bool CTimeEdit::Create(int controlId, QWidget* parent, const QRect& rect, MessageTarget* dialog, CTimeEdit* partner,
                       bool isStart)
{
    if (!parent)
        return false; // a field sits in a dialog
    controlId_ = controlId;
    dialogId_ = dialog ? dialog->targetId() : 0;
    partner_ = partner;
    isStart_ = isStart;
    if (parentWidget() != parent)
        setParent(parent);
    setGeometry(rect);
    show();
    return true;
}

void CTimeEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int side = height();
    edit_->setGeometry(0, 0, width() - side, side);
    button_->setGeometry(width() - side, 0, side, side);
}

void CTimeEdit::SetTime(int seconds, bool updateText)
{
    if (updateText)
        edit_->setText(TimeText(seconds));
    if (partner_)
        partner_->SetLimit(seconds);
}

int CTimeEdit::ReadTime() const { return ParseTimeText(edit_->text().left(6).toStdString()); }

void CTimeEdit::EnableWindow(bool enable)
{
    edit_->setEnabled(enable);
    button_->setEnabled(enable);
}

intptr_t CTimeEdit::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t)
{
    if (message != MSG_TIME_FIELD)
        return 0;
    if (wParam == kEditChanged || wParam == kEditLeft) {
        const bool rewrite = wParam == kEditLeft;
        const int own = ReadTime();
        if (partner_) {
            TimePair pair = OrderTimePair(isStart_, own, partner_->ReadTime());
            SetTime(pair.own, rewrite);
            partner_->SetTime(pair.partner, rewrite);
        } else {
            SetTime(own, rewrite);
        }
    } else {
        SetTime(int(wParam), true);
    }
    SendProgramMessageTo(dialogId_, MSG_TIME_FIELD, 0, 0);
    return 1;
}

void CTimeEdit::ButtonClicked()
{
    SendProgramMessageTo(dialogId_, WM_COMMAND, CommandWParam(controlId_, 0), intptr_t(this));
    delete chooser_.data();
    chooser_ = CTimeChooser::Create(limit_, isStart_, button_, this);
}

} // namespace qv
