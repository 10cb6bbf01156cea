// The momentum and oscillator group of the indicator windows: oscillator, RSI, momentum, MACD,
// price rate of change, price oscillator, stochastic, the ten-day up/down count, CCI, Williams %R
// and the average true range.
#include "charts/StudyPass.h"

#include <limits>

namespace qv {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

enum class BarKind { Close, Ohlc };

// One line from output `which` of the record's calculator; the first `drop` outputs are left out and
// make the lead-in.
IndicatorLine* CalculatorLine(StudyPass& pass, const IndicatorInput& in, IndicatorResult& out, BarKind kind,
                              int32_t drop)
{
    if (pass.end() == 0)
        return nullptr;
    int outputs = 0;
    const std::vector<float> values = StudyPass::Run(in.record, pass.Bars(kind == BarKind::Close), outputs);
    IndicatorLine& line = AddLine(out, in.record.pens[0], drop);
    for (int32_t k = std::max(drop, 0); k < pass.end(); ++k)
        if (pass.Visible(k))
            pass.Keep(line.values, values[size_t(k) * size_t(outputs)]);
    return &line;
}

} // namespace

void DrawOscillator(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (!CalculatorLine(pass, in, out, BarKind::Close, 0))
        return;
    pass.DataRange(kPadSymmetricZero, true);
    out.levels = {0};
}

void DrawRsi(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (!CalculatorLine(pass, in, out, BarKind::Close, IndicatorPeriod(in.record.period1)))
        return;
    pass.SetRange(0, 100, kPadMarginOnly);
    if (in.record.flags & 4)
        out.levels = {50};
    else
        out.levels = {30, 50, 70};
}

void DrawMomentum(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (!CalculatorLine(pass, in, out, BarKind::Close, 0))
        return;
    pass.WidenToHold(99, 101);
    pass.DataRange(kPadSymmetricHundred, false);
    out.levels = {100};
}

void DrawPriceOscillator(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (!CalculatorLine(pass, in, out, BarKind::Close, 0))
        return;
    pass.DataRange(kPadSymmetricZero, false);
    out.levels = {0};
}

void DrawCci(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (!CalculatorLine(pass, in, out, BarKind::Ohlc, 0))
        return;
    pass.DataRange(kPadSymmetricZero, false);
    out.levels = {-100, 0, 100};
}

void DrawWilliamsR(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (!CalculatorLine(pass, in, out, BarKind::Ohlc, 0))
        return;
    pass.SetRange(-100, 0, kPadMarginOnly);
    out.levels = {-80, -20};
}

void DrawAverageTrueRange(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (!CalculatorLine(pass, in, out, BarKind::Ohlc, IndicatorPeriod(in.record.period1)))
        return;
    pass.DataRange(kPadMarginOnly, false);
}

void DrawMacd(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (pass.end() == 0)
        return;
    const bool lines = in.record.flags & 1, bars = in.record.flags & 2;
    int outputs = 0;
    const std::vector<float> values = StudyPass::Run(in.record, pass.Bars(true), outputs);
    IndicatorLine& macd = AddLine(out, in.record.pens[0], 0);
    IndicatorLine signal;
    signal.pen = in.record.pens[1];
    macd.polyline = lines;
    for (int32_t k = 0; k < pass.end(); ++k) {
        if (!pass.Visible(k))
            continue;
        const float* v = &values[size_t(k) * size_t(outputs)];
        macd.values.push_back(v[0]);
        signal.values.push_back(v[1]);
        if (bars)
            macd.histogram.push_back(v[2]);
        if (lines) {
            pass.Widen(v[0]);
            pass.Widen(v[1]);
        }
        if (bars)
            pass.Widen(v[2]);
    }
    if (lines)
        out.lines.push_back(std::move(signal));
    pass.DataRange(kPadSymmetricZero, true);
    out.levels = {0};
}

void DrawPriceRoc(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    const int32_t n = IndicatorPeriod(in.record.period1);
    if (pass.end() <= n)
        return;
    IndicatorLine& line = AddLine(out, in.record.pens[0], n);
    for (int32_t k = n; k < pass.end(); ++k) {
        if (!pass.Visible(k))
            continue;
        // A day whose base close is 0 has no rate of change.
        const double base = pass.day(k - n).close;
        pass.Keep(line.values, base == 0 ? kNoValue : 100 * (pass.day(k).close - base) / base);
    }
    pass.DataRange(kPadSymmetricZero, false);
    out.levels = {0};
}

void DrawStochastic(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (pass.end() == 0)
        return;
    int outputs = 0;
    const std::vector<Bar> bars = pass.Bars(false, (in.record.flags & 1) != 0);
    std::vector<Bar> noVolume = bars;
    for (Bar& b : noVolume)
        b.volume = 0;
    const std::vector<float> values = StudyPass::Run(in.record, noVolume, outputs);
    IndicatorLine& k = AddLine(out, in.record.pens[0], 0);
    IndicatorLine d;
    d.pen = in.record.pens[1];
    for (int32_t i = 0; i < pass.end(); ++i) {
        if (!pass.Visible(i))
            continue;
        k.values.push_back(values[size_t(i) * size_t(outputs)]);
        d.values.push_back(values[size_t(i) * size_t(outputs) + 1]);
    }
    out.lines.push_back(std::move(d));
    pass.SetRange(0, 100, kPadMarginOnly);
    out.levels = {25, 50, 75};
}

void DrawUpDownCount(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (pass.end() < 10)
        return;
    auto step = [&](int32_t k) {
        const float now = pass.day(k).close, before = pass.day(k - 1).close;
        return int(now > before) - int(now < before);
    };
    int count = 0;
    for (int32_t k = 1; k < 9; ++k)
        count += step(k);
    IndicatorLine& line = AddLine(out, in.record.pens[0], 9);
    for (int32_t k = 9; k < pass.end(); ++k) {
        count += step(k);
        if (pass.Visible(k))
            pass.Keep(line.values, count);
        count -= step(k - 8);
    }
    pass.WidenToHold(-7, 7);
    pass.DataRange(kPadMarginOnly, false);
    out.levels = {-6, 0, 6};
}

} // namespace qv
