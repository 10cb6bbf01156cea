// Loading a full-size database: 3,000 share records with 25 years of full days each, written once by
// the database writer; the load includes the statistics of every stream.
#include "core/Database.h"
#include "core/PriceSubRecords.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"

#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono;

constexpr int kShares = 3000;
constexpr int kYears = 25;

struct FullSizeDatabase {
    qv::dev::TempFolder folder{"qvbench"};
    int64_t days = 0;
    uintmax_t bytes = 0;

    FullSizeDatabase()
    {
        qv::dev::DemoDatabase db =
            qv::dev::RandomDatabase(kShares, kYears, sys_days{year{2026} / December / 31}, 2026);
        for (const auto& r : db.records)
            for (const auto& s : r.streams)
                days += int64_t(s.history.days.size());
        qv::dev::CompFile comp = qv::dev::DemoCompFile(db);
        qv::dev::WriteDatabaseFolder(folder.path(), qv::dev::DemoDbFile(db), &comp);
        bytes = std::filesystem::file_size(folder.path() / "data" / "Quorva.dat");
    }
};

const FullSizeDatabase& Database()
{
    static const FullSizeDatabase db;
    return db;
}

void LoadDatabaseFullSize(benchmark::State& state)
{
    const FullSizeDatabase& db = Database();
    qv::SetProgramFolder(db.folder.path());
    for (auto _ : state) {
        qv::LoadDatabase(qv::AppPath("data\\Quorva.dat"));
        benchmark::DoNotOptimize(qv::MainRecordBlock);
        state.PauseTiming();
        qv::FreeDatabase(true);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * db.days);
    state.SetBytesProcessed(state.iterations() * int64_t(db.bytes));
    state.counters["records"] = kShares + 1;
}
BENCHMARK(LoadDatabaseFullSize)->Unit(benchmark::kMillisecond)->UseRealTime();

// The statistics part of the load alone, over the loaded blocks.
void LoadDatabaseStatisticsOnly(benchmark::State& state)
{
    const FullSizeDatabase& db = Database();
    qv::SetProgramFolder(db.folder.path());
    qv::LoadDatabase(qv::AppPath("data\\Quorva.dat"));
    for (auto _ : state)
        qv::ComputeBlockStatistics(qv::MainRecordBlock);
    qv::FreeDatabase(true);
    state.SetItemsProcessed(state.iterations() * db.days);
}
BENCHMARK(LoadDatabaseStatisticsOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
