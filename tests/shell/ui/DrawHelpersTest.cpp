// The double bar and keeping a rectangle inside the parent's client area.
#include "shell/ui/DrawHelpers.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

using namespace qv;

TEST(DrawHelpersTest, DoubleBarIsTwoSquares)
{
    QImage image(10, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setBrush(Qt::black);
    DrawDoubleBar(painter, 1, 1);
    painter.end();
    std::string row;
    for (int x = 0; x < 10; ++x)
        row += image.pixel(x, 1) == QColor(Qt::black).rgb() ? '#' : '.';
    EXPECT_EQ(row, ".##..##...");
    EXPECT_EQ(image.pixel(1, 3), QColor(Qt::white).rgb());
}

TEST(DrawHelpersTest, RectangleKeptInsideTheParent)
{
    QWidget parent;
    parent.setGeometry(100, 100, 300, 200);
    QWidget child(&parent);
    QPoint origin = parent.mapToGlobal(QPoint(0, 0));
    struct Case {
        QRect inParent, kept;
    } cases[] = {
        {QRect(10, 20, 50, 40), QRect(10, 20, 50, 40)},
        {QRect(-10, -5, 50, 40), QRect(0, 0, 40, 35)},
        {QRect(280, 190, 50, 40), QRect(280, 190, 20, 10)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampRectToParent(child, c.inParent.translated(origin)), c.kept);
}
