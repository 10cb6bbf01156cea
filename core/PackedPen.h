// The packed pen word: colour, line style and width in 32 bits, and the pen a device draws with it.
#pragma once

#include <cstdint>

namespace qv {

// Line styles of a packed pen word (bits 24-26).
enum PenStyle : int {
    PenSolid = 0,
    PenDash = 1,
    PenDot = 2,
    PenDashDot = 3,
    PenDashDotDot = 4,
    PenNull = 5,
    PenInsideFrame = 6,
};

// What a pen needs to know of the surface it draws on.
struct PenDevice {
    bool printing = false;
};

// The pen a packed word gives on a device.
struct PenSpec {
    int style = PenSolid;
    int width = 1;            // in device pixels, at least 1
    uint32_t colour = 0;      // 0x00BBGGRR
    bool geometric = false;   // square end caps and mitred joins
};

inline uint32_t PenColourOf(uint32_t word) { return word & 0xFFFFFF; }
inline int PenStyleOf(uint32_t word) { return int((word >> 24) & 7); }
inline bool PenFilledOf(uint32_t word) { return (word >> 27) & 1; }
// The stored width field plus one; a field of 8 or more (top bit set) gives 0 or less.
inline int PenStoredWidthOf(uint32_t word) { return int(int8_t(uint8_t(word >> 24) & 0xF0) >> 4) + 1; }

// Program settings the pens read: the screen uses a palette, and line widths double when printing.
void SetPenPaletteFlag(bool on);
bool PenPaletteFlag();
void SetDoublePrintWidths(bool on);
bool DoublePrintWidths();

// The colour a word draws in on a device: white prints black. With a palette the device's nearest
// colour is the colour itself here, since every surface is true-colour.
uint32_t MapColour(const PenDevice& device, uint32_t word);

// The pen of a word. A style other than solid draws 1 pixel wide; a width field of 8 or more, which
// reads as 0 or less, also draws 1 pixel wide while the word stays as stored.
PenSpec DecodePackedPen(const PenDevice& device, uint32_t word, bool geometric);

// The colour f of the way from a to b, channel by channel, each kept to 0-255.
uint32_t BlendColour(uint32_t a, uint32_t b, double f);

} // namespace qv
