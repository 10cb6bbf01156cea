// The rows of a list and their sort on the full-size database (3,000 shares, statistics cached):
// filling "All", sorting it by each kind of column, from name order, already in order and in reverse,
// a direction change alone, the name-rank table and the composite of "All"; and the first sort by a
// price-history column after a fresh load.
#include "core/CachedStatistics.h"
#include "core/ColumnDef.h"
#include "core/Database.h"
#include "core/Memory.h"
#include "core/PriceWalkIndex.h"
#include "core/ShareList.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"
#include "lists/FormulaTemplates.h"
#include "lists/ListRows.h"
#include "lists/ResultsFigures.h"
#include "lists/RowSort.h"
#include "lists/SyntheticRecords.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using namespace std::chrono;
using namespace qv;

struct FullDatabase {
    std::vector<uint8_t> quorva, comp;
    FullDatabase()
    {
        dev::DemoDatabase db = dev::RandomDatabase(3000, 25, sys_days{year{2026} / December / 31}, 2026);
        dev::DbFile file = dev::DemoDbFile(db);
        file.entries[0].extra = dev::DemoShareFieldTable();
        quorva = dev::WriteQuorvaDat(file);
        comp = dev::WriteCompDat(dev::DemoCompFile(db));
    }
};

const FullDatabase& Images()
{
    static const FullDatabase images;
    return images;
}

// Frees the database and loads it again, as opening it does (the statistics of every stream with it).
void LoadFresh()
{
    FreeDatabase(true);
    std::span<const uint8_t> c(Images().comp);
    LoadDatabaseFromMemory(Images().quorva, &c);
}

bool loaded = false;

// Loads the database once and caches every share's statistics.
void LoadOnce()
{
    if (loaded)
        return;
    LoadFresh();
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r)) {
        RecordCursor row{r, 0};
        GetCachedVolatility(row);
        GetCachedBeta(row);
        GetCachedCorrelation(row);
    }
    loaded = true;
}

// One column per sortable kind: float field, company-data text, storage order, formula, results,
// statistics.
std::vector<uint8_t> LayoutOfKinds()
{
    std::vector<uint8_t> layout;
    AppendColumnDef(layout, ColumnOf(kColumnField, 17));
    AppendColumnDef(layout, ColumnOf(kColumnField, 128).withTextColumn(true));
    AppendColumnDef(layout, ColumnOf(kColumnField, 15));
    std::vector<uint8_t> formula = FormulaTemplateColumn(ShareFormulaTemplates().front());
    layout.insert(layout.end(), formula.begin(), formula.end());
    AppendColumnDef(layout, ColumnOf(kColumnResults, kResultsEps).withParameters({0}));
    AppendColumnDef(layout, ColumnOf(kColumnField, 21));
    layout.push_back(0);
    return layout;
}

struct AllList {
    ShareList list{};
    std::vector<uint8_t> layout = LayoutOfKinds();
    AllList()
    {
        LoadOnce();
        list.columnLayout = layout.data();
        list.sortDirection = 1;
        list.sortColumn = -1;
        RefreshListRows(&list, true, false);
    }
    ~AllList() { ProFree(list.entries); }
};

void FillAll(benchmark::State& state)
{
    AllList all;
    for (auto _ : state)
        RefreshListRows(&all.list, true, false);
    state.counters["rows"] = ShareListCount(&all.list);
}
BENCHMARK(FillAll)->Unit(benchmark::kMillisecond);

// Times the sort of the list by the column, refilled in name order before each.
void SortFreshList(benchmark::State& state, AllList& all, int column)
{
    for (auto _ : state) {
        state.PauseTiming();
        RefreshListRows(&all.list, true, false);
        all.list.sortColumn = -1;
        state.ResumeTiming();
        SortRows(&all.list, column + 1, true);
    }
}

const char* kKindNames[] = {"float", "text", "storage order", "formula", "results", "statistics"};

