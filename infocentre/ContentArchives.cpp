// Content archives through libzip: each member checked to land inside the content folder, written
// whole to a temporary name and put in place, and a failed archive kept aside for a look.
#include "infocentre/ContentArchives.h"

#include "infocentre/InCDescriptor.h"
#include "platform/FileOps.h"

#include <zip.h>

#include <memory>
#include <system_error>
#include <vector>

namespace qv {
namespace {

struct ArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct MemberCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

bool UnpackMember(zip_t* archive, zip_uint64_t index, const std::filesystem::path& content)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
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
    std::vector<uint8_t> bytes;
    uint8_t block[16384];
    for (zip_int64_t n; (n = zip_fread(member.get(), block, sizeof block)) != 0;) {
        if (n < 0)
            return false;
        bytes.insert(bytes.end(), block, block + n);
    }
    std::filesystem::path temporary = *target;
    temporary += ".unz";
    if (WriteFileBytes(temporary, bytes) && RenameReplace(temporary, *target))
        return true;
    ForceDelete(temporary);
    return false;
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
    bool whole = count >= 0;
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
