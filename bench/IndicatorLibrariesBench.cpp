// Cost per bar of each streaming indicator calculator beside TA-Lib's and Tulip Indicators' functions
// for the same indicator, over the same 1,000,000 bars, in one program: a developer's comparison, built
// only where the two libraries' C sources are unpacked (see bench/CMakeLists.txt and
// devtools/get-indicator-libraries).
//
// Ours run as a chart does, through the whole-series path from the bars; the libraries run as they are
// meant to, one call over arrays of doubles made beforehand. Run with repetitions and random
// interleaving so that a changing load falls on all three alike:
//   taskset -c 3 build/bench/qvindicatorlibs --benchmark_repetitions=7
//       --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
// (one command line)
#include "chartmodel/IndicatorCalc.h"
#include "chartmodel/IndicatorRecord.h"

#include <indicators.h>
#include <ta_libc.h>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>
#include <sys/mman.h>
#include <vector>

namespace {

constexpr size_t kBars = 1'000'000;

// Every array here, inputs and outputs alike, lies in large pages: on this virtual machine a pass over
// megabytes in 4 KB pages pays an address translation miss every 4 KB at a cost that moves with the
// other machines' load, and that would decide between a calculator reading 20 bytes a bar and a
// library reading 8, rather than the work each does a value.
template <class T>
struct LargePages {
    using value_type = T;
    static constexpr size_t kPage = size_t(2) << 20;
    LargePages() = default;
    template <class U>
    LargePages(const LargePages<U>&) {}
    T* allocate(size_t count)
    {
        const size_t bytes = (count * sizeof(T) + kPage - 1) / kPage * kPage;
        void* block = std::aligned_alloc(kPage, bytes);
        if (!block)
            throw std::bad_alloc();
        madvise(block, bytes, MADV_HUGEPAGE);
        return static_cast<T*>(block);
    }
    void deallocate(T* block, size_t) { std::free(block); }
    bool operator==(const LargePages&) const { return true; }
};
template <class T>
using Array = std::vector<T, LargePages<T>>;

// The walk of IndicatorBench: geometric, 1% a day, wicks up to 1%.
struct Data {
    Array<qv::Bar> bars;
    Array<double> open, high, low, close, volume;
};

const Data& Walk()
{
    static const Data data = [] {
        Data d;
        std::mt19937 rng(7);
        std::normal_distribution<double> step(0.0, 0.01);
        std::uniform_real_distribution<double> wick(0.0, 0.01);
        d.bars.resize(kBars);
        double close = 500;
        for (qv::Bar& b : d.bars) {
            const double open = close;
            close *= std::exp(step(rng));
            b = {float(open), float(std::max(open, close) * (1 + wick(rng))),
                 float(std::min(open, close) * (1 - wick(rng))), float(close), float(1e5 * (1 + 100 * wick(rng)))};
        }
        for (const qv::Bar& b : d.bars) {
            d.open.push_back(b.open);
            d.high.push_back(b.high);
            d.low.push_back(b.low);
            d.close.push_back(b.close);
            d.volume.push_back(b.volume);
        }
        TA_Initialize();
        return d;
    }();
    return data;
}

void PerBar(benchmark::State& state)
{
    state.counters["ns_per_bar"] =
        benchmark::Counter(double(kBars), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Ours: one calculator, made before the timing, takes the whole series again each iteration (a series
// goes on from where the last stopped, at the same cost a bar). No timer is paused inside the loop: on
// this virtual machine each pause is a system call that empties the address translation caches, which
// the next pass over 20 MB of bars pays for again, and the libraries' loops pay nothing of the kind.
void Ours(benchmark::State& state, qv::IndicatorRecord settings)
{
    const Data& d = Walk();
    Array<float> out(kBars * 5);
    auto calc = qv::CreateIndicatorCalc(settings, d.bars[0]);
    for (auto _ : state) {
        calc->AddSeries(d.bars.data(), d.bars.size(), out.data());
        benchmark::ClobberMemory();
    }
    calc->Release();
    PerBar(state);
}

// The outputs of the libraries, one array each.
struct Outputs {
    Array<double> a = Array<double>(kBars), b = Array<double>(kBars), c = Array<double>(kBars);
    int begin = 0, count = 0;
};

template <class Call>
void Library(benchmark::State& state, Call&& call)
{
    Walk();
    Outputs o;
    for (auto _ : state) {
        if (call(o) != 0)
            state.SkipWithError("the library refused the call");
        benchmark::ClobberMemory();
    }
    PerBar(state);
}

// Tulip's calls take arrays of inputs, options and outputs.
template <size_t In, size_t Opt>
int Tulip(int (*fn)(int, TI_REAL const* const*, TI_REAL const*, TI_REAL* const*), const double* const (&inputs)[In],
          const double (&options)[Opt], Outputs& o)
{
    double* outputs[] = {o.a.data(), o.b.data(), o.c.data()};
    return fn(int(kBars), inputs, options, outputs);
}

// Each indicator three ways: ours under its name, then ta_ and ti_.
#define QV_COMPARE(name, settings, taCall, tiCall)                                                                   \
    void BM_##name##_ours(benchmark::State& state) { Ours(state, settings); }                                         \
    void BM_##name##_ta(benchmark::State& state)                                                                      \
    {                                                                                                                 \
        const Data& d = Walk();                                                                                       \
        Library(state, [&d](Outputs& o) { return int(taCall); });                                                     \
    }                                                                                                                 \
    void BM_##name##_ti(benchmark::State& state)                                                                      \
    {                                                                                                                 \
        const Data& d = Walk();                                                                                       \
        Library(state, [&d](Outputs& o) { return tiCall; });                                                          \
    }                                                                                                                 \
    BENCHMARK(BM_##name##_ours)->Unit(benchmark::kMillisecond);                                                       \
    BENCHMARK(BM_##name##_ta)->Unit(benchmark::kMillisecond);                                                         \
    BENCHMARK(BM_##name##_ti)->Unit(benchmark::kMillisecond);

constexpr int kLast = int(kBars) - 1;

// RSI 14: Wilder's, and ours with exponential averages against the same functions.
QV_COMPARE(rsi14, qv::IndicatorRecord::Of(2, 0, 14),
           TA_RSI(0, kLast, d.close.data(), 14, &o.begin, &o.count, o.a.data()),
           Tulip(ti_rsi, {d.close.data()}, {14.0}, o))
QV_COMPARE(rsi14_exp, qv::IndicatorRecord::Of(2, 1, 14),
           TA_RSI(0, kLast, d.close.data(), 14, &o.begin, &o.count, o.a.data()),
           Tulip(ti_rsi, {d.close.data()}, {14.0}, o))
QV_COMPARE(macd12_26_9, qv::IndicatorRecord::Of(8, 0, 12, 26, 9),
           TA_MACD(0, kLast, d.close.data(), 12, 26, 9, &o.begin, &o.count, o.a.data(), o.b.data(), o.c.data()),
           Tulip(ti_macd, {d.close.data()}, {12.0, 26.0, 9.0}, o))
QV_COMPARE(stochastic14_3_3, qv::IndicatorRecord::Of(12, 0, 14, 3, 3),
           TA_STOCH(0, kLast, d.high.data(), d.low.data(), d.close.data(), 14, 3, TA_MAType_SMA, 3, TA_MAType_SMA,
                    &o.begin, &o.count, o.a.data(), o.b.data()),
           Tulip(ti_stoch, {d.high.data(), d.low.data(), d.close.data()}, {14.0, 3.0, 3.0}, o))
QV_COMPARE(cci20, qv::IndicatorRecord::Of(52, 0, 20),
           TA_CCI(0, kLast, d.high.data(), d.low.data(), d.close.data(), 20, &o.begin, &o.count, o.a.data()),
           Tulip(ti_cci, {d.high.data(), d.low.data(), d.close.data()}, {20.0}, o))
// Ours gives +DI, -DI, ADX and ADXR; the libraries' ADX gives the one line.
QV_COMPARE(adx14, qv::IndicatorRecord::Of(54, 7, 14),
           TA_ADX(0, kLast, d.high.data(), d.low.data(), d.close.data(), 14, &o.begin, &o.count, o.a.data()),
           Tulip(ti_adx, {d.high.data(), d.low.data(), d.close.data()}, {14.0}, o))
QV_COMPARE(atr14, qv::IndicatorRecord::Of(57, 0, 14),
           TA_ATR(0, kLast, d.high.data(), d.low.data(), d.close.data(), 14, &o.begin, &o.count, o.a.data()),
           Tulip(ti_atr, {d.high.data(), d.low.data(), d.close.data()}, {14.0}, o))
QV_COMPARE(williams14, qv::IndicatorRecord::Of(53, 0, 14),
           TA_WILLR(0, kLast, d.high.data(), d.low.data(), d.close.data(), 14, &o.begin, &o.count, o.a.data()),
           Tulip(ti_willr, {d.high.data(), d.low.data(), d.close.data()}, {14.0}, o))
// Ours is the close as a percentage of the close n bars before: the libraries' rate of change ratio.
QV_COMPARE(momentum10, qv::IndicatorRecord::Of(5, 0, 10),
           TA_ROCR100(0, kLast, d.close.data(), 10, &o.begin, &o.count, o.a.data()),
           Tulip(ti_rocr, {d.close.data()}, {10.0}, o))
QV_COMPARE(obv, qv::IndicatorRecord::Of(48, 0, 0),
           TA_OBV(0, kLast, d.close.data(), d.volume.data(), &o.begin, &o.count, o.a.data()),
           Tulip(ti_obv, {d.close.data(), d.volume.data()}, {0.0}, o))
QV_COMPARE(price_osc5_20, qv::IndicatorRecord::Of(11, 0, 5, 20, 1),
           TA_APO(0, kLast, d.close.data(), 5, 20, TA_MAType_EMA, &o.begin, &o.count, o.a.data()),
           Tulip(ti_apo, {d.close.data()}, {5.0, 20.0}, o))
// Ours is the close less its average: against the libraries' simple average alone.
QV_COMPARE(close_less_sma20, qv::IndicatorRecord::Of(1, 0, 20),
           TA_SMA(0, kLast, d.close.data(), 20, &o.begin, &o.count, o.a.data()),
           Tulip(ti_sma, {d.close.data()}, {20.0}, o))

} // namespace
