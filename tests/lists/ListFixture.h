// A small database for the list-table tests: shares of every kind the fixed lists tell apart, each
// with a short price history ending on the market calendar's last day, and share lists over it.
#pragma once

#include "core/Memory.h"
#include "core/PackedDate.h"
#include "core/RecordFlags.h"
#include "core/ShareList.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"
#include "lists/ListSettings.h"
#include "support/DatabaseFixture.h"
#include "support/PriceFixtures.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qv::test {

constexpr uint16_t kListDay0 = PackDate(6, 1, 2020);
constexpr int kListDays = 30;

struct FixtureShare {
    uint16_t id;
    std::string name;
    std::vector<uint8_t> kinds; // one line per kind
    uint16_t flags = kRecordFlagsNone;
    uint8_t exchange = 0;
    uint16_t sectorWord = 0;
    int lastDay = kListDays - 1;  // the history stops here (weekdays from kListDay0)
    int32_t start = 1000;        // first close
    int32_t step = 10;           // change a day
    std::vector<int> holidays{}; // weekdays without data ('A')
};

inline dev::PriceHistory FixtureHistory(const FixtureShare& s)
{
    dev::PriceHistory h;
    h.firstDate = kListDay0;
    for (int i = 0; i <= s.lastDay; ++i) {
        dev::HistoryDay d;
        if (std::find(s.holidays.begin(), s.holidays.end(), i) != s.holidays.end()) {
            d.kind = dev::HistoryDay::Kind::NoDataA;
            h.days.push_back(d);
            continue;
        }
        d.mode = 1;
        d.close = s.start + s.step * i;
        d.open = d.close;
        d.high = d.close + (s.step >= 0 ? 0 : 5);
        d.low = d.close - (s.step >= 0 ? 5 : 0);
        d.hasVolume = true;
        d.volumeWord = 100;
        h.days.push_back(d);
    }
    return h;
}

inline dev::DbRecord FixtureRecord(const FixtureShare& s)
{
    dev::DbRecord r = dev::ShareRecord(s.id, s.name, s.exchange, s.name.substr(0, 3));
    r.head[kRecordFlagsOffset - 4] = uint8_t(s.flags);
    r.head[kRecordFlagsOffset - 3] = uint8_t(s.flags >> 8);
    r.head[dev::kSectorWordOffset - 4] = uint8_t(s.sectorWord);
    r.head[dev::kSectorWordOffset - 3] = uint8_t(s.sectorWord >> 8);
    r.subRecords.clear();
    for (uint8_t kind : s.kinds)
        r.subRecords.push_back(dev::PriceSubRecord(kind, 100, FixtureHistory(s)));
    return r;
}

// The stored sector word of the demo field table's first investment-trust sector.
inline uint16_t TrustSectorWord()
{
    const auto& names = dev::DemoSectorNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i].find("Investment") != std::string::npos)
            return uint16_t(i + 1);
    return 0;
}

// Four shares of the list-view tests: two FTSE 100 members with a last day's change (one down, one
// up), one more member and an AIM share.
inline std::vector<FixtureShare> FourListShares()
{
    return {
        {0x4001, "Alpha Mining", {11}, MakeRecordFlags(kMarketMain, kIndexFtse100)},
        {0x4002, "Bravo Foods", {11}, MakeRecordFlags(kMarketMain, kIndexFtse100), 0, 0, kListDays - 1, 2000, -10},
        {0x4003, "Charlie Holdings", {11}, MakeRecordFlags(kMarketAim, kIndexNone)},
        {0x4004, "Delta Power", {11}, MakeRecordFlags(kMarketMain, kIndexFtse100), 0, 0, kListDays - 1, 500, 3},
    };
}

// The database file of the shares and the market calendar, with a field table in its entry.
inline std::vector<uint8_t> ListSharesFile(const std::vector<FixtureShare>& shares,
                                           std::vector<uint8_t> fieldTable = dev::DemoShareFieldTable())
{
    std::vector<dev::DbRecord> records;
    for (const FixtureShare& s : shares)
        records.push_back(FixtureRecord(s));
    FixtureShare calendar{kMarketCalendarId, "~Market", {1}, MakeRecordFlags(kMarketIndex, kIndexNone)};
    records.push_back(FixtureRecord(calendar));
    dev::DbFile file = OneEntry(std::move(records));
    file.entries[0].extra = std::move(fieldTable);
    return dev::WriteQuorvaDat(file);
}

class ListFixture : public DatabaseFixture {
protected:
    ~ListFixture() override
    {
        for (ShareList* list : lists_) {
            ProFree(list->entries);
            ProFree(list);
        }
        FreeSettingLayouts();
    }

    void LoadShares(const std::vector<FixtureShare>& shares, std::vector<uint8_t> fieldTable = dev::DemoShareFieldTable())
    {
        Load(ListSharesFile(shares, std::move(fieldTable)));
    }

    ShareList* NewList(int32_t number, int32_t capacity = 4)
    {
        auto* list = static_cast<ShareList*>(ProCalloc(1, sizeof(ShareList), "Share list"));
        list->word = number;
        list->sortDirection = 1;
        list->capacity = capacity;
        list->entries = static_cast<RecordCursor*>(ProCalloc(uint32_t(capacity), sizeof(RecordCursor), "Rows"));
        lists_.push_back(list);
        return list;
    }

    static std::vector<std::string> RowNames(const ShareList* list)
    {
        std::vector<std::string> names;
        for (int32_t i = 0; i < ShareListCount(list); ++i) {
            std::string name(GetRecordTexts(list->entries[i].record).name);
            if (list->entries[i].count != 0) {
                name.push_back('/');
                name.append(std::to_string(list->entries[i].count));
            }
            names.push_back(name);
        }
        return names;
    }

    std::vector<ShareList*> lists_;
};

} // namespace qv::test
