// The feed stand-in's members and their answers.
#include "devtools/lib/FeedMembers.h"

#include "platform/ByteOrder.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "realtime/feed/FeedMessageQueue.h"
#include "realtime/messaging/MemberMessaging.h"

namespace qv::dev {
namespace {

ContactRecord Record(int32_t member, uint32_t flags, std::initializer_list<const char*> texts)
{
    ContactRecord c;
    c.member = member;
    c.flags = flags;
    size_t i = 0;
    for (const char* t : texts)
        c.texts[i++] = t;
    return c;
}

// Nicknames the server holds for others besides its members'.
constexpr const char* kReserved[] = {"Quorvantis", "Admin", "Support"};

bool NicknameTakenByOthers(const std::string& nickname)
{
    for (const ContactRecord& c : SimulatedMemberStore::Members())
        if (EqualsNoCase(c.nickname(), nickname))
            return true;
    for (const char* r : kReserved)
        if (EqualsNoCase(r, nickname))
            return true;
    return false;
}

MemberMessage Answer(const MemberMessage& m)
{
    MemberMessage a;
    a.sender = m.receiver;
    a.receiver = m.sender;
    a.subject = ReplySubject(m.subject);
    const LocalDateTime now = NowLocal();
    a.date = PackDate(now.day, now.month, now.year);
    a.time = uint32_t(now.hour * 3600 + now.minute * 60 + now.second);
    a.flags = kMessageSent;
    if (m.receiver < 0)
        a.text = "Thank you for your message to " + FixedAddressName(m.receiver) +
                 ". It has been received and will be answered within two working days.";
    else
        a.text = "Thanks for your note - I had a look and agree the chart looks interesting. Let me know how it goes.";
    return a;
}

} // namespace

std::vector<FeedFrame> MemberRecordPieces(uint8_t slot, uint32_t sequence, uint16_t kind, std::span<const uint8_t> record,
                                          size_t chunk)
{
    std::vector<FeedFrame> out;
    ByteWriter begin;
    begin.u8(slot);
    begin.u32(uint32_t(record.size()));
    begin.u32(sequence);
    begin.u16(kind);
    out.push_back({kFeedMemberPiece, kRequestMessageBegin, begin.take()});
    for (size_t at = 0; at < record.size(); at += chunk) {
        std::vector<uint8_t> piece{slot};
        const size_t n = std::min(chunk, record.size() - at);
        piece.insert(piece.end(), record.begin() + ptrdiff_t(at), record.begin() + ptrdiff_t(at + n));
        out.push_back({kFeedMemberPiece, kRequestMessageChunk, std::move(piece)});
    }
    out.push_back({kFeedMemberPiece, kRequestMessageEnd, {slot}});
    return out;
}

SimulatedMemberStore::SimulatedMemberStore()
    : profile_(Record(kSimulatedAccount, kContactOwn | kContactAccepts | kContactShowsConnected | kContactAlerts,
                      {"DemoInvestor", "Demo User", "demo@example.com", "", "Growth", "Medium term", "3", "8", ""}))
{
}

ContactRecord SimulatedMemberStore::profile() const
{
    std::lock_guard guard(mutex_);
    return profile_;
}

void SimulatedMemberStore::setProfile(const ContactRecord& profile)
{
    std::lock_guard guard(mutex_);
    profile_ = profile;
    profile_.member = kSimulatedAccount;
    profile_.flags |= kContactOwn;
}

std::vector<ContactRecord> SimulatedMemberStore::Members()
{
    return {Record(kSimulatedReplier, kChoiceSendList | kContactAccepts | kContactConnected | kContactShowsConnected,
                   {"Bullfinch", "Sam Finch", "sam.finch@example.com", "47", "Value", "Long term", "6", "20",
                    "Mostly small brewers and builders."}),
            Record(kSimulatedClosed, kChoiceLeftOff,
                   {"Magpie", "Jo Pye", "", "39", "Momentum", "Short term", "2", "5", "Reads, does not write."})};
}

bool SimulatedMembers::IsMessagingRequest(uint8_t code)
{
    return code == kRequestMessagePoll || code == kRequestMessageBegin || code == kRequestMessageChunk ||
           code == kRequestMessageEnd;
}

void SimulatedMembers::Add(std::vector<FeedFrame>& out, uint16_t kind, const std::vector<uint8_t>& record)
{
    for (FeedFrame& f : MemberRecordPieces(0, ++sequence_, kind, record, kMessageChunkBytes))
        out.push_back(std::move(f));
}

std::vector<FeedFrame> SimulatedMembers::LogOnFrames()
{
    std::vector<FeedFrame> out;
    Add(out, kFeedMessageContact, store_.profile().Write());
    for (const ContactRecord& c : SimulatedMemberStore::Members())
        Add(out, kFeedMessageContact, c.Write());
    return out;
}

std::vector<FeedFrame> SimulatedMembers::Request(const FeedFrame& request, Clock::time_point now)
{
    ByteReader r(request.payload);
    switch (request.code) {
    case kRequestMessagePoll: return Due(Clock::time_point::max());
    case kRequestMessageBegin: {
        uint32_t length = 0, sequence = 0;
        if (r.u32(length) && r.u32(sequence) && r.u16(kind_) && length <= kFeedMessageMaxBytes) {
            expected_ = length;
            collecting_.clear();
        }
        return {};
    }
    case kRequestMessageChunk: {
        uint16_t kind = 0;
        r.u16(kind);
        auto bytes = r.take(r.remaining());
        if (collecting_.size() + bytes.size() <= expected_)
            collecting_.insert(collecting_.end(), bytes.begin(), bytes.end());
        return {};
    }
    case kRequestMessageEnd:
        if (collecting_.size() != expected_)
            return {};
        return Received(kind_, collecting_, now);
    default: return {};
    }
}

std::vector<FeedFrame> SimulatedMembers::Received(uint16_t kind, const std::vector<uint8_t>& record, Clock::time_point now)
{
    std::vector<FeedFrame> out;
    if (kind == kFeedMessageMember) {
        auto m = MemberMessage::Read(record);
        // A member who accepts messages answers; so does each service address.
        if (m && (m->receiver < 0 || m->receiver == kSimulatedReplier))
            waiting_.push_back({now + kReplyDelay, Answer(*m).Write()});
        return out;
    }
    auto c = ContactRecord::Read(record);
    if (!c || !(c->flags & kContactOwn))
        return out; // a contact's choice: nothing to answer
    if (NicknameTakenByOthers(c->nickname())) {
        out.push_back({kFeedNicknameInUse, 0, std::vector<uint8_t>(c->nickname().begin(), c->nickname().end())});
        return out;
    }
    store_.setProfile(*c);
    return out;
}

std::vector<FeedFrame> SimulatedMembers::Due(Clock::time_point now)
{
    std::vector<FeedFrame> out;
    while (!waiting_.empty() && waiting_.front().due <= now) {
        Add(out, kFeedMessageMember, waiting_.front().record);
        waiting_.pop_front();
    }
    return out;
}

} // namespace qv::dev
