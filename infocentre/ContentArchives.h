// Unpacking the InfoCentre's content archives: every "Data\*.zip" below the program folder is
// unpacked into "Data\Content\" and then removed. New content normally arrives unpacked, so only the
// developer tools call this.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace qv {

enum ContentUnpackResult : int {
    kUnpackAll = 0,
    kUnpackNoLibrary = 1, // kept for callers that test for it; the library is linked in
    kUnpackFailed = 2,    // at least one archive failed; it is kept under the extension ".bad"
};

// The target of an archive member in the content folder, or nothing when the name is empty, absolute
// or would lead out of the folder. Names ending in '/' are folders.
std::optional<std::filesystem::path> ArchiveMemberPath(const std::filesystem::path& content, const std::string& name);

// An archive is refused whole, before anything is unpacked, when a member would unpack to more
// than 64 MiB, all members to more than 512 MiB, or a member above 1 MiB to more than 200 times
// its packed size (an archive bomb); a member giving more bytes than it states fails too.
inline constexpr uint64_t kLargestArchiveMember = uint64_t(64) << 20;
inline constexpr uint64_t kLargestArchiveTotal = uint64_t(512) << 20;
inline constexpr uint64_t kArchiveRatioFrom = uint64_t(1) << 20;
inline constexpr uint64_t kLargestArchiveRatio = 200;

// Unpacks one archive into the folder, overwriting; false when the archive or a member is bad.
bool UnpackArchive(const std::filesystem::path& archive, const std::filesystem::path& content);

// `dataFolder` is the program's "Data" folder.
int UnpackContentArchives(const std::filesystem::path& dataFolder);

} // namespace qv
