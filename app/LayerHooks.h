// Installs the hooks through which the lower folders call the higher ones: the core's, the shell's
// start-up steps and the portfolio routines'. The program, the tests and the tools call it first.
#pragma once

namespace qv {

void InstallLayerHooks();

} // namespace qv
