// qvtool flt FILE: the filters and criteria of a ".flt" filter file.
#include "datamining/FilterText.h"
#include "devtools/qvtool/Verbs.h"

#include <cstdio>
#include <string>

namespace qv::tool {
namespace {

int RunFlt(const std::vector<std::string>& args)
{
    int exitCode = 0;
    auto bytes = ReadFileArgument(args, "flt FILE", exitCode);
    if (!bytes)
        return exitCode;
    const std::string text(bytes->begin(), bytes->end());
    const FilterTextContents contents = ParseFilterText(text, [](std::string_view) { return false; });
    if (!contents.valid) {
        std::fprintf(stderr, "qvtool: %s is not a filter file of version %d or older\n", args[0].c_str(),
                     kFilterTextVersion);
        return 1;
    }
    std::printf("version %d, %zu filters\n", contents.version, contents.filters.size());
    for (const auto& f : contents.filters) {
        std::printf("\"%s\" source %u axes %u %u %u\n  note \"%s\"\n", f->name.c_str(), f->sourceKind, f->axes[0],
                    f->axes[1], f->axes[2], f->note.c_str());
        for (const DMCriterion& c : f->criteria)
            std::printf("  kind %u parameter %u mode %u inverted %u range %g .. %g setting 0x%08X second %u dates "
                        "0x%08X 0x%08X\n",
                        c.kind, c.parameter, c.mode, c.inverted, double(c.lower), double(c.upper), c.setting,
                        c.secondSetting, c.firstDate, c.secondDate);
    }
    return 0;
}

const Verb kFlt("flt", "flt FILE", "filters and criteria of a .flt filter file", RunFlt);

} // namespace
} // namespace qv::tool
