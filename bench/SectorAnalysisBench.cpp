// The sector analysis on the full-size database (3,000 shares): the two trees and every level's items
// for the "All" list as the dialog builds them on opening, and one paint of a 100-slice pie with its
// labels placed.
#include "core/ShareList.h"
#include "lists/ListRows.h"
#include "portfolio/SectorAnalysis.h"
#include "portfolio/ui/PortSummary.h"
#include "portfolio/ui/SectorShares.h"

#include "BenchApplication.h"
#include "FullDatabase.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

using namespace qv;

// The "All" list's rows, ended by an empty entry.
std::vector<RecordCursor> AllRows()
{
    std::vector<RecordCursor> rows = CollectListRows(RowFilter{});
    rows.push_back({});
    return rows;
}

void SectorTreesOfAll(benchmark::State& state)
{
    LoadFullDatabaseOnce();
    std::vector<RecordCursor> rows = AllRows();
    ShareList list{};
    list.entries = rows.data();
    const auto namer = [](int level, int32_t code) { return SectorName(level, code); };
    size_t leaves = 0;
    for (auto _ : state) {
        const SectorTrees trees = BuildSectorTrees(SectorSharesOf(list));
        leaves = LevelItems(trees.capital, kLevelCompanies, false, namer).size();
        for (int level = 0; level < 4; ++level)
            benchmark::DoNotOptimize(CountOwnSlices(LevelItems(trees.capital, level, false, namer), trees.capital.total));
    }
    state.counters["shares"] = double(rows.size() - 1);
    state.counters["companies"] = double(leaves);
}
BENCHMARK(SectorTreesOfAll)->Unit(benchmark::kMillisecond);

// 100 companies of equal capital, so that each has a slice of its own.
void PaintHundredSlices(benchmark::State& state)
{
    BenchApplication();
    std::vector<SectorShare> shares;
    for (int i = 0; i < 100; ++i) {
        SectorShare s;
        s.name = "Company " + std::to_string(i);
        s.epic = "C" + std::to_string(i);
        s.codes = {i % 10, i % 30, i % 3};
        s.capital = 100 + i % 7;
        shares.push_back(s);
    }
    CPortSummary dialog(shares, "Bench", false);
    dialog.SetSettings({kLevelCompanies, kMeasureCapital, 0, state.range(0) != 0, true, false});
    QImage image(640, 420, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        dialog.DrawChart(painter, image.rect(), false);
    }
}
BENCHMARK(PaintHundredSlices)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
