// The chart's stop commands.
#include "chartmodel/ChartModeStop.h"

namespace qv {

ChartStopStep StopChartModeStep(const ChartModeState& state)
{
    if (state.training || state.priceEdit)
        return ChartStopStep::EndTrainingAndPriceEdit;
    if (state.slideShow)
        return ChartStopStep::StopSlideShow;
    if (state.shareLoop)
        return ChartStopStep::StopShareLoop;
    if (state.drawingTool)
        return ChartStopStep::CancelTool;
    if (!state.shareSource || state.cycleOnEnterEsc)
        return ChartStopStep::BackToList;
    return ChartStopStep::None;
}

} // namespace qv
