// qvtool holdings FOLDER [PORTFOLIO]: a portfolio's 'Latest' rows and summary after a holdings pass.
#include "devtools/lib/PortfolioText.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>

namespace qv::tool {
namespace {

int Run(const std::vector<std::string>& args)
{
    if (args.empty() || args.size() > 2) {
        std::fprintf(stderr, "usage: qvtool holdings FOLDER [PORTFOLIO]\n");
        return 2;
    }
    auto text = dev::DescribeHoldings(args[0], args.size() == 2 ? args[1] : std::string());
    if (!text) {
        std::fprintf(stderr, "qvtool: no such portfolio in %s\n", args[0].c_str());
        return 1;
    }
    std::fputs(text->c_str(), stdout);
    return 0;
}

const Verb kVerb("holdings", "holdings FOLDER [PORTFOLIO]",
                 "a portfolio's 'Latest' rows and summary (the first user portfolio by default)", Run);

} // namespace
} // namespace qv::tool
