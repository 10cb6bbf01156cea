// Tests of the alarm dialogs' lines: the texts of the alarms that hold, of those set, and the
// dealings window.
#include "tools/alarms/AlarmLines.h"

#include "core/CodedText.h"
#include "core/DateText.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "lists/DirectorsDealings.h"
#include "support/DatabaseFixture.h"
#include "support/DealingsSample.h"
#include "tools/alarms/MoveAlarm.h"
#include "tools/options/OptionSettings.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

std::vector<AlarmDay> Days(std::vector<float> closes)
{
    std::vector<AlarmDay> days;
    for (size_t i = 0; i < closes.size(); ++i)
        days.push_back({uint16_t(100 + i), closes[i]});
    return days;
}

std::vector<std::string> Joined(const std::vector<AlarmText>& texts)
{
    std::vector<std::string> out;
    for (const AlarmText& t : texts)
        out.push_back(t[0] + t[1] + t[2]);
    return out;
}

class AlarmLines : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetAlarmPortfolioHooks().moveTest = [](std::span<const AlarmDay> days, int day, const MoveCriterion& c, bool rise, int) {
            return CheckMoveAlarm(days, {c.enabled != 0, c.kind, c.threshold, rise}, day, days[size_t(day)].close, 0, false);
        };
    }
    void TearDown() override { GetAlarmPortfolioHooks() = AlarmPortfolioHooks{}; }
};

} // namespace

TEST_F(AlarmLines, EachAlarmThatHoldsIsListedOnceInTheTestOrder)
{
    ShareAlarmRecord r = ShareAlarmRecord::Defaults(1000);
    r.increaseOn = r.decreaseOn = 1;
    r.increaseLevel = 120;
    r.decreaseLevel = 90;
    r.riseOn[0] = 1;       // 5% in 1 day
    r.fallOn[2] = 1;       // 20% in 10 days
    r.stopOn = 1;          // 10% from the high of 125: 112.5, crossed on the last day
    r.dateOn = 1;
    r.date = 1000;
    r.dealingsOn = 1;
    GetAlarmPortfolioHooks().dealing = [](uint16_t id, uint16_t) { return id == 7 ? kMajorHoldingDealing : uint8_t(0); };
    const std::vector<AlarmDay> days = Days({100, 125, 125, 112});
    const ShareAlarm alarm = r.toAlarm(7, 0);
    // Judged: the last two days. The 125 of day 2 holds the increase; 112 is no 5% rise on the day.
    EXPECT_EQ(Joined(TriggeredAlarmTexts(alarm, days, 2, 1000, false)),
              (std::vector<std::string>{"Stop-loss 10.00%", "Date " + FormatDateWithDay(1000), "Major Holding Dealing",
                                        "Increase above 120 to 125"}));
    // Over every day: the rise of day 1 (25% in 1 day) and the date not yet reached.
    const std::vector<AlarmText> all = TriggeredAlarmTexts(alarm, days, 0, 999, false);
    EXPECT_EQ(Joined(all), (std::vector<std::string>{"Stop-loss 10.00%", "Major Holding Dealing",
                                                     "Increase above 120 to 125", "Increase 25% in 1 day"}));
    EXPECT_EQ(all[3], (AlarmText{"In", "crease 25% in 1 day", ""}));
    // Another share, no dealing: a close equal to the decrease level holds, and so does a close equal
    // to the stop (90) on the day it is crossed.
    EXPECT_EQ(Joined(TriggeredAlarmTexts(r.toAlarm(8, 0), Days({100, 90}), 1, 0, false)),
              (std::vector<std::string>{"Decrease below 90 to 90", "Stop-loss 10.00%"}));
    EXPECT_TRUE(TriggeredAlarmTexts(ShareAlarmRecord::Defaults(0).toAlarm(7, 0), days, 0, 0, false).empty());
}

class WeeklyAlarms : public test::DatabaseFixture {
protected:
    void TearDown() override
    {
        GetAlarmPortfolioHooks() = AlarmPortfolioHooks{};
        AlarmPortfolioSettings().intermediateRises = keptIntermediate;
    }
    bool keptIntermediate = AlarmPortfolioSettings().intermediateRises;
};

