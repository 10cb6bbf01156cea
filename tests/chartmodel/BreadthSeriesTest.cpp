// Tests the market-breadth calculator over hand-made daily records, and the breadth series that the
// cache builds from share prices, portfolios and the demo database.
#include "chartmodel/BreadthCalc.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/ViewGraphEOD.h"
#include "core/ConfigState.h"
#include "shell/AppServices.h"
#include "platform/ByteOrder.h"
#include "views/ViewKinds.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/PriceSubRecords.h"
#include "core/ShareList.h"
#include "devtools/lib/PriceDatabase.h"
#include "portfolio/PortfolioFile.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <map>

namespace qv {
namespace {

IndicatorRecord Breadth(int type, int smoothing = 0, int flags = 0)
{
    IndicatorRecord r;
    r.type = uint8_t(type);
    r.flags = uint8_t(flags);
    r.period2 = int16_t(smoothing);
    return r;
}

std::vector<float> RunBreadth(const IndicatorRecord& settings, const std::vector<BreadthRecord>& records)
{
    CBreadthCalc calc(settings, records.data(), records.size(), "All");
    std::vector<float> out;
    for (size_t i = 0; i < records.size(); ++i)
        out.push_back(*calc.AddValue());
    return out;
}

TEST(BreadthCalc, EveryTypeOnHandMadeDays)
{
    // advances, declines, new highs, new lows, advancing and declining volume
    const std::vector<BreadthRecord> days{{30, 10, 5, 1, 2000, 500}, {10, 0, 0, 0, 100, 0}, {20, 40, 2, 4, 0.05f, 900}};
    struct Case {
        int type;
        std::vector<double> expected;
    } cases[] = {
        {18, {20, 10, 20}},
        {19, {20, 30, 10}},
        {20, {3, 10, 0.5}},
        {23, {4, 0, -2}},
        {24, {4, 4, 2}},
        {25, {5, 0, 0.5}},
        {29, {20, 10, -20}},
        {30, {(30.0 * 500) / (10.0 * 2000), 1.0, 1.0}},
    };
    for (const Case& c : cases) {
        const auto out = RunBreadth(Breadth(c.type), days);
        for (size_t i = 0; i < days.size(); ++i)
            EXPECT_NEAR(out[i], c.expected[i], 1e-6) << "type " << c.type << " day " << i;
    }

    // McClellan: E5 and E10 from 0; the summation adds each oscillator value.
    double e5 = 0, e10 = 0, sum = 0;
    const auto osc = RunBreadth(Breadth(21), days), summation = RunBreadth(Breadth(22), days);
    for (size_t i = 0; i < days.size(); ++i) {
        const double net = double(days[i].advances) - days[i].declines;
        e5 = 0.95 * e5 + 0.05 * net;
        e10 = 0.1 * net + 0.9 * e10;
        sum += e10 - e5;
        EXPECT_NEAR(osc[i], e10 - e5, 1e-5);
        EXPECT_NEAR(summation[i], sum, 1e-5);
    }

    // STIX from 50, and the two 10-day exponential averages primed with their start values.
    double stix = 50, obos = 0, thrust = 50;
    const auto stixOut = RunBreadth(Breadth(27), days), obosOut = RunBreadth(Breadth(26), days),
               thrustOut = RunBreadth(Breadth(28), days);
    for (size_t i = 0; i < days.size(); ++i) {
        const double a = days[i].advances, d = days[i].declines;
        const double pct = 100 * a / (a + d);
        stix = 0.91 * stix + 0.09 * pct;
        obos += 2.0 / 11 * ((a - d) - obos);
        thrust += 2.0 / 11 * (pct - thrust);
        EXPECT_NEAR(stixOut[i], stix, 1e-4);
        EXPECT_NEAR(obosOut[i], obos, 1e-4);
        EXPECT_NEAR(thrustOut[i], thrust, 1e-4);
    }
}

TEST(BreadthCalc, SmoothingNamesAndTheEndOfTheRecords)
{
    const std::vector<BreadthRecord> days{{30, 10, 0, 0, 0, 0}, {10, 20, 0, 0, 0, 0}};
    // A weight of 25%: smoothed = 0.75 value + 0.25 smoothed, from 0.
    const auto out = RunBreadth(Breadth(29, 25), days);
    EXPECT_NEAR(out[0], 0.75 * 20, 1e-5);
    EXPECT_NEAR(out[1], 0.75 * -10 + 0.25 * 15, 1e-5);

    CBreadthCalc calc(Breadth(19), days.data(), days.size(), "FTSE 100");
    EXPECT_EQ(calc.Name(), "Advance-Decline (FTSE 100)");
    calc.AddValue();
    EXPECT_EQ(*calc.AddValue(), 10.0f);
    // Past the last record the output stays as it was.
    EXPECT_EQ(*calc.AddValue(), 10.0f);
    EXPECT_EQ(calc.Position(), 2u);

    CBreadthCalc none(Breadth(27), nullptr, 5, "All");
    EXPECT_EQ(*none.AddValue(), 0.0f);
}

// ---- the series cache ----

using namespace std::chrono;
constexpr PackedDate kMonday = PackDate(2, 1, 2023);

dev::DbRecord PricedShare(uint16_t id, const char* name, PackedDate first, std::vector<int32_t> closes)
{
    dev::PriceHistory history;
    history.scale = 1;
    history.firstDate = first;
    for (int32_t c : closes) {
        dev::HistoryDay day;
        day.mode = 1;
        day.open = day.high = day.low = day.close = c;
        day.hasVolume = true;
        day.volumeWord = uint16_t(100 + c);
        history.days.push_back(day);
    }
    dev::DbRecord record = dev::ShareRecord(id, name, 'O', name);
    record.subRecords[0] = dev::PriceSubRecord(SubRecordKind::Ordinary, 1, history);
    return record;
}

class RecordingProgress : public SeriesProgress {
public:
    void Open(const std::string& title) override { titles.push_back(title); }
    void SetPosition(int percent) override { positions.push_back(percent); }
    void Close() override { ++closed; }
    std::vector<std::string> titles;
    std::vector<int> positions;
    int closed = 0;
};

class BreadthSeries : public test::DatabaseFixture {
protected:
    ~BreadthSeries() override
    {
        SetMarketGroupRows(nullptr);
        SetSeriesProgress(nullptr);
        cache.Clear();
        for (Portfolio* p : portfolios) {
            UnlinkFromChain(p);
            FreePortfolio(p);
        }
    }

