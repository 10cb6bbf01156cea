// Single-instance lock: an advisory lock on a file in the user's runtime folder.
#include "platform/SingleInstance.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace qv {
namespace {
std::filesystem::path LockFolder()
{
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run)
        return run;
    return std::filesystem::temp_directory_path();
}
} // namespace

SingleInstanceLock::~SingleInstanceLock() { release(); }

bool SingleInstanceLock::acquire(const std::string& name)
{
    release();
    std::string safe;
    for (char c : name)
        safe += (c == '/' || c == '\\') ? '_' : c;
    auto path = LockFolder() / (safe + "-" + std::to_string(::getuid()) + ".lock");
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void SingleInstanceLock::release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace qv
