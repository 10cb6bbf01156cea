// Fuzzes the check on archive member names: an accepted name always lands inside the content folder.
#include "infocentre/ContentArchives.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string name(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path content = "/program/Data/Content";
    auto path = qv::ArchiveMemberPath(content, name);
    if (!path)
        return 0;
    std::filesystem::path relative = path->lexically_relative(content);
    if (relative.empty() || relative.begin()->string() == ".." || relative.is_absolute())
        std::abort();
    return 0;
}
