// Trading-times list rows and divider.
#include "shell/TimesListRules.h"

#include "core/StringPrintf.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

TimesRowText SplitTimesRow(std::string_view text)
{
    size_t tab = text.find('\t');
    if (tab == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

std::string TimesColumnText(int seconds, std::string_view suffix)
{
    return StringPrintf(" %02d:%02d %.*s", seconds / 3600, seconds / 60 % 60, int(suffix.size()), suffix.data());
}

bool IsBandRow(int row) { return row % 4 < 2; }

uint32_t BandColour(uint32_t window, uint32_t highlight)
{
    uint32_t colour = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t w = (window >> shift) & 0xFF;
        uint32_t h = (highlight >> shift) & 0xFF;
        colour |= ((3 * w + h) / 4) << shift;
    }
    return colour;
}

bool NearDivider(int x, int divider) { return std::abs(x - divider) <= kDividerGrab; }

int ClampDivider(int x, int clientWidth)
{
    int high = std::max(kDividerInset, clientWidth - kDividerInset);
    return std::clamp(x, kDividerInset, high);
}

} // namespace qv
