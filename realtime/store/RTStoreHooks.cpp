// The intraday store's answer to the lists' row loader.
#include "realtime/store/RTStoreHooks.h"

#include "core/ReadersWriterLock.h"
#include "realtime/store/RTStore.h"

namespace qv {

bool RTShareHasIntraday(ShareList*, uint32_t shareId, uint32_t)
{
    if (!RTStoreExists() || shareId == 0 || shareId > 0xFFFF)
        return false;
    SharedLockGuard lock(IntradayStoreLock());
    RTDayRecord* day = GetRTDay(0, false);
    int32_t slot = -1;
    RTDayShareEntry* entry = day ? GetRTDayShare(MakeRTKey(0, uint16_t(shareId)), *day, slot, false) : nullptr;
    return entry && (entry->tickCount > 0 || !entry->ticks.empty());
}

} // namespace qv
