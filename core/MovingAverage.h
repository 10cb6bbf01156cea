// The moving-average family: streaming simple, exponential, weighted, triangular and variable averages
// with their bands, made by type number through CreateMovingAverage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qv {

class RollingExtremes;

// Moving-average type numbers as the setting records and dialogs store them; any other is simple.
enum MovingAverageType : int32_t {
    kSimpleAverage = 0,
    kExponentialAverage = 1,
    kWeightedAverage = 2,
    kTriangularAverage = 3,
    kVariableAverage = 4,
};

// Calling order: Prepare once; Prime(first value) or WarmUp(i, value) for i = 0 .. N-2; then per value
// Next (and GetBandWidth for bands), then DropOldest. Reset starts a new series.
class CMovingAverage {
public:
    CMovingAverage(int32_t period, double bandFactor, int32_t envelope);
    virtual ~CMovingAverage();
    CMovingAverage(const CMovingAverage&) = delete;
    CMovingAverage& operator=(const CMovingAverage&) = delete;

    // Feeds `value` as the warm-up values 0 .. N-2 (N the values needed).
    virtual void Prime(double value);
    virtual void Reset();
    // Pushes a value without producing an output.
    virtual void Add(double value);
    virtual void WarmUp(int32_t index, double value);
    // Takes the value that the next push overwrites out of the running sums.
    virtual void DropOldest();
    // Pushes a value and returns the new average.
    virtual double Next(double value);
    // Band half-width about the current average.
    virtual double GetBandWidth() const;
    // Next then DropOldest for each of `count` values: out[i] is the average after in[i] and, when
    // asked, bands[i] the band half-width GetBandWidth gives after it. The same values as the
    // per-value calls, bit for bit, in one call.
    virtual void NextSeries(const double* in, double* out, size_t count, double* bands = nullptr);

    // Writes the values needed before the first true output and the lead-in count, and clears the ring.
    void Prepare(int32_t& valuesNeeded, int32_t& leadInCount);

    int32_t Period() const { return period_; }
    int32_t ValuesNeeded() const { return valuesNeeded_; }
    double Average() const { return average_; }

protected:
    // The ring holds `capacity` values; 0 leaves it to the derived type to size it later.
    void AllocateRing(int32_t capacity);
    // Standard-deviation band about `average` over `count` values with these running sums.
    double DeviationBand(double average, double sum, double sumSquares, int32_t count) const;
    // The band of the simple and exponential averages after an average of `average`.
    double BaseBand(double average, double sum, double sumSquares) const;
    // The square kept in the sum of squares. Squares are taken about the series' first value, so that
    // the band keeps its precision on large, steady prices.
    double Square(double value)
    {
        if (shiftPending_) {
            shift_ = value;
            shiftPending_ = false;
        }
        double d = value - shift_;
        return d * d;
    }

    int32_t period_;
    int32_t valuesNeeded_;
    int32_t innerLength_;
    int32_t leadInCount_ = 0;
    double bandFactor_;
    double reciprocal_;
    int32_t envelope_;
    double sum_ = 0;
    double sumSquares_ = 0;
    double average_ = 0;
    double shift_ = 0;
    bool shiftPending_ = true;
    bool firstValue_ = true;
    double* ring_ = nullptr;
    int32_t ringIndex_ = 0;
    int32_t ringCapacity_ = 0;
};

class CSimpleMA final : public CMovingAverage {
public:
    CSimpleMA(int32_t period, double bandFactor, int32_t envelope);
    void NextSeries(const double* in, double* out, size_t count, double* bands = nullptr) override;
};

// The smoothing of an exponential average by itself: the average never reads the ring or the sums
// that only its bands need, so a caller without bands may carry this alone, with the same values.
struct ExponentialSmoothing {
    double alpha = 1;
    double keep = 0; // 1 - alpha
    double e = 0;
    bool seedPending = true;

    // The average after `value` (the first value of a series seeds it exactly).
    double Next(double value)
    {
        if (seedPending) {
            e = value;
            seedPending = false;
        } else {
            e = keep * e + alpha * value;
        }
        return e;
    }
};

class CExponentialMA final : public CMovingAverage {
public:
    CExponentialMA(int32_t period, double bandFactor, int32_t envelope);
    void Reset() override;
    void Add(double value) override;
    void WarmUp(int32_t index, double value) override;
    double Next(double value) override;
    void NextSeries(const double* in, double* out, size_t count, double* bands = nullptr) override;
    // The smoothing as it stands, to go on without the average.
    ExponentialSmoothing Smoothing() const { return {alpha_, keep_, e_, seedPending_}; }

private:
    void Smooth(double value);
    double alpha_;
    double keep_; // 1 - alpha
    double e_ = 0;
    bool seedPending_ = true;
};

class CWeightedMA final : public CMovingAverage {
public:
    CWeightedMA(int32_t period, double bandFactor, int32_t envelope);
    void Reset() override;
    void Add(double value) override;
    void WarmUp(int32_t index, double value) override;
    void DropOldest() override;
    double Next(double value) override;
    void NextSeries(const double* in, double* out, size_t count, double* bands = nullptr) override;

private:
    double plainSum_ = 0;    // S
    double weightedSum_ = 0; // W
    double weightTotal_ = 0; // D
};

class CTriangularMA final : public CMovingAverage {
public:
    CTriangularMA(int32_t period, double bandFactor, int32_t envelope);
    ~CTriangularMA() override;
    void Reset() override;
    void Add(double value) override;
    void WarmUp(int32_t index, double value) override;
    void DropOldest() override;
    double Next(double value) override;
    void NextSeries(const double* in, double* out, size_t count, double* bands = nullptr) override;
    // The deviation band runs over the inner window of raw values.
    double GetBandWidth() const override;

private:
    void Store(double value);
    double* innerRing_;
    double outerSum_ = 0;
    int32_t index_ = 0;
};

class CVariableMA final : public CMovingAverage {
public:
    CVariableMA(int32_t period, double bandFactor, int32_t envelope);
    ~CVariableMA() override;
    void Reset() override;
    void Add(double value) override;
    void WarmUp(int32_t index, double value) override;
    void DropOldest() override;
    double Next(double value) override;
    void NextSeries(const double* in, double* out, size_t count, double* bands = nullptr) override;

private:
    void StartSeries(double value);
    void EfficiencyStep(double value);
    static constexpr int kHistory = 12;
    static constexpr int kWindow = 9;
    double alpha_;
    double changes_ = 0;   // A: sum of absolute changes over the window
    double previous_ = 0;  // p
    double dropped_ = 0;   // d
    std::unique_ptr<RollingExtremes> window_;
    double ratios_[kHistory] = {};
    int h_ = 0;
    bool historyFill_ = true;
    bool seedPending_ = true;
    double value_ = 0;     // V
};

// A new calculator of the given type; the caller owns it. A period below 1 counts as 1. When memory
// runs out the user is asked to retry or to end the program.
std::unique_ptr<CMovingAverage> CreateMovingAverage(int32_t type, int32_t period, double bandFactor,
                                                    int32_t envelope);

} // namespace qv
