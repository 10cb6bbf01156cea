// The default system sound, through a handler that the window layer or a test installs.
#pragma once

#include <functional>

namespace qv {

using BeepHandler = std::function<void()>;

// Plays the default system sound (the headless default writes the terminal bell to stderr).
void SystemBeep();
// Installs a handler (empty restores the default); returns the previous one.
BeepHandler SetBeepHandler(BeepHandler handler);

} // namespace qv
