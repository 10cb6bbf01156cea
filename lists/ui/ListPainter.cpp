// Drawing steps of a list table on a QPainter.
#include "lists/ui/ListPainter.h"

#include "core/PackedPen.h"
#include "core/ui/PenSelect.h"
#include "lists/ListStyle.h"
#include "lists/ui/ListArrows.h"
#include "platform/qt/QtText.h"

#include <QPainter>
#include <QPolygon>

namespace qv {

int QtTextMetrics::TextWidth(std::string_view text) const
{
    return metrics_.horizontalAdvance(FromCp1252(std::string(text)));
}

ListFonts MakeListFonts(const ListStyle& style, int pixelSizeOverride)
{
    QFont base(FromCp1252(style.face));
    if (pixelSizeOverride > 0)
        base.setPixelSize(pixelSizeOverride);
    else
        base.setPointSize(style.pointSize);
    bool boldBase = style.fontFlags & 1;
    base.setWeight(boldBase ? QFont::Bold : QFont::Normal);
    base.setItalic(style.fontFlags & 2);
    base.setUnderline(style.fontFlags & 4);
    ListFonts fonts;
    for (int k = 0; k < 8; ++k) {
        QFont f = base;
        if (k & 1)
            f.setWeight(boldBase ? QFont::Black : QFont::Bold);
        if (k & 2)
            f.setItalic(true);
        if (k & 4)
            f.setUnderline(true);
        fonts[size_t(k)] = f;
    }
    return fonts;
}

void DrawPartnerEmblem(QPainter& painter, int x, int y)
{
    // A round badge with a tick: the partner's mark over its column.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 60, 130), 2));
    painter.setBrush(QColor(230, 238, 250));
    painter.drawEllipse(QRect(x + 2, y + 2, 28, 28));
    painter.setPen(QPen(QColor(20, 120, 40), 3));
    painter.drawPolyline(QPolygon({QPoint(x + 9, y + 16), QPoint(x + 14, y + 22), QPoint(x + 24, y + 10)}));
    painter.restore();
}

namespace {

void DrawLine(QPainter& painter, const PaintOp& op)
{
    uint32_t word = op.pen;
    if (op.lineStyle >= 0)
        word = (word & ~0x07000000u) | (uint32_t(op.lineStyle) << 24);
    PenObject pen;
    SelectPackedPen(painter, pen, word);
    painter.drawLine(op.x0, op.y0, op.x1, op.y1);
    ReleasePen(painter, pen);
}

} // namespace

void ReplayPaintOps(QPainter& painter, const std::vector<PaintOp>& ops, const ListFonts& fonts)
{
    for (const PaintOp& op : ops) {
        QRect rect(QPoint(op.x0, op.y0), QPoint(op.x1 - 1, op.y1 - 1));
        switch (op.step) {
        case PaintStep::Fill: painter.fillRect(rect, ColourFromWord(op.colour)); break;
        case PaintStep::Frame:
            painter.setPen(ColourFromWord(op.colour));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
            break;
        case PaintStep::Line: DrawLine(painter, op); break;
        case PaintStep::Text: {
            painter.setFont(fonts[size_t(op.font & 7)]);
            painter.setPen(ColourFromWord(op.colour));
            int h = op.align == 0 ? Qt::AlignLeft : op.align == 1 ? Qt::AlignRight : Qt::AlignHCenter;
            painter.drawText(rect, h | Qt::AlignVCenter | Qt::TextSingleLine, FromCp1252(op.text));
            break;
        }
        case PaintStep::Arrow: DrawListArrow(painter, rect, op.arrow, op.colour, op.back); break;
        case PaintStep::Triangle: {
            painter.setPen(Qt::NoPen);
            painter.setBrush(ColourFromWord(op.colour));
            painter.drawPolygon(QPolygon({QPoint(op.points[0], op.points[1]), QPoint(op.points[2], op.points[3]),
                                          QPoint(op.points[4], op.points[5])}));
            painter.setBrush(Qt::NoBrush);
            break;
        }
        case PaintStep::Emblem: DrawPartnerEmblem(painter, op.x0, op.y0); break;
        }
    }
}

} // namespace qv
