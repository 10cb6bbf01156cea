// Tests of button images drawn from masks: colours, the cache, and renders at three sizes.
#include "shell/ui/ButtonBitmaps.h"

#include "core/ui/PenSelect.h"
#include "support/ui/Render.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace qv;

namespace {

constexpr uint32_t kBase = 0x0000C0;   // dark red
constexpr uint32_t kSecond = 0xFFE0A0; // light blue

// A disc, its right half, a ring and a dot: white shapes on black.
void RegisterTestMasks()
{
    for (int m = 0; m < 4; ++m) {
        QImage mask(64, 64, QImage::Format_RGB32);
        mask.fill(Qt::black);
        QPainter painter(&mask);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        switch (m) {
        case 0: painter.drawEllipse(QRect(4, 4, 56, 56)); break;
        case 1: painter.drawRect(QRect(32, 0, 32, 64)); break;
        case 2: painter.setPen(QPen(Qt::white, 4)), painter.setBrush(Qt::NoBrush), painter.drawEllipse(QRect(12, 12, 40, 40)); break;
        default: painter.drawEllipse(QRect(26, 26, 12, 12)); break;
        }
        painter.end();
        RegisterButtonMask(9801 + m, mask);
    }
}

QImage DrawInto(CButtonBitmaps& bitmaps, int size, int state = 0)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    bitmaps.Draw(painter, QRect(0, 0, size, size), QSize(size, size), kBase, kSecond, state);
    return image;
}

TEST(ButtonBitmaps, MasksAreLaidInTheirColoursAndBuiltOncePerKey)
{
    RegisterTestMasks();
    CButtonBitmaps bitmaps(9801, 9802, 9803, 9804);
    ASSERT_TRUE(bitmaps.present(3));
    QImage full = DrawInto(bitmaps, 64);
    auto colours = MaskColours(kBase, kSecond);
    EXPECT_EQ(WordFromColour(full.pixelColor(6, 32)), colours[0]) << "the disc alone";
    EXPECT_EQ(WordFromColour(full.pixelColor(56, 32)), colours[1]) << "the half over the disc";
    EXPECT_EQ(WordFromColour(full.pixelColor(32, 32)), colours[3]) << "the dot over everything";
    EXPECT_EQ(full.pixelColor(0, 0), QColor(Qt::gray)) << "outside every mask the button shows what it is drawn over";
    EXPECT_EQ(bitmaps.builds(), 1);

    DrawInto(bitmaps, 64);
    EXPECT_EQ(bitmaps.builds(), 1) << "the same size and colours twice build once";
    DrawInto(bitmaps, 24);
    DrawInto(bitmaps, 64);
    EXPECT_EQ(bitmaps.builds(), 2) << "two copies are kept";
    DrawInto(bitmaps, 64, 1);
    EXPECT_EQ(bitmaps.builds(), 3) << "another state is another image";
    DrawInto(bitmaps, 24);
    EXPECT_EQ(bitmaps.builds(), 3) << "the copy not replaced last stays";
    DrawInto(bitmaps, 64);
    EXPECT_EQ(bitmaps.builds(), 4) << "the copy replaced was the one drawn before";
}

TEST(ButtonBitmaps, RendersAtThreeSizes)
{
    RegisterTestMasks();
    CButtonBitmaps bitmaps(9801, 9802, 9803, 9804);
    QImage sheet(16 + 40 + 96 + 16, 100, QImage::Format_RGB32);
    sheet.fill(Qt::lightGray);
    QPainter painter(&sheet);
    int x = 4;
    for (int size : {16, 40, 96}) {
        bitmaps.Draw(painter, QRect(x, 2, size, size), QSize(size, size), kBase, kSecond, 0);
        x += size + 4;
    }
    painter.end();
    EXPECT_EQ(bitmaps.builds(), 3);
    QImage small = DrawInto(bitmaps, 16);
    EXPECT_NE(small.pixelColor(8, 8), small.pixelColor(1, 1)) << "area averaging keeps the shape";
    // The disc's edge at 16 pixels is partly covered: between the disc's colour and the grey beneath.
    const QColor edge = small.pixelColor(2, 3);
    EXPECT_NE(edge, QColor(Qt::gray));
    EXPECT_NE(WordFromColour(edge), MaskColours(kBase, kSecond)[0]);
    EXPECT_EQ(small.pixelColor(0, 0), QColor(Qt::gray));
    test::SaveRender(sheet, QStringLiteral("button-bitmaps"));
}

TEST(ButtonBitmaps, WithoutTheOptionalMasksOnlyTheFirstIsLaid)
{
    RegisterTestMasks();
    CButtonBitmaps bitmaps(9801);
    EXPECT_FALSE(bitmaps.present(1));
    QImage image = DrawInto(bitmaps, 64);
    EXPECT_EQ(WordFromColour(image.pixelColor(56, 32)), MaskColours(kBase, kSecond)[0]);
}

} // namespace
