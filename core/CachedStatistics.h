// The three statistics the share lists show from a share's whole stored history: volatility,
// correlation with the market and beta. Each is cached in the price sub-record's statistics room
// (marks below); the cell code computes a missing value on demand and the idle walk fills them ahead.
#pragma once

#include "core/PriceStream.h"
#include "core/PriceSubRecords.h"
#include "core/RecordCursor.h"

#include <cstdint>

namespace qv {

// Where the room keeps them, and their marks.
namespace CachedStatisticsLayout {
constexpr uint32_t Volatility = 42;  // u16: x 10000, at most 9999
constexpr uint32_t Correlation = 44; // i8: x 100, -100..100
constexpr uint32_t Beta = 46;        // u16 read as i16: x 100
} // namespace CachedStatisticsLayout
constexpr uint16_t kStatisticNoValue = 0x8000;
constexpr uint16_t kStatisticNotComputed = 0x8001;
constexpr int8_t kCorrelationNoValue = -128;
constexpr int8_t kCorrelationNotComputed = -127;

// No value inside the computations, and the mark of a market volatility not yet worked out (the
// database's ListValueLimit, set at each index build).
constexpr double kNoStatistic = 9.99e101;
constexpr double kMarketVolatilityNotComputed = 9.999e102;

constexpr int kVolatilityChanges = 20; // fewest daily changes for a volatility
constexpr int kCorrelationPairs = 50;  // fewest matched pairs for a correlation

// Sample standard deviation of the daily log returns (not annualised); pairs with a close of 0 or
// below are skipped.
double CalcVolatility(SubRecordSpan stream, CorrectionCursor corrections);
// Pearson correlation of the share's daily changes with the market calendar's changes over the same
// days (each share day matched to the first calendar day on or after it).
double CalcCorrelation(SubRecordSpan stream, CorrectionCursor corrections);
// Correlation x volatility of the share / volatility of the market.
double CalcBeta(SubRecordSpan stream, CorrectionCursor corrections);
// The market's volatility, worked out at its first use after each load.
double MarketVolatility();

// The cached value, computed and stored when it is not yet; the no-value mark when it cannot be
// computed (too little history), in which case nothing is stored and the next call tries again.
uint16_t GetCachedVolatility(SubRecordSpan stream, CorrectionCursor corrections);
int8_t GetCachedCorrelation(SubRecordSpan stream, CorrectionCursor corrections);
int16_t GetCachedBeta(SubRecordSpan stream, CorrectionCursor corrections);

// The same for a cursor's sub-record with its own price corrections.
uint16_t GetCachedVolatility(RecordCursor cursor);
int8_t GetCachedCorrelation(RecordCursor cursor);
int16_t GetCachedBeta(RecordCursor cursor);

} // namespace qv
