// qvtool toolbars FILE: the toolbars and keys of a "Toolbar.cfg", after the loader's upgrades.
#include "devtools/qvtool/Verbs.h"
#include "shell/KeyEditing.h"
#include "shell/KeyTable.h"
#include "shell/ToolbarFile.h"
#include "shell/UserToolbars.h"

#include <cstdio>

namespace qv::tool {
namespace {

constexpr const char* kSides[5] = {"left", "top", "right", "bottom", "floating"};
constexpr const char* kSizes[3] = {"large", "small", "wide"};

void PrintToolbar(const CUserToolbar& t)
{
    std::printf("\"%s\" %s %s mask 0x%08X, %u buttons:", t.name.c_str(), kSides[t.dock <= 4 ? t.dock : 1],
                kSizes[t.size <= 2 ? t.size : 0], unsigned(t.viewMask), unsigned(t.count));
    for (const ToolbarEntry& e : t.entries) {
        if (e.code == kEndOfButtons)
            break;
        if (e.code == kSpacerCode)
            std::printf(" |");
        else if (IsPortfolioCode(e.code))
            std::printf(" %u(portfolio %u)", unsigned(e.code), unsigned(e.portfolio));
        else
            std::printf(" %u", unsigned(e.code));
    }
    std::printf("\n");
}

int RunToolbars(const std::vector<std::string>& args)
{
    int exitCode = 0;
    auto bytes = ReadFileArgument(args, "toolbars FILE", exitCode);
    if (!bytes)
        return exitCode;
    ToolbarSet set;
    std::vector<AcceleratorKey> keys;
    std::vector<AcceleratorKey> fixed = FixedKeys();
    ToolbarLoadReport report = LoadToolbarImage(std::span<const uint8_t>(*bytes), false, set, keys, fixed);
    if (report.toolbarsDamaged)
        std::printf("toolbar section unreadable: the defaults would be used\n");
    std::printf("portfolio targets:");
    for (uint32_t target : set.portfolioTargets)
        std::printf(" 0x%X", unsigned(target));
    std::printf("\n%zu toolbars\n", set.Count());
    for (const auto& t : set.toolbars)
        PrintToolbar(*t);
    std::printf("%zu keys\n", keys.size());
    for (const AcceleratorKey& k : keys) {
        uint16_t code = CodeForKeyCommand(k.command);
        std::printf("%-16s %u %s\n", KeyText(k).c_str(), unsigned(k.command),
                    code == kEndOfButtons ? "" : ButtonLabel(code).c_str());
    }
    for (const AcceleratorKey& f : fixed)
        if (f.state & 1)
            std::printf("fixed key %s overridden\n", KeyText(f).c_str());
    return 0;
}

const Verb kToolbars("toolbars", "toolbars FILE", "toolbars and keys of a Toolbar.cfg", RunToolbars);

} // namespace
} // namespace qv::tool
