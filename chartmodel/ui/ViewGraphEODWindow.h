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

protected:
    bool RunSettingsDialog(uint32_t command);
    // The default range (26115) and "Show Future" (26512) dialogs on the chart's setting.
    bool RunRangeDialog(uint32_t command);
    bool ShiftHeld() const override;
    void UpdateLegend() override { ShowLegendWindow(); }
    bool MouseInside() const override { return mouseInside_; }
    void FillLegendSource(LegendSource& source) override;
    // The readouts go to the legend as well while it shows this chart.
    void ShowStatusTexts() override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // A press on the previous- or next-share strip repeats while the button is held (timers 2 and 3).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void DrawTimeLines() override;
    void DrawNoData(const GraphPane& pane, const std::string& text) override;
    // The left and right arrow keys scroll the records back and forward; with Ctrl they step the
    // mouse pointer by one bar.
    void keyPressEvent(QKeyEvent* event) override;
    // Over a bar, the price-editing menu in price-edit mode and the training menu in training mode.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void StopRepeat();

    bool mouseInside_ = false;
    int repeatTimer_ = 0;
    bool repeatNext_ = false;
};

// The menu of the chart's price-edit or training mode at the point, when the mode has one there;
// false when not (the chart's other menus then apply).
bool TrackChartModeMenu(CViewGraphEODWnd& chart, const QPoint& at, const QPoint& global);

// Registers the daily chart window for the daily chart kind (intraday windows of a layout open as it
// while the real-time option is off).
void InstallDailyChartClass();

} // namespace qv
