// The small intraday graphs a list cell draws in place of text: the buy/sell volume split, the mid
// or spread line, the tick directions and the thermograph, planned as drawing steps from a share's
// ticks of the day.
#pragma once

#include "lists/ListPaintPlan.h"

#include <cstdint>
#include <vector>

namespace qv {

struct IntradayGraphDay;

enum MicrographKind : int {
    kMicrographNone = 0,
    kMicrographLine = 3,
    kMicrographTicks = 4,
    kMicrographThermograph = 5,
    kMicrographVolumeSplit = 7,
};
// The kind of small graph an intraday column draws (its flags' low four bits 3, 5 or 7, or a flags
// byte of exactly 4); none for a column that shows a value.
int MicrographKindOf(const uint8_t* column);

// The graph's steps inside [left, right) x [top, bottom).
void PlanMicrograph(std::vector<PaintOp>& ops, int left, int top, int right, int bottom, const ListStyle& style,
                    const uint8_t* column, const IntradayGraphDay& day);

// The shades of the thermograph, lightest first, out of 255.
constexpr int kThermographShades[9] = {224, 208, 192, 176, 160, 140, 120, 96, 64};

} // namespace qv
