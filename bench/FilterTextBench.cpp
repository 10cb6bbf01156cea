// Importing a ".flt" file of 1,000 filters of five criteria each into the filter list.
#include "core/DMFilter.h"
#include "datamining/FilterText.h"
#include "devtools/lib/TempFolder.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

qv::DMFilter FiveCriteria(int n)
{
    qv::DMFilter f;
    f.name = "Bench filter " + std::to_string(n);
    f.note = "Five criteria";
    f.sourceKind = 1;
    const uint8_t kinds[5][2] = {{0, 0}, {0, 5}, {9, 0}, {11, 0}, {1, 6}};
    for (const auto& k : kinds)
        f.criteria.push_back(qv::MakeCriterion({k[0], k[1], 0, 0, 1, 100, 0, 0}, 0));
    f.axes = {1, 2, 3};
    return f;
}

void BM_ImportThousandFilters(benchmark::State& state)
{
    qv::dev::TempFolder folder{"fltbench"};
    const auto path = folder.path() / "many.flt";
    for (int i = 0; i < 1000; ++i) {
        const qv::DMFilter f = FiveCriteria(i);
        qv::ExportFilterText(path, &f);
    }
    for (auto _ : state) {
        const int made = qv::ImportFilterText(path);
        if (made != 1000)
            state.SkipWithError("not every filter was imported");
        state.PauseTiming();
        qv::ClearFilterList();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportThousandFilters)->Unit(benchmark::kMillisecond);

} // namespace
