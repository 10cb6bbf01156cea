// A developer check for unattended runs: lays out each default layout in turn (with several windows
// allowed, as the options would set it) and reports every daily and intraday chart window that paints
// a no-data text instead of prices.
#pragma once

#include <functional>

namespace qv {

class CMainFrame;

struct ChartCheckResult {
    int charts = 0;
    int withoutData = 0;
    int intradayCharts = 0;
    int intradayWithoutData = 0;
};

// afterLayout, when given, runs once each layout is laid out (0-based layout number).
ChartCheckResult RunChartCheck(CMainFrame& frame, const std::function<void(int)>& afterLayout = {});

} // namespace qv
