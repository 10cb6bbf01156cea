// qvtool cfg FILE: the sections and items of a "Quorva.cfg".
#include "devtools/lib/SettingsFileText.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/FileOps.h"

#include <cstdio>

namespace qv::tool {
namespace {

int RunCfg(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qvtool cfg FILE\n");
        return 2;
    }
    auto bytes = ReadFileBytes(args[0]);
    if (!bytes) {
        std::fprintf(stderr, "qvtool: cannot read %s\n", args[0].c_str());
        return 1;
    }
    std::fputs(dev::DescribeConfigImage(*bytes).c_str(), stdout);
    return 0;
}

const Verb kCfg("cfg", "cfg FILE", "sections and items of a Quorva.cfg", RunCfg);

} // namespace
} // namespace qv::tool
