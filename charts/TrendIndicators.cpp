// The trend, volatility and statistics group of the indicator windows: up and down ticks,
// volatility, correlation, beta and standard deviation, the vertical horizontal filter, TRIX,
// Coppock, the mass index, the swing index and its accumulation, and directional movement.
#include "core/MovingAverage.h"
#include "core/RollingExtremes.h"
#include "charts/StudyPass.h"

#include <array>
#include <deque>
#include <limits>

namespace qv {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// ln(close / previous close); a close or previous close that is not above 0 makes no move.
double LogReturn(double close, double previous)
{
    return close > 0 && previous > 0 ? std::log(close / previous) : 0.0;
}
// (close - previous) / previous; no move from a zero previous close.
double SimpleReturn(double close, double previous)
{
    return previous != 0 ? (close - previous) / previous : 0.0;
}

// The sums of a window of terms, oldest first, each taken out exactly as it went in.
template <size_t Columns>
class RollingSums {
public:
    using Terms = std::array<double, Columns>;
    void Add(const Terms& terms)
    {
        for (size_t i = 0; i < Columns; ++i)
            sums_[i] += terms[i];
        window_.push_back(terms);
    }
    void DropOldest()
    {
        for (size_t i = 0; i < Columns; ++i)
            sums_[i] -= window_.front()[i];
        window_.pop_front();
    }
    double operator[](size_t i) const { return sums_[i]; }

private:
    Terms sums_{};
    std::deque<Terms> window_;
};

// The variance of a window of n terms with divisor `divisor`, negative taken as 0.
double WindowVariance(double sum, double squares, int32_t n, int32_t divisor)
{
    return std::max((squares - sum * sum / n) / divisor, 0.0);
}

} // namespace

void DrawTicks(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    int32_t first = 0;
    while (first < pass.end() && !pass.Visible(first))
        ++first;
    if (first >= pass.end())
        return;
    // The count starts at 0 before the first visible day, against the close of the record before
    // it (the day's own close when it is the first record); a day after a zero close is no step.
    IndicatorLine& line = AddLine(out, in.record.pens[0], 0);
    line.polyline = false;
    line.barsInPen = true;
    int count = 0, highest = 0, lowest = 0;
    float previous = pass.day(first > 0 ? first - 1 : first).close;
    for (int32_t k = first; k < pass.end(); ++k) {
        const float close = pass.day(k).close;
        if (previous != 0)
            count += int(close > previous) - int(close < previous);
        previous = close;
        highest = std::max(highest, count);
        lowest = std::min(lowest, count);
        line.values.push_back(count);
        line.histogram.push_back(count);
    }
    // Without a change in view the span stays 1, so that bar heights never divide by 0.
    const int r = std::max(2 * std::max(highest, -lowest), 1);
    if (!pass.fixed()) {
        range.minimum = float(-r);
        range.maximum = float(r);
    }
    out.levels = {0};
    out.decimals = 3;
}

void DrawVolatility(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    // The variance divides by n - 1: a window of fewer than two returns has none.
    const int32_t n = std::max<int32_t>(in.record.period1, 2);
    if (pass.end() <= n)
        return;
    double sum = 0, squares = 0;
    std::deque<double> window;
    auto add = [&](int32_t k) {
        const double r = LogReturn(pass.day(k).close, pass.day(k - 1).close);
        sum += r;
        squares += r * r;
        window.push_back(r);
    };
    for (int32_t k = 1; k < n; ++k)
        add(k);
    IndicatorLine& line = AddLine(out, in.record.pens[0], n);
    for (int32_t k = n; k < pass.end(); ++k) {
        add(k);
        if (pass.Visible(k))
            pass.Keep(line.values, 100 * std::sqrt(WindowVariance(sum, squares, n, n - 1)));
        sum -= window.front();
        squares -= window.front() * window.front();
        window.pop_front();
    }
    pass.DataRange(kPadMarginOnly, false);
}

