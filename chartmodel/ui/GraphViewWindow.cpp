// Chart view window: cursors, paints, keys, resizes and the view under the mouse.
#include "chartmodel/ui/GraphViewWindow.h"

#include "chartmodel/ui/ChartCursors.h"
#include "platform/qt/PaintScope.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

namespace qv {

CGraphViewWnd::CGraphViewWnd(int32_t kind, QWidget* parent)
    : CViewBase(kind), CViewGraphBase(kind), CViewBaseWnd(kind, parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(ChartCursor(currentCursor));
}

CGraphViewWnd::~CGraphViewWnd() = default;

void CGraphViewWnd::ApplyCursor(uint32_t id) { setCursor(ChartCursor(id)); }

void CGraphViewWnd::DrawView(QPainter& painter) { painter.fillRect(rect(), Qt::white); }

void CGraphViewWnd::paintEvent(QPaintEvent*)
{
    PaintScope scope;
    QPainter painter(this);
    if (!fullRedraw) {
        DrawView(painter);
        return;
    }
    fullRedraw = 0;
    QPainter* before = painter_;
    painter_ = &painter;
    FullRedraw(255);
    painter_ = before;
}

void CGraphViewWnd::keyPressEvent(QKeyEvent* event)
{
    CViewBaseWnd::keyPressEvent(event);
    CancelMode();
}

void CGraphViewWnd::resizeEvent(QResizeEvent* event)
{
    CViewBaseWnd::resizeEvent(event);
    if (width() > 0 && height() > 0)
        CancelMode();
}

void CGraphViewWnd::enterEvent(QEnterEvent* event)
{
    CViewBaseWnd::enterEvent(event);
    SetViewUnderMouse(this);
}

void CGraphViewWnd::leaveEvent(QEvent* event)
{
    if (ViewUnderMouse() == this)
        SetViewUnderMouse(nullptr);
    currentCursor = kCursorArrow;
    setCursor(ChartCursor(kCursorArrow));
    CViewBaseWnd::leaveEvent(event);
}

void CGraphViewWnd::mouseMoveEvent(QMouseEvent* event)
{
    lastMouseX = event->position().toPoint().x();
    lastMouseY = event->position().toPoint().y();
    CViewBaseWnd::mouseMoveEvent(event);
}

void CGraphViewWnd::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // A menu taking the keyboard leaves the chart the view that the menu's commands act on.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason || reason == Qt::ActiveWindowFocusReason) {
        CViewBase::hasFocus = 0;
        return;
    }
    OnGraphKillFocus();
}

} // namespace qv
