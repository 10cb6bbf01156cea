// Tests of the alarm pre-set portfolios.
#include "portfolio/AlarmPortfolios.h"

#include "core/Database.h"
#include "core/Memory.h"
#include "core/PackedDate.h"
#include "core/RecordAccess.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "devtools/lib/PriceStreamEncoder.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>
#include <vector>

using namespace qv;
using namespace qv::test;

namespace {

std::vector<AlarmDay> Days(std::vector<float> closes)
{
    std::vector<AlarmDay> days;
    for (size_t i = 0; i < closes.size(); ++i)
        days.push_back({uint16_t(100 + i), closes[i]});
    return days;
}

} // namespace

TEST(AlarmDays, TheRangeOfDaysFollowsTheOption)
{
    std::vector<AlarmDay> days = Days({1, 2, 3, 4, 5});
    EXPECT_EQ(FirstTestedDay(days, {0, 0}, 0), 4);
    EXPECT_EQ(FirstTestedDay(days, {1, 2}, 0), 3);
    EXPECT_EQ(FirstTestedDay(days, {1, 50}, 0), 0);
    EXPECT_EQ(FirstTestedDay(days, {2, 0}, 102), 3); // the days after the first load
    EXPECT_EQ(FirstTestedDay(days, {2, 0}, 104), 5); // none
    EXPECT_EQ(FirstTestedDay({}, {1, 3}, 0), 0);
}

TEST(AlarmDays, TheTrailingStopRisesWithTheCloseAndACapBringsItDown)
{
    // 10%: 90, 180, then 90 leaves 180 (capped: 110 is the cap), then 135.
    std::vector<AlarmDay> days = Days({100, 200, 100, 150});
    EXPECT_FLOAT_EQ(TrailingStopLevel(days, 0, 10, false), 180);
    EXPECT_FLOAT_EQ(TrailingStopLevel(days, 0, 10, true), 135);
    EXPECT_FLOAT_EQ(TrailingStopLevel(days, 2, 10, false), 135);
    EXPECT_FLOAT_EQ(TrailingStopLevel(days, 0, 150, false), 0); // a negative level becomes 0

    ShareAlarm stop;
    stop.stopOn = 1;
    stop.stopPercent = 10;
    // Fires where the close falls to the level from above it the day before: day 2, not day 3.
    EXPECT_EQ(FindShareAlarmDay(stop, days, 0, 0), 2);
    // The stop is worked out over the whole history and the first judged day compares with the day
    // before it, so a one-day range still sees the crossing.
    EXPECT_EQ(FindShareAlarmDay(stop, days, 2, 0), 2);
    EXPECT_EQ(FindShareAlarmDay(stop, days, 3, 0), -1);
    EXPECT_EQ(FindShareAlarmDay(stop, Days({200, 170}), 1, 0), 1);
}

TEST(AlarmDays, TheLatestDayOnWhichAnyConditionHoldsIsTaken)
{
    std::vector<AlarmDay> days = Days({100, 130, 90, 110});
    ShareAlarm limits;
    limits.upperOn = 1;
    limits.upper = 125;
    EXPECT_EQ(FindShareAlarmDay(limits, days, 0, 0), 1);
    EXPECT_EQ(FindShareAlarmDay(limits, days, 2, 0), -1);
    limits.lowerOn = 1;
    limits.lower = 95;
    EXPECT_EQ(FindShareAlarmDay(limits, days, 0, 0), 2);

    ShareAlarm dated;
    dated.dateOn = 1;
    dated.date = 500;
    EXPECT_EQ(FindShareAlarmDay(dated, days, 3, 499), -1);
    EXPECT_EQ(FindShareAlarmDay(dated, days, 3, 500), 3);

    GetAlarmPortfolioHooks().moveTest = [](std::span<const AlarmDay>, int day, const MoveCriterion& c, bool rise, int) {
        return !rise && day == int(c.kind);
    };
    ShareAlarm moves;
    moves.falls[2] = {1, 1, 5};
    moves.rises[0] = {1, 3, 5}; // a rise criterion never fires with this test
    EXPECT_EQ(FindShareAlarmDay(moves, days, 0, 0), 1);
    moves.falls[2].enabled = 0;
    EXPECT_EQ(FindShareAlarmDay(moves, days, 0, 0), -1);
    GetAlarmPortfolioHooks() = AlarmPortfolioHooks{};
}

class AlarmPortfolios : public DatabaseFixture {};

