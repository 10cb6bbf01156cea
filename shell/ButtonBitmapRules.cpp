// Mask layering and resampling of button images.
#include "shell/ButtonBitmapRules.h"

#include <algorithm>

namespace qv {
namespace {

uint32_t Channel(uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

// a * ka + b * kb over d, per channel.
uint32_t Mix(uint32_t a, uint32_t ka, uint32_t b, uint32_t kb, uint32_t d)
{
    uint32_t colour = 0;
    for (int shift = 0; shift < 24; shift += 8)
        colour |= ((Channel(a, shift) * ka + Channel(b, shift) * kb) / d) << shift;
    return colour;
}

// Overlap of [a0, a1) and [b0, b1).
int64_t Overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1)
{
    return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

} // namespace

std::array<uint32_t, 4> MaskColours(uint32_t base, uint32_t second)
{
    return {Mix(second, 3, base, 2, 5), base & 0xFFFFFF, Mix(second, 1, base, 1, 2), Mix(base, 1, second, 3, 4)};
}

RgbImage LayMasks(const std::array<ButtonMask, 4>& masks, uint32_t base, uint32_t second)
{
    RgbImage image{kButtonWorkSize, kButtonWorkSize, std::vector<uint32_t>(kButtonWorkSize * kButtonWorkSize, 0)};
    std::array<uint32_t, 4> colours = MaskColours(base, second);
    for (size_t m = 0; m < masks.size(); ++m) {
        if (masks[m].size() != image.pixels.size())
            continue;
        for (size_t i = 0; i < image.pixels.size(); ++i)
            if (masks[m][i])
                image.pixels[i] = colours[m];
    }
    return image;
}

RgbImage MaskCoverage(const std::array<ButtonMask, 4>& masks)
{
    RgbImage image{kButtonWorkSize, kButtonWorkSize, std::vector<uint32_t>(kButtonWorkSize * kButtonWorkSize, 0)};
    for (const ButtonMask& mask : masks) {
        if (mask.size() != image.pixels.size())
            continue;
        for (size_t i = 0; i < image.pixels.size(); ++i)
            if (mask[i])
                image.pixels[i] = 0xFFFFFF;
    }
    return image;
}

RgbImage AreaAverage(const RgbImage& source, int width, int height)
{
    RgbImage out{width, height, std::vector<uint32_t>(size_t(std::max(width, 0)) * size_t(std::max(height, 0)), 0)};
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0)
        return out;
    // In units where a source pixel is width x height and a destination pixel source.width x
    // source.height, both images span the same integer length.
    const int64_t sw = source.width, sh = source.height;
    const int64_t area = sw * sh;
    for (int dy = 0; dy < height; ++dy) {
        int64_t y0 = dy * sh, y1 = y0 + sh;
        int firstRow = int(y0 / height), lastRow = int(std::min<int64_t>((y1 - 1) / height, sh - 1));
        for (int dx = 0; dx < width; ++dx) {
            int64_t x0 = dx * sw, x1 = x0 + sw;
            int firstColumn = int(x0 / width), lastColumn = int(std::min<int64_t>((x1 - 1) / width, sw - 1));
            int64_t sum[3] = {0, 0, 0};
            for (int sy = firstRow; sy <= lastRow; ++sy) {
                int64_t wy = Overlap(y0, y1, int64_t(sy) * height, int64_t(sy + 1) * height);
                for (int sx = firstColumn; sx <= lastColumn; ++sx) {
                    int64_t weight = wy * Overlap(x0, x1, int64_t(sx) * width, int64_t(sx + 1) * width);
                    uint32_t pixel = source.at(sx, sy);
                    for (int c = 0; c < 3; ++c)
                        sum[c] += weight * Channel(pixel, 8 * c);
                }
            }
            uint32_t colour = 0;
            for (int c = 0; c < 3; ++c)
                colour |= uint32_t((sum[c] + area / 2) / area) << (8 * c);
            out.pixels[size_t(dy) * size_t(width) + size_t(dx)] = colour;
        }
    }
    return out;
}

RgbImage Stretch(const RgbImage& source, int width, int height)
{
    RgbImage out{width, height, std::vector<uint32_t>(size_t(std::max(width, 0)) * size_t(std::max(height, 0)), 0)};
    if (source.width <= 0 || source.height <= 0)
        return out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.pixels[size_t(y) * size_t(width) + size_t(x)] =
                source.at(int(int64_t(x) * source.width / width), int(int64_t(y) * source.height / height));
    return out;
}

RgbImage ScaleButtonImage(const RgbImage& source, int width, int height)
{
    if (width <= kButtonWorkSize && height <= kButtonWorkSize)
        return AreaAverage(source, width, height);
    return Stretch(source, width, height);
}

} // namespace qv
