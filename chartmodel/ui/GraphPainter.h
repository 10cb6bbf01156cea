// Draws a chart view's graph model on a QPainter: every series of every band by the plot styles of its
// elements, the level and time lines, the pane end marks, the pane titles and the queued labels.
#pragma once

#include <QFont>
#include <QImage>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

class QPainter;
class QPainterPath;
class QPoint;
class QRect;

namespace qv {

class CViewGraphBase;
class CGraphSeriesLayout;
struct ChartLabel;
struct GraphPane;
struct GraphSeries;
struct PlotElement;
struct SeriesPoint;
struct TimeBand;

class GraphPainter {
public:
    GraphPainter(CViewGraphBase& view, QPainter& painter);
    ~GraphPainter();
    GraphPainter(const GraphPainter&) = delete;
    GraphPainter& operator=(const GraphPainter&) = delete;

    // Layer 0 the back, 1 the front; the back layer also queues the pane titles.
    void DrawGraph(int layer);
    void DrawSeriesElements(const GraphSeries* series, int layer);
    void DrawLevelLines(uint32_t pen);
    void DrawTimeLines(uint32_t pen);
    // Returns the pane margin.
    int32_t DrawPaneEndMarks(GraphPane* pane);

    // Clips; nothing while printing.
    void SetPaneClip(const GraphPane* pane);
    void SetClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void RemoveClip();

    // A pane's caption: its lines one under the other from the pane's top-left corner, each on the
    // background there, in the look of the series titles.
    struct PaneCaptionLine {
        std::string text;
        uint32_t colour;
    };
    void QueuePaneCaption(const GraphPane* pane, const std::vector<PaneCaptionLine>& lines);

    // Measures, places and queues a label; null for an empty text.
    ChartLabel* DrawChartText(int32_t x, int32_t y, std::string_view text, uint32_t flags, int32_t priority,
                              uint32_t textColour, int32_t size, uint32_t backColour, ChartLabel* partner);
    // Draws the queued labels that do not collide, then frees the queue.
    void DrawQueuedLabels();

    void DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    void DrawRectOutline(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void DrawPackedLine(uint32_t pen, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    void FillRectNearest(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour);
    void InvertRect(int32_t left, int32_t top, int32_t right, int32_t bottom);

    // Lets the chart view set an element's colouring rule on its layout before the walk.
    std::function<void(const PlotElement&, CGraphSeriesLayout&)> prepareLayout;
    // Style 12: the setting's 260-byte event block (letters and colours of the markers), or null.
    const uint8_t* eventBlock = nullptr;

    // Printing draws without clip regions and clamps values and columns instead; a painter on a printer
    // or a PDF writer is printing, and a picture made for printing can be drawn by the same rules.
    bool printing() const { return printing_; }
    void SetPrinting(bool on) { printing_ = on; }
    // The font of a text size in the view's face.
    QFont LabelFont(int32_t size) const;

private:
    struct Walk;
    void QueueTitles(const GraphPane* pane, const std::vector<const GraphSeries*>& titles);
    void DrawElement(const PlotElement& element);
    void DrawLineStyle(Walk& walk);
    void DrawLinePass(Walk& walk);
    void DrawBars(Walk& walk, bool candles);
    void DrawHistogram(Walk& walk);
    void DrawDots(Walk& walk);
    void DrawPointFigure(Walk& walk);
    void DrawKagi(Walk& walk);
    void DrawBoxes(Walk& walk);
    void DrawArea(Walk& walk);
    void DrawMarkers(Walk& walk);
    void DrawEvents(Walk& walk);
    void GdiRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void SelectColour(Walk& walk, int index);
    // A dot of diameter d in the painter's pen and brush, drawn once into a small image: a chart of
    // tens of thousands of trades copies it rather than tracing each circle.
    const QImage& DotImage(int32_t d);

    CViewGraphBase& view_;
    QPainter& painter_;
    bool printing_ = false;
    std::map<std::tuple<QRgb, int, QRgb, int, int32_t>, QImage> dots_;
};

} // namespace qv
