// The streaming indicator calculators. Each class does its per-bar work in one place (a Step, or a
// block of moving-average calls), which AddValue and AddSeries share, so both give the same values.
#include "chartmodel/IndicatorCalc.h"

#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/MomentumRatios.h"
#include "chartmodel/WindowExtremes.h"
#include "core/Memory.h"
#include "core/MovingAverage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv {
namespace {

// Bars handed to the moving averages at a time by the whole-series paths (on the stack).
constexpr size_t kBlock = 256;
// Bars from which a series' outputs (a megabyte of floats a line) are written around the caches.
constexpr size_t kPastCachesBars = size_t(1) << 18;

template <class T>
T* NewArray(int32_t count, const char* context)
{
    return static_cast<T*>(ProCalloc(uint32_t(std::max(count, 1)), sizeof(T), context));
}

std::unique_ptr<CMovingAverage> PrimedAverage(int32_t type, int32_t period, double first)
{
    auto average = CreateMovingAverage(type, period, 0, 0);
    int32_t needed = 0, leadIn = 0;
    average->Prepare(needed, leadIn);
    average->Prime(first);
    return average;
}

// The smoothing of an exponential average primed with `first`: what it keeps besides the ring and sums
// its bands need, and what calculators without bands carry in its place, in registers.
ExponentialSmoothing PrimedSmoothing(int32_t period, double first)
{
    return static_cast<const CExponentialMA&>(*PrimedAverage(kExponentialAverage, period, first)).Smoothing();
}

double Next(CMovingAverage& average, double value)
{
    double result = average.Next(value);
    average.DropOldest();
    return result;
}

// 50 with no moves at all, 100 with no down moves.
inline double RsiOf(double up, double down)
{
    if (down == 0)
        return up == 0 ? 50 : 100;
    return 100 - 100 / (1 + up / down);
}

// The fall of a move d whose rise is `up` = max(0, d): -d below 0, else 0; without a branch on d.
inline double DownMove(double up, double d)
{
    return up - d;
}

inline float Percent(double value)
{
    return float(value > 0 ? std::min(value, 100.0) : 0.0);
}

// Toward zero, in double: no whole-number type to overflow (doubles from 2^53 on are whole already).
inline double TruncateDouble(double value)
{
    if (std::fabs(value) < 4503599627370496.0)
        return double(int64_t(value));
    return value;
}

inline float SixDecimals(double value)
{
    return float(TruncateDouble(value * 1000000) * 0.000001);
}

inline float WholeNumber(double value)
{
    return float(TruncateDouble(value + 0.5));
}

// SixDecimals and WholeNumber over `count` values, into floats: the same values, two at a time where
// the processor converts two doubles to whole numbers at once (it does so only within 32 bits; a pair
// with a value beyond that, rare on prices, goes one value at a time). Within 32 bits the two
// conversions truncate alike, a small negative value to +0 included.
template <class Prepare, class Finish, class One>
void TruncatedOf(const double* values, size_t count, float* out, Prepare prepare, Finish finish, One one)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128d limit = _mm_set1_pd(2147483648.0), sign = _mm_set1_pd(-0.0);
    for (; i + 2 <= count; i += 2) {
        const __m128d v = prepare(_mm_loadu_pd(values + i));
        if (_mm_movemask_pd(_mm_cmplt_pd(_mm_andnot_pd(sign, v), limit)) != 3) {
            out[i] = one(values[i]);
            out[i + 1] = one(values[i + 1]);
            continue;
        }
        _mm_storel_pi(reinterpret_cast<__m64*>(out + i), _mm_cvtpd_ps(finish(_mm_cvtepi32_pd(_mm_cvttpd_epi32(v)))));
    }
#else
    (void)prepare;
    (void)finish;
#endif
    for (; i < count; ++i)
        out[i] = one(values[i]);
}

void SixDecimalsOf(const double* values, size_t count, float* out)
{
#if defined(__SSE2__)
    TruncatedOf(
        values, count, out, [](__m128d v) { return _mm_mul_pd(v, _mm_set1_pd(1000000)); },
        [](__m128d v) { return _mm_mul_pd(v, _mm_set1_pd(0.000001)); }, SixDecimals);
#else
    TruncatedOf(values, count, out, 0, 0, SixDecimals);
#endif
}

void WholeNumbersOf(const double* values, size_t count, float* out)
{
#if defined(__SSE2__)
    TruncatedOf(
        values, count, out, [](__m128d v) { return _mm_add_pd(v, _mm_set1_pd(0.5)); }, [](__m128d v) { return v; },
        WholeNumber);
#else
    TruncatedOf(values, count, out, 0, 0, WholeNumber);
#endif
}

// Writes `count` values into a ring of n slots from `index` on, as one by one writes would leave it (only
// the last n matter), and gives the index after them. No division per value: they cost more than the
// block's other work.
template <class T>
int32_t RingWrite(T* ring, size_t n, size_t index, const T* values, size_t count)
{
    const size_t skipped = count > n ? count - n : 0;
    size_t slot = (index + skipped) % n;
    for (size_t b = skipped; b < count; ++b) {
        ring[slot] = values[b];
        slot = slot + 1 == n ? 0 : slot + 1;
    }
    return int32_t(slot);
}

// The loop of the classes that work bar by bar with a static Step over a state of their own: the
// state is copied in and out, so that it stays in registers while the series runs.
template <auto Step, class State>
void StepSeries(State& state, float* outputs, int outputCount, const Bar* bars, size_t count, float* out)
{
    if (!outputs || count == 0)
        return;
    State s = state;
    for (size_t i = 0; i < count; ++i)
        Step(s, bars[i], out + i * size_t(outputCount));
    state = s;
    std::memcpy(outputs, out + (count - 1) * size_t(outputCount), sizeof(float) * size_t(outputCount));
}

template <auto Step, class State>
float* StepValue(State& state, float* outputs, const Bar& bar)
{
    if (outputs)
        Step(state, bar, outputs);
    return outputs;
}

// Runs `block(first, n, out)` over the bars in blocks and keeps the last bar's outputs.
template <class Block>
void BlockSeries(float* outputs, int outputCount, const Bar* bars, size_t count, float* out, Block&& block)
{
    if (!outputs || count == 0)
        return;
    for (size_t start = 0; start < count; start += kBlock)
        block(bars + start, std::min(kBlock, count - start), out + start * size_t(outputCount));
    std::memcpy(outputs, out + (count - 1) * size_t(outputCount), sizeof(float) * size_t(outputCount));
}

