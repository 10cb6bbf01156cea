// The server's answers besides the data.
#include "realtime/feed/FeedServerInfo.h"

#include "platform/ByteOrder.h"

namespace qv {

std::optional<std::vector<BackfillDayInfo>> ParseBackfillDays(std::span<const uint8_t> payload)
{
    ByteReader r(payload);
    uint16_t count = 0;
    r.u16(count);
    if (!r.ok() || count > kMaxBackfillDays)
        return std::nullopt;
    std::vector<BackfillDayInfo> days(count);
    for (BackfillDayInfo& d : days) {
        r.u16(d.day);
        r.u8(d.available);
    }
    if (!r.ok())
        return std::nullopt;
    return days;
}

std::vector<uint8_t> EncodeBackfillDays(const std::vector<BackfillDayInfo>& days)
{
    std::vector<uint8_t> out(2 + 3 * days.size());
    StoreU16(out.data(), uint16_t(days.size()));
    for (size_t i = 0; i < days.size(); ++i) {
        StoreU16(out.data() + 2 + 3 * i, days[i].day);
        out[4 + 3 * i] = days[i].available;
    }
    return out;
}

std::optional<LogOnStatus> ParseLogOnStatus(std::span<const uint8_t> payload)
{
    if (payload.size() < 8)
        return std::nullopt;
    return LogOnStatus{LoadU32(payload.data()), LoadU32(payload.data() + 4)};
}

FeedServerInfo& TheFeedServerInfo()
{
    static FeedServerInfo info;
    return info;
}

void ResetFeedServerInfo()
{
    FeedServerInfo& i = TheFeedServerInfo();
    {
        std::lock_guard guard(i.mutex);
        i.daysAnswered = false;
        i.days.clear();
    }
    i.agreements = 0;
    i.currentLevels = 0;
    i.backfillTotal = 0;
    i.backfillDone = 0;
    i.abortCurrent = false;
    i.backfillMask = 0;
    i.abortAll = false;
    // The message counts are totals over the session, as the decoder's are: a reconnection keeps them.
    i.feedDay = 0;
}

} // namespace qv
