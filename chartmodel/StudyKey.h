// The 32-bit study key of a chart series: what the series shows. Drawn lines and other per-series
// items are stored under it, so a key must stay the same from one version to the next.
#pragma once

#include <cstdint>

namespace qv {

struct IndicatorRecord;

// Kinds below 4 name the chart's own series (1 price, 2 volume); an indicator's kind is its pane id
// (4-7). A kind below 4, or no record, gives kind << 24; otherwise the key is (type + 4) << 24 with
// the record's periods and flags packed into the low 24 bits by type.
uint32_t MakeStudyKey(uint32_t kind, const IndicatorRecord* record);

// The source part of a market-breadth study's key: a portfolio (flag bit 0) as 128 with its number
// in bits 8-23, else the market group (low 7 bits of the third parameter).
uint32_t MakeSlotKey(const IndicatorRecord& record);

// A market-breadth item's key of an older store (its type + 4 in the top byte, the source 0-3 below)
// as the study key of that type and source.
uint32_t BreadthStudyKeyOf(uint32_t oldKey);

} // namespace qv