IndicatorRecord PeriodRecord(uint8_t type, uint8_t flags, int32_t p1, int32_t p2, int32_t p3)
{
    IndicatorRecord r;
    r.type = type;
    r.flags = flags;
    r.period1 = int16_t(p1);
    r.period2 = int16_t(p2);
    r.period3 = int16_t(p3);
    return r;
}

} // namespace

int32_t IndicatorPeriod(int32_t stored)
{
    return std::max(stored, 1);
}

// ---- base ----

CIndicatorCalc::CIndicatorCalc(const IndicatorRecord& settings, int outputCount)
    : name_(GetIndicatorName(settings)), outputCount_(outputCount)
{
    outputs_ = NewArray<float>(outputCount, "Indicator outputs");
}

CIndicatorCalc::~CIndicatorCalc()
{
    ProFree(outputs_);
}

float* CIndicatorCalc::AddValue(const Bar&)
{
    return outputs_;
}

void CIndicatorCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    for (size_t i = 0; i < count; ++i) {
        const float* values = AddValue(bars[i]);
        if (!values)
            return;
        std::memcpy(out + i * size_t(outputCount_), values, sizeof(float) * size_t(outputCount_));
    }
}

void CIndicatorCalc::Release()
{
    ProFree(outputs_);
    outputs_ = nullptr;
    name_.clear();
}

// ---- RSI with averages ----

CRSICalc::CRSICalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 1)
{
    Start(settings.period1, (settings.flags & 3) == 1, first.close);
}

CRSICalc::CRSICalc(int32_t period, bool exponential, float firstClose)
    : CIndicatorCalc(PeriodRecord(IndicatorType::RSI, exponential ? 1 : 2, period, 0, 0), 1)
{
    Start(period, exponential, firstClose);
}

CRSICalc::~CRSICalc() = default;

void CRSICalc::Start(int32_t period, bool exponential, float firstClose)
{
    // The averages start from an assumed move of 1% of the first close each way.
    exponential_ = exponential;
    if (exponential) {
        upSmoothing_ = downSmoothing_ = PrimedSmoothing(IndicatorPeriod(period), 0.01 * firstClose);
    } else {
        up_ = PrimedAverage(kSimpleAverage, IndicatorPeriod(period), 0.01 * firstClose);
        down_ = PrimedAverage(kSimpleAverage, IndicatorPeriod(period), 0.01 * firstClose);
    }
    previousClose_ = firstClose;
}

float* CRSICalc::AddValue(const Bar& bar)
{
    if (!outputs_)
        return nullptr;
    const double d = bar.close - previousClose_;
    previousClose_ = bar.close;
    const double up = std::max(0.0, d);
    if (exponential_) {
        const double u = upSmoothing_.Next(up);
        outputs_[0] = Percent(RsiOf(u, downSmoothing_.Next(DownMove(up, d))));
    } else {
        const double u = Next(*up_, up);
        outputs_[0] = Percent(RsiOf(u, Next(*down_, DownMove(up, d))));
    }
    return outputs_;
}

void CRSICalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    if (exponential_) {
        if (!outputs_ || count == 0)
            return;
        ExponentialSmoothing up = upSmoothing_, down = downSmoothing_;
        double previous = previousClose_;
        for (size_t i = 0; i < count; ++i) {
            const double d = bars[i].close - previous;
            previous = bars[i].close;
            const double rise = std::max(0.0, d);
            const double u = up.Next(rise);
            out[i] = Percent(RsiOf(u, down.Next(DownMove(rise, d))));
        }
        upSmoothing_ = up, downSmoothing_ = down;
        previousClose_ = previous;
        outputs_[0] = out[count - 1];
        return;
    }
    BlockSeries(outputs_, 1, bars, count, out, [this](const Bar* b, size_t n, float* o) {
        double ups[kBlock] = {}, downs[kBlock] = {};
        for (size_t i = 0; i < n; ++i) {
            const double d = b[i].close - previousClose_;
            previousClose_ = b[i].close;
            ups[i] = std::max(0.0, d);
            downs[i] = DownMove(ups[i], d);
        }
        up_->NextSeries(ups, ups, n);
        down_->NextSeries(downs, downs, n);
        for (size_t i = 0; i < n; ++i)
            o[i] = Percent(RsiOf(ups[i], downs[i]));
    });
}

void CRSICalc::Release()
{
    up_.reset();
    down_.reset();
    CIndicatorCalc::Release();
}

// ---- Wilder's RSI ----

CWilderRSICalc::CWilderRSICalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 1)
{
    Start(settings.period1, first.close);
}

CWilderRSICalc::CWilderRSICalc(int32_t period, float firstClose)
    : CIndicatorCalc(PeriodRecord(IndicatorType::RSI, 0, period, 0, 0), 1)
{
    Start(period, firstClose);
}

void CWilderRSICalc::Start(int32_t period, float firstClose)
{
    State& s = state_;
    s.n = IndicatorPeriod(period);
    s.reciprocal = 1.0 / s.n;
    s.keep = (s.n - 1) * s.reciprocal;
    s.up = s.down = 0.01 * firstClose;
    s.previousClose = firstClose;
}

inline void CWilderRSICalc::Step(State& s, const Bar& bar, float* out)
{
    const double d = bar.close - s.previousClose;
    s.previousClose = bar.close;
    const double up = std::max(0.0, d), down = DownMove(up, d);
    double rsi;
    if (s.k < s.n) {
        // The first n bars fade in from 50 as the sums fill.
        s.up += up;
        s.down += down;
        const double r = RsiOf(s.up / s.n, s.down / s.n);
        rsi = (r * s.k + 50.0 * (s.n - s.k)) / s.n;
        ++s.k;
    } else {
        if (s.k == s.n) {
            s.up /= s.n;
            s.down /= s.n;
            ++s.k;
        }
        // Wilder's smoothing, ((n - 1) S + x) / n, with the division taken as a product.
        s.up = s.keep * s.up + s.reciprocal * up;
        s.down = s.keep * s.down + s.reciprocal * down;
        rsi = RsiOf(s.up, s.down);
    }
    out[0] = Percent(rsi);
}

float* CWilderRSICalc::AddValue(const Bar& bar)
{
    return StepValue<Step>(state_, outputs_, bar);
}

void CWilderRSICalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    StepSeries<Step>(state_, outputs_, 1, bars, count, out);
}

