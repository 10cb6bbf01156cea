// What the list views ask outside themselves: the column dialogs (until they exist every one answers
// Cancel; tests script them) and opening a link with the desktop's handler (tests record it).
#pragma once

#include "lists/ListColumnCommands.h"

#include <functional>
#include <optional>
#include <string>

namespace qv {

struct ResultsChoice {
    int itemGroup = 0;
    int item = 0;
    int8_t year = 0;
};

struct ListColumnDialogs {
    // The column-name dialog: the heading shown and the column's own title; the new title or Cancel.
    std::function<std::optional<std::string>(const std::string& heading, const std::string& ownTitle)> rename;
    // The text entry dialog for a number (title, prompt, hint, initial value).
    std::function<std::optional<int>(const std::string& title, const std::string& prompt, const std::string& hint, int initial)> number;
    // The date dialogs of an add or change command: the two date parameters ((mode << 16) | value),
    // or Cancel. Also asked, and answered Cancel, by the note and intraday dialogs.
    std::function<std::optional<std::pair<int32_t, int32_t>>(int command)> parameters;
    // The results dialog or sheet: item group, item and year byte.
    std::function<std::optional<ResultsChoice>(int command)> results;
    // The high/low dialog.
    std::function<std::optional<HighLowChoice>()> highLow;
};
ListColumnDialogs& ColumnDialogs();

// Opens a link with the shell's "open" verb; a failure is ignored.
using ShellOpenFunction = std::function<void(const std::string& link)>;
// Replaces the opener (tests); an empty function restores the desktop's.
void SetShellOpen(ShellOpenFunction open);
void ShellOpen(const std::string& link);

} // namespace qv
