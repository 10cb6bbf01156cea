// The cross hairs inverted over the chart's picture.
#include "chartmodel/ui/CrossHairsPainter.h"

#include <QPainter>

namespace qv {

void InvertCrossHairs(QPainter& painter, const std::vector<CrossHairLine>& lines)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const CrossHairLine& line : lines)
        painter.fillRect(QRect(QPoint(line.left, line.top), QPoint(line.right, line.bottom)), Qt::white);
    painter.restore();
}

} // namespace qv
