// The indicator windows drawn against other series: the relative-strength pane and the relative
// price array, and the market-breadth types from the cached series (key, the list's name while a
// build runs, every weekday fed, the share's own days only, the TRIN start day, levels and
// decimals).
#include "chartmodel/BreadthCalc.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "chartmodel/RelativeSeries.h"
#include "support/IndicatorDays.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

test::Run RunWith(const IndicatorRecord& record, const std::vector<DayRecord>& days,
                  const std::vector<DayRecord>* other, PortfolioSeriesCache* cache = nullptr, int firstVisible = 0)
{
    test::Run run;
    IndicatorInput in;
    in.record = record;
    in.days = days;
    in.firstVisibleDate = days[size_t(firstVisible)].date;
    in.loadShare = [other](uint16_t, uint32_t) { return other ? *other : std::vector<DayRecord>{}; };
    in.breadth = cache;
    const IndicatorRoute& route = RouteOf(record.type);
    route.routine(in, run.range, run.result, route.variant);
    return run;
}

TEST(RelativeSeries, ValuesFollowTheRatioFromTheFirstClose)
{
    const std::vector<DayRecord> own = test::DaysOfCloses({100, 110, 120, 90, 80});
    // The comparison starts a day late, misses the fourth day and has a zero close on the last.
    std::vector<DayRecord> comparison = {own[1], own[2], own[4]};
    comparison[0].close = 50;
    comparison[1].close = 40;
    comparison[2].close = 0;
    const std::vector<double> v = BuildRelativeValues(own, comparison);
    ASSERT_EQ(v.size(), 5u);
    EXPECT_TRUE(std::isnan(v[0]));         // before the comparison's history
    EXPECT_DOUBLE_EQ(v[1], 110);           // base 50: the share's own close
    EXPECT_DOUBLE_EQ(v[2], 50 * 120 / 40.0);
    EXPECT_DOUBLE_EQ(v[3], 50 * 90 / 40.0); // the last comparison close is carried
    EXPECT_TRUE(std::isnan(v[4]));         // a zero comparison close divides nothing

    // A share identical to its comparison is flat at its first close.
    for (double x : BuildRelativeValues(own, own))
        EXPECT_DOUBLE_EQ(x, 100);
    const std::vector<DayRecord> array = BuildRelativeSeries(own, comparison);
    ASSERT_EQ(array.size(), 3u);
    EXPECT_EQ(array[0].date, own[1].date);
    EXPECT_FLOAT_EQ(array[2].close, 50 * 90 / 40.0f);
}

TEST(RelativeSeries, ThePaneDrawsFromTheFirstShownRecord)
{
    const std::vector<DayRecord> own = test::DaysOfCloses({100, 110, 120, 90, 80});
    std::vector<DayRecord> comparison = own;
    for (DayRecord& d : comparison)
        d.close = 50;  // a flat comparison: the share's own closes from the first shown
    IndicatorRecord record = IndicatorRecord::Of(59, 0, 0, int16_t(uint16_t(0xB605)));
    const test::Run run = RunWith(record, own, &comparison, nullptr, 2);
    ASSERT_TRUE(run.drawn());
    EXPECT_EQ(run.result.lines[0].leadIn, 2);
    EXPECT_EQ(run.values(), (std::vector<double>{120, 90, 80}));
    // A comparison that is gone: no line, the pane keeps its caption.
    EXPECT_FALSE(RunWith(record, own, nullptr).drawn());
}

// A cache holding one entry for `key`, its days from `first` one weekday apart.
BreadthSeriesEntry& Entry(PortfolioSeriesCache& cache, const BreadthSeriesKey& key, PackedDate first,
                          const std::vector<BreadthRecord>& records)
{
    cache.DropIfReloaded();  // the cache belongs to the database as loaded now
    BreadthSeriesEntry& e = *cache.Add(key);
    e.name = "Test list";
    e.records = records;
    e.firstDay = first;
    PackedDate last = first;
    for (size_t i = 1; i < records.size(); ++i)
        last = NextWeekday(last);
    e.lastDay = last;
    e.trinFirstDay = first;
    return e;
}

TEST(BreadthIndicators, TheCacheKey)
{
    struct Case {
        int flags, period3, period4;
        BreadthSeriesKey key;
    } cases[] = {
        {0, 4, 9, {false, 0, 4}},           // a market group by period 3
        {0, -3, 0, {false, 0, -3}},          // widened with its sign
        {1, 4, 7, {true, 7, 0}},             // a portfolio by the u16 after period 3
        {1, 0, -1, {true, 65535, 0}},        // read unsigned
        {0x81, 0, 2, {true, 2, 0}},          // the locked flag does not count
    };
    for (const Case& c : cases) {
        const BreadthSeriesKey k = BreadthKeyOf(IndicatorRecord::Of(19, c.flags, 0, 0, c.period3, c.period4));
        EXPECT_EQ(k.portfolio, c.key.portfolio) << c.flags << " " << c.period3;
        EXPECT_EQ(k.portfolioNumber, c.key.portfolioNumber) << c.flags << " " << c.period3;
        EXPECT_EQ(k.groupKey, c.key.groupKey) << c.flags << " " << c.period3;
    }
}

