// Criterion values, statistics and filter runs over a small written database whose closes are known,
// so every expected value is worked out here from the closes themselves.
#include "datamining/FilterEvaluation.h"

#include "core/ColumnSpec.h"
#include "core/Database.h"
#include "core/DateStepping.h"
#include "core/RecordLists.h"
#include "core/ShareList.h"
#include "datamining/CriterionKinds.h"
#include "datamining/CriterionValue.h"
#include "datamining/FilterProgress.h"
#include "datamining/FilterValues.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareListChain.h"
#include "lists/ColumnCatalogues.h"
#include "lists/ListRows.h"
#include "core/Memory.h"
#include "core/PriceLookups.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "shell/AppServices.h"
#include "shell/LayoutSwitch.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>

using namespace qv;
using namespace qv::test;
using namespace std::chrono;

namespace {

constexpr int kDays = 60;
const sys_days kFirstDay{year{2026} / September / 14}; // a Monday: 60 weekdays end on Friday 4 December
const sys_days kLastDay{year{2026} / December / 4};

// Closes from `first`, one step a day.
std::vector<int> Closes(int first, int step)
{
    std::vector<int> v(kDays);
    for (int i = 0; i < kDays; ++i)
        v[size_t(i)] = first + step * i;
    return v;
}

dev::DemoStream Stream(const std::vector<int>& closes, sys_days first)
{
    dev::DemoStream s;
    s.kind = SubRecordKind::Ordinary;
    s.issueFigure = 100;
    s.epic = "X";
    s.history.firstDate = dev::ToPackedDate(first);
    for (int close : closes) {
        dev::HistoryDay d;
        d.close = d.open = d.high = d.low = close;
        s.history.days.push_back(d);
    }
    return s;
}

dev::DemoRecord Share(uint16_t id, const char* name, const std::vector<int>& closes, sys_days first = kFirstDay)
{
    dev::DemoRecord r;
    r.id = id;
    r.name = name;
    r.streams.push_back(Stream(closes, first));
    r.streams.back().epic = name;
    return r;
}

// Alpha rises 100..159 and has results; Beta stays at 200; Gamma falls 300..241; Delta is priced only
// on the last five days, 50..54.
dev::DemoDatabase Fixture()
{
    dev::DemoDatabase db;
    db.databaseDate = dev::ToPackedDate(kLastDay);
    dev::DemoRecord calendar = Share(kMarketCalendarId, "Market Calendar", std::vector<int>(kDays, 1000));
    calendar.streams.back().kind = SubRecordKind::Index;
    db.records.push_back(calendar);
    dev::DemoRecord alpha = Share(0x4001, "Alpha", Closes(100, 1));
    alpha.results.push_back({dev::ToPackedDate(sys_days{year{2025} / December / 31}), 0, 10, 5, 2, 50});
    db.records.push_back(alpha);
    db.records.push_back(Share(0x4002, "Beta", std::vector<int>(kDays, 200)));
    db.records.push_back(Share(0x4003, "Delta", {50, 51, 52, 53, 54}, kLastDay - days{4}));
    db.records.push_back(Share(0x4004, "Gamma", Closes(300, -1)));
    return db;
}

DMCriterion Criterion(uint8_t kind, uint8_t parameter, float lower = kNoLowerLimit, float upper = kNoUpperLimit)
{
    return MakeCriterion({kind, parameter, 0, 0, lower, upper, 0, 0}, 0);
}

uint32_t TradingDaysBack(uint16_t n) { return PeriodWord(PeriodUnit::TradingDays, n); }

class CountingProgress : public FilterProgressWindow {
public:
    bool Open(const std::string& caption, const std::string& message, uint32_t total, CViewBase*) override
    {
        ++opened;
        this->caption = caption;
        this->message = message;
        this->total = total;
        return true;
    }
    void SetPosition(uint32_t position) override { positions.push_back(position); }
    void Close() override { ++closed; }
    int opened = 0, closed = 0;
    uint32_t total = 0;
    std::string caption, message;
    std::vector<uint32_t> positions;
};

class FilterEvaluation : public DatabaseFixture {
protected:
    void SetUp() override
    {
        const dev::DemoDatabase db = Fixture();
        std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(db));
        Load(dev::WriteQuorvaDat(dev::DemoDbFile(db)), &comp);
        InstallColumnCatalogues();
        RebuildFilterCandidates();
        SetFilterProgressWindow(&progress);
    }
    void TearDown() override
    {
        SetFilterProgressWindow(nullptr);
        FreeItemList();
        FilterCandidates() = {};
        ClearFilterList();
        FreePortfolioChain();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        ProFree(list.entries);
        DataMiningRunBusy = 0;
    }
    // The candidate rows in name order: Alpha, Beta, Delta, Gamma, Market Calendar.
    const std::vector<RecordCursor>& rows() { return FilterCandidates().rows; }
    RecordCursor Row(const char* name)
    {
        for (const RecordCursor& r : rows())
            if (r.record && GetRecordTexts(r.record).name == name)
                return r;
        return {};
    }
    uint32_t Position(const char* name)
    {
        const RecordCursor r = Row(name);
        for (uint32_t i = 0; i < rows().size(); ++i)
            if (rows()[i].record == r.record)
                return i;
        return kNotACandidate;
    }
    std::optional<float> Value(const DMCriterion& c, const char* name)
    {
        const PreparedCriterion p = PrepareCriterion(c);
        float v = -1;
        if (!GetCriterionValue(p, Row(name), Position(name), v))
            return std::nullopt;
        return v;
    }
    // A share list of the named shares, in that order.
    void ListOf(const std::vector<const char*>& names)
    {
        ProFree(list.entries);
        list = ShareList{};
        list.capacity = int32_t(names.size() + 1);
        list.entries = static_cast<RecordCursor*>(ProCalloc(uint32_t(list.capacity), sizeof(RecordCursor), "t"));
        int i = 0;
        for (const char* n : names)
            list.entries[i++] = Row(n);
        positions.assign(size_t(list.capacity), kNotACandidate);
        MapRowsToCandidates(list.entries, rows(), positions.data());
    }
    static Portfolio* FilterFed(const char* name)
    {
        auto* p = new Portfolio;
        p->number = kFilterPortfolioNumber;
        p->type = kFilterPreset;
        p->name = name;
        ResetPortfolioEntries(*p);
        AppendToChain(p);
        return p;
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> out;
        for (int i = 0; list.entries[i].record; ++i)
            out.emplace_back(GetRecordTexts(list.entries[i].record).name);
        return out;
    }

