// The criterion range strip: painting the track, the selected part and the handles, and the drags.
#include "datamining/ui/CriteriaRangeCtrl.h"

#include "shell/LayoutSwitch.h"
#include "shell/ui/DrawHelpers.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace qv {
namespace {

constexpr int kTrackHeight = 6;

} // namespace

CCriteriaRangeCtrl::CCriteriaRangeCtrl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("1940"));
    setFocusPolicy(Qt::ClickFocus);
}

void CCriteriaRangeCtrl::SetData(DMCriterion* criterion)
{
    criterion_ = criterion;
    if (criterion_)
        NormaliseSelectedRange(*criterion_);
    geometry_ = criterion_ ? MeasureCriteriaRange(*criterion_, width()) : CriteriaRangeGeometry{};
    update();
}

void CCriteriaRangeCtrl::SetLocked(int value)
{
    enabled_ = value == 1;
    update();
}

void CCriteriaRangeCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (criterion_)
        geometry_ = MeasureCriteriaRange(*criterion_, width());
}

bool CCriteriaRangeCtrl::Draggable() const
{
    return criterion_ && enabled_ && !criterion_->locked && !criterion_->noData && !DataMiningRunBusy;
}

void CCriteriaRangeCtrl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!criterion_)
        return;
    if (const char* text = RangeStripText(*criterion_, enabled_)) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(rect(), Qt::AlignCenter, QString::fromLatin1(text));
        return;
    }
    const int mid = height() / 2;
    const int top = mid - kTrackHeight / 2, bottom = top + kTrackHeight;
    const int lower = geometry_.lowerX, upper = geometry_.upperX;
    p.fillRect(QRect(QPoint(1, top), QPoint(width() - 2, bottom)), Qt::white);
    DrawSunkenFrame(p, 0, top - 1, width() - 1, bottom + 1);
    const QColor selected = palette().color(QPalette::Highlight);
    if (criterion_->inverted) {
        p.fillRect(QRect(QPoint(1, top), QPoint(lower, bottom)), selected);
        p.fillRect(QRect(QPoint(upper, top), QPoint(width() - 2, bottom)), selected);
    } else {
        p.fillRect(QRect(QPoint(lower, top), QPoint(upper, bottom)), selected);
    }
    p.setPen(Qt::black);
    p.drawLine(1, mid, width() - 2, mid);
    for (int x : {lower, upper}) {
        const QRect handle(x - kHandleWidth / 2, 1, kHandleWidth, height() - 2);
        p.fillRect(handle, palette().button());
        Draw3DFrame(p, handle.left(), handle.top(), handle.right(), handle.bottom(), true);
        p.setPen(Qt::black);
        p.drawLine(x, mid - 2, x, mid + 2);
    }
}

void CCriteriaRangeCtrl::MoveTo(int x)
{
    MoveRangeHandle(geometry_, *criterion_, handle_, x);
    emit boundMoved(handle_);
    repaint();
}

void CCriteriaRangeCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !Draggable()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int x = event->position().toPoint().x();
    dragging_ = true;
    grabMouse();
    handle_ = PickRangeHandle(geometry_, x);
    MoveTo(x);
}

void CCriteriaRangeCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && !DataMiningRunBusy)
        MoveTo(event->position().toPoint().x());
}

void CCriteriaRangeCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    if (!DataMiningRunBusy)
        MoveTo(event->position().toPoint().x());
    dragging_ = false;
    releaseMouse();
    emit rangeChanged();
}

void CCriteriaRangeCtrl::keyPressEvent(QKeyEvent* event)
{
    auto* view = dynamic_cast<QWidget*>(MainFrameState().activeView);
    if (view && view != this)
        QApplication::sendEvent(view, event);
    else
        QWidget::keyPressEvent(event);
}

} // namespace qv
