// Member message and contact records, and the messaging texts built from them.
#include "realtime/messaging/MemberRecords.h"

#include "core/StringPrintf.h"
#include "platform/ByteOrder.h"
#include "platform/Paths.h"

#include <algorithm>

namespace qv {
namespace {

bool ReadText(ByteReader& r, std::string& out)
{
    uint16_t length = 0;
    if (!r.u16(length))
        return false;
    auto bytes = r.take(length);
    out.assign(bytes.begin(), bytes.end());
    return r.ok();
}

void WriteText(ByteWriter& w, const std::string& text)
{
    const size_t n = std::min<size_t>(text.size(), 0xFFFF);
    w.u16(uint16_t(n));
    w.bytes(text.data(), n);
}

// The record's own length (its first word) bounds what is read: at least the fixed part, at most
// the bytes there are.
std::optional<std::span<const uint8_t>> RecordBytes(std::span<const uint8_t> bytes, size_t fixed)
{
    if (bytes.size() < fixed)
        return std::nullopt;
    const uint32_t length = LoadU32(bytes.data());
    if (length < fixed || length > bytes.size())
        return std::nullopt;
    return bytes.first(length);
}

const ContactRecord* FindContact(int32_t member, const std::vector<ContactRecord>& contacts)
{
    for (const ContactRecord& c : contacts)
        if (c.member == member)
            return &c;
    return nullptr;
}

} // namespace

std::string FixedAddressName(int32_t member)
{
    switch (member) {
    case kAddressAdministration: return "Quorvantis administration";
    case kAddressSupport: return "Quorvantis support";
    case kAddressWishlist: return "Quorvantis wishlist";
    default: return {};
    }
}

std::optional<MemberMessage> MemberMessage::Read(std::span<const uint8_t> bytes)
{
    auto record = RecordBytes(bytes, kFixedBytes);
    if (!record)
        return std::nullopt;
    ByteReader r(*record);
    MemberMessage m;
    uint32_t length = 0, reserved = 0;
    uint16_t date = 0, pad = 0;
    r.u32(length);
    r.u32(m.sequence);
    r.u32(reserved);
    r.u32(m.flags);
    r.i32(m.sender);
    r.i32(m.receiver);
    r.u16(date);
    r.u16(pad);
    r.u32(m.time);
    m.date = date;
    if (!ReadText(r, m.subject) || !ReadText(r, m.text))
        return std::nullopt;
    return m;
}

std::vector<uint8_t> MemberMessage::Write() const
{
    ByteWriter w;
    w.u32(0); // the length, patched below
    w.u32(sequence);
    w.u32(0);
    w.u32(flags);
    w.i32(sender);
    w.i32(receiver);
    w.u16(date);
    w.u16(0);
    w.u32(time);
    static_assert(kFixedBytes == 8 * 4, "the fixed part of a message record");
    WriteText(w, subject.substr(0, kMaxSubject));
    WriteText(w, text.substr(0, kMaxText));
    w.patchU32(0, uint32_t(w.size()));
    return w.take();
}

std::optional<ContactRecord> ContactRecord::Read(std::span<const uint8_t> bytes)
{
    auto record = RecordBytes(bytes, kFixedBytes);
    if (!record)
        return std::nullopt;
    ByteReader r(*record);
    ContactRecord c;
    r.skip(8);
    r.i32(c.member);
    r.skip(32 - 12);
    r.u32(c.flags);
    r.skip(4);
    for (std::string& text : c.texts)
        if (!ReadText(r, text))
            return std::nullopt;
    return c;
}

std::vector<uint8_t> ContactRecord::Write() const
{
    ByteWriter w;
    w.u32(0); // the length, patched below
    w.u32(0);
    w.i32(member);
    w.u32(0); // the header's flags word, unused by contact records
    w.zeros(16);
    w.u32(flags);
    w.u32(0);
    static_assert(kFixedBytes == 40, "the nickname starts at byte 40");
    for (const std::string& text : texts)
        WriteText(w, text);
    w.patchU32(0, uint32_t(w.size()));
    return w.take();
}

std::string MemberName(int32_t member, const std::vector<ContactRecord>& contacts)
{
    if (member < 0 && !FixedAddressName(member).empty())
        return FixedAddressName(member);
    const ContactRecord* c = FindContact(member, contacts);
    if (c && (c->flags & kContactOwn))
        return c->nickname();
    if (c)
        return StringPrintf("%s %s", c->nickname().c_str(), c->connected() ? "(connected)" : "(not connected)");
    return StringPrintf("%d %s", member, "(not a contact)");
}

std::string MessageLine(int number, const MemberMessage& message, bool outbox, const std::vector<ContactRecord>& contacts)
{
    const std::string date = StringPrintf("%02i/%02i/%02i", DayOfMonth(message.date), MonthOfYear(message.date),
                                          TwoDigitYear(message.date));
    const std::string time = StringPrintf("%02d:%02d", int(message.time / 3600 % 24), int(message.time / 60 % 60));
    std::string line = outbox ? StringPrintf("%d sent %s %s to %s", number, date.c_str(), time.c_str(),
                                             MemberName(message.receiver, contacts).c_str())
                              : StringPrintf("%d sent %s %s from %s", number, date.c_str(), time.c_str(),
                                             MemberName(message.sender, contacts).c_str());
    if (message.flags & kMessageDeleted)
        return "< Message to be deleted > " + line;
    return line;
}

std::string ReplySubject(const std::string& subject)
{
    return subject.rfind("Re: ", 0) == 0 ? subject : "Re: " + subject;
}

PostRefusal CheckPost(const ContactRecord& profile, int32_t receiver, const std::vector<ContactRecord>& contacts)
{
    if (!profile.accepts())
        return PostRefusal::OwnProfileClosed;
    const ContactRecord* c = FindContact(receiver, contacts);
    if (!c)
        return PostRefusal::None; // a fixed address, or one the server judges
    if (c->choice() == kChoiceBlocked)
        return PostRefusal::ReceiverBlocked;
    if (!c->accepts())
        return PostRefusal::ReceiverClosed;
    return PostRefusal::None;
}

const char* PostRefusalText(PostRefusal refusal)
{
    switch (refusal) {
    case PostRefusal::OwnProfileClosed:
        return "You have elected not to receive messages and so cannot send them.\r\nThis can be altered within "
               "your messaging profile.\r\n\r\nPlease click ok to edit your profile or cancel to return.";
    case PostRefusal::ReceiverBlocked:
        return "You have elected to block this member and so cannot send them messages.\r\nIn order to contact "
               "this member you need to unblock them in your contact list.\r\n\r\nPlease click ok to return.";
    case PostRefusal::ReceiverClosed: return "This member has elected not to receive messages.\r\nPlease click ok to return.";
    case PostRefusal::None: break;
    }
    return "";
}

std::string ContactDetails(const ContactRecord* contact)
{
    static const ContactRecord none;
    const ContactRecord& c = contact ? *contact : none;
    std::string age = c.texts[3].empty() ? std::string() : c.texts[3] + " yrs";
    std::string text = contact ? StringPrintf(" Details for %s %s", c.nickname().c_str(),
                                              c.connected() ? "( Connected )" : "")
                               : std::string(" No selected contact ");
    text += StringPrintf("\r\nActual name:  %s", c.texts[1].c_str());
    text += StringPrintf("\r\nEmail: %s\r\nAge: %s\r\nInvestment approach: %s\r\nInvestment horizon: %s", c.texts[2].c_str(),
                         age.c_str(), c.texts[4].c_str(), c.texts[5].c_str());
    text += StringPrintf("\r\nYears with Quorvantis: %s\nYears investing: %s\r\n\r\nOther notes:\r\n%s", c.texts[6].c_str(),
                         c.texts[7].c_str(), c.texts[8].c_str());
    return text;
}

bool NicknameTaken(const std::string& nickname, const std::vector<ContactRecord>& contacts)
{
    for (const ContactRecord& c : contacts)
        if (!(c.flags & kContactOwn) && EqualsNoCase(c.nickname(), nickname))
            return true;
    return false;
}

} // namespace qv
