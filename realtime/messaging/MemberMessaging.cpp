// Member messaging: collection, distribution, the lists, posting and sending.
#include "realtime/messaging/MemberMessaging.h"

#include "platform/ByteOrder.h"
#include "platform/Clock.h"
#include "platform/MessageDispatch.h"
#include "platform/Registry.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/TimerQueue.h"
#include "realtime/feed/RTFeedClient.h"

#include <utility>

namespace qv {
namespace {

constexpr uint32_t kMsgCollected = WM_USER + 93; // from the feed thread: a record was collected
constexpr uint32_t kMsgNickname = WM_USER + 94;  // from the feed thread: the nickname was refused
constexpr const char* kPolicySection = "RTComms2004";
constexpr const char* kPolicyName = "MessagingPolicy";

// Runs the feed thread's notices and the poll's timer on the user-interface thread.
class MessagingWindow : public MessageTarget {
public:
    intptr_t onProgramMessage(uint32_t message, uintptr_t, intptr_t) override
    {
        MemberMessaging& m = TheMemberMessaging();
        switch (message) {
        case kMsgCollected:
            if (m.Distribute())
                if (const auto& arrived = TheMemberMessagingHooks().messageArrived)
                    arrived();
            return 1;
        case kMsgNickname: m.RemindNicknameReport(); return 1;
        case kWindowTimerMessage: m.Poll(); return 1;
        default: return 0;
        }
    }
};

MessagingWindow& Window()
{
    static MessagingWindow window;
    return window;
}

ContactRecord DefaultProfile()
{
    ContactRecord p;
    p.flags = kContactOwn | kContactAccepts | kContactShowsConnected | kContactAlerts;
    return p;
}

std::optional<MemberMessage> ReadNode(const FeedMessageNode& n)
{
    return MemberMessage::Read(std::span(n.data.data(), std::min<size_t>(n.length, n.data.size())));
}

std::optional<ContactRecord> ReadContact(const FeedMessageNode& n)
{
    return ContactRecord::Read(std::span(n.data.data(), std::min<size_t>(n.length, n.data.size())));
}

} // namespace

MemberMessagingHooks& TheMemberMessagingHooks()
{
    static MemberMessagingHooks hooks;
    return hooks;
}

MemberMessaging& TheMemberMessaging()
{
    static MemberMessaging messaging;
    return messaging;
}

MemberMessaging::MemberMessaging() : profile_(DefaultProfile()) {}

void MemberMessaging::Reset()
{
    for (FeedMessageQueue* q : {&queues.outgoing, &queues.inbox, &queues.contacts, &incoming, &sent})
        q->FreeQueue();
    queues.highestMember = queues.highestContact = 0;
    profile_ = DefaultProfile();
    nextSequence_ = announcedUpTo_ = 0;
    std::lock_guard guard(nicknameLock_);
    nickname_.clear();
    nicknamePending_ = false;
}

void MemberMessaging::HandleFrame(const FeedFrame& frame)
{
    if (frame.kind == kFeedNicknameInUse) {
        {
            std::lock_guard guard(nicknameLock_);
            const size_t n = std::min(frame.payload.size(), kMaxNicknameReport);
            nickname_.assign(frame.payload.begin(), frame.payload.begin() + ptrdiff_t(n));
            // A report waiting to be shown takes the newest nickname; a flood of frames shows one.
            if (std::exchange(nicknamePending_, true))
                return;
        }
        PostProgramMessage(Window(), kMsgNickname);
        return;
    }
    if (frame.kind != kFeedMemberPiece || frame.payload.empty())
        return;
    ByteReader r(frame.payload);
    uint8_t slot = 0;
    r.u8(slot);
    switch (frame.code) {
    case kRequestMessageBegin: {
        uint32_t length = 0, sequence = 0;
        uint16_t kind = 0;
        if (r.u32(length) && r.u32(sequence) && r.u16(kind))
            queues.BeginMessage(slot, kind, length, sequence);
        break;
    }
    case kRequestMessageChunk: {
        auto bytes = r.take(r.remaining());
        queues.AppendMessage(slot, bytes.data(), uint32_t(bytes.size()));
        break;
    }
    case kRequestMessageEnd:
        if (queues.EndMessage(slot, incoming) == 0)
            PostProgramMessage(Window(), kMsgCollected);
        break;
    default: break;
    }
}

bool MemberMessaging::Distribute()
{
    const bool arrived = queues.DistributeIncoming(incoming);
    // The user's own record is the profile, not a contact; a change of the user's not sent yet
    // stays rather than the server's older copy.
    while (auto own = queues.contacts.TakeFirst([](const FeedMessageNode& n) {
        auto c = ReadContact(n);
        return !c || (c->flags & kContactOwn);
    })) {
        if (auto c = ReadContact(*own); c && !(profile_.flags & kContactChanged))
            profile_ = *c;
    }
    Changed();
    return arrived;
}

std::vector<MemberMessage> MemberMessaging::Inbox() const
{
    std::vector<MemberMessage> out;
    queues.inbox.ForEach([&](const FeedMessageNode& n) {
        if (auto m = ReadNode(n))
            out.push_back(std::move(*m));
        return true;
    });
    return out;
}

std::vector<MemberMessage> MemberMessaging::Outbox() const
{
    std::vector<MemberMessage> out;
    auto add = [&](const FeedMessageNode& n) {
        if (n.kind == kFeedMessageMember)
            if (auto m = ReadNode(n))
                out.push_back(std::move(*m));
        return true;
    };
    sent.ForEach(add);
    queues.outgoing.ForEach(add);
    return out;
}

std::vector<ContactRecord> MemberMessaging::Contacts() const
{
    std::vector<ContactRecord> out;
    queues.contacts.ForEach([&](const FeedMessageNode& n) {
        if (auto c = ReadContact(n))
            out.push_back(std::move(*c));
        return true;
    });
    return out;
}

std::vector<ContactRecord> MemberMessaging::Named() const
{
    std::vector<ContactRecord> named = Contacts();
    named.push_back(profile_);
    return named;
}

bool MemberMessaging::ToggleDeleted(bool outbox, size_t index)
{
    bool done = false;
    size_t at = 0;
    auto toggle = [&](FeedMessageNode& n) {
        if (n.kind != kFeedMessageMember || !ReadNode(n))
            return true;
        if (at++ != index)
            return true;
        n.setFlags(n.flags() ^ kMessageDeleted);
        done = true;
        return false;
    };
    if (outbox) {
        sent.ForEach(toggle);
        if (!done)
            queues.outgoing.ForEach(toggle);
    } else {
        queues.inbox.ForEach(toggle);
    }
    return done;
}

size_t MemberMessaging::PurgeDeleted()
{
    const size_t freed = queues.inbox.PurgeDeleted() + sent.PurgeDeleted() + queues.outgoing.PurgeDeleted();
    if (freed)
        Changed();
    return freed;
}

bool MemberMessaging::Post(int32_t receiver, const std::string& subject, const std::string& text)
{
    const LocalDateTime now = NowLocal();
    MemberMessage m;
    m.sequence = ++nextSequence_;
    m.flags = kMessageQueued;
    m.sender = profile_.member;
    m.receiver = receiver;
    m.date = PackDate(now.day, now.month, now.year);
    m.time = uint32_t(now.hour * 3600 + now.minute * 60 + now.second);
    m.subject = subject;
    m.text = text;
    queues.outgoing.Enqueue(MakeFeedMessageNode(kFeedMessageMember, m.sequence, m.Write()));
    const bool connected = Connected();
    SendWaiting();
    Changed();
    return connected;
}

void MemberMessaging::SetContactChoice(int32_t member, uint32_t choice)
{
    queues.contacts.ForEach([&](FeedMessageNode& n) {
        auto c = ReadContact(n);
        if (!c || c->member != member)
            return true;
        c->flags = (c->flags & ~kContactChoiceMask) | (choice & kContactChoiceMask) | kContactChanged;
        auto fresh = MakeFeedMessageNode(n.kind, n.sequence, c->Write());
        n = std::move(*fresh);
        return false;
    });
    Changed();
}

void MemberMessaging::ClearContacts()
{
    queues.contacts.FreeQueue();
    Changed();
}

bool MemberMessaging::SetProfile(const ContactRecord& profile)
{
    ContactRecord next = profile;
    next.member = profile_.member;
    next.flags = (next.flags & ~kContactChanged) | kContactOwn;
    ContactRecord current = profile_;
    current.flags &= ~kContactChanged;
    if (next.Write() == current.Write())
        return false;
    next.flags |= kContactChanged;
    profile_ = next;
    SendWaiting();
    Changed();
    return true;
}

std::string MemberMessaging::NicknameReported() const
{
    std::lock_guard guard(nicknameLock_);
    return nickname_;
}

std::string MemberMessaging::TakeNicknameReport()
{
    std::lock_guard guard(nicknameLock_);
    nicknamePending_ = false;
    return nickname_;
}

void MemberMessaging::RemindNicknameReport()
{
    {
        std::lock_guard guard(nicknameLock_);
        if (!nicknamePending_)
            return;
    }
    if (const auto& inUse = TheMemberMessagingHooks().nicknameInUse)
        inUse();
}

bool MemberMessaging::Connected() const
{
    const int32_t step = RTConnectionStep();
    return RTEngineState == kEngineRunning && step >= kFeedConnected && step <= kFeedPriorityBackfill;
}

int MemberMessaging::Send(std::span<const uint8_t> data, uint8_t code) const
{
    if (const auto& send = TheMemberMessagingHooks().send)
        return send(data, code);
    return TheFeedTransport().SendFeedRequest(data, code);
}

bool MemberMessaging::SendRecord(uint16_t kind, uint32_t sequence, std::span<const uint8_t> record) const
{
    uint8_t begin[10];
    StoreU32(begin, uint32_t(record.size()));
    StoreU32(begin + 4, sequence);
    StoreU16(begin + 8, kind);
    if (Send(begin, kRequestMessageBegin) < 0)
        return false;
    for (size_t at = 0; at < record.size(); at += kMessageChunkBytes) {
        const size_t n = std::min(kMessageChunkBytes, record.size() - at);
        std::vector<uint8_t> chunk(2 + n);
        StoreU16(chunk.data(), kind);
        std::copy_n(record.begin() + ptrdiff_t(at), n, chunk.begin() + 2);
        if (Send(chunk, kRequestMessageChunk) < 0)
            return false;
    }
    uint8_t end[2];
    StoreU16(end, kind);
    return Send(end, kRequestMessageEnd) >= 0;
}

void MemberMessaging::SendWaiting()
{
    if (!Connected())
        return;
    bool changed = false;
    if (profile_.flags & kContactChanged) {
        ContactRecord out = profile_;
        out.flags &= ~kContactChanged;
        if (!SendRecord(kFeedMessageContact, ++nextSequence_, out.Write()))
            return;
        profile_.flags &= ~kContactChanged;
    }
    // The contacts whose choice changed, each sent once.
    bool failed = false;
    queues.contacts.ForEach([&](FeedMessageNode& n) {
        auto c = ReadContact(n);
        if (!c || !(c->flags & kContactChanged))
            return true;
        c->flags &= ~kContactChanged;
        const std::vector<uint8_t> record = c->Write();
        if (!SendRecord(kFeedMessageContact, ++nextSequence_, record)) {
            failed = true;
            return false;
        }
        n = std::move(*MakeFeedMessageNode(n.kind, n.sequence, record));
        return true;
    });
    while (!failed) {
        auto node = queues.outgoing.TakeHead();
        if (!node)
            break;
        if (node->flags() & kMessageDeleted) {
            changed = true;
            continue;
        }
        if (!SendRecord(node->kind, node->sequence, std::span(node->data.data(), node->length))) {
            queues.outgoing.Enqueue(std::move(node), true);
            break;
        }
        node->setFlags((node->flags() & ~kMessageQueued) | kMessageSent);
        if (node->kind == kFeedMessageMember)
            sent.Enqueue(std::move(node));
        changed = true;
    }
    if (changed)
        Changed();
}

void MemberMessaging::Poll()
{
    if (RTEngineState == kEngineRunning)
        Send({}, kRequestMessagePoll);
    SendWaiting();
}

void MemberMessaging::StartPolling()
{
    Poll();
    TimerQueue().AddMessage(Window(), kMessagePollMs);
}

void MemberMessaging::StopPolling() { TimerQueue().RemoveMessage(Window()); }

bool MemberMessaging::MessageWaiting() const { return queues.highestMember > announcedUpTo_; }

std::optional<MemberMessage> MemberMessaging::NewestUnannounced() const
{
    std::optional<MemberMessage> newest;
    uint32_t best = announcedUpTo_;
    queues.inbox.ForEach([&](const FeedMessageNode& n) {
        if (n.sequence > best)
            if (auto m = ReadNode(n)) {
                best = n.sequence;
                newest = std::move(m);
            }
        return true;
    });
    return newest;
}

void MemberMessaging::MarkAllAnnounced() { announcedUpTo_ = queues.highestMember; }

int MemberMessaging::Subscribe(std::function<void()> listener)
{
    listeners_[nextListener_] = std::move(listener);
    return nextListener_++;
}

void MemberMessaging::Unsubscribe(int id) { listeners_.erase(id); }

void MemberMessaging::Changed()
{
    // A listener may unsubscribe while being told.
    const auto listeners = listeners_;
    for (const auto& entry : listeners)
        entry.second();
}

bool MemberMessaging::PolicyAccepted() { return Registry::Instance().getU32(kPolicySection, kPolicyName).value_or(0) == 1; }

void MemberMessaging::SetPolicyAccepted(bool accepted)
{
    Registry::Instance().setU32(kPolicySection, kPolicyName, accepted ? 1 : 0);
}

} // namespace qv
