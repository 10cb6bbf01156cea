// Creation of view windows by run-time class: a registry from view kind to a creation function.
// A kind nobody registered gets the plain view-base window. The chart views register theirs at
// start-up; the window factory, the view requests and the frame create every view through here.
#pragma once

#include <cstdint>
#include <functional>

namespace qv {

class CViewBaseWnd;

using ViewClassFactory = std::function<CViewBaseWnd*(int32_t kind)>;

// Registers the class of a view kind (an empty function removes it); returns the one it replaces.
ViewClassFactory RegisterViewClass(int32_t kind, ViewClassFactory factory);
// A new window of the kind's registered class, else a CViewBaseWnd.
CViewBaseWnd* CreateViewWindowForKind(int32_t kind);

} // namespace qv
