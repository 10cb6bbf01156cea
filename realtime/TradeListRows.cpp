// Trade list rows and totals from a share's intraday ticks.
#include "realtime/TradeListRows.h"

#include "core/FormatValue.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr float kSameEpsilon = 1.1920929e-7f;

float MidOf(float bid, float offer) { return bid < 0 || offer < 0 ? -1.0f : (bid + offer) / 2; }

uint32_t CompareField(float now, float before)
{
    if (now < 0 || before < 0)
        return kChangeNone;
    if (std::fabs(now - before) < now * kSameEpsilon)
        return kChangeSame;
    return now > before ? kChangeUp : kChangeDown;
}

uint32_t MissingOnly(float value) { return value < 0 ? kChangeNone : kChangeSame; }

struct Builder {
    int32_t mode;
    uint8_t unit;
    std::vector<TradeListRow> rows;
    uint32_t time = 0;
    float bid = -1, offer = -1;
    float lastBid = -1, lastOffer = -1, lastMid = -1;

    void Add(TradeListRow row, const IntradayTick& t, bool marksOnlyMissing)
    {
        row.time = time;
        row.bid = bid;
        row.offer = offer;
        row.type = t.type;
        row.unit = unit;
        row.first = t.source;
        const float mid = MidOf(bid, offer);
        if (marksOnlyMissing) {
            row.change = MissingOnly(bid) << kChangeBidShift | MissingOnly(mid) << kChangeMidShift |
                         MissingOnly(offer) << kChangeOfferShift;
        } else {
            row.change = CompareField(bid, lastBid) << kChangeBidShift | CompareField(mid, lastMid) << kChangeMidShift |
                         CompareField(offer, lastOffer) << kChangeOfferShift;
        }
        lastBid = bid;
        lastOffer = offer;
        lastMid = mid;
        rows.push_back(row);
    }

    void Quote(const IntradayTick& t)
    {
        offer = t.F1();
        bid = t.F2();
        if (mode != kTradeListTrades && (offer >= 0 || bid >= 0))
            Add({}, t, false);
    }

    void Trade(const IntradayTick& t)
    {
        const float price = t.F1(), volume = t.F2();
        if (mode == kTradeListQuotes || (price < 0 && volume < 0) || (bid < 0 && offer < 0))
            return;
        TradeListRow row;
        row.price = price;
        row.volume = int32_t(volume);
        row.direction = TradeDirection(bid, offer, price);
        Add(row, t, mode == kTradeListBoth);
    }
};

} // namespace

int8_t TradeDirection(float bid, float offer, float price)
{
    if (bid < 0 || offer < 0 || price < 0)
        return 0;
    const float mid = (bid + offer) / 2, sixth = (offer - bid) / 6;
    if (price > mid + sixth)
        return 1;
    if (price < mid - sixth)
        return -1;
    return 0;
}

std::vector<TradeListRow> BuildTradeListRows(std::span<const IntradayTick> ticks, int32_t mode, uint8_t unit)
{
    Builder b{mode, unit, {}};
    b.rows.reserve(ticks.size());
    for (const IntradayTick& t : ticks) {
        const uint16_t kind = t.Kind();
        if (kind == kTickEnd)
            break;
        if (kind == kTickTime)
            b.time = t.value1;
        else if (kind == kTickQuote)
            b.Quote(t);
        else if (kind == kTickTrade)
            b.Trade(t);
    }
    return std::move(b.rows);
}

int ChangeState(uint32_t change, int shift)
{
    switch ((change >> shift) & 3) {
    case kChangeUp: return 1;
    case kChangeDown: return -1;
    case kChangeNone: return -2;
    default: return 0;
    }
}

bool PricedInMinorUnits(uint8_t unit) { return GetCurrencyUnitSymbols(unit).minor != 0; }

TradeTotals SumTradeTotals(std::span<const TradeListRow> rows)
{
    TradeTotals t;
    for (const TradeListRow& r : rows) {
        if (!r.IsTrade())
            continue;
        const int slot = r.direction > 0 ? 1 : r.direction < 0 ? 2 : 3;
        const double value = double(r.volume) * r.price * (PricedInMinorUnits(r.unit) ? 0.01 : 1.0);
        for (int s : {0, slot}) {
            ++t.count[s];
            t.volume[s] += r.volume;
            t.value[s] += value;
        }
        t.latestTime = std::max(t.latestTime, r.time);
    }
    return t;
}

} // namespace qv
