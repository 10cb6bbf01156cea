// Intraday list columns: one cell's value from the intraday engine (a day of ticks for 300 shares in
// the store), and a list of 300 shares with six intraday columns (four values and two small graphs)
// redrawn live after a tick, as a view does on its 0x444.
#include "core/ColumnDef.h"
#include "core/Memory.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "devtools/lib/TempFolder.h"
#include "lists/CellValue.h"
#include "lists/ColumnCatalogues.h"
#include "lists/IntradayCellSources.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/ui/ViewList.h"
#include "platform/Paths.h"
#include "realtime/IntradayCells.h"
#include "realtime/IntradayColumnSpec.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickCoding.h"

#include "BenchApplication.h"
#include "FullDatabase.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace qv;
using C = IntradayChoice;

constexpr int kListShares = 300;
constexpr int kTicksPerShare = 400;

ShareList* ListOf300()
{
    static ShareList* list = [] {
        auto* l = static_cast<ShareList*>(ProCalloc(1, sizeof(ShareList), "Share list"));
        l->windowSlot = -1;
        SelectColumnSetting(l, kListKindShares, 0, false, false);
        RefreshListRows(l, true, true);
        if (ShareListCount(l) > kListShares)
            l->entries[kListShares] = RecordCursor{};
        return l;
    }();
    return list;
}

// The store with a day of quotes and trades for every share of the list, every 60 s from 08:00.
void FillStore()
{
    static bool filled = false;
    if (filled)
        return;
    filled = true;
    static dev::TempFolder folder;
    std::filesystem::create_directories(folder.path() / "data" / "RT");
    SetProgramFolder(folder.path());
    InitRTStore();
    TheRTEngine().running = true;
    RTDayRecord* day = GetRTDay(PackDate(7, 12, 2026), true);
    ShareList* list = ListOf300();
    for (int i = 0; i < ShareListCount(list); ++i) {
        const uint16_t id = RecordId(list->entries[i].record);
        int32_t slot = -1;
        RTDayShareEntry& e = *GetRTDayShare(MakeRTKey(0, id), *day, slot, true);
        RTTickWriter w(e);
        float mid = 100.0f + float(i % 50);
        for (int t = 0; t < kTicksPerShare; ++t) {
            mid += float((t * 7 + i) % 5) - 2.0f;
            w.Time(uint32_t(28800 + 60 * t));
            const bool trade = t % 3 == 0;
            w.PriceItem(0, mid + 1, 0, mid - 1, trade ? std::optional(RTStoredTrade{mid, uint32_t(100 + t), 0}) : std::nullopt);
        }
        RebuildRTSummary(e, *day);
    }
    InstallIntradayCellSources();
}

std::vector<uint8_t> LiveLayout()
{
    std::vector<uint8_t> layout;
    AppendColumnDef(layout, ColumnOf(kColumnField, 15).withWidth(160));
    for (std::initializer_list<C> run : {std::initializer_list<C>{}, {C::Bid}, {C::Offer}, {C::Volume}, {C::Graph}, {C::Thermograph}}) {
        CIntradayColumnSpec spec = CIntradayColumnSpec::Initial();
        for (C c : run)
            spec.Choose(c);
        const std::vector<uint8_t> column = spec.BuildColumn(CatalogueTemplate(Catalogue::Shares, spec.letter));
        layout.insert(layout.end(), column.begin(), column.end());
    }
    layout.push_back(0);
    return layout;
}

void BM_IntradayCellValue(benchmark::State& state)
{
    BenchApplication();
    LoadFullDatabaseOnce();
    FillStore();
    ShareList* list = ListOf300();
    const char letters[] = {'K', 'I', 'J', 'P', 'Q', 'S', 'M', 'L'};
    size_t n = 0;
    for (auto _ : state) {
        float value = 0;
        const uint8_t* record = list->entries[n % size_t(ShareListCount(list))].record;
        const char letter = letters[n % std::size(letters)];
        benchmark::DoNotOptimize(IntradayCellValue(record, 0, letter, letter == 'Q' || letter == 'S' ? 5 : 0, value));
        benchmark::DoNotOptimize(value);
        ++n;
    }
}
BENCHMARK(BM_IntradayCellValue)->Unit(benchmark::kNanosecond);

void BM_IntradayListLiveTick(benchmark::State& state)
{
    BenchApplication();
    LoadFullDatabaseOnce();
    FillStore();
    static std::vector<uint8_t> layout = LiveLayout();
    ShareList* list = ListOf300();
    const uint8_t* kept = list->columnLayout;
    list->columnLayout = layout.data();
    CViewList view(kListKindShares);
    view.list = list;
    QImage image = view.RenderImage(QSize(1920, 1080));
    uint32_t tick = 0;
    for (auto _ : state) {
        // One share of the screen takes a new quote: its marks change and its day is read again.
        const uint16_t id = RecordId(list->entries[tick % 40].record);
        if (RTActiveShare* share = FindRTActiveShare(MakeRTKey(0, id))) {
            MarkRTTickChange(*share, IntradayNowMs(), 2, float(101 + tick % 3), 99, 101, 99);
            share->needsReload = 1;
        }
        benchmark::DoNotOptimize(view.LiveRedraw(image));
        ++tick;
    }
    view.list = nullptr;
    list->columnLayout = kept;
    state.counters["rows"] = double(ShareListCount(list));
}
BENCHMARK(BM_IntradayListLiveTick)->Unit(benchmark::kMillisecond);

} // namespace
