// The member message and contact records the feed server defines (docs/FEED.md), read field by field
// with every length checked, and the texts the messaging dialogs build from them.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// Message record flags (the header's word at byte 12).
constexpr uint32_t kMessageQueued = 2;
constexpr uint32_t kMessageSent = 4;
constexpr uint32_t kMessageDeleted = 8;

// Contact record flags (the word at byte 32): the user's choice in bits 0-1, then the member's state.
constexpr uint32_t kContactChoiceMask = 3;
constexpr uint32_t kChoiceLeftOff = 0, kChoiceSendList = 1, kChoiceBlocked = 2;
constexpr uint32_t kContactAccepts = 4;        // accepts messages
constexpr uint32_t kContactConnected = 8;      // connected now
constexpr uint32_t kContactChanged = 16;       // changed here, to be sent
constexpr uint32_t kContactShowsConnected = 32; // lets others know when connected
constexpr uint32_t kContactAlerts = 64;        // the user's own record: alert on incoming messages
constexpr uint32_t kContactOwn = 128;          // the user's own record (the profile)

// The three fixed service addresses.
constexpr int32_t kAddressAdministration = -1, kAddressSupport = -2, kAddressWishlist = -3;
// Their names; empty for any other number.
std::string FixedAddressName(int32_t member);

struct MemberMessage {
    static constexpr size_t kFixedBytes = 32;
    static constexpr size_t kMaxSubject = 100;
    static constexpr size_t kMaxText = 4000;

    uint32_t sequence = 0;
    uint32_t flags = 0;
    int32_t sender = 0, receiver = 0;
    PackedDate date = 0;
    uint32_t time = 0; // seconds since midnight
    std::string subject, text;

    // Null when a length runs past the bytes or the record's own length does.
    static std::optional<MemberMessage> Read(std::span<const uint8_t> bytes);
    std::vector<uint8_t> Write() const;
};

struct ContactRecord {
    static constexpr size_t kFixedBytes = 40;
    static constexpr size_t kTexts = 9;
    static constexpr size_t kMaxNickname = 20;

    int32_t member = 0;
    uint32_t flags = 0;
    // Nick name, actual name, email, age, investment approach, investment horizon, years with
    // Quorvantis, years investing, other notes.
    std::string texts[kTexts];
    std::string& nickname() { return texts[0]; }
    const std::string& nickname() const { return texts[0]; }

    uint32_t choice() const { return flags & kContactChoiceMask; }
    bool accepts() const { return (flags & kContactAccepts) != 0; }
    bool connected() const { return (flags & kContactConnected) != 0; }

    static std::optional<ContactRecord> Read(std::span<const uint8_t> bytes);
    std::vector<uint8_t> Write() const;
};

// How a member is named: "%s %s" (nickname and state) for a contact, the fixed name for a fixed
// address, the nickname alone for the user's own record, "%d %s" (number and state) otherwise.
std::string MemberName(int32_t member, const std::vector<ContactRecord>& contacts);

// A message's line in the list: "%d sent %s %s from %s" ("to" in the outbox), marked when it is to
// be deleted.
std::string MessageLine(int number, const MemberMessage& message, bool outbox, const std::vector<ContactRecord>& contacts);
// The reply's subject: "Re: " ahead unless it starts with it already.
std::string ReplySubject(const std::string& subject);

// Why Post refuses, in the order the checks run.
enum class PostRefusal { None, OwnProfileClosed, ReceiverBlocked, ReceiverClosed };
PostRefusal CheckPost(const ContactRecord& profile, int32_t receiver, const std::vector<ContactRecord>& contacts);
const char* PostRefusalText(PostRefusal refusal);

// The details pane of the contact list (no contact: the labels alone).
std::string ContactDetails(const ContactRecord* contact);
// True when a contact other than the user has the nickname, whatever its letter case.
bool NicknameTaken(const std::string& nickname, const std::vector<ContactRecord>& contacts);

} // namespace qv