// A unit trust's records are weekly: its move rows count n days as weeks, in the alarm portfolios and
// in the triggered list alike. Over these closes a rise row "6 days" is +124% from 50, but as 2 weeks
// only +12% from 100.
TEST_F(WeeklyAlarms, AUnitTrustsMoveRowsCountTheirDaysAsWeeks)
{
    dev::DbRecord trust = dev::ShareRecord(0x4002, "Trust", 'O', "T");
    trust.subRecords[0].kind = SubRecordKind::UnitTrust;
    Load(dev::WriteQuorvaDat(test::OneEntry({dev::ShareRecord(0x4001, "Ordinary", 'O', "O"), trust})));
    EXPECT_EQ(SharePeriodType(RecordIndex[0x4001]), SubRecordKind::Ordinary);
    EXPECT_EQ(SharePeriodType(RecordIndex[0x4002]), kWeeklyPeriodType);

    AlarmPortfolioSettings().intermediateRises = false;
    AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    hooks.moveTest = ProgramMoveTest;
    hooks.range = {0, 0};
    hooks.history = [](uint8_t*, uint32_t, uint32_t) { return Days({50, 50, 50, 50, 50, 100, 100, 112}); };
    const MoveCriterion rise{1, 6, 50};
    hooks.globalCriteria.assign(6, MoveCriterion{});
    hooks.globalCriteria[0] = rise;
    hooks.shareAlarms = [rise] {
        std::vector<ShareAlarm> alarms(2);
        alarms[0].shareId = 0x4001;
        alarms[1].shareId = 0x4002;
        alarms[0].rises[0] = alarms[1].rises[0] = rise;
        return alarms;
    };
    Portfolio global, shares;
    ResetPortfolioEntries(global);
    ResetPortfolioEntries(shares);
    FillMoveAlarms(&global);
    FillPriceAlarms(&shares, 0);
    for (const Portfolio* p : {&global, &shares}) {
        ASSERT_EQ(CountPortfolioEntries(*p), 1u);
        EXPECT_EQ(RecordId(p->entries[0].record), 0x4001);
    }
    ProFree(global.entries);
    ProFree(shares.entries);

    ShareAlarm tenPercent;
    tenPercent.rises[0] = {1, 6, 10};
    const std::vector<AlarmDay> days = Days({50, 50, 50, 50, 50, 100, 100, 112});
    EXPECT_EQ(Joined(TriggeredAlarmTexts(tenPercent, days, 7, 0, false, SubRecordKind::Ordinary)),
              std::vector<std::string>{"Increase 124% in 6 days"});
    EXPECT_EQ(Joined(TriggeredAlarmTexts(tenPercent, days, 7, 0, false, SharePeriodType(RecordIndex[0x4002]))),
              std::vector<std::string>{"Increase 12% in 2 weeks"});
}

TEST(AlarmLinesSet, EverySetAlarmIsListedWhetherOrNotItHolds)
{
    ShareAlarmRecord r = ShareAlarmRecord::Defaults(PackDate(1, 12, 2026));
    EXPECT_TRUE(SetAlarmTexts(r).empty());
    r.increaseOn = r.decreaseOn = r.stopOn = r.dealingsOn = r.dateOn = 1;
    r.increaseLevel = 250.5f;
    r.riseOn[1] = r.fallOn[0] = 1;
    EXPECT_EQ(SetAlarmTexts(r), (std::vector<std::string>{"Increase to 250.5", "Decrease to 100",
                                                          "Increase 10.00% in 4 days", "Decrease 5.00% in 1 days",
                                                          "Stop-loss 10.00%", "Directors' Dealings",
                                                          "On date " + FormatDateWithDay(PackDate(8, 12, 2026))}));
}

TEST(DealingsWindow, ADealingCountsFromTodayLessTheCountOverFivePlusSix)
{
    struct Case {
        AlarmDayRange range;
        PackedDate previous;
        PackedDate start;
    } cases[] = {
        {{0, 0}, 0, 1000 - 6},
        {{1, 1}, 0, 1000 - 6},
        {{1, 5}, 0, 1000 - 7},
        {{1, 500}, 0, 1000 - 106},
        {{2, 0}, 990, 1000 - 8},   // ten days since the previous update
        {{2, 0}, 0, 1000 - 6},     // none yet
        {{1, 999}, 0, 1000 - 205},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DealingsWindowStart(1000, c.range, c.previous), c.start) << int(c.range.mode) << " " << c.range.days;
    EXPECT_EQ(DealingsWindowStart(3, {1, 999}, 0), 1);
}

TEST(DealingsWindow, TheLatestDealOfTheShareTellsWhoDealt)
{
    dev::DealingsFileSpec spec = test::DealingsSample();
    // A later major holder's deal in the director's share.
    dev::DealingItemSpec major = spec.items[2];
    major.shareId = 0x4001;
    major.date = PackDate(10, 3, 2025);
    major.investor = "Eastfield Trust";
    spec.items.push_back(major);
    const dev::DealingsFileBytes file = dev::WriteDealingsFile(spec);
    std::vector<uint8_t> block;
    DealingsFileInfo info;
    CodingTables tables;
    ASSERT_EQ(ParseDealingsFile(file.bytes, block, info, tables), DealingsParse::Ok);
    struct Case {
        uint16_t share;
        PackedDate since;
        uint8_t kind;
    } cases[] = {
        {0x4001, PackDate(1, 3, 2025), kMajorHoldingDealing},
        {0x4001, PackDate(11, 3, 2025), 0},   // both before the window
        {0x4002, PackDate(3, 3, 2025), kMajorHoldingDealing},  // on the first day counts
        {0x4002, PackDate(4, 3, 2025), 0},
        {0x4003, 1, 0},                       // no dealings (holdings are not deals)
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindShareDealing(block.data(), info, tables, c.share, c.since), c.kind) << c.share << " " << c.since;
    spec.items.pop_back();
    const dev::DealingsFileBytes directors = dev::WriteDealingsFile(spec);
    ASSERT_EQ(ParseDealingsFile(directors.bytes, block, info, tables), DealingsParse::Ok);
    EXPECT_EQ(FindShareDealing(block.data(), info, tables, 0x4001, 1), kDirectorsDealing);
}
