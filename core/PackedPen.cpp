// Packed pen words decoded for a device, and colour blending.
#include "core/PackedPen.h"

#include <cmath>
#include <initializer_list>

namespace qv {
namespace {

bool gPalette = false;
bool gDoublePrintWidths = false;

int Channel(uint32_t colour, int shift) { return int((colour >> shift) & 0xFF); }

} // namespace

void SetPenPaletteFlag(bool on) { gPalette = on; }
bool PenPaletteFlag() { return gPalette; }
void SetDoublePrintWidths(bool on) { gDoublePrintWidths = on; }
bool DoublePrintWidths() { return gDoublePrintWidths; }

uint32_t MapColour(const PenDevice& device, uint32_t word)
{
    uint32_t colour = PenColourOf(word);
    if (device.printing && colour == 0xFFFFFF)
        return 0;
    return colour;
}

PenSpec DecodePackedPen(const PenDevice& device, uint32_t word, bool geometric)
{
    PenSpec pen;
    pen.colour = MapColour(device, word);
    pen.style = PenStyleOf(word);
    int width = PenStoredWidthOf(word);
    if (device.printing && gDoublePrintWidths)
        width *= 2;
    if (pen.style != PenSolid || width < 1)
        width = 1;
    pen.width = width;
    pen.geometric = geometric && width != 1;
    return pen;
}

uint32_t BlendColour(uint32_t a, uint32_t b, double f)
{
    uint32_t colour = 0;
    for (int shift : {0, 8, 16}) {
        int from = Channel(a, shift);
        double value = from + std::trunc(double(Channel(b, shift) - from) * f);
        if (!(value > 0))
            value = 0;
        colour |= uint32_t(value < 255 ? value : 255) << shift;
    }
    return colour;
}

} // namespace qv
