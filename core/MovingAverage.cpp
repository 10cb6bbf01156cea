// The moving-average family. Every type keeps running sums over a ring of its window, so a value costs
// the same whatever the period.
#include "core/MovingAverage.h"

#include "core/Memory.h"
#include "core/RollingExtremes.h"
#include "platform/MessageBox.h"
#include "platform/ProgramExit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace qv {
namespace {

double* NewDoubles(int32_t count)
{
    return static_cast<double*>(ProCalloc(uint32_t(std::max(count, 1)), sizeof(double), "Moving average"));
}

// The per-value calls over a series. The types are final, so the calls (and the calls they make on
// themselves) are bound at compile time.
template <class Average>
void SeriesByValue(Average& average, const double* in, double* out, size_t count, double* bands)
{
    for (size_t i = 0; i < count; ++i) {
        out[i] = average.Next(in[i]);
        if (bands)
            bands[i] = average.GetBandWidth();
        average.DropOldest();
    }
}

} // namespace

// ---- base ----

CMovingAverage::CMovingAverage(int32_t period, double bandFactor, int32_t envelope)
    : period_(std::max(period, 1)), valuesNeeded_(period_), innerLength_(period_), bandFactor_(bandFactor),
      reciprocal_(1.0 / period_), envelope_(envelope)
{
    AllocateRing(period_);
}

CMovingAverage::~CMovingAverage()
{
    ProFree(ring_);
}

void CMovingAverage::AllocateRing(int32_t capacity)
{
    ProFree(ring_);
    ringCapacity_ = capacity;
    ring_ = NewDoubles(capacity);
    ringIndex_ = 0;
}

void CMovingAverage::Prepare(int32_t& valuesNeeded, int32_t& leadInCount)
{
    valuesNeeded = valuesNeeded_;
    leadInCount = leadInCount_;
    AllocateRing(ringCapacity_);
}

void CMovingAverage::Prime(double value)
{
    for (int32_t i = 0; i < valuesNeeded_ - 1; ++i)
        WarmUp(i, value);
}

void CMovingAverage::Reset()
{
    sum_ = sumSquares_ = 0;
    ringIndex_ = 0;
    firstValue_ = true;
    shiftPending_ = true;
}

void CMovingAverage::Add(double value)
{
    sum_ += value;
    sumSquares_ += Square(value);
    ring_[ringIndex_] = value;
    if (++ringIndex_ == ringCapacity_)
        ringIndex_ = 0;
}

void CMovingAverage::WarmUp(int32_t, double value)
{
    CMovingAverage::Add(value);
}

void CMovingAverage::DropOldest()
{
    double x = ring_[ringIndex_];
    sum_ -= x;
    sumSquares_ -= Square(x);
}

double CMovingAverage::Next(double value)
{
    Add(value);
    average_ = sum_ * reciprocal_;
    return average_;
}

void CMovingAverage::NextSeries(const double* in, double* out, size_t count, double* bands)
{
    for (size_t i = 0; i < count; ++i) {
        out[i] = Next(in[i]);
        if (bands)
            bands[i] = GetBandWidth();
        DropOldest();
    }
}

double CMovingAverage::DeviationBand(double average, double sum, double sumSquares, int32_t count) const
{
    // The sum of (x - a)^2 over the window, all taken about the shift; rounding can leave it a hair
    // below zero.
    double a = average - shift_;
    double s = sum - count * shift_;
    double q = sumSquares - (2 * s - count * a) * a;
    if (!(q > 0))
        return 0;
    return bandFactor_ * std::sqrt(q / count);
}

double CMovingAverage::BaseBand(double average, double sum, double sumSquares) const
{
    if (envelope_)
        return bandFactor_ * average;
    return DeviationBand(average, sum, sumSquares, valuesNeeded_);
}

double CMovingAverage::GetBandWidth() const
{
    return BaseBand(average_, sum_, sumSquares_);
}

// ---- simple ----

CSimpleMA::CSimpleMA(int32_t period, double bandFactor, int32_t envelope)
    : CMovingAverage(period, bandFactor, envelope)
{
}

