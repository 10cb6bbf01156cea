// Colour conversions on the 0-255 scale and the colour slider's positions, colours and thumb moves.
#include "shell/ColourSlider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace qv;

namespace {

// The textbook conversion on 0..1 (as Python's colorsys), scaled to 0-255 afterwards.
Hls ReferenceHls(uint32_t c)
{
    double r = (c & 0xFF) / 255.0, g = ((c >> 8) & 0xFF) / 255.0, b = ((c >> 16) & 0xFF) / 255.0;
    double maxc = std::max({r, g, b}), minc = std::min({r, g, b});
    double l = (minc + maxc) / 2;
    if (minc == maxc)
        return {170, l * 255, 0};
    double s = l <= 0.5 ? (maxc - minc) / (maxc + minc) : (maxc - minc) / (2 - maxc - minc);
    double rc = (maxc - r) / (maxc - minc), gc = (maxc - g) / (maxc - minc), bc = (maxc - b) / (maxc - minc);
    double h = r == maxc ? bc - gc : g == maxc ? 2 + rc - bc : 4 + gc - rc;
    h = std::fmod(h / 6, 1.0);
    if (h < 0)
        h += 1;
    return {h * 255, l * 255, s * 255};
}

} // namespace

TEST(ColourSlider, HlsAgreesWithTheTextbookConversionAndRoundTrips)
{
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) {
        uint32_t colour = random() & 0xFFFFFF;
        if (i < 256)
            colour = uint32_t(i) * 0x010101; // every grey
        Hls ours = RgbToHls(colour), ref = ReferenceHls(colour);
        EXPECT_NEAR(ours.lightness, ref.lightness, 1e-9) << std::hex << colour;
        EXPECT_NEAR(ours.saturation, ref.saturation, 1e-9) << std::hex << colour;
        EXPECT_NEAR(ours.hue, ref.hue, 1e-9) << std::hex << colour;
        uint32_t back = HlsToRgb(ours);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(int((back >> shift) & 0xFF), int((colour >> shift) & 0xFF), 1) << std::hex << colour;
    }
    EXPECT_NEAR(RgbToHls(0x00FF00).hue, 85, 1e-9);
    EXPECT_NEAR(RgbToHls(0xFF0000).hue, 170, 1e-9);
    EXPECT_NEAR(RgbToHls(0x0000FF).hue, 0, 1e-9);
}

TEST(ColourSlider, BaseAndPositionOfAColour)
{
    struct {
        uint32_t colour;
        uint32_t base;
        int position;
    } cases[] = {
        {0x404040, 0x808080, 191},   // a grey: mid-grey base
        {0xFFFFFF, 0x808080, 0},
        {0x000000, 0x808080, 255},
        {0x6400FF, 0x6400FF, 127},   // red 255, green 0 kept as they are: the colour is its own base
        {0x640000, 0xFF0000, 283 / 2}, // red and green both 0: blue goes to 255
    };
    for (const auto& c : cases) {
        SliderBase base = BaseForColour(c.colour);
        EXPECT_EQ(base.base, c.base) << std::hex << c.colour;
        EXPECT_EQ(base.position, PositionOfColour(base.base, c.colour));
    }
    EXPECT_EQ(BaseForColour(0x404040).position, 191);
    // Other colours take the hue and saturation at lightness 127.5.
    uint32_t base = BaseForColour(0x203040).base;
    EXPECT_NEAR(RgbToHls(base).lightness, 127.5, 1.0);
    EXPECT_NEAR(RgbToHls(base).hue, RgbToHls(0x203040).hue, 1.5);
}

TEST(ColourSlider, ColourUnderTheThumbRunsWhiteBaseBlack)
{
    EXPECT_EQ(LightnessColourAt(0x808080, 0), 0xFFFFFFu);
    EXPECT_EQ(LightnessColourAt(0x808080, 127), 0x808080u);
    EXPECT_EQ(LightnessColourAt(0x808080, 255), 0x000000u);
    for (int p = 0; p < 256; p += 17) {
        uint32_t colour = LightnessColourAt(0x3080C0, p);
        int back = PositionOfColour(0x3080C0, colour);
        EXPECT_NEAR(back, p, 2) << p;
    }
}

TEST(ColourSlider, ThumbAndPositions)
{
    SliderTrack track;
    track.channelTop = 10;
    track.channelHeight = 255;
    track.position = 128;
    EXPECT_EQ(track.thumbTop(20), 10 + 128 - 10);
    EXPECT_EQ(track.positionAt(-50), 0);     // above the channel: the minimum
    EXPECT_EQ(track.positionAt(1000), 255);  // below it: the maximum
    EXPECT_EQ(track.positionAt(10 + 100), 100);

    // A click below moves to the next mark (a sixth of the range) when it is within reach.
    EXPECT_EQ(track.clickTowardsMark(190, true, 20), 170);
    EXPECT_EQ(track.clickTowardsMark(100, false, 20), 85);
    // A click short of the mark takes the point clicked.
    EXPECT_EQ(track.clickTowardsMark(150, true, 20), 140);

    // No range, or no channel: the thumb stands at the top and the position at the minimum.
    SliderTrack flat;
    flat.minimum = flat.maximum = 40;
    flat.position = 40;
    flat.channelTop = 12;
    flat.channelHeight = 100;
    EXPECT_EQ(flat.thumbTop(10), 7);
    EXPECT_EQ(flat.positionAt(80), 40);
    EXPECT_EQ(flat.clickTowardsMark(80, true, 10), 40);
    SliderTrack empty;
    empty.minimum = 5;
    EXPECT_EQ(empty.positionAt(30), 5);

    // Positions count from the minimum.
    SliderTrack offset;
    offset.minimum = 100;
    offset.maximum = 200;
    offset.position = 150;
    offset.channelHeight = 100;
    EXPECT_EQ(offset.thumbTop(0), 50);
}

TEST(ColourSlider, KeysStayInsideTheRange)
{
    struct {
        int from;
        SliderKey key;
        int to;
        SliderCode code;
    } cases[] = {
        {250, SliderKey::PageDown, 255, SliderPageDown},
        {10, SliderKey::PageUp, 0, SliderPageUp},
        {0, SliderKey::Up, 0, SliderLineUp},
        {254, SliderKey::Down, 255, SliderLineDown},
        {100, SliderKey::Home, 0, SliderTop},
        {100, SliderKey::End, 255, SliderBottom},
    };
    for (const auto& c : cases) {
        SliderTrack track;
        track.position = c.from;
        EXPECT_EQ(ApplySliderKey(track, c.key), c.code);
        EXPECT_EQ(track.position, c.to);
    }
    EXPECT_EQ(SliderNotice(191, SliderThumbTrack), (191u << 16) | 5u);
}
