// Content archives through libzip: the members' stated sizes checked first, each member checked to
// land inside the content folder, streamed to a temporary name and put in place, and a failed
// archive kept aside for a look.
#include "infocentre/ContentArchives.h"

#include "infocentre/InCDescriptor.h"
#include "platform/FileOps.h"

#include <zip.h>

#include <algorithm>
#include <memory>
#include <system_error>

namespace qv {
namespace {

struct ArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct MemberCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

// Copies the member to the file block by block, never more than the size it states.
bool CopyMember(zip_file_t* member, uint64_t stated, const std::filesystem::path& file)
{
    ExclusiveFile out;
    if (!out.open(file, ExclusiveFile::Mode::Create))
        return false;
    uint8_t block[16384];
    uint64_t copied = 0;
    for (zip_int64_t n; (n = zip_fread(member, block, sizeof block)) != 0;) {
        copied += uint64_t(n);
        if (n < 0 || copied > stated || !out.write(block, size_t(n)))
            return false;
    }
    return out.close();
}

bool UnpackMember(zip_t* archive, zip_uint64_t index, const std::filesystem::path& content)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE))
        return false;
    std::string name = stat.name;
    auto target = ArchiveMemberPath(content, name);
    if (!target)
        return false;
    std::error_code ec;
    if (name.back() == '/')
        return std::filesystem::create_directories(*target, ec) || std::filesystem::is_directory(*target, ec);
    std::filesystem::create_directories(target->parent_path(), ec);
    std::unique_ptr<zip_file_t, MemberCloser> member(zip_fopen_index(archive, index, 0));
    if (!member)
        return false;
    std::filesystem::path temporary = *target;
    temporary += ".unz";
    if (CopyMember(member.get(), stat.size, temporary) && RenameReplace(temporary, *target))
        return true;
    ForceDelete(temporary);
    return false;
}

// Whether every member states sizes within the bounds, before anything is unpacked.
bool WithinBounds(zip_t* archive, zip_int64_t count)
{
    uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
            !(stat.valid & ZIP_STAT_COMP_SIZE))
            return false;
        total += stat.size;
        const bool packedTooTight = stat.size > kArchiveRatioFrom && stat.size / std::max<uint64_t>(stat.comp_size, 1) > kLargestArchiveRatio;
        if (stat.size > kLargestArchiveMember || total > kLargestArchiveTotal || packedTooTight)
            return false;
    }
    return true;
}

} // namespace

std::optional<std::filesystem::path> ArchiveMemberPath(const std::filesystem::path& content, const std::string& name)
{
    std::string file = name;
    bool folder = !file.empty() && (file.back() == '/' || file.back() == '\\');
    if (folder)
        file.pop_back();
    return ContentFilePath(content, file);
}

bool UnpackArchive(const std::filesystem::path& archive, const std::filesystem::path& content)
{
    int error = 0;
    std::unique_ptr<zip_t, ArchiveCloser> zip(zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!zip)
        return false;
    zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    bool whole = count >= 0 && WithinBounds(zip.get(), count);
    for (zip_int64_t i = 0; whole && i < count; ++i)
        whole = UnpackMember(zip.get(), zip_uint64_t(i), content);
    return whole;
}

int UnpackContentArchives(const std::filesystem::path& dataFolder)
{
    std::filesystem::path content = dataFolder / "Content";
    std::error_code ec;
    std::filesystem::create_directories(content, ec);
    if (!std::filesystem::is_directory(content, ec))
        return kUnpackFailed;
    int result = kUnpackAll;
    for (const std::string& name : FindFiles(dataFolder, "*.zip")) {
        std::filesystem::path archive = dataFolder / name;
        if (UnpackArchive(archive, content)) {
            ForceDelete(archive);
            continue;
        }
        result = kUnpackFailed;
        std::filesystem::path bad = archive;
        bad.replace_extension(".bad");
        RenameReplace(archive, bad);
    }
    return result;
}

} // namespace qv
