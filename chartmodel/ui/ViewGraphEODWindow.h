// The daily chart window: the chart view window with the daily chart's data, commands and time axis
// labels.
#pragma once

#include "chartmodel/ViewGraphEOD.h"
#include "chartmodel/ui/ViewGraphWindow.h"

class QContextMenuEvent;
class QPoint;

namespace qv {

class CViewGraphEODWnd : public ViewGraphEODT<CViewGraphWnd> {
public:
    explicit CViewGraphEODWnd(int32_t kind, QWidget* parent = nullptr);

    // Graph design (25002) on the chart's setting, then the daily chart's own commands.
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommandUi(CommandUi& ui) const override;
    std::string PictureName() const override { return readoutParts[1].empty() ? eod.ChartTitle() : readoutParts[1]; }

    // The option word its window's layout record keeps (the window factory sets and reads it).
    uint32_t chartOption = 0;

protected:
    bool RunSettingsDialog(uint32_t command);
    // The default range (26115) and "Show Future" (26512) dialogs on the chart's setting.
    bool RunRangeDialog(uint32_t command);
    // Events, swing chart and chart font commands and the trend colours of a locked setting
    // (ViewGraphEODSettings.cpp).
    bool RunChartDesignCommand(uint32_t command);
    bool UpdateChartDesignCommand(CommandUi& ui) const;
    void RunTrendColours(GraphSetting& setting);
    bool ShiftHeld() const override;
    void UpdateLegend() override { ShowLegendWindow(); }
    void FillLegendSource(LegendSource& source) override;
    // A press on the previous- or next-share strip repeats while the button is held (timers 2 and 3).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void DrawTimeLines() override;
    void DrawNoData(const GraphPane& pane, const std::string& text) override;
    void DrawLineObjects() override;
    // The menu for the point: a drawing object's, the training or price-editing menu over a bar, or
    // the chart's (DrawingObjectPainter tracks it).
    void contextMenuEvent(QContextMenuEvent* event) override;
    void ShowChartMenu(const ChartMenuChoice& choice, const QPoint& global);
    // The left and right arrow keys scroll the records back and forward; with Ctrl they step the
    // mouse pointer by one bar.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // In box mode the arrows move a column or a row, Ctrl+Up and Ctrl+Down (and + and - where no
    // shortcut takes them) zoom the boxes, the wheel moves over the columns.
    bool BoxKey(int key, Qt::KeyboardModifiers modifiers);
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void StopRepeat();

    int repeatTimer_ = 0;
    bool repeatNext_ = false;
};

// The drawing objects' dialogs (line style, text box, settings mask, line settings) over a window.
void InstallDrawingDialogs(DailyChartDrawing& drawing, QWidget* parent);

// Registers the daily chart window for the daily chart kind (intraday windows of a layout open as it
// while the real-time option is off).
void InstallDailyChartClass();

} // namespace qv
