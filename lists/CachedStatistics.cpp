// Stand-ins for the cached statistics until the list-table engine computes them: they count.
#include "lists/CachedStatistics.h"

namespace qv {

CachedStatisticsCalls& CachedStatisticsCallCounts()
{
    static CachedStatisticsCalls calls;
    return calls;
}

void GetCachedCorrelation(RecordCursor, const uint8_t*)
{
    ++CachedStatisticsCallCounts().correlation;
}

void GetCachedVolatility(RecordCursor, const uint8_t*)
{
    ++CachedStatisticsCallCounts().volatility;
}

void GetCachedBeta(RecordCursor, const uint8_t*)
{
    ++CachedStatisticsCallCounts().beta;
}

} // namespace qv
