// The scripted use of the program for unattended runs (QV_SCRIPTED_USE): a short session driven with
// the mouse through the menus, the toolbar, a list and a chart, with every dialog run in its modal
// loop and answered as a user would; then File > Exit. What it does goes to standard error.
#pragma once

namespace qv {

class CMainFrame;

void RunScriptedUse(CMainFrame& frame);

} // namespace qv
