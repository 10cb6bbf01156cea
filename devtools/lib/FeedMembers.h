// The feed stand-in's members: the account's own profile and two simulated members, with the three
// service addresses; it collects the messages and records a client sends, answers them, and reports a
// nickname that another member has.
#pragma once

#include "realtime/feed/FeedFrame.h"
#include "realtime/messaging/MemberRecords.h"

#include <chrono>
#include <deque>
#include <mutex>
#include <span>
#include <vector>

namespace qv::dev {

// The kind-7 frames that carry a record to the client in a collection slot, `chunk` bytes a piece.
std::vector<FeedFrame> MemberRecordPieces(uint8_t slot, uint32_t sequence, uint16_t kind, std::span<const uint8_t> record,
                                          size_t chunk);

constexpr int32_t kSimulatedAccount = 1001;
constexpr int32_t kSimulatedReplier = 2001; // accepts messages and answers them
constexpr int32_t kSimulatedClosed = 2002;  // accepts none

// What outlives a connection: the account's profile as the client last sent it.
class SimulatedMemberStore {
public:
    SimulatedMemberStore();
    ContactRecord profile() const;
    void setProfile(const ContactRecord& profile);
    // The two members as their contact records.
    static std::vector<ContactRecord> Members();

private:
    mutable std::mutex mutex_;
    ContactRecord profile_;
};

// One connection's messaging.
class SimulatedMembers {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kReplyDelay{2000};

    explicit SimulatedMembers(SimulatedMemberStore& store) : store_(store) {}

    static bool IsMessagingRequest(uint8_t code);
    // After the log-on: the profile, then the members.
    std::vector<FeedFrame> LogOnFrames();
    // A messaging request; the frames to send at once (a poll hands over every waiting reply).
    std::vector<FeedFrame> Request(const FeedFrame& request, Clock::time_point now);
    // The replies due by now.
    std::vector<FeedFrame> Due(Clock::time_point now);

private:
    std::vector<FeedFrame> Received(uint16_t kind, const std::vector<uint8_t>& record, Clock::time_point now);
    void Add(std::vector<FeedFrame>& out, uint16_t kind, const std::vector<uint8_t>& record);

    struct Waiting {
        Clock::time_point due;
        std::vector<uint8_t> record;
    };
    SimulatedMemberStore& store_;
    std::deque<Waiting> waiting_;
    std::vector<uint8_t> collecting_;
    uint32_t expected_ = 0;
    uint16_t kind_ = 0;
    uint32_t sequence_ = 0;
};

} // namespace qv::dev
