// The intraday chart's pivot series and moving averages over its period bars.
#include "charts/IntradayStudies.h"

#include "chartmodel/IndicatorCalc.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/MovAvgLines.h"
#include "core/MovingAverage.h"

#include <algorithm>
#include <memory>

namespace qv {
namespace {

// The calculator's outputs for mask bits 0-4: the pivot, then its outputs 1, 3, 2 and 4.
constexpr int kOutputOfBit[5] = {0, 1, 3, 2, 4};

} // namespace

std::vector<DayLines> PivotSeriesLines(std::span<const PeriodBars* const> days, uint8_t method, uint8_t mask, bool flowing)
{
    std::vector<int> bits;
    for (int bit = 0; bit < 5; ++bit)
        if (mask & (1u << bit))
            bits.push_back(bit);
    std::vector<DayLines> out;
    std::unique_ptr<CPivotPointsCalc> calc;
    for (const PeriodBars* day : days) {
        const size_t n = day ? day->bars.size() : 0;
        DayLines lines(bits.size(), std::vector<float>(n, 0.0f));
        for (size_t i = 0; i < n; ++i) {
            const Bar& bar = day->bars[i];
            // A bar's levels come from the bar before it: the day's first bar has none of its own day.
            if (!calc || (i == 0 && !flowing)) {
                calc = std::make_unique<CPivotPointsCalc>(IndicatorRecord::Of(0, method), bar);
                continue;
            }
            const float* levels = calc->AddValue(bar);
            for (size_t k = 0; k < bits.size(); ++k)
                lines[k][i] = levels[kOutputOfBit[bits[k]]];
        }
        out.push_back(std::move(lines));
    }
    return out;
}

std::vector<DayLines> MovingAverageLines(std::span<const PeriodBars* const> days, uint32_t word, bool flowing)
{
    const bool bands = (word & (1u << 30)) != 0;
    const bool holdLine = (word & (1u << 28)) != 0, holdBands = (word & (1u << 27)) != 0;
    std::vector<DayLines> out;
    std::unique_ptr<CMovingAverage> average;
    int32_t leadIn = 0, seen = 0;
    for (const PeriodBars* day : days) {
        const size_t n = day ? day->bars.size() : 0;
        DayLines lines(bands ? 3 : 1, std::vector<float>(n, 0.0f));
        for (size_t i = 0; i < n; ++i) {
            const float close = day->bars[i].close;
            if (!average || (i == 0 && !flowing)) {
                average = CreateLineAverage(word);
                int32_t needed = 0;
                average->Prepare(needed, leadIn);
                leadIn = std::max(needed - 1, leadIn);
                average->Prime(close);
                seen = 0;
            }
            const double value = average->Next(close);
            const double width = bands ? average->GetBandWidth() : 0;
            average->DropOldest();
            const bool whole = seen++ >= leadIn;
            if (whole || !holdLine)
                lines[0][i] = float(value);
            if (bands && (whole || !holdBands)) {
                lines[1][i] = float(value + width);
                lines[2][i] = float(value - width);
            }
        }
        out.push_back(std::move(lines));
    }
    return out;
}

} // namespace qv
