// The scripted use of the program for unattended runs (QV_SCRIPTED_USE): a short session driven with
// the mouse through the menus, the toolbar, a list and a chart, with every dialog run in its modal
// loop and answered as a user would; then File > Exit. What it does goes to standard error.
#pragma once

#include <cstdint>

namespace qv {

class CMainFrame;

void RunScriptedUse(CMainFrame& frame);

// Lets the program run what the last step asked for (posted commands, dialogs, paints).
void SettleEvents(int milliseconds = 100);
// The menu item of the command, found in the menus as the user reads them and chosen with the mouse.
bool ChooseMenuCommand(CMainFrame& frame, uint32_t command);

} // namespace qv
