// qvtool store FILE: the item keys of a keyed item store ("Graph.cfg", "EditPrice.cfg", "RTMarket.cfg").
#include "devtools/lib/SettingsFileText.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>

namespace qv::tool {
namespace {

int RunStore(const std::vector<std::string>& args)
{
    int exitCode = 0;
    auto bytes = ReadFileArgument(args, "store FILE", exitCode);
    if (!bytes)
        return exitCode;
    std::fputs(dev::DescribeKeyedStoreImage(*bytes).c_str(), stdout);
    return 0;
}

const Verb kStore("store", "store FILE", "item keys of Graph.cfg, EditPrice.cfg or RTMarket.cfg", RunStore);

} // namespace
} // namespace qv::tool
