// The daily chart window: the time axis labels under the chart and the "^^" breaks of the no-data text.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/EodChart.h"
#include "chartmodel/GraphSettingLayout.h"
#include "shell/ViewKinds.h"
#include "shell/ui/ViewClassRegistry.h"

#include <QGuiApplication>

namespace qv {

CViewGraphEODWnd::CViewGraphEODWnd(int32_t kind, QWidget* parent) : ViewGraphEODT<CViewGraphWnd>(kind)
{
    if (parent)
        setParent(parent);
}

bool CViewGraphEODWnd::ShiftHeld() const
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

void CViewGraphEODWnd::DrawTimeLines()
{
    CViewGraphWnd::DrawTimeLines();
    const GraphPane* strip = FindPane(kPaneStrip);
    if (!strip || !strip->visible || !timeBands)
        return;
    const int32_t slotWidth = std::max(TextWidth("MM"), 1);
    const int32_t labelSlots = std::max((timeBands->right - timeBands->left) / slotWidth / 2, 1);
    for (const AxisLabel& label : eod.AxisLabels(labelSlots, -1))
        QueueChartText(label.x, strip->top + 1, label.text, kLabelTop | kLabelCentreX);
}

void CViewGraphEODWnd::DrawNoData(const GraphPane& pane, const std::string& text)
{
    std::string joined;
    for (const std::string& line : SplitChartText(text))
        joined += (joined.empty() ? "" : "\n") + line;
    CViewGraphWnd::DrawNoData(pane, joined);
}

void InstallDailyChartClass()
{
    for (int32_t kind : {kViewDailyChart, kViewIntradayChart})
        RegisterViewClass(kind, [](int32_t k) -> CViewBaseWnd* { return new CViewGraphEODWnd(k); });
}

} // namespace qv
