// File operations with the semantics the program relies on: a rename that refuses to replace,
// exclusive opening, forced deletion, case-blind finding and free space.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

namespace fs = std::filesystem;

// Renames, failing (false) when the target exists.
bool RenameNoReplace(const fs::path& from, const fs::path& to);
// Renames, replacing an existing target.
bool RenameReplace(const fs::path& from, const fs::path& to);
// Clears the read-only state if needed and deletes; true when the file is gone afterwards.
bool ForceDelete(const fs::path& path);
// Names in a folder that match a pattern with '*' and '?', without regard to case, sorted.
std::vector<std::string> FindFiles(const fs::path& folder, std::string_view pattern);
bool WildcardMatchNoCase(std::string_view pattern, std::string_view name);
// Bytes free to the user on the volume that holds the path, or nothing when it cannot be read.
std::optional<uint64_t> FreeDiskSpace(const fs::path& path);

// Forces a folder's entries (a rename just made in it) onto the disk.
bool SyncFolder(const fs::path& folder);

std::optional<std::vector<uint8_t>> ReadFileBytes(const fs::path& path);
bool WriteFileBytes(const fs::path& path, std::span<const uint8_t> bytes);

// A file opened for the sole use of this opener: a second exclusive open, from this process or
// another, fails while it is held.
class ExclusiveFile {
public:
    // CreatePrivate: as Create, a new file readable by the user alone (0600), for files that hold
    // secrets.
    enum class Mode { Read, ReadWrite, Create, CreatePrivate };

    ExclusiveFile() = default;
    ~ExclusiveFile();
    ExclusiveFile(ExclusiveFile&& other) noexcept;
    ExclusiveFile& operator=(ExclusiveFile&& other) noexcept;
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;

    bool open(const fs::path& path, Mode mode);
    // False when the system reports a failure closing (a write it could not complete).
    bool close();
    bool isOpen() const { return fd_ >= 0; }

    std::optional<uint64_t> size() const;
    // Reads up to n bytes at the current position; the count read, or -1 on error.
    long long read(void* out, size_t n);
    // The same from the offset, leaving the current position alone; several threads may read at
    // once.
    long long readAt(uint64_t offset, void* out, size_t n) const;
    bool readAll(std::vector<uint8_t>& out);
    bool write(const void* data, size_t n);
    bool seek(uint64_t offset);
    // Cuts or extends the file to the size (a failed append is taken back this way).
    bool resize(uint64_t size);
    // Forces what was written onto the disk (fsync); a save does this before the rename that
    // puts the file in place.
    bool sync();

private:
    int fd_ = -1;
};

} // namespace qv
