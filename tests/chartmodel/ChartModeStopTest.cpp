// The stop commands take the first thing running, in order.
#include "chartmodel/ChartModeStop.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ChartModeStop, TheFirstRunningThingStops)
{
    using S = ChartStopStep;
    struct Case {
        ChartModeState state;
        S step;
    } cases[] = {
        {{.training = true, .slideShow = true, .drawingTool = true}, S::EndTrainingAndPriceEdit},
        {{.priceEdit = true}, S::EndTrainingAndPriceEdit},
        {{.slideShow = true, .shareLoop = true}, S::StopSlideShow},
        {{.shareLoop = true, .drawingTool = true}, S::StopShareLoop},
        {{.drawingTool = true, .shareSource = false}, S::CancelTool},
        {{.shareSource = false}, S::BackToList},
        {{.cycleOnEnterEsc = true}, S::BackToList},
        {{}, S::None},
    };
    int i = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(StopChartModeStep(c.state), c.step) << i;
        ++i;
    }
}

} // namespace
} // namespace qv
