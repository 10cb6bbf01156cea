// The colour slider widget: gradient, thumb, mouse and keys, and its notices.
#include "shell/ui/DrawSlider.h"

#include "support/ui/Render.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

TEST(DrawSliderTest, LightnessRunsWhiteBaseBlackDownTheChannel)
{
    CDrawSlider slider(0x0000FF, true);
    slider.resize(30, 300);
    QImage image = RenderWidget(slider);
    SaveRender(image, "colour-slider");
    QRect channel = slider.channelRect();
    QColor top = image.pixelColor(channel.center().x(), channel.top() + 1);
    QColor middle = image.pixelColor(channel.center().x(), channel.center().y());
    QColor bottom = image.pixelColor(channel.center().x(), channel.bottom() - 1);
    EXPECT_GT(top.green(), 240);
    EXPECT_GT(middle.red(), 230);
    EXPECT_LT(middle.green(), 30);
    EXPECT_LT(bottom.red(), 20);
}

TEST(DrawSliderTest, KeysAndDragsReportTheirMoves)
{
    CDrawSlider slider(0x808080, true);
    slider.resize(30, 300);
    QSignalSpy spy(&slider, &CDrawSlider::scrolled);
    slider.SetThumbPos(250);
    QTest::keyClick(&slider, Qt::Key_PageDown);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.last().at(0).toUInt(), SliderNotice(255, SliderPageDown));

    // A drag from the thumb to far above the channel gives the minimum, far below the maximum.
    QPoint thumb = slider.thumbRect().center();
    QTest::mousePress(&slider, Qt::LeftButton, {}, thumb);
    QMouseEvent up(QEvent::MouseMove, QPointF(thumb.x(), -200), QPointF(thumb.x(), -200), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&slider, &up);
    EXPECT_EQ(slider.position(), 0);
    EXPECT_EQ(spy.last().at(0).toUInt(), SliderNotice(0, SliderThumbTrack));
    QMouseEvent down(QEvent::MouseMove, QPointF(thumb.x(), 900), QPointF(thumb.x(), 900), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&slider, &down);
    EXPECT_EQ(slider.position(), 255);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(thumb.x(), 290));
    EXPECT_EQ(spy.last().at(0).toUInt(), SliderNotice(255, SliderThumbPosition));
}

TEST(DrawSliderTest, BaseColourOfAGrey)
{
    CDrawSlider slider(0x808080, true);
    slider.resize(30, 300);
    slider.SetBaseColour(0x404040);
    EXPECT_EQ(slider.baseColour(), 0x808080u);
    EXPECT_EQ(slider.position(), 191);
    EXPECT_EQ(slider.GetColour(), 0x404040u);
}

TEST(DrawSliderTest, AnEmptyRangeNeverDividesByZero)
{
    CDrawSlider slider(0xFF0000, false);
    slider.resize(30, 0);
    slider.SetRange(10, 10, true);
    slider.SetThumbPos(10);
    RenderWidget(slider);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(slider.position(), 10);
}
