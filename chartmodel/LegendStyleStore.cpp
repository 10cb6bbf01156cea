// The legend style's record: u32 options, u8 white space (0-4), u8 size in points (1-72), u16 weight,
// u8 italic, u8 underline, u16 0, i32 height, the face (32 bytes, zero-terminated), then four colour
// pairs of u32 text and u32 background.
#include "chartmodel/LegendStyleStore.h"

#include "chartmodel/LegendSettings.h"
#include "platform/ByteOrder.h"
#include "platform/Registry.h"

#include <cmath>
#include <cstring>

namespace qv {

namespace ld = legenddesign;

namespace {
constexpr size_t kOptions = 0, kWhiteSpace = 4, kPoints = 5, kWeight = 6, kItalic = 8, kUnderline = 9, kHeight = 12,
                 kFace = 16, kFaceSize = 32, kPairs = 48;
static_assert(kPairs + 8 * ld::kColourPairs == kLegendStyleRecordSize);
constexpr const char* kSection = "Settings";
constexpr const char* kValue = "LegendStyle";
} // namespace

std::vector<uint8_t> EncodeLegendStyle(const ld::LegendStyle& style, int dpi)
{
    std::vector<uint8_t> out(kLegendStyleRecordSize, 0);
    uint8_t* p = out.data();
    StoreU32(p + kOptions, style.options);
    p[kWhiteSpace] = uint8_t(style.whiteSpace);
    p[kPoints] = uint8_t(style.points);
    StoreU16(p + kWeight, (style.fontFlags & 1) ? 700 : 400);
    p[kItalic] = (style.fontFlags & 2) ? 1 : 0;
    p[kUnderline] = (style.fontFlags & 4) ? 1 : 0;
    StoreU32(p + kHeight, uint32_t(-int32_t(std::lround(double(style.points) * dpi / 72.0))));
    std::memcpy(p + kFace, style.face.data(), std::min(style.face.size(), kFaceSize - 1));
    for (int i = 0; i < ld::kColourPairs; ++i) {
        StoreU32(p + kPairs + 8 * size_t(i), style.pairs[i].text);
        StoreU32(p + kPairs + 8 * size_t(i) + 4, style.pairs[i].background);
    }
    return out;
}

std::optional<ld::LegendStyle> DecodeLegendStyle(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() != kLegendStyleRecordSize)
        return std::nullopt;
    const uint8_t* p = bytes.data();
    if (p[kWhiteSpace] > 4 || p[kPoints] < 1 || p[kPoints] > 72 || p[kFace] == 0)
        return std::nullopt;
    ld::LegendStyle style;
    style.options = LoadU32(p + kOptions) | 1u;
    style.whiteSpace = p[kWhiteSpace];
    style.points = p[kPoints];
    style.fontFlags = (LoadU16(p + kWeight) >= 700 ? 1u : 0u) | (p[kItalic] ? 2u : 0u) | (p[kUnderline] ? 4u : 0u);
    style.face.assign(reinterpret_cast<const char*>(p + kFace), strnlen(reinterpret_cast<const char*>(p + kFace), kFaceSize - 1));
    for (int i = 0; i < ld::kColourPairs; ++i)
        style.pairs[i] = {LoadU32(p + kPairs + 8 * size_t(i)) & 0xFFFFFF, LoadU32(p + kPairs + 8 * size_t(i) + 4) & 0xFFFFFF};
    return style;
}

namespace {
std::optional<ld::LegendStyle> StoredStyle()
{
    auto bytes = Registry::Instance().getBinary(kSection, kValue);
    return bytes ? DecodeLegendStyle(*bytes) : std::nullopt;
}
} // namespace

ld::LegendStyle& ProgramLegendStyle()
{
    static ld::LegendStyle style = StoredStyle().value_or(ld::LegendStyle{});
    return style;
}

void ApplyStoredLegendStyle(LegendSettings& settings)
{
    if (StoredStyle())
        ApplyLegendStyle(ProgramLegendStyle(), settings);
}

void SaveLegendStyle(int dpi) { Registry::Instance().setBinary(kSection, kValue, EncodeLegendStyle(ProgramLegendStyle(), dpi)); }

void ApplyLegendStyle(const ld::LegendStyle& style, LegendSettings& settings)
{
    settings.fontFace = style.face;
    settings.fontPoints = style.points;
    settings.lineSpacing = 2 * style.whiteSpace;
}

} // namespace qv
