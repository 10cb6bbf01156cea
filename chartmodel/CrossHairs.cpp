// The cross hairs' lines.
#include "chartmodel/CrossHairs.h"

#include "chartmodel/GraphModel.h"
#include "chartmodel/PaneLayout.h"

namespace qv {

std::vector<CrossHairLine> CrossHairLines(const GraphPane* panes, const int32_t plot[4], int32_t x, int32_t y,
                                          bool verticalOnly)
{
    std::vector<CrossHairLine> lines;
    const bool inPlot = x >= plot[0] && x <= plot[2];
    for (const GraphPane* pane = panes; pane; pane = pane->next) {
        if (!pane->visible || pane->id == kPaneCaption)
            continue;
        if (inPlot)
            lines.push_back({x, pane->top, x, pane->bottom});
        if (!verticalOnly && y >= pane->top && y <= pane->bottom && x >= pane->left && x <= pane->right)
            lines.push_back({pane->left, y, pane->right, y});
    }
    return lines;
}

} // namespace qv
