// Feed blocks into the intraday store: each record's shares get their day entries, summaries and
// stored tick words, the engine's change marks and the recent-trades ring; instrument definitions
// go to the share table.
#pragma once

#include "realtime/store/RTDayRecord.h"

#include <array>
#include <cstdint>
#include <span>

namespace qv {

// Why a block ended.
enum class FeedBlockEnd : uint8_t {
    Complete,
    DisabledSource, // a source 1-9 the user does not take
    BadSource,      // a source of 15 or above: the per-source tables hold 0-14
    TimeBeyondDay,  // a time above 86,400 s
    OtherDay,       // a catch-up record of another day
    ZeroTime,       // a live record without a time
    Short,          // the block ends inside a record
    Damaged,        // bits that no code names
};

struct FeedBlockResult {
    int handled = 0; // records handled (skipped records of day 0 count)
    FeedBlockEnd end = FeedBlockEnd::Complete;
};

// The catch-up of a day: the day, the blocks still expected and the last block's time.
constexpr uint32_t kFeedNoCover = 0xFFFFFFFFu;
struct FeedCatchUp {
    bool running = false;
    bool priority = false; // the watched shares' part of the day, before the rest (step 9)
    PackedDate day = 0;
    int32_t remaining = 0;
    uint32_t lastBlockTime = 0;
    bool sourceNoted = false;
    uint8_t source = 0;
    std::array<uint32_t, 15> blocksPerSource{};
    // What the server has served of the day so far, per source: the time (seconds) up to which its
    // blocks ran on without a break (kFeedNoCover after a block that said it lacks the source), and
    // the sources it carries (London always). A stretch served without a record was quiet, not lost.
    std::array<uint32_t, 15> coveredTo{};
    uint16_t coveredSources = 1;
};
FeedCatchUp& TheFeedCatchUp();

// Counts of what the decoder stored, for the feed information and the benchmarks.
struct FeedDecodeCounts {
    uint64_t records = 0, items = 0, trades = 0, indexValues = 0;
};
FeedDecodeCounts& TheFeedDecodeCounts();

// A catch-up block (12-byte header, then records) or one live record. The records before the one
// that ends the block stay in the store; a record is stored whole or not at all. A catch-up block
// marks the day's coverage from where the catch-up had reached to its last record; its header's
// first word names the sources the server lacks since the block before (bits 0-14) and the second
// of the day from which the block serves them again (bits 15-31, 0x1FFFF: not in this block). So
// only the stretches the server did not serve are left as gaps, not those where nothing traded.
FeedBlockResult HandleFeedRecords(RTDayRecord* day, std::span<const uint8_t> block, bool catchUp);

// An instrument definition: key, value, short name, then sequence, price scale, exchange, market
// type, two bytes and the long name. False when it is short, names no share, or its exchange is 70
// or above. A definition newer than the record's applies; a share the database lacks becomes an
// extra item on the user-interface thread (the engine's hook).
bool HandleRTInstrumentRecord(std::span<const uint8_t> bytes);

} // namespace qv
