// Volatility, correlation and beta of a price stream, and their caches in its statistics room.
#include "core/CachedStatistics.h"

#include "core/Database.h"
#include "core/PriceCorrections.h"
#include "core/PriceDayWalker.h"
#include "core/RecordLookup.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr double kClampedOne = 1e-9; // how far above 1 a correlation may be rounded back to 1
constexpr double kFlatNumerator = 1e-7;
constexpr int32_t kMostBeta = 32766;  // keeps clear of the two marks
constexpr int kMostVolatility = 9999;

// Sums of a series and of its square.
struct Moments {
    double n = 0, sum = 0, squares = 0;
    void add(double x)
    {
        ++n;
        sum += x;
        squares += x * x;
    }
    // n times the variance; never below 0, which rounding could make it.
    double spread() const { return std::max(0.0, squares - sum * sum / n); }
};

PriceDayWalker Walk(SubRecordSpan stream, CorrectionCursor corrections)
{
    return PriceDayWalker(stream.sub, stream.end, corrections);
}

} // namespace

double CalcVolatility(SubRecordSpan stream, CorrectionCursor corrections)
{
    if (!stream)
        return kNoStatistic;
    Moments m;
    PriceDayWalker w = Walk(stream, corrections);
    double previous = 0;
    while (w.next()) {
        double close = w.day().close;
        if (previous > 0 && close > 0)
            m.add(std::log(close / previous));
        previous = close;
    }
    if (m.n < kVolatilityChanges)
        return kNoStatistic;
    return std::sqrt(m.spread() / (m.n - 1));
}

double CalcCorrelation(SubRecordSpan stream, CorrectionCursor corrections)
{
    if (!stream || !TradingDays)
        return kNoStatistic;
    Moments x, y;
    double products = 0;
    PriceDayWalker w = Walk(stream, corrections);
    int32_t market = 0;
    double previousClose = 0, previousMarket = 0;
    while (w.next()) {
        const DayRecord& day = w.day();
        while (market < TradingDayCount && TradingDays[market].date < day.date)
            ++market;
        if (market >= TradingDayCount)
            break;
        double close = day.close;
        double marketClose = TradingDays[market].close;
        if (previousClose > 0 && previousMarket > 0) {
            double dx = (close - previousClose) / previousClose;
            double dy = (marketClose - previousMarket) / previousMarket;
            x.add(dx);
            y.add(dy);
            products += dx * dy;
        }
        previousClose = close;
        previousMarket = marketClose;
    }
    if (x.n < kCorrelationPairs)
        return kNoStatistic;
    double numerator = products - x.sum * y.sum / x.n;
    double root = std::sqrt(x.spread() * y.spread());
    if (root == 0)
        return numerator > kFlatNumerator ? 1.0 : numerator >= -kFlatNumerator ? 0.0 : -1.0;
    double r = numerator / root;
    if (std::fabs(r) > 1 && std::fabs(r) <= 1 + kClampedOne)
        r = r > 0 ? 1.0 : -1.0;
    return r;
}

double MarketVolatility()
{
    if (ListValueLimit != kMarketVolatilityNotComputed)
        return ListValueLimit;
    ListValueLimit = kNoStatistic;
    uint8_t* record = MainRecordBlock;
    while (record && RecordLength(record) != 0 && RecordId(record) != kMarketCalendarId)
        record = NextRecord(record);
    if (record && RecordLength(record) != 0)
        ListValueLimit = CalcVolatility(SubRecordOf(record, 0), GetPriceCorrections(kMarketCalendarId, 0));
    return ListValueLimit;
}

double CalcBeta(SubRecordSpan stream, CorrectionCursor corrections)
{
    double r = CalcCorrelation(stream, corrections);
    if (r == kNoStatistic)
        return kNoStatistic;
    double s = CalcVolatility(stream, corrections);
    if (s == kNoStatistic)
        return kNoStatistic;
    double market = MarketVolatility();
    if (market == kNoStatistic || market == 0)
        return kNoStatistic;
    return s * r / market;
}

uint16_t GetCachedVolatility(SubRecordSpan stream, CorrectionCursor corrections)
{
    if (!stream)
        return kStatisticNoValue;
    uint8_t* field = stream.sub + CachedStatisticsLayout::Volatility;
    uint16_t cached = LoadU16(field);
    if (cached != kStatisticNotComputed)
        return cached;
    double v = CalcVolatility(stream, corrections);
    if (v == kNoStatistic)
        return kStatisticNoValue;
    auto value = uint16_t(std::min(v * 10000, double(kMostVolatility)) + 0.5);
    StoreU16(field, value);
    return value;
}

int8_t GetCachedCorrelation(SubRecordSpan stream, CorrectionCursor corrections)
{
    if (!stream)
        return kCorrelationNoValue;
    uint8_t* field = stream.sub + CachedStatisticsLayout::Correlation;
    auto cached = int8_t(*field);
    if (cached != kCorrelationNotComputed)
        return cached;
    double r = CalcCorrelation(stream, corrections);
    if (r > 1)
        return kCorrelationNoValue;
    auto value = int8_t(std::lround(r * 100));
    *field = uint8_t(value);
    return value;
}

int16_t GetCachedBeta(SubRecordSpan stream, CorrectionCursor corrections)
{
    if (!stream)
        return int16_t(kStatisticNoValue);
    uint8_t* field = stream.sub + CachedStatisticsLayout::Beta;
    uint16_t cached = LoadU16(field);
    if (cached != kStatisticNotComputed)
        return int16_t(cached);
    double beta = CalcBeta(stream, corrections);
    if (beta == kNoStatistic)
        return int16_t(kStatisticNoValue);
    auto value = int16_t(std::clamp<long>(std::lround(beta * 100), -kMostBeta, kMostBeta));
    StoreU16(field, uint16_t(value));
    return value;
}

namespace {

struct CursorStream {
    SubRecordSpan span;
    CorrectionCursor corrections;
};

CursorStream OpenCursor(RecordCursor cursor)
{
    if (!cursor.record || RecordLength(cursor.record) == 0)
        return {};
    return {SubRecordOf(cursor.record, cursor.count), GetPriceCorrections(RecordId(cursor.record), cursor.count)};
}

} // namespace

uint16_t GetCachedVolatility(RecordCursor cursor)
{
    CursorStream s = OpenCursor(cursor);
    return GetCachedVolatility(s.span, s.corrections);
}

int8_t GetCachedCorrelation(RecordCursor cursor)
{
    CursorStream s = OpenCursor(cursor);
    return GetCachedCorrelation(s.span, s.corrections);
}

int16_t GetCachedBeta(RecordCursor cursor)
{
    CursorStream s = OpenCursor(cursor);
    return GetCachedBeta(s.span, s.corrections);
}

} // namespace qv
