// Tests of the pre-set portfolios the program fills from the database.
#include "portfolio/PresetPortfolios.h"

#include "core/Database.h"
#include "core/PackedDate.h"
#include "core/PriceStatistics.h"
#include "core/ShareList.h"
#include "core/ShareStatistics.h"
#include "devtools/lib/ShareListChain.h"
#include "platform/ByteOrder.h"
#include "portfolio/AlarmPortfolios.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>
#include <vector>

using namespace qv;
using namespace qv::test;

namespace {

std::vector<std::pair<uint16_t, uint32_t>> Entries(const Portfolio* p)
{
    std::vector<std::pair<uint16_t, uint32_t>> out;
    for (uint32_t i = 0; i < CountPortfolioEntries(*p); ++i)
        out.emplace_back(RecordId(p->entries[i].record), p->entries[i].count);
    return out;
}

class PresetPortfolios : public DatabaseFixture {
protected:
    void SetUp() override
    {
        // Three shares, the second with two lines; period high and low dates set by hand; the lists
        // count from the latest date until a test says otherwise.
        GetHighLowOption() = HighLowOption{};
        dev::DbFile db;
        auto& records = db.entries.emplace_back().records;
        for (uint16_t id : {0x4001, 0x4002, 0x4003}) {
            dev::DbRecord r = dev::ShareRecord(id, "Share", 'O', "S");
            if (id == 0x4002)
                r.subRecords.push_back(r.subRecords[0]);
            records.push_back(r);
        }
        Load(dev::WriteQuorvaDat(db));
        LatestDatabaseDate = PackDate(15, 3, 2000);
        setDates(0x4001, 0, PackDate(15, 3, 2000), PackDate(1, 1, 2000));
        setDates(0x4002, 0, PackDate(1, 3, 2000), PackDate(14, 3, 2000));
        setDates(0x4002, 1, 0, PackDate(6, 3, 2000));
        setDates(0x4003, 0, PackDate(5, 3, 2000), 0);
    }
    void TearDown() override
    {
        FreePortfolioChain();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        GetHighLowOption() = HighLowOption{};
        LatestDatabaseDate = 0;
    }
    static void setDates(uint16_t id, uint32_t line, uint16_t high, uint16_t low)
    {
        uint8_t* sub = GetSubRecord(RecordCursor{RecordIndex[id], 0}, line);
        StoreU16(sub + kStatPeriodHighDate, high);
        StoreU16(sub + kStatPeriodLowDate, low);
    }
};

using Rows = std::vector<std::pair<uint16_t, uint32_t>>;

} // namespace

TEST_F(PresetPortfolios, NewHighsAndLowsHoldTheLinesWhoseExtremeDateIsOnOrAfterTheBase)
{
    CreatePresetPortfolios();
    Portfolio* lows = FindPortfolioByNumber(kNewLowsNumber);
    Portfolio* highs = FindPortfolioByNumber(kNewHighsNumber);
    UpdatePresetPortfolios();
    EXPECT_EQ(Entries(highs), (Rows{{0x4001, 0}}));
    EXPECT_EQ(Entries(lows), Rows{});

    GetHighLowOption() = {1, 10, 0, 0}; // ten days back: 5 March
    UpdatePresetPortfolios();
    EXPECT_EQ(Entries(highs), (Rows{{0x4001, 0}, {0x4003, 0}}));
    EXPECT_EQ(Entries(lows), (Rows{{0x4002, 0}, {0x4002, 1}}));

    GetHighLowOption() = {2, 0, PackDate(1, 1, 2000), 0};
    UpdatePresetPortfolios();
    EXPECT_EQ(Entries(highs), (Rows{{0x4001, 0}, {0x4002, 0}, {0x4003, 0}}));
    EXPECT_EQ(Entries(lows), (Rows{{0x4001, 0}, {0x4002, 0}, {0x4002, 1}}));
    EXPECT_EQ(highs->last, 2);

    // Back to the previous update with no date stored: the first database's date stands in.
    const PackedDate firstLoad = FirstLoadDate;
    FirstLoadDate = PackDate(6, 3, 2000);
    GetHighLowOption() = {2, 0, 0, 0};
    UpdatePresetPortfolios();
    EXPECT_EQ(Entries(highs), (Rows{{0x4001, 0}}));
    EXPECT_EQ(Entries(lows), (Rows{{0x4002, 0}, {0x4002, 1}}));
    FirstLoadDate = firstLoad;
}