namespace {

// The loop of the simple and exponential averages: the state in registers, exactly the steps of
// Next, GetBandWidth and DropOldest. The bands are worked out before the oldest value leaves.
template <bool Exponential, bool Bands>
struct BaseSeries {
    double sum, squares, e;
    double* ring;
    int32_t index;

    template <class Band>
    void Run(const double* in, double* out, double* bands, size_t count, int32_t capacity, double shift,
             double reciprocal, double alpha, double keep, Band&& band)
    {
        for (size_t i = 0; i < count; ++i) {
            const double v = in[i];
            sum += v;
            const double d = v - shift;
            squares += d * d;
            ring[index] = v;
            if (++index == capacity)
                index = 0;
            double average;
            if constexpr (Exponential) {
                e = keep * e + alpha * v;
                average = e;
            } else {
                average = sum * reciprocal;
            }
            out[i] = average;
            if constexpr (Bands)
                bands[i] = band(average, sum, squares);
            const double x = ring[index];
            sum -= x;
            const double dx = x - shift;
            squares -= dx * dx;
        }
    }
};

} // namespace

void CSimpleMA::NextSeries(const double* in, double* out, size_t count, double* bands)
{
    // The first value of a series fixes the shift of the squares; the loop takes the rest.
    size_t first = 0;
    if (shiftPending_ && count > 0) {
        out[0] = CMovingAverage::Next(in[0]);
        if (bands)
            bands[0] = GetBandWidth();
        CMovingAverage::DropOldest();
        first = 1;
    }
    auto band = [this](double average, double sum, double squares) { return BaseBand(average, sum, squares); };
    if (bands) {
        BaseSeries<false, true> run{sum_, sumSquares_, 0, ring_, ringIndex_};
        run.Run(in + first, out + first, bands + first, count - first, ringCapacity_, shift_, reciprocal_, 0, 0, band);
        sum_ = run.sum, sumSquares_ = run.squares, ringIndex_ = run.index;
    } else {
        BaseSeries<false, false> run{sum_, sumSquares_, 0, ring_, ringIndex_};
        run.Run(in + first, out + first, nullptr, count - first, ringCapacity_, shift_, reciprocal_, 0, 0, band);
        sum_ = run.sum, sumSquares_ = run.squares, ringIndex_ = run.index;
    }
    if (count > 0)
        average_ = out[count - 1];
}

// ---- exponential ----

CExponentialMA::CExponentialMA(int32_t period, double bandFactor, int32_t envelope)
    : CMovingAverage(period, bandFactor, envelope), alpha_(2.0 / (period_ + 1)), keep_(1.0 - alpha_)
{
}

void CExponentialMA::Reset()
{
    seedPending_ = true;
    CMovingAverage::Reset();
}

void CExponentialMA::Smooth(double value)
{
    // The first value of a series seeds the average exactly, whether it came as a warm-up or not.
    ExponentialSmoothing s = Smoothing();
    s.Next(value);
    e_ = s.e;
    seedPending_ = s.seedPending;
}

void CExponentialMA::Add(double value)
{
    CMovingAverage::Add(value);
    Smooth(value);
}

void CExponentialMA::WarmUp(int32_t, double value)
{
    Add(value);
}

double CExponentialMA::Next(double value)
{
    Add(value);
    average_ = e_;
    return e_;
}

void CExponentialMA::NextSeries(const double* in, double* out, size_t count, double* bands)
{
    size_t first = 0;
    if ((shiftPending_ || seedPending_) && count > 0) {
        out[0] = Next(in[0]);
        if (bands)
            bands[0] = GetBandWidth();
        DropOldest();
        first = 1;
    }
    auto band = [this](double average, double sum, double squares) { return BaseBand(average, sum, squares); };
    if (bands) {
        BaseSeries<true, true> run{sum_, sumSquares_, e_, ring_, ringIndex_};
        run.Run(in + first, out + first, bands + first, count - first, ringCapacity_, shift_, 0, alpha_, keep_, band);
        sum_ = run.sum, sumSquares_ = run.squares, e_ = run.e, ringIndex_ = run.index;
    } else {
        BaseSeries<true, false> run{sum_, sumSquares_, e_, ring_, ringIndex_};
        run.Run(in + first, out + first, nullptr, count - first, ringCapacity_, shift_, 0, alpha_, keep_, band);
        sum_ = run.sum, sumSquares_ = run.squares, e_ = run.e, ringIndex_ = run.index;
    }
    if (count > 0)
        average_ = out[count - 1];
}

