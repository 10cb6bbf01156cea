// What the list views ask outside themselves: the column dialogs (a seam set by tests answers in
// place of the dialog) and opening a link with the desktop's handler (tests record it).
#pragma once

#include "lists/ListColumnCommands.h"
#include "lists/ResultsSheetRules.h"

#include <functional>
#include <optional>
#include <span>
#include <string>

class QWidget;

namespace qv {

struct ListColumnDialogs {
    // The column-name dialog: the heading shown and the column's own title; the new title or Cancel.
    std::function<std::optional<std::string>(const std::string& heading, const std::string& ownTitle)> rename;
    // The text entry dialog for a number (title, prompt, hint, initial value).
    std::function<std::optional<int>(const std::string& title, const std::string& prompt, const std::string& hint, int initial)> number;
    // The date dialogs of an add or change command: the two date parameters ((mode << 16) | value),
    // or Cancel. Also asked, and answered Cancel, by the intraday dialog.
    std::function<std::optional<std::pair<int32_t, int32_t>>(int command)> parameters;
    // The results dialog or sheet: item group, item and year byte.
    std::function<std::optional<ResultsChoice>(int command)> results;
    // The high/low dialog.
    std::function<std::optional<HighLowChoice>()> highLow;
    // The intraday column dialogs (installed by the intraday views): run for the view, handing each
    // column made to `insert`.
    std::function<void(QWidget* parent, const std::function<bool(std::span<const uint8_t>)>& insert)> intraday;
    // The note editor: the column's heading, the share's name and the note; the new note ("" when
    // deleted) or Cancel.
    std::function<std::optional<std::string>(const std::string& heading, const std::string& share, const std::string& text)> note;
};
ListColumnDialogs& ColumnDialogs();

// "Change name of column" on the heading shown, offering the column's default name; the new title.
std::optional<std::string> AskColumnName(QWidget* parent, const std::string& heading, const std::string& ownTitle,
                                         const std::string& defaultName);
// The number entry dialog; `limited` keeps the value within 10..1000.
std::optional<int> AskColumnNumber(QWidget* parent, const std::string& title, const std::string& prompt,
                                   const std::string& hint, int initial, bool limited);
// The results sheet for adding (def null; "Add Now" hands each column to `addNow`, which returns the
// table's new column count) or for changing the results column `def`.
std::optional<ResultsChoice> AskResultsColumn(QWidget* parent, int command, const uint8_t* def, int columnCount,
                                              std::function<int(const ResultsChoice&)> addNow);
// The date dialogs of a price or volume column: "Select date of price" for field codes 30 and 31,
// "Price change between two dates" for 56 and 57, "Select date of volume" for 87 and "Select length
// of volume average" for 88 (its days as trading days), filled from the parameters given
// ((mode << 16) | value, 0 for a new column); other codes answer Cancel.
std::optional<std::pair<int32_t, int32_t>> AskDateParameters(QWidget* parent, int command, int fieldCode,
                                                             std::pair<int32_t, int32_t> current);
// "Add Price High/Low Column": for a new column (fieldCode 0) or an existing one (its field code,
// sub-kind and own period); the program-wide periods are read from and kept in the option block.
std::optional<HighLowChoice> AskHighLowColumn(QWidget* parent, int fieldCode, int subKind, int32_t periodKind,
                                             int32_t periodValue);

// "Edit a note" titled for the column's heading and the share; the new note ("" deleted) or Cancel.
std::optional<std::string> AskNote(QWidget* parent, const std::string& heading, const std::string& share,
                                   const std::string& text);

// Opens a link through the frame's external opener (OpenExternal); a failure is ignored.
using ShellOpenFunction = std::function<void(const std::string& link)>;
// Replaces the opener (tests); an empty function restores the desktop's.
void SetShellOpen(ShellOpenFunction open);
void ShellOpen(const std::string& link);

} // namespace qv
