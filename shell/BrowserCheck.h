// Whether the system's web browser is new enough for the InfoCentre, by its version text: usable when
// the part before the first "." has two characters, or one from "4" to "9".
#pragma once

#include <optional>
#include <string>

namespace qv {

bool BrowserVersionUsable(const std::optional<std::string>& version);

// The InfoCentre item is in the menu bar only with a usable browser and an InfoCentre that reports
// both of its ready flags.
bool ShowInfoCentreItem(bool browserUsable, bool infoCentreReady);

} // namespace qv
