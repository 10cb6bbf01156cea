// Installs every layer's hooks, those of the window layer too. The program and the window tests
// call it first.
#pragma once

namespace qv {

void InstallWindowLayerHooks();

} // namespace qv
