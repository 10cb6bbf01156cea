// The chart check over the default layouts: every daily and intraday chart paints prices.
#include "app/ui/ChartCheck.h"

#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "core/ConfigState.h"
#include "realtime/ui/ViewGraphRTWindow.h"
#include "shell/LayoutWindow.h"
#include "shell/ui/MainFrame.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <cstdio>

namespace qv {
namespace {

constexpr int kDefaultLayouts = 5;

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

} // namespace

ChartCheckResult RunChartCheck(CMainFrame& frame, const std::function<void(int)>& afterLayout)
{
    ChartCheckResult result;
    uint8_t& multiple = Config().optionsA.data()[OptionBlockA::kMultipleWindows];
    const uint8_t saved = multiple;
    multiple = 1;
    for (int layout = 0; layout < kDefaultLayouts; ++layout) {
        frame.OnCommand(kCommandFirstLayout + uint32_t(layout));
        Settle();
        if (afterLayout)
            afterLayout(layout);
        for (QMdiSubWindow* sub : frame.mdiArea()->subWindowList()) {
            auto* chart = dynamic_cast<CViewGraphWnd*>(sub->widget());
            const bool intraday = dynamic_cast<CViewGraphRTWnd*>(chart) != nullptr;
            if (!chart || (!intraday && !dynamic_cast<CViewGraphEODWnd*>(chart)))
                continue;
            ++(intraday ? result.intradayCharts : result.charts);
            chart->RenderToImage(std::max(sub->width(), 200), std::max(sub->height(), 150));
            if (chart->noDataText.empty())
                continue;
            ++(intraday ? result.intradayWithoutData : result.withoutData);
            std::fprintf(stderr, "Chart check: layout %d, \"%s\" paints \"%s\"\n", layout + 1,
                         sub->windowTitle().toLocal8Bit().constData(), chart->noDataText.c_str());
        }
    }
    multiple = saved;
    std::fprintf(stderr, "Chart check: %d daily charts, %d without data\n", result.charts, result.withoutData);
    std::fprintf(stderr, "Chart check: %d intraday charts, %d without data\n", result.intradayCharts,
                 result.intradayWithoutData);
    return result;
}

} // namespace qv
