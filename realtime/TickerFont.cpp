// The ticker font's place in the configuration.
#include "realtime/TickerFont.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/SystemServices.h"

#include <algorithm>
#include <cstdlib>

namespace qv {
namespace {

constexpr size_t kFaceAt = 28; // the face within the stored description
constexpr int32_t kLargestHeight = 400;
constexpr int32_t kHeaviest = 1000;
static_assert(OptionBlockB::kTickerFont + kLogFontSize <= OptionBlockB::kTickerFontEnd);

std::span<const uint8_t, kLogFontSize> Place(const OptionBlockB& block)
{
    return std::span<const uint8_t, kLogFontSize>(block.data() + OptionBlockB::kTickerFont, kLogFontSize);
}

bool NeverWritten(std::span<const uint8_t, kLogFontSize> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

// What this program writes: a named, terminated face of printable characters, a height and weight a
// screen font can have, and style bytes of 0 or 1.
bool Sound(std::span<const uint8_t, kLogFontSize> bytes, const LogFont& font)
{
    const auto face = bytes.subspan(kFaceAt);
    const auto end = std::find(face.begin(), face.end(), uint8_t(0));
    if (end == face.end() || end == face.begin())
        return false;
    if (std::any_of(face.begin(), end, [](uint8_t c) { return c < 0x20 || c == 0x7F; }))
        return false;
    return std::abs(font.height) <= kLargestHeight && font.weight >= 0 && font.weight <= kHeaviest &&
           font.italic <= 1 && font.underline <= 1 && font.strikeOut <= 1;
}

// The stored font, or the default; `damaged` tells the two defaults apart.
LogFont Resolve(const OptionBlockB& block, bool& damaged)
{
    const auto bytes = Place(block);
    damaged = false;
    if (NeverWritten(bytes))
        return DefaultTickerFont();
    const LogFont font = ReadLogFont(bytes);
    if (Sound(bytes, font))
        return font;
    damaged = true;
    TraceMessage("Failed to create ticker font (1)");
    return DefaultTickerFont();
}

} // namespace

LogFont DefaultTickerFont()
{
    LogFont font;
    font.setFaceName("Arial");
    return font;
}

LogFont ReadTickerFont(const OptionBlockB& block)
{
    bool damaged = false;
    return Resolve(block, damaged);
}

void WriteTickerFont(OptionBlockB& block, const LogFont& font)
{
    WriteLogFont(std::span<uint8_t, kLogFontSize>(block.data() + OptionBlockB::kTickerFont, kLogFontSize), font);
}

LogFont TickerFont()
{
    bool damaged = false;
    const LogFont font = Resolve(Config().optionsB, damaged);
    if (damaged)
        WriteTickerFont(Config().optionsB, font);
    return font;
}

void SetTickerFont(const LogFont& font) { WriteTickerFont(Config().optionsB, font); }

} // namespace qv
