// Widens a pane's value range for drawing: the scale settings' fixed range, room for an empty span,
// the margin at each end, and the clamp and symmetry modes of the indicator panes.
#pragma once

#include <cstdint>

namespace qv {

struct ScaleSettings;
struct ValueRange;

enum PadMode : uint32_t {
    kPadMarginOnly = 0,
    kPadFloorZero = 1,        // a negative minimum becomes 0
    kPadSymmetricZero = 2,    // symmetric about 0
    kPadSymmetricHundred = 4, // symmetric about 100
};

// Settings count only with their flag bit 0 set (else a 5% margin); flag bit 1 puts their fixed
// minimum and maximum in first and marks the range fixed. An empty span of a value under 0.001 in
// size becomes -1..1 (left as it is in mode 1), any other empty span is widened by 5% each way. The
// margin is p% of the span at each end, or 2p% above and 0.2p% below on a logarithmic range. A range
// whose maximum is below its minimum is left as it is.
void PadValueRange(ValueRange& range, const ScaleSettings* settings, uint32_t mode);

} // namespace qv
