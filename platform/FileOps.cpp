// POSIX implementations of the file semantics the program relies on.
#include "platform/FileOps.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace qv {

bool RenameNoReplace(const fs::path& from, const fs::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without the no-replace flag: a hard link fails when the target exists.
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

bool RenameReplace(const fs::path& from, const fs::path& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool ForceDelete(const fs::path& path)
{
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec)))
        return true;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove(path, ec);
    return !fs::exists(fs::symlink_status(path, ec));
}

bool WildcardMatchNoCase(std::string_view pattern, std::string_view name)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> FindFiles(const fs::path& folder, std::string_view pattern)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (WildcardMatchNoCase(pattern, name))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<uint64_t> FreeDiskSpace(const fs::path& path)
{
    struct statvfs info {};
    fs::path probe = path;
    std::error_code ec;
    while (!probe.empty() && !fs::exists(probe, ec) && probe != probe.parent_path())
        probe = probe.parent_path();
    if (probe.empty())
        probe = ".";
    if (::statvfs(probe.c_str(), &info) != 0)
        return std::nullopt;
    return uint64_t(info.f_bavail) * uint64_t(info.f_frsize);
}

bool SyncFolder(const fs::path& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const fs::path& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool failed = std::ferror(f);
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const fs::path& path, std::span<const uint8_t> bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

ExclusiveFile::~ExclusiveFile() { close(); }

ExclusiveFile::ExclusiveFile(ExclusiveFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

ExclusiveFile& ExclusiveFile::operator=(ExclusiveFile&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool ExclusiveFile::open(const fs::path& path, Mode mode)
{
    close();
    int flags = mode == Mode::Read ? O_RDONLY : mode == Mode::ReadWrite ? O_RDWR : O_RDWR | O_CREAT | O_TRUNC;
    // Create truncates only after the lock is held, so that a held file is never emptied.
    int fd = ::open(path.c_str(), (flags & ~O_TRUNC) | O_CLOEXEC, mode == Mode::CreatePrivate ? 0600 : 0644);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    if ((flags & O_TRUNC) && ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool ExclusiveFile::close()
{
    bool ok = fd_ < 0 || ::close(fd_) == 0;
    fd_ = -1;
    return ok;
}

std::optional<uint64_t> ExclusiveFile::size() const
{
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return std::nullopt;
    return uint64_t(st.st_size);
}

namespace {

// Reads until n bytes are in or the file ends; the count read, or -1 on error.
template <typename ReadSome>
long long ReadFully(void* out, size_t n, ReadSome readSome)
{
    size_t total = 0;
    while (total < n) {
        ssize_t got = readSome(static_cast<char*>(out) + total, n - total, total);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += size_t(got);
    }
    return (long long)total;
}

} // namespace

long long ExclusiveFile::read(void* out, size_t n)
{
    if (fd_ < 0)
        return -1;
    return ReadFully(out, n, [this](char* to, size_t count, size_t) { return ::read(fd_, to, count); });
}

long long ExclusiveFile::readAt(uint64_t offset, void* out, size_t n) const
{
    if (fd_ < 0)
        return -1;
    return ReadFully(out, n, [this, offset](char* to, size_t count, size_t done) {
        return ::pread(fd_, to, count, off_t(offset + done));
    });
}

bool ExclusiveFile::readAll(std::vector<uint8_t>& out)
{
    auto total = size();
    if (!total || !seek(0))
        return false;
    out.resize(*total);
    return read(out.data(), out.size()) == (long long)out.size();
}

bool ExclusiveFile::write(const void* data, size_t n)
{
    size_t done = 0;
    while (done < n) {
        ssize_t put = ::write(fd_, static_cast<const char*>(data) + done, n - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += size_t(put);
    }
    return true;
}

bool ExclusiveFile::sync() { return fd_ >= 0 && ::fsync(fd_) == 0; }

bool ExclusiveFile::resize(uint64_t size) { return fd_ >= 0 && ::ftruncate(fd_, off_t(size)) == 0; }

bool ExclusiveFile::seek(uint64_t offset)
{
    return fd_ >= 0 && ::lseek(fd_, off_t(offset), SEEK_SET) == off_t(offset);
}

} // namespace qv
