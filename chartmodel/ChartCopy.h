// The rules of a copied or exported chart picture: its size from the clipboard options, the footer's
// layout in its 15-pixel strip, and the export file's name and form.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

constexpr int32_t kCopyFooterHeight = 15;
constexpr int32_t kCopySizeMin = 100;
constexpr int32_t kCopySizeMax = 5000;

// The program-wide clipboard options.
struct ClipboardCopyOptions {
    uint8_t useWindowSize = 1;
    int32_t width = 600, height = 400;
    uint8_t bitmapFirst = 1; // the picture goes first on the clipboard, else the vector graph
};
ClipboardCopyOptions& CopyOptions();

struct CopySize {
    int32_t width = 0, height = 0;
};
// The window's client size when the options say so, else the fixed size kept within 100-5000.
CopySize ChooseCopySize(const ClipboardCopyOptions& options, int32_t clientWidth, int32_t clientHeight);

// The product name in its two logo parts, bold then normal, and the maker's web address.
inline constexpr const char* kFooterBoldPart = "Quor";
inline constexpr const char* kFooterNormalPart = "vantis";
inline constexpr const char* kFooterAddress = "www.quorvantis.example";

struct FooterLayout {
    int32_t stripTop = 0;
    int32_t baseline = 0;
    int32_t boldX = 0, normalX = 0; // the product name ends at the area's right end
    bool showAddress = false;
    int32_t addressX = 0;
};
// The area the footer's texts align in: the plot's extent on a white background, else 2 pixels inside
// the picture's edges.
void FooterArea(uint32_t background, int32_t plotLeft, int32_t plotRight, int32_t width, int32_t& left,
                int32_t& right);
// The address shows only when it ends at least 10 pixels before the product name.
FooterLayout LayoutCopyFooter(int32_t height, int32_t areaLeft, int32_t areaRight, int32_t boldWidth,
                              int32_t normalWidth, int32_t addressWidth);

enum class ExportForm { Svg, Png };
// The default export name: the readout with every ':' (and every '/', a path separator here) made '_'.
std::string DefaultExportName(const std::string& readout);
// A name ending ".svg" or ".png" (any case) keeps its form; any other name takes the chosen filter's
// extension added, so that an export always writes a file.
std::string ExportFileName(const std::string& chosen, ExportForm filter, ExportForm& form);

} // namespace qv
