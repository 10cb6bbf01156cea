// The temporary HTML file of a report dialog.
#include "portfolio/ReportFile.h"

#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/ReportPrint.h"

namespace qv {

bool ReportFile::Print(const HtmlReport& report, const std::string& face)
{
    Delete();
    path_ = MakeReportTempFile();
    const std::string page = WriteHtmlReport(report, face, false);
    if (path_.empty() ||
        !WriteFileBytes(path_, std::span(reinterpret_cast<const uint8_t*>(page.data()), page.size()))) {
        Delete();
        ShowMessage("Unable to create file", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    PrintHtmlFile(path_);
    return true;
}

void ReportFile::Delete()
{
    if (path_.empty())
        return;
    ForceDelete(path_);
    // Offscreen runs print to a PDF beside the page.
    std::filesystem::path pdf = path_;
    if (std::filesystem::exists(pdf.replace_extension(".pdf")))
        ForceDelete(pdf);
    path_.clear();
}

} // namespace qv
