// Walking the price sub-records of a record within its bounds.
#include "core/PriceSubRecords.h"

#include "core/PriceCorrections.h"
#include "core/PriceStatistics.h"
#include "core/PriceStream.h"
#include "platform/ByteOrder.h"

namespace qv {

namespace {

constexpr uint32_t kFirstSubRecordOffset = 22;
constexpr uint32_t kSubRecordMinimum = kSubRecordStream;

// Calls f(span, index) for each sub-record; stops early when f returns false.
template <typename F>
void WalkSubRecords(uint8_t* record, F&& f)
{
    if (record == nullptr)
        return;
    uint32_t length = LoadU16(record);
    if (length < kFirstSubRecordOffset + 2)
        return;
    const uint8_t* recordEnd = record + length;
    uint32_t offset = LoadU16(record + kFirstSubRecordOffset);
    for (uint32_t index = 0;; ++index) {
        if (offset + kSubRecordMinimum > length)
            return;
        uint8_t* sub = record + offset;
        uint32_t subLength = LoadU16(sub);
        bool last = subLength == 0;
        if (!last && (subLength < kSubRecordMinimum || offset + subLength > length))
            return;
        SubRecordSpan span{sub, last ? recordEnd : sub + subLength};
        if (!f(span, index) || last)
            return;
        offset += subLength;
    }
}

} // namespace

SubRecordSpan SubRecordOf(uint8_t* record, uint32_t n)
{
    SubRecordSpan found;
    WalkSubRecords(record, [&](SubRecordSpan span, uint32_t index) {
        found = span;
        return index < n;
    });
    return found;
}

uint32_t SubRecordCount(const uint8_t* record)
{
    uint32_t count = 0;
    WalkSubRecords(const_cast<uint8_t*>(record), [&](SubRecordSpan, uint32_t) {
        ++count;
        return true;
    });
    return count;
}

void ComputeRecordStatistics(uint8_t* record)
{
    WalkSubRecords(record, [&](SubRecordSpan span, uint32_t index) {
        ComputeStreamStatistics(span.sub, span.end, GetPriceCorrections(RecordIdOf(record), index));
        return true;
    });
}

void RecomputePeriodExtremes(uint8_t* record, uint32_t streamNumber, uint16_t start)
{
    WalkSubRecords(record, [&](SubRecordSpan span, uint32_t index) {
        RecomputeSubRecordExtremes(span.sub, span.end, GetPriceCorrections(RecordIdOf(record), streamNumber + index),
                                   start);
        return true;
    });
}

} // namespace qv