// ---- average true range ----

CATRCalc::CATRCalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 1)
{
    State& s = state_;
    s.n = IndicatorPeriod(settings.period1);
    s.k = 0;
    s.reciprocal = 1.0 / s.n;
    s.keep = (s.n - 1) * s.reciprocal;
    s.sum = s.average = 0;
    s.previousClose = first.close;
}

inline void CATRCalc::Step(State& s, const Bar& bar, float* out)
{
    const double h = bar.high, l = bar.low;
    const double range = std::max(std::fabs(h - l), std::max(std::fabs(h - s.previousClose),
                                                              std::fabs(s.previousClose - l)));
    s.previousClose = bar.close;
    if (s.k < s.n) {
        s.sum += range;
        ++s.k;
        out[0] = 0;
        return;
    }
    if (s.k == s.n) {
        // The first average is the mean of the first n ranges; this bar's range is not used.
        s.average = s.sum / s.n;
        ++s.k;
    } else {
        s.average = s.keep * s.average + s.reciprocal * range;
    }
    out[0] = float(s.average);
}

float* CATRCalc::AddValue(const Bar& bar)
{
    return StepValue<Step>(state_, outputs_, bar);
}

void CATRCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    StepSeries<Step>(state_, outputs_, 1, bars, count, out);
}

// ---- MACD ----

CMACDCalc::CMACDCalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 3)
{
    Start(settings.period1, settings.period2, settings.period3, first.close);
}

CMACDCalc::CMACDCalc(int32_t fast, int32_t slow, int32_t signal, float firstClose)
    : CIndicatorCalc(PeriodRecord(IndicatorType::MACD, 0, fast, slow, signal), 3)
{
    Start(fast, slow, signal, firstClose);
}

CMACDCalc::~CMACDCalc() = default;

void CMACDCalc::Start(int32_t fast, int32_t slow, int32_t signal, float firstClose)
{
    fast_ = PrimedSmoothing(IndicatorPeriod(fast), firstClose);
    slow_ = PrimedSmoothing(IndicatorPeriod(slow), firstClose);
    signal_ = PrimedSmoothing(IndicatorPeriod(signal), 0);
}

namespace {

inline void MacdStep(ExponentialSmoothing& fast, ExponentialSmoothing& slow, ExponentialSmoothing& signal,
                     double close, float* out)
{
    const double m = fast.Next(close) - slow.Next(close);
    const double s = signal.Next(m);
    out[0] = SixDecimals(m);
    out[1] = SixDecimals(s);
    out[2] = SixDecimals(m - s);
}

} // namespace

float* CMACDCalc::AddValue(const Bar& bar)
{
    if (!outputs_)
        return nullptr;
    MacdStep(fast_, slow_, signal_, bar.close, outputs_);
    return outputs_;
}

void CMACDCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    if (!outputs_ || count == 0)
        return;
    ExponentialSmoothing fast = fast_, slow = slow_, signal = signal_;
    size_t i = 0;
    for (; i < count && (fast.seedPending || slow.seedPending || signal.seedPending); ++i)
        MacdStep(fast, slow, signal, bars[i].close, out + 3 * i);
    // Then in blocks: the three averages are chains from bar to bar, kept in registers; the cuts to six
    // decimals depend on nothing before them. They are the previous block's, taken two bars at a time in
    // the same loop, so that they fill the time the chains wait for their multiplications and additions.
    // The operations are MacdStep's, so the values are, to the last bit.
    double f = fast.e, l = slow.e, g = signal.e;
    double values[2][3 * kBlock];
    const double* cutting = nullptr; // the previous block's values
    float* cutOut = nullptr;
    size_t cutCount = 0;
    for (int which = 0; i < count; i += kBlock, which ^= 1) {
        const size_t n = std::min(kBlock, count - i);
        double* const chain = values[which];
        auto step = [&](size_t j) {
            const double close = bars[i + j].close;
            f = fast.keep * f + fast.alpha * close;
            l = slow.keep * l + slow.alpha * close;
            const double m = f - l;
            g = signal.keep * g + signal.alpha * m;
            chain[3 * j] = m;
            chain[3 * j + 1] = g;
            chain[3 * j + 2] = m - g;
        };
        size_t j = 0;
        for (; j + 2 <= n && j + 2 <= cutCount; j += 2) {
            step(j);
            step(j + 1);
            SixDecimalsOf(cutting + 3 * j, 6, cutOut + 3 * j);
        }
        if (cutCount > j)
            SixDecimalsOf(cutting + 3 * j, 3 * (cutCount - j), cutOut + 3 * j);
        for (; j < n; ++j)
            step(j);
        cutting = chain, cutOut = out + 3 * i, cutCount = n;
    }
    SixDecimalsOf(cutting, 3 * cutCount, cutOut);
    fast.e = f, slow.e = l, signal.e = g;
    fast_ = fast, slow_ = slow, signal_ = signal;
    std::memcpy(outputs_, out + (count - 1) * 3, sizeof(float) * 3);
}

// ---- momentum ----

CMomentumCalc::CMomentumCalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 1)
{
    State& s = state_;
    s.n = IndicatorPeriod(settings.period1);
    s.index = 0;
    s.previous = 0;
    s.ring = NewArray<float>(s.n, "Momentum");
    std::fill_n(s.ring, s.n, first.close);
}

CMomentumCalc::~CMomentumCalc()
{
    ProFree(state_.ring);
}

inline void CMomentumCalc::Step(State& s, const Bar& bar, float* out)
{
    // Against a stored close of 0 there is no ratio: the line holds its previous value.
    const float then = s.ring[s.index];
    if (then != 0)
        s.previous = float(100.0 * bar.close / then);
    out[0] = s.previous;
    s.ring[s.index] = bar.close;
    if (++s.index == s.n)
        s.index = 0;
}

float* CMomentumCalc::AddValue(const Bar& bar)
{
    return StepValue<Step>(state_, outputs_, bar);
}

void CMomentumCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    if (!outputs_ || count == 0)
        return;
    // The close n bars back is in the ring for the series' first n bars and in the series after them,
    // so the ring is only read on the way and written once at the end; the ratios then depend on
    // nothing but two closes. The operations are Step's, so the values are, to the last bit.
    State& s = state_;
    const size_t n = size_t(s.n);
    float previous = s.previous;
    auto one = [&](size_t i) {
        const size_t slot = size_t(s.index) + i;
        const float then = i < n ? s.ring[slot < n ? slot : slot - n] : bars[i - n].close;
        if (then != 0)
            previous = float(100.0 * bars[i].close / then);
        out[i] = previous;
    };
    size_t i = 0;
    for (; i < count && i < n; ++i)
        one(i);
    // From bar n on, in blocks taken four bars at a time without a branch; a block with a close of 0
    // among the divisors is taken again bar by bar. A series too big for the caches is written around
    // them.
    const bool pastCaches = count >= kPastCachesBars;
    // Around the caches each block then writes whole lines: a line begun so and finished by an ordinary
    // store is written twice, and waits for the first.
    while (pastCaches && i < count && (reinterpret_cast<uintptr_t>(out + i) & 63) != 0)
        one(i++);
    while (i < count) {
        const size_t block = std::min(kBlock, count - i), end = i + block;
        if (!MomentumRatios(bars + i, n, block, out + i, pastCaches)) {
            for (; i < end; ++i)
                one(i);
            continue;
        }
        // Worked out again rather than read back from outputs that may have gone past the caches.
        previous = float(100.0 * bars[end - 1].close / bars[end - 1 - n].close);
        i = end;
    }
    if (pastCaches)
        EndWritesPastCaches();
    for (size_t j = count > n ? count - n : 0; j < count; ++j)
        s.ring[(size_t(s.index) + j) % n] = bars[j].close;
    s.index = int32_t((size_t(s.index) + count) % n);
    s.previous = previous;
    outputs_[0] = previous;
}

void CMomentumCalc::Release()
{
    ProFree(state_.ring);
    state_.ring = nullptr;
    CIndicatorCalc::Release();
}

// ---- price oscillator ----

CPriceOscCalc::CPriceOscCalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 1)
{
    const int32_t a = IndicatorPeriod(settings.period1), b = IndicatorPeriod(settings.period2);
    exponential_ = settings.period3 == kExponentialAverage;
    if (exponential_) {
        shortSmoothing_ = PrimedSmoothing(std::min(a, b), first.close);
        longSmoothing_ = PrimedSmoothing(std::max(a, b), first.close);
    } else {
        short_ = PrimedAverage(settings.period3, std::min(a, b), first.close);
        long_ = PrimedAverage(settings.period3, std::max(a, b), first.close);
    }
}

CPriceOscCalc::~CPriceOscCalc() = default;

float* CPriceOscCalc::AddValue(const Bar& bar)
{
    if (!outputs_)
        return nullptr;
    if (exponential_) {
        const double s = shortSmoothing_.Next(bar.close);
        outputs_[0] = float(s - longSmoothing_.Next(bar.close));
        return outputs_;
    }
    const double s = short_->Next(bar.close);
    const double l = long_->Next(bar.close);
    short_->DropOldest();
    long_->DropOldest();
    outputs_[0] = float(s - l);
    return outputs_;
}

void CPriceOscCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    if (exponential_) {
        if (!outputs_ || count == 0)
            return;
        ExponentialSmoothing shortOne = shortSmoothing_, longOne = longSmoothing_;
        for (size_t i = 0; i < count; ++i) {
            const double s = shortOne.Next(bars[i].close);
            out[i] = float(s - longOne.Next(bars[i].close));
        }
        shortSmoothing_ = shortOne, longSmoothing_ = longOne;
        outputs_[0] = out[count - 1];
        return;
    }
    BlockSeries(outputs_, 1, bars, count, out, [this](const Bar* b, size_t n, float* o) {
        double closes[kBlock] = {}, s[kBlock] = {};
        for (size_t i = 0; i < n; ++i)
            closes[i] = b[i].close;
        short_->NextSeries(closes, s, n);
        long_->NextSeries(closes, closes, n);
        for (size_t i = 0; i < n; ++i)
            o[i] = float(s[i] - closes[i]);
    });
}

void CPriceOscCalc::Release()
{
    short_.reset();
    long_.reset();
    CIndicatorCalc::Release();
}

// ---- stochastic ----

CStochasticCalc::CStochasticCalc(const IndicatorRecord& settings, const Bar& first)
    : CIndicatorCalc(settings, 2), slowing_(IndicatorPeriod(settings.period3))
{
    const int32_t n = IndicatorPeriod(settings.period1);
    highs_ = std::make_unique<WindowExtremes>(n, first.high);
    lows_ = std::make_unique<WindowExtremes>(n, first.low);
    // The slowing rings start full of the first bar, so the first means are of real prices.
    rings_ = NewArray<double>(3 * slowing_, "Stochastic");
    std::fill_n(rings_, slowing_, double(first.close));
    std::fill_n(rings_ + slowing_, slowing_, double(first.high));
    std::fill_n(rings_ + 2 * slowing_, slowing_, double(first.low));
    d_ = PrimedAverage(settings.period4, IndicatorPeriod(settings.period2), 50);
}

CStochasticCalc::~CStochasticCalc()
{
    ProFree(rings_);
}

inline double CStochasticCalc::SlowedK(double* rings, int32_t slowing, int32_t& index, float close, float highest,
                                       float lowest)
{
    double* closes = rings;
    double* highs = rings + slowing;
    double* lows = rings + 2 * slowing;
    closes[index] = close;
    highs[index] = highest;
    lows[index] = lowest;
    if (++index == slowing)
        index = 0;
    double c = 0, h = 0, l = 0;
    for (int32_t j = 0; j < slowing; ++j) {
        c += closes[j];
        h += highs[j];
        l += lows[j];
    }
    const double mean = 1.0 / slowing;
    c *= mean;
    h *= mean;
    l *= mean;
    return h > l ? 100 * (c - l) / (h - l) : 50;
}

double CStochasticCalc::FastK(const Bar& bar)
{
    highs_->Push(bar.high);
    lows_->Push(bar.low);
    return SlowedK(rings_, slowing_, index_, bar.close, highs_->Highest(), lows_->Lowest());
}

float* CStochasticCalc::AddValue(const Bar& bar)
{
    if (!outputs_)
        return nullptr;
    const double k = FastK(bar);
    outputs_[0] = float(k);
    outputs_[1] = float(Next(*d_, k));
    return outputs_;
}

void CStochasticCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    BlockSeries(outputs_, 2, bars, count, out, [this](const Bar* b, size_t n, float* o) {
        float highs[kBlock], lows[kBlock];
        highs_->PushSeriesHighest(&b->high, sizeof(Bar), n, highs);
        lows_->PushSeriesLowest(&b->low, sizeof(Bar), n, lows);
        double k[kBlock];
        int32_t index = index_;
        for (size_t i = 0; i < n; ++i)
            k[i] = SlowedK(rings_, slowing_, index, b[i].close, highs[i], lows[i]);
        index_ = index;
        double d[kBlock];
        d_->NextSeries(k, d, n);
        for (size_t i = 0; i < n; ++i) {
            o[2 * i] = float(k[i]);
            o[2 * i + 1] = float(d[i]);
        }
    });
}

void CStochasticCalc::Release()
{
    highs_.reset();
    lows_.reset();
    d_.reset();
    ProFree(rings_);
    rings_ = nullptr;
    CIndicatorCalc::Release();
}

// ---- Williams %R ----

CWilliamsRCalc::CWilliamsRCalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 1)
{
    const int32_t n = IndicatorPeriod(settings.period1);
    highs_ = std::make_unique<WindowExtremes>(n, first.high);
    lows_ = std::make_unique<WindowExtremes>(n, first.low);
    state_ = {highs_.get(), lows_.get()};
}

CWilliamsRCalc::~CWilliamsRCalc() = default;

inline void CWilliamsRCalc::Step(State& s, const Bar& bar, float* out)
{
    s.highs->Push(bar.high);
    s.lows->Push(bar.low);
    const double highest = s.highs->Highest();
    const double range = highest - s.lows->Lowest();
    out[0] = range > 0.00001 ? float(-100 * (highest - bar.close) / range) : -100.0f;
}

float* CWilliamsRCalc::AddValue(const Bar& bar)
{
    return StepValue<Step>(state_, outputs_, bar);
}

void CWilliamsRCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    // The windows run a block at a time each, so that neither's state goes through memory per bar.
    BlockSeries(outputs_, 1, bars, count, out, [this](const Bar* b, size_t n, float* o) {
        float highs[kBlock], lows[kBlock];
        highs_->PushSeriesHighest(&b->high, sizeof(Bar), n, highs);
        lows_->PushSeriesLowest(&b->low, sizeof(Bar), n, lows);
        for (size_t i = 0; i < n; ++i) {
            const double highest = highs[i];
            const double range = highest - lows[i];
            o[i] = range > 0.00001 ? float(-100 * (highest - b[i].close) / range) : -100.0f;
        }
    });
}

void CWilliamsRCalc::Release()
{
    highs_.reset();
    lows_.reset();
    state_ = {};
    CIndicatorCalc::Release();
}

// ---- on-balance volume ----

COBVCalc::COBVCalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 1)
{
    state_ = {0, first.close};
}

inline void COBVCalc::Step(State& s, const Bar& bar, float* out)
{
    // +v on a rise, -v on a fall, nothing when unchanged; as a product, since the direction is
    // anybody's guess.
    const int direction = int(bar.close > s.previousClose) - int(bar.close < s.previousClose);
    s.total += double(direction) * bar.volume;
    s.previousClose = bar.close;
    out[0] = float(s.total);
}

float* COBVCalc::AddValue(const Bar& bar)
{
    return StepValue<Step>(state_, outputs_, bar);
}

void COBVCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    StepSeries<Step>(state_, outputs_, 1, bars, count, out);
}

// ---- commodity channel index ----

CCCICalc::CCCICalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 1)
{
    State& s = state_;
    s.n = IndicatorPeriod(settings.period1);
    s.index = s.k = 0;
    s.ring = NewArray<double>(s.n, "Commodity channel index");
    std::fill_n(s.ring, s.n, (double(first.close) + first.low + first.high) * (1.0 / 3));
}

CCCICalc::~CCCICalc()
{
    ProFree(state_.ring);
}

inline void CCCICalc::Step(State& s, const Bar& bar, float* out)
{
    const double tp = (double(bar.close) + bar.low + bar.high) * (1.0 / 3);
    // The mean takes this bar's typical price and up to n - 1 before it; the mean deviation runs over
    // up to n typical prices before this bar.
    const int32_t inMean = std::min(s.k, s.n - 1);
    const int32_t inDeviation = std::min(s.k, s.n);
    double sum = tp;
    int32_t j = s.index;
    for (int32_t m = 0; m < inMean; ++m) {
        j = j == 0 ? s.n - 1 : j - 1;
        sum += s.ring[j];
    }
    const double mean = sum / (1 + inMean);
    double deviation = 0;
    j = s.index;
    for (int32_t m = 0; m < inDeviation; ++m) {
        j = j == 0 ? s.n - 1 : j - 1;
        deviation += std::fabs(s.ring[j] - mean);
    }
    if (inDeviation > 0)
        deviation /= inDeviation;
    deviation *= 0.015;
    out[0] = deviation > 0.000001 ? float((tp - mean) / deviation) : 0.0f;
    s.ring[s.index] = tp;
    if (++s.index == s.n)
        s.index = 0;
    if (s.k < s.n)
        ++s.k;
}

float* CCCICalc::AddValue(const Bar& bar)
{
    return StepValue<Step>(state_, outputs_, bar);
}

void CCCICalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    if (!outputs_ || count == 0)
        return;
    State& s = state_;
    size_t i = 0;
    for (; i < count && s.k < s.n; ++i)
        Step(s, bars[i], out + i);
    if (i < count) {
        // With the window full, the typical prices lie in order in one array (the window's, then a
        // block's), so that both sums read straight back without the ring's wrap, two bars at a time:
        // each bar's sums add the same values in the same order as Step.
        const int32_t n = s.n;
        std::vector<double> prices(size_t(n) + kBlock);
        double* const history = prices.data();
        for (; i < count;) {
            const size_t block = std::min(kBlock, count - i);
            for (int32_t m = 0; m < n; ++m)
                history[m] = s.ring[(s.index + m) % n];
            for (size_t b = 0; b < block; ++b)
                history[size_t(n) + b] = (double(bars[i + b].close) + bars[i + b].low + bars[i + b].high) * (1.0 / 3);
            size_t b = 0;
#if defined(__SSE2__)
            const __m128d count2 = _mm_set1_pd(n), sign = _mm_set1_pd(-0.0), scale = _mm_set1_pd(0.015);
            for (; b + 2 <= block; b += 2) {
                const double* const at = history + n + b;
                __m128d sum = _mm_loadu_pd(at);
                for (int32_t m = 1; m < n; ++m)
                    sum = _mm_add_pd(sum, _mm_loadu_pd(at - m));
                const __m128d mean = _mm_div_pd(sum, count2);
                __m128d deviation = _mm_setzero_pd();
                for (int32_t m = 1; m <= n; ++m)
                    deviation = _mm_add_pd(deviation, _mm_andnot_pd(sign, _mm_sub_pd(_mm_loadu_pd(at - m), mean)));
                deviation = _mm_mul_pd(_mm_div_pd(deviation, count2), scale);
                double means[2], deviations[2];
                _mm_storeu_pd(means, mean);
                _mm_storeu_pd(deviations, deviation);
                for (int lane = 0; lane < 2; ++lane)
                    out[i + b + lane] =
                        deviations[lane] > 0.000001 ? float((at[lane] - means[lane]) / deviations[lane]) : 0.0f;
            }
#endif
            for (; b < block; ++b) {
                const double* const at = history + n + b;
                double sum = *at;
                for (int32_t m = 1; m < n; ++m)
                    sum += at[-m];
                const double mean = sum / n;
                double deviation = 0;
                for (int32_t m = 1; m <= n; ++m)
                    deviation += std::fabs(at[-m] - mean);
                deviation = deviation / n * 0.015;
                out[i + b] = deviation > 0.000001 ? float((*at - mean) / deviation) : 0.0f;
            }
            // The ring takes the last n prices, oldest at the write position.
            std::copy_n(history + block, n, s.ring);
            s.index = 0;
            i += block;
        }
    }
    outputs_[0] = out[count - 1];
}

void CCCICalc::Release()
{
    ProFree(state_.ring);
    state_.ring = nullptr;
    CIndicatorCalc::Release();
}

// ---- average directional movement ----

CADMCalc::CADMCalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 4)
{
    State& s = state_;
    s.n = IndicatorPeriod(settings.period1);
    s.k = 0;
    s.reciprocal = 1.0 / s.n;
    s.keep = (s.n - 1) * s.reciprocal;
    s.plus = s.minus = s.range = s.adx = 0;
    s.previousHigh = first.high;
    s.previousLow = first.low;
    s.previousClose = first.close;
    s.ring = NewArray<double>(s.n, "Directional movement");
    s.index = 0;
}

CADMCalc::~CADMCalc()
{
    ProFree(state_.ring);
}

inline void CADMCalc::Step(State& s, const Bar& bar, float* out)
{
    const double h = bar.high, l = bar.low, pc = s.previousClose;
    const double range = s.k == 0 ? 0.0 : std::max(std::fabs(h - l), std::max(std::fabs(h - pc), std::fabs(l - pc)));
    const double up = std::fabs(h - double(s.previousHigh));
    const double down = std::fabs(l - double(s.previousLow));
    // The moves count by conditions that are anybody's guess bar to bar: taken as products.
    const int plusCounts = (int(up >= down) | int(bar.low > s.previousLow)) & int(bar.high >= s.previousHigh);
    const int minusCounts = int(up <= down) & int(bar.low <= s.previousLow);
    const double plusMove = up * double(plusCounts);
    const double minusMove = down * double(minusCounts);
    if (s.k <= s.n) {
        s.plus += plusMove;
        s.minus += minusMove;
        s.range += range;
    } else {
        // Wilder's smoothing, S - S/n + x, as S (n - 1)/n + x.
        s.plus = s.plus * s.keep + plusMove;
        s.minus = s.minus * s.keep + minusMove;
        s.range = s.range * s.keep + range;
    }
    double plusDI = 0, minusDI = 0;
    if (s.range > 0.001) {
        const double scale = 100 / s.range;
        plusDI = s.plus * scale;
        minusDI = s.minus * scale;
    }
    const double both = plusDI + minusDI;
    const double dx = both > 0.0001 ? 100 * std::fabs(plusDI - minusDI) / both : 0.0;
    double adx;
    if (s.k < s.n) {
        s.adx += dx;
        adx = s.adx / (s.k + 1);
    } else {
        if (s.k == s.n)
            s.adx /= s.n;
        s.adx = s.keep * s.adx + s.reciprocal * dx;
        adx = s.adx;
    }
    s.ring[s.index] = adx;
    if (++s.index == s.n)
        s.index = 0;
    double adxr = (adx + s.ring[s.index]) * 0.5;
    if (s.k < s.n) {
        const double fade = double(s.k) / s.n;
        plusDI *= fade;
        minusDI *= fade;
    }
    if (s.k < 2 * s.n) {
        const double fade = double(s.k) / (2.0 * s.n);
        adx *= fade;
        adxr *= fade;
    }
    out[0] = WholeNumber(plusDI);
    out[1] = WholeNumber(minusDI);
    out[2] = WholeNumber(adx);
    out[3] = WholeNumber(adxr);
    s.previousHigh = bar.high;
    s.previousLow = bar.low;
    s.previousClose = bar.close;
    if (s.k <= 2 * s.n)
        ++s.k;
}

float* CADMCalc::AddValue(const Bar& bar)
{
    return StepValue<Step>(state_, outputs_, bar);
}

