// The demo folder's "Import" folder: price files for File > Import to start in, one a daily CSV file
// as data sites give it (a heading row, newest day first) and one in the program's own ".exp" layout.
#pragma once

#include <chrono>
#include <filesystem>

namespace qv::dev {

// Writes the files, their last day `lastDay`; false when the folder cannot be written.
bool WriteDemoImportFiles(const std::filesystem::path& folder, std::chrono::sys_days lastDay);

} // namespace qv::dev
