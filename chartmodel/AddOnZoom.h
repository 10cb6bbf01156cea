// The zoom of a chart setting's add-on windows: a zoomed window holds its height plus 750.
#pragma once

#include "core/ConfigRecords.h"

namespace qv {

bool AddOnWindowZoomed(const GraphSetting& setting, int window);
// A window at 750 or less is zoomed and every other zoomed window un-zoomed; a zoomed one is un-zoomed
// unless only zooming is asked. False for a window out of range or not in use.
bool ToggleAddOnZoom(GraphSetting& setting, int window, bool zoomOnly);

} // namespace qv