    CountingProgress progress;
    ShareList list{};
    std::vector<uint32_t> positions;
};

double Mean(double a, double b, double c, double d, double e) { return (a + b + c + d + e) / 5; }

TEST_F(FilterEvaluation, EveryKindGivesItsValueOrNone)
{
    ASSERT_EQ(rows().size(), 6u) << "four shares, the calendar and the zero row";
    DMCriterion since = Criterion(0, 5);
    since.firstDate = TradingDaysBack(10);
    DMCriterion priceFor = Criterion(0, 3);
    priceFor.firstDate = TradingDaysBack(10);
    DMCriterion between = Criterion(0, 6);
    between.firstDate = TradingDaysBack(20);
    between.secondDate = TradingDaysBack(10);
    DMCriterion betweenPercent = between;
    betweenPercent.parameter = 7;
    DMCriterion priceSince = since;
    priceSince.parameter = 4;
    DMCriterion average = Criterion(1, 0);
    average.setting = 1 | 5u << 4;
    DMCriterion averageMinusPrice = average;
    averageMinusPrice.parameter = 6;
    DMCriterion averageChange = average;
    averageChange.parameter = 3;
    averageChange.firstDate = TradingDaysBack(10);
    averageChange.secondDate = TradingDaysBack(0);
    DMCriterion twoAverages = Criterion(1, 8);
    twoAverages.setting = 1 | 5u << 4 | 10u << 18;
    DMCriterion profit = Criterion(13, 0);
    profit.setting = 0;
    profit.secondSetting = 7;
    DMCriterion interimProfit = profit;
    interimProfit.parameter = 4;
    DMCriterion advanced = Criterion(14, AdvancedParameter(0, 0));
    advanced.setting = 0;
    advanced.secondSetting = 4;

    struct Case {
        const char* what;
        DMCriterion criterion;
        const char* share;
        std::optional<double> want;
    };
    const double alphaMa5 = Mean(155, 156, 157, 158, 159);
    const double alphaMa10 = (150.0 + 159) / 2;
    const std::vector<Case> cases = {
        {"last price", Criterion(0, 0), "Alpha", 159},
        {"last price", Criterion(0, 0), "Delta", 54},
        {"price change", Criterion(0, 1), "Gamma", -1},
        {"price change of an unchanged share", Criterion(0, 1), "Beta", 0},
        {"price for", priceFor, "Alpha", 149},
        {"price since", priceSince, "Gamma", 241 - 251},
        {"% price since", since, "Alpha", (159.0 - 149) * 100 / 149},
        {"% price since without a price then", since, "Delta", std::nullopt},
        {"price between", between, "Alpha", 149 - 139},
        {"% price between", betweenPercent, "Gamma", (251.0 - 261) * 100 / 261},
        {"moving average", average, "Alpha", alphaMa5},
        {"moving average", average, "Beta", 200},
        {"M.A. minus Price (%)", averageMinusPrice, "Alpha", (alphaMa5 - 159) * 100 / alphaMa5},
        {"M.A. change between", averageChange, "Alpha", alphaMa5 - Mean(145, 146, 147, 148, 149)},
        {"M.A.1 minus M.A.2 (%)", twoAverages, "Alpha", (alphaMa5 - alphaMa10) * 100 / alphaMa5},
        {"moving average without prices then", averageChange, "Delta", std::nullopt},
        {"turnover result", Criterion(2, 0), "Alpha", 50},
        {"turnover result without results", Criterion(2, 0), "Beta", std::nullopt},
        {"headline profit", profit, "Alpha", 10},
        {"headline profit without results", profit, "Beta", std::nullopt},
        {"headline interim profit without interims", interimProfit, "Alpha", std::nullopt},
        {"advanced result without detailed results", advanced, "Alpha", std::nullopt},
        {"capitalisation, the cell's number: pence by millions of shares", Criterion(11, 0), "Beta", 200 * 100},
        {"P/E without earnings", Criterion(3, 0), "Beta", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<float> got = Value(c.criterion, c.share);
        ASSERT_EQ(got.has_value(), c.want.has_value()) << c.what << " of " << c.share;
        if (c.want) {
            EXPECT_NEAR(*got, *c.want, 1e-3 * std::max(1.0, std::fabs(*c.want))) << c.what << " of " << c.share;
        }
    }
}

TEST_F(FilterEvaluation, PreparingAHighsAndLowsCriterionLeavesTheCatalogueAlone)
{
    const std::span<const uint8_t> shared = GetColumnSpec(94, 0);
    const std::vector<uint8_t> before(shared.begin(), shared.end());
    DMCriterion high = Criterion(0, 8);
    high.setting = 1;
    high.firstDate = 1u << 16 | 5; // the last five trading days
    EXPECT_NEAR(*Value(high, "Gamma"), 245, 1e-3);
    const std::span<const uint8_t> after = GetColumnSpec(94, 0);
    EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.end()), before);
}

