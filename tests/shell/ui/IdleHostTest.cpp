// Idle work on Qt's event loop: it runs while the queue is empty and the pump dispatches.
#include "shell/ui/IdleHost.h"

#include "lists/CachedStatistics.h"
#include "shell/IdleWork.h"
#include "support/DatabaseFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qv;

TEST(IdleHost, WalksTheDatabaseWhenTheQueueIsEmpty)
{
    std::vector<uint8_t> image = dev::WriteQuorvaDat(qv::test::OneEntry({dev::ShareRecord(0x4001, "Alpha", 'O', "ALP")}));
    LoadDatabaseFromMemory(image, nullptr);
    Idle() = IdleState{};
    CachedStatisticsCallCounts() = {};
    InstallIdleHost();

    // Something to wake the loop now and then, as input would; the walk itself needs nothing.
    QTimer keepAlive;
    keepAlive.start(10);
    QElapsedTimer clock;
    clock.start();
    while (Idle().walk.countdown != 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    keepAlive.stop();
    EXPECT_EQ(CachedStatisticsCallCounts().beta, 1u);

    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    PumpWaitingMessages();
    EXPECT_TRUE(fired);
    SetEventPump({});
    FreeDatabase(true);
}
