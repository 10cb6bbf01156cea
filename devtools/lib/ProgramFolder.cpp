// The demo program folder: the demo market and the tips.
#include "devtools/lib/ProgramFolder.h"

#include "devtools/lib/PriceDatabase.h"

#include <string>
#include <system_error>

namespace qv::dev {

bool WriteProgramFolder(const std::filesystem::path& folder, const std::filesystem::path& tipsFile)
{
    std::error_code ec;
    std::filesystem::create_directories(folder / "data", ec);
    std::string error;
    if (ec || !WriteDemoFolder(folder, kProgramFolderLastDay, &error))
        return false;
    if (tipsFile.empty())
        return true;
    std::filesystem::copy_file(tipsFile, folder / tipsFile.filename(),
                               std::filesystem::copy_options::overwrite_existing, ec);
    return !ec;
}

} // namespace qv::dev
