// The chart font's record in the options block.
#include "chartmodel/ChartFont.h"

#include "core/ConfigRecords.h"
#include "platform/ByteOrder.h"

#include <cstring>

namespace qv {

namespace {
// Within the record: the face (32 bytes, zero-terminated), i32 height, u16 weight, u8 flags (bit 0
// italic, bit 1 underline), u8 size in points.
constexpr size_t kFace = 0;
constexpr size_t kHeight = 32;
constexpr size_t kWeight = 36;
constexpr size_t kFlags = 38;
constexpr size_t kPoints = 39;
constexpr size_t kRecordSize = 40;
static_assert(OptionBlockA::kChartFont + kRecordSize <= OptionBlockA::kPrintLandscape);
} // namespace

bool ChartFontSizeValid(int points) { return points >= ChartFont::kMinPoints && points <= ChartFont::kMaxPoints; }

std::string CutFontFace(const std::string& face) { return face.substr(0, ChartFont::kFaceSize - 1); }

ChartFont ReadChartFont(const OptionBlockA& options)
{
    const uint8_t* at = options.data() + OptionBlockA::kChartFont;
    ChartFont font;
    if (at[kFace] == 0)
        return font;
    font.face.assign(reinterpret_cast<const char*>(at + kFace), strnlen(reinterpret_cast<const char*>(at + kFace),
                                                                        ChartFont::kFaceSize - 1));
    font.height = int32_t(LoadU32(at + kHeight));
    font.weight = LoadU16(at + kWeight);
    font.italic = at[kFlags] & 1;
    font.underline = at[kFlags] & 2;
    font.points = ChartFontSizeValid(at[kPoints]) ? at[kPoints] : ChartFont::kDefaultPoints;
    return font;
}

void WriteChartFont(OptionBlockA& options, const ChartFont& font)
{
    uint8_t* at = options.data() + OptionBlockA::kChartFont;
    std::memset(at, 0, kRecordSize);
    std::string face = CutFontFace(font.face);
    std::memcpy(at + kFace, face.data(), face.size());
    StoreU32(at + kHeight, uint32_t(font.height));
    StoreU16(at + kWeight, font.weight);
    at[kFlags] = uint8_t((font.italic ? 1 : 0) | (font.underline ? 2 : 0));
    at[kPoints] = uint8_t(font.points);
}

} // namespace qv