// ---- weighted ----

CWeightedMA::CWeightedMA(int32_t period, double bandFactor, int32_t envelope)
    : CMovingAverage(period, bandFactor, envelope)
{
}

void CWeightedMA::Reset()
{
    plainSum_ = weightedSum_ = 0;
    weightTotal_ = period_;
    CMovingAverage::Reset();
}

void CWeightedMA::WarmUp(int32_t index, double value)
{
    CMovingAverage::Add(value);
    plainSum_ += value;
    weightedSum_ += (index + 1) * value;
    weightTotal_ += index + 1;
}

void CWeightedMA::Add(double value)
{
    CMovingAverage::Add(value);
    weightedSum_ += period_ * value;
    plainSum_ += value;
}

void CWeightedMA::DropOldest()
{
    double oldest = ring_[ringIndex_];
    CMovingAverage::DropOldest();
    weightedSum_ -= plainSum_; // every remaining value loses one step of weight
    plainSum_ -= oldest;
}

double CWeightedMA::Next(double value)
{
    Add(value);
    average_ = weightedSum_ / weightTotal_;
    return average_;
}

void CWeightedMA::NextSeries(const double* in, double* out, size_t count, double* bands)
{
    SeriesByValue(*this, in, out, count, bands);
}

// ---- triangular: an average of the last m simple averages of m values ----

CTriangularMA::CTriangularMA(int32_t period, double bandFactor, int32_t envelope)
    : CMovingAverage(period, bandFactor, envelope)
{
    innerLength_ = period_ / 2 + 1;
    valuesNeeded_ = 2 * innerLength_ - 1;
    innerRing_ = NewDoubles(innerLength_);
}

CTriangularMA::~CTriangularMA()
{
    ProFree(innerRing_);
}

void CTriangularMA::Reset()
{
    index_ = 0;
    outerSum_ = 0;
    std::memset(innerRing_, 0, sizeof(double) * size_t(innerLength_));
    CMovingAverage::Reset();
}

void CTriangularMA::Store(double value)
{
    ring_[index_] = value;
    sum_ += value;
    sumSquares_ += Square(value);
}

void CTriangularMA::WarmUp(int32_t index, double value)
{
    Store(value);
    if (index + 1 < innerLength_) {
        index_ = index_ + 1 == innerLength_ ? 0 : index_ + 1;
        return;
    }
    double inner = sum_ / innerLength_;
    outerSum_ += inner;
    innerRing_[index_] = inner;
    index_ = index_ + 1 == innerLength_ ? 0 : index_ + 1;
    double oldest = ring_[index_];
    sum_ -= oldest;
    sumSquares_ -= Square(oldest);
}

void CTriangularMA::Add(double value)
{
    Store(value);
    double inner = sum_ / innerLength_;
    outerSum_ += inner;
    innerRing_[index_] = inner;
    index_ = index_ + 1 == innerLength_ ? 0 : index_ + 1;
}

void CTriangularMA::DropOldest()
{
    outerSum_ -= innerRing_[index_];
    double oldest = ring_[index_];
    sum_ -= oldest;
    sumSquares_ -= Square(oldest);
}

double CTriangularMA::Next(double value)
{
    Add(value);
    average_ = outerSum_ / innerLength_;
    return average_;
}

void CTriangularMA::NextSeries(const double* in, double* out, size_t count, double* bands)
{
    SeriesByValue(*this, in, out, count, bands);
}

double CTriangularMA::GetBandWidth() const
{
    if (envelope_)
        return bandFactor_ * average_;
    return DeviationBand(average_, sum_, sumSquares_, innerLength_);
}

