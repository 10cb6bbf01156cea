// The copied chart picture's size, footer layout and export names.
#include "chartmodel/ChartCopy.h"

#include <algorithm>
#include <cctype>

namespace qv {

ClipboardCopyOptions& CopyOptions()
{
    static ClipboardCopyOptions options;
    return options;
}

CopySize ChooseCopySize(const ClipboardCopyOptions& options, int32_t clientWidth, int32_t clientHeight)
{
    if (options.useWindowSize)
        return {std::max(clientWidth, 1), std::max(clientHeight, kCopyFooterHeight + 1)};
    return {std::clamp(options.width, kCopySizeMin, kCopySizeMax), std::clamp(options.height, kCopySizeMin, kCopySizeMax)};
}

void FooterArea(uint32_t background, int32_t plotLeft, int32_t plotRight, int32_t width, int32_t& left,
                int32_t& right)
{
    if ((background & 0xFFFFFF) == 0xFFFFFF && plotRight > plotLeft) {
        left = plotLeft;
        right = plotRight;
        return;
    }
    left = 2;
    right = width - 2;
}

FooterLayout LayoutCopyFooter(int32_t height, int32_t areaLeft, int32_t areaRight, int32_t boldWidth,
                              int32_t normalWidth, int32_t addressWidth)
{
    FooterLayout layout;
    layout.stripTop = height - kCopyFooterHeight;
    layout.baseline = height - 4;
    layout.normalX = areaRight - normalWidth;
    layout.boldX = layout.normalX - boldWidth;
    layout.addressX = areaLeft;
    layout.showAddress = areaLeft + addressWidth + 10 <= layout.boldX;
    return layout;
}

std::string DefaultExportName(const std::string& readout)
{
    std::string name = readout;
    // A '/' in a share's name would make the name a path.
    for (char& c : name)
        if (c == ':' || c == '/')
            c = '_';
    return name;
}

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& end)
{
    if (text.size() < end.size())
        return false;
    return std::equal(end.begin(), end.end(), text.end() - std::ptrdiff_t(end.size()),
                      [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); });
}

} // namespace

std::string ExportFileName(const std::string& chosen, ExportForm filter, ExportForm& form)
{
    if (EndsWithNoCase(chosen, ".svg")) {
        form = ExportForm::Svg;
        return chosen;
    }
    if (EndsWithNoCase(chosen, ".png")) {
        form = ExportForm::Png;
        return chosen;
    }
    form = filter;
    return chosen + (filter == ExportForm::Svg ? ".svg" : ".png");
}

} // namespace qv
