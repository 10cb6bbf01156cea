// Rows of the trading-times list: two per exchange, a label and a time, banded by exchange, with a
// column divider the user drags.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The label before the tab and the suffix after it; a text without a tab is all label.
struct TimesRowText {
    std::string_view label;
    std::string_view suffix;
};
TimesRowText SplitTimesRow(std::string_view text);

// " %02d:%02d %s" of the row's time in seconds and its suffix.
std::string TimesColumnText(int seconds, std::string_view suffix);

// Rows 0-1, 4-5, ... take the band colour, the others the window colour.
bool IsBandRow(int row);
// Three parts window and one part highlight, per channel of 0x00BBGGRR words.
uint32_t BandColour(uint32_t window, uint32_t highlight);

// The divider is grabbed within this many pixels and kept this far inside the client area.
inline constexpr int kDividerGrab = 5;
inline constexpr int kDividerInset = 10;
bool NearDivider(int x, int divider);
int ClampDivider(int x, int clientWidth);

} // namespace qv
