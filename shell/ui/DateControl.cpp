// The calendar pop-up: painted at fixed client coordinates inside a dialog frame.
#include "shell/ui/DateControl.h"

#include "core/DateText.h"
#include "core/ui/PenSelect.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/ui/ControlLook.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace qv {
namespace {

void CentredText(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(QRect(x - 80, y, 160, 20), Qt::AlignHCenter | Qt::AlignTop, text);
}

QRect BoxRect(const CalendarBox& box) { return QRect(box.left, box.top, box.width, box.height); }

// Short vertical lines narrowing from the tip.
void DrawArrow(QPainter& painter, int tipX, int direction)
{
    for (int i = 0; i < 5; ++i)
        painter.drawLine(tipX + direction * i, 15 - i, tipX + direction * i, 15 + i);
}

uint64_t NearestTargetId(QWidget* widget)
{
    for (; widget; widget = widget->parentWidget())
        if (auto* target = dynamic_cast<MessageTarget*>(widget))
            return target->targetId();
    return 0;
}

} // namespace

CDateControl::CDateControl(PackedDate date, QWidget* anchor, MessageTarget* owner)
    : QWidget(anchor, Qt::Popup | Qt::FramelessWindowHint), state_(OpenCalendar(date)),
      ownerId_(owner ? owner->targetId() : NearestTargetId(anchor))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Date Control"));
    setFixedSize(kCalendarWidth, kCalendarHeight);
    setFocusPolicy(Qt::StrongFocus);
    setFont(DefaultGuiFont());
    if (anchor)
        move(anchor->mapToGlobal(QPoint(0, 0)));
}

CDateControl* CDateControl::Open(PackedDate date, QWidget* anchor, MessageTarget* owner)
{
    auto* control = new CDateControl(date, anchor, owner);
    control->show();
    control->setFocus();
    return control;
}

void CDateControl::Run(PackedDate date, QWidget* anchor) { RunForOwner(date, anchor, nullptr); }

void CDateControl::RunForOwner(PackedDate date, QWidget* anchor, MessageTarget* owner)
{
    QPointer<CDateControl> control = Open(date, anchor, owner);
    QEventLoop loop;
    connect(control, &CDateControl::closed, &loop, &QEventLoop::quit);
    connect(control, &QObject::destroyed, &loop, &QEventLoop::quit); // its anchor went away
    if (control && control->isVisible())
        loop.exec();
}

QPoint CDateControl::ClientPoint(const QPointF& position) const
{
    return position.toPoint() - QPoint(kFrame, kFrame);
}

void CDateControl::Settle()
{
    PackedDate date = SettleCalendar(state_);
    if (ownerId_)
        PostProgramMessageTo(ownerId_, MSG_DATE_FIELD_A, date, date);
    update();
}

void CDateControl::CloseIfDone()
{
    if (state_.close)
        close();
}

void CDateControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (!rect().contains(event->position().toPoint())) {
        close(); // a click outside the pop-up takes the focus elsewhere
        return;
    }
    QPoint p = ClientPoint(event->position());
    pressed_ = CalendarHitTest(state_.page, p.x(), p.y());
    pressedButton_ = pressed_ >= kCalendarPrevious ? pressed_ : 0;
    update();
}

void CDateControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QPoint p = ClientPoint(event->position());
    int hit = CalendarHitTest(state_.page, p.x(), p.y());
    pressedButton_ = 0;
    if (ApplyCalendarRelease(state_, pressed_, hit))
        Settle();
    pressed_ = 0;
    update();
    CloseIfDone();
}

void CDateControl::keyPressEvent(QKeyEvent* event)
{
    CalendarKey key;
    switch (event->key()) {
    case Qt::Key_Left: key = CalendarKey::Left; break;
    case Qt::Key_Right: key = CalendarKey::Right; break;
    case Qt::Key_Up: key = CalendarKey::Up; break;
    case Qt::Key_Down: key = CalendarKey::Down; break;
    case Qt::Key_PageUp: key = CalendarKey::PageUp; break;
    case Qt::Key_PageDown: key = CalendarKey::PageDown; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: key = CalendarKey::Return; break;
    case Qt::Key_Escape: key = CalendarKey::Escape; break;
    default: QWidget::keyPressEvent(event); return;
    }
    if (ApplyCalendarKey(state_, key))
        Settle();
    CloseIfDone();
}

