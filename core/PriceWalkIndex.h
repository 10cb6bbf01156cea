// Walk checkpoints of price streams: the walker's state after every kWalkCheckpointDays-th day, so
// that a lookup decodes at most that many days past the checkpoint before the day it wants. The
// statistics pass builds them while it decodes each stream; lookups find them here from any thread.
#pragma once

#include "core/PriceDayWalker.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace qv {

constexpr uint32_t kWalkCheckpointDays = 512;

struct PriceWalkIndex {
    uint64_t mark = 0;  // PriceStreamMark of the stream: another stream in its place differs
    uint32_t days = 0;  // the days a raw walk without corrections gives
    // Every day is dated on or after the date the day before gave its next (dates only wrap past the
    // last representable year): then a checkpoint's next date bounds every date before it, and a
    // lookup by date may start there.
    bool ordered = true;
    // The binary exponent fields of the smallest and largest nonzero close (subnormals as 1), and
    // whether every close is finite: they bound how many bits a sum of closes can need.
    uint8_t closeExponentMin = 255;
    uint8_t closeExponentMax = 0;
    bool closesFinite = true;
    std::vector<PriceDayWalker> points; // points[k] has decoded (k + 1) x kWalkCheckpointDays days
};

// True when every sum and difference of at most `count` closes of the stream is exact in a double:
// each close is then a whole multiple of the smallest close's last bit and the sums stay within 53
// bits of it. A running sum over a window of such closes is then the window's sum whatever the
// order, so it may be taken afresh from a checkpoint with the same bits as the running one.
bool SumsOfClosesExact(const PriceWalkIndex& index, uint32_t count);

// The sub-record's size, scale, first date and the first and last bytes of its stream folded together.
uint64_t PriceStreamMark(const uint8_t* sub, const uint8_t* subEnd);

// Collects the checkpoints of one raw walk without corrections: call add() after each day the walker
// decodes, in order from the first.
class PriceWalkIndexBuilder {
public:
    PriceWalkIndexBuilder(const uint8_t* sub, const uint8_t* subEnd) { index_.mark = PriceStreamMark(sub, subEnd); }
    void add(const PriceDayWalker& walker) { addRun(&walker.day(), 1, walker); }
    // add() for each of the n days a walker's nextRun() gave, the walker standing after the last; the
    // run may end on a checkpoint's day but not pass it (see roomBeforeCheckpoint).
    void addRun(const DayRecord* days, uint32_t n, const PriceDayWalker& walker)
    {
        for (uint32_t k = 0; k < n; ++k) {
            if (index_.days > 0 && days[k].date < nextDate_)
                index_.ordered = false;
            // Within a run no day is skipped: the next day's date is the one this day gave.
            nextDate_ = k + 1 < n ? days[k + 1].date : walker.nextDate();
            addClose(days[k].close);
            ++index_.days;
        }
        if (n > 0 && index_.days % kWalkCheckpointDays == 0)
            index_.points.push_back(walker);
    }
    // The most days a run may give before it would pass the next checkpoint.
    uint32_t roomBeforeCheckpoint() const { return kWalkCheckpointDays - index_.days % kWalkCheckpointDays; }
    PriceWalkIndex take() { return std::move(index_); }

private:
    void addClose(float close)
    {
        uint32_t bits;
        std::memcpy(&bits, &close, sizeof bits);
        const uint32_t exponent = (bits >> 23) & 0xFF;
        if (exponent == 0xFF) {
            index_.closesFinite = false;
        } else if ((bits & 0x7FFFFFFF) != 0) {
            const auto e = uint8_t(exponent == 0 ? 1 : exponent);
            index_.closeExponentMin = std::min(index_.closeExponentMin, e);
            index_.closeExponentMax = std::max(index_.closeExponentMax, e);
        }
    }

    PriceWalkIndex index_;
    uint16_t nextDate_ = 0;
};

// The index kept for the stream at `sub` when its mark still matches; null otherwise.
std::shared_ptr<const PriceWalkIndex> FindPriceWalkIndex(const uint8_t* sub, const uint8_t* subEnd);
// Keeps the index for the stream at `sub` (replacing any before it) and returns it.
std::shared_ptr<const PriceWalkIndex> KeepPriceWalkIndex(const uint8_t* sub, PriceWalkIndex index);
// Builds the index of the stream by a raw walk without corrections and keeps it.
std::shared_ptr<const PriceWalkIndex> BuildPriceWalkIndex(const uint8_t* sub, const uint8_t* subEnd);
// Drops every index; they go with the database that holds the streams.
void ForgetPriceWalkIndexes();

} // namespace qv
