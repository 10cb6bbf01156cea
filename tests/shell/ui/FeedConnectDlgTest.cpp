// The connecting dialog: it follows the connection steps, shows success only after a real step 7
// and, closed early, stays up on a timer until 3 s after it opened.
#include "shell/ui/FeedConnectDlg.h"

#include "realtime/FeedStates.h"
#include "realtime/feed/RTEngine.h"
#include "shell/FeedClient.h"
#include "support/ui/Render.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

namespace qv {
namespace {

QString StatusText(QWidget& dialog)
{
    QString text;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->objectName().isEmpty())
            text = label->text();
    return text;
}

// The engine's last failure is what a feed test run earlier in the process left; this dialog opens
// with none, as at a program's first connection.
class FeedConnectDlgTest : public ::testing::Test {
protected:
    void SetUp() override { TheRTEngine().failure = 0; }
};

TEST_F(FeedConnectDlgTest, FollowsTheStepsAndClosesAfterThreeSecondsWithoutBlocking)
{
    QPointer<CFeedConnectDlg> dialog = CFeedConnectDlg::Open(nullptr);
    ASSERT_TRUE(dialog);
    auto* bar = dialog->findChild<QProgressBar*>();
    ASSERT_TRUE(bar);
    FeedConnectProgressHook()(kFeedLocating);
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(StatusText(*dialog), "Locating an intraday server.");
    test::SaveRender(test::RenderWidget(*dialog), "FeedConnectDlg");

    // Closed at once without a connection: no success shown, and the close returns without waiting
    // out the dialog's three seconds (the user-interface thread does not sleep): it is still up.
    QElapsedTimer call;
    call.start();
    CFeedConnectDlg::CloseCurrent();
    EXPECT_EQ(CFeedConnectDlg::Current(), nullptr);
    EXPECT_TRUE(dialog && dialog->isVisible()) << "it stays up";
    EXPECT_EQ(StatusText(*dialog), "Locating an intraday server.");
    EXPECT_FALSE(FeedConnectProgressHook()) << "a closing dialog follows no more steps";
    QTRY_VERIFY_WITH_TIMEOUT(!dialog || !dialog->isVisible(), 60000); // a hang guard, not a bound
    EXPECT_GE(call.elapsed(), 2500) << "never closed early";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(FeedConnectDlgTest, AStepSevenShowsSuccessAndCloses)
{
    QPointer<CFeedConnectDlg> dialog = CFeedConnectDlg::Open(nullptr);
    FeedConnectProgressHook()(-1);
    EXPECT_EQ(dialog->findChild<QProgressBar*>()->value(), 0);
    FeedConnectProgressHook()(kFeedConnected);
    EXPECT_EQ(StatusText(*dialog), "Success - Connected to Quorvantis Intraday.");
    EXPECT_EQ(CFeedConnectDlg::Current(), nullptr) << "closing";
    QTRY_VERIFY_WITH_TIMEOUT(!dialog || !dialog->isVisible(), 60000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace qv
