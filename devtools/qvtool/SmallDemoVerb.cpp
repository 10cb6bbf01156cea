// qvtool small-demo FOLDER [TIPS]: a small demo data folder (a few shares, no price histories) for
// the tests that start the real program.
#include "devtools/lib/SmallDemo.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>

namespace qv::tool {
namespace {

int Run(const std::vector<std::string>& args)
{
    if (args.empty() || args.size() > 2) {
        std::fprintf(stderr, "usage: qvtool small-demo FOLDER [TIPS]\n");
        return 2;
    }
    if (!dev::WriteSmallDemoFolder(args[0], args.size() > 1 ? args[1] : std::string())) {
        std::fprintf(stderr, "qvtool: cannot write %s\n", args[0].c_str());
        return 1;
    }
    return 0;
}

const Verb kVerb("small-demo", "small-demo FOLDER [TIPS]", "write a small demo data folder", Run);

} // namespace
} // namespace qv::tool
