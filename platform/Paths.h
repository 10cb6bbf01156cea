// The program folder and the relative names, written with backslashes, that every file is found by.
#pragma once

#include <filesystem>
#include <string_view>

namespace qv {

namespace fs = std::filesystem;

// The folder every relative name is resolved against; start-up sets it to the current directory.
void SetProgramFolder(const fs::path& folder);
const fs::path& ProgramFolder();

enum class MakeFolders { No, Yes };

// Resolves a relative name such as "data\Quorva.dat" below the program folder. Separators may be
// backslashes or slashes; each component matches an existing entry without regard to case (an exact
// match first), and a component with no match keeps the caller's spelling. With MakeFolders::Yes the
// folders on the way are created.
fs::path AppPath(std::string_view relative, MakeFolders make = MakeFolders::No);

// The same resolution below any folder.
fs::path ResolveNoCase(const fs::path& base, std::string_view relative,
                       MakeFolders make = MakeFolders::No);

// ASCII comparison without regard to case, as the program compares its file names.
bool EqualsNoCase(std::string_view a, std::string_view b);

} // namespace qv
