// qvtool store FILE: the item keys of a keyed item store ("Graph.cfg", "EditPrice.cfg", "RTMarket.cfg").
#include "devtools/lib/SettingsFileText.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/FileOps.h"

#include <cstdio>

namespace qv::tool {
namespace {

int RunStore(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qvtool store FILE\n");
        return 2;
    }
    auto bytes = ReadFileBytes(args[0]);
    if (!bytes) {
        std::fprintf(stderr, "qvtool: cannot read %s\n", args[0].c_str());
        return 1;
    }
    std::fputs(dev::DescribeKeyedStoreImage(*bytes).c_str(), stdout);
    return 0;
}

const Verb kStore("store", "store FILE", "item keys of Graph.cfg, EditPrice.cfg or RTMarket.cfg", RunStore);

} // namespace
} // namespace qv::tool
