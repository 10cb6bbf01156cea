// What the feed server tells the client besides the data: the agreements and levels of the log-on,
// the days it can backfill, the progress of a backfill, and the message counts the feed information
// shows. The feed thread fills it; the user-interface thread reads it.
#pragma once

#include "core/PackedDate.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace qv {

constexpr uint8_t kFeedBackfillDays = 6;        // frame kind: the days the server can backfill
constexpr uint8_t kRequestBackfillDays = 0x3B;  // request: the backfillable days (no data)
constexpr uint8_t kRequestBackfill = 0x3C;      // request: the backfill dialog's request record
constexpr uint8_t kRequestBackfillAbort = 0x3D; // request: u8 1 stops every day asked for, 0 the current one
constexpr uint8_t kFeedLogOnStatus = 6;         // the status step whose payload carries the log-on answer
constexpr uint8_t kRequestAgreement = 0x51;     // request: the packed answers of the NYSE/AMEX agreement

// A day the server can backfill: bit 0 London data, bit 1 non-London data.
struct BackfillDayInfo {
    PackedDate day = 0;
    uint8_t available = 0;
    bool operator==(const BackfillDayInfo&) const = default;
};
constexpr size_t kMaxBackfillDays = 64;
// u16 count (at most 64), then per day u16 day and u8 availability; nothing when short or too many.
std::optional<std::vector<BackfillDayInfo>> ParseBackfillDays(std::span<const uint8_t> payload);
std::vector<uint8_t> EncodeBackfillDays(const std::vector<BackfillDayInfo>& days);

// The log-on answer of step 6: u32 the completed agreements (bit 0 NYSE/AMEX, bit 1 NASDAQ), u32 the
// levels the feed currently delivers.
struct LogOnStatus {
    uint32_t agreements = 0;
    uint32_t levels = 0;
};
std::optional<LogOnStatus> ParseLogOnStatus(std::span<const uint8_t> payload);

struct FeedServerInfo {
    std::mutex mutex; // guards days
    bool daysAnswered = false;
    std::vector<BackfillDayInfo> days;
    std::atomic<uint32_t> agreements{0};
    std::atomic<uint32_t> currentLevels{0};
    // The running backfill: blocks announced and received, and the aborts the dialog asks for.
    std::atomic<uint32_t> backfillTotal{0}, backfillDone{0};
    std::atomic<bool> abortCurrent{false}, abortAll{false};
    // The exchange mask of the backfill the user asked for (0: the catch-up is the log-on's).
    std::atomic<uint32_t> backfillMask{0};
    // Frames received by kind, and the feed's date and latest time.
    std::atomic<uint64_t> frames{0}, definitions{0}, control{0}, catchUpBlocks{0};
    // Gap requests sent (0x48) and the answers to them received, over the session.
    std::atomic<uint64_t> gapRequests{0}, backfillAnswers{0};
    std::atomic<uint16_t> feedDay{0};
};
FeedServerInfo& TheFeedServerInfo();
// Clears what a connection told (a new connection, or tests).
void ResetFeedServerInfo();

} // namespace qv