// From bar 2n + 1 on (no fading in, no sums to build up) in blocks of passes. The running sums and the
// average are chains from bar to bar, kept in registers; a bar's two divisions and its rounding depend
// on nothing before it, so they run in passes of their own, two bars to a vector instruction where the
// processor has them. The operations are Step's, so the values are, to the last bit.
void CADMCalc::SteadyBlock(State& state, const Bar* bars, size_t n, float* out)
{
    // The state in locals: the stores into the blocks below could otherwise be taken for stores into it.
    const double keep = state.keep, reciprocal = state.reciprocal;
    double sumPlus = state.plus, sumMinus = state.minus, sumRange = state.range;
    float previousHigh = state.previousHigh, previousLow = state.previousLow, previousClose = state.previousClose;
    double plus[kBlock], minus[kBlock], range[kBlock];
    for (size_t i = 0; i < n; ++i) {
        const Bar& bar = bars[i];
        const double h = bar.high, l = bar.low, pc = previousClose;
        const double trueRange = std::max(std::fabs(h - l), std::max(std::fabs(h - pc), std::fabs(l - pc)));
        const double up = std::fabs(h - double(previousHigh));
        const double down = std::fabs(l - double(previousLow));
        const int plusCounts = (int(up >= down) | int(bar.low > previousLow)) & int(bar.high >= previousHigh);
        const int minusCounts = int(up <= down) & int(bar.low <= previousLow);
        sumPlus = sumPlus * keep + up * double(plusCounts);
        sumMinus = sumMinus * keep + down * double(minusCounts);
        sumRange = sumRange * keep + trueRange;
        plus[i] = sumPlus;
        minus[i] = sumMinus;
        range[i] = sumRange;
        previousHigh = bar.high;
        previousLow = bar.low;
        previousClose = bar.close;
    }
    state.plus = sumPlus, state.minus = sumMinus, state.range = sumRange;
    state.previousHigh = previousHigh, state.previousLow = previousLow, state.previousClose = previousClose;
    double dx[kBlock];
    size_t first = 0;
#if defined(__SSE2__)
    for (; first + 2 <= n; first += 2) {
        const __m128d r = _mm_loadu_pd(range + first);
        const __m128d ranged = _mm_cmpgt_pd(r, _mm_set1_pd(0.001));
        const __m128d one = _mm_set1_pd(1.0), hundred = _mm_set1_pd(100);
        const __m128d scale = _mm_div_pd(hundred, _mm_or_pd(_mm_and_pd(ranged, r), _mm_andnot_pd(ranged, one)));
        const __m128d plusDI = _mm_and_pd(ranged, _mm_mul_pd(_mm_loadu_pd(plus + first), scale));
        const __m128d minusDI = _mm_and_pd(ranged, _mm_mul_pd(_mm_loadu_pd(minus + first), scale));
        const __m128d both = _mm_add_pd(plusDI, minusDI);
        const __m128d moved = _mm_cmpgt_pd(both, _mm_set1_pd(0.0001));
        const __m128d apart = _mm_mul_pd(hundred, _mm_andnot_pd(_mm_set1_pd(-0.0), _mm_sub_pd(plusDI, minusDI)));
        const __m128d ratio = _mm_div_pd(apart, _mm_or_pd(_mm_and_pd(moved, both), _mm_andnot_pd(moved, one)));
        _mm_storeu_pd(dx + first, _mm_and_pd(moved, ratio));
        _mm_storeu_pd(plus + first, plusDI);
        _mm_storeu_pd(minus + first, minusDI);
    }
#endif
    for (size_t i = first; i < n; ++i) {
        const bool ranged = range[i] > 0.001;
        const double scale = 100 / (ranged ? range[i] : 1.0);
        const double plusDI = ranged ? plus[i] * scale : 0.0;
        const double minusDI = ranged ? minus[i] * scale : 0.0;
        const double both = plusDI + minusDI;
        const bool moved = both > 0.0001;
        dx[i] = moved ? 100 * std::fabs(plusDI - minusDI) / (moved ? both : 1.0) : 0.0;
        plus[i] = plusDI;
        minus[i] = minusDI;
    }
    double values[4 * kBlock];
    double* const ring = state.ring;
    const int32_t period = state.n;
    int32_t index = state.index;
    double adx = state.adx;
    for (size_t i = 0; i < n; ++i) {
        adx = keep * adx + reciprocal * dx[i];
        ring[index] = adx;
        if (++index == period)
            index = 0;
        values[4 * i] = plus[i];
        values[4 * i + 1] = minus[i];
        values[4 * i + 2] = adx;
        values[4 * i + 3] = (adx + ring[index]) * 0.5;
    }
    state.adx = adx, state.index = index;
    WholeNumbersOf(values, 4 * n, out);
}

void CADMCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    if (!outputs_ || count == 0)
        return;
    State s = state_;
    size_t i = 0;
    for (; i < count && s.k <= 2 * s.n; ++i)
        Step(s, bars[i], out + 4 * i);
    for (; i < count; i += kBlock)
        SteadyBlock(s, bars + i, std::min(kBlock, count - i), out + 4 * i);
    state_ = s;
    std::memcpy(outputs_, out + (count - 1) * 4, sizeof(float) * 4);
}

void CADMCalc::Release()
{
    ProFree(state_.ring);
    state_.ring = nullptr;
    CIndicatorCalc::Release();
}

// ---- price less its simple average ----

namespace {

// The block's sums, Step's outputs from them, and whether they are Step's sums; the closes go to
// `closes` on the way (`oldest` reads them back n - 1 bars later). The sum after bar b is guessed as the
// one before plus (close - oldest), the same number as Step's (sum + close) - oldest when both
// additions are exact; two bars at a time, from the sum before both, so that the chain from bar to bar
// is one addition every other bar. Each bar then checks that Step's two additions from the guess before
// it give its own guess: bar by bar from the start, the guesses are then Step's sums.
bool SumsCheckOut(const Bar* bars, double* closes, const double* oldest, size_t count, double reciprocal,
                  double& sum, float* out)
{
    bool hold = true;
    size_t b = 0;
#if defined(__SSE2__)
    const __m128d scale = _mm_set1_pd(reciprocal), zero = _mm_setzero_pd();
    __m128d base = _mm_set1_pd(sum), all = _mm_castsi128_pd(_mm_set1_epi32(-1));
    // Bars `at` and at + 1: their two outputs, in the low half.
    auto pair = [&](size_t at) {
        const __m128d close =
            _mm_cvtps_pd(_mm_unpacklo_ps(_mm_load_ss(&bars[at].close), _mm_load_ss(&bars[at + 1].close)));
        _mm_storeu_pd(closes + at, close);
        const __m128d moves = _mm_sub_pd(close, _mm_loadu_pd(oldest + at));
        // (sum after `at`, sum after at + 1) and (sum before `at`, sum after `at`)
        const __m128d after = _mm_add_pd(base, _mm_add_pd(moves, _mm_unpacklo_pd(zero, moves)));
        const __m128d before = _mm_unpacklo_pd(base, after);
        const __m128d withNew = _mm_add_pd(before, close);
        all = _mm_and_pd(all, _mm_cmpeq_pd(_mm_sub_pd(withNew, _mm_loadu_pd(oldest + at)), after));
        base = _mm_unpackhi_pd(after, after);
        return _mm_cvtpd_ps(_mm_sub_pd(close, _mm_mul_pd(withNew, scale)));
    };
    // Four bars a step, so that the outputs go out in one store.
    for (; b + 4 <= count; b += 4) {
        const __m128 low = pair(b);
        _mm_storeu_ps(out + b, _mm_movelh_ps(low, pair(b + 2)));
    }
    for (; b + 2 <= count; b += 2)
        _mm_storel_pi(reinterpret_cast<__m64*>(out + b), pair(b));
    hold = _mm_movemask_pd(all) == 3;
    sum = _mm_cvtsd_f64(base);
#endif
    for (; b < count; ++b) {
        const double close = closes[b] = bars[b].close;
        const double withNew = sum + close, after = sum + (close - oldest[b]);
        hold &= withNew - oldest[b] == after;
        out[b] = float(close - withNew * reciprocal);
        sum = after;
    }
    return hold;
}

} // namespace

