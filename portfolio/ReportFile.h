// The temporary HTML file a report dialog prints through: one at a time, deleted when the next is
// made and when the dialog lets it go.
#pragma once

#include "portfolio/ReportHtml.h"

#include <filesystem>

namespace qv {

class ReportFile {
public:
    ReportFile() = default;
    ~ReportFile() { Delete(); }
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    // Deletes the last file, writes the page into a new one and prints it. "Unable to create file"
    // and false when the file cannot be made or written; nothing is printed then.
    bool Print(const HtmlReport& report, const std::string& face);
    void Delete();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace qv