void DrawStatistics(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int variant)
{
    StudyPass pass(in, range);
    const bool deviation = variant == 17;
    std::vector<DayRecord> other;
    if (!deviation) {
        // The other share, by its id read unsigned (ids above 0x7FFF are the indices); none found,
        // the pane keeps its caption and stays empty.
        if (in.loadShare)
            other = in.loadShare(uint16_t(in.record.period2), uint32_t(uint16_t(in.record.period3)));
        if (other.empty())
            return;
    }
    // Correlation and beta take n returns and divide by n - 1; the deviation takes n closes.
    const int32_t n = deviation ? std::max<int32_t>(in.record.period1, 1) : std::max<int32_t>(in.record.period1, 2);
    // The record the other series stands at for each own record: the first not before its date.
    std::vector<int32_t> match(static_cast<size_t>(pass.end()), -1);
    int32_t end = pass.end();
    for (int32_t k = 0, j = 0; !deviation && k < pass.end(); ++k) {
        while (j < int32_t(other.size()) && other[size_t(j)].date < pass.day(k).date)
            ++j;
        if (j >= int32_t(other.size())) {
            end = k;
            break;
        }
        match[size_t(k)] = j;
    }
    // The returns windows start at record 1 and hold n returns; the deviation's holds n closes.
    const int32_t firstValue = deviation ? n - 1 : n;
    if (end <= firstValue)
        return;
    enum { Close, CloseSq, A, ASq, B, BSq, AB, LogA, LogASq, LogB, LogBSq, Columns };
    RollingSums<Columns> sums;
    auto terms = [&](int32_t k) {
        RollingSums<Columns>::Terms t{};
        const double c = pass.day(k).close;
        t[Close] = c;
        t[CloseSq] = c * c;
        if (deviation || k == 0)
            return t;
        const double pc = pass.day(k - 1).close;
        const double c2 = other[size_t(match[size_t(k)])].close, pc2 = other[size_t(match[size_t(k - 1)])].close;
        const double a = SimpleReturn(c, pc), b = SimpleReturn(c2, pc2);
        const double la = LogReturn(c, pc), lb = LogReturn(c2, pc2);
        t[A] = a, t[ASq] = a * a, t[B] = b, t[BSq] = b * b, t[AB] = a * b;
        t[LogA] = la, t[LogASq] = la * la, t[LogB] = lb, t[LogBSq] = lb * lb;
        return t;
    };
    const int32_t start = deviation ? 0 : 1;
    for (int32_t k = start; k < firstValue; ++k)
        sums.Add(terms(k));
    IndicatorLine& line = AddLine(out, in.record.pens[0], firstValue);
    for (int32_t k = firstValue; k < end; ++k) {
        sums.Add(terms(k));
        if (pass.Visible(k)) {
            double value;
            if (deviation) {
                const double mean = sums[Close] / n;
                value = std::sqrt(std::max(sums[CloseSq] - (2 * sums[Close] - n * mean) * mean, 0.0) / n);
            } else {
                const double covariance = sums[AB] - sums[A] * sums[B] / n;
                const double denominator =
                    std::sqrt((sums[BSq] - sums[B] * sums[B] / n) * (sums[ASq] - sums[A] * sums[A] / n));
                double correlation = denominator != 0 ? covariance / denominator
                                     : covariance > 1e-07  ? 1.0
                                     : covariance < -1e-07 ? -1.0
                                                           : 0.0;
                value = correlation;
                if (variant == 16) {
                    const double own = WindowVariance(sums[LogA], sums[LogASq], n, n - 1);
                    const double second = (sums[LogBSq] - sums[LogB] * sums[LogB] / n) / (n - 1);
                    value = second > 0 ? correlation * std::sqrt(own) / std::sqrt(second) : 0.0;
                }
            }
            pass.Keep(line.values, value);
        }
        sums.DropOldest();
    }
    pass.WidenToHold(0, 0);
    pass.DataRange(deviation ? kPadMarginOnly : kPadSymmetricZero, false);
    if (!deviation)
        out.levels = {0};
}

