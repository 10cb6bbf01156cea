// Messaging against the feed stand-in: the log-on brings the profile and the two members, a message
// to the member who answers comes back on the poll, a service address answers too, and a profile
// whose nickname another member holds is reported.
#include "devtools/lib/FeedSimulator.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "platform/MessageDispatch.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/messaging/MemberMessaging.h"
#include "tests/realtime/store/RTStoreFixture.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace qv {
namespace {

class MemberMessagingFeedTest : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        WriteDay(MakeDay(test::kFri4, {0x4001}));
        WriteIndex();
        Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 1;
        TheMemberMessaging().Reset();
        // Notices earlier feed tests posted and never delivered (a dropped connection's step among
        // them) must not reach this test's engine.
        DeliverPostedMessages();
    }
    void TearDown() override
    {
        StopRTEngine();
        DeliverPostedMessages();
        TheMemberMessaging().Reset();
        TheMemberMessagingHooks() = {};
        unsetenv("QV_FEED_SERVER");
        Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 0;
        TheRTEngine().running = false;
        test::RTStoreTest::TearDown();
    }
    // Delivers the feed thread's notices until the condition holds, at most two minutes (a hang guard, not a bound).
    template <typename F> static bool WaitFor(F condition)
    {
        for (int i = 0; i < 2400; ++i) {
            DeliverPostedMessages();
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return condition();
    }
};

TEST_F(MemberMessagingFeedTest, AMessageToAMemberIsAnsweredAndATakenNicknameIsReported)
{
    dev::FeedSimulatorOptions options;
    options.folder = dir.path();
    options.port = 0;
    options.day = test::kMon7;
    dev::FeedSimulator sim(options);
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    setenv("QV_FEED_SERVER", ("127.0.0.1:" + std::to_string(sim.port())).c_str(), 1);
    ASSERT_TRUE(StartRTEngine());
    MemberMessaging& m = TheMemberMessaging();
    ASSERT_TRUE(WaitFor([&] { return m.Contacts().size() == 2 && RTConnectionStep() == kFeedConnected; }))
        << "step " << RTConnectionStep() << ", " << m.Contacts().size() << " contacts";
    EXPECT_EQ(m.Profile().member, dev::kSimulatedAccount);
    EXPECT_EQ(m.Profile().nickname(), "DemoInvestor");

    int arrivals = 0;
    TheMemberMessagingHooks().messageArrived = [&] { ++arrivals; };
    EXPECT_TRUE(m.Post(dev::kSimulatedReplier, "Fairhaven", "Worth a look?"));
    EXPECT_TRUE(m.Post(kAddressWishlist, "Idea", "Dark charts"));
    EXPECT_TRUE(m.Post(dev::kSimulatedClosed, "Hello", "Anyone there?")) << "the server takes it, nobody answers";
    m.Poll();
    ASSERT_TRUE(WaitFor([&] { return m.Inbox().size() == 2; }));
    EXPECT_GE(arrivals, 1);
    const std::vector<MemberMessage> inbox = m.Inbox();
    EXPECT_EQ(inbox[0].sender, dev::kSimulatedReplier);
    EXPECT_EQ(inbox[0].subject, "Re: Fairhaven");
    EXPECT_EQ(inbox[1].sender, kAddressWishlist);
    EXPECT_EQ(MemberName(inbox[1].sender, m.Contacts()), "Quorvantis wishlist");
    EXPECT_EQ(m.Outbox().size(), 3u);

    bool clash = false;
    TheMemberMessagingHooks().nicknameInUse = [&] { clash = true; };
    ContactRecord profile = m.Profile();
    profile.nickname() = "MAGPIE";
    m.SetProfile(profile);
    ASSERT_TRUE(WaitFor([&] { return clash; }));
    EXPECT_EQ(m.NicknameReported(), "MAGPIE");
}

} // namespace
} // namespace qv
