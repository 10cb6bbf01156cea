// Button images built from up to four monochrome masks in colours computed from two, on a 64 x 64
// work image, scaled by area averaging down to 64 pixels, and kept in a two-slot cache.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qv {

inline constexpr int kButtonWorkSize = 64;

// 24-bit pixels as 0x00BBGGRR words, row by row.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// A monochrome mask of the work size: 1 where the shape is.
using ButtonMask = std::vector<uint8_t>;

// The colours of the four masks: (3 second + 2 base) / 5, base, (second + base) / 2 and
// (base + 3 second) / 4, per channel.
std::array<uint32_t, 4> MaskColours(uint32_t base, uint32_t second);

// Lays the masks in order on black, each over what lies below it; an empty mask is absent.
RgbImage LayMasks(const std::array<ButtonMask, 4>& masks, uint32_t base, uint32_t second);
// White wherever any mask lies, black elsewhere: scaled as the image is, it says how much of each
// pixel the image covers, so that what lies outside every mask shows what the image is drawn over.
RgbImage MaskCoverage(const std::array<ButtonMask, 4>& masks);

// Each source pixel spread over the destination pixels it covers, weighted by the covered fractions
// of its width and height, rounded to the nearest.
RgbImage AreaAverage(const RgbImage& source, int width, int height);
// Nearest-pixel stretching.
RgbImage Stretch(const RgbImage& source, int width, int height);
// Area averaging up to the work size, plain stretching above it.
RgbImage ScaleButtonImage(const RgbImage& source, int width, int height);

// What a cached copy was made for.
struct ButtonImageKey {
    int width = 0;
    int height = 0;
    uint32_t base = 0;
    uint32_t second = 0;
    int state = 0;
    bool operator==(const ButtonImageKey&) const = default;
};

// Two cached copies; a new one replaces the slot not replaced last.
template <typename Image>
class TwoSlotCache {
public:
    const Image* Find(const ButtonImageKey& key) const
    {
        for (const auto& slot : slots_)
            if (slot && slot->key == key)
                return &slot->image;
        return nullptr;
    }
    const Image& Store(const ButtonImageKey& key, Image image)
    {
        auto& slot = slots_[next_];
        slot = Entry{key, std::move(image)};
        next_ = 1 - next_;
        return slot->image;
    }

private:
    struct Entry {
        ButtonImageKey key;
        Image image;
    };
    std::array<std::optional<Entry>, 2> slots_;
    int next_ = 0;
};

} // namespace qv
