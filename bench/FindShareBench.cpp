// Find a share over a full-size database (3,000 shares, 25 years of full days): building the name index
// each time the dialog opens, and one fill of the list for a typed text in each mode.
#include "core/Database.h"
#include "core/TableLock.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"
#include "shell/FindShareIndex.h"

#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono;

class FullDatabase {
public:
    FullDatabase()
    {
        qv::CreateDataLock();
        qv::dev::DemoDatabase db = qv::dev::RandomDatabase(3000, 25, sys_days{year{2026} / December / 31}, 2026);
        qv::dev::CompFile comp = qv::dev::DemoCompFile(db);
        qv::dev::WriteDatabaseFolder(folder_.path(), qv::dev::DemoDbFile(db), &comp);
        qv::SetProgramFolder(folder_.path());
        qv::LoadDatabase(qv::AppPath("data\\Quorva.dat"));
    }
    ~FullDatabase() { qv::FreeDatabase(true); }

private:
    qv::dev::TempFolder folder_{"qvbench"};
};

void BuildFindShareIndex(benchmark::State& state)
{
    FullDatabase database;
    for (auto _ : state) {
        std::vector<qv::NameIndexItem> index = qv::BuildNameIndex();
        benchmark::DoNotOptimize(index.data());
    }
}

// range(0): 0 first-letter names, 1 contains, 2 EPIC prefix.
void FillFindShareList(benchmark::State& state)
{
    FullDatabase database;
    std::vector<qv::NameIndexItem> index = qv::BuildNameIndex();
    qv::FindShareQuery query;
    query.useEpic = state.range(0) == 2;
    query.firstLetter = state.range(0) == 0;
    query.text = query.useEpic ? "S29" : "zz";
    for (auto _ : state) {
        qv::FindShareFill fill = qv::FillFindShareList(index, query);
        benchmark::DoNotOptimize(fill.lines.data());
    }
}

} // namespace

BENCHMARK(BuildFindShareIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(FillFindShareList)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
