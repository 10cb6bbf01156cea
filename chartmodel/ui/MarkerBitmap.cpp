// The bell marker, drawn in two masked steps per picture: the picture's black pixels are blackened
// (a bitwise AND where the device allows it) and then painted in the colour (a bitwise OR).
#include "chartmodel/ui/MarkerBitmap.h"

#include "core/ui/PenSelect.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

namespace qv {
namespace {

constexpr int kBellWidth = 24;
constexpr int kBellHeight = 16;

// The picture's black pixels in the colour, the rest clear.
QImage Stamp(const QImage& picture, const QColor& colour)
{
    QImage stamp(picture.size(), QImage::Format_ARGB32_Premultiplied);
    stamp.fill(Qt::transparent);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) < 128)
                stamp.setPixelColor(x, y, colour);
    return stamp;
}

void DrawMasked(QPainter& painter, const QPoint& at, const QImage& picture, const QColor& colour)
{
    painter.drawImage(at, Stamp(picture, Qt::black));
    bool rasterOps = painter.paintEngine() && painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    if (rasterOps)
        painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(at, Stamp(picture, colour));
    if (rasterOps)
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// The four pictures, loaded once.
const QImage& Picture(int id)
{
    static const QImage ringingFill(QStringLiteral(":/pictures/bell-795.png"));
    static const QImage ringingOutline(QStringLiteral(":/pictures/bell-794.png"));
    static const QImage plainFill(QStringLiteral(":/pictures/bell-26960.png"));
    static const QImage plainOutline(QStringLiteral(":/pictures/bell-26959.png"));
    switch (id) {
    case 795:
        return ringingFill;
    case 794:
        return ringingOutline;
    case 26960:
        return plainFill;
    default:
        return plainOutline;
    }
}

} // namespace

void DrawMarkerBitmap(QPainter& painter, int x, int y, uint32_t outline, uint32_t fill, bool ringing)
{
    QPoint at(x - kBellWidth / 2, y - kBellHeight / 2);
    painter.save();
    DrawMasked(painter, at, Picture(ringing ? 795 : 26960), ColourFromWord(fill));
    DrawMasked(painter, at, Picture(ringing ? 794 : 26959), ColourFromWord(outline));
    painter.restore();
}

} // namespace qv
