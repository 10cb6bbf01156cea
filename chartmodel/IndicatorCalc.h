// The streaming indicator calculators: one object per indicator line turns bars into indicator values
// one bar at a time (AddValue) or a whole series in one call (AddSeries), keeping no bar history.
#pragma once

#include "core/MovingAverage.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace qv {

class CMovingAverage;
class WindowExtremes;
struct IndicatorRecord;

// The first five fields of the daily price record.
struct Bar {
    float open;
    float high;
    float low;
    float close;
    float volume;
};
static_assert(sizeof(Bar) == 20);

// Base of every bar calculator. The outputs array belongs to the calculator and holds the values of
// the last bar until the next call.
class CIndicatorCalc {
public:
    CIndicatorCalc(const IndicatorRecord& settings, int outputCount);
    virtual ~CIndicatorCalc();
    CIndicatorCalc(const CIndicatorCalc&) = delete;
    CIndicatorCalc& operator=(const CIndicatorCalc&) = delete;

    // The outputs after `bar`; null once released.
    virtual float* AddValue(const Bar& bar);
    // AddValue for each of `count` bars: the outputs of bar i go to out[i * OutputCount() + j], the
    // same values AddValue gives, bit for bit. The outputs array then holds the last bar's.
    virtual void AddSeries(const Bar* bars, size_t count, float* out);
    // Frees the outputs and everything the calculator owns, and clears the name.
    virtual void Release();

    const std::string& Name() const { return name_; }
    int OutputCount() const { return outputCount_; }
    const float* Outputs() const { return outputs_; }

protected:
    std::string name_;
    float* outputs_ = nullptr;
    int outputCount_;
};

// Periods come from stored signed 16-bit fields: below 1 counts as 1.
int32_t IndicatorPeriod(int32_t stored);

class CRSICalc final : public CIndicatorCalc {
public:
    CRSICalc(const IndicatorRecord& settings, const Bar& first);
    CRSICalc(int32_t period, bool exponential, float firstClose);
    ~CRSICalc() override;
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;
    void Release() override;

private:
    void Start(int32_t period, bool exponential, float firstClose);
    // Simple averages whole; exponential ones need no bands, only their smoothing.
    std::unique_ptr<CMovingAverage> up_, down_;
    ExponentialSmoothing upSmoothing_, downSmoothing_;
    bool exponential_ = false;
    double previousClose_ = 0;
};

class CWilderRSICalc final : public CIndicatorCalc {
public:
    CWilderRSICalc(const IndicatorRecord& settings, const Bar& first);
    CWilderRSICalc(int32_t period, float firstClose);
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;

private:
    // The per-bar state, copied into registers by the whole-series loop.
    struct State {
        int32_t n = 1;
        int32_t k = 0;
        double reciprocal = 1, keep = 0;
        double up = 0, down = 0; // SU, SD
        double previousClose = 0;
    };
    static void Step(State& s, const Bar& bar, float* out);

    void Start(int32_t period, float firstClose);
    State state_;
};

class CATRCalc final : public CIndicatorCalc {
public:
    CATRCalc(const IndicatorRecord& settings, const Bar& first);
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;

private:
    // The per-bar state, copied into registers by the whole-series loop.
    struct State {
        int32_t n;
        int32_t k;
        double reciprocal, keep;
        double sum, average;
        double previousClose;
    };
    static void Step(State& s, const Bar& bar, float* out);

    State state_;
};

class CMACDCalc final : public CIndicatorCalc {
public:
    CMACDCalc(const IndicatorRecord& settings, const Bar& first);
    CMACDCalc(int32_t fast, int32_t slow, int32_t signal, float firstClose);
    ~CMACDCalc() override;
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;

private:
    void Start(int32_t fast, int32_t slow, int32_t signal, float firstClose);
    // The three exponential averages need no bands: their smoothing alone, kept in registers by the
    // whole-series loop.
    ExponentialSmoothing fast_, slow_, signal_;
};

class CMomentumCalc final : public CIndicatorCalc {
public:
    CMomentumCalc(const IndicatorRecord& settings, const Bar& first);
    ~CMomentumCalc() override;
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;
    void Release() override;

private:
    // The per-bar state, copied into registers by the whole-series loop.
    struct State {
        float* ring;
        int32_t n;
        int32_t index;
        float previous;
    };
    static void Step(State& s, const Bar& bar, float* out);

    State state_;
};

