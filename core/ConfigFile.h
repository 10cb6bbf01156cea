// Loading and saving "Quorva.cfg": whole (selector -1) or one slot (family mask | slot).
#pragma once

#include "core/SaveProtocol.h"

#include <cstdint>

namespace qv {

// Start-up switches that govern saving: "/NC" turns every save off; declining the load at start
// (Ctrl held) makes the first save ask before it replaces the file.
void SetConfigSavingDisabled(bool disabled);
void SetConfigLoadDeclined(bool declined);

// 0, or -1 when the file was not opened (missing, or skipFile set). A single-slot restore of a file
// that cannot be opened says "Unable to do restore" and changes nothing; a whole load of one gives
// every family its defaults (and when the file exists but could not be read, the next save asks
// before replacing it, as after a declined load). A rejected header is shown and the file set aside; a damaged file resets
// the damaged family and every later one to defaults and tells the user.
int LoadConfig(int32_t selector, bool skipFile);

// Writes the settings through "Quorva.TEM". A single-slot save copies every other slot from the file
// on disk. Skipped when saving is off or the user keeps the declined file.
SaveResult SaveConfig(int32_t selector);

} // namespace qv
