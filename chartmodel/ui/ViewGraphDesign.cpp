// The chart view's drawing for the graph design dialog's preview.
#include "chartmodel/ChartModes.h"
#include "chartmodel/ui/GraphPainter.h"
#include "chartmodel/ui/ViewGraphWindow.h"

#include <QPainter>

namespace qv {

void CViewGraphWnd::DrawDesignPreview(QPainter& painter, const GraphSetting& style, const QRect& area, int outputKind,
                                      int32_t margin)
{
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const GraphSetting* own = styleRecord;
    // The build runs only in a mode; a caller that holds none gets the redrawing mode for the preview.
    bool hold = !modeRecord.active;
    if (hold)
        SetMode(true, kModeRedrawing, 0, 0, 0xFFFF);
    painter.save();
    painter.translate(area.topLeft());
    painter.setClipRect(0, 0, area.width(), area.height());
    device_ = target_ = &painter;
    AttachGraphSource(&painter, &style, 0, 0, area.width(), area.height(), outputKind, margin, false, true);
    graph_.reset();
    device_ = target_ = nullptr;
    painter.restore();
    if (hold)
        SetMode(false, 0, 0, 0, 0xFFFF);
    // The window's next paint rebuilds its own geometry from its own style.
    styleRecord = own;
    update();
}

} // namespace qv
