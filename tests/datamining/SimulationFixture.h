// A database for the returns simulation: FTSE 100 shares whose closes step from one price to
// another after 1 December 2000, each from its own first day to mid-December 2001.
#pragma once

#include "../lists/ListFixture.h"

#include <string>
#include <vector>

namespace qv::test {

struct SimulationShare {
    std::string name;
    int32_t before = 100; // the close up to 1 December 2000
    int32_t after = 100;  // the close after it
    uint16_t firstDay = PackDate(1, 11, 2000);
};

inline dev::PriceHistory SimulationHistory(const SimulationShare& s)
{
    constexpr uint16_t kStep = PackDate(1, 12, 2000), kEnd = PackDate(14, 12, 2001);
    dev::PriceHistory h;
    h.firstDate = s.firstDay;
    for (uint16_t d = s.firstDay; d <= kEnd; d = WeekdaysAfter(d, 1)) {
        dev::HistoryDay day;
        day.close = d <= kStep ? s.before : s.after;
        h.days.push_back(day);
    }
    return h;
}

class SimulationFixture : public DatabaseFixture {
protected:
    void LoadSimulationShares(const std::vector<SimulationShare>& shares)
    {
        std::vector<dev::DbRecord> records;
        uint16_t id = 0x4001;
        for (const SimulationShare& s : shares) {
            dev::DbRecord r = FixtureRecord({id++, s.name, {11}, MakeRecordFlags(kMarketMain, kIndexFtse100)});
            r.subRecords = {dev::PriceSubRecord(11, 100, SimulationHistory(s))};
            records.push_back(std::move(r));
        }
        // The calendar ends with the shares, so that none of them is too old to be listed.
        dev::DbRecord calendar =
            FixtureRecord({kMarketCalendarId, "~Market", {1}, MakeRecordFlags(kMarketIndex, kIndexNone)});
        calendar.subRecords = {dev::PriceSubRecord(1, 100, SimulationHistory({"~Market", 100, 100, PackDate(2, 11, 1998)}))};
        records.push_back(std::move(calendar));
        dev::DbFile file = OneEntry(std::move(records));
        file.entries[0].extra = dev::DemoShareFieldTable();
        Load(dev::WriteQuorvaDat(file));
    }
};

} // namespace qv::test
