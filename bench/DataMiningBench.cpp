// Data-mining filter runs over a full-size database (3,000 shares, 25 years): a five-criterion filter
// with its values cached, the cold run that computes its two value blocks, and mapping rows in
// candidate order.
#include "core/Database.h"
#include "core/DMFilter.h"
#include "core/Memory.h"
#include "core/RecordLists.h"
#include "core/ShareList.h"
#include "datamining/FilterEvaluation.h"
#include "datamining/FilterValues.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"

#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono;

const sys_days kLastDay = sys_days{year{2026} / December / 31};

void LoadFullSize()
{
    static const auto images = [] {
        qv::dev::DemoDatabase db = qv::dev::RandomDatabase(3000, 25, kLastDay, 2026);
        qv::dev::DbFile file = qv::dev::DemoDbFile(db);
        file.entries[0].extra = qv::dev::DemoShareFieldTable();
        return std::pair{qv::dev::WriteQuorvaDat(file), qv::dev::WriteCompDat(qv::dev::DemoCompFile(db))};
    }();
    std::span<const uint8_t> comp(images.second);
    qv::LoadDatabaseFromMemory(images.first, &comp);
    qv::RebuildFilterCandidates();
}

qv::DMCriterion Criterion(uint8_t kind, uint8_t parameter, float lower, float upper)
{
    return qv::MakeCriterion({kind, parameter, 0, 0, lower, upper, 0, 0}, 0);
}

// Three column kinds (last price, number of shares, capitalisation), "% Price since" three months
// back and "M.A. minus Price (%)" of a 50-day average a month back.
qv::DMFilter FiveCriteria()
{
    qv::DMFilter f;
    f.name = "Bench";
    f.sourceKind = 1;
    qv::DMCriterion since = Criterion(0, 5, -20, qv::kNoUpperLimit);
    since.firstDate = qv::PeriodWord(qv::PeriodUnit::Months, 3);
    qv::DMCriterion average = Criterion(1, 6, qv::kNoLowerLimit, 5);
    average.setting = 1 | 50u << 4;
    average.firstDate = qv::PeriodWord(qv::PeriodUnit::Months, 1);
    f.criteria = {Criterion(0, 0, 50, 500), Criterion(9, 0, 0, qv::kNoUpperLimit),
                  Criterion(11, 0, 0, qv::kNoUpperLimit), since, average};
    return f;
}

void TearDown(qv::ShareList& list)
{
    qv::ProFree(list.entries);
    qv::FreeItemList();
    qv::FilterCandidates() = {};
    qv::FreeDatabase(true);
}

void FilterWithValuesCached(benchmark::State& state)
{
    LoadFullSize();
    qv::DMFilter filter = FiveCriteria();
    qv::ShareList list{};
    qv::RunFilter(&list, &filter, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::RunFilter(&list, &filter, 0));
    state.counters["passing"] = double(qv::ShareListCount(&list));
    state.counters["candidates"] = double(qv::FilterCandidateCount());
    TearDown(list);
}
BENCHMARK(FilterWithValuesCached)->Unit(benchmark::kMillisecond);

void FilterComputingItsValues(benchmark::State& state)
{
    LoadFullSize();
    qv::DMFilter filter = FiveCriteria();
    qv::ShareList list{};
    for (auto _ : state) {
        qv::FreeItemList();
        benchmark::DoNotOptimize(qv::RunFilter(&list, &filter, 0));
    }
    state.counters["blocks"] = double(qv::ValueCacheEntries());
    TearDown(list);
}
BENCHMARK(FilterComputingItsValues)->Unit(benchmark::kMillisecond);

void MapRowsInCandidateOrder(benchmark::State& state)
{
    LoadFullSize();
    const std::vector<qv::RecordCursor>& rows = qv::FilterCandidates().rows;
    std::vector<uint32_t> positions(rows.size());
    for (auto _ : state) {
        qv::MapRowsToCandidates(rows.data(), rows, positions.data());
        benchmark::DoNotOptimize(positions.data());
    }
    qv::ShareList list{};
    TearDown(list);
}
BENCHMARK(MapRowsInCandidateOrder)->Unit(benchmark::kMicrosecond);

} // namespace
