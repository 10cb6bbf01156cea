// Packed pen words turned into QPens and QBrushes.
#include "core/ui/PenSelect.h"

#include "core/PackedPen.h"

#include <QColor>
#include <QPagedPaintDevice>
#include <QPainter>

namespace qv {
namespace {

Qt::PenStyle QtStyle(int style)
{
    switch (style) {
    case PenDash: return Qt::DashLine;
    case PenDot: return Qt::DotLine;
    case PenDashDot: return Qt::DashDotLine;
    case PenDashDotDot: return Qt::DashDotDotLine;
    case PenNull: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

} // namespace

QColor ColourFromWord(uint32_t word)
{
    return QColor(int(word & 0xFF), int((word >> 8) & 0xFF), int((word >> 16) & 0xFF));
}

uint32_t WordFromColour(const QColor& colour)
{
    return uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16;
}

PenDevice DeviceOf(const QPainter& painter)
{
    PenDevice device;
    // Printers and PDF writers are the paged devices.
    device.printing = dynamic_cast<const QPagedPaintDevice*>(painter.device()) != nullptr;
    return device;
}

QPen MakePackedPen(const PenDevice& device, uint32_t word, bool geometric)
{
    PenSpec spec = DecodePackedPen(device, word, geometric);
    QPen pen(ColourFromWord(spec.colour));
    pen.setStyle(QtStyle(spec.style));
    pen.setWidth(spec.width);
    if (spec.geometric) {
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::BevelJoin);
    }
    return pen;
}

QPen SelectPackedPen(QPainter& painter, PenObject& pen, uint32_t word, bool geometric)
{
    QPen previous = painter.pen();
    pen.pen = MakePackedPen(DeviceOf(painter), word, geometric);
    pen.attached = true;
    painter.setPen(pen.pen);
    return previous;
}

void ReleasePen(QPainter& painter, PenObject& pen)
{
    painter.setPen(QPen(Qt::black));
    pen.pen = QPen();
    pen.attached = false;
}

QBrush SelectSolidBrush(QPainter& painter, BrushObject& brush, uint32_t colour)
{
    QBrush previous = painter.brush();
    brush.brush = QBrush(ColourFromWord(colour & 0xFFFFFF));
    brush.attached = true;
    painter.setBrush(brush.brush);
    return previous;
}

void ReleaseBrush(QPainter& painter, BrushObject& brush)
{
    painter.setBrush(QBrush(Qt::white));
    brush.brush = QBrush();
    brush.attached = false;
}

} // namespace qv
