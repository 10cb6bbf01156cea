// The demo's intraday days follow each share's daily prices, so the two never disagree.
#include "devtools/lib/DemoIntraday.h"

#include "core/PackedDate.h"
#include "core/RecordAccess.h"
#include "devtools/lib/IntradayDayGenerator.h"
#include "devtools/lib/LondonCalendar.h"
#include "devtools/lib/RtStoreWriter.h"
#include "realtime/store/RTShareTable.h"
#include "shell/LayoutWindow.h"

#include <algorithm>
#include <map>

namespace qv::dev {
namespace {

struct DailyPrices {
    IntradayDayPrices prices;
    bool priced = false;
};

// The share's full days by date: weekdays from the first date, prices in the unit in force.
std::map<PackedDate, DailyPrices> FullDays(const PriceHistory& h)
{
    std::map<PackedDate, DailyPrices> out;
    if (h.scale <= 0 || h.days.empty())
        return out;
    float unit = 1.0f / float(h.scale);
    float previous = 0;
    PackedDate date = h.firstDate;
    for (const HistoryDay& d : h.days) {
        if (d.newUnit != 0)
            unit = d.newUnit / float(h.scale);
        if (d.kind == HistoryDay::Kind::Priced) {
            DailyPrices p;
            p.priced = d.mode == 1;
            p.prices = {previous, d.open * unit, d.high * unit, d.low * unit, d.close * unit};
            out[date] = p;
            previous = d.close * unit;
        }
        date = NextWeekday(date);
    }
    return out;
}

const std::vector<IntradayShareSpec>& Instruments()
{
    static const std::vector<IntradayShareSpec> list = {
        {MakeRTKey(0, 0x7F01), {}, "NVX", "Novarex Holdings"},
        {MakeRTKey(0, 0x7F02), {}, "QLT", "Quillet Technologies"},
        {MakeRTKey(1, 0x7F03), {}, "HRB", "Harbourline Energy"},
    };
    return list;
}

// The exchanges of the charted indices, as their records' classes give them: the FTSE 100 on the
// UK indices, the US Industrials on the US indices (New York's hours and clock).
uint8_t IndexExchange(uint16_t id) { return id == 0xC00F ? 9 : 10; }

std::chrono::sys_days SysDay(PackedDate d)
{
    using namespace std::chrono;
    return sys_days{year{FullYear(d)} / month{unsigned(MonthOfYear(d))} / day{unsigned(DayOfMonth(d))}};
}

} // namespace

bool WriteDemoIntraday(const std::filesystem::path& folder, const DemoDatabase& demo, std::string* error)
{
    std::vector<PackedDate> days;
    for (PackedDate d = demo.databaseDate; d && days.size() < kDemoIntradayDays; d = PreviousWeekday(d, false))
        if (IsLondonTradingDay(SysDay(d)))
            days.insert(days.begin(), d);
    std::vector<std::pair<uint16_t, std::map<PackedDate, DailyPrices>>> shares;
    // Every share (of any class), and the indices the default layouts chart intraday.
    auto charted = [](uint16_t id) {
        return std::find(kLayoutIndexShares.begin(), kLayoutIndexShares.end(), id) != kLayoutIndexShares.end();
    };
    for (const DemoRecord& r : demo.records)
        if (!r.streams.empty() && ((r.id >= 0x4000 && r.id <= 0x7FFF) || charted(r.id)))
            shares.emplace_back(r.id, FullDays(r.streams[0].history));

    RTShareTable table = DefaultRTShareTable();
    std::vector<RTDayRecord> records;
    for (PackedDate day : days) {
        std::vector<IntradayShareSpec> specs;
        for (const auto& [id, prices] : shares) {
            auto it = prices.find(day);
            if (it == prices.end() || !it->second.priced || it->second.prices.previousClose <= 0)
                continue;
            IntradayShareSpec spec{MakeRTKey(0, id), it->second.prices, {}, {}};
            if (!IsShareId(id)) {
                spec.index = true;
                spec.exchange = IndexExchange(id);
            }
            specs.push_back(spec);
        }
        for (size_t i = 0; i < Instruments().size(); ++i) {
            IntradayShareSpec spec = Instruments()[i];
            float base = 120.0f + 85.0f * float(i) + float(day % 7);
            spec.prices = {base, base * 1.002f, base * 1.015f, base * 0.988f, base * 1.006f};
            specs.push_back(spec);
        }
        records.push_back(MakeIntradayDay(day, table, specs));
    }
    std::vector<const RTDayRecord*> pointers;
    for (const RTDayRecord& r : records)
        pointers.push_back(&r);
    return WriteRtStore(folder, table, pointers, error);
}

} // namespace qv::dev
