// The statistics room of a price sub-record: last prices, change, period and all-time extremes,
// worked out once when the database loads so that readers need not decode.
#pragma once

#include "core/DayRecord.h"
#include "core/PriceStream.h"

#include <cstdint>

namespace qv {

// Offsets within a price sub-record.
constexpr uint32_t kStatMarketValue = 20;
constexpr uint32_t kStatLastClose = 24;
constexpr uint32_t kStatChange = 28;
constexpr uint32_t kStatPeriodHigh = 32;
constexpr uint32_t kStatPeriodLow = 36;
constexpr uint32_t kStatLastDate = 40;
constexpr uint32_t kStatPeriodHighDate = 48;
constexpr uint32_t kStatPeriodLowDate = 50;
constexpr uint32_t kStatAllTimeHigh = 52;
constexpr uint32_t kStatAllTimeLow = 56;
constexpr uint32_t kStatLastOpen = 60;
constexpr uint32_t kStatLastHigh = 64;
constexpr uint32_t kStatLastLow = 68;
constexpr uint32_t kStatLastVolume = 72;

// The statistics room as fields.
struct StreamStatistics {
    float marketValue = 0;
    float lastClose = 0;
    float change = 0;
    float periodHigh = 0;
    float periodLow = 0;
    uint16_t lastDate = 0;
    uint16_t periodHighDate = 0;
    uint16_t periodLowDate = 0;
    float allTimeHigh = 0;
    float allTimeLow = 0;
    float lastOpen = 0;
    float lastHigh = 0;
    float lastLow = 0;
    float lastVolume = 0;
};

StreamStatistics ReadStreamStatistics(const uint8_t* sub);

// Decodes the sub-record's stream (`sub` to `subEnd`, at least the 80 bytes of head and room) with
// its corrections and fills its statistics room.
void ComputeStreamStatistics(uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections);
// The same with the period start given: touches nothing but the sub-record and, for a stream without
// corrections, its walk checkpoints (core/PriceWalkIndex, kept under a lock), so that many streams can
// be worked out at once.
void ComputeStreamStatisticsFrom(uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections,
                                 uint16_t periodStart);

// The statistics worked out by DecodePriceMarker's walk alone, with no checkpoints kept: the
// reference the one-walk path of ComputeStreamStatisticsFrom is held to.
void ComputeStreamStatisticsByMarkedDays(uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections,
                                         uint16_t periodStart);

// Recomputes the period high and low with their dates over the raw days dated after `start`.
void RecomputeSubRecordExtremes(uint8_t* sub, const uint8_t* subEnd, CorrectionCursor corrections, uint16_t start);

// The date `count` units back from the latest database date (0 when there is none): unit 1 weekdays,
// unit 2 calendar days, unit 3 the year's first day (the year before in its first quarter), unit 4
// the day before the PackedDate `count`; any other unit 0.
uint16_t DateBackFromLatest(uint32_t unit, int32_t count);

// The start of the statistics period: DateBackFromLatest of the period option, worked out again
// whenever the latest database date has changed.
uint16_t PeriodStart();

// Forgets the cached period start, so that the next use works it out from the option again.
void ResetPeriodStart();

} // namespace qv
