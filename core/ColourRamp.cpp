// Colour ramps and range thirds.
#include "core/ColourRamp.h"

#include <cmath>

namespace qv {
namespace {

int Channel(uint32_t colour, int shift) { return int((colour >> shift) & 0xFF); }

} // namespace

void MakeColourGradient(uint32_t from, uint32_t to, std::span<uint32_t> out, int n)
{
    if (n < 1)
        return;
    size_t count = size_t(n) < out.size() ? size_t(n) : out.size();
    for (size_t i = 0; i < count; ++i) {
        uint32_t colour = 0;
        for (int shift : {0, 8, 16}) {
            float step = float(Channel(to, shift) - Channel(from, shift)) / float(n);
            long value = std::lround(float(Channel(from, shift)) + float(i) * step);
            colour |= uint32_t(value & 0xFF) << shift;
        }
        out[i] = colour;
    }
}

int CompareToMiddleThird(double low, double high, double value)
{
    double mid = (low + high) / 2;
    double sixth = (high - low) / 6;
    if (value >= mid + sixth)
        return 1;
    return value >= mid - sixth ? 0 : -1;
}

} // namespace qv