TEST_F(PresetPortfolios, RoutinesOverTheChain)
{
    CreatePresetPortfolios();
    auto add = [](uint16_t number, uint8_t type) {
        auto* p = new Portfolio;
        p->number = number;
        p->type = type;
        p->name = std::to_string(number);
        ResetPortfolioEntries(*p);
        AppendToChain(p);
        return p;
    };
    Portfolio* a = add(0, kUserPortfolio);
    Portfolio* b = add(2, kUserPortfolio);
    Portfolio* group = add(3, kGroupPortfolio);
    group->members = new PortfolioMember{new PortfolioMember{nullptr, 3}, 1};
    EXPECT_EQ(LowestFreePortfolioNumber(), 1);
    EXPECT_EQ(FindPortfolioByNumber(2), b);

    AddPortfolioEntry(*a, {RecordIndex[0x4001], 0});
    AddPortfolioEntry(*a, {RecordIndex[0x4002], 1});
    AddPortfolioEntry(*b, {RecordIndex[0x4002], 1});
    AddPortfolioEntry(*b, {RecordIndex[0x4003], 0});
    RebuildGroupPortfolio(group);
    EXPECT_EQ(Entries(group), (Rows{{0x4001, 0}, {0x4002, 1}, {0x4003, 0}}));

    // A copy into a member rebuilds the group.
    CopyPortfolio(b, FindPortfolioByNumber(kNewHighsNumber), 0);
    EXPECT_EQ(b->name, "New Highs");
    EXPECT_EQ(Entries(group), (Rows{{0x4001, 0}, {0x4002, 1}}));

    a->current = 7;
    a->firstVisible = 9;
    RecountPortfolioEntries();
    EXPECT_EQ(a->last, 1);
    EXPECT_EQ(a->current, 0);
    EXPECT_EQ(a->firstVisible, 0);

    // Deleting a portfolio drops it from the groups and points its lists at the default one.
    ShareList* list = GetShareListForSource(a);
    DeletePortfolio(a);
    EXPECT_EQ(FindPortfolioByNumber(0), nullptr);
    EXPECT_EQ(group->members->numberPlusOne, 3);
    EXPECT_EQ(group->members->next, nullptr);
    EXPECT_EQ(list->source, group); // the copy made the other one a pre-set list
}

TEST_F(PresetPortfolios, TheCurrentListKeepsItsOwnSourceUnlessAPresetWasStored)
{
    // The stored number picks the pre-set; none stored (-1, the default) or a number that is not a
    // pre-set leaves the list its own source, so that the exit stores no pre-set for every later start.
    const struct {
        int32_t stored;
        uint16_t shown; // 0: the list's own source
    } cases[] = {{kNoPortfolioNumber, 0}, {7, 0}, {kNewHighsNumber, kNewHighsNumber}, {kFilterPortfolioNumber, kFilterPortfolioNumber}};
    for (const auto& c : cases) {
        StoreCurrentPortfolioNumber(c.stored);
        CreatePresetPortfolios();
        const Portfolio* source = CurrentShareList()->source;
        EXPECT_EQ(source ? source->number : 0, c.shown) << c.stored;
        SaveAllPortfolios(false);
        EXPECT_EQ(StoredCurrentPortfolioNumber(), c.shown ? int32_t(c.shown) : kNoPortfolioNumber) << c.stored;
        FreePortfolioChain();
    }
}

TEST_F(PresetPortfolios, AlarmPortfoliosFillWithTheNewHighsAndLows)
{
    AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    const AlarmPortfolioHooks saved = hooks;
    hooks.range = {0, 0};
    hooks.history = [](uint8_t* record, uint32_t, uint32_t) {
        const float last = RecordId(record) == 0x4003 ? 120.0f : 90.0f;
        return std::vector<AlarmDay>{{100, 100.0f}, {101, last}};
    };
    hooks.shareAlarms = [] {
        ShareAlarm a;
        a.shareId = 0x4001;
        a.lowerOn = 1;
        a.lower = 95;
        return std::vector<ShareAlarm>{a};
    };
    hooks.globalCriteria.assign(6, MoveCriterion{});
    hooks.globalCriteria[0] = {1, 1, 10};
    hooks.moveTest = [](std::span<const AlarmDay> days, int day, const MoveCriterion& c, bool rise, int) {
        return rise && day > 0 && days[size_t(day)].close >= days[size_t(day - 1)].close * (1 + c.threshold / 100);
    };
    CreatePresetPortfolios();
    UpdatePresetPortfolios();
    EXPECT_EQ(Entries(FindPortfolioByNumber(kAlarmsNumber)), (Rows{{0x4001, 0}}));
    EXPECT_EQ(Entries(FindPortfolioByNumber(kGlobalAlarmsNumber)), (Rows{{0x4003, 0}}));
    hooks = saved;
}
