// The list cells' arrows: each drawn over the cell's colour, pointing its way, rendered to build/renders/.
#include "lists/ui/ListArrows.h"

#include "core/ui/PenSelect.h"
#include "support/ui/Render.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace qv;

namespace {

constexpr uint32_t kArrow = 0x008000; // green
constexpr uint32_t kCell = 0xF6F6F6;

QImage Arrow(int arrow, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    DrawListArrow(painter, QRect(0, 0, size, size), arrow, kArrow, kCell);
    return image;
}

// How far a pixel lies from the cell's colour towards the arrow's (green channel drop).
int Ink(const QImage& image, int x, int y) { return 0xF6 - qGreen(image.pixel(x, y)) + (0xF6 - qRed(image.pixel(x, y))); }

} // namespace

TEST(ListArrows, EachArrowSitsOnTheCellAndPointsItsWay)
{
    for (int size : {12, 32}) {
        const QImage up = Arrow(1, size), down = Arrow(-1, size), same = Arrow(0, size);
        for (const QImage* image : {&up, &down, &same})
            EXPECT_EQ(WordFromColour(image->pixelColor(0, 0)), kCell) << "the cell shows around the arrow, " << size;
        const int mid = size / 2, top = size / 5, bottom = size - 1 - size / 5, side = size / 8;
        EXPECT_GT(Ink(up, mid, top), Ink(up, side, bottom)) << "up: a point at the top, " << size;
        EXPECT_GT(Ink(down, mid, bottom), Ink(down, side, top)) << "down: a point at the bottom, " << size;
        EXPECT_GT(Ink(same, side + 1, mid), Ink(same, side + 1, top)) << "same: a bar across, " << size;
    }
    QImage sheet(3 * 36 + 4, 40, QImage::Format_RGB32);
    sheet.fill(ColourFromWord(kCell));
    QPainter painter(&sheet);
    int x = 2;
    for (int arrow : {1, 0, -1}) {
        DrawListArrow(painter, QRect(x, 2, 12, 12), arrow, kArrow, kCell);
        DrawListArrow(painter, QRect(x, 16, 24, 24), arrow, 0x0000C0, kCell);
        x += 36;
    }
    painter.end();
    test::SaveRender(sheet, QStringLiteral("list-arrows"));
}
