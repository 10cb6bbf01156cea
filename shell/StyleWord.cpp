// Packed style words read and written by the style samples.
#include "shell/StyleWord.h"

#include <initializer_list>

namespace qv {
namespace {

int SignedTopNibble(uint32_t word) { return int32_t(word) >> 28; }

} // namespace

LineStyleBits ReadLineBits(uint32_t word)
{
    LineStyleBits bits;
    bits.style = int((word >> 24) & 7);
    bits.bandEdge = int((word >> 27) & 1) + 1;
    bits.thickness = SignedTopNibble(word) + 1;
    return bits;
}

DotStyleBits ReadDotBits(uint32_t word)
{
    return DotStyleBits{int((word >> 24) & 7), SignedTopNibble(word)};
}

uint32_t PackLineBits(const LineStyleBits& bits)
{
    uint32_t word = uint32_t(bits.thickness - 1) << 28 | uint32_t(bits.style & 7) << 24;
    if (bits.style == 5)
        word |= uint32_t(bits.bandEdge - 1) << 27;
    return word;
}

uint32_t PackDotBits(const DotStyleBits& bits)
{
    return (uint32_t(bits.size) << 4 | uint32_t(bits.style & 0xF)) << 24;
}

uint32_t BandTint(uint32_t colour)
{
    uint32_t tint = 0;
    for (int shift : {0, 8, 16}) {
        int c = int((colour >> shift) & 0xFF);
        tint |= uint32_t(c + (510 - 2 * c) / 3) << shift;
    }
    return tint;
}

} // namespace qv
