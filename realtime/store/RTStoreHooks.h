// What the intraday store answers for the lists and the shell once it exists.
#pragma once

#include <cstdint>

namespace qv {

struct ShareList;

// True when the current day holds data for the share (exchange 0), read under the store's lock.
bool RTShareHasIntraday(ShareList* list, uint32_t shareId, uint32_t subId);
// Installs the row loader of the lists and the after-load question whether the store exists.
void InstallRTStoreHooks();

} // namespace qv
