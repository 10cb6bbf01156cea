// The feed client's user-interface side against the feed stand-in: the start-up's connect as "Auto
// connect" says, its retry when no server answers, and the alert on a lost connection.
#include "shell/FeedClient.h"
#include "shell/FrameDialogSeams.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "devtools/lib/FeedSimulator.h"
#include "platform/MessageDispatch.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/feed/RTReconnect.h"
#include "shell/StartupSteps.h"
#include "tests/realtime/store/RTStoreFixture.h"
#include "tests/support/FakeMessageBox.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace qv {
namespace {

using test::kFri4;
using test::kMon7;

class FeedClientTest : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        // Other tests clear the engine's hooks: the program's are put back.
        InstallFeedClient();
        saved_ = Config().optionsA;
        WriteDay(MakeDay(kFri4, {0x4001, 0x4002}));
        WriteIndex();
        Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 1;
        ClearRTStoppingFlags();
        TheRTReconnect().attempts = 0;
        TheRTEngine().failure = 0;
    }
    void TearDown() override
    {
        StopRTEngine();
        DeliverPostedMessages();
        CancelRTReconnect();
        TheRTReconnect().attempts = 0;
        TheRTEngine().failure = 0;
        TheRTEngine().running = false;
        unsetenv("QV_FEED_SERVER");
        Config().optionsA = saved_;
        test::RTStoreTest::TearDown();
    }
    static void Settings(bool autoConnect, bool alert)
    {
        RTFeedSettings s = CurrentRTFeedSettings();
        s.autoConnect = autoConnect;
        s.disconnectAlert = alert;
        StoreRTFeedSettings(s);
    }
    // Waits until the condition holds, at most two minutes (a hang guard, not a bound).
    template <typename F> static bool WaitFor(F condition)
    {
        for (int i = 0; i < 2400 && !condition(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return condition();
    }
    OptionBlockA saved_;
};

// A program that never stored the feed settings connects at start, as before the choice existed.
TEST(FeedClientSettings, AutoConnectIsOnUntilTheUserTurnsItOff)
{
    EXPECT_TRUE(ReadRTFeedSettings(OptionBlockA{}).autoConnect);
    OptionBlockA block{};
    RTFeedSettings s;
    s.autoConnect = false;
    WriteRTFeedSettings(block, s);
    EXPECT_FALSE(ReadRTFeedSettings(block).autoConnect);
}

// Without "Auto connect" the start-up leaves the feed alone; with it, the start-up's attempt that
// finds no server ends with its reason and puts the next attempt on the timer, as a drop does.
TEST_F(FeedClientTest, TheStartUpConnectsAsAutoConnectSaysAndRetriesWhenNoServerAnswers)
{
    setenv("QV_FEED_SERVER", "127.0.0.1:1", 1);
    Settings(false, true);
    steps::StartRTEngine();
    EXPECT_EQ(RTEngineState, kEngineStopped);
    EXPECT_FALSE(RTFeedThreadRunning());

    Settings(true, true);
    test::FakeMessageBox boxes;
    steps::StartRTEngine();
    ASSERT_TRUE(WaitFor([] { return !RTFeedThreadRunning(); }));
    DeliverPostedMessages();
    EXPECT_EQ(TheRTEngine().failure, kFeedNoServer);
    EXPECT_EQ(RTEngineState, kEngineStopped);
    EXPECT_TRUE(TheRTReconnect().scheduled) << "the start-up's failure is tried again";
    EXPECT_TRUE(boxes.shown().empty()) << "no connection was lost: no alert";
}

// A connection that completed its day and then dropped raises the alert when the option asks for
// it, naming why and that another attempt follows; without the option nothing is shown.
TEST_F(FeedClientTest, ALostConnectionAlertsAsTheOptionSays)
{
    dev::FeedSimulatorOptions options;
    options.folder = dir.path();
    options.port = 0;
    options.day = kMon7;
    dev::FeedSimulator sim(options);
    ASSERT_TRUE(sim.Start(nullptr));
    setenv("QV_FEED_SERVER", ("127.0.0.1:" + std::to_string(sim.port())).c_str(), 1);
    for (bool alert : {true, false}) {
        Settings(true, alert);
        test::FakeMessageBox boxes;
        ClearRTStoppingFlags();
        TheRTReconnect().attempts = 0;
        ASSERT_TRUE(StartRTEngine());
        ASSERT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; }));
        sim.DropConnections();
        ASSERT_TRUE(WaitFor([] { return !RTFeedThreadRunning(); }));
        DeliverPostedMessages();
        EXPECT_EQ(RTEngineState, kEngineStopped);
        EXPECT_TRUE(TheRTReconnect().scheduled);
        if (alert) {
            ASSERT_EQ(boxes.texts().size(), 1u);
            EXPECT_EQ(boxes.texts()[0], FeedDisconnectAlertText(0, true));
            EXPECT_NE(boxes.texts()[0].find("Error - Unable to maintain connection."), std::string::npos);
        } else {
            EXPECT_TRUE(boxes.shown().empty());
        }
        CancelRTReconnect();
    }
}

// A new day arrives with the catch-up that brings it, and the purge dialog refuses to open while a
// catch-up runs: the new day's purge (or reminder) waits for the catch-up's end, and runs once.
TEST_F(FeedClientTest, ANewDaysPurgeWaitsForTheCatchUpToEnd)
{
    int calls = 0;
    int32_t stepAtCall = -1;
    const auto saved = FrameDialogs().newTradingDay;
    FrameDialogs().newTradingDay = [&] {
        ++calls;
        stepAtCall = RTConnectionStep();
    };
    SetRTConnectionState(kFeedBackfilling);
    TheRTEngineHooks().postToMainWindow(kMsgRTNewDay);
    DeliverPostedMessages();
    EXPECT_EQ(calls, 0) << "not while the catch-up runs";
    SetRTConnectionState(kFeedConnected);
    DeliverPostedMessages();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(stepAtCall, kFeedConnected);
    SetRTConnectionState(kFeedBackfilling);
    SetRTConnectionState(kFeedConnected);
    DeliverPostedMessages();
    EXPECT_EQ(calls, 1) << "once a day";
    TheRTEngineHooks().postToMainWindow(kMsgRTNewDay);
    DeliverPostedMessages();
    EXPECT_EQ(calls, 2) << "a day that begins live checks at once";
    SetRTConnectionState(kFeedDisconnected);
    DeliverPostedMessages();
    FrameDialogs().newTradingDay = saved;
}

} // namespace
} // namespace qv
