// The data-mining view on the full-size database (3,000 shares): a refresh (the filter evaluated with
// its values cached) and a whole 1200 x 900 paint of the table and of 3,000 marks with both
// histograms and the statistic lines.
#include "core/ConfigState.h"
#include "core/Database.h"
#include "core/DMFilter.h"
#include "core/RecordLists.h"
#include "core/ShareList.h"
#include "datamining/FilterValues.h"
#include "datamining/ui/ViewDataMining.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"
#include "devtools/lib/ShareListChain.h"
#include "views/ViewKinds.h"

#include "BenchApplication.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono;
using namespace qv;

void LoadFullSize()
{
    static const auto images = [] {
        dev::DemoDatabase db = dev::RandomDatabase(3000, 25, sys_days{year{2026} / December / 31}, 2026);
        dev::DbFile file = dev::DemoDbFile(db);
        file.entries[0].extra = dev::DemoShareFieldTable();
        return std::pair{dev::WriteQuorvaDat(file), dev::WriteCompDat(dev::DemoCompFile(db))};
    }();
    std::span<const uint8_t> comp(images.second);
    LoadDatabaseFromMemory(images.first, &comp);
    RebuildFilterCandidates();
}

// Every share passes: the last price, "% Price since" three months back and the capitalisation, each
// without bounds, as X, Y and Z.
void InstallFilter()
{
    auto filter = std::make_unique<DMFilter>();
    filter->name = "Bench";
    filter->sourceKind = 1;
    DMCriterion since = MakeCriterion({0, 5, 0, 0, kNoLowerLimit, kNoUpperLimit, 0, 0}, 0);
    since.firstDate = PeriodWord(PeriodUnit::Months, 3);
    filter->criteria = {MakeCriterion({0, 0, 0, 0, kNoLowerLimit, kNoUpperLimit, 0, 0}, 0), since,
                        MakeCriterion({11, 0, 0, 0, kNoLowerLimit, kNoUpperLimit, 0, 0}, 0)};
    filter->axes = {1, 2, 3};
    SetCurrentFilter(InsertFilter(std::move(filter)));
}

void DataMiningViewRefreshAndPaint(benchmark::State& state)
{
    BenchApplication();
    LoadFullSize();
    InstallFilter();
    DataMiningGraphSettings s = DefaultDataMiningGraphSettings();
    s.scatterFlags |= kScatterSizeByZ | kScatterColourByZ;
    s.Write(Config().dataMiningGraphs.records[Config().dataMining.bytes[2]]);
    {
        CViewDataMining view(kViewDataMining);
        view.list = CreateListSource(&view, 1, kFamilyShares, nullptr);
        view.resize(1200, 900);
        view.OnRefresh();
        QImage image(view.size(), QImage::Format_RGB32);
        for (auto _ : state) {
            view.OnRefresh();
            view.render(&image);
            benchmark::DoNotOptimize(image.bits());
        }
        state.counters["rows"] = double(ShareListCount(view.list));
        state.counters["marks"] = double(view.lastGraph().displayed);
    }
    dev::FreeShareListChain();
    CurrentShareList() = nullptr;
    ClearFilterList();
    FreeItemList();
    FilterCandidates() = {};
    FreeDatabase(true);
}
BENCHMARK(DataMiningViewRefreshAndPaint)->Unit(benchmark::kMillisecond);

} // namespace
