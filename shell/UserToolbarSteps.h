// The toolbar file's places in start-up and exit, and the portfolio files' calls into the toolbars.
#pragma once

#include <cstdint>

namespace qv {

// Installs the portfolio hooks, takes the desktop size and loads "Toolbar.cfg".
void LoadUserToolbarsAtStartUp();
// The toolbar background colour (0x00BBGGRR), kept in the registry for the next start.
void StoreToolbarBackground(uint32_t colour);
// Frees the toolbars once the exit has written "Toolbar.cfg".
void FreeUserToolbarsAtExit();

} // namespace qv