TEST_F(AlarmPortfolios, SharesWhoseAlarmsFireFillTheListsPortfolio)
{
    Load(dev::WriteQuorvaDat(OneEntry({dev::ShareRecord(0x4001, "A", 'O', "A"), dev::ShareRecord(0x4002, "B", 'O', "B"),
                                       dev::ShareRecord(0x4003, "C", 'O', "C")})));
    AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    hooks.range = {1, 2};
    hooks.history = [](uint8_t* record, uint32_t, uint32_t) {
        return RecordId(record) == 0x4002 ? Days({100, 200, 150}) : Days({100, 100, 100});
    };
    hooks.shareAlarms = [] {
        ShareAlarm a;
        a.shareId = 0x4002;
        a.upperOn = 1;
        a.upper = 180;
        ShareAlarm b = a;
        b.shareId = 0x4001;
        ShareAlarm gone = a;
        gone.shareId = 0x4999;
        return std::vector<ShareAlarm>{b, a, gone};
    };
    Portfolio alarms;
    ResetPortfolioEntries(alarms);
    AddPortfolioEntry(alarms, {RecordIndex[0x4003], 0});
    ShareList list{};
    list.source = &alarms;
    FillPriceAlarmPortfolio(&list, 0);
    ASSERT_EQ(CountPortfolioEntries(alarms), 1u);
    EXPECT_EQ(alarms.entries[0].record, RecordIndex[0x4002]);

    hooks.globalCriteria.assign(6, MoveCriterion{});
    hooks.globalCriteria[0] = {1, 0, 10};
    hooks.moveTest = [](std::span<const AlarmDay> days, int day, const MoveCriterion&, bool rise, int) {
        return rise && day > 0 && days[size_t(day)].close > days[size_t(day - 1)].close;
    };
    hooks.range = {0, 0};
    FillMoveAlarmPortfolio(&list);
    ASSERT_EQ(CountPortfolioEntries(alarms), 0u); // the rise to 200 lies before the last day
    hooks.range = {1, 2};
    FillMoveAlarmPortfolio(&list);
    ASSERT_EQ(CountPortfolioEntries(alarms), 1u);
    EXPECT_EQ(alarms.entries[0].record, RecordIndex[0x4002]);
    ProFree(alarms.entries);
    hooks = AlarmPortfolioHooks{};
}

TEST_F(AlarmPortfolios, ManySharesAreTestedOnSeveralThreadsAndKeepTheDatabasesOrder)
{
    std::vector<dev::DbRecord> records;
    for (uint16_t i = 0; i < 100; ++i)
        records.push_back(dev::ShareRecord(uint16_t(0x4001 + i), "S" + std::to_string(i), 'O', "S" + std::to_string(i)));
    Load(dev::WriteQuorvaDat(OneEntry(records)));
    AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    hooks.range = {1, 1};
    // Every third share rose on its last day; the share alarms watch every other share for a level.
    hooks.history = [](uint8_t* record, uint32_t, uint32_t) {
        return RecordId(record) % 3 == 0 ? Days({100, 120}) : Days({100, 100});
    };
    hooks.moveTest = [](std::span<const AlarmDay> days, int day, const MoveCriterion&, bool rise, int) {
        return rise && day > 0 && days[size_t(day)].close > days[size_t(day - 1)].close;
    };
    hooks.globalCriteria.assign(6, MoveCriterion{});
    hooks.globalCriteria[0] = {1, 1, 10};
    hooks.shareAlarms = [] {
        std::vector<ShareAlarm> alarms;
        for (uint16_t id = 0x4001; id <= 0x4064; id += 2) {
            ShareAlarm a;
            a.shareId = id;
            a.upperOn = 1;
            a.upper = 110;
            alarms.push_back(a);
        }
        return alarms;
    };
    Portfolio global, levels;
    ResetPortfolioEntries(global);
    ResetPortfolioEntries(levels);
    FillMoveAlarms(&global);
    FillPriceAlarms(&levels, 0);
    std::vector<uint16_t> rose, hit;
    for (uint32_t i = 0; i < CountPortfolioEntries(global); ++i)
        rose.push_back(RecordId(global.entries[i].record));
    for (uint32_t i = 0; i < CountPortfolioEntries(levels); ++i)
        hit.push_back(RecordId(levels.entries[i].record));
    // The global portfolio in the database's record order, the share alarms' in theirs.
    std::vector<uint16_t> wantRose, wantHit;
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0; r = NextRecord(r))
        if (RecordId(r) % 3 == 0)
            wantRose.push_back(RecordId(r));
    for (uint16_t id = 0x4001; id <= 0x4064; id += 2)
        if (id % 3 == 0)
            wantHit.push_back(id);
    EXPECT_EQ(rose, wantRose);
    EXPECT_EQ(hit, wantHit);
    ProFree(global.entries);
    ProFree(levels.entries);
    hooks = AlarmPortfolioHooks{};
}

TEST_F(AlarmPortfolios, TheHistoryComesFromThePriceStream)
{
    dev::PriceHistory history;
    history.firstDate = PackDate(4, 1, 1999);
    for (int close : {240, 250, 230}) {
        dev::HistoryDay day;
        day.close = close;
        history.days.push_back(day);
    }
    dev::DbRecord r = dev::ShareRecord(0x4001, "A", 'O', "A");
    r.subRecords[0].priceScale = 1;
    r.subRecords[0].firstDate = history.firstDate;
    ASSERT_TRUE(dev::EncodePriceStream(history, r.subRecords[0].body));
    Load(dev::WriteQuorvaDat(OneEntry({r})));
    std::vector<AlarmDay> days = DecodeAlarmHistory(RecordIndex[0x4001], 0, 0);
    ASSERT_EQ(days.size(), 3u);
    EXPECT_EQ(days[0].date, PackDate(4, 1, 1999));
    EXPECT_EQ(days[2].date, PackDate(6, 1, 1999));
    EXPECT_EQ(days[2].close, 230.0f);
}
