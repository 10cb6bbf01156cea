// Values to pixel rows and back on a value range, linear or signed-logarithmic.
#pragma once

#include <cstdint>

namespace qv {

struct ValueRange;

// The row of a value: 0 without a range or on a degenerate one. With clamp, values beyond the range
// give its top or bottom row; without, rows are kept within a wide span about the pane, so that an
// infinity or a value far off never overflows.
int32_t MapValueToRow(const ValueRange* range, float value, bool clamp);
// The value at a row: 0 without a range, the minimum on a degenerate one; whole numbers on a linear
// range with the whole-numbers flag.
float MapRowToValue(const ValueRange* range, int32_t row);

} // namespace qv
