// The InfoCentre's display settings and their only store, the style sheet "inc.css" in the content
// folder, written as sixteen fixed lines and read back by the same patterns.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace qv {

constexpr uint32_t kInCStyleBold = 0x01;
constexpr uint32_t kInCStyleItalic = 0x02;
constexpr uint32_t kInCStyleUnderline = 0x04;

// Colours are 0x00BBGGRR.
struct InCStyle {
    int32_t padding = 0;
    uint32_t textColour = 0;
    uint32_t background = 0;
    uint32_t alternateBackground = 0;
    uint32_t gridLines = 0;
    uint32_t linkColour = 0;
    uint32_t visitedColour = 0;
    std::string fontFamily; // at most 31 characters are kept when read
    int32_t fontSize = 0;
    uint32_t styleBits = 0;

    bool operator==(const InCStyle&) const = default;
};

void SetDefaultStyle(InCStyle& style);
std::string IncCssText(const InCStyle& style);
// The sheet in the content folder of the program.
std::filesystem::path IncCssPath();
bool WriteIncCss(const InCStyle& style, const std::filesystem::path& file = IncCssPath());
// True only when all sixteen lines were read; the fields before a missing line are kept as read.
bool ReadIncCss(InCStyle& style, const std::filesystem::path& file = IncCssPath());
bool ParseIncCss(const std::string& text, InCStyle& style);

} // namespace qv
