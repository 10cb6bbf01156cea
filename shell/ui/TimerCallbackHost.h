// Fires the timed callbacks on the user-interface thread with Qt timers, standing in for the
// program's timer queue.
#pragma once

namespace qv {

// Call once after the QApplication exists.
void InstallQtTimerCallbacks();

} // namespace qv
