// Day-by-day decoding of one price stream.
#include "core/PriceDayWalker.h"

#include "platform/ByteOrder.h"

#include <cstring>

namespace qv {

namespace {

// What only a price correction writes, and the spare bytes.
void ClearUndecodedFields(DayRecord& day)
{
    std::memset(day.correctionOnly, 0, sizeof day.correctionOnly);
    day.carried = 0;
    std::memset(day.spare, 0, sizeof day.spare);
}

} // namespace

PriceDayWalker::PriceDayWalker(const uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections, bool marked,
                               int32_t scaleOverride)
    : corrections_(corrections), marked_(marked)
{
    if (sub == nullptr || subEnd - sub < int(kSubRecordStream)) {
        done_ = true;
        return;
    }
    scale_ = scaleOverride != 0 ? scaleOverride : LoadI16(sub + kSubRecordScale);
    firstDate_ = LoadU16(sub + kSubRecordFirstDate);
    slot_[0].unit = StartingUnit(scale_);
    slot_[0].date = firstDate_;
    p_ = sub + kSubRecordStream;
    end_ = subEnd;
}

bool PriceDayWalker::next()
{
    if (done_)
        return false;
    if (started_) {
        // Dates past the last representable year wrap to small values: nothing can follow.
        if (slot_[1].date <= slot_[0].date) {
            done_ = true;
            return false;
        }
        previous_ = slot_[0];
        slot_[0] = slot_[1];
        slot_[1] = DayRecord{};
    }
    if (AtStreamEnd(p_, end_, repeat_)) {
        done_ = true;
        return false;
    }
    CorrectionCursor* cursor = corrections_.empty() ? nullptr : &corrections_;
    // A common day is no marked day either, so both ways take it alike.
    if (cursor != nullptr || DecodeCommonDayRun(p_, end_, slot_, 1, price_, repeat_, scale_, 0) == 0)
        p_ = marked_ ? DecodePriceMarker(p_, end_, slot_, started_ ? &previous_ : nullptr, price_, repeat_, scale_, 0,
                                         cursor)
                     : DecodePriceDay(p_, end_, slot_, price_, repeat_, scale_, 0, cursor);
    started_ = true;
    if (slot_[0].date == 0) {
        done_ = true;
        return false;
    }
    return true;
}

uint32_t PriceDayWalker::nextRun(DayRecord* days, uint32_t room)
{
    if (room == 0 || !next())
        return 0;
    days[0] = slot_[0];
    // Only what next() would take on the common path may run on: raw days without corrections, and
    // not past a next date that wraps (next() ends there).
    if (room == 1 || marked_ || !corrections_.empty() || slot_[1].date <= slot_[0].date)
        return 1;
    days[1] = slot_[1];
    const uint32_t more = DecodeCommonDayRun(p_, end_, days + 1, room - 1, price_, repeat_, scale_, 0);
    if (more == 0)
        return 1;
    // The fields no decoder writes are zero, as in the fresh record next() primes for each day.
    for (uint32_t k = 2; k <= more; ++k)
        ClearUndecodedFields(days[k]);
    previous_ = days[more - 1];
    slot_[0] = days[more];
    slot_[1] = DayRecord{};
    slot_[1].unit = days[more + 1].unit;
    slot_[1].modeMarks = days[more + 1].modeMarks;
    slot_[1].date = days[more + 1].date;
    slot_[1].weekday = days[more + 1].weekday;
    return more + 1;
}

} // namespace qv
