// The rules of the criterion range strip: where a criterion's bounds lie on the strip, the value under
// a pixel, which handle a press takes, and how far a dragged handle may go.
#pragma once

#include "core/DMFilter.h"

namespace qv {

enum class RangeHandle { Lower, Upper };

inline constexpr int kRangeStripMargin = 14;   // client width less this is the usable width
inline constexpr int kLowerHandleOffset = 3;
inline constexpr int kUpperHandleOffset = 10;
inline constexpr int kHandleSeparation = 7;    // the handles never come closer
inline constexpr int kHandleWidth = 7;

// The strip's scales for a criterion: the data minimum to the average fills the left half, the
// average to the data maximum the right half. A half without width (an average on a data bound, an
// emptied range) has scale 0 and puts its values at the middle.
struct CriteriaRangeGeometry {
    int clientWidth = 0;
    double half = 0;       // half the usable width
    double leftScale = 0;  // pixels per unit
    double rightScale = 0;
    double dataMin = 0;
    double dataMax = 0;
    double average = 0;
    int lowerX = 0;
    int upperX = 0;
};

// Measures the strip and places both handles on the criterion's bounds.
CriteriaRangeGeometry MeasureCriteriaRange(const DMCriterion& criterion, int clientWidth);
// A handle's pixel for a value, rounded half away from zero and kept on the strip.
int RangeValueToPixel(const CriteriaRangeGeometry& g, double value, RangeHandle handle);
double RangePixelToValue(const CriteriaRangeGeometry& g, int x, RangeHandle handle);

// An upper bound below the lower one: the whole data range is selected instead.
void NormaliseSelectedRange(DMCriterion& criterion);
// A bound as the strip, the row's fields and the graph show it: kept within the data range of the
// source in view. The stored bound is left as it is, so an open bound stays open for every source.
// A criterion not yet measured (its data range empty) shows its bound as stored.
float ShownLowerBound(const DMCriterion& criterion);
float ShownUpperBound(const DMCriterion& criterion);
// Selects the whole range: both bounds open, so that every value of every source passes.
void OpenCriterionRange(DMCriterion& criterion);
// The handle a press at x takes: the lower one only when it is strictly nearer.
RangeHandle PickRangeHandle(const CriteriaRangeGeometry& g, int x);
// Moves a handle to the mouse's x within its limits and sets that bound, and only that one, to the
// value there.
void MoveRangeHandle(CriteriaRangeGeometry& g, DMCriterion& criterion, RangeHandle handle, int mouseX);

// What the strip shows instead of the track: none, "No matching data", "Criteria disabled" or
// "Criteria locked".
const char* RangeStripText(const DMCriterion& criterion, bool enabled);

} // namespace qv
