// The steps every indicator routine shares: the walk's end, which records keep a value, the range
// taken in as values are kept, the type's range rule with its padding, and the calculator run.
#pragma once

#include "chartmodel/GraphModel.h"
#include "chartmodel/IndicatorCalc.h"
#include "charts/IndicatorStudy.h"
#include "charts/PadValueRange.h"

#include <cfloat>
#include <cmath>
#include <vector>

namespace qv {

class StudyPass {
public:
    StudyPass(const IndicatorInput& in, ValueRange& range)
        : in_(in), range_(range), fixed_((range.flags & kRangeFixed) != 0), end_(RecordsRead(in))
    {
    }

    int32_t end() const { return end_; }
    const DayRecord& day(int32_t k) const { return in_.days[size_t(k)]; }
    bool Visible(int32_t k) const { return in_.days[size_t(k)].date >= in_.firstVisibleDate; }
    bool fixed() const { return fixed_; }
    ValueRange& range() { return range_; }

    // Keeps a value and, unless the range is fixed, takes it into the range.
    void Keep(std::vector<double>& values, double v)
    {
        values.push_back(v);
        Widen(v);
    }
    void Widen(double v)
    {
        if (fixed_ || std::isnan(v))
            return;
        range_.minimum = std::min(range_.minimum, float(v));
        range_.maximum = std::max(range_.maximum, float(v));
    }
    // The range rules, each followed by the padding of its mode; nothing on a fixed range.
    void SetRange(float low, float high, uint32_t mode)
    {
        if (fixed_)
            return;
        range_.minimum = low;
        range_.maximum = high;
        PadValueRange(range_, nullptr, mode);
    }
    void DataRange(uint32_t mode, bool unitWhenFlat)
    {
        if (fixed_)
            return;
        if (unitWhenFlat && !(range_.maximum > range_.minimum)) {
            range_.minimum = -1;
            range_.maximum = 1;
        }
        PadValueRange(range_, nullptr, mode);
    }
    void WidenToHold(float low, float high)
    {
        if (fixed_)
            return;
        range_.minimum = std::min(range_.minimum, low);
        range_.maximum = std::max(range_.maximum, high);
    }

    // The bars of the records read, for a calculator: open, high, low, close (and volume), or the
    // close alone.
    std::vector<Bar> Bars(bool closeOnly, bool closeInAll = false) const
    {
        std::vector<Bar> bars(static_cast<size_t>(end_));
        for (int32_t k = 0; k < end_; ++k) {
            const DayRecord& d = day(k);
            if (closeInAll)
                bars[size_t(k)] = Bar{d.close, d.close, d.close, d.close, 0};
            else if (closeOnly)
                bars[size_t(k)] = Bar{0, 0, 0, d.close, 0};
            else
                bars[size_t(k)] = Bar{d.open, d.high, d.low, d.close, d.volume};
        }
        return bars;
    }
    // Runs the record's calculator over the bars: OutputCount() floats per bar.
    static std::vector<float> Run(const IndicatorRecord& record, const std::vector<Bar>& bars, int& outputs)
    {
        std::unique_ptr<CIndicatorCalc> calc = CreateIndicatorCalc(record, bars.front());
        outputs = calc->OutputCount();
        std::vector<float> out(bars.size() * size_t(outputs));
        calc->AddSeries(bars.data(), bars.size(), out.data());
        calc->Release();
        return out;
    }

private:
    const IndicatorInput& in_;
    ValueRange& range_;
    bool fixed_;
    int32_t end_;
};

// A line of the first or second pen of the record.
inline IndicatorLine& AddLine(IndicatorResult& out, uint32_t pen, int32_t leadIn)
{
    IndicatorLine& line = out.lines.emplace_back();
    line.pen = pen;
    line.leadIn = leadIn;
    return line;
}

} // namespace qv
