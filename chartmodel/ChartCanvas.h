// The few drawing calls that the chart's own drawing routines (indicator lines, histograms, level
// lines, pane captions) make on a chart window, as plain C++: the chart window carries them out on
// its painter, and tests record them.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct GraphPane;

class ChartCanvas {
public:
    virtual ~ChartCanvas() = default;
    // Clips drawing to the pane; none releases the clip.
    virtual void ClipToPane(const GraphPane* pane) = 0;
    // The pen of the packed pen word for the lines that follow.
    virtual void SelectPen(uint32_t packedPen) = 0;
    // A line with the selected pen, both end points drawn.
    virtual void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) = 0;
    // Fills [left, right) x [top, bottom) with the RGB colour.
    virtual void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) = 0;
    // The pane's caption in the colour, at the pane's top left.
    virtual void PaneCaption(const GraphPane& pane, const std::string& text, uint32_t colour) = 0;
    // An ellipse in [left, right) x [top, bottom): outlined with the selected pen, filled with the RGB
    // colour (the box panes' O's).
    virtual void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t fill)
    {
        FillRect(left, top, right, bottom, fill);
    }
    // A label in the chart's axis font, its text's bottom at y; right-aligned at x when asked.
    virtual void Text(int32_t, int32_t, const std::string&, uint32_t, bool) {}
};

} // namespace qv
