// Member messaging on the client's queues: records collected piece by piece from the server, the
// profile and contacts merged by member number, Post and the sending order, deletions freed, and
// the poll.
#include "realtime/messaging/MemberMessaging.h"

#include "devtools/lib/FeedMembers.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/TimerQueue.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

struct Sent {
    uint8_t code;
    std::vector<uint8_t> data;
};

class MemberMessagingTest : public ::testing::Test {
protected:
    MemberMessagingTest()
    {
        // Notices an earlier feed test in this process posted and never delivered would otherwise
        // reach this test's engine state at its first delivery.
        DeliverPostedMessages();
        m.Reset();
        TheMemberMessagingHooks().send = [this](std::span<const uint8_t> data, uint8_t code) {
            if (failAt >= 0 && int(sent.size()) == failAt)
                return -1;
            sent.push_back({code, {data.begin(), data.end()}});
            return int(data.size());
        };
    }
    ~MemberMessagingTest() override
    {
        m.Reset();
        TheMemberMessagingHooks().send = nullptr;
        SetConnected(false);
        DeliverPostedMessages();
    }
    static void SetConnected(bool connected)
    {
        RTEngineState = connected ? kEngineRunning : kEngineStopped;
        RTConnectionStep() = connected ? kFeedConnected : kFeedDisconnected;
    }
    // The server's pieces of one record in slot `slot`, `chunk` bytes at a time, the last `drop`
    // bytes left out.
    void Receive(uint16_t kind, const std::vector<uint8_t>& record, uint8_t slot = 0, size_t chunk = 100, size_t drop = 0)
    {
        std::vector<FeedFrame> pieces = dev::MemberRecordPieces(slot, ++sequence, kind, record, chunk);
        std::vector<uint8_t>& last = pieces[pieces.size() - 2].payload;
        last.resize(last.size() - drop);
        for (const FeedFrame& f : pieces)
            m.HandleFrame(f);
    }
    static ContactRecord Contact(int32_t member, const char* nickname, uint32_t flags)
    {
        ContactRecord c;
        c.member = member;
        c.flags = flags;
        c.nickname() = nickname;
        return c;
    }
    static MemberMessage From(int32_t sender, const char* subject)
    {
        MemberMessage msg;
        msg.sender = sender;
        msg.receiver = 1001;
        msg.date = PackDate(9, 12, 2026);
        msg.subject = subject;
        return msg;
    }
    std::vector<uint8_t> Codes() const
    {
        std::vector<uint8_t> codes;
        for (const Sent& s : sent)
            codes.push_back(s.code);
        return codes;
    }

    MemberMessaging& m = TheMemberMessaging();
    std::vector<Sent> sent;
    int failAt = -1;
    uint32_t sequence = 0;
};

TEST_F(MemberMessagingTest, PiecesBecomeTheProfileContactsAndInboxOnTheInterfaceThread)
{
    bool arrived = false;
    TheMemberMessagingHooks().messageArrived = [&] { arrived = true; };
    Receive(kFeedMessageContact, Contact(1001, "DemoInvestor", kContactOwn | kContactAccepts).Write());
    Receive(kFeedMessageContact, Contact(2001, "Bullfinch", kContactConnected).Write(), 3);
    Receive(kFeedMessageContact, Contact(2002, "Magpie", 0).Write(), 6, 7);
    EXPECT_TRUE(m.Contacts().empty()) << "nothing moves until the interface thread distributes";
    DeliverPostedMessages();
    EXPECT_FALSE(arrived) << "records only";
    EXPECT_EQ(m.Profile().nickname(), "DemoInvestor");
    EXPECT_EQ(m.Profile().member, 1001);
    ASSERT_EQ(m.Contacts().size(), 2u) << "the user's own record is not a contact";

    // A record for a member already listed takes its place; a message cut short is dropped.
    Receive(kFeedMessageContact, Contact(2001, "Bullfinch", 0).Write());
    Receive(kFeedMessageMember, From(2001, "Lost").Write(), 1, 10, 3);
    Receive(kFeedMessageMember, From(2001, "Results").Write(), 2, 240);
    DeliverPostedMessages();
    EXPECT_TRUE(arrived);
    ASSERT_EQ(m.Contacts().size(), 2u);
    EXPECT_FALSE(m.Contacts()[0].connected()) << "merged in place";
    ASSERT_EQ(m.Inbox().size(), 1u);
    EXPECT_EQ(m.Inbox()[0].subject, "Results");
    EXPECT_TRUE(m.MessageWaiting());
    EXPECT_EQ(m.NewestUnannounced()->subject, "Results");
    m.MarkAllAnnounced();
    EXPECT_FALSE(m.MessageWaiting());
    TheMemberMessagingHooks().messageArrived = nullptr;

    // The nickname the server refused reaches the frame's hook, and again after a dialog closed
    // until the frame has shown it.
    int clashes = 0;
    TheMemberMessagingHooks().nicknameInUse = [&] { ++clashes; };
    m.HandleFrame({kFeedNicknameInUse, 0, {'M', 'a', 'g', 'p', 'i', 'e'}});
    DeliverPostedMessages();
    EXPECT_EQ(clashes, 1);
    m.RemindNicknameReport();
    EXPECT_EQ(clashes, 2) << "not shown yet";
    EXPECT_EQ(m.TakeNicknameReport(), "Magpie");
    m.RemindNicknameReport();
    EXPECT_EQ(clashes, 2);
    TheMemberMessagingHooks().nicknameInUse = nullptr;
}

