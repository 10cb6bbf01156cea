// The share list view on the full-size database (3,000 shares): a whole 1920 x 1080 paint of "All"
// through the view's own paint code, a live-cell redraw pass over a screen of rows, and the grid
// layout of a wide layout.
#include "core/ColumnDef.h"
#include "core/Database.h"
#include "core/Memory.h"
#include "core/ShareList.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"
#include "lists/ListGrid.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/ui/ViewList.h"

#include "BenchApplication.h"
#include "FullDatabase.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono;
using namespace qv;

void Setup()
{
    BenchApplication();
    LoadFullDatabaseOnce();
}

ShareList* AllList()
{
    static ShareList* list = [] {
        auto* l = static_cast<ShareList*>(ProCalloc(1, sizeof(ShareList), "Share list"));
        l->windowSlot = -1;
        SelectColumnSetting(l, kListKindShares, 0, false, false);
        RefreshListRows(l, true, true);
        return l;
    }();
    return list;
}

void BM_ListViewFullPaint(benchmark::State& state)
{
    Setup();
    CViewList view(kListKindShares);
    view.list = AllList();
    for (auto _ : state) {
        QImage image = view.RenderImage(QSize(1920, 1080));
        benchmark::DoNotOptimize(image.constBits());
    }
    view.list = nullptr;
    state.counters["rows"] = double(ShareListCount(AllList()));
}
BENCHMARK(BM_ListViewFullPaint)->Unit(benchmark::kMillisecond);

void BM_ListViewLiveRedraw(benchmark::State& state)
{
    Setup();
    CViewList view(kListKindShares);
    view.list = AllList();
    QImage image = view.RenderImage(QSize(1920, 1080));
    for (auto _ : state)
        benchmark::DoNotOptimize(view.LiveRedraw(image));
    view.list = nullptr;
}
BENCHMARK(BM_ListViewLiveRedraw)->Unit(benchmark::kMicrosecond);

// Fitting a column's width measures every row's cell text: the name column and the price column.
void BM_ListColumnFit(benchmark::State& state)
{
    Setup();
    CViewList view(kListKindShares);
    view.list = AllList();
    (void)view.RenderImage(QSize(1920, 1080));
    const int column = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(view.FitColumn(column));
    view.list = nullptr;
    state.counters["rows"] = double(ShareListCount(AllList()));
}
BENCHMARK(BM_ListColumnFit)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_ListGridLayout(benchmark::State& state)
{
    std::vector<uint8_t> layout;
    for (int i = 0; i < 60; ++i)
        AppendColumnDef(layout, ColumnOf(kColumnField, 18).withWidth(uint16_t(40 + i)));
    layout.push_back(0);
    ListGrid grid;
    bool banded = state.range(0) != 0;
    for (auto _ : state) {
        if (banded)
            grid.LayoutGridBanded(layout.data(), 3000, 0);
        else
            grid.LayoutGridNormal(layout.data(), 2, 3000, 0);
        grid.FitGridToRect({0, 0, 1920, 1080}, 40, 17, false);
        grid.SetGridScrollPos(10);
        benchmark::DoNotOptimize(grid.lastColumn());
    }
}
BENCHMARK(BM_ListGridLayout)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
