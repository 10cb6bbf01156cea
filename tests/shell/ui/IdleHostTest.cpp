// Idle work on Qt's event loop: it runs while the queue is empty and the pump dispatches.
#include "shell/ui/IdleHost.h"

#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "shell/IdleWork.h"
#include "support/DatabaseFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace qv;

namespace {

// The host stays installed for the process; each test takes the pumps' Qt dispatching and hands
// them back empty, as the other tests expect them, with no share list left from the load.
class IdleHost : public ::testing::Test {
protected:
    ~IdleHost() override
    {
        SetEventPump({});
        SetSplashInputHook({});
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
    }
};

} // namespace

TEST_F(IdleHost, WalksTheDatabaseWhenTheQueueIsEmpty)
{
    std::vector<uint8_t> image = dev::WriteQuorvaDat(qv::test::OneEntry({dev::ShareRecord(0x4001, "Alpha", 'O', "ALP")}));
    LoadDatabaseFromMemory(image, nullptr);
    Idle() = IdleState{};
    InstallIdleHost();

    // Something to wake the loop now and then, as input would; the walk itself needs nothing.
    QTimer keepAlive;
    keepAlive.start(10);
    QElapsedTimer clock;
    clock.start();
    while (Idle().walk.countdown != 0 && clock.elapsed() < 60000) // a hang guard
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    keepAlive.stop();
    EXPECT_EQ(Idle().walk.countdown, 0);

    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    PumpWaitingMessages();
    EXPECT_TRUE(fired);
    FreeDatabase(true);
}

TEST_F(IdleHost, TheSplashScreenTakesKeysAndClicksWhileItWantsThem)
{
    InstallIdleHost();
    QWidget target;
    target.show();
    bool splashTakes = true;
    int offered = 0;
    SetSplashInputHook([&] {
        ++offered;
        return splashTakes;
    });
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    bool delivered = false;
    struct Watch : QObject {
        bool* seen;
        explicit Watch(bool* s) : seen(s) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress)
                *seen = true;
            return false;
        }
    } watch(&delivered);
    target.installEventFilter(&watch);
    QCoreApplication::sendEvent(&target, &press);
    EXPECT_EQ(offered, 1);
    EXPECT_FALSE(delivered);
    splashTakes = false;
    QCoreApplication::sendEvent(&target, &press);
    EXPECT_TRUE(delivered);
}
