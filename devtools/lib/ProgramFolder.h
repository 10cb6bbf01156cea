// A program folder for runs of the real program: the demo database and, when given, the tips file.
#pragma once

#include <chrono>
#include <filesystem>

namespace qv::dev {

// A fixed last day, so every run of a test or benchmark starts on the same demo market.
inline constexpr std::chrono::sys_days kProgramFolderLastDay{std::chrono::year{2026} / std::chrono::December / 4};

// Writes the demo database into FOLDER/data and copies the tips file there; false on a failure.
bool WriteProgramFolder(const std::filesystem::path& folder, const std::filesystem::path& tipsFile = {});

} // namespace qv::dev
