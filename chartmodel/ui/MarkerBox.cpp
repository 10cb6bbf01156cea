// The event marker's shapes and letter.
#include "chartmodel/ui/MarkerBox.h"

#include "core/PackedPen.h"
#include "core/ui/PenSelect.h"
#include "platform/ByteOrder.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

constexpr int kMeasurePoints = 8;

QPainterPath ShapePath(const QRect& r, int shape)
{
    const int left = r.left(), right = r.right(), top = r.top(), bottom = r.bottom();
    const int middle = (left + right) / 2;
    QPainterPath path;
    switch (shape) {
    case 2:
        path.moveTo(left, bottom);
        path.lineTo(right, bottom);
        path.lineTo(middle, top + 1);
        path.closeSubpath();
        break;
    case 3:
        path.moveTo(left, top);
        path.lineTo(right, top);
        path.lineTo(middle, bottom - 1);
        path.closeSubpath();
        break;
    default:
        path.addRect(QRectF(left, top, r.width() - 1, r.height() - 1));
        break;
    }
    return path;
}

} // namespace

MarkerStyle MarkerStyleOf(const uint8_t* entry)
{
    MarkerStyle m;
    m.lineFlags = entry[1];
    m.shape = entry[2];
    m.letter = char(entry[3]);
    m.letterColour = LoadU32(entry + 4) & 0xFFFFFF;
    m.fill = LoadU32(entry + 8) & 0xFFFFFF;
    m.pen = LoadU32(entry + 12);
    return m;
}

int MarkerLetterPoints(int boxWidth, int boxHeight, int letterWidth, int letterHeight)
{
    if (letterWidth <= 0 || letterHeight <= 0)
        return 0;
    return std::min(((boxHeight + 2) * kMeasurePoints) / letterHeight + 1, (boxWidth * kMeasurePoints) / letterWidth);
}

void DrawMarkerBox(QPainter& painter, const QRect& rect, const MarkerStyle& marker, bool small, bool flip)
{
    painter.save();
    const PenDevice device = DeviceOf(painter);
    const QPen pen = MakePackedPen(device, marker.pen);
    if (marker.shape == 6) {
        const int in = flip ? -1 : 1;
        painter.setPen(pen);
        painter.drawLine(rect.left() + in, rect.top() + in, rect.right() - in, rect.bottom() - in);
        painter.drawLine(rect.left() + in, rect.bottom() - in, rect.right() - in, rect.top() + in);
    } else {
        const QPainterPath path = ShapePath(rect, marker.shape);
        if (marker.lineFlags & 1)
            painter.fillPath(path, ColourFromWord(MapColour(device, marker.fill)));
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    if (marker.letter) {
        QFont font(QStringLiteral("Arial"));
        font.setWeight(QFont::Weight(500));
        font.setPointSizeF(kMeasurePoints);
        const QString text(QChar::fromLatin1(marker.letter));
        QFontMetrics measured(font, painter.device());
        const int points = MarkerLetterPoints(rect.width(), rect.height(), std::max(measured.horizontalAdvance(text), 1),
                                              std::max(measured.height(), 1));
        if (points > (small ? 2 : 4)) {
            font.setPointSize(points);
            painter.setFont(font);
            painter.setPen(ColourFromWord(marker.letterColour));
            // Letters that hang below the line sit higher, so the whole letter shows in the box.
            const bool descends = std::strchr("gjpqy", marker.letter) != nullptr;
            const int raise = descends ? QFontMetrics(font, painter.device()).descent() / 2 : 0;
            painter.drawText(rect.translated(0, -raise), Qt::AlignCenter, text);
        }
    }
    painter.restore();
}

} // namespace qv
