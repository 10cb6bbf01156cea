// The window layouts' view-state hooks.
#include "shell/LayoutStateHooks.h"

namespace qv {

LayoutStateHooks& GetLayoutStateHooks()
{
    static LayoutStateHooks hooks;
    return hooks;
}

} // namespace qv
