// The user's own runtime folder, made and checked with the system's calls (no link followed).
#include "platform/RuntimeFolder.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

bool MakePrivateRuntimeFolder(const std::filesystem::path& folder)
{
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    // A folder of this user left open (an older version, a umask) is closed again.
    return (st.st_mode & 077) == 0 || ::chmod(folder.c_str(), 0700) == 0;
}

std::optional<std::filesystem::path> PrivateRuntimeFolder()
{
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && run[0] == '/')
        return std::filesystem::path(run);
    const std::string own = "quorvantis-" + std::to_string(::geteuid());
    const char* temp = std::getenv("TMPDIR");
    const std::filesystem::path shared = temp && temp[0] == '/' ? temp : "/tmp";
    if (MakePrivateRuntimeFolder(shared / own))
        return shared / own;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/')
        return std::nullopt;
    const std::filesystem::path cache = std::filesystem::path(home) / ".cache";
    ::mkdir(cache.c_str(), 0700);
    if (MakePrivateRuntimeFolder(cache / own))
        return cache / own;
    return std::nullopt;
}

} // namespace qv