// The whole sort of a freshly filled list (name order) by column kind.
void SortAllByKind(benchmark::State& state)
{
    AllList all;
    int column = int(state.range(0));
    SortFreshList(state, all, column);
    state.SetLabel(kKindNames[column]);
}
BENCHMARK(SortAllByKind)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// One price-history column of each kind: the close 20 days back, the change since 3 months back in
// per cent, the change between two dates, the volume 5 days back, the 20-day average volume, and
// the high of the last 365 days.
std::vector<uint8_t> LayoutOfHistories()
{
    std::vector<uint8_t> layout;
    AppendColumnDef(layout, ColumnOf(kColumnPriceHistory, 30).withParameters({4, 1, 20, 0}));
    AppendColumnDef(layout, ColumnOf(kColumnPriceHistory, 31).withParameters({4, 0x83, 3, 0}));
    AppendColumnDef(layout, ColumnOf(kColumnPriceHistory, 31).withParameters({7, 0x81, 60, 0, 1, 10, 0}));
    AppendColumnDef(layout, ColumnOf(kColumnPriceHistory, 'W').withParameters({4, 1, 5, 0}));
    AppendColumnDef(layout, ColumnOf(kColumnPriceHistory, 'X').withParameters({4, 1, 20, 0}));
    AppendColumnDef(layout, ColumnOf(kColumnPriceHistory, '^').withSubKind(1).withParameters({4, 2, 0x6D, 0x01}));
    layout.push_back(0);
    return layout;
}

const char* kHistoryNames[] = {"close back", "change since", "change between", "volume back", "average volume",
                               "year high"};

// The whole sort of "All" by a price-history column, warm: the same sort repeated on the same load.
void SortAllByPriceHistory(benchmark::State& state)
{
    AllList all;
    std::vector<uint8_t> histories = LayoutOfHistories();
    all.list.columnLayout = histories.data();
    int column = int(state.range(0));
    SortFreshList(state, all, column);
    state.SetLabel(kHistoryNames[column]);
    state.counters["rows"] = ShareListCount(&all.list);
}
BENCHMARK(SortAllByPriceHistory)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The first sort of "All" by a price-history column after each fresh load of the database: what the
// sort needs must come with the load, not be built by the sort. With the second argument 1 the
// checkpoints the load kept are dropped first, so that the sort builds them as every first sort did
// before the load kept them.
void FirstSortAfterLoad(benchmark::State& state)
{
    AllList all;
    std::vector<uint8_t> histories = LayoutOfHistories();
    all.list.columnLayout = histories.data();
    int column = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        LoadFresh();
        if (state.range(1))
            ForgetPriceWalkIndexes();
        RefreshListRows(&all.list, true, false);
        all.list.sortColumn = -1;
        state.ResumeTiming();
        SortRows(&all.list, column + 1, true);
    }
    // The statistics caches of the other benchmarks went with the database.
    loaded = false;
    state.SetLabel(std::string(kHistoryNames[column]) + (state.range(1) ? ", checkpoints built by the sort" : ""));
}
BENCHMARK(FirstSortAfterLoad)->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(5);

// The ordering pass alone on rows already in order (0) and in reverse (1), by column kind.
void OrderSortedRows(benchmark::State& state)
{
    AllList all;
    int column = int(state.range(0));
    SortRows(&all.list, column + 1, true);
    if (state.range(1))
        std::reverse(all.list.entries, all.list.entries + ShareListCount(&all.list));
    std::vector<RecordCursor> start(all.list.entries, all.list.entries + ShareListCount(&all.list) + 1);
    SortKeys keys;
    PrepareSortKeys(&all.list, GetColumnDef(all.layout.data(), column), keys);
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(start.begin(), start.end(), all.list.entries);
        state.ResumeTiming();
        SortRowArray(all.list.entries, keys, false);
    }
    state.SetLabel(std::string(kKindNames[column]) + (state.range(1) ? ", reversed" : ", in order"));
}
BENCHMARK(OrderSortedRows)->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}})->Unit(benchmark::kMillisecond);

void DirectionChange(benchmark::State& state)
{
    AllList all;
    SortRows(&all.list, 1, true);
    int n = 1;
    for (auto _ : state) {
        n = -n;
        SortRows(&all.list, n, false);
    }
}
BENCHMARK(DirectionChange)->Unit(benchmark::kMicrosecond);

void RankTable(benchmark::State& state)
{
    LoadOnce();
    for (auto _ : state)
        BuildNameRankTable();
}
BENCHMARK(RankTable)->Unit(benchmark::kMillisecond);

void CompositeOfAll(benchmark::State& state)
{
    AllList all;
    uint8_t* record = nullptr;
    for (auto _ : state)
        BuildListCompositeSeries(record, "All", all.list.entries, false, false);
    ProFree(record);
}
BENCHMARK(CompositeOfAll)->Unit(benchmark::kMillisecond);

} // namespace
