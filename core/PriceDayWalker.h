// Steps through the days of one price stream without allocating: the decoding state of a caller that
// wants one day at a time.
#pragma once

#include "core/DayRecord.h"
#include "core/PriceStream.h"

#include <cstdint>

namespace qv {

class PriceDayWalker {
public:
    // `marked` keeps days without data and marked days as marked records (DecodePriceMarker);
    // otherwise days are decoded raw. A zero scale override keeps the stream's own scale.
    PriceDayWalker(const uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections, bool marked = false,
                   int32_t scaleOverride = 0);

    // Decodes the next day; false at the end of the stream.
    bool next();
    // Decodes up to `room` further days (room at least 1; `days` holds room + 1 records) into
    // days[0..n-1]; returns n, 0 at the end of the stream. The walker then stands as after n calls of
    // next(): the common days after the first are decoded in one run.
    uint32_t nextRun(DayRecord* days, uint32_t room);

    const DayRecord& day() const { return slot_[0]; }
    // Date the day after this one would have (the next weekday).
    uint16_t nextDate() const { return slot_[1].date; }
    // Stream position after the current day.
    const uint8_t* position() const { return p_; }
    uint16_t firstDate() const { return firstDate_; }

    // Corrections apply from the next day decoded on (or stop applying for an empty cursor).
    void setCorrections(CorrectionCursor corrections) { corrections_ = corrections; }

private:
    DayRecord slot_[2]{};
    DayRecord previous_{};
    const uint8_t* p_ = nullptr;
    const uint8_t* end_ = nullptr;
    CorrectionCursor corrections_;
    int32_t price_ = 0;
    int32_t repeat_ = 0;
    int32_t scale_ = 0;
    uint16_t firstDate_ = 0;
    bool marked_ = false;
    bool started_ = false;
    bool done_ = false;
};

} // namespace qv
