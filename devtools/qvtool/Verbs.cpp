// The argument handling that several qvtool verbs share.
#include "devtools/qvtool/Verbs.h"

#include "platform/FileOps.h"

#include <cstdio>

namespace qv::tool {

std::optional<std::vector<uint8_t>> ReadFileArgument(const std::vector<std::string>& args, const char* usage,
                                                     int& exitCode)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qvtool %s\n", usage);
        exitCode = 2;
        return std::nullopt;
    }
    auto bytes = ReadFileBytes(args[0]);
    if (!bytes) {
        std::fprintf(stderr, "qvtool: cannot read %s\n", args[0].c_str());
        exitCode = 1;
    }
    return bytes;
}

} // namespace qv::tool
