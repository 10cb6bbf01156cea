// The table-library button's list: the library files of a folder (each opens with three lines that
// begin with "!": a first line, the title and the description) behind the two fixed entries.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qv {

constexpr uint32_t kCommandAddToLibrary = 27221;
constexpr uint32_t kCommandOpenLibraryFolder = 27222;
constexpr uint32_t kCommandFirstLibraryFile = 27223;
constexpr size_t kLibraryFilesKept = 16;
constexpr int kOpenFolderIcon = 832;
constexpr int kAddTableIcon = 833;
constexpr const char* kNoLibraryFolderQuestion =
    "You do not currently have a library folder.\n\nWould you like to create one now?";

struct LibraryEntry {
    bool file = false;
    std::string text; // the file name, or the fixed entry's text
    std::string title;
    std::string description;
    int icon = 0;
    int iconSize = 0;
};

// The two fixed entries, then up to sixteen library files of folder/*.extension (the extension
// compared without regard to case, files taken in name order); files that cannot be read or do not
// open with three "!" lines are skipped.
std::vector<LibraryEntry> BuildLibraryEntries(const std::filesystem::path& folder, const std::string& extension);

// The title or description from a "!" line: without its first character, trimmed.
std::string LibraryLineText(const std::string& line);

} // namespace qv
