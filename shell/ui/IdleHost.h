// Runs the idle work on Qt's event loop whenever the queue is empty, lets the splash screen take the
// first key or click, and gives the message pumps their Qt dispatching.
#pragma once

namespace qv {

// Call after the QApplication exists; later calls only give the pumps their Qt dispatching again.
void InstallIdleHost();

} // namespace qv
