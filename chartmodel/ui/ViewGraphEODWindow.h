// The daily chart window: the chart view window with the daily chart's data, commands and time axis
// labels.
#pragma once

#include "chartmodel/ViewGraphEOD.h"
#include "chartmodel/ui/ViewGraphWindow.h"

namespace qv {

class CViewGraphEODWnd : public ViewGraphEODT<CViewGraphWnd> {
public:
    explicit CViewGraphEODWnd(int32_t kind, QWidget* parent = nullptr);

    // Graph design (25002) on the chart's setting, then the daily chart's own commands.
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommandUi(CommandUi& ui) const override;

protected:
    bool RunSettingsDialog(uint32_t command);
    // Events, swing chart and chart font commands and the trend colours of a locked setting
    // (ViewGraphEODSettings.cpp).
    bool RunChartDesignCommand(uint32_t command);
    bool UpdateChartDesignCommand(CommandUi& ui) const;
    void RunTrendColours(GraphSetting& setting);
    bool ShiftHeld() const override;
    void DrawTimeLines() override;
    void DrawNoData(const GraphPane& pane, const std::string& text) override;
    // The left and right arrow keys scroll the records back and forward.
    void keyPressEvent(QKeyEvent* event) override;
};

// Registers the daily chart window for the daily chart kind (intraday windows of a layout open as it
// while the real-time option is off).
void InstallDailyChartClass();

} // namespace qv
