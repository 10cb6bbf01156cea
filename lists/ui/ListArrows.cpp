// The list cells' arrows: three sets of four masks, drawn here once as the program's mask bitmaps.
#include "lists/ui/ListArrows.h"

#include "core/ui/PenSelect.h"
#include "shell/ui/ButtonBitmaps.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <functional>

namespace qv {
namespace {

// The mask ids of each set: outline, body, highlight and gloss.
constexpr int kUpMasks[4] = {820, 821, 822, 812};
constexpr int kSameMasks[4] = {816, 817, 818, 819};
constexpr int kDownMasks[4] = {823, 813, 814, 815};

QImage Mask(const std::function<void(QPainter&)>& shape)
{
    QImage mask(64, 64, QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    shape(painter);
    return mask;
}

// The four layers of an arrow shape: a soft rim around it, the shape itself, a lit edge along its
// upper left and a glint inside it.
void RegisterSet(const int (&ids)[4], const QPainterPath& body, const QPolygon& litEdge, QPoint glint, bool flip)
{
    const QImage masks[4] = {
        Mask([&](QPainter& p) {
            p.setPen(QPen(Qt::white, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(body);
        }),
        Mask([&](QPainter& p) { p.drawPath(body); }),
        Mask([&](QPainter& p) {
            p.setClipPath(body);
            p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(litEdge);
        }),
        Mask([&](QPainter& p) { p.drawEllipse(glint, 4, 4); }),
    };
    for (int m = 0; m < 4; ++m)
        RegisterButtonMask(ids[m], flip ? masks[m].mirrored(false, true) : masks[m]);
}

bool RegisterArrowMasks()
{
    QPainterPath up;
    up.addPolygon(QPolygonF({QPointF(32, 6), QPointF(58, 34), QPointF(42, 34), QPointF(42, 58), QPointF(22, 58),
                             QPointF(22, 34), QPointF(6, 34), QPointF(32, 6)}));
    const QPolygon upEdge({QPoint(8, 33), QPoint(32, 7), QPoint(36, 11)});
    RegisterSet(kUpMasks, up, upEdge, QPoint(32, 24), false);
    RegisterSet(kDownMasks, up, QPolygon({QPoint(23, 36), QPoint(23, 57)}), QPoint(32, 24), true);
    QPainterPath same;
    same.addRect(QRectF(6, 24, 52, 16));
    RegisterSet(kSameMasks, same, QPolygon({QPoint(7, 39), QPoint(7, 25), QPoint(57, 25)}), QPoint(32, 32), false);
    return true;
}

// The masks are registered before the sets read them.
struct ArrowSets {
    bool registered = RegisterArrowMasks();
    CButtonBitmaps upArrow{kUpMasks[0], kUpMasks[1], kUpMasks[2], kUpMasks[3]};
    CButtonBitmaps sameArrow{kSameMasks[0], kSameMasks[1], kSameMasks[2], kSameMasks[3]};
    CButtonBitmaps downArrow{kDownMasks[0], kDownMasks[1], kDownMasks[2], kDownMasks[3]};
};

ArrowSets& Arrows()
{
    static ArrowSets sets;
    return sets;
}

} // namespace

void DrawListArrow(QPainter& painter, const QRect& rect, int arrow, uint32_t colour, uint32_t back)
{
    painter.fillRect(rect, ColourFromWord(back));
    ArrowSets& sets = Arrows();
    CButtonBitmaps& bitmaps = arrow == 1 ? sets.upArrow : arrow == -1 ? sets.downArrow : sets.sameArrow;
    bitmaps.Draw(painter, rect, rect.size(), colour, back, 0);
}

} // namespace qv
