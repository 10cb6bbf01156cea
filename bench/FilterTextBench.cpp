// Importing a ".flt" file of 1,000 filters of five criteria each into the filter list: reading,
// renaming and linking them alone, and with each criterion's statistics over the 3,000 candidates of
// a full-size database.
#include "core/DMFilter.h"
#include "core/RecordLists.h"
#include "datamining/FilterText.h"
#include "datamining/FilterValues.h"
#include "devtools/lib/TempFolder.h"

#include "FullDatabase.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Last price, number of shares and capitalisation, "% Price since" 1 to 12 months back and
// "M.A. minus Price (%)" of a 10- to 29-day average: 35 distinct criteria over the file.
qv::DMFilter FiveCriteria(int n)
{
    qv::DMFilter f;
    f.name = "Bench filter " + std::to_string(n);
    f.note = "Five criteria";
    f.sourceKind = 1;
    const uint8_t kinds[5][2] = {{0, 0}, {9, 0}, {11, 0}, {0, 5}, {1, 6}};
    for (const auto& k : kinds)
        f.criteria.push_back(qv::MakeCriterion({k[0], k[1], 0, 0, 1, 100, 0, 0}, 0));
    f.criteria[3].firstDate = qv::PeriodWord(qv::PeriodUnit::Months, uint16_t(1 + n % 12));
    f.criteria[4].setting = 1 | uint32_t(10 + n % 20) << 4;
    f.criteria[4].firstDate = qv::PeriodWord(qv::PeriodUnit::Months, 1);
    f.axes = {1, 2, 3};
    return f;
}

void BM_ImportThousandFilters(benchmark::State& state)
{
    const bool withDatabase = state.range(0) != 0;
    if (withDatabase) {
        qv::LoadFullDatabase();
        qv::RebuildFilterCandidates();
    }
    qv::dev::TempFolder folder{"fltbench"};
    const auto path = folder.path() / "many.flt";
    for (int i = 0; i < 1000; ++i) {
        const qv::DMFilter f = FiveCriteria(i);
        qv::ExportFilterText(path, &f);
    }
    if (withDatabase) { // the criteria's value blocks, computed once and cached, are not the import's
        qv::ImportFilterText(path);
        qv::ClearFilterList();
    }
    for (auto _ : state) {
        const int made = qv::ImportFilterText(path);
        if (made != 1000)
            state.SkipWithError("not every filter was imported");
        state.PauseTiming();
        qv::ClearFilterList();
        state.ResumeTiming();
    }
    if (withDatabase) {
        qv::FilterCandidates() = {};
        qv::FreeItemList();
        qv::FreeDatabase(true);
    }
}
BENCHMARK(BM_ImportThousandFilters)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
