// qvtool run-filter FOLDER NAME: the shares that pass a filter of the folder's "Filter.cfg", each with
// every criterion's value.
#include "devtools/lib/DemoFilters.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>

namespace qv::tool {
namespace {

int Run(const std::vector<std::string>& args)
{
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qvtool run-filter FOLDER NAME\n");
        return 2;
    }
    std::optional<std::string> text = dev::DescribeFilterRun(args[0], args[1]);
    if (!text) {
        std::fprintf(stderr, "qvtool: no filter \"%s\" in %s\n", args[1].c_str(), args[0].c_str());
        return 1;
    }
    std::fputs(text->c_str(), stdout);
    return 0;
}

const Verb kVerb("run-filter", "run-filter FOLDER NAME",
                 "the shares that pass a filter, with every criterion's value", Run);

} // namespace
} // namespace qv::tool
