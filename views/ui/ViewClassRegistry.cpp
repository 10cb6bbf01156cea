// The registry of view classes by kind.
#include "views/ui/ViewClassRegistry.h"

#include "views/ui/ViewBaseWindow.h"

#include <map>

namespace qv {
namespace {

std::map<int32_t, ViewClassFactory>& Registry()
{
    static std::map<int32_t, ViewClassFactory> registry;
    return registry;
}

} // namespace

ViewClassFactory RegisterViewClass(int32_t kind, ViewClassFactory factory)
{
    auto& registry = Registry();
    ViewClassFactory previous;
    if (auto it = registry.find(kind); it != registry.end()) {
        previous = std::move(it->second);
        registry.erase(it);
    }
    if (factory)
        registry[kind] = std::move(factory);
    return previous;
}

CViewBaseWnd* CreateViewWindowForKind(int32_t kind)
{
    auto& registry = Registry();
    if (auto it = registry.find(kind); it != registry.end())
        if (CViewBaseWnd* view = it->second(kind))
            return view;
    return new CViewBaseWnd(kind);
}

} // namespace qv
