// Signed variable-length integers as the price stream carries them.
#pragma once

#include <cstdint>

namespace qv {

// Largest magnitude the token form can hold (the first byte keeps 5 value bits of at most 26).
constexpr int32_t kVarIntLimit = (1 << 26) - 1;

// Writes v as 1 to 4 bytes and returns the position behind them. A magnitude above kVarIntLimit does
// not fit: nothing is written and the result is null.
uint8_t* EncodeVarInt(int32_t v, uint8_t* out);

} // namespace qv