TEST_F(MemberMessagingTest, APostWaitsWhileDisconnectedAndGoesInPiecesOnceConnected)
{
    const std::string text(500, 'x');
    EXPECT_FALSE(m.Post(2001, "Hello", text)) << "not connected";
    EXPECT_TRUE(sent.empty());
    ASSERT_EQ(m.Outbox().size(), 1u);
    EXPECT_EQ(m.Outbox()[0].flags, kMessageQueued);

    ContactRecord profile = m.Profile();
    profile.nickname() = "Wren";
    EXPECT_TRUE(m.SetProfile(profile));
    EXPECT_FALSE(m.SetProfile(profile)) << "unchanged";
    // The next log-on's older copy does not undo the change waiting to be sent.
    Receive(kFeedMessageContact, Contact(1001, "DemoInvestor", kContactOwn | kContactAccepts).Write());
    DeliverPostedMessages();
    EXPECT_EQ(m.Profile().nickname(), "Wren");

    SetConnected(true);
    m.SendWaiting();
    // The profile first, then the message: begin, pieces of at most 240 bytes, end.
    ASSERT_EQ(Codes(), (std::vector<uint8_t>{0x23, 0x24, 0x25, 0x23, 0x24, 0x24, 0x24, 0x25}));
    EXPECT_EQ(LoadU16(sent[0].data.data() + 8), kFeedMessageContact);
    const uint32_t length = LoadU32(sent[3].data.data());
    EXPECT_EQ(LoadU16(sent[3].data.data() + 8), kFeedMessageMember);
    std::vector<uint8_t> record;
    for (size_t i = 4; i < 7; ++i) {
        EXPECT_EQ(LoadU16(sent[i].data.data()), kFeedMessageMember) << "each piece repeats the kind";
        EXPECT_LE(sent[i].data.size(), 2 + kMessageChunkBytes);
        record.insert(record.end(), sent[i].data.begin() + 2, sent[i].data.end());
    }
    ASSERT_EQ(record.size(), length);
    auto posted = MemberMessage::Read(record);
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->text, text);
    EXPECT_EQ(posted->receiver, 2001);
    EXPECT_FALSE(m.Profile().flags & kContactChanged);
    ASSERT_EQ(m.Outbox().size(), 1u);
    EXPECT_EQ(m.Outbox()[0].flags, kMessageSent) << "moved to the sent messages";

    // A send that fails keeps the message first in the queue for the next try.
    sent.clear();
    failAt = 1;
    EXPECT_TRUE(m.Post(-2, "Help", "?"));
    EXPECT_EQ(m.queues.outgoing.size(), 1u);
    failAt = -1;
    sent.clear();
    m.SendWaiting();
    EXPECT_EQ(Codes(), (std::vector<uint8_t>{0x23, 0x24, 0x25}));
    EXPECT_EQ(m.queues.outgoing.size(), 0u);
}

TEST_F(MemberMessagingTest, AChangedChoiceIsSentOnceAndDeletionsAreFreedOnlyWhenPurged)
{
    Receive(kFeedMessageContact, Contact(2001, "Bullfinch", kChoiceSendList | kContactAccepts).Write());
    Receive(kFeedMessageMember, From(2001, "One").Write());
    Receive(kFeedMessageMember, From(-2, "Two").Write());
    DeliverPostedMessages();

    m.SetContactChoice(2001, kChoiceBlocked);
    EXPECT_EQ(m.Contacts()[0].flags, kChoiceBlocked | kContactAccepts | kContactChanged);
    SetConnected(true);
    m.SendWaiting();
    m.SendWaiting();
    EXPECT_EQ(Codes(), (std::vector<uint8_t>{0x23, 0x24, 0x25}));
    EXPECT_EQ(m.Contacts()[0].flags, kChoiceBlocked | kContactAccepts);

    EXPECT_TRUE(m.ToggleDeleted(false, 1));
    EXPECT_TRUE(m.ToggleDeleted(false, 0));
    EXPECT_TRUE(m.ToggleDeleted(false, 0)) << "undeleted";
    EXPECT_FALSE(m.ToggleDeleted(false, 2));
    ASSERT_EQ(m.Inbox().size(), 2u) << "marked, not freed";
    EXPECT_TRUE(m.Inbox()[1].flags & kMessageDeleted);
    EXPECT_EQ(m.PurgeDeleted(), 1u);
    ASSERT_EQ(m.Inbox().size(), 1u);
    EXPECT_EQ(m.Inbox()[0].subject, "One");
}

TEST_F(MemberMessagingTest, ThePollAsksOnlyWhileTheEngineRuns)
{
    m.Poll();
    EXPECT_TRUE(sent.empty());
    RTEngineState = kEngineRunning;
    RTConnectionStep() = kFeedLocating;
    m.Post(-1, "Hello", "text");
    m.Poll();
    EXPECT_EQ(Codes(), (std::vector<uint8_t>{0x39})) << "the message waits for step 7";

    // The messages dialog's poll: at once, then every 20 s on the timer queue until stopped.
    sent.clear();
    CTimerQueue& queue = TimerQueue();
    const size_t entries = queue.entryCount();
    m.StartPolling();
    EXPECT_EQ(queue.entryCount(), entries + 1);
    const uint32_t start = SteadyTickCount();
    queue.DispatchDue(start + kMessagePollMs - 1000);
    DeliverPostedMessages();
    EXPECT_EQ(Codes(), (std::vector<uint8_t>{0x39})) << "not yet due";
    queue.DispatchDue(start + kMessagePollMs + 1000);
    DeliverPostedMessages();
    EXPECT_EQ(Codes(), (std::vector<uint8_t>{0x39, 0x39}));
    m.StopPolling();
    queue.DispatchDue(start + 3 * kMessagePollMs);
    DeliverPostedMessages();
    EXPECT_EQ(sent.size(), 2u) << "removed with the dialog";
}

} // namespace
} // namespace qv
