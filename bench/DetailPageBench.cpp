// One full paint of the share details view (heading block, types, notes, detail items, results rows
// and growth chart) of a demo share with results, into a 760 x 900 image.
#include "core/Database.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareListChain.h"
#include "lists/ListOptions.h"
#include "lists/ui/ViewDetailWindow.h"

#include "BenchApplication.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

using namespace qv;

void BM_DetailPagePaint(benchmark::State& state)
{
    BenchApplication();
    const dev::DemoDatabase demo =
        dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
    const std::vector<uint8_t> db = dev::WriteQuorvaDat(dev::DemoDbFile(demo));
    const std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(demo));
    const std::span<const uint8_t> compSpan(comp);
    LoadDatabaseFromMemory(db, &compSpan);
    uint8_t* share = nullptr;
    size_t mostResults = 0;
    for (const auto& r : demo.records)
        if (r.results.size() > mostResults) {
            mostResults = r.results.size();
            share = FindShareRecord(r.id);
        }
    {
        CViewDetailWnd view;
        view.list = CreateListSource(&view, 16, kFamilyShares, nullptr);
        view.list->entries[0] = {share, 0};
        view.list->entries[1] = {nullptr, 0};
        view.list->current = 0;
        view.resize(760, 900);
        view.show();
        QApplication::processEvents();
        QImage image(760, 900, QImage::Format_RGB32);
        for (auto _ : state) {
            view.render(&image);
            benchmark::DoNotOptimize(image.bits());
        }
        state.counters["results"] = double(mostResults);
    }
    dev::FreeShareListChain();
    CurrentShareList() = nullptr;
    ForgetListRows();
    FreeDatabase(true);
}
BENCHMARK(BM_DetailPagePaint)->Unit(benchmark::kMillisecond);

} // namespace
