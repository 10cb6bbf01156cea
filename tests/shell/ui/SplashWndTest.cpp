// The splash: its picture and status line as rendered, the status and progress calls, the first key
// or click that removes it, and its end half a second after start-up.
#include "shell/ui/SplashWnd.h"

#include "platform/MessageBox.h"
#include "shell/SplashStatus.h"
#include "support/ui/Render.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv;

namespace {

class SplashFixture : public ::testing::Test {
protected:
    ~SplashFixture() override
    {
        EnableSplash(false);
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(SplashFixture, StatusAndProgressMoveTheShownSplashAndItRenders)
{
    ASSERT_TRUE(test::FontsAvailable());
    EnableSplash(true);
    ShowSplash(nullptr);
    CSplashWnd* splash = SplashWindow();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->size(), QSize(CSplashWnd::kWidth, CSplashWnd::kHeight));
    EXPECT_EQ(splash->status(), QStringLiteral("Starting Quorvantis"));

    SetSplashStatus(35, "Loading end of day database");
    EXPECT_EQ(splash->status(), QStringLiteral("Loading end of day database"));
    EXPECT_EQ(splash->progress().position(), 35);
    SetSplashProgress(60);
    EXPECT_EQ(splash->progress().position(), 60);
    // The bar sits a twenty-fifth of the width in, an eighth of the height from the bottom.
    EXPECT_EQ(splash->progress().geometry(), QRect(480 / 25 - 3, 320 - 320 / 8, 480 - 480 / 25 - (480 / 25 - 3), 18));

    QImage image = test::RenderWidget(*splash);
    test::SaveRender(image, QStringLiteral("splash"));
    // The bar is filled to its position and empty beyond it.
    QRect bar = splash->progress().geometry();
    QColor filled = image.pixelColor(bar.left() + bar.width() * 30 / 100, bar.center().y());
    QColor empty = image.pixelColor(bar.left() + bar.width() * 90 / 100, bar.center().y());
    EXPECT_EQ(empty, QColor(0xFA, 0xFA, 0xFF));
    EXPECT_NE(filled, empty);

    // Only one splash at a time.
    ShowSplash(nullptr);
    EXPECT_EQ(SplashWindow(), splash);
}

TEST_F(SplashFixture, WithoutASplashStatusCallsDoNothing)
{
    EnableSplash(false);
    ShowSplash(nullptr);
    EXPECT_EQ(SplashWindow(), nullptr);
    SetSplashStatus(50, "Loading views");
    SetSplashProgress(70);
}

TEST_F(SplashFixture, TheFirstKeyOrClickRemovesItAndIsEaten)
{
    EnableSplash(true);
    ShowSplash(nullptr);
    ASSERT_NE(SplashWindow(), nullptr);
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    EXPECT_TRUE(HideSplashOnInput(click));
    EXPECT_EQ(SplashWindow(), nullptr);
    EXPECT_FALSE(HideSplashOnInput(click)) << "passed on once the splash is gone";

    ShowSplash(nullptr);
    QEvent paint(QEvent::Paint);
    EXPECT_FALSE(HideSplashOnInput(paint));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    EXPECT_TRUE(HideSplashOnInput(key));
    EXPECT_EQ(SplashWindow(), nullptr);
}

TEST_F(SplashFixture, EndSplashRemovesItHalfASecondLater)
{
    EnableSplash(true);
    ShowSplash(nullptr);
    EndSplash();
    EXPECT_NE(SplashWindow(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([] { return SplashWindow() == nullptr; }, 60000));
}

TEST_F(SplashFixture, AMessageDuringLoadingRemovesItBeforeTheBoxOpens)
{
    bool splashUpWhenAsked = true;
    EnableSplash(true);
    ShowSplash(nullptr);
    ASSERT_NE(SplashWindow(), nullptr);
    struct Probe : MessageBoxHost {
        bool* seen;
        MsgAnswer show(const MessageRequest&) override
        {
            *seen = SplashWindow() != nullptr;
            return MsgAnswer::Ok;
        }
    } probe;
    probe.seen = &splashUpWhenAsked;
    MessageBoxHost* previous = SetMessageBoxHost(&probe);
    ShowMessage("Unable to find data\\Quorva.dat");
    SetMessageBoxHost(previous);
    EXPECT_FALSE(splashUpWhenAsked) << "the box would open under the splash and its first click be eaten";
    EXPECT_EQ(SplashWindow(), nullptr);
}