CMovAvgCalc::CMovAvgCalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 1)
{
    // Primed as CMovingAverage::Prime leaves a simple average: n - 1 first closes added one by one.
    State& s = state_;
    s.n = IndicatorPeriod(settings.period1);
    s.reciprocal = 1.0 / s.n;
    s.ring = NewArray<double>(s.n, "Moving average");
    s.window = NewArray<double>(s.n - 1 + int32_t(kBlock), "Moving average");
    s.sum = 0;
    for (int32_t m = 0; m < s.n - 1; ++m) {
        s.sum += double(first.close);
        s.ring[m] = first.close;
    }
    s.index = s.n - 1;
}

CMovAvgCalc::~CMovAvgCalc()
{
    ProFree(state_.ring);
    ProFree(state_.window);
}

// CMovingAverage::Next then DropOldest: the new close into the sum and the ring, the average, then the
// oldest close out of the sum.
inline void CMovAvgCalc::Step(State& s, const Bar& bar, float* out)
{
    const double close = bar.close;
    const double withNew = s.sum + close;
    s.ring[s.index] = close;
    if (++s.index == s.n)
        s.index = 0;
    out[0] = float(close - withNew * s.reciprocal);
    s.sum = withNew - s.ring[s.index];
}

float* CMovAvgCalc::AddValue(const Bar& bar)
{
    return StepValue<Step>(state_, outputs_, bar);
}

// Step's sum is a chain of two additions a bar, (sum + new) - oldest, which sets the pace. On prices
// both are exact nearly always (the window's closes are alike in size and the sum has bits to spare),
// and then sum + (new - oldest) is the same number with one addition on the chain. So the sums are
// guessed that way, and each bar checks that Step's two additions from the guess before it give its
// own guess: bar by bar from the start, the guesses are then Step's sums, and the outputs Step's.
// The checks compare values, which here is comparing bits: a NaN fails them, and neither sum is ever
// -0 (a sum is -0 only after a -0 sum, and the first is +0). False (the block to be taken again by
// Step) where a check fails; otherwise the ring is left as Step leaves it.
bool CMovAvgCalc::SumsHold(State& s, const Bar* bars, size_t count, float* out)
{
    const size_t n = size_t(s.n), history = n - 1;
    double* const window = s.window; // the n - 1 closes in the sum, oldest first, then the block's
    for (size_t m = 0, slot = size_t(s.index); m < history; ++m) {
        slot = slot + 1 == n ? 0 : slot + 1;
        window[m] = s.ring[slot];
    }
    double* const closes = window + history;
    double sum = s.sum;
    if (!SumsCheckOut(bars, closes, window, count, s.reciprocal, sum, out))
        return false;
    s.sum = sum;
    s.index = RingWrite(s.ring, n, size_t(s.index), closes, count);
    return true;
}

void CMovAvgCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    BlockSeries(outputs_, 1, bars, count, out, [this](const Bar* b, size_t n, float* o) {
        if (SumsHold(state_, b, n, o))
            return;
        State s = state_;
        for (size_t i = 0; i < n; ++i)
            Step(s, b[i], o + i);
        state_ = s;
    });
}

void CMovAvgCalc::Release()
{
    ProFree(state_.ring);
    ProFree(state_.window);
    state_.ring = state_.window = nullptr;
    CIndicatorCalc::Release();
}

// ---- pivot points ----

CPivotPointsCalc::CPivotPointsCalc(const IndicatorRecord& settings, const Bar& first) : CIndicatorCalc(settings, 5)
{
    state_ = {settings.flags, first};
}

inline void CPivotPointsCalc::Step(State& s, const Bar& bar, float* out)
{
    const double hp = s.previous.high, lp = s.previous.low, cp = s.previous.close;
    double p = 0;
    switch (s.mode) {
    case 0: p = (cp + lp + hp) / 3; break;
    case 1: p = (cp + lp + hp + bar.open) / 4; break;
    case 2: p = (lp + hp + bar.open) / 3; break;
    default: break;
    }
    out[0] = float(p);
    out[1] = float(2 * p - lp);
    out[2] = float(2 * p - hp);
    out[3] = float(p + (hp - lp));
    out[4] = float(p - (hp - lp));
    s.previous = bar;
}

float* CPivotPointsCalc::AddValue(const Bar& bar)
{
    return StepValue<Step>(state_, outputs_, bar);
}

void CPivotPointsCalc::AddSeries(const Bar* bars, size_t count, float* out)
{
    StepSeries<Step>(state_, outputs_, 5, bars, count, out);
}

// ---- factory ----

std::unique_ptr<CIndicatorCalc> CreateIndicatorCalc(const IndicatorRecord& settings, const Bar& first)
{
    switch (settings.type) {
    case IndicatorType::RSI:
        if ((settings.flags & 3) == 0)
            return std::make_unique<CWilderRSICalc>(settings, first);
        return std::make_unique<CRSICalc>(settings, first);
    case IndicatorType::ATR: return std::make_unique<CATRCalc>(settings, first);
    case IndicatorType::MACD: return std::make_unique<CMACDCalc>(settings, first);
    case IndicatorType::Momentum: return std::make_unique<CMomentumCalc>(settings, first);
    case IndicatorType::PriceOscillator: return std::make_unique<CPriceOscCalc>(settings, first);
    case IndicatorType::Stochastic: return std::make_unique<CStochasticCalc>(settings, first);
    case IndicatorType::WilliamsR: return std::make_unique<CWilliamsRCalc>(settings, first);
    case IndicatorType::OnBalanceVolume: return std::make_unique<COBVCalc>(settings, first);
    case IndicatorType::CCI: return std::make_unique<CCCICalc>(settings, first);
    case IndicatorType::ADM: return std::make_unique<CADMCalc>(settings, first);
    case IndicatorType::PivotPoints: return std::make_unique<CPivotPointsCalc>(settings, first);
    default: return std::make_unique<CMovAvgCalc>(settings, first);
    }
}

} // namespace qv