// ---- variable: an exponential average whose speed follows the market's efficiency ----

CVariableMA::CVariableMA(int32_t period, double bandFactor, int32_t envelope)
    : CMovingAverage(period, bandFactor, envelope), alpha_(2.0 / (period_ + 1))
{
    valuesNeeded_ = 21;
    leadInCount_ = period_ - 21;
    AllocateRing(21);
}

CVariableMA::~CVariableMA() = default;

void CVariableMA::Reset()
{
    h_ = 0;
    historyFill_ = seedPending_ = true;
    changes_ = 0;
    CMovingAverage::Reset();
}

void CVariableMA::StartSeries(double value)
{
    previous_ = dropped_ = value;
    if (window_)
        window_->Reset(float(value));
    else
        window_ = std::make_unique<RollingExtremes>(uint16_t(kWindow), float(value));
    firstValue_ = false;
}

void CVariableMA::EfficiencyStep(double value)
{
    if (firstValue_)
        StartSeries(value);
    changes_ += std::fabs(value - previous_);
    window_->Push(float(value));
    h_ = h_ + 1 == kHistory ? 0 : h_ + 1;
    double ratio = changes_ > 0.0001 ? std::fabs(double(window_->GetRange())) / changes_ : 1.0;
    ratios_[h_] = std::min(ratio, 1.0);
    previous_ = value;
}

void CVariableMA::WarmUp(int32_t, double value)
{
    CMovingAverage::Add(value);
    EfficiencyStep(value);
    if (historyFill_ && ratios_[h_] != 0) {
        std::fill(std::begin(ratios_), std::end(ratios_), ratios_[h_]);
        historyFill_ = false;
    }
}

void CVariableMA::Add(double value)
{
    CMovingAverage::Add(value);
    EfficiencyStep(value);
    if (seedPending_) {
        value_ = value;
        seedPending_ = false;
    }
    double oldest = ratios_[h_ + 1 == kHistory ? 0 : h_ + 1];
    double r = oldest > 0.0001 ? std::min(ratios_[h_] / oldest, 1.5) : 1.5;
    double k = r * (2.0 / 3.0) * alpha_;
    value_ = (1 - k) * value_ + k * value;
}

void CVariableMA::DropOldest()
{
    double x = ring_[ringIndex_];
    sum_ -= x;
    sumSquares_ -= Square(x);
    changes_ -= std::fabs(x - dropped_);
    dropped_ = x;
}

double CVariableMA::Next(double value)
{
    Add(value);
    average_ = value_;
    return value_;
}

void CVariableMA::NextSeries(const double* in, double* out, size_t count, double* bands)
{
    SeriesByValue(*this, in, out, count, bands);
}

// ---- factory ----

namespace {

CMovingAverage* Make(int32_t type, int32_t period, double factor, int32_t envelope)
{
    switch (type) {
    case kExponentialAverage: return new (std::nothrow) CExponentialMA(period, factor, envelope);
    case kWeightedAverage: return new (std::nothrow) CWeightedMA(period, factor, envelope);
    case kTriangularAverage: return new (std::nothrow) CTriangularMA(period, factor, envelope);
    case kVariableAverage: return new (std::nothrow) CVariableMA(period, factor, envelope);
    default: return new (std::nothrow) CSimpleMA(period, factor, envelope);
    }
}

} // namespace

std::unique_ptr<CMovingAverage> CreateMovingAverage(int32_t type, int32_t period, double bandFactor,
                                                    int32_t envelope)
{
    for (;;) {
        if (CMovingAverage* made = Make(type, period, bandFactor, envelope)) {
            made->Reset();
            return std::unique_ptr<CMovingAverage>(made);
        }
        if (ShowMessage("Serious Error: Out of memory\n\nClose down other applications to retry\n\nCancel exits",
                        {}, MsgButtons::RetryCancel, MsgIcon::Exclamation) != MsgAnswer::Retry)
            EndProgram(1);
    }
}

} // namespace qv
