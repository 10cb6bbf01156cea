// The rules of the colour slider: hue, lightness and saturation on a 0-255 scale, the gradient steps
// of a channel or lightness slider, the colour at a position and back, and the thumb's arithmetic.
#pragma once

#include <cstdint>

namespace qv {

struct Hls {
    double hue = 0;        // 0 red, 85 green, 170 blue
    double lightness = 0;
    double saturation = 0;
};

// Colours are 0x00BBGGRR words.
Hls RgbToHls(uint32_t colour);
uint32_t HlsToRgb(const Hls& hls);

// The step of one channel per gradient step, over the scale k: towards black (d = the channel, or the
// channel + 1 on a channel slider) or from white towards the channel (d = 255 - channel).
double StepTowardsBlack(int channel, int scale, bool channelSlider);
double StepFromWhite(int channel, int scale);

// The base and position a lightness slider takes for a colour.
struct SliderBase {
    uint32_t base = 0x808080;
    int position = 0;
};
SliderBase BaseForColour(uint32_t colour);

// The position of a colour on a lightness slider of the base: 0-127 from white to the base, 128 and
// on from the base to black.
int PositionOfColour(uint32_t base, uint32_t colour);
// The colour under the thumb of a lightness slider of the base.
uint32_t LightnessColourAt(uint32_t base, int position);

// A vertical slider's range, position and channel, as its mouse and keys move it.
struct SliderTrack {
    int minimum = 0;
    int maximum = 255;
    int position = 0;
    int lineStep = 1;
    int pageStep = 20;
    int channelTop = 0;
    int channelHeight = 0;

    int range() const { return maximum - minimum; }
    // The thumb's top for a thumb of the height: on the channel at the position, never above 0. With
    // no range or no channel the thumb stands at the channel's top.
    int thumbTop(int thumbHeight) const;
    // The position of a point on the channel, held within the range (the minimum when there is none).
    int positionAt(int y) const;
    // A click off the thumb (below it when `below`): the next of the six marks in that direction when it
    // lies no more than half a thumb beyond the point clicked, else the point itself.
    int clickTowardsMark(int y, bool below, int thumbHeight) const;
};

// Slider notification codes, as a vertical scroll bar reports them.
enum SliderCode : int {
    SliderLineUp = 0,
    SliderLineDown = 1,
    SliderPageUp = 2,
    SliderPageDown = 3,
    SliderThumbPosition = 4,
    SliderThumbTrack = 5,
    SliderTop = 6,
    SliderBottom = 7,
};

enum class SliderKey { Up, Down, PageUp, PageDown, Home, End };
// Moves the track's position for the key, held within the range; answers the code to report.
SliderCode ApplySliderKey(SliderTrack& track, SliderKey key);

// What a slider tells its parent: (position << 16) | code.
inline uint32_t SliderNotice(int position, SliderCode code) { return uint32_t(position) << 16 | uint32_t(code); }

} // namespace qv
