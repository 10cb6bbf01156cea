// Colour conversions and the colour slider's arithmetic.
#include "shell/ColourSlider.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace qv {
namespace {

constexpr double kScale = 255.0;
constexpr int kLightnessScale = 2;

int Channel(uint32_t colour, int shift) { return int((colour >> shift) & 0xFF); }
int Red(uint32_t c) { return Channel(c, 0); }
int Green(uint32_t c) { return Channel(c, 8); }
int Blue(uint32_t c) { return Channel(c, 16); }
uint32_t Rgb(int r, int g, int b)
{
    auto clamp = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return clamp(r) | clamp(g) << 8 | clamp(b) << 16;
}

double HueChannel(double m1, double m2, double hue)
{
    hue = std::fmod(hue, kScale);
    if (hue < 0)
        hue += kScale;
    if (hue < 42.5)
        return m1 + (m2 - m1) * hue * 6 / kScale;
    if (hue < 127.5)
        return m2;
    if (hue < 170)
        return m1 + (m2 - m1) * (170 - hue) * 6 / kScale;
    return m1;
}

bool IsExtreme(int channel) { return channel == 0 || channel == 255; }

} // namespace

Hls RgbToHls(uint32_t colour)
{
    double r = Red(colour), g = Green(colour), b = Blue(colour);
    double max = std::max({r, g, b});
    double min = std::min({r, g, b});
    Hls hls;
    hls.lightness = (max + min) / 2;
    if (max == min) {
        hls.hue = 170;
        return hls;
    }
    double span = max - min;
    hls.saturation = hls.lightness <= 127.5 ? span * kScale / (max + min) : span * kScale / (510 - max - min);
    double rd = (max - r) / span, gd = (max - g) / span, bd = (max - b) / span;
    double hue;
    if (r == max)
        hue = (bd - gd) * kScale / 6;
    else if (g == max)
        hue = kScale / 3 + (rd - bd) * kScale / 6;
    else
        hue = 2 * kScale / 3 + (gd - rd) * kScale / 6;
    if (hue < 0)
        hue += kScale;
    if (hue >= kScale)
        hue -= kScale;
    hls.hue = hue;
    return hls;
}

uint32_t HlsToRgb(const Hls& hls)
{
    double l = hls.lightness, s = hls.saturation;
    if (s == 0) {
        int grey = int(std::lround(l));
        return Rgb(grey, grey, grey);
    }
    double m2 = l <= 127.5 ? l * (kScale + s) / kScale : l + s - l * s / kScale;
    double m1 = 2 * l - m2;
    return Rgb(int(std::lround(HueChannel(m1, m2, hls.hue + 85))), int(std::lround(HueChannel(m1, m2, hls.hue))),
               int(std::lround(HueChannel(m1, m2, hls.hue - 85))));
}

double StepTowardsBlack(int channel, int scale, bool channelSlider)
{
    return double(scale) * double(channelSlider ? channel + 1 : channel) / 256.0;
}

double StepFromWhite(int channel, int scale) { return double(scale) * double(255 - channel) / 256.0; }

SliderBase BaseForColour(uint32_t colour)
{
    int r = Red(colour), g = Green(colour), b = Blue(colour);
    SliderBase result;
    if (r == g && g == b) {
        result.base = 0x808080;
        result.position = 255 - g;
        return result;
    }
    int channels[3] = {r, g, b};
    bool kept = false;
    for (int odd = 0; odd < 3 && !kept; ++odd) {
        int first = channels[(odd + 1) % 3], second = channels[(odd + 2) % 3];
        if (!IsExtreme(first) || !IsExtreme(second))
            continue;
        kept = true;
        result.base = colour & 0xFFFFFF;
        if (first == second) {
            int c[3] = {r, g, b};
            c[odd] = 255 - first;
            result.base = Rgb(c[0], c[1], c[2]);
        }
    }
    if (!kept) {
        Hls hls = RgbToHls(colour);
        hls.lightness = 127.5;
        result.base = HlsToRgb(hls);
    }
    result.position = PositionOfColour(result.base, colour);
    return result;
}

int PositionOfColour(uint32_t base, uint32_t colour)
{
    bool darker = (colour & 0xFFFFFF) < (base & 0xFFFFFF);
    int sum = 0, count = 0;
    for (int shift : {0, 8, 16}) {
        int b = Channel(base, shift), c = Channel(colour, shift);
        double step = darker ? StepTowardsBlack(b, kLightnessScale, false) : StepFromWhite(b, kLightnessScale);
        if (step == 0)
            continue;
        int position = darker ? int((b - c) / step) + 127 : int((255 - c) / step);
        sum += position;
        ++count;
    }
    return count == 0 ? 128 : sum / count;
}

uint32_t LightnessColourAt(uint32_t base, int position)
{
    int c[3];
    int i = 0;
    for (int shift : {0, 8, 16}) {
        int b = Channel(base, shift);
        if (position < 128)
            c[i++] = int(255 - position * StepFromWhite(b, kLightnessScale));
        else
            c[i++] = int(b - (position - 127) * StepTowardsBlack(b, kLightnessScale, false));
    }
    return Rgb(c[0], c[1], c[2]);
}

int SliderTrack::thumbTop(int thumbHeight) const
{
    int top = channelTop;
    if (range() > 0 && channelHeight > 0)
        top += int(int64_t(channelHeight) * (position - minimum) / range());
    return std::max(0, top - thumbHeight / 2);
}

int SliderTrack::positionAt(int y) const
{
    if (range() <= 0 || channelHeight <= 0)
        return minimum;
    int64_t offset = int64_t(range()) * (y - channelTop) / channelHeight;
    return int(std::clamp<int64_t>(minimum + offset, minimum, maximum));
}

int SliderTrack::clickTowardsMark(int y, bool below, int thumbHeight) const
{
    if (range() <= 0 || channelHeight <= 0)
        return minimum;
    int s = below ? 1 : -1;
    int relative = position - minimum;
    int m = int(std::lround(double(relative + s) / range() * 6)) + s;
    m = std::clamp(m, 0, 6);
    int mark = range() * m / 6;
    int markY = channelTop + int(int64_t(channelHeight) * mark / range());
    bool inDirection = below ? mark > relative : mark < relative;
    bool withinReach = below ? markY <= y + thumbHeight / 2 : markY >= y - thumbHeight / 2;
    if (inDirection && withinReach)
        return minimum + mark;
    int clicked = int(std::lround(double(y - channelTop) * range() / channelHeight));
    return std::clamp(minimum + clicked, minimum, maximum);
}

SliderCode ApplySliderKey(SliderTrack& track, SliderKey key)
{
    auto moveBy = [&](int delta) { track.position = std::clamp(track.position + delta, track.minimum, track.maximum); };
    switch (key) {
    case SliderKey::Up: moveBy(-track.lineStep); return SliderLineUp;
    case SliderKey::Down: moveBy(track.lineStep); return SliderLineDown;
    case SliderKey::PageUp: moveBy(-track.pageStep); return SliderPageUp;
    case SliderKey::PageDown: moveBy(track.pageStep); return SliderPageDown;
    case SliderKey::Home: track.position = track.minimum; return SliderTop;
    case SliderKey::End: track.position = track.maximum; return SliderBottom;
    }
    return SliderLineUp;
}

} // namespace qv