TEST_F(FilterEvaluation, RowsMissingFromTheCandidatesHaveNoCachedValues)
{
    RecordCursor rows[3] = {Row("Gamma"), RecordCursor{Row("Alpha").record, 7}, {}};
    uint32_t out[3] = {};
    MapRowsToCandidates(rows, FilterCandidates().rows, out);
    EXPECT_EQ(out[0], Position("Gamma"));
    EXPECT_EQ(out[1], kNotACandidate);
    DMCriterion priceFor = Criterion(0, 3);
    float v = 0;
    EXPECT_FALSE(GetCriterionValue(PrepareCriterion(priceFor), rows[1], out[1], v));
    // Rows in candidate order are found in one pass; a search past the end restarts once.
    RecordCursor again[3] = {Row("Gamma"), Row("Alpha"), {}};
    MapRowsToCandidates(again, FilterCandidates().rows, out);
    EXPECT_EQ(out[1], Position("Alpha"));
}

TEST_F(FilterEvaluation, BoundsModesAndInversion)
{
    struct Case {
        const char* what;
        float lower, upper;
        uint8_t mode, inverted;
        std::vector<std::string> kept;
    };
    // "% Price since" ten trading days back: Alpha +6.7, Beta 0, Gamma -3.8, Delta none.
    const std::vector<Case> cases = {
        {"bounds are inclusive", 0, 0, 2, 0, {"Beta"}},
        {"an inverted range excludes its bounds", 0, 0, 2, 1, {"Alpha", "Gamma"}},
        {"mode 1 lets a share without a value pass", -5, 5, 1, 0, {"Beta", "Delta", "Gamma"}},
        {"mode 1 inverted", -5, 5, 1, 1, {"Alpha", "Delta"}},
        {"mode 2 fails a share without a value", -100, 100, 2, 0, {"Alpha", "Beta", "Gamma"}},
        {"mode 2 inverted", -5, 5, 2, 1, {"Alpha"}},
        {"mode 0 keeps every row", 1000, 2000, 0, 0, {"Alpha", "Beta", "Delta", "Gamma"}},
    };
    for (const Case& c : cases) {
        ListOf({"Alpha", "Beta", "Delta", "Gamma"});
        DMCriterion since = Criterion(0, 5, c.lower, c.upper);
        since.firstDate = TradingDaysBack(10);
        since.mode = c.mode;
        since.inverted = c.inverted;
        const int32_t kept = ApplyFilterCriteria(&list, positions.data(), {&since, 1});
        EXPECT_EQ(Names(), c.kept) << c.what;
        EXPECT_EQ(kept, int32_t(c.kept.size())) << c.what;
        EXPECT_EQ(list.last, std::max(kept - 1, 0)) << c.what;
    }
}