    // Share A: Monday-Thursday 10, 11, 11, 10. Share B: Tuesday to the next Monday 5, 4, 6, 6, 7.
    void LoadTwoShares()
    {
        Load(dev::WriteQuorvaDat(test::OneEntry({PricedShare(0x4001, "Alpha", kMonday, {10, 11, 11, 10}),
                                                 PricedShare(0x4002, "Beta", NextWeekday(kMonday), {5, 4, 6, 6, 7})})));
    }

    // Day volumes as the database decodes them, by date.
    std::map<PackedDate, float> Volumes(uint16_t id)
    {
        RecordCursor cursor = FindRecordById(id, 0);
        DayRecord* days = nullptr;
        const int32_t n = DecodePriceHistory(&cursor, &days, 0, true, false);
        std::map<PackedDate, float> out;
        for (int32_t i = 0; i < n; ++i)
            out[days[i].date] = days[i].volume;
        ProFree(days);
        return out;
    }

    Portfolio* MakePortfolio(uint16_t number, const char* name, std::vector<uint16_t> ids)
    {
        auto* p = new Portfolio;
        p->number = number;
        p->name = name;
        ResetPortfolioEntries(*p);
        for (uint16_t id : ids)
            AddPortfolioEntry(*p, FindRecordById(id, 0));
        AppendToChain(p);
        portfolios.push_back(p);
        return p;
    }

    BreadthSeriesEntry& Build(BreadthSeriesKey key, bool progress = false)
    {
        BreadthSeriesEntry* entry = cache.Add(key);
        BuildPortfolioSeries(cache, *entry, progress);
        return *entry;
    }

