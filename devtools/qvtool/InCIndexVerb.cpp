// qvtool incindex FILE: the entries, withdrawn numbers and categories of an InfoCentre "index.dat".
#include "devtools/lib/InCIndexText.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>

namespace qv::tool {
namespace {

int RunInCIndex(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qvtool incindex FILE\n");
        return 2;
    }
    std::string text = dev::DescribeInCIndex(args[0]);
    std::fputs(text.c_str(), stdout);
    return text.rfind("cannot read", 0) == 0 ? 1 : 0;
}

const Verb kInCIndex("incindex", "incindex FILE", "entries and categories of an InfoCentre index.dat", RunInCIndex);

} // namespace
} // namespace qv::tool
