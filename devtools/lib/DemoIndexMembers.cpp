// The demo's index and market memberships.
#include "devtools/lib/DemoIndexMembers.h"

#include "core/RecordFlags.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/DemoResults.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qv::dev {
namespace {

bool IsCompany(const DemoRecord& r)
{
    uint8_t kind = r.streams.front().kind;
    if (kind != 10 && kind != 11)
        return false;
    return r.name.find("Investment Trust") == std::string::npos && !r.description.empty();
}

} // namespace

std::map<uint16_t, DemoMembership> DemoMemberships(const DemoDatabase& demo)
{
    std::map<uint16_t, DemoMembership> out;
    std::vector<std::pair<double, const DemoRecord*>> companies;
    for (const DemoRecord& r : demo.records) {
        if (r.streams.empty())
            continue;
        bool index = r.streams.front().kind == 1;
        out[r.id].flags = MakeRecordFlags(index ? kMarketIndex : kMarketMain, kIndexNone);
        if (IsCompany(r))
            companies.emplace_back(LastClose(r.streams.front()) * r.streams.front().issueFigure, &r);
    }
    std::stable_sort(companies.begin(), companies.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t rank = 0; rank < companies.size(); ++rank) {
        DemoMembership& m = out[companies[rank].second->id];
        uint16_t index = rank < 100 ? kIndexFtse100 : rank < 180 ? kIndexFtse250 : rank < 190 ? kIndexSmallCap : kIndexNone;
        uint16_t market = index == kIndexNone ? kMarketAim : kMarketMain;
        m.flags = MakeRecordFlags(market, index, rank % 7 == 3, rank % 14 == 3, rank < 30);
        m.ordinaryKind = 11;
    }
    return out;
}

} // namespace qv::dev
