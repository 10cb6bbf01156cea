// What the intraday store answers for the lower folders' hooks; app/LayerHooks installs it.
#pragma once

#include <cstdint>

namespace qv {

struct ShareList;

// True when the current day holds data for the share (exchange 0), read under the store's lock.
bool RTShareHasIntraday(ShareList* list, uint32_t shareId, uint32_t subId);

} // namespace qv
