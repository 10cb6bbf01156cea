// Chart cursors from the program's pictures and Qt's cursor shapes.
#include "chartmodel/ui/ChartCursors.h"

#include "chartmodel/ChartModes.h"

#include <QPixmap>
#include <QString>

namespace qv {
namespace {

struct HotSpot {
    uint32_t id;
    int x, y;
};

// Where each picture points.
constexpr HotSpot kHotSpots[] = {
    {kCursorPreviousShare, 1, 8}, {kCursorNextShare, 30, 8}, {kCursorGraphText, 8, 15},
    {kCursorEditPrice, 8, 15},    {kCursorEditOpen, 8, 15},  {kCursorEditHigh, 8, 15},
    {kCursorEditLow, 8, 15},      {kCursorEditClose, 8, 15},
};

} // namespace

QPixmap ChartCursorPicture(uint32_t id)
{
    if (!IsOwnChartCursor(id))
        return {};
    return QPixmap(QStringLiteral(":/pictures/cursor-%1.png").arg(id));
}

QCursor ChartCursor(uint32_t id)
{
    switch (id) {
    case kCursorCross:
        return QCursor(Qt::CrossCursor);
    case kCursorSizeWE:
        return QCursor(Qt::SizeHorCursor);
    case kCursorSizeNS:
        return QCursor(Qt::SizeVerCursor);
    case kCursorSizeAll:
        return QCursor(Qt::SizeAllCursor);
    default:
        break;
    }
    for (const HotSpot& spot : kHotSpots)
        if (spot.id == id)
            return QCursor(ChartCursorPicture(id), spot.x, spot.y);
    return QCursor(Qt::ArrowCursor);
}

} // namespace qv
