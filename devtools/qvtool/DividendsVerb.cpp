// qvtool dividends FOLDER PORTFOLIO YYYY: a portfolio's dividend report for the tax year from 6 April YYYY.
#include "devtools/lib/CgtText.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>
#include <cstdlib>

namespace qv::tool {
namespace {

int Run(const std::vector<std::string>& args)
{
    if (args.size() != 3) {
        std::fputs("usage: qvtool dividends FOLDER PORTFOLIO YYYY\n", stderr);
        return 2;
    }
    const int year = std::atoi(args[2].c_str());
    if (year < 1990 || year > 2027) {
        std::fprintf(stderr, "qvtool: the tax year runs from 1990 to 2027\n");
        return 2;
    }
    std::string error;
    auto text = dev::DescribeDividends(args[0], args[1], year, error);
    if (!text) {
        std::fprintf(stderr, "qvtool: %s\n", error.c_str());
        return 1;
    }
    std::fputs(text->c_str(), stdout);
    return 0;
}

const Verb kVerb("dividends", "dividends FOLDER PORTFOLIO YYYY",
                 "a portfolio's dividend report for the tax year starting in YYYY", Run);

} // namespace
} // namespace qv::tool
