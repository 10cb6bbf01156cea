// A single price coded as a price stream holds it: a scale and the scaled value as a variable-length
// integer.
#pragma once

#include <cstdint>
#include <optional>

namespace qv {

struct ScaledPrice {
    int16_t scale = 1; // positive: value = price x scale; negative: value = price / -scale
    int32_t value = 0;
};

// The smallest scale (doubling, then tenfold from 10) that makes the price whole to a thousandth,
// brought below 600,000 and to at most 10000. Nothing for a price that is not finite, is negative
// or needs a scale beyond 16 bits.
std::optional<ScaledPrice> ScalePrice(float price);

// Stores the scale at byte 8 of the price sub-record and writes the coded value at out; the end of
// the value, or null (nothing written, the scale left as it was) for a price that has no coding.
uint8_t* FormatScaledPrice(uint8_t* subRecord, uint8_t* out, float price);

} // namespace qv
