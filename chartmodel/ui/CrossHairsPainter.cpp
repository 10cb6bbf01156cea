// The cross hairs inverted over the chart's picture.
#include "chartmodel/ui/CrossHairsPainter.h"

#include <QPainter>
#include <QRegion>

namespace qv {

void InvertCrossHairs(QPainter& painter, const std::vector<CrossHairLine>& lines)
{
    // Each pixel is inverted once, where the lines cross and where two panes share an edge.
    QRegion region;
    for (const CrossHairLine& line : lines)
        region += QRect(QPoint(line.left, line.top), QPoint(line.right, line.bottom));
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const QRect& rect : region)
        painter.fillRect(rect, Qt::white);
    painter.restore();
}

} // namespace qv
