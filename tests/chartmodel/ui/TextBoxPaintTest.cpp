// Text boxes and alarm bells on the painter: the arrow leaving each side with its filled head, the frame
// and fill, a transparent box showing what lies under it, a font that cannot be made, and the bell
// of a line carrying an alarm.
#include "chartmodel/ui/DrawingObjectPainter.h"

#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace qv {
namespace {

DrawnLineObject Box(TextBoxBox box, ScreenPoint anchor, uint32_t style, const char* text, bool transparent = false)
{
    DrawnLineObject drawn;
    drawn.pane = {0, 0, 400, 300};
    drawn.mainLine = false;
    DrawnTextBox t;
    t.box = box;
    t.text = text;
    t.transparent = transparent;
    t.fill = 0xC0FFFF; // a light yellow (the colour word is blue, green, red from the top)
    t.arrow = TextBoxArrowFigure(box, anchor, style, 2, 1.0);
    drawn.textBox = t;
    return drawn;
}

TEST(LineAlarmBell, DrawnInItsBoxAtTheMidpointAndRingingAddsItsStrokes)
{
    auto paint = [](bool ringing) {
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        DrawnLineObject drawn;
        drawn.pane = {0, 0, 200, 100};
        drawn.mainLine = false;
        drawn.bell = DrawnLineObject::AlarmBell{{100, 50}, 0x0000FF, 0xFFFFFF, ringing};
        QPainter painter(&image);
        PaintDrawingObjects(painter, {drawn});
        return image;
    };
    const QImage plain = paint(false), ringing = paint(true);
    test::SaveRender(ringing, QStringLiteral("line_alarm_bell"));
    int inside = 0, outside = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const bool red = plain.pixel(x, y) == qRgb(255, 0, 0);
            const bool inBox = x >= 100 - 12 && x < 100 + 12 && y >= 50 - 8 && y < 50 + 8;
            (inBox ? inside : outside) += red;
        }
    EXPECT_GT(inside, 10) << "the outline in the line's colour";
    EXPECT_EQ(outside, 0) << "nothing beyond the 24 x 16 marker";
    EXPECT_NE(plain, ringing);
}

TEST(TextBoxPaint, EachArrowLeavesItsSideWithAFilledHead)
{
    using namespace textbox;
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    // One box, four anchors: left, right, above and below it.
    const TextBoxBox box{150, 120, 250, 170};
    const std::vector<DrawnLineObject> boxes{Box(box, {40, 145}, kArrowLeft, "left"),
                                             Box(box, {360, 145}, kArrowRight, "right"),
                                             Box(box, {200, 30}, kArrowTop, "top"),
                                             Box(box, {200, 270}, kArrowBottom, "bottom")};
    {
        QPainter painter(&image);
        PaintDrawingObjects(painter, boxes);
    }
    test::SaveRender(image, QStringLiteral("text_box_arrows"));
    for (const DrawnLineObject& b : boxes) {
        const TextBoxArrow& arrow = *b.textBox->arrow;
        // The head's middle, between its base and apex, is filled in the frame colour (black).
        const QPoint inside((2 * arrow.to.x + arrow.head[2].x) / 3, (2 * arrow.to.y + arrow.head[2].y) / 3);
        EXPECT_EQ(image.pixel(inside) & 0xFFFFFF, 0u) << arrow.side;
        // The line runs from the anchor.
        const QPoint onLine((arrow.from.x + arrow.to.x) / 2, (arrow.from.y + arrow.to.y) / 2);
        EXPECT_EQ(image.pixel(onLine) & 0xFFFFFF, 0u) << arrow.side;
    }
    EXPECT_EQ(image.pixel(155, 165), qRgb(255, 255, 192)) << "the fill";

    // A transparent box leaves what was under it.
    QImage under(400, 300, QImage::Format_RGB32);
    under.fill(Qt::green);
    {
        QPainter painter(&under);
        PaintDrawingObjects(painter, {Box(box, {150, 120}, kNoArrow, "", true)});
    }
    EXPECT_EQ(under.pixel(150, 120), qRgb(0, 255, 0)) << "no frame";
    EXPECT_EQ(under.pixel(200, 145), qRgb(0, 255, 0)) << "no fill";
}

TEST(TextBoxPaint, AFontThatCannotBeMadeIsReportedOnceAfterThePaintAndTheFrameStays)
{
    test::FakeMessageBox messages;
    DrawnLineObject drawn = Box({20, 20, 120, 70}, {20, 20}, textbox::kNoArrow, "unreadable");
    // A face of its own at a size no font is made at.
    const char face[] = "Liberation Sans";
    std::copy(face, face + sizeof face, drawn.textBox->font.begin() + (textbox::kFontFace - textbox::kFont));
    drawn.textBox->font[0] = 0xF0;  // height -16
    std::fill(drawn.textBox->font.begin() + 1, drawn.textBox->font.begin() + 4, 0xFF);
    drawn.textBox->pointSize = 5000;
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintDrawingObjects(painter, {drawn, drawn});
    }
    EXPECT_TRUE(messages.texts().empty()) << "never from inside the paint";
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Failed to create Text Box Font"});
    EXPECT_EQ(image.pixel(20, 40) & 0xFFFFFF, 0u) << "the frame";
    EXPECT_EQ(image.pixel(70, 30), qRgb(255, 255, 192)) << "the fill, with no text on it";
    // The same box at a size a font is made at says nothing.
    drawn.textBox->pointSize = 10;
    {
        QPainter painter(&image);
        PaintDrawingObjects(painter, {drawn});
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.texts().size(), 1u);
}

} // namespace
} // namespace qv
