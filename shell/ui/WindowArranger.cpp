// Window arrangement on the frame's child windows.
#include "shell/ui/WindowArranger.h"

#include "shell/ViewGroups.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/WindowFactory.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

namespace qv {
namespace {

ScreenRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

QRect ToQRect(const ScreenRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

CChildWindow* WindowOf(const ArrangedWindow& w) { return reinterpret_cast<CChildWindow*>(w.tag); }

} // namespace

WindowChain ChildWindowChain(const CWindowFactory& factory)
{
    WindowChain chain;
    for (CChildWindow* child : factory.Children()) {
        ArrangedWindow w;
        w.rect = FromQRect(child->geometry());
        // A window keeps its first kind while the view inside it changes.
        auto* view = dynamic_cast<CViewBase*>(child->widget());
        w.kind = view ? view->kind : child->kind();
        w.fixedHeight = w.kind == kViewTicker && child->fixedHeight() > 0;
        w.tag = reinterpret_cast<uintptr_t>(child);
        chain.push_back(w);
    }
    return chain;
}

ScreenRect ClientAreaRect(const CWindowFactory& factory)
{
    AreaRect a = factory.ClientArea();
    return {a.left, a.top, a.right, a.bottom};
}

void MoveChildWindows(const WindowChain& chain)
{
    for (const ArrangedWindow& w : chain) {
        CChildWindow* child = WindowOf(w);
        QRect target = ToQRect(w.rect);
        if (child->geometry() != target)
            child->setGeometry(target);
    }
}

void ArrangeChildWindows(CWindowFactory& factory, uint32_t command)
{
    if (!MultipleWindowsOn())
        return;
    for (CChildWindow* child : factory.Children())
        if (child->isMaximized() || child->isMinimized())
            child->showNormal();
    WindowChain chain = ChildWindowChain(factory);
    ArrangeWindows(command, chain, ClientAreaRect(factory));
    MoveChildWindows(chain);
    if (command != kCommandArrangeCascade)
        return;
    // Each window lies behind the one before it: the first ends on top.
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        WindowOf(*it)->show();
        WindowOf(*it)->raise();
    }
}

QRect PlaceNewWindow(CWindowFactory& factory, CChildWindow* source)
{
    WindowChain chain = ChildWindowChain(factory);
    ScreenRect area = ClientAreaRect(factory);
    int32_t sourceIndex = -1;
    for (size_t i = 0; i < chain.size(); ++i)
        if (WindowOf(chain[i]) == source)
            sourceIndex = int32_t(i);
    bool nearSource = sourceIndex >= 0 && !source->isMaximized();
    std::optional<ScreenRect> place = FindNewWindowRect(chain, area, sourceIndex, nearSource, true);
    MoveChildWindows(chain);
    return ToQRect(place ? *place : DefaultWindowRect(area, int32_t(chain.size())));
}

} // namespace qv
