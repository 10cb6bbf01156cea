// The data-mining progress dialog, set while a filter runs; share lists keep their entries meanwhile.
#pragma once

namespace qv {

void*& DataMiningProgress();

} // namespace qv
