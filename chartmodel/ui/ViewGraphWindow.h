// The chart view as a window: it paints CViewGraph's build through one off-screen image per paint,
// feeds it the mouse, wheel and keys, shows the title and the status texts, draws the selection bars
// by inverting pixels and prints the chart. The daily and intraday chart windows derive from it.
#pragma once

#include "chartmodel/LegendModel.h"
#include "chartmodel/ViewGraph.h"
#include "chartmodel/ui/GraphViewWindow.h"

#include <QFont>
#include <QImage>
#include <functional>
#include <memory>

class QPaintDevice;
class QPrinter;

namespace qv {

class GraphPainter;

class CViewGraphWnd : public CGraphViewWnd, public CViewGraph {
    Q_OBJECT
public:
    explicit CViewGraphWnd(int32_t kind, QWidget* parent = nullptr);
    // Closes the legend window when no other visible chart remains.
    ~CViewGraphWnd() override;

    // Prints the chart on the printer's page: the printable size and its scale factors.
    void PrintChart(QPrinter& printer);
    // Prints on any painter whose device has the given printable size.
    void PrintChart(QPainter& painter, const QSize& printable);
    // Paints the chart into an image of the given size as a screen paint does.
    QImage RenderToImage(int width, int height);
    // Builds the chart into (0, 0, width, height) on the painter as a copy does: the active setting,
    // add-on windows shown, no off-screen buffer; the window keeps its own size.
    void DrawChartPicture(QPainter& painter, int width, int height);
    // The name a copied or exported picture goes by: the view's second readout, or the chart's title
    // where the view keeps none.
    virtual std::string PictureName() const { return readoutParts[1]; }
    // Builds the chart with another style into a rectangle of another window's painter, as the graph
    // design dialog previews it (ViewGraphDesign.cpp); the view keeps its own style.
    void DrawDesignPreview(QPainter& painter, const GraphSetting& style, const QRect& area, int outputKind,
                           int32_t margin);

    bool CancelMode() override { return CViewGraph::CancelMode(); }
    void PreviousShare() override { CViewGraph::PreviousShare(); }
    void NextShare() override { CViewGraph::NextShare(); }
    void UpdateGraphTitle() override { CViewGraph::UpdateTitle(); }
    // Copy, export, printing and print preview, then the chart's own commands.
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommandUi(CommandUi& ui) const override;
    // Esc and the return commands: training or price editing off, else the drawing tool cancelled,
    // else back to the list the chart came from (for a portfolio or list source).
    void StopChartMode();
    // The share list's first or last entry made current, the mode cancelled and the list's views
    // refreshed.
    void MoveToListEnd(bool last);
    // The legend option on or off: the floating legend shown for this chart without taking the focus,
    // or hidden.
    void ToggleLegend();
    void ShowLegendWindow();
    // At the first paint of the program's first shown chart: the legend comes back when it was on at
    // the last toggle, unless a slide show runs.
    void ShowLegendAtFirstPaint();
    // The program-wide cross hairs on or off (26212), and the cross moved to a point.
    void ToggleCrossHairs();
    void MoveCrossHairs(int32_t x, int32_t y);
    bool crossHairsShown() const { return crossShown_; }
    // The add-on window (0-3) under the last mouse position; -1 for none.
    int AddOnWindowUnderMouse() const;
    void OnRefresh() override;
    // The group's re-titling and the factory ask for the chart's own title, set again in full.
    void UpdateTitle() override;

protected:
    void DrawView(QPainter& painter) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool MouseInside() const override { return mouseInside_; }
    void enterEvent(QEnterEvent* event) override;
    // Leaving the chart turns the cursor read-outs to their off-graph or latest texts.
    void leaveEvent(QEvent* event) override;

    void AttachGraphSource(void* dc, const GraphSetting* style, int32_t left, int32_t top, int32_t right,
                           int32_t bottom, int outputKind, int32_t margin, bool offscreen, bool addOns) override;
    int32_t TextWidth(const std::string& text) const override;
    bool BeginOffscreen() override;
    void EndOffscreen() override;
    void FillBackground(uint32_t colour) override;
    void DrawCaptionLine() override;
    void DrawNoData(const GraphPane& pane, const std::string& text) override;
    void DrawGraphLayer(bool back) override;
    ChartCanvas* Canvas() override;
    // The add-on windows that built no series still name their indicators.
    void DrawPaneCaptions() override;
    void DrawLatestPrice() override;
    void DrawWatermarks() override;
    void DrawLevelLines() override;
    void DrawTimeLines() override;
    void DrawPaneFrames(int32_t colour) override;
    void DrawQueuedLabels() override;
    void QueueChartText(int32_t x, int32_t y, const std::string& text, uint32_t flags) override;
    // An axis text in the scale colour; a higher priority wins where labels would overlap.
    void QueueAxisText(int32_t x, int32_t y, const std::string& text, uint32_t flags, int32_t priority);
    void InvertSelectionBar(int32_t x0, int32_t x1) override;
    void RebuildNow() override;
    void SetFrameTitle(const std::string& title) override;
    // The read-outs go to the status bar, and to the legend as well while it shows this chart.
    void ShowStatusTexts() override;
    void CaptureMouse(bool) override {}

    // The dialogs of the indicator and stop-loss commands (ViewGraphDialogs.cpp).
    bool RunAddIndicatorDialog(IndicatorRecord& record, bool editing, bool openedFromWindow, const WindowUsage& usage,
                               int editedWindow, int editedIndex, int& target) override;
    void RunIndicatorColourDialog(uint32_t* words, int count, const ColourEntry* entries, int entryCount,
                                  uint32_t defaultsKey) override;
    // The same over a copy of a setting's words: `apply` writes the copy back before each redraw, so
    // Preview shows it and Cancel puts the words back.
    void RunColourDialog(uint32_t* words, int count, const ColourEntry* entries, int entryCount, uint32_t defaultsKey,
                         const std::function<void()>& apply);
    void RunMovingAverageDialog() override;
    void RunStopLossDialog(bool individual) override;
    void ShowHelpTopic(uint32_t topic) override;
    bool ShiftHeld() const override;
    void SendFrameCommand(uint32_t command) override;

    // The chart's value texts and headings for the legend (the derived charts fill theirs).
    virtual void FillLegendSource(LegendSource&) {}

    // The painter the build draws with: the off-screen image's, or the device's.
    QPainter* target() const { return target_; }

private:
    void PaintInto(QPainter& painter, const DrawDevice& device);
    GraphPainter& Graph();
    uint32_t MouseKeys(Qt::KeyboardModifiers modifiers) const;

    QPainter* device_ = nullptr;
    QPainter* target_ = nullptr;
    QImage image_;
    QPainter* imagePainter_ = nullptr;
    QFont labelFont_;
    QPaintDevice* labelDevice_ = nullptr;
    std::unique_ptr<GraphPainter> graph_;
    std::unique_ptr<ChartCanvas> canvas_;
    QPainter* graphTarget_ = nullptr;
    bool printing_ = false;
    bool selectionShown_ = false;
    bool crossShown_ = false;
    bool mouseInside_ = false;
    int32_t cross_[2] = {};
    int32_t selection_[2] = {};
    bool forceBuild_ = false;
    bool builtDirect_ = false;
    LegendSource legendSource_;
};

// Registers the chart view window as the class of the daily and intraday chart kinds, until their
// own views register theirs.
void InstallChartViewClasses();

} // namespace qv
