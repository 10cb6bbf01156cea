// The chart canvas of a chart window's paint: the chart's own drawing routines draw through the
// window's GraphPainter on its painter.
#pragma once

#include "chartmodel/ChartCanvas.h"

class QPainter;

namespace qv {

class GraphPainter;

class GraphCanvas final : public ChartCanvas {
public:
    GraphCanvas(GraphPainter& graph, QPainter& painter) : graph_(graph), painter_(painter) {}
    void ClipToPane(const GraphPane* pane) override;
    void SelectPen(uint32_t packedPen) override;
    void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) override;
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) override;
    void PaneCaption(const GraphPane& pane, const std::string& text, uint32_t colour) override;
    void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t fill) override;
    void Text(int32_t x, int32_t y, const std::string& text, uint32_t colour, bool alignRight) override;

private:
    GraphPainter& graph_;
    QPainter& painter_;
};

} // namespace qv
