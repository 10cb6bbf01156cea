// Packed pens and brushes on a painter: screen and PDF, selected and released.
#include "core/ui/PenSelect.h"

#include "core/PackedPen.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

using namespace qv;

TEST(PenSelectTest, ScreenPensFollowTheWord)
{
    QImage image(20, 20, QImage::Format_RGB32);
    QPainter painter(&image);
    PenObject pen;
    SelectPackedPen(painter, pen, 0x21FFFFFF, true); // dashed, width field 2
    EXPECT_EQ(painter.pen().style(), Qt::DashLine);
    EXPECT_EQ(painter.pen().width(), 1);
    EXPECT_EQ(painter.pen().color(), QColor(Qt::white));
    ReleasePen(painter, pen);
    EXPECT_EQ(painter.pen().color(), QColor(Qt::black));

    QPen before = SelectPackedPen(painter, pen, 0x200000FF, true);
    EXPECT_EQ(before.color(), QColor(Qt::black));
    EXPECT_EQ(painter.pen().width(), 3);
    EXPECT_EQ(painter.pen().capStyle(), Qt::SquareCap);
    EXPECT_EQ(painter.pen().joinStyle(), Qt::MiterJoin);
    EXPECT_EQ(painter.pen().color(), QColor(255, 0, 0)); // red is the low byte
    ReleasePen(painter, pen);

    BrushObject brush;
    SelectSolidBrush(painter, brush, 0x1200FF00);
    EXPECT_EQ(painter.brush().color(), QColor(0, 255, 0));
    ReleaseBrush(painter, brush);
    EXPECT_EQ(painter.brush().color(), QColor(Qt::white));
}

TEST(PenSelectTest, PrintedWhiteIsBlackAndWidthsDouble)
{
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath("pen.pdf"));
    QPainter painter(&pdf);
    EXPECT_TRUE(DeviceOf(painter).printing);
    SetDoublePrintWidths(true);
    PenObject pen;
    SelectPackedPen(painter, pen, 0x10FFFFFF);
    EXPECT_EQ(painter.pen().color(), QColor(Qt::black));
    EXPECT_EQ(painter.pen().width(), 4);
    ReleasePen(painter, pen);
    SetDoublePrintWidths(false);
    painter.end();
}

TEST(PenSelectTest, WordsAndColours)
{
    EXPECT_EQ(WordFromColour(ColourFromWord(0x00345678)), 0x00345678u);
    EXPECT_EQ(ColourFromWord(0xFF0000FF), QColor(255, 0, 0));
}
