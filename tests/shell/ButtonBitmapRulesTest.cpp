// Tests of button images: mask colours and layering, the area-averaging resample against a
// brute-force reference, and the two-slot cache.
#include "shell/ButtonBitmapRules.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace qv;

namespace {

// Each source pixel blown up to width x height sub-pixels, each destination pixel the plain mean of
// its source.width x source.height block of them.
RgbImage BruteForceAverage(const RgbImage& source, int width, int height)
{
    RgbImage out{width, height, std::vector<uint32_t>(size_t(width * height))};
    for (int dy = 0; dy < height; ++dy)
        for (int dx = 0; dx < width; ++dx) {
            double sum[3] = {0, 0, 0};
            for (int v = dy * source.height; v < (dy + 1) * source.height; ++v)
                for (int u = dx * source.width; u < (dx + 1) * source.width; ++u) {
                    uint32_t pixel = source.at(u / width, v / height);
                    for (int c = 0; c < 3; ++c)
                        sum[c] += (pixel >> (8 * c)) & 0xFF;
                }
            uint32_t colour = 0;
            for (int c = 0; c < 3; ++c)
                colour |= uint32_t(std::floor(sum[c] / (source.width * source.height) + 0.5)) << (8 * c);
            out.pixels[size_t(dy * width + dx)] = colour;
        }
    return out;
}

RgbImage RandomImage(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    RgbImage image{width, height, std::vector<uint32_t>(size_t(width * height))};
    for (uint32_t& pixel : image.pixels)
        pixel = random() & 0xFFFFFF;
    return image;
}

TEST(ButtonBitmapRules, MaskColoursMixBaseAndSecond)
{
    auto colours = MaskColours(0x0000FF, 0xFF0000); // red base, blue second
    EXPECT_EQ(colours[0], 0x990066u) << "(3 second + 2 base) / 5";
    EXPECT_EQ(colours[1], 0x0000FFu);
    EXPECT_EQ(colours[2], 0x7F007Fu);
    EXPECT_EQ(colours[3], 0xBF003Fu) << "(base + 3 second) / 4";
}

TEST(ButtonBitmapRules, LaterMasksLieOverEarlierOnes)
{
    std::array<ButtonMask, 4> masks;
    masks[0].assign(kButtonWorkSize * kButtonWorkSize, 0);
    masks[2] = masks[0];
    masks[0][0] = masks[0][1] = 1;
    masks[2][1] = 1;
    RgbImage image = LayMasks(masks, 0x0000FF, 0xFF0000);
    auto colours = MaskColours(0x0000FF, 0xFF0000);
    EXPECT_EQ(image.at(0, 0), colours[0]);
    EXPECT_EQ(image.at(1, 0), colours[2]);
    EXPECT_EQ(image.at(2, 0), 0u) << "black where no mask is";
}

TEST(ButtonBitmapRules, AreaAveragingMatchesABruteForceReference)
{
    for (auto [sw, sh, dw, dh] : std::vector<std::array<int, 4>>{
             {64, 64, 24, 24}, {64, 64, 37, 13}, {64, 64, 64, 64}, {64, 64, 1, 1}, {5, 3, 3, 2}, {3, 2, 7, 5}}) {
        RgbImage source = RandomImage(sw, sh, unsigned(sw * 7 + dw));
        RgbImage fast = AreaAverage(source, dw, dh);
        RgbImage slow = BruteForceAverage(source, dw, dh);
        EXPECT_EQ(fast.pixels, slow.pixels) << sw << "x" << sh << " to " << dw << "x" << dh;
    }
    RgbImage halves{2, 1, {0x000000, 0xFFFFFF}};
    EXPECT_EQ(AreaAverage(halves, 1, 1).pixels[0], 0x808080u) << "coverage-weighted, rounded";
}

TEST(ButtonBitmapRules, AboveTheWorkSizeImagesAreStretched)
{
    RgbImage source = RandomImage(64, 64, 3);
    RgbImage big = ScaleButtonImage(source, 128, 96);
    EXPECT_EQ(big.at(127, 95), source.at(63, 63));
    EXPECT_EQ(big.at(2, 2), source.at(1, 1));
    EXPECT_EQ(ScaleButtonImage(source, 32, 32).pixels, AreaAverage(source, 32, 32).pixels);
}

TEST(ButtonBitmapRules, TheCacheKeepsTwoCopiesAndReplacesTheOlder)
{
    TwoSlotCache<std::string> cache;
    ButtonImageKey a{16, 16, 1, 2, 0}, b{24, 24, 1, 2, 0}, c{16, 16, 1, 2, 1};
    EXPECT_EQ(cache.Find(a), nullptr);
    cache.Store(a, "a");
    cache.Store(b, "b");
    ASSERT_NE(cache.Find(a), nullptr);
    EXPECT_EQ(*cache.Find(a), "a");
    cache.Store(c, "c");
    EXPECT_EQ(cache.Find(a), nullptr) << "the state is part of the key; the older slot goes";
    EXPECT_EQ(*cache.Find(b), "b");
    EXPECT_EQ(*cache.Find(c), "c");
}

} // namespace
