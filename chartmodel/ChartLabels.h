// The chart's label queue: where a label's rectangle lies around its point, the order of the queue by
// priority and the rule that keeps labels from overlapping. The painter measures and draws them.
#pragma once

#include "chartmodel/GraphModel.h"

#include <cstdint>
#include <string_view>

namespace qv {

// Where the labels may lie across; a right bound at or left of the left one does not clamp.
struct LabelBounds {
    int32_t clampLeft = 0;
    int32_t clampRight = 0;
    int32_t paneMargin = 0;
    int32_t labelMargin = 0;
};

// A new label of the text (null for an empty text): size at least 2, the view's margin, a vertical gap
// of -1 when boxed, marked drawn. Free it with FreeChartLabel, or queue it.
ChartLabel* NewChartLabel(std::string_view text, uint32_t flags, int32_t priority, uint32_t textColour,
                          int32_t size, uint32_t backColour, ChartLabel* partner, int32_t margin);
void FreeChartLabel(ChartLabel* label);

// Sets the label's rectangle from its measured text, placed at the point by its flags and kept within
// the clamp bounds.
void PlaceChartLabel(ChartLabel& label, int32_t x, int32_t y, int32_t width, int32_t height,
                     const LabelBounds& bounds);

// Inserts the label after the last queued label whose priority is at least its own.
void QueueChartLabel(ChartLabel*& queue, ChartLabel* label);

bool ChartLabelsCollide(const ChartLabel& a, const ChartLabel& b);
// Marks each label drawn unless it collides with a drawn label ahead of it of no lower priority.
void ResolveLabelCollisions(ChartLabel* queue);

} // namespace qv
