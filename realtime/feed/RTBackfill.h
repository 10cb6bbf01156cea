// Backfill of a day the program has missed in part: the coverage map's gaps, the 10-byte request
// records, the request state machine, the server's status answer, and the answers' items written
// into the store like live ticks.
#pragma once

#include "core/PackedDate.h"
#include "realtime/store/RTDayRecord.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>

namespace qv {

constexpr uint32_t kRTCoverageSlots = 5760; // 15-second slots of a day
constexpr uint8_t kRequestQueued = 0x31, kRequestGap = 0x48, kRequestMore = 0x33, kRequestDay = 0x37,
                  kRequestShares = 0xE5, kRequestNoShares = 0x3A, kRequestShareByIndex = 0x34;
// Frame kind of the server's answer to gap requests: a share answer (ApplyRTBackfillItems).
constexpr uint8_t kFeedBackfillAnswer = 9;

// The request record, bit fields from bit 0: day 0-15, source or kind 16-20, start 21-37, end 42-58,
// and for a queued request its sequence number at 63-78.
using RTRequestRecord = std::array<uint8_t, 10>;
RTRequestRecord PackRTRequestRecord(PackedDate day, uint8_t sourceOrKind, uint32_t start, uint32_t end,
                                    uint16_t sequence = 0);
struct RTRequestFields {
    PackedDate day = 0;
    uint8_t sourceOrKind = 0;
    uint32_t start = 0, end = 0;
    uint16_t sequence = 0;
};
RTRequestFields UnpackRTRequestRecord(std::span<const uint8_t, 10> record);

// The coverage map of a day: per source a row of two words (first and last covered slot) and 2 bits
// per slot. A day without one has no slot covered.
void MarkRTCovered(RTDayRecord& day, int source, uint32_t seconds);
// Every slot from the one of `from` to the one of `to` (seconds, inclusive).
void MarkRTCoveredRange(RTDayRecord& day, int source, uint32_t from, uint32_t to);
bool FindRTCoverageGap(const RTDayRecord& day, int source, uint32_t& first, uint32_t& end,
                       uint32_t limit = kRTCoverageSlots);
uint32_t CountRTCoveredSlots(const RTDayRecord& day, int source, uint32_t from, uint32_t to);

// Before a day is filled again from the server: every entry of a source the mask names (or of the
// source given) loses its tick words, registers and counts, keeping its share's exchange, flags and
// price scale; its active share's block of the day goes and is reloaded; the coverage of the
// matching sources is cleared. The entries are no longer read from the day file.
void ClearRTDaySources(RTDayRecord& day, uint32_t mask, int source);

using FeedSender = std::function<int(std::span<const uint8_t> data, uint8_t code)>;

// A day being backfilled.
struct RTBackfillDay {
    PackedDate day = 0;
    bool queueSent = false;
    bool gapSearch = true;
    bool statsPrepared = false;
    uint8_t source = 0; // London's records come from source 0, whose coverage is the map's first row
    uint32_t mask = 0; // 0: London, 0x300
    uint32_t gapFirst = 0, gapEnd = 0;
    uint32_t nextSlot = 0;
    uint16_t gapRequests = 0;
    bool finished = false;
};

// One step: the gap requests of the current source (or the share list when shares are asked for);
// nothing sent means the day is complete (finished set). The result of the last send, or -1.
int NextRTBackfillRequest(RTBackfillDay& backfill, RTDayRecord& day, bool askShares, const FeedSender& send);
// 0x37 with the day then 0xE5 with up to 10 keys; 0x3A with the day when none is left and not asked.
int RequestRTShareList(RTDayRecord& day, bool ask, const FeedSender& send);

// The status answer: a 6-bit count, then per item a 6-bit index, a wide bit (24-bit fields, else
// 18), a value and, for an index of 25 or more, a second value; indices below 40 fill the tables.
// The answer's length in whole bytes (a partly used last byte counts), or 0 when it runs past the
// length given (the tables are then left as they were). An answer of no items is one byte long.
struct RTStatusTables {
    std::array<uint32_t, 40> first{}, second{};
};
int ReadRTStatusAnswer(std::span<const uint8_t> answer, RTStatusTables& tables);

// One answer item of the given kind (its payload) for a record's day; share -1 reads it from the
// item. The bytes of the payload used, or 0 when the item is refused (it runs past its payload, or
// names a share above 0xFFFF).
size_t ApplyRTTickItem(std::span<const uint8_t> payload, int kind, int32_t share, PackedDate recordDay);
// A share answer: records of {u16 length, u16 item count, 2 bytes, u16 day, items}; each item a
// byte of kind (top 3 bits) and payload length (low 5), then its payload. Quotes and other items go
// in before the trades. Watch lists are marked at most once every 2,000 ms (now in ms). The items
// applied; -1 when the answer is damaged (what came before it stays). An entry that got records
// older than those it held is written again in time order and its summary rebuilt.
int ApplyRTBackfillItems(std::span<const uint8_t> answer, uint32_t now);
// A mark the 2,000 ms held back is made once they have passed (now in ms), so that the last answer
// of a run is shown too; the feed thread calls it as it waits for data.
void FlushRTBackfillMarks(uint32_t now);
// Backfill counters: items received of kinds 1, 2 and 3, and the watch-list marks made.
struct RTBackfillCounts {
    uint32_t quotes = 0, trades = 0, others = 0, marks = 0;
    uint32_t lastMark = 0;
    bool marked = false;
    bool pending = false; // answers came since the last mark
};
RTBackfillCounts& TheRTBackfillCounts();

} // namespace qv