    PortfolioSeriesCache cache;
    std::vector<Portfolio*> portfolios;
};

TEST_F(BreadthSeries, CountsAdvancesDeclinesHighsLowsAndVolumesPerWeekday)
{
    LoadTwoShares();
    BreadthSeriesEntry& all = Build({false, 0, 0});
    EXPECT_EQ(all.name, "All");
    EXPECT_EQ(cache.FirstDay(), kMonday);
    ASSERT_EQ(all.records.size(), 6u); // Monday to the next Monday: six weekdays
    EXPECT_EQ(all.firstDay, kMonday);
    EXPECT_EQ(all.lastDay, PackDate(9, 1, 2023));

    struct Day {
        uint16_t advances, declines, newHighs, newLows;
    } expected[] = {
        {0, 0, 0, 0}, // A's first day only sets its price
        {1, 0, 1, 0}, // A 10 -> 11, a new high; B's first day
        {0, 1, 0, 1}, // A unchanged; B 5 -> 4, a new low
        {1, 1, 1, 0}, // A 11 -> 10 (not below its low of 10); B 4 -> 6 above its high of 5
        {0, 0, 0, 0}, // B unchanged
        {1, 0, 1, 0}, // after the weekend: B 6 -> 7
    };
    for (size_t i = 0; i < 6; ++i) {
        const BreadthRecord& r = all.records[i];
        EXPECT_EQ(r.advances, expected[i].advances) << i;
        EXPECT_EQ(r.declines, expected[i].declines) << i;
        EXPECT_EQ(r.newHighs, expected[i].newHighs) << i;
        EXPECT_EQ(r.newLows, expected[i].newLows) << i;
    }
    auto a = Volumes(0x4001), b = Volumes(0x4002);
    PackedDate tuesday = NextWeekday(kMonday), wednesday = NextWeekday(tuesday), thursday = NextWeekday(wednesday);
    EXPECT_EQ(all.records[1].advancingVolume, a[tuesday]);
    EXPECT_EQ(all.records[2].decliningVolume, b[wednesday]);
    EXPECT_EQ(all.records[3].advancingVolume, b[thursday]);
    EXPECT_EQ(all.records[3].decliningVolume, a[thursday]);
    EXPECT_EQ(all.records[4].advancingVolume + all.records[4].decliningVolume, 0.0f);
}

// A daily chart with a market graph in its first add-on window draws it from the program's breadth
// cache, one value per day of the share's at that day, and names the market it comes from.
TEST_F(BreadthSeries, TheDailyChartBuildsTheMarketGraphOfItsAddOnWindow)
{
    LoadTwoShares();
    GraphSetting& setting = Config().dailyGraphs.records[0];
    const GraphSetting saved = setting;
    InitGraphSetting(setting, false);
    const IndicatorRecord line = IndicatorRecord::Of(19, 0);
    line.Write(graphsetting::IndicatorSlot(setting, 0, 0));
    StoreU16(graphsetting::IndicatorSlot(setting, 0, 0).data() + graphsetting::kSlotHeightWeight, 200);
    SeriesCache().Clear();
    {
        CViewGraphEOD chart(kViewDailyChart);
        chart.eod.LoadShare(FindRecordById(0x4002, 0)); // Beta: Tuesday to the next Monday
        chart.SetMode(true, kModeRedrawing, 0, 0, 0xFFFF);
        int device = 0;
        chart.AttachGraphSource(&device, nullptr, 0, 0, 900, 600, 0, 4, false, true);
        const GraphSeries* series = FindSeries(chart.timeBands, chart.FindPane(kPaneFirstAddOn));
        ASSERT_NE(series, nullptr);
        EXPECT_EQ(std::string(series->title), GetIndicatorName(line, "All"));
        // The advance-decline line over the week: +1 on Tuesday, -1 on Wednesday, +1 on Monday.
        const IndicatorResult* result = chart.indicators.result(0, 0);
        ASSERT_NE(result, nullptr);
        ASSERT_EQ(result->lines.size(), 1u);
        EXPECT_EQ(result->lines[0].values, (std::vector<double>{1, 0, 0, 0, 1}));
        EXPECT_NE(SeriesCache().Find({false, 0, 0}), nullptr) << "kept for the next chart";
    }
    SeriesCache().Clear();
    setting = saved;
}

// A load or an import empties the cache through the steps that follow it.
TEST_F(BreadthSeries, ALoadEmptiesTheCache)
{
    LoadTwoShares();
    SeriesCache().Clear();
    SeriesCache().DropIfReloaded();
    BuildPortfolioSeries(SeriesCache(), *SeriesCache().Add({false, 0, 0}), false);
    ASSERT_NE(SeriesCache().Find({false, 0, 0}), nullptr);
    ASSERT_TRUE(AfterLoad().portfolioSeries);
    AfterLoad().portfolioSeries();
    EXPECT_EQ(SeriesCache().Find({false, 0, 0}), nullptr);
}

TEST_F(BreadthSeries, PortfoliosFallBackToTheFtse100AndInvalidateAlone)
{
    LoadTwoShares();
    MakePortfolio(3, "Growth", {0x4002});
    MakePortfolio(4, "Empty", {});
    BreadthSeriesEntry& growth = Build({true, 3, 0});
    EXPECT_EQ(growth.name, "Port: Growth");
    EXPECT_EQ(growth.firstDay, NextWeekday(kMonday));
    ASSERT_EQ(growth.records.size(), 5u);
    EXPECT_EQ(growth.records[1].declines, 1);

    BreadthSeriesEntry& empty = Build({true, 4, 0});
    EXPECT_EQ(empty.name, "FTSE 100");
    EXPECT_FALSE(empty.key.portfolio);
    EXPECT_EQ(empty.key.groupKey, 4);
    BreadthSeriesEntry& missing = Build({true, 77, 0});
    EXPECT_EQ(missing.name, "FTSE 100");

    // 65535 stands for the portfolio the current list shows.
    ShareList current{};
    current.source = portfolios[0];
    ShareList* saved = CurrentShareList();
    CurrentShareList() = &current;
    BreadthSeriesEntry& shown = Build({true, 65535, 0});
    CurrentShareList() = saved;
    EXPECT_EQ(shown.name, "Port: Growth");
    EXPECT_EQ(shown.records.size(), 5u);

    Build({false, 0, 1});
    EXPECT_NE(cache.Find({true, 3, 0}), nullptr);
    EXPECT_EQ(cache.Find({false, 0, 1})->name, "Shares");
    cache.InvalidatePortfolio(*portfolios[0]);
    EXPECT_EQ(cache.Find({true, 3, 0}), nullptr);
    EXPECT_NE(cache.Find({false, 0, 1}), nullptr);
    EXPECT_NE(cache.Find({false, 0, 4}), nullptr);
    cache.InvalidateShare(1);
    EXPECT_EQ(cache.Find({false, 0, 1}), nullptr);
    EXPECT_NE(cache.Find({false, 0, 4}), nullptr);
}

TEST_F(BreadthSeries, ProgressShowsAboveAThousandShares)
{
    LoadTwoShares();
    RecordingProgress progress;
    SetSeriesProgress(&progress);
    const RecordCursor a = FindRecordById(0x4001, 0);
    size_t shares = 1000;
    SetMarketGroupRows([&](int32_t) { return std::vector<RecordCursor>(shares, a); });
    Build({false, 0, 1}, true);
    EXPECT_TRUE(progress.titles.empty());
    shares = 1001;
    BreadthSeriesEntry& many = Build({false, 0, 4}, true);
    ASSERT_EQ(progress.titles, std::vector<std::string>{"Creating Market Graph Data"});
    EXPECT_EQ(progress.positions.size(), 10u);
    EXPECT_EQ(progress.closed, 1);
    EXPECT_EQ(many.records[1].advances, 1001);
    // Without the progress flag nothing shows.
    Build({false, 0, 5}, false);
    EXPECT_EQ(progress.titles.size(), 1u);
}

TEST_F(BreadthSeries, NoPricedShareGivesAnEmptySeries)
{
    BreadthSeriesEntry& entry = Build({false, 0, 0});
    EXPECT_EQ(cache.FirstDay(), PortfolioSeriesCache::kNoDay);
    EXPECT_TRUE(entry.records.empty());
    EXPECT_EQ(entry.firstDay, 0);
}

TEST_F(BreadthSeries, OnTheDemoDatabaseAdvancesAndDeclinesNeverExceedThePricedShares)
{
    const dev::DemoDatabase demo = dev::BuildDemoDatabase(sys_days{year{2026} / December / 8});
    Load(dev::WriteQuorvaDat(dev::DemoDbFile(demo)));
    BreadthSeriesEntry& all = Build({false, 0, 0});
    ASSERT_GT(all.records.size(), 1000u);

    std::map<PackedDate, int> priced;
    for (const RecordCursor& line : MarketGroupShares(0)) {
        RecordCursor cursor = line;
        DayRecord* days = nullptr;
        const int32_t n = DecodePriceHistory(&cursor, &days, 0, true, false);
        for (int32_t i = 0; i < n; ++i)
            if (days[i].date != 0 && !IsMarkedDay(days[i]))
                ++priced[days[i].date];
        ProFree(days);
    }
    PackedDate day = all.firstDay;
    int moving = 0;
    for (const BreadthRecord& r : all.records) {
        EXPECT_LE(r.advances + r.declines, priced[day]) << day;
        EXPECT_LE(r.newHighs + r.newLows, priced[day]) << day;
        moving += r.advances + r.declines;
        day = NextWeekday(day);
    }
    EXPECT_GT(moving, 0);
}

} // namespace
} // namespace qv
