// The report printer seam and the report files' temporary names.
#include "platform/ReportPrint.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <unistd.h>

namespace qv {
namespace {

HtmlFilePrinter& Printer()
{
    static HtmlFilePrinter printer;
    return printer;
}

} // namespace

HtmlFilePrinter SetHtmlFilePrinter(HtmlFilePrinter printer)
{
    HtmlFilePrinter previous = std::move(Printer());
    Printer() = std::move(printer);
    return previous;
}

void PrintHtmlFile(const std::filesystem::path& file)
{
    if (Printer())
        Printer()(file);
}

std::filesystem::path MakeReportTempFile()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        return {};
    std::string pattern = (folder / "QVPXXXXXX.html").string();
    const int fd = mkstemps(pattern.data(), 5);
    if (fd < 0)
        return {};
    close(fd);
    return pattern;
}

} // namespace qv
