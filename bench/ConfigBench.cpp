// Reading and building "Quorva.cfg" images and keyed item store images.
#include "core/ConfigFamilies.h"
#include "core/ConfigFormat.h"
#include "core/ConfigWriter.h"
#include "core/KeyedItemStore.h"

#include <benchmark/benchmark.h>
#include <memory>

static void BM_ConfigReadWhole(benchmark::State& state)
{
    auto config = std::make_unique<qv::ConfigState>();
    qv::ResetAllConfigFamilies(*config);
    auto image = qv::WriteConfigImage(*config, qv::kWholeConfig);
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::ReadConfigImage(*config, image, qv::kWholeConfig));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
}
BENCHMARK(BM_ConfigReadWhole);

static void BM_ConfigSingleSlotSave(benchmark::State& state)
{
    auto config = std::make_unique<qv::ConfigState>();
    qv::ResetAllConfigFamilies(*config);
    auto image = qv::WriteConfigImage(*config, qv::kWholeConfig);
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::WriteConfigImage(*config, int32_t(qv::config_mask::kNewsTables | 3), image));
}
BENCHMARK(BM_ConfigSingleSlotSave);

static void BM_KeyedStoreRead(benchmark::State& state)
{
    qv::KeyedItemStore store;
    for (uint32_t i = 0; i < uint32_t(state.range(0)); ++i)
        store.SetItem(0x4000 + i, 0, 0, qv::MakeBlob(200));
    auto image = store.WriteImage();
    for (auto _ : state) {
        qv::KeyedItemStore loaded;
        benchmark::DoNotOptimize(loaded.ReadImage(image));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
}
BENCHMARK(BM_KeyedStoreRead)->Arg(1000);
