// The up/down colouring of share list columns: which columns take it, and the state of a value.
#pragma once

#include <cstdint>

namespace qv {

// The up/down state of a share list column's value: 1 up, -1 down, 0 unchanged, 2 no colour.
int ShareListUpDownState(uint8_t fieldCode, float value);
// Whether a share list column takes up/down colours (for 'I' it also sets the record's arrow bit).
bool ShareListHasUpDownColour(uint8_t* column);

} // namespace qv
