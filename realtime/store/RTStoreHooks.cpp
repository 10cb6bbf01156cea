// The intraday store's answers to the lists and to the steps after a database load.
#include "realtime/store/RTStoreHooks.h"

#include "core/ReadersWriterLock.h"
#include "lists/ViewBase.h"
#include "realtime/store/RTStore.h"
#include "shell/AppServices.h"

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

void InstallRTStoreHooks()
{
    SetIntradayRowLoader(RTShareHasIntraday);
    AfterLoad().intradayStoreExists = RTStoreExists;
}

} // namespace qv
