// Early daily closes for a set of demo companies: a walk near a trend that meets the company's first
// 2009 close, closes only, joined in front of its history.
#include "devtools/lib/DemoEarlyPrices.h"

#include "core/RecordFlags.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/DemoIndexMembers.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace qv::dev {
namespace {

using namespace std::chrono;

double Uniform(std::mt19937& rng) { return (double(rng()) + 0.5) / 4294967296.0; }

// The first priced day's close in pence and the unit it is counted in.
bool FirstClose(const PriceHistory& h, double& close, float& unit)
{
    unit = h.scale > 0 ? 1.0f / float(h.scale) : float(-h.scale);
    for (const HistoryDay& d : h.days) {
        if (d.newUnit != 0)
            unit = d.newUnit / float(std::max<int>(1, h.scale));
        if (d.kind == HistoryDay::Kind::Priced) {
            close = d.close * double(unit);
            return true;
        }
    }
    return false;
}

// Closes from 1998 up to and including 1 January 2009 (a bank holiday, so the walk ends on a day
// without data), scaled so that the last close is the company's first 2009 close.
PriceHistory EarlyHistory(std::mt19937& rng, const PriceHistory& later)
{
    double first = 0;
    float unit = 1;
    if (!FirstClose(later, first, unit))
        return {};
    WalkParameters w;
    w.mode = 0;
    w.scale = later.scale;
    w.unit = unit;
    // A narrow band and a trend from flat to gently falling keep the first 1998 close within about a
    // factor of two of the 2009 one, so that no history rises to ten times its first price.
    w.annualDrift = -0.03 + 0.04 * Uniform(rng);
    w.dailyVolatility = 0.01 + 0.01 * Uniform(rng);
    w.startPrice = first / std::exp(w.annualDrift * 11);
    w.reversion = 1.0 / 250;
    w.band = 0.25;
    w.meanVolume = 0;
    PriceHistory early = RandomWalkHistory(rng, kDemoEarlyDay, kDemoFirstDay - days{1}, w);
    int32_t last = 0;
    for (const HistoryDay& d : early.days)
        if (d.kind == HistoryDay::Kind::Priced)
            last = d.close;
    const int32_t target = std::max<int32_t>(1, int32_t(std::lround(first / double(unit))));
    const double factor = last > 0 ? double(target) / last : 1;
    for (HistoryDay& d : early.days) {
        if (d.kind != HistoryDay::Kind::Priced)
            continue;
        d.close = std::max<int32_t>(1, int32_t(std::lround(d.close * factor)));
        d.open = d.high = d.low = d.close;
    }
    return early;
}

} // namespace

std::vector<std::string> AddEarlyPrices(DemoDatabase& db, uint32_t seed)
{
    const std::map<uint16_t, DemoMembership> members = DemoMemberships(db);
    const uint16_t firstDay = ToPackedDate(kDemoFirstDay);
    std::mt19937 rng(seed ^ 0x19980102u);
    std::map<uint16_t, int> taken;  // index bits of the flag word to companies given early prices
    const std::map<uint16_t, int> wanted = {
        {kIndexFtse100, 20}, {kIndexFtse250, 20}, {kIndexSmallCap, 1000}, {kIndexNone, 1000}};
    std::vector<std::string> names;
    for (DemoRecord& r : db.records) {
        auto m = members.find(r.id);
        if (m == members.end() || m->second.ordinaryKind == 0 || IsDefaultLayoutShareId(r.id) || r.streams.empty())
            continue;
        PriceHistory& h = r.streams.front().history;
        const uint16_t index = RecordIndexBits(m->second.flags);
        if (h.firstDate != firstDay || taken[index] >= wanted.at(index))
            continue;
        PriceHistory early = EarlyHistory(rng, h);
        if (early.days.empty())
            continue;
        // The unit the history started with now starts the early closes.
        for (HistoryDay& d : h.days) {
            if (d.kind == HistoryDay::Kind::Priced) {
                d.newUnit = 0;
                break;
            }
        }
        early.days.insert(early.days.end(), h.days.begin(), h.days.end());
        h = std::move(early);
        ++taken[index];
        names.push_back(r.name);
    }
    return names;
}

} // namespace qv::dev
