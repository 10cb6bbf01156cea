// Building menus from the tables, and the idle walk's steps over a database.
#include "core/Database.h"
#include "devtools/lib/DatabaseWriter.h"
#include "shell/IdleWork.h"
#include "shell/MenuTables.h"
#include "shell/SoftMenu.h"

#include <benchmark/benchmark.h>

static void BM_BuildMainMenuBar(benchmark::State& state)
{
    std::vector<qv::AcceleratorKey> keys;
    qv::AddDefaultAccelerators(keys, true);
    qv::SoftMenuContext context{true, true, &keys};
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::BuildSoftMenu(300, false, 0, context));
}
BENCHMARK(BM_BuildMainMenuBar);

static void BM_BuildEveryMenu(benchmark::State& state)
{
    std::vector<qv::AcceleratorKey> keys;
    qv::AddDefaultAccelerators(keys, true);
    qv::SoftMenuContext context{true, true, &keys};
    for (auto _ : state)
        for (const qv::SoftMenuRegistryEntry& entry : qv::SoftMenuRegistry())
            benchmark::DoNotOptimize(qv::BuildSoftMenu(entry.menuId, true, 1, context));
}
BENCHMARK(BM_BuildEveryMenu);

// One idle call's own cost, averaged over a walk of 2,000 records of one price stream each; the
// statistics themselves are not computed here.
static void BM_IdleStep(benchmark::State& state)
{
    qv::dev::DbFile file;
    auto& records = file.entries.emplace_back().records;
    for (uint16_t i = 0; i < 2000; ++i)
        records.push_back(qv::dev::ShareRecord(uint16_t(0x4000 + i), "Share", 'O', "SHR"));
    std::vector<uint8_t> image = qv::dev::WriteQuorvaDat(file);
    qv::LoadDatabaseFromMemory(image, nullptr);
    for (auto _ : state) {
        if (!qv::RunIdleWork()) {
            state.PauseTiming();
            qv::Idle() = qv::IdleState{};
            state.ResumeTiming();
        }
    }
    qv::FreeDatabase(true);
}
BENCHMARK(BM_IdleStep);
