// qvtool filters FILE: the filters and criteria of a "Filter.cfg" or "Filter.old".
#include "core/FilterFile.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>

namespace qv::tool {
namespace {

void PrintFilter(const DMFilter& filter)
{
    std::printf("\"%s\" flags %u source %u portfolio %u axes %u %u %u\n  note \"%s\"\n", filter.name.c_str(),
                filter.flags, filter.sourceKind, filter.portfolioNumber, filter.axes[0], filter.axes[1],
                filter.axes[2], filter.note.c_str());
    for (const DMCriterion& c : filter.criteria)
        std::printf("  kind %u parameter %u mode %u inverted %u range %g .. %g setting 0x%08X second %u dates "
                    "0x%08X 0x%08X\n",
                    c.kind, c.parameter, c.mode, c.inverted, double(c.lower), double(c.upper), c.setting,
                    c.secondSetting, c.firstDate, c.secondDate);
}

int RunFilters(const std::vector<std::string>& args)
{
    int exitCode = 0;
    auto bytes = ReadFileArgument(args, "filters FILE", exitCode);
    if (!bytes)
        return exitCode;
    std::optional<FilterFileContents> contents = ReadFilterFile(*bytes);
    if (!contents) {
        std::fprintf(stderr, "qvtool: %s is not a readable filter file\n", args[0].c_str());
        return 1;
    }
    std::printf("%zu filters, current position %u%s\n", contents->filters.size(), contents->currentPosition,
                contents->legacy ? ", with older data-mining settings" : "");
    for (const auto& filter : contents->filters)
        PrintFilter(*filter);
    return 0;
}

const Verb kFilters("filters", "filters FILE", "filters and criteria of a Filter.cfg", RunFilters);

} // namespace
} // namespace qv::tool
