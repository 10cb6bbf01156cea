// The program-wide chart font that "Change the font type and size" sets: a font record kept in the
// options block, and the rules of its chooser.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct OptionBlockA;

struct ChartFont {
    static constexpr size_t kFaceSize = 32; // 31 characters and the terminating zero
    static constexpr int kMinPoints = 5;
    static constexpr int kMaxPoints = 20;
    static constexpr int kDefaultPoints = 10;

    std::string face = "Arial";
    int32_t height = 0;   // minus the size in pixels on the screen it was chosen on
    uint16_t weight = 400;
    bool italic = false;
    bool underline = false;
    int points = kDefaultPoints;

    bool operator==(const ChartFont&) const = default;
};

// A size the chooser accepts: 5..20 points.
bool ChartFontSizeValid(int points);
// The face as stored: cut to 31 characters.
std::string CutFontFace(const std::string& face);

// The font as the options block holds it; a block never written gives the default.
ChartFont ReadChartFont(const OptionBlockA& options);
void WriteChartFont(OptionBlockA& options, const ChartFont& font);

} // namespace qv
