// The trade list's reads of the intraday store.
#include "realtime/TradeListSource.h"

#include "core/ReadersWriterLock.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickExpansion.h"

#include <algorithm>

namespace qv {

PackedDate NewestRTStoredDay()
{
    const RTStore& s = TheRTStore();
    return std::max<PackedDate>(s.latestDay, s.days.empty() ? PackedDate(0) : s.days.back());
}

std::vector<IntradayTick> ReadRTShareDayTicks(uint16_t share, PackedDate day, bool again)
{
    if (!TheRTStore().workAreaReady || share == 0 || day == 0)
        return {};
    std::vector<IntradayTick> ticks;
    LockRTExclusive();
    const uint32_t key = MakeRTKey(0, share);
    RTActiveShare* active = FindRTActiveShare(key);
    const bool made = !active;
    if (made)
        active = CreateRTActiveShare(ShareRef{nullptr, 0, share});
    if (active && again)
        std::erase_if(active->days, [day](const std::unique_ptr<RTShareDayBlock>& b) { return b && b->day == day; });
    if (active) {
        if (RTDayRecord* record = GetRTDay(day, false))
            LoadRTActiveShareDay(record, active, 0);
        if (const RTShareDayBlock* block = FindRTShareDay(*active, day))
            ticks.assign(block->ticks.begin(), block->ticks.begin() + std::min<size_t>(block->count, block->ticks.size()));
    }
    // An entry made only for this read has no subscriber and goes again.
    if (made)
        PruneRTActiveShares();
    UnlockRTExclusive();
    return ticks;
}

TradeTotals ReadRTTradeTotals(uint16_t share, PackedDate day, uint8_t unit)
{
    const PackedDate shown = day ? day : NewestRTStoredDay();
    const std::vector<IntradayTick> ticks = ReadRTShareDayTicks(share, shown);
    TradeTotals totals = SumTradeTotals(BuildTradeListRows(ticks, kTradeListTrades, unit));
    totals.share = share;
    totals.day = shown;
    totals.unit = unit;
    return totals;
}

} // namespace qv
