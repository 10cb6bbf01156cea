// "View.cfg" (and the older "Views.cfg"): the window layouts on disk, their older sub-versions and
// the save of one layout that copies the others from the file.
#pragma once

#include "core/WindowLayouts.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qv {

inline constexpr size_t kLayoutFileHeaderSize = 28;
inline constexpr uint8_t kLayoutFileVersion = 1;
inline constexpr uint8_t kLayoutFileSubVersion = 4;

// What loading takes from the configuration and the options.
struct LayoutLoadContext {
    int configVersion = 3;
    bool multipleWindows = true;
    uint8_t tradeListMode = 0;                 // OptionBlockA offset 564
    LayoutWindowRecord singleWindowRecord{};   // FillSingleWindowRecord of the current options
};

struct LayoutLoadOutcome {
    // -1, or with the multiple-windows option off the view kind of the single window.
    int answer = -1;
    // The file was of an older sub-version and must be written again at once.
    bool rewrite = false;
};

// Applies a file image (nothing when no file was found) to the layouts: every layout for -1,
// else only the given one.
LayoutLoadOutcome ApplyLayoutFile(const std::optional<std::vector<uint8_t>>& image, int layout,
                                  const LayoutLoadContext& context, WindowLayoutSet& set);

// The file image: every layout from memory for -1; otherwise the given layout from memory and
// every other one copied byte for byte from the old image where it holds it.
std::vector<uint8_t> BuildLayoutFile(const WindowLayoutSet& set, int layout,
                                     const std::optional<std::vector<uint8_t>>& oldImage);

} // namespace qv
