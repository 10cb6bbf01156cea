// The Qt side of report printing: an HTML report file laid out by QTextDocument and printed through
// QPrinter.
#pragma once

#include <filesystem>

class QTextDocument;

namespace qv {

// Installs the printer behind PrintHtmlFile: the default printer, a print dialog when there is none,
// and a PDF beside the file (same name, ".pdf") on the offscreen platform.
void InstallQtReportPrinter();
// Loads the page into a document (the file's text is Windows-1252); false when it cannot be read.
bool LoadHtmlReport(const std::filesystem::path& file, QTextDocument& document);
// Prints the file to a PDF; false when it cannot be read or written.
bool PrintHtmlReportToPdf(const std::filesystem::path& file, const std::filesystem::path& pdf);

} // namespace qv
