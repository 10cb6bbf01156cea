// Temporary folders made with mkdtemp below the system's temporary directory.
#include "devtools/lib/TempFolder.h"

#include <cstdlib>
#include <stdexcept>

namespace qv::dev {

TempFolder::TempFolder(const std::string& prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

} // namespace qv::dev
