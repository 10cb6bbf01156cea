// The three statistics the list tables cache in every price stream: correlation with the market,
// volatility and beta. The idle walk computes them ahead of the tables.
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>

namespace qv {

// Each computes its value for the price stream at `cursor` (with the user's price corrections, or
// null) and caches it in the stream's statistics room. Until the list-table engine computes them,
// they only count their calls.
void GetCachedCorrelation(RecordCursor cursor, const uint8_t* corrections);
void GetCachedVolatility(RecordCursor cursor, const uint8_t* corrections);
void GetCachedBeta(RecordCursor cursor, const uint8_t* corrections);

struct CachedStatisticsCalls {
    uint32_t correlation = 0;
    uint32_t volatility = 0;
    uint32_t beta = 0;
};
CachedStatisticsCalls& CachedStatisticsCallCounts();

} // namespace qv