void DrawVhf(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    const int32_t n = std::min<int32_t>(IndicatorPeriod(in.record.period1), 0xFFFF);
    if (pass.end() <= n)
        return;
    RollingExtremes closes(uint16_t(n), pass.day(0).close);
    std::deque<double> moves;
    double sum = 0;
    auto add = [&](int32_t k) {
        const double move = std::fabs(double(pass.day(k).close) - pass.day(k - 1).close);
        sum += move;
        moves.push_back(move);
        closes.Push(pass.day(k).close);
    };
    for (int32_t k = 1; k < n; ++k)
        add(k);
    // The first value is record n's: records 1 to n - 1 only fill the window.
    IndicatorLine& line = AddLine(out, in.record.pens[0], n);
    for (int32_t k = n; k < pass.end(); ++k) {
        add(k);
        if (pass.Visible(k))
            line.values.push_back(sum == 0 ? 1.0 : std::fabs(double(closes.Highest()) - closes.Lowest()) / sum);
        sum -= moves.front();
        moves.pop_front();
    }
    pass.SetRange(0, 1, kPadMarginOnly);
    out.levels = {0.5};
}

void DrawTrix(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (pass.end() == 0)
        return;
    const double a = 2.0 / (IndicatorPeriod(in.record.period1) + 1);
    const double s = 2.0 / (IndicatorPeriod(in.record.period2) + 1);
    double e1 = pass.day(0).close, e2 = e1, e3 = e1, previous = e1, signal = 0;
    IndicatorLine& trix = AddLine(out, in.record.pens[0], 0);
    IndicatorLine signalLine;
    signalLine.pen = in.record.pens[1];
    signalLine.onlyAfterDrawn = true;
    for (int32_t k = 0; k < pass.end(); ++k) {
        e1 = pass.day(k).close * a + e1 * (1 - a);
        e2 = e2 * (1 - a) + e1 * a;
        e3 = e3 * (1 - a) + e2 * a;
        // A zero average has no rate: no value, and the signal stays where it is.
        const double value = e3 != 0 ? (e3 - previous) / e3 * 100 : kNoValue;
        if (e3 != 0)
            signal = value * s + signal * (1 - s);
        previous = e3;
        if (pass.Visible(k)) {
            pass.Keep(trix.values, value);
            signalLine.values.push_back(signal);
        }
    }
    out.lines.push_back(std::move(signalLine));
    pass.DataRange(kPadMarginOnly, false);
    out.levels = {0};
}

void DrawCoppock(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    constexpr int32_t kFirst = 291;
    if (pass.end() <= kFirst)
        return;
    auto average = CreateMovingAverage(kWeightedAverage, 208, 0, 0);
    int32_t needed = 0, leadIn = 0;
    average->Prepare(needed, leadIn);
    // The average's first output is at the record that completes its first `needed` values.
    const int32_t firstValue = kFirst + std::max(needed, 1) - 1;
    IndicatorLine& line = AddLine(out, in.record.pens[0], firstValue);
    for (int32_t k = kFirst; k < pass.end(); ++k) {
        const double c = pass.day(k).close;
        // A zero close has no rate of change: the day adds no change.
        const double value =
            c != 0 ? ((c - pass.day(k - 230).close) + (c - pass.day(k - 291).close)) / c * 100 : 0.0;
        const int32_t j = k - kFirst;
        if (j < needed - 1) {
            average->WarmUp(j, value);
            continue;
        }
        if (pass.Visible(k))
            pass.Keep(line.values, average->Next(value));
        else
            average->Add(value);
        average->DropOldest();
    }
    if (line.values.empty()) {
        out.lines.clear();
        return;
    }
    pass.DataRange(kPadMarginOnly, false);
    out.levels = {0};
}

