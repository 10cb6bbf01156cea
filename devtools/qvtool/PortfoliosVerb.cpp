// qvtool portfolios FOLDER: the portfolios, their transactions and the cash accounts of a program folder.
#include "devtools/lib/PortfolioText.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>
#include <filesystem>

namespace qv::tool {
namespace {

int RunPortfolios(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qvtool portfolios FOLDER\n");
        return 2;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(args[0], ec)) {
        std::fprintf(stderr, "qvtool: %s is not a folder\n", args[0].c_str());
        return 1;
    }
    std::fputs(dev::DescribePortfolioFolder(args[0]).c_str(), stdout);
    return 0;
}

const Verb kPortfolios("portfolios", "portfolios FOLDER", "portfolios, transactions and cash accounts of a program folder",
                       RunPortfolios);

} // namespace
} // namespace qv::tool
