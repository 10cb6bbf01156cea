// CViewGraph's mode texts: the mode readout in status panes 2 and 3 while a mode has texts of its own,
// and the caption line's left text in the training and price-edit modes.
#include "chartmodel/ModeReadout.h"
#include "chartmodel/ViewGraph.h"

namespace qv {

void CViewGraph::ModeReadout(std::array<std::string, 3>& texts) const
{
    ModeReadoutInput in;
    in.mode = modeRecord;
    in.timeBands = timeBands != nullptr;
    in.placingTrainingMark = trainingMark >= 0;
    in.priceEdit = priceEditMode != 0;
    if (modeRecord.mode == kModeTimeRange)
        in.rangeText = SelectedRangeText();
    if (modeRecord.mode == kModeResizing) {
        // Hovering names the pane under the mouse; dragging the pane taken at the press.
        GraphPane* pane = nullptr;
        TimeBand* band = nullptr;
        GraphSeries* series = nullptr;
        if (modeRecord.stage >= 3)
            pane = FindPane(resizePaneId);
        else
            HitTestPane(lastMouseX, lastMouseY, &pane, &band, &series);
        if (pane && pane->firstSeries)
            in.paneSeriesName = pane->firstSeries->title;
    }
    if (modeRecord.mode >= kModeLineStudy && modeRecord.mode <= kModeLineStudy + 2)
        FillObjectReadout(in);
    const auto shown = ModeReadoutTexts(in);
    if (!shown || (*shown)[0].empty())
        return;
    texts[1] = (*shown)[0];
    texts[2] = (*shown)[1];
}

std::string CViewGraph::CaptionLeftText() const
{
    if (trainingMode && trainingMark >= 0)
        return "Quorvantis Training Mode";
    return priceEditMode ? "Edit Mode: " + SettingName() : SettingName();
}

} // namespace qv
