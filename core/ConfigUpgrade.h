// Bringing the settings of an older "Quorva.cfg" up to the current version at start-up.
#pragma once

namespace qv {

// After the configuration is loaded: works through the corrections of every older version in turn,
// saves "Quorva.cfg" and marks the settings as the current version. Nothing for a current file.
// Fonts reset by the upgrade take their heights for the screen's pixels per inch.
void UpgradeConfig(int pixelsPerInchY = 96);

} // namespace qv