TEST_F(FilterEvaluation, CriteriaApplyInTurnKeepingTheOrderAndPositions)
{
    ListOf({"Gamma", "Delta", "Beta", "Alpha"});
    list.current = 3;
    std::vector<DMCriterion> criteria = {Criterion(0, 0, 100, 1000), Criterion(0, 1, -0.5f, 10),
                                         Criterion(0, 0, 0, 0)};
    criteria[2].mode = 0;
    EXPECT_EQ(ApplyFilterCriteria(&list, positions.data(), criteria), 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Beta", "Alpha"}));
    EXPECT_EQ(positions[0], Position("Beta"));
    EXPECT_EQ(positions[1], Position("Alpha"));
    EXPECT_EQ(list.current, 1) << "the current row is clamped into the rows kept";
    for (DMCriterion& c : criteria)
        c.mode = 0;
    ListOf({"Gamma", "Delta"});
    EXPECT_EQ(ApplyFilterCriteria(&list, positions.data(), criteria), 2) << "all disabled keeps every row";
    EXPECT_EQ(ApplyFilterCriteria(&list, positions.data(), {}), 2) << "no criteria keeps every row";
}

TEST_F(FilterEvaluation, StatisticsOfACriterion)
{
    struct Case {
        const char* what;
        DMCriterion criterion;
        std::vector<const char*> shares;
        float average, dataMin, dataMax;
        uint8_t mode, noData;
    };
    DMCriterion locked = Criterion(0, 0, 5, kNoUpperLimit);
    locked.locked = 1;
    DMCriterion since = Criterion(0, 5);
    since.firstDate = TradingDaysBack(10);
    // Beta's high stands two weekdays before the fixture's last day; the days since it are counted
    // to the clock's today, whatever day the test runs.
    float sinceHigh = 0;
    {
        using namespace std::chrono;
        const sys_days today = floor<days>(system_clock::now());
        for (sys_days d = kLastDay - days{2}; d < today; d += days{1})
            sinceHigh += weekday{d + days{1}}.c_encoding() % 6 != 0;
    }
    const std::vector<Case> cases = {
        {"one value", Criterion(0, 0), {"Beta"}, 190, 189, 211, 2, 0},
        {"all zeros", Criterion(0, 1), {"Beta"}, 0, -1, 1, 2, 0},
        {"no value", since, {"Delta"}, 0, -1, 1, 0, 1},
        {"two values", Criterion(0, 0), {"Alpha", "Beta"}, 179.5f, 159 * 0.95f, 210, 2, 0},
        {"days since high start at 0", Criterion(0, 9), {"Beta"}, sinceHigh * 0.95f, 0, sinceHigh * 1.05f + 1, 2, 0},
        {"a locked range is kept", locked, {"Alpha", "Beta"}, 179.5f, 159 * 0.95f, 210, 2, 0},
    };
    for (const Case& c : cases) {
        ListOf(c.shares);
        DMCriterion k = c.criterion;
        CriterionStatistics(list.entries, positions.data(), k);
        EXPECT_NEAR(k.average, c.average, 1e-3) << c.what;
        EXPECT_NEAR(k.dataMin, c.dataMin, 1e-3) << c.what;
        EXPECT_NEAR(k.dataMax, c.dataMax, 1e-3) << c.what;
        EXPECT_EQ(k.mode, c.mode) << c.what;
        EXPECT_EQ(k.noData, c.noData) << c.what;
        EXPECT_EQ(k.status & 2, 2) << c.what;
        if (k.locked) {
            EXPECT_EQ(k.upper, kNoUpperLimit) << c.what;
            EXPECT_EQ(k.lower, 5) << c.what;
        } else {
            EXPECT_EQ(k.lower, c.criterion.lower) << c.what << ": the selected range is the user's, kept as stored";
            EXPECT_EQ(k.upper, c.criterion.upper) << c.what;
        }
    }
}

TEST_F(FilterEvaluation, FilterStatisticsOrderAReversedRange)
{
    DMFilter filter;
    filter.criteria = {Criterion(0, 0, 200, 100)};
    filter.criteria[0].dataMin = 0;
    filter.criteria[0].dataMax = 1000;
    ListOf({"Alpha", "Beta", "Gamma"});
    UpdateFilterStatistics(list.entries, nullptr, positions.data(), &filter);
    EXPECT_EQ(filter.criteria[0].lower, 100) << "ordered, not narrowed to the data of the source in view";
    EXPECT_EQ(filter.criteria[0].upper, 200);
}

TEST_F(FilterEvaluation, ValuesAreComputedOnceUnderTheProgressWindow)
{
    DMFilter filter;
    filter.name = "Rising";
    filter.sourceKind = 1;
    DMCriterion since = Criterion(0, 5, 0, kNoUpperLimit);
    since.firstDate = TradingDaysBack(10);
    filter.criteria = {since};
    EXPECT_EQ(EstimateCriterionWork(since), 5u) << "one value per candidate";
    EXPECT_TRUE(RunFilter(&list, &filter, 0));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(progress.opened, 1);
    EXPECT_EQ(progress.closed, 1);
    EXPECT_EQ(progress.caption, "Data Mining");
    EXPECT_EQ(progress.message, " Determining values for the filter 'Rising' ");
    EXPECT_EQ(progress.total, 5u);
    EXPECT_EQ(progress.positions, std::vector<uint32_t>{0}) << "the bar moves every 250 values";
    EXPECT_EQ(filter.flags & kFilterOutOfDate, 0);
    EXPECT_EQ(DataMiningRunBusy, 0);
    EXPECT_EQ(EstimateCriterionWork(since), 0u);
    EXPECT_TRUE(RunFilter(&list, &filter, 0));
    EXPECT_EQ(progress.opened, 1) << "no window when every value is cached";
    EXPECT_EQ(ValueCacheEntries(), 1u);
}

TEST_F(FilterEvaluation, TheCacheIsTrimmedOfUnusedEntriesAboveOneMebibyte)
{
    DMCriterion since = Criterion(0, 5, kNoLowerLimit, kNoUpperLimit);
    since.firstDate = TradingDaysBack(10);
    ListOf({"Alpha"});
    ApplyFilterCriteria(&list, positions.data(), {&since, 1});
    ASSERT_EQ(ValueCacheEntries(), 1u);
    // An unused block of a quarter of a million values makes the cache larger than 1 MiB.
    const uint32_t big = 300000;
    auto* block = static_cast<FilterValueBlock*>(ProCalloc(1, uint32_t(sizeof(FilterValueBlock) + big * 4), "t"));
    block->count = big;
    block->date = 1;
    RecordListNode* node = NewListNode(reinterpret_cast<uint8_t*>(block), 0);
    node->next = DataMiningValueList;
    DataMiningValueList = node;
    ListOf({"Alpha"});
    ApplyFilterCriteria(&list, positions.data(), {&since, 1});
    EXPECT_EQ(ValueCacheEntries(), 1u) << "the unused block is freed, the used one kept";
    EXPECT_TRUE(IsValueCached(PeriodStartDate(since.firstDate, LatestDatabaseDate), 0));
}

TEST_F(FilterEvaluation, RunFilterByPositionAndFilterDrivenPortfolios)
{
    auto filter = std::make_unique<DMFilter>();
    filter->name = "Dear";
    filter->sourceKind = 1;
    filter->criteria = {Criterion(0, 0, 150, kNoUpperLimit)};
    InsertFilter(std::move(filter));
    SetCurrentFilter(FilterList().front().get());

    EXPECT_TRUE(RunFilter(&list, nullptr, 9));
    EXPECT_EQ(list.entries[0].record, nullptr) << "a position past the last filter leaves no rows";
    EXPECT_TRUE(RunFilter(&list, nullptr, 1));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));

    Portfolio* results = FilterFed("No such filter");
    results->changed = 1;
    EXPECT_EQ(FillFilterPortfolio(CurrentFilter(), results), 1) << "unmatched: empty, and filled";
    EXPECT_EQ(CountPortfolioEntries(*results), 0u);
    EXPECT_EQ(results->changed, 0);
    results->name = "Dear";
    EXPECT_EQ(FillFilterPortfolio(CurrentFilter(), results), 1);
    EXPECT_EQ(CountPortfolioEntries(*results), 3u);
    EXPECT_EQ(FillFilterPortfolio(nullptr, results), 0);
}

