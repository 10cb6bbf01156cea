// qvtool demo-portfolios FOLDER: writes the demo's portfolios and cash accounts into FOLDER.
#include "devtools/lib/DemoPortfolios.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>

namespace qv::tool {
namespace {

int Run(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qvtool demo-portfolios FOLDER\n");
        return 2;
    }
    std::string error;
    if (!dev::WriteDemoPortfolios(args[0], &error)) {
        std::fprintf(stderr, "qvtool: demo portfolios not written: %s\n", error.c_str());
        return 1;
    }
    std::printf("demo portfolios written to %s\n", args[0].c_str());
    return 0;
}

const Verb kVerb("demo-portfolios", "demo-portfolios FOLDER",
                 "writes the demo's portfolios and cash accounts into a folder with a database", Run);

} // namespace
} // namespace qv::tool
