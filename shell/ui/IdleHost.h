// Runs the idle work on Qt's event loop whenever the queue is empty, and gives the message pumps
// their Qt dispatching.
#pragma once

namespace qv {

// Call once after the QApplication exists.
void InstallIdleHost();

} // namespace qv