// As the program wires it: a rebuild of the candidates (after a load or an import) marks the
// filter-fed portfolio, and a list showing it refills it through its filter.
TEST_F(FilterEvaluation, AListShowingTheFilterFedPortfolioRefillsItWhenMarked)
{
    auto filter = std::make_unique<DMFilter>();
    filter->name = "Cheap";
    filter->sourceKind = 1;
    filter->criteria = {Criterion(0, 0, 0, 180)};
    InsertFilter(std::move(filter));
    SetCurrentFilter(FilterList().front().get());
    Portfolio* results = FilterFed("Cheap");
    ShareList* shown = CreateShareList(8, 0, kFamilyShares, nullptr, true);
    SetShareListSource(shown, results, 0, 0, true, false);
    RecalculateAfterLoad();
    EXPECT_EQ(results->changed, 1);
    EXPECT_EQ(FilterList().front()->flags & kFilterOutOfDate, kFilterOutOfDate);
    ASSERT_TRUE(RefreshListRows(shown, true, false));
    EXPECT_EQ(results->changed, 0);
    EXPECT_EQ(CountPortfolioEntries(*results), 2u) << "Alpha and Delta";
    EXPECT_EQ(shown->source, results);
    EXPECT_EQ(ShareListCount(shown), 2);
    EXPECT_EQ(FilterList().front()->flags & kFilterOutOfDate, 0);
}

