// The benchmarks' entry: they run on the heap the program sets up at its start, so that what they
// measure of the program's code is what it costs there.
#include "platform/MemoryHints.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    qv::SetUpProgramHeap();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
