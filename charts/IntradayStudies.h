// The studies the intraday chart works out bar by bar over its days' period bars: the pivot levels
// of the pivot series and the price moving averages of the setting's line words. Each starts afresh
// on every day unless the data flows between days, when it runs on from the day before.
#pragma once

#include "charts/IntradayChart.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// One day's lines, a value per bar; 0 where the line is not drawn.
using DayLines = std::vector<std::vector<float>>;

// The pivot series' lines by the mask of its record (bit 0 the pivot, bits 1-4 its four support and
// resistance levels), in that order, for each day: each bar's levels from the bar before it, by the
// record's method; a day's first bar has none unless the data flows from the day before.
std::vector<DayLines> PivotSeriesLines(std::span<const PeriodBars* const> days, uint8_t method, uint8_t mask, bool flowing);

// A packed line word's average of the bar closes for each day: the middle line, then the upper and
// lower bands when the word shows them. Within the lead-in the line (bit 28) and the bands (bit 27)
// are left out when the word asks.
std::vector<DayLines> MovingAverageLines(std::span<const PeriodBars* const> days, uint32_t word, bool flowing);

} // namespace qv