TEST_F(FilterEvaluation, PortfolioSources)
{
    auto* held = new Portfolio;
    held->number = 3;
    held->name = "Held";
    ResetPortfolioEntries(*held);
    AppendToChain(held);
    // More entries than there are candidates: the rows are sized from the portfolio.
    for (const char* name : {"Gamma", "Alpha", "Gamma", "Alpha", "Gamma", "Alpha"})
        AddPortfolioEntry(*held, Row(name));
    DMFilter filter;
    filter.flags = kFilterPortfolioSource;
    filter.portfolioNumber = 3;
    filter.criteria = {Criterion(0, 0, 200, kNoUpperLimit)};
    EXPECT_TRUE(RunFilter(&list, &filter, 0));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Gamma", "Gamma", "Gamma"}));
    // The source portfolio deleted: all shares, and the filter no longer names a portfolio.
    filter.portfolioNumber = 4;
    EXPECT_TRUE(RunFilter(&list, &filter, 0));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Beta", "Gamma"}));
    EXPECT_EQ(filter.flags & kFilterPortfolioSource, 0);
}

// Editing a criterion through the dialog's fields: advanced items above 12 are stored one higher, a
// highs-and-lows look-back goes into the first date, and an unset or reversed range selects the whole range.
TEST_F(FilterEvaluation, EditingACriterionRecomputesIt)
{
    ListOf({"Alpha", "Beta", "Gamma"});
    DMCriterion c = Criterion(14, AdvancedParameter(14, 0));
    EXPECT_FALSE(EditCriterion(list.entries, positions.data(), c, nullptr)) << "no dialog installed";
    std::vector<CriterionDialogFields> shown;
    CriterionDialogFields answer;
    bool ok = true;
    SetCriterionDialog([&](CriterionDialogFields& f) {
        shown.push_back(f);
        f = answer;
        return ok;
    });
    answer.kind = 14;
    answer.parameter = 13; // "ROCE"
    answer.variant = 0;
    answer.lower = kUnsetDialogBound;
    answer.upper = 10;
    ASSERT_TRUE(EditCriterion(list.entries, positions.data(), c, nullptr));
    EXPECT_EQ(shown.back().parameter, 14) << "stored 15 shows as 14";
    EXPECT_EQ(c.parameter, 14) << "dialog item 13 is stored as 14";
    EXPECT_EQ(c.mode, 0) << "no share has detailed results: switched off";
    EXPECT_EQ(c.noData, 1);

    answer = {};
    answer.kind = 0;
    answer.parameter = 0; // last price
    answer.lower = 300;
    answer.upper = 100; // reversed
    ASSERT_TRUE(EditCriterion(list.entries, positions.data(), c, nullptr));
    EXPECT_EQ(c.mode, 2);
    EXPECT_EQ(c.lower, kNoLowerLimit) << "the whole range, open for every source";
    EXPECT_EQ(c.upper, kNoUpperLimit);
    answer.lower = 150;
    answer.upper = 220;
    ASSERT_TRUE(EditCriterion(list.entries, positions.data(), c, nullptr));
    EXPECT_EQ(c.lower, 150);
    EXPECT_EQ(c.upper, 220);

    answer.parameter = 8; // price high with its own look-back of 20 trading days
    answer.setting = 1;
    answer.lookBackUnit = 1;
    answer.lookBackCount = 20;
    ASSERT_TRUE(EditCriterion(list.entries, positions.data(), c, nullptr));
    EXPECT_EQ(c.firstDate, 1u << 16 | 20);
    EXPECT_EQ(c.secondSetting, 0);
    ok = false;
    const DMCriterion before = c;
    EXPECT_FALSE(EditCriterion(list.entries, positions.data(), c, nullptr));
    EXPECT_EQ(c.firstDate, before.firstDate) << "Cancel changes nothing";
    SetCriterionDialog(nullptr);
}

} // namespace

