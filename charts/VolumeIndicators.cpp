// The volume group of the indicator windows: accumulation/distribution and the Chaikin oscillator,
// ease of movement, the positive and negative volume indices, on-balance volume and the money flow
// index. (The volume window itself builds plot elements: IndicatorWindows.)
#include "core/MovingAverage.h"
#include "charts/StudyPass.h"

#include <deque>

namespace qv {

void DrawAccumulation(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int variant)
{
    StudyPass pass(in, range);
    const int32_t first = FirstFullDataRecord(in, pass.end());
    if (first >= pass.end())
        return;
    double ad = 0, slow = pass.day(first).close, fast = 0;
    IndicatorLine& line = AddLine(out, in.record.pens[0], first);
    for (int32_t k = first; k < pass.end(); ++k) {
        const DayRecord& d = pass.day(k);
        // A day without a range, or with a negative volume, adds nothing.
        if (d.volume >= 0 && d.high != d.low)
            ad += ((double(d.close) - d.low) - (double(d.high) - d.close)) * d.volume / (double(d.high) - d.low);
        double value = ad;
        if (variant == 43) {
            slow = ad * 0.18181818181818182 + slow * 0.8181818181818181;
            fast = fast * 0.5 + ad * 0.5;
            value = fast - slow;
        }
        if (pass.Visible(k))
            pass.Keep(line.values, value);
    }
    pass.DataRange(kPadMarginOnly, false);
    if (variant == 43)
        out.levels = {0};
    out.wholeNumbers = true;
}

void DrawEaseOfMovement(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    int32_t first = 0;
    while (first < pass.end() && !(IsFullDataDay(pass.day(first)) && pass.day(first).volume >= 1.0f))
        ++first;
    if (first >= pass.end())
        return;
    const DayRecord& before = pass.day(first > 0 ? first - 1 : 0);
    double previousMid = (double(before.high) + before.low) / 2;
    const double factor = 2.0 / (IndicatorPeriod(in.record.period1) + 1);
    double smoothed = 0;
    IndicatorLine& line = AddLine(out, in.record.pens[0], first);
    for (int32_t k = first; k < pass.end(); ++k) {
        const DayRecord& d = pass.day(k);
        const double mid = (double(d.high) + d.low) / 2, span = double(d.high) - d.low;
        const double day = span > 0.001 && d.volume > 0 ? (mid - previousMid) / (d.volume / (span * 10000)) : 0;
        smoothed = day * factor + smoothed * (1 - factor);
        if (pass.Visible(k))
            pass.Keep(line.values, smoothed);
        previousMid = mid;
    }
    pass.DataRange(kPadSymmetricZero, false);
    out.levels = {0};
}

void DrawVolumeIndex(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int positive)
{
    StudyPass pass(in, range);
    const int32_t first = FirstFullDataRecord(in, pass.end());
    if (first >= pass.end())
        return;
    double index = pass.day(first).close;
    double previousClose = index, previousVolume = pass.day(first).volume;
    auto average = CreateMovingAverage(kSimpleAverage, IndicatorPeriod(in.record.period2), 0, 0);
    int32_t needed = 0, leadIn = 0;
    average->Prepare(needed, leadIn);
    IndicatorLine& line = AddLine(out, in.record.pens[0], first);
    IndicatorLine mean;
    mean.pen = in.record.pens[1];
    mean.leadIn = first + needed;
    mean.onlyAfterDrawn = true;
    for (int32_t k = first; k < pass.end(); ++k) {
        const DayRecord& d = pass.day(k);
        const bool moves = positive ? d.volume > previousVolume : d.volume < previousVolume;
        // A zero previous close leaves the index where it is.
        if (moves && previousClose != 0)
            index += (d.close - previousClose) * index / previousClose;
        // The average takes its first `needed` values without an output; from then on a kept day
        // keeps its output.
        const int32_t j = k - first;
        if (j < needed - 1) {
            average->WarmUp(j, index);
        } else {
            if (j >= needed && pass.Visible(k))
                mean.values.push_back(average->Next(index));
            else
                average->Add(index);
            average->DropOldest();
        }
        if (pass.Visible(k))
            pass.Keep(line.values, index);
        previousClose = d.close;
        previousVolume = d.volume;
    }
    pass.DataRange(kPadMarginOnly, false);
    if (!mean.values.empty())
        out.lines.push_back(std::move(mean));
}

void DrawOnBalanceVolume(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    if (pass.end() == 0)
        return;
    int outputs = 0;
    const std::vector<float> values = StudyPass::Run(in.record, pass.Bars(false), outputs);
    int32_t closeOnly = 0;
    for (int32_t k = 0; k < pass.end(); ++k)
        closeOnly += !IsFullDataDay(pass.day(k));
    IndicatorLine& line = AddLine(out, in.record.pens[0], closeOnly);
    for (int32_t k = 0; k < pass.end(); ++k)
        if (pass.Visible(k) && IsFullDataDay(pass.day(k)))
            pass.Keep(line.values, values[size_t(k) * size_t(outputs)]);
    pass.DataRange(kPadMarginOnly, false);
    out.levels = {0};
    out.wholeNumbers = true;
}

void DrawMoneyFlow(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    const int32_t first = FirstFullDataRecord(in, pass.end());
    if (first >= pass.end())
        return;
    const int32_t n = IndicatorPeriod(in.record.period1);
    auto typical = [&](int32_t k) {
        const DayRecord& d = pass.day(k);
        return (d.high + d.low + d.close) * 0.33333334f;
    };
    // The flows of the last n records, oldest first, each as it was added: taking one out removes
    // exactly what went in.
    std::deque<double> window;
    double positive = 0, negative = 0;
    float previous = typical(first);
    IndicatorLine& line = AddLine(out, in.record.pens[0], first + n);
    for (int32_t k = first; k < pass.end(); ++k) {
        const float t = typical(k);
        const double flow = double(t) * pass.day(k).volume;
        const double signedFlow = t > previous ? flow : t < previous ? -flow : 0;
        (signedFlow > 0 ? positive : negative) += std::fabs(signedFlow);
        window.push_back(signedFlow);
        previous = t;
        if (k - first < n - 1)
            continue;
        const double ratio = negative <= 0.001 ? positive * 1000 : positive / negative;
        if (k >= first + n && pass.Visible(k))
            pass.Keep(line.values, 100 - 100 / (1 + ratio));
        const double oldest = window.front();
        window.pop_front();
        (oldest > 0 ? positive : negative) -= std::fabs(oldest);
    }
    pass.DataRange(kPadMarginOnly, false);
    out.levels = {20, 80};
}

} // namespace qv
