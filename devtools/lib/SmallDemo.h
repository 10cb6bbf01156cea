// A small demo data folder for the tests that start the real program: a database of a few shares
// (no price histories) and the tips file.
#pragma once

#include <filesystem>

namespace qv::dev {

// Writes FOLDER/data/Quorva.dat and copies the tips file from the source tree when it is given;
// false on a write failure.
bool WriteSmallDemoFolder(const std::filesystem::path& folder, const std::filesystem::path& tipsFile = {});

} // namespace qv::dev
