// Pens and brushes from packed words for a QPainter, selected and released in pairs.
#pragma once

#include <QBrush>
#include <QPen>

#include <cstdint>

class QColor;
class QPainter;

namespace qv {

struct PenDevice;

// A pen made for a painter; ReleasePen puts the painter back on a plain black pen.
struct PenObject {
    QPen pen;
    bool attached = false;
};

struct BrushObject {
    QBrush brush;
    bool attached = false;
};

// 0x00BBGGRR words and Qt colours.
QColor ColourFromWord(uint32_t word);
uint32_t WordFromColour(const QColor& colour);

// A painter on a printer or a PDF writer is printing.
PenDevice DeviceOf(const QPainter& painter);

QPen MakePackedPen(const PenDevice& device, uint32_t word, bool geometric = false);

// Selects the pen of a packed word; answers the pen that was selected before.
QPen SelectPackedPen(QPainter& painter, PenObject& pen, uint32_t word, bool geometric = false);
void ReleasePen(QPainter& painter, PenObject& pen);

// Selects a solid brush of the colour as it stands (no mapping for the device).
QBrush SelectSolidBrush(QPainter& painter, BrushObject& brush, uint32_t colour);
void ReleaseBrush(QPainter& painter, BrushObject& brush);

} // namespace qv
