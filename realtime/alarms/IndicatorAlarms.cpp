// The indicator crosses of the intraday alarms, computed with the chart's streaming calculators.
#include "realtime/alarms/IndicatorAlarms.h"

#include "chartmodel/IndicatorCalc.h"
#include "chartmodel/IndicatorRecord.h"
#include "core/MovingAverage.h"
#include "core/StringPrintf.h"
#include "realtime/alarms/AlarmRules.h"

#include <cstdint>
#include <memory>

namespace qv {
namespace {

constexpr uint8_t kIndicatorStochastic = 12;

Bar ToBar(const AlarmBar& b) { return Bar{b.open, b.high, b.low, b.close, 0}; }

int Sign(float a, float b) { return a > b ? 1 : a < b ? -1 : 0; }

// The sign rule of MACD and stochastic signal crosses: a non-zero sign that differs from the last
// non-zero sign of the two bars before.
bool SignCross(const std::vector<int>& signs, size_t i)
{
    if (i < 2 || signs[i] == 0)
        return false;
    const int before = signs[i - 1] != 0 ? signs[i - 1] : signs[i - 2];
    return before != 0 && before != signs[i];
}

void Add(std::vector<IndicatorCross>& out, int32_t kind, uint32_t time, std::string text)
{
    out.push_back({kind, time, std::move(text)});
}

std::unique_ptr<CMovingAverage> Average(int32_t type, int32_t period, double first)
{
    auto a = CreateMovingAverage(type, IndicatorPeriod(period), 0, 0);
    int32_t needed = 0, leadIn = 0;
    a->Prepare(needed, leadIn);
    a->Prime(first);
    return a;
}

double NextAverage(CMovingAverage& a, double value)
{
    const double v = a.Next(value);
    a.DropOldest();
    return v;
}

} // namespace

size_t BarSeries::StartIndex() const
{
    if (barLength <= 0 || startTime <= firstTime)
        return 0;
    return size_t((startTime - firstTime) / barLength);
}

bool AnyIndicatorTestOn(const RTAlarmSettings& s)
{
    return s.maOn || s.macdLong > 0 || s.rsiCount > 0 || s.stochCount > 0;
}

std::vector<IndicatorCross> FindIndicatorCrosses(const BarSeries& series, const RTAlarmSettings& s, std::string_view zone)
{
    std::vector<IndicatorCross> out;
    if (series.bars.empty())
        return out;
    auto append = [&out](std::vector<IndicatorCross> more) {
        out.insert(out.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    };
    if (s.maOn)
        append(AverageCrosses(series, s, zone));
    if (s.macdLong > 0)
        append(MacdCrosses(series, s, zone));
    if (s.rsiCount > 0)
        append(RsiCrosses(series, s, zone));
    if (s.stochCount > 0)
        append(StochasticCrosses(series, s, zone));
    return out;
}

std::vector<IndicatorCross> MacdCrosses(const BarSeries& series, const RTAlarmSettings& s, std::string_view zone)
{
    std::vector<IndicatorCross> out;
    const size_t start = series.StartIndex();
    if (series.bars.size() < start + 3)
        return out;
    CMACDCalc calc(s.macdShort, s.macdLong, s.macdSignal, series.bars[0].close);
    std::vector<int> signs(series.bars.size(), 0);
    for (size_t i = 0; i < series.bars.size(); ++i) {
        const float* v = calc.AddValue(ToBar(series.bars[i]));
        signs[i] = Sign(v[1], v[0]);
        if (i >= start && SignCross(signs, i))
            Add(out, kAlarmMacd, series.TimeOf(i), "MACD cross at " + AlarmTimeText(series.TimeOf(i), zone));
    }
    return out;
}

std::vector<IndicatorCross> RsiCrosses(const BarSeries& series, const RTAlarmSettings& s, std::string_view zone)
{
    std::vector<IndicatorCross> out;
    const size_t start = series.StartIndex();
    if (series.bars.size() <= start)
        return out;
    std::unique_ptr<CIndicatorCalc> calc;
    const float first = series.bars[0].close;
    if (s.rsiSmoothing == 3)
        calc = std::make_unique<CWilderRSICalc>(s.rsiCount, first);
    else
        calc = std::make_unique<CRSICalc>(s.rsiCount, s.rsiSmoothing == 2, first);
    int state = 0;
    for (size_t i = 0; i < series.bars.size(); ++i) {
        const float rsi = calc->AddValue(ToBar(series.bars[i]))[0];
        const int now = rsi > s.rsiHigh ? 1 : rsi < s.rsiLow ? -1 : 0;
        if (i > start && now != 0 && now != state) {
            const uint32_t t = series.TimeOf(i);
            Add(out, kAlarmRsi, t,
                StringPrintf("RSI crossed %d%% at ", int(now > 0 ? s.rsiHigh : s.rsiLow)) + AlarmTimeText(t, zone));
        }
        state = now;
    }
    return out;
}

std::vector<IndicatorCross> StochasticCrosses(const BarSeries& series, const RTAlarmSettings& s, std::string_view zone)
{
    std::vector<IndicatorCross> out;
    const size_t start = series.StartIndex();
    if (series.bars.size() < start + 2)
        return out;
    const IndicatorRecord record =
        IndicatorRecord::Of(kIndicatorStochastic, 0, s.stochCount, s.stochSignal, s.stochSlowing, s.stochMaType);
    CStochasticCalc calc(record, ToBar(series.bars[0]));
    std::vector<int> signs(series.bars.size(), 0);
    int level = 0;
    for (size_t i = 0; i < series.bars.size(); ++i) {
        const float* v = calc.AddValue(ToBar(series.bars[i]));
        const float k = v[0], d = v[1];
        signs[i] = Sign(d, k);
        const int now = k > s.stochHigh ? 1 : k < s.stochLow ? -1 : 0;
        // The two bars at the start only set the states.
        const bool reporting = i >= start + 2;
        const uint32_t t = series.TimeOf(i);
        if (reporting && (s.stochChecks & 1) && now != 0 && now != level)
            Add(out, kAlarmStochastic, t,
                StringPrintf("Stoch. osc. level cross %d%% at ", int(now > 0 ? s.stochHigh : s.stochLow)) +
                    AlarmTimeText(t, zone));
        if (reporting && (s.stochChecks & 2) && SignCross(signs, i))
            Add(out, kAlarmStochastic, t, "Stoch. osc. signal cross at " + AlarmTimeText(t, zone));
        level = now;
    }
    return out;
}

std::vector<IndicatorCross> AverageCrosses(const BarSeries& series, const RTAlarmSettings& s, std::string_view zone)
{
    std::vector<IndicatorCross> out;
    const size_t start = series.StartIndex();
    const auto& bars = series.bars;
    if (bars.size() <= start)
        return out;
    auto shortAverage = Average(s.shortType, s.shortCount, bars[0].close);
    auto longAverage = Average(s.longType, s.longCount, bars[0].close);
    // Armed for a golden cross after a bar clearly below, for a dead cross after one clearly above.
    bool armedGolden = false, armedDead = false;
    double decisiveShort = 0, decisiveLong = 0;
    bool fell = false, rose = false; // either average moved so bar to bar since the decisive bar
    double lastShort = 0, lastLong = 0;
    constexpr size_t kNone = SIZE_MAX;
    size_t crossing = kNone; // the bar the short average crossed the long one while armed
    for (size_t i = 0; i < bars.size(); ++i) {
        const double sh = NextAverage(*shortAverage, bars[i].close);
        const double lo = NextAverage(*longAverage, bars[i].close);
        if (i > 0) {
            fell = fell || sh < lastShort || lo < lastLong;
            rose = rose || sh > lastShort || lo > lastLong;
        }
        lastShort = sh;
        lastLong = lo;
        if ((armedGolden && sh > lo) || (armedDead && sh < lo)) {
            if (crossing == kNone)
                crossing = i;
        } else {
            crossing = kNone;
        }
        const double m = sh * s.triggerLevel * 0.01;
        const bool above = sh > lo + m, below = sh + m < lo;
        if (!above && !below)
            continue;
        const size_t at = crossing == kNone ? i : crossing;
        const uint32_t t = series.TimeOf(at);
        if (above && armedGolden && i >= start && sh > decisiveShort && lo > decisiveLong && !fell && (s.maCrossFlags & 1))
            Add(out, kAlarmGoldenCross, t, "Golden cross at " + AlarmTimeText(t, zone));
        if (below && armedDead && i >= start && sh < decisiveShort && lo < decisiveLong && !rose && (s.maCrossFlags & 2))
            Add(out, kAlarmDeadCross, t, "Dead cross at " + AlarmTimeText(t, zone));
        armedDead = above;
        armedGolden = below;
        decisiveShort = sh;
        decisiveLong = lo;
        fell = rose = false;
        crossing = kNone;
    }
    return out;
}

} // namespace qv