void CDateControl::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // A pop-up loses the focus to its own child windows never; anything else ends it.
    if (event->reason() != Qt::PopupFocusReason)
        close();
}

void CDateControl::closeEvent(QCloseEvent* event)
{
    state_.close = true;
    QWidget::closeEvent(event);
    emit closed();
}

void CDateControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColourFromWord(SystemColourWord(SystemColour::ButtonFace)));
    DrawRaisedBox(painter, rect(), false);
    painter.translate(kFrame, kFrame);
    painter.setFont(font());
    PaintHeader(painter);
    switch (state_.page) {
    case CalendarDays: PaintDays(painter); break;
    case CalendarMonths: PaintMonths(painter); break;
    default: PaintYears(painter); break;
    }
    CalendarFrame frame = ItemFrame(state_.page, MarkedCell(state_));
    PenObject pen;
    SelectPackedPen(painter, pen, SystemColourWord(SystemColour::DarkShadow));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.left, frame.top, frame.width - 1, frame.height - 1);
    ReleasePen(painter, pen);
}

void CDateControl::PaintHeader(QPainter& painter)
{
    DrawRaisedBox(painter, BoxRect(kCalendarPreviousBox), pressedButton_ == kCalendarPrevious);
    DrawRaisedBox(painter, BoxRect(kCalendarNextBox), pressedButton_ == kCalendarNext);
    DrawRaisedBox(painter, BoxRect(kCalendarTitleBox), pressedButton_ == kCalendarTitle);
    const QColor text = ColourFromWord(SystemColourWord(SystemColour::ButtonText));
    painter.setPen(text);
    DrawArrow(painter, 13, 1);
    DrawArrow(painter, 154, -1);
    CentredText(painter, 87, 7, QString::fromStdString(CalendarTitle(state_)));
}

void CDateControl::PaintDays(QPainter& painter)
{
    const CalendarGrid grid = GridOf(CalendarDays);
    const QColor text = ColourFromWord(SystemColourWord(SystemColour::ButtonText));
    painter.setPen(text);
    for (int column = 0; column < grid.columns; ++column)
        CentredText(painter, grid.x0 + grid.width * column, 30,
                    QString::fromLatin1(DayAbbreviation(column).substr(0, 1).data(), 1));
    DrawEtchedLine(painter, QPoint(6, 46), QPoint(172, 46));
    for (int index = 0; index < grid.columns * grid.rows; ++index) {
        DayCell cell = DayCellOf(state_, index);
        painter.setPen(cell.month == CellMonth::Shown ? text : QColor(Qt::white));
        CentredText(painter, grid.x0 + grid.width * (index % grid.columns), grid.y0 + grid.height * (index / grid.columns),
                    QString::number(cell.day));
    }
}

void CDateControl::PaintMonths(QPainter& painter)
{
    const CalendarGrid grid = GridOf(CalendarMonths);
    painter.setPen(ColourFromWord(SystemColourWord(SystemColour::ButtonText)));
    for (int month = 0; month < 12; ++month) {
        std::string_view name = MonthAbbreviation(month);
        CentredText(painter, grid.x0 + grid.width * (month % grid.columns), grid.y0 + grid.height * (month / grid.columns),
                    QString::fromLatin1(name.data(), int(name.size())));
    }
}

void CDateControl::PaintYears(QPainter& painter)
{
    const CalendarGrid grid = GridOf(CalendarYears);
    painter.setPen(ColourFromWord(SystemColourWord(SystemColour::ButtonText)));
    for (int index = 0; index < 24; ++index)
        CentredText(painter, grid.x0 + grid.width * (index % grid.columns), grid.y0 + grid.height * (index / grid.columns),
                    QString::number(state_.firstYear + index));
}

} // namespace qv
