// The desktop rectangle over every monitor and the test for an installed font.
#pragma once

#include "platform/Display.h"

#include <string_view>

namespace qv {

// The union of all monitors' rectangles, or the desktop window's rectangle when the monitors cannot
// be enumerated.
ScreenRect GetMonitorWorkArea();

// True when the screen has a font family of that face. A face holds at most 31 characters; a
// longer name is cut to that, as the system's font request would hold it.
bool FontExists(std::string_view face);

} // namespace qv
