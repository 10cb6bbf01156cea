// Member messaging on the feed client's queues: the pieces the server sends collected on the feed
// thread, the inbox, outbox, contact list and the user's profile on the user-interface thread, the
// message poll while the messages dialog is open, and the sending of waiting messages and records.
#pragma once

#include "realtime/feed/FeedFrame.h"
#include "realtime/feed/FeedMessageQueue.h"
#include "realtime/messaging/MemberRecords.h"

#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace qv {

// Frames of the server for messaging (docs/FEED.md).
constexpr uint8_t kFeedMemberPiece = 7;   // code 0x23 begin, 0x24 a piece, 0x25 end
constexpr uint8_t kFeedNicknameInUse = 8; // payload: the nickname the server refused
// Requests.
constexpr uint8_t kRequestMessagePoll = 0x39;
constexpr uint8_t kRequestMessageBegin = 0x23;
constexpr uint8_t kRequestMessageChunk = 0x24;
constexpr uint8_t kRequestMessageEnd = 0x25;
constexpr size_t kMessageChunkBytes = 240;
constexpr uint32_t kMessagePollMs = 20000;
constexpr size_t kMaxNicknameReport = 64;

// What messaging needs of the layers above; shell/FeedClient installs them.
struct MemberMessagingHooks {
    std::function<void()> messageArrived; // a member message reached the inbox
    std::function<void()> nicknameInUse;  // the server refused the profile's nickname
    // Sends one request; -1 on failure. Empty: through the feed's transport while the engine runs.
    std::function<int(std::span<const uint8_t> data, uint8_t code)> send;
};
MemberMessagingHooks& TheMemberMessagingHooks();

class MemberMessaging {
public:
    MemberMessaging();

    // Feed thread: a piece of a record or the nickname report. The queues' own locks guard them.
    void HandleFrame(const FeedFrame& frame);

    // User-interface thread from here on.
    // Moves what was collected into the inbox, the contact list and the profile; tells the
    // listeners. True when a member message arrived.
    bool Distribute();

    std::vector<MemberMessage> Inbox() const;
    // The messages sent, then those waiting to be sent.
    std::vector<MemberMessage> Outbox() const;
    std::vector<ContactRecord> Contacts() const;
    const ContactRecord& Profile() const { return profile_; }
    // The contacts and the profile: every member a message may name.
    std::vector<ContactRecord> Named() const;

    // Marks or unmarks the message for deletion (flag 8); marked messages go at `PurgeDeleted`.
    bool ToggleDeleted(bool outbox, size_t index);
    size_t PurgeDeleted();

    // Queues a message to the receiver (flag 2) and sends what waits when connected. True when it
    // went at once; false when it waits for the next connection.
    bool Post(int32_t receiver, const std::string& subject, const std::string& text);
    // The user's choice for a contact (0 off the send list, 1 on it, 2 blocked); sets flag 16.
    void SetContactChoice(int32_t member, uint32_t choice);
    void ClearContacts();
    // Replaces the profile; marked to be sent (flag 16) when it changed. Answers whether it did.
    bool SetProfile(const ContactRecord& profile);
    std::string NicknameReported() const;
    // The frame names the refused nickname once it can; a report it could not show yet (a modal
    // dialog held the focus) is told again when the messaging dialogs close.
    std::string TakeNicknameReport();
    void RemindNicknameReport();

    // Sends the profile and contacts marked changed, then the waiting messages, while connected.
    void SendWaiting();
    // The poll (0x39) while the engine runs, then what waits to be sent.
    void Poll();
    // The messages dialog's poll: once now, then every 20 s on the timer queue until stopped.
    void StartPolling();
    void StopPolling();

    // Incoming messages not yet announced: the newest is the alert's.
    bool MessageWaiting() const;
    std::optional<MemberMessage> NewestUnannounced() const;
    void MarkAllAnnounced();

    // Listeners are told on the user-interface thread whenever the lists change.
    int Subscribe(std::function<void()> listener);
    void Unsubscribe(int id);

    // The policy's acceptance, kept in the settings.
    static bool PolicyAccepted();
    static void SetPolicyAccepted(bool accepted);

    // Everything forgotten (a test's start).
    void Reset();

    FeedMessageCollector queues;
    FeedMessageQueue incoming, sent;

private:
    void Changed();
    bool Connected() const;
    int Send(std::span<const uint8_t> data, uint8_t code) const;
    bool SendRecord(uint16_t kind, uint32_t sequence, std::span<const uint8_t> record) const;

    ContactRecord profile_;
    uint32_t nextSequence_ = 0;
    uint32_t announcedUpTo_ = 0;
    mutable std::mutex nicknameLock_;
    std::string nickname_;
    bool nicknamePending_ = false;
    std::map<int, std::function<void()>> listeners_;
    int nextListener_ = 1;
};
MemberMessaging& TheMemberMessaging();

} // namespace qv
