// Printing a report page: the HTML file the report dialogs write is handed to the printer the
// windows install, and the temporary files those pages live in.
#pragma once

#include <filesystem>
#include <functional>

namespace qv {

// Prints an HTML file (Windows-1252 text); the Qt side lays it out and sends it to the printer.
using HtmlFilePrinter = std::function<void(const std::filesystem::path& file)>;
// Returns the previous printer; none prints nothing.
HtmlFilePrinter SetHtmlFilePrinter(HtmlFilePrinter printer);
void PrintHtmlFile(const std::filesystem::path& file);

// A new, empty file in the temporary folder named "QVP" + a unique part + ".html", made so that no
// other file is replaced; an empty path when none could be made.
std::filesystem::path MakeReportTempFile();

} // namespace qv
