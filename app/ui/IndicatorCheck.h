// A developer check for unattended runs: on the first daily chart of the first default layout, each
// add-indicator command of the indicator windows drawn so far is chosen as a user would (its dialog
// confirmed as it opens), and the window it adds must show its line; then the preset with MACD,
// stochastic and RSI. Each chart is handed over as a picture.
#pragma once

#include <functional>
#include <string>

class QImage;

namespace qv {

class CMainFrame;

struct IndicatorCheckResult {
    int types = 0;
    int blank = 0;
};

IndicatorCheckResult RunIndicatorCheck(CMainFrame& frame,
                                       const std::function<void(const std::string&, const QImage&)>& picture = {});

} // namespace qv
