// qvtool cgt FOLDER PORTFOLIO [--share EPIC] [--year YYYY] [--summary YYYY]: a portfolio's capital gains
// report or a tax year's summary, with the tax years run to the folder's latest price day.
#include "devtools/lib/CgtText.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>
#include <cstdlib>

namespace qv::tool {
namespace {

constexpr const char* kUsage = "usage: qvtool cgt FOLDER PORTFOLIO [--share EPIC] [--year YYYY] [--summary YYYY]\n";

int Run(const std::vector<std::string>& args)
{
    if (args.size() < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    dev::CgtTextRequest request;
    request.portfolio = args[1];
    for (size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        if (args[i] == "--share") {
            request.epic = args[i + 1];
        } else if (args[i] == "--year") {
            int year = std::atoi(args[i + 1].c_str());
            if (year < 1990 || year > 2027) {
                std::fprintf(stderr, "qvtool: the tax year runs from 1990 to 2027\n");
                return 2;
            }
            request.taxYear = year - 1990;
        } else if (args[i] == "--summary") {
            int year = std::atoi(args[i + 1].c_str());
            if (year < 1990 || year > 2027) {
                std::fprintf(stderr, "qvtool: the summary's tax year runs from 1990 to 2027\n");
                return 2;
            }
            request.summaryYear = year - 1990;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    std::string error;
    auto text = dev::DescribeCapitalGains(args[0], request, error);
    if (!text) {
        std::fprintf(stderr, "qvtool: %s\n", error.c_str());
        return 1;
    }
    std::fputs(text->c_str(), stdout);
    return 0;
}

const Verb kVerb("cgt", "cgt FOLDER PORTFOLIO [--share EPIC] [--year YYYY] [--summary YYYY]",
                 "a portfolio's capital gains report: one share's history, the portfolio's, a tax year's, or the "
                 "tax year's summary",
                 Run);

} // namespace
} // namespace qv::tool
