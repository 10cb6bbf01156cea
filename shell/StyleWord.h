// The line and dot bits of a packed style word as the style samples read and write them.
#pragma once

#include <cstdint>

namespace qv {

struct LineStyleBits {
    int style = 0;      // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 band
    int thickness = 1;  // as stored: a width field of 8 or more reads as 0 or less
    int bandEdge = 1;   // 1 or 2
};

struct DotStyleBits {
    int style = 0;      // 0 filled, 1 open, 2 hatched
    int size = 0;       // as stored: a size field of 8 or more reads negative
};

LineStyleBits ReadLineBits(uint32_t word);
DotStyleBits ReadDotBits(uint32_t word);
// The style bits of a word (colour bits 0): the band edge only for style 5.
uint32_t PackLineBits(const LineStyleBits& bits);
uint32_t PackDotBits(const DotStyleBits& bits);

// What the samples draw with: at least 1 pixel wide, a size of at least 0.
inline int DrawnThickness(int thickness) { return thickness < 1 ? 1 : thickness; }
inline int DrawnDotSize(int size) { return size < 0 ? 0 : size; }

// The lighter tint of a colour for the inside of a band: each channel c becomes c + (510 - 2c) / 3.
uint32_t BandTint(uint32_t colour);

// A colour value with any of bits 24-31 set means "no colour".
inline bool IsPlainColour(uint32_t colour) { return colour < 0x1000000; }

} // namespace qv
