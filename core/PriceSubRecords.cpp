// Walking the price sub-records of a record within its bounds.
#include "core/PriceSubRecords.h"

#include "core/Database.h"
#include "core/Memory.h"
#include "core/ParallelFor.h"
#include "core/PriceCorrections.h"
#include "core/PriceStatistics.h"
#include "core/PriceStream.h"
#include "core/RecordAccess.h"
#include "core/RecordLists.h"
#include "core/StatisticsPeriod.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <vector>

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
    const uint32_t length = uint32_t(RecordBytes(record));
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

namespace {

void ComputeRecordStatisticsFrom(uint8_t* record, uint16_t periodStart)
{
    WalkSubRecords(record, [&](SubRecordSpan span, uint32_t index) {
        ComputeStreamStatisticsFrom(span.sub, span.end, GetPriceCorrections(RecordId(record), index), periodStart);
        return true;
    });
}

// Works out the records' statistics on several threads: each stream touches only its own sub-record,
// and the corrections store is only read.
void ComputeStatisticsInParallel(const std::vector<uint8_t*>& records, uint16_t periodStart)
{
    // Two lines a batch: each is a whole history's walk, and with a few hundred lines larger batches
    // leave threads idle at the end while one finishes its last batch.
    ParallelFor(records.size(), [&](size_t i) { ComputeRecordStatisticsFrom(records[i], periodStart); }, 2);
}

} // namespace

void ComputeRecordStatistics(uint8_t* record) { ComputeRecordStatisticsFrom(record, PeriodStart()); }

void ComputeBlockStatistics(uint8_t* block)
{
    if (block == nullptr)
        return;
    uint16_t periodStart = PeriodStart();
    std::vector<uint8_t*> records;
    for (uint8_t* r = block; RecordLength(r) != 0; r = NextRecord(r))
        records.push_back(r);
    constexpr size_t kWorthThreads = 256;
    if (records.size() < kWorthThreads) {
        for (uint8_t* r : records)
            ComputeRecordStatisticsFrom(r, periodStart);
        return;
    }
    ComputeStatisticsInParallel(records, periodStart);
}

void RecomputeStreamStatistics(const RecordCursor* cursor)
{
    if (cursor == nullptr || cursor->record == nullptr)
        return;
    SubRecordSpan span = SubRecordOf(cursor->record, cursor->count);
    if (span)
        ComputeStreamStatistics(span.sub, span.end, GetCursorCorrections(cursor));
}

int32_t DecodePriceHistory(RecordCursor* cursor, DayRecord** days, uint32_t flags, bool raw, bool withCorrections)
{
    if (cursor == nullptr || days == nullptr || cursor->record == nullptr)
        return 0;
    SkipSubRecords(cursor);
    SubRecordSpan span = SubRecordOf(cursor->record, cursor->count);
    if (!span) {
        ProFree(*days);
        *days = nullptr;
        return 0;
    }
    CorrectionCursor corrections = withCorrections ? GetCursorCorrections(cursor) : CorrectionCursor{};
    return DecodeSubRecordHistory(span.sub, span.end, *days, flags, raw, corrections);
}

void RecomputePeriodExtremes(uint8_t* record, uint32_t streamNumber, uint16_t start)
{
    WalkSubRecords(record, [&](SubRecordSpan span, uint32_t index) {
        RecomputeSubRecordExtremes(span.sub, span.end, GetPriceCorrections(RecordId(record), streamNumber + index),
                                   start);
        return true;
    });
}

} // namespace qv

namespace qv {

void RecomputeAllPeriodExtremes()
{
    ResetPeriodStart();
    uint16_t start = DateBackFromLatest(StatisticsPeriod.unit, StatisticsPeriod.count);
    if (MainRecordBlock != nullptr) {
        for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r))
            RecomputePeriodExtremes(r, 0, start);
    }
    for (RecordListNode* node = ImportedItemList; node != nullptr; node = node->next)
        RecomputePeriodExtremes(node->record, node->value, start);
}

} // namespace qv
