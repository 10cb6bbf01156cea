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

// The context as the configuration in memory gives it; the display byte is the list code's.
LayoutLoadContext LayoutContextFromConfig(uint8_t displayFlags);

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

// Reads "View.cfg" (or, without it, "Views.cfg") into the layouts: all of them for -1, else only
// the given (current) one; a file older than the current sub-version is written again at once.
// Answers -1, or with the multiple-windows option off the single window's view kind.
int LoadViews(int layout, const LayoutLoadContext& context);

// Called before every save so that view groups no window uses are freed first.
void SetBeforeLayoutSaveHook(std::function<void()> hook);
// Writes every layout from memory for -1; otherwise the given one, copying the others from the
// file on disk. False when the save was given up for lack of space or failed.
bool SaveViews(int layout);

} // namespace qv
