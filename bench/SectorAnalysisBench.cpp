// The sector analysis on the full-size database (3,000 shares): the two trees and every level's items
// for the "All" list as the dialog builds them on opening, and one paint of a 100-slice pie with its
// labels placed.
#include "core/Database.h"
#include "core/ShareList.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"
#include "lists/ListRows.h"
#include "portfolio/SectorAnalysis.h"
#include "portfolio/ui/PortSummary.h"
#include "portfolio/ui/SectorShares.h"

#include "BenchApplication.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono;
using namespace qv;

void LoadFullDatabase()
{
    static bool loaded = false;
    if (loaded)
        return;
    dev::DemoDatabase db = dev::RandomDatabase(3000, 25, sys_days{year{2026} / December / 31}, 2026);
    dev::DbFile file = dev::DemoDbFile(db);
    file.entries[0].extra = dev::DemoShareFieldTable();
    static const std::vector<uint8_t> quorva = dev::WriteQuorvaDat(file);
    static const std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(db));
    std::span<const uint8_t> c(comp);
    LoadDatabaseFromMemory(quorva, &c);
    loaded = true;
}

// The "All" list's rows, ended by an empty entry.
std::vector<RecordCursor> AllRows()
{
    std::vector<RecordCursor> rows = CollectListRows(RowFilter{});
    rows.push_back({});
    return rows;
}

void SectorTreesOfAll(benchmark::State& state)
{
    LoadFullDatabase();
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
