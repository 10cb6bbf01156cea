// The thirteen window layouts in memory (twelve of the user's and the single-window layout) and
// the single-window layout's default record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct OptionBlockA;
struct OptionBlockB;

inline constexpr size_t kLayoutWindowRecordSize = 152;
inline constexpr int kLayoutSlotCount = 13;
inline constexpr int kUserLayoutCount = 12;
inline constexpr int kSingleWindowLayout = 12;

// One window of a layout; the window factory gives the bytes their meaning.
using LayoutWindowRecord = std::array<uint8_t, kLayoutWindowRecordSize>;

struct WindowLayout {
    std::string name;
    std::vector<LayoutWindowRecord> windows;
};

struct WindowLayoutSet {
    std::array<WindowLayout, kLayoutSlotCount> layouts;
    int current = 0; // 0-12
};

WindowLayoutSet& WindowLayouts();

// "Main layout", "9 Graphs", "One Share", "Portfolio", "Data Mining", "Layout 6" .. "Layout 12",
// "EOD Layout".
std::string DefaultLayoutName(int slot);

// Frees one user layout's name and windows, or all twelve for a negative number. The
// single-window layout is never freed here.
void FreeLayouts(WindowLayoutSet& set, int layout);

// The single-window layout's one record, made from the option blocks and the list display byte.
LayoutWindowRecord FillSingleWindowRecord(const OptionBlockA& a, const OptionBlockB& b, uint8_t displayFlags);

} // namespace qv
