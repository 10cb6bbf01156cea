// The toolbar file's places in start-up and exit, and the portfolio files' calls into the toolbars.
#pragma once

namespace qv {

// Installs the portfolio hooks, takes the desktop size and loads "Toolbar.cfg".
void LoadUserToolbarsAtStartUp();
// Writes "Toolbar.cfg" and frees the toolbars.
void SaveUserToolbarsAtExit();

} // namespace qv
