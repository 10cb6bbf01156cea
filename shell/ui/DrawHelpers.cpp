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

namespace qv {

void Draw3DFrame(QPainter& painter, int left, int top, int right, int bottom, bool closeCorner)
{
    painter.save();
    painter.setPen(QColor(0, 0, 0));
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(left, bottom, right, bottom);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(right - 1, top + 1, right - 1, bottom - 1);
    painter.drawLine(left + 1, bottom - 1, right - 1, bottom - 1);
    painter.setPen(QColor(0xFF, 0xFF, 0xFF));
    painter.drawLine(left, top, right - 1, top);
    painter.drawLine(left, closeCorner ? top : top + 1, left, bottom - 1);
    painter.restore();
}

void DrawSunkenFrame(QPainter& painter, int left, int top, int right, int bottom)
{
    painter.save();
    painter.setPen(QColor(0xFF, 0xFF, 0xFF));
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(left, bottom, right, bottom);
    painter.setPen(QColor(0, 0, 0));
    painter.drawLine(left, top, right - 1, top);
    painter.drawLine(left, top, left, bottom - 1);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(left + 1, top + 1, right - 2, top + 1);
    painter.drawLine(left + 1, top + 1, left + 1, bottom - 2);
    painter.restore();
}

} // namespace qv
