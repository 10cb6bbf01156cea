// What the chart's "stop" commands (Esc, return to the list) do, by what runs in the view.
#pragma once

namespace qv {

struct ChartModeState {
    bool training = false;
    bool priceEdit = false;
    bool slideShow = false;
    bool shareLoop = false;
    bool drawingTool = false;
    bool shareSource = true;
    bool cycleOnEnterEsc = false; // the list option that lets Esc go back to the list
};
enum class ChartStopStep { None, EndTrainingAndPriceEdit, StopSlideShow, StopShareLoop, CancelTool, BackToList };
// The first of: training or price editing off, the slide show, the share loop, the drawing tool, and
// back to the list when the source is not a share or the option allows it.
ChartStopStep StopChartModeStep(const ChartModeState& state);

} // namespace qv
