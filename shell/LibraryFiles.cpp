// Reading the table library's folder for its button.
#include "shell/LibraryFiles.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace qv {
namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return text;
}

bool ReadLibraryFile(const std::filesystem::path& path, LibraryEntry& entry)
{
    std::ifstream in(path, std::ios::binary);
    std::string lines[3];
    for (std::string& line : lines) {
        if (!std::getline(in, line) || line.empty() || line.front() != '!')
            return false;
    }
    entry.file = true;
    entry.text = path.filename().string();
    entry.title = LibraryLineText(lines[1]);
    entry.description = LibraryLineText(lines[2]);
    return true;
}

} // namespace

std::string LibraryLineText(const std::string& line)
{
    if (line.empty())
        return {};
    const char* blanks = " \t\r\n";
    std::string text = line.substr(1);
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::vector<LibraryEntry> BuildLibraryEntries(const std::filesystem::path& folder, const std::string& extension)
{
    std::vector<LibraryEntry> entries;
    entries.push_back({false, "Open library folder...", {}, {}, kOpenFolderIcon, 16});
    entries.push_back({false, "Add current table to library", {}, {}, kAddTableIcon, 16});

    std::error_code error;
    std::vector<std::filesystem::path> files;
    std::string wanted = Lower(extension);
    wanted.insert(wanted.begin(), '.');
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file(error) && Lower(it->path().extension().string()) == wanted)
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& path : files) {
        if (entries.size() >= kLibraryFilesKept + 2)
            break;
        LibraryEntry entry;
        if (ReadLibraryFile(path, entry))
            entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace qv
