// The window layouts' view-state hooks.
#include "shell/LayoutStateHooks.h"

namespace qv {

LayoutStateHooks& GetLayoutStateHooks()
{
    static LayoutStateHooks hooks;
    return hooks;
}

uint32_t ChartOptionOf(const CViewBase& view)
{
    const auto& read = GetLayoutStateHooks().chartOption;
    return read ? read(view) : 0;
}

} // namespace qv
