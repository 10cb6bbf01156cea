// Cost of the guarded allocator against the plain heap.
#include "core/Memory.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

static void BM_ProCallocFree(benchmark::State& state)
{
    for (auto _ : state) {
        void* p = qv::ProCalloc(1, uint32_t(state.range(0)), "bench");
        benchmark::DoNotOptimize(p);
        qv::ProFree(p);
    }
}
BENCHMARK(BM_ProCallocFree)->Arg(64)->Arg(4096);

static void BM_PlainCallocFree(benchmark::State& state)
{
    for (auto _ : state) {
        void* p = std::calloc(1, size_t(state.range(0)));
        benchmark::DoNotOptimize(p);
        std::free(p);
    }
}
BENCHMARK(BM_PlainCallocFree)->Arg(64)->Arg(4096);