class CPriceOscCalc final : public CIndicatorCalc {
public:
    CPriceOscCalc(const IndicatorRecord& settings, const Bar& first);
    ~CPriceOscCalc() override;
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;
    void Release() override;

private:
    // Other averages whole; exponential ones need no bands, only their smoothing.
    std::unique_ptr<CMovingAverage> short_, long_;
    ExponentialSmoothing shortSmoothing_, longSmoothing_;
    bool exponential_ = false;
};

class CStochasticCalc final : public CIndicatorCalc {
public:
    CStochasticCalc(const IndicatorRecord& settings, const Bar& first);
    ~CStochasticCalc() override;
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;
    void Release() override;

private:
    double FastK(const Bar& bar);
    // The slowing over the last bars' closes and window extremes, this bar's among them.
    static double SlowedK(double* rings, int32_t slowing, int32_t& index, float close, float highest, float lowest);
    std::unique_ptr<WindowExtremes> highs_, lows_;
    std::unique_ptr<CMovingAverage> d_;
    double* rings_ = nullptr; // closes, highest highs, lowest lows: s doubles each
    int32_t slowing_;
    int32_t index_ = 0;
};

class CWilliamsRCalc final : public CIndicatorCalc {
public:
    CWilliamsRCalc(const IndicatorRecord& settings, const Bar& first);
    ~CWilliamsRCalc() override;
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;
    void Release() override;

private:
    // The per-bar state of AddValue.
    struct State {
        WindowExtremes* highs;
        WindowExtremes* lows;
    };
    static void Step(State& s, const Bar& bar, float* out);

    std::unique_ptr<WindowExtremes> highs_, lows_;
    State state_;
};

class COBVCalc final : public CIndicatorCalc {
public:
    COBVCalc(const IndicatorRecord& settings, const Bar& first);
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;

private:
    // The per-bar state, copied into registers by the whole-series loop.
    struct State {
        double total;
        float previousClose;
    };
    static void Step(State& s, const Bar& bar, float* out);

    State state_;
};

class CCCICalc final : public CIndicatorCalc {
public:
    CCCICalc(const IndicatorRecord& settings, const Bar& first);
    ~CCCICalc() override;
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;
    void Release() override;

private:
    // The per-bar state, copied into registers by the whole-series loop.
    struct State {
        double* ring;
        int32_t n;
        int32_t index;
        int32_t k;
    };
    static void Step(State& s, const Bar& bar, float* out);

    State state_;
};

class CADMCalc final : public CIndicatorCalc {
public:
    CADMCalc(const IndicatorRecord& settings, const Bar& first);
    ~CADMCalc() override;
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;
    void Release() override;

private:
    // The per-bar state, copied into registers by the whole-series loop.
    struct State {
        int32_t n;
        int32_t k;
        double reciprocal, keep;
        double plus, minus, range; // P, M, T
        double adx;                // X
        float previousHigh, previousLow, previousClose;
        double* ring;
        int32_t index;
    };
    static void Step(State& s, const Bar& bar, float* out);
    static void SteadyBlock(State& s, const Bar* bars, size_t n, float* out);

    State state_;
};

class CMovAvgCalc final : public CIndicatorCalc {
public:
    CMovAvgCalc(const IndicatorRecord& settings, const Bar& first);
    ~CMovAvgCalc() override;
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;
    void Release() override;

private:
    // The simple average's running sum and ring, as CSimpleMA keeps them, without the squares only its
    // bands need; copied into registers by the whole-series loop.
    struct State {
        double* ring;
        double* window; // SumsHold's closes: n - 1 and a block's
        double sum;
        double reciprocal;
        int32_t n;
        int32_t index;
    };
    static void Step(State& s, const Bar& bar, float* out);
    static bool SumsHold(State& s, const Bar* bars, size_t count, float* out);

    State state_;
};

class CPivotPointsCalc final : public CIndicatorCalc {
public:
    CPivotPointsCalc(const IndicatorRecord& settings, const Bar& first);
    float* AddValue(const Bar& bar) override;
    void AddSeries(const Bar* bars, size_t count, float* out) override;

private:
    // The per-bar state, copied into registers by the whole-series loop.
    struct State {
        uint8_t mode;
        Bar previous;
    };
    static void Step(State& s, const Bar& bar, float* out);

    State state_;
};

// The calculator of an indicator line, chosen by its type (type 2 by its smoothing bits).
std::unique_ptr<CIndicatorCalc> CreateIndicatorCalc(const IndicatorRecord& settings, const Bar& first);

} // namespace qv