namespace {

class FilterValueBlocks : public DatabaseFixture {
protected:
    void SetUp() override
    {
        const dev::DemoDatabase db = dev::BuildDemoDatabase(sys_days{year{2026} / December / 8});
        Load(dev::WriteQuorvaDat(dev::DemoDbFile(db)));
        RebuildFilterCandidates();
        SetFilterProgressWindow(&progress);
    }
    void TearDown() override
    {
        CloseFilterProgress();
        SetFilterProgressWindow(nullptr);
        FreeItemList();
        FilterCandidates() = {};
        DataMiningRunBusy = 0;
    }
    CountingProgress progress;
};

} // namespace

// The blocks are filled on several threads, in runs that end where the progress window moves and the
// messages are pumped: every value is what the lookup gives the candidate alone, and the window moves
// every 250 values, counted across the blocks of one run, as when one thread filled them.
TEST_F(FilterValueBlocks, EveryValueIsTheLookupsOwnAndTheWindowMovesEvery250)
{
    const std::vector<RecordCursor>& rows = FilterCandidates().rows;
    ASSERT_GT(rows.size(), 300u) << "more than one run between two pumps";
    DMCriterion since = Criterion(0, 5, 0, kNoUpperLimit);
    since.firstDate = TradingDaysBack(10);
    for (bool open : {true, false}) {
        SCOPED_TRACE(open ? "window open" : "no window");
        FreeItemList();
        progress.positions.clear();
        if (open) {
            ShowFilterProgress({&since, 1}, nullptr, true, false, "");
            ASSERT_TRUE(FilterProgressOpen());
        }
        const int32_t month = AddToDate(LatestDatabaseDate, -1, 2);
        const std::pair<int32_t, uint32_t> blocks[] = {
            {month, 0}, {-20, 0}, {0, 0}, {month, MovingAverageKey(1, 50)}, {-5, MovingAverageKey(2, 20)},
            {month, MovingAverageKey(3, 10)}, {month, MovingAverageKey(4, 30)}, {-1, MovingAverageKey(5, 14)}};
        for (const auto& [date, key] : blocks) {
            ComputeCachedValues(date, key);
            MovingAverageCache cache;
            for (uint32_t i = 0; i + 1 < rows.size(); ++i) {
                const float want = GetMovingAverageAt(rows[i].record, rows[i].count, date, key, &cache);
                const float got = GetCachedValue(i, date, key);
                ASSERT_EQ(std::memcmp(&got, &want, sizeof got), 0) << "date " << date << " key " << key << " row " << i;
            }
        }
        std::vector<uint32_t> every250;
        for (uint32_t tick = 0; open && tick < std::size(blocks) * (rows.size() - 1); tick += 250)
            every250.push_back(tick);
        EXPECT_EQ(progress.positions, every250);
        CloseFilterProgress();
    }
}
