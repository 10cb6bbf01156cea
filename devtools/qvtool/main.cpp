// qvtool: looks inside the program's data files, for developers and tests.
#include "app/LayerHooks.h"
#include "devtools/qvtool/Verbs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace qv::tool {

std::vector<VerbInfo>& AllVerbs()
{
    static std::vector<VerbInfo> verbs;
    return verbs;
}

namespace {

void PrintHelp(std::FILE* out)
{
    std::fprintf(out, "usage: qvtool VERB [ARGUMENTS]\n\nLooks inside Quorvantis data files.\n\nVerbs:\n");
    auto verbs = AllVerbs();
    std::sort(verbs.begin(), verbs.end(),
              [](const VerbInfo& a, const VerbInfo& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const VerbInfo& v : verbs)
        std::fprintf(out, "  %-36s %s\n", v.usage, v.summary);
    std::fprintf(out, "  %-36s %s\n", "--help", "this text");
}

// The verbs that paint through the program's windows are qvtool-paint's, beside this program, so that
// the others start without loading Qt: qvtool hands it what it does not know, and the help that lists
// every verb. Returns only when there is no such tool to hand it to.
void HandToPaintingTool(char** argv)
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || self.filename() != "qvtool")
        return;
    const std::filesystem::path painter = self.parent_path() / "qvtool-paint";
    if (std::filesystem::is_regular_file(painter, error))
        ::execv(painter.c_str(), argv);
}

} // namespace
} // namespace qv::tool

int main(int argc, char** argv)
{
    qv::InstallLayerHooks();
    using namespace qv::tool;
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        HandToPaintingTool(argv);
        PrintHelp(stdout);
        return argc < 2 ? 2 : 0;
    }
    for (const VerbInfo& v : AllVerbs()) {
        if (std::strcmp(v.name, argv[1]) == 0)
            return v.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    HandToPaintingTool(argv);
    std::fprintf(stderr, "qvtool: unknown verb '%s'\n\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
