// The intraday engine's answers to the list tables' live cells.
#include "realtime/IntradayCells.h"

#include "core/ConfigState.h"
#include "core/ReadersWriterLock.h"
#include "platform/ByteOrder.h"
#include "realtime/RTMarketTable.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickExpansion.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace qv {
namespace {

// By GetRTColumnValue's type: 0 zero, 1 number, 2 none, 3 integer, 4 price, 5 time.
constexpr int kRouteOfEngineType[] = {kCellRouteNone, kCellRouteNumber, kCellRouteNone,
                                      kCellRoutePlain, kCellRouteSigned, kCellRouteTime};

// The column's forms (high byte of its option word) that the engine does not know as modes.
constexpr uint8_t kFormDaysBit = 0x20;
constexpr uint8_t kFormPercentFromOpen = 1, kFormChangeFromOpen = 5, kFormChangeFromClose = 6;

} // namespace

int IntradayRouteType(int engineType)
{
    return engineType >= 0 && engineType < int(std::size(kRouteOfEngineType)) ? kRouteOfEngineType[engineType] : kCellRouteNone;
}

int IntradayTradeDirection(const uint8_t* record, int daysBack)
{
    if (!record)
        return 2;
    SharedLockGuard lock(IntradayStoreLock());
    return GetRTTradeDirection(-std::abs(daysBack), ShareRef{record, 0, 0});
}

int IntradayCellValue(const uint8_t* record, int daysBack, int letter, uint16_t option, float& value)
{
    value = 0;
    if (!record)
        return kCellRouteNone;
    const ShareRef ref{record, 0, 0};
    const int32_t days = -std::abs(daysBack);
    const uint8_t form = uint8_t(option >> 8) & uint8_t(~kFormDaysBit);
    // The engine compares with the previous close only (its mode 1 the change, 2 the percentage):
    // a change from the previous close is its mode 1, and changes from the open are taken here.
    if (form == kFormChangeFromClose)
        option = uint16_t((option & ~0xDF00u) | 0x100u);
    const bool fromOpen = form == kFormPercentFromOpen || form == kFormChangeFromOpen;
    if (fromOpen)
        option &= uint16_t(~0xDF00u);
    double v = 0;
    SharedLockGuard lock(IntradayStoreLock());
    const int engineType = GetRTColumnValue(days, v, ref, uint16_t(letter), option);
    if (fromOpen && engineType == kRTValuePrice) {
        double open = 0;
        if (GetRTColumnValue(days, open, ref, 'G', 0) != kRTValuePrice || !(open > 0))
            return kCellRouteNone;
        double change = v - open;
        if (std::fabs(change) < 2.0 * std::numeric_limits<float>::epsilon() * open)
            change = 0;
        value = float(form == kFormPercentFromOpen ? change * 100.0 / open : change);
        return form == kFormPercentFromOpen ? kCellRouteNumber : kCellRouteSigned;
    }
    value = float(v);
    return IntradayRouteType(engineType);
}

uint32_t IntradayNowMs()
{
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int IntradayCellFlash(const uint8_t* record, int letter, uint32_t nowMs)
{
    if (!record)
        return 0;
    SharedLockGuard lock(IntradayStoreLock());
    RTActiveShare* share = FindRTActiveShare(GetRTShareKey(ShareRef{record, 0, 0}));
    if (!share)
        return 0;
    // The marks are the feed's; a copy is expired so that readers never write them.
    uint32_t marks = share->changeFlags;
    ExpireRTTickFlags(*share, nowMs, marks);
    uint32_t first = 0, second = 0;
    DecodeIntradayColumnFlags(uint8_t(letter), marks, first, second);
    return int(first ? first : second);
}

bool IntradayCellDay(const uint8_t* record, int daysBack, IntradayGraphDay& out)
{
    out = IntradayGraphDay{};
    if (!record || !TheRTStore().workAreaReady)
        return false;
    const uint32_t key = GetRTShareKey(ShareRef{record, 0, 0});
    if (!key)
        return false;
    // Expanding a day writes the share's day blocks, which only a writer may do.
    LockRTExclusive();
    RTDayRecord* day = GetRTDayOfAge(-std::abs(daysBack));
    RTActiveShare* share = FindRTActiveShare(key);
    const bool made = !share && day;
    if (made)
        share = CreateRTActiveShare(ShareRef{record, 0, 0});
    if (day && share) {
        RTShareDayBlock* block = FindRTShareDay(*share, day->day);
        // New ticks since the last expansion: the day is read again.
        if (block && share->needsReload && day == CurrentRTDay())
            block->count = 0;
        LoadRTActiveShareDay(day, share, 0);
        block = FindRTShareDay(*share, day->day);
        if (block)
            out.ticks.assign(block->ticks.begin(), block->ticks.begin() + std::min<size_t>(block->count, block->ticks.size()));
        const auto& hours = ExchangeTimesTable()[std::min<size_t>(share->exchange, ExchangeTimesTable().size() - 1)];
        // The graphs start a program-wide number of seconds after the exchange opens.
        out.open = uint32_t(std::max<int64_t>(0, int64_t(hours.first) + LoadI16(Config().optionsA.data() + OptionBlockA::kMicrographStart)));
        out.close = hours.second;
    }
    if (made)
        PruneRTActiveShares();
    UnlockRTExclusive();
    return !out.ticks.empty();
}

} // namespace qv
