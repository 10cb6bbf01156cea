// The InfoCentre rebuild at start-up over 2,000 descriptors, which runs on the user-interface thread:
// first with no index (every document filed as new), then over the committed index (states kept).
#include "devtools/lib/InfoCentreWriter.h"
#include "devtools/lib/TempFolder.h"
#include "infocentre/InCStore.h"
#include "platform/FileOps.h"
#include "shell/TimerCallbacks.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kDocuments = 2000;

const qv::dev::TempFolder& Library()
{
    static const qv::dev::TempFolder folder{"incbench"};
    static const bool written = [] {
        const qv::dev::TempFolder& f = folder;
        for (int i = 1; i <= kDocuments; ++i) {
            qv::dev::InCDocumentSpec spec;
            spec.number = uint16_t(i);
            spec.title = "Newsletter number " + std::to_string(i);
            spec.category = "Category " + std::to_string(i % 12);
            spec.subCategory = i % 3 ? "Issue " + std::to_string(i % 40) : "";
            spec.files = {std::to_string(i) + ".htm", "picture.gif"};
            spec.displayFlags = uint8_t(i % 10 == 0 ? 0x08 : 0);
            qv::WriteFileBytes(qv::InCDescriptorPath(f.path(), spec.number), qv::dev::InCDescriptorBytes(spec));
        }
        return true;
    }();
    (void)written;
    return folder;
}

void BM_InfoCentreRebuild(benchmark::State& state)
{
    const auto& folder = Library();
    bool keepIndex = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!keepIndex)
            std::filesystem::remove(folder / "index.dat");
        qv::CInCStore store(folder.path(), false);
        store.StopTimer();
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.LoadIndex());
    }
    qv::ClearTimerCallbacks();
}
BENCHMARK(BM_InfoCentreRebuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