TEST(BreadthIndicators, EveryWeekdayIsFedAndOnlyTheSharesDaysKeepAValue)
{
    PortfolioSeriesCache cache;
    const IndicatorRecord record = IndicatorRecord::Of(19, 0, 0, 0, 1);
    std::vector<BreadthRecord> records;
    for (uint16_t i = 0; i < 12; ++i)
        records.push_back({uint16_t(10 + i), 5, 0, 0, 1000, 500});
    // The list starts two weekdays before the share; the share misses its fourth day.
    const std::vector<DayRecord> all = test::DaysOfCloses(std::vector<float>(12, 10));
    Entry(cache, BreadthKeyOf(record), all[0].date, records);
    std::vector<DayRecord> share(all.begin() + 2, all.end());
    share.erase(share.begin() + 3);
    const test::Run run = RunWith(record, share, nullptr, &cache);
    ASSERT_TRUE(run.drawn());
    EXPECT_EQ(run.result.title, "Advance-Decline (Test list)");
    // The advance-decline line over every weekday: a running sum of advances less declines.
    std::vector<double> line;
    double sum = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        sum += double(records[i].advances) - records[i].declines;
        line.push_back(sum);
    }
    ASSERT_EQ(run.values().size(), share.size());
    EXPECT_EQ(run.values()[0], line[2]);
    EXPECT_EQ(run.values()[2], line[4]);
    EXPECT_EQ(run.values()[3], line[6]);  // the missing day was fed, and left no point
    EXPECT_TRUE(run.result.wholeNumbers);
    EXPECT_TRUE(run.result.levels.empty());

    // While another build runs and the key is not cached: the list is "building list...", nothing
    // is drawn.
    PortfolioSeriesCache busy;
    busy.DropIfReloaded();
    busy.SetBuilding(true);
    const test::Run waiting = RunWith(record, share, nullptr, &busy);
    EXPECT_FALSE(waiting.drawn());
    EXPECT_EQ(waiting.result.title, "Advance-Decline (building list...)");
}

TEST(BreadthIndicators, LevelsDecimalsAndTheTrinStartDay)
{
    struct Case {
        int type;
        std::vector<double> levels;
        bool whole;
    } cases[] = {
        {18, {}, true},  {19, {}, true},  {20, {}, false}, {21, {-100, -70, 70, 100}, false},
        {22, {-1300, 0, 1600, 1900}, true}, {23, {}, false}, {24, {}, true}, {25, {}, false},
        {26, {-200, 200}, false}, {27, {45, 56}, false}, {28, {40, 61.5}, false}, {29, {0}, false},
        {30, {1.0}, false},
    };
    const std::vector<DayRecord> days = test::DaysOfCloses(std::vector<float>(30, 10));
    std::vector<BreadthRecord> records;
    for (uint16_t i = 0; i < 30; ++i)
        records.push_back({uint16_t(10 + i % 7), uint16_t(5 + i % 3), uint16_t(i % 4), uint16_t(i % 2), 1000, 500});
    for (const Case& c : cases) {
        PortfolioSeriesCache cache;
        const IndicatorRecord record = IndicatorRecord::Of(c.type, 0, 0, 0, 1);
        Entry(cache, BreadthKeyOf(record), days[0].date, records);
        const test::Run run = RunWith(record, days, nullptr, &cache);
        ASSERT_TRUE(run.drawn()) << c.type;
        EXPECT_EQ(run.result.levels, c.levels) << c.type;
        EXPECT_EQ(run.result.wholeNumbers, c.whole) << c.type;
    }
    // TRIN keeps values from its start day on; a start after the days drawn leaves the pane empty.
    PortfolioSeriesCache cache;
    const IndicatorRecord trin = IndicatorRecord::Of(30, 0, 0, 0, 1);
    BreadthSeriesEntry& e = Entry(cache, BreadthKeyOf(trin), days[0].date, records);
    e.trinFirstDay = days[10].date;
    const test::Run run = RunWith(trin, days, nullptr, &cache);
    ASSERT_TRUE(run.drawn());
    EXPECT_EQ(run.result.lines[0].leadIn, 10);
    EXPECT_EQ(run.values().size(), 20u);
    e.trinFirstDay = NextWeekday(e.lastDay);
    EXPECT_FALSE(RunWith(trin, days, nullptr, &cache).drawn());
}

} // namespace
} // namespace qv
