// Drawing and placement helpers.
#include "shell/ui/DrawHelpers.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace qv {

void DrawDoubleBar(QPainter& painter, int x, int y)
{
    painter.fillRect(QRect(x, y, 2, 2), painter.brush());
    painter.fillRect(QRect(x + 4, y, 2, 2), painter.brush());
}

QRect ClampRectToParent(const QWidget& window, const QRect& screenRect)
{
    const QWidget* parent = window.parentWidget();
    QPoint topLeft = parent ? parent->mapFromGlobal(screenRect.topLeft()) : screenRect.topLeft();
    QSize client = parent ? parent->size() : screenRect.size();
    int left = std::max(topLeft.x(), 0);
    int top = std::max(topLeft.y(), 0);
    int right = std::min(topLeft.x() + screenRect.width(), client.width());
    int bottom = std::min(topLeft.y() + screenRect.height(), client.height());
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace qv
