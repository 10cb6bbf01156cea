// Single-instance lock: an advisory lock on a file in the user's own runtime folder.
#include "platform/SingleInstance.h"

#include "platform/RuntimeFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace qv {

SingleInstanceLock::~SingleInstanceLock() { release(); }

SingleInstanceLock::Claim SingleInstanceLock::claim(const std::string& name)
{
    release();
    std::string safe;
    for (char c : name)
        safe += (c == '/' || c == '\\') ? '_' : c;
    std::optional<std::filesystem::path> folder = PrivateRuntimeFolder();
    if (!folder)
        return Claim::Failed;
    auto path = *folder / (safe + "-" + std::to_string(::getuid()) + ".lock");
    // A link in the runtime folder is never followed.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Claim::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Claim::Held : Claim::Failed;
    }
    fd_ = fd;
    return Claim::Claimed;
}

void SingleInstanceLock::release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace qv
