// Installs the Qt side of the platform layer: message boxes and the delivery of posted messages.
#pragma once

namespace qv {

// Call once after the QApplication exists.
void InstallQtPlatform();

} // namespace qv
