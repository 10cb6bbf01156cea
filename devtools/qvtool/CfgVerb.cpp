// qvtool cfg FILE: the sections and items of a "Quorva.cfg".
#include "devtools/lib/SettingsFileText.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>

namespace qv::tool {
namespace {

int RunCfg(const std::vector<std::string>& args)
{
    int exitCode = 0;
    auto bytes = ReadFileArgument(args, "cfg FILE", exitCode);
    if (!bytes)
        return exitCode;
    std::fputs(dev::DescribeConfigImage(*bytes).c_str(), stdout);
    return 0;
}

const Verb kCfg("cfg", "cfg FILE", "sections and items of a Quorva.cfg", RunCfg);

} // namespace
} // namespace qv::tool
