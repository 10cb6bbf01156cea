// The trade price history's lines.
#include "realtime/TradePriceHistory.h"

#include "core/DateText.h"
#include "core/StringPrintf.h"
#include "realtime/TradeListSource.h"

namespace qv {

std::vector<std::string> TradePriceHistoryLines(std::span<const IntradayTick> ticks, PackedDate day)
{
    if (ticks.empty() || ticks.front().Kind() == kTickEnd)
        return {"No intraday information"};
    std::vector<std::string> lines{"New date = " + FormatDate(day), ""};
    for (const IntradayTick& tick : ticks) {
        switch (tick.Kind()) {
        case kTickEnd: return lines;
        case kTickTime: {
            const uint32_t t = tick.value1;
            lines.push_back(StringPrintf(" Time @ %02d:%02d:%02d", int(t / 3600), int(t / 60 % 60), int(t % 60)));
            break;
        }
        case kTickQuote: {
            const double offer = tick.F1(), bid = tick.F2();
            lines.push_back(StringPrintf(" - Price - Offer = %0.4f, mid = %0.4f, bid = %0.4f", offer, (offer + bid) / 2, bid));
            break;
        }
        case kTickTrade:
            lines.push_back(StringPrintf(" - Trade - Price %0.4f, volume %0.0f, del %d", double(tick.F1()), double(tick.F2()),
                                         int(tick.type & 0x4000)));
            break;
        default: break; // other ticks have no line of their own
        }
    }
    return lines;
}

std::vector<std::string> ReadTradePriceHistory(uint16_t share)
{
    const PackedDate day = NewestRTStoredDay();
    return TradePriceHistoryLines(ReadRTShareDayTicks(share, day), day);
}

} // namespace qv
