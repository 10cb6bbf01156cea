// The benchmarks run with every layer's hooks installed, as the program does.
#include "app/LayerHooks.h"

namespace {

const bool installed = (qv::InstallLayerHooks(), true);

} // namespace
