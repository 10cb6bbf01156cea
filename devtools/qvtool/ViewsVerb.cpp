// qvtool views FILE: the window layouts of a "View.cfg" or "Views.cfg".
#include "core/WindowLayoutFile.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/ByteOrder.h"

#include <cstdio>

namespace qv::tool {
namespace {

int RunViews(const std::vector<std::string>& args)
{
    int exitCode = 0;
    auto bytes = ReadFileArgument(args, "views FILE", exitCode);
    if (!bytes)
        return exitCode;
    WindowLayoutSet set;
    LayoutLoadOutcome outcome = ApplyLayoutFile(*bytes, -1, LayoutLoadContext{}, set);
    std::printf("sub-version %u%s, current layout %d\n", bytes->size() > 5 ? (*bytes)[5] : 0,
                outcome.rewrite ? " (older form)" : "", set.current);
    for (int slot = 0; slot < kLayoutSlotCount; ++slot) {
        const WindowLayout& layout = set.layouts[slot];
        std::printf("%2d \"%s\": %zu windows\n", slot, layout.name.c_str(), layout.windows.size());
        for (const LayoutWindowRecord& w : layout.windows)
            std::printf("     view kind %u, rectangle %d,%d - %d,%d, share %u\n", LoadU32(w.data() + 20),
                        LoadI32(w.data() + 72), LoadI32(w.data() + 76), LoadI32(w.data() + 80), LoadI32(w.data() + 84),
                        LoadU32(w.data() + 0));
    }
    return 0;
}

const Verb kViews("views", "views FILE", "window layouts of a View.cfg", RunViews);

} // namespace
} // namespace qv::tool
