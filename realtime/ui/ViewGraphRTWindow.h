// The intraday chart window: the chart view window with the intraday chart's data, commands, day
// keys and time axis labels, registered for view kind 9.
#pragma once

#include "chartmodel/ui/ViewGraphWindow.h"
#include "charts/ViewGraphRT.h"

#include <QRect>

class QContextMenuEvent;

namespace qv {

class CViewGraphRTWnd : public ViewGraphRTT<CViewGraphWnd> {
public:
    explicit CViewGraphRTWnd(int32_t kind, QWidget* parent = nullptr);

    // Renders the chart into a rectangle of another painter with the given style block (the view's
    // own, or a design dialog's working copy for its preview); the volume pane follows the block.
    void RenderGraphTo(QPainter& painter, const GraphSetting& style, QRect area, int outputKind, int margin);
    std::string PictureName() const override { return chart.ChartTitle(); }
    // "Set Time Range..." (26115): the default range dialog on the setting's range limit and minutes;
    // then the intraday chart's own commands.
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommandUi(CommandUi& ui) const override;
    // "Graph design" (25002) on the intraday style block, previewed through RenderGraphTo.
    void OpenGraphDesign();
    // The pivot dialog on the pivot series' record (27054) or the previous day's (27078); false for
    // another command.
    bool RunPivotDialog(uint32_t command);

    // The legend follows the chart that takes the focus while the legend option is on.
    void OnSetFocus() override;

protected:
    // The legend's six latest and cursor texts, the added graphs' values and the stop-loss lines.
    void FillLegendSource(LegendSource& source) override;
    // The read-outs go to the legend as well while it shows this chart.
    void ShowStatusTexts() override;
    bool MouseInside() const override { return mouseInside_; }
    void enterEvent(QEnterEvent* event) override;
    // Leaving the chart turns the cursor read-outs to the latest values.
    void leaveEvent(QEvent* event) override;
    void DrawTimeLines() override;
    void DrawLineObjects() override;
    // Left and right step the days shown back and on; Up and Down show one more or one fewer day; the
    // drawing tools' keys as on the daily chart.
    void keyPressEvent(QKeyEvent* event) override;
    // A drawing object's menu, or the chart's.
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    bool mouseInside_ = false;
};

// Registers the intraday chart window for view kind 9.
void InstallIntradayChartClass();

} // namespace qv