void DrawMassIndex(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    const int32_t first = FirstFullDataRecord(in, pass.end());
    if (first >= pass.end())
        return;
    const int32_t n = IndicatorPeriod(in.record.period1);
    double e1 = pass.day(first).close, e2 = e1, sum = 0;
    std::deque<double> ratios;
    IndicatorLine& line = AddLine(out, in.record.pens[0], first + n + 18);
    for (int32_t k = first; k < pass.end(); ++k) {
        const DayRecord& d = pass.day(k);
        const double span = std::max(double(d.high) - d.low, 0.001);
        e1 = span * 0.2 + e1 * 0.8;
        e2 = e2 * 0.8 + e1 * 0.2;
        const double ratio = e2 != 0 ? e1 / e2 : 0.0;
        sum += ratio;
        ratios.push_back(ratio);
        if (k - first < n - 1)
            continue;
        if (k - first >= n + 18 && pass.Visible(k))
            pass.Keep(line.values, sum);
        // The window's oldest ratio leaves exactly as it went in.
        sum -= ratios.front();
        ratios.pop_front();
    }
    if (line.values.empty()) {
        out.lines.clear();
        return;
    }
    pass.DataRange(kPadMarginOnly, false);
}

void DrawSwingIndex(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int accumulate)
{
    StudyPass pass(in, range);
    const int32_t first = FirstFullDataRecord(in, pass.end());
    if (first + 1 >= pass.end())
        return;
    const double limit = std::max(double(in.record.period1), 0.01);
    double c1 = pass.day(first).close, o1 = pass.day(first).open, total = 0;
    IndicatorLine& line = AddLine(out, in.record.pens[0], first + 1);
    for (int32_t k = first + 1; k < pass.end(); ++k) {
        const DayRecord& d = pass.day(k);
        const double a = std::fabs(d.high - c1), b = std::fabs(d.low - c1), cr = std::fabs(double(d.high) - d.low);
        double k_, r;
        if (a > b) {
            k_ = a;
            r = a > cr ? a - 0.5 * b : cr;
        } else {
            k_ = b;
            r = b > cr ? b - 0.5 * a : cr;
        }
        r += 0.25 * std::fabs(c1 - o1);
        if (r > -0.001 && r < 0.001)
            r = 0.001;
        const double swing = 50 * ((d.close - c1) + 0.5 * (double(d.close) - d.open) + 0.25 * (c1 - o1)) / r * k_ / limit;
        total += swing;
        if (pass.Visible(k))
            pass.Keep(line.values, accumulate ? total : swing);
        c1 = d.close;
        o1 = d.open;
    }
    pass.DataRange(accumulate ? kPadMarginOnly : kPadSymmetricZero, false);
    out.levels = {0};
}

void DrawDirectionalMovement(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (in.shownDays != 0 && in.shownDays < 2)
        return;
    const int32_t first = FirstFullDataRecord(in, pass.end());
    if (first >= pass.end())
        return;
    const uint8_t flags = in.record.flags;
    std::vector<Bar> bars = pass.Bars(false);
    bars.erase(bars.begin(), bars.begin() + first);
    int outputs = 0;
    const std::vector<float> values = StudyPass::Run(in.record, bars, outputs);
    // The calculator gives +DI, -DI, ADX and ADXR; the pens are ADX, +DI, -DI and ADXR, as the add
    // and colour dialogs name them.
    struct Shown {
        bool on;
        int output;
        int pen;
    };
    const Shown shown[] = {{(flags & 2) != 0, 2, 0}, {(flags & 1) != 0, 0, 1}, {(flags & 1) != 0, 1, 2},
                           {(flags & 4) != 0, 3, 3}};
    for (const Shown& s : shown) {
        if (!s.on)
            continue;
        IndicatorLine& line = AddLine(out, in.record.pens[size_t(s.pen)], first);
        for (int32_t k = first; k < pass.end(); ++k)
            if (pass.Visible(k))
                pass.Keep(line.values, values[size_t(k - first) * size_t(outputs) + size_t(s.output)]);
    }
    if (out.lines.empty())
        return;
    pass.DataRange(kPadMarginOnly, false);
    if (flags & 4)
        out.levels = {20, 25};
}

} // namespace qv
