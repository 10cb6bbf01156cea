// The DDE server's work per value: resolving a topic over a full-size database (3,000 shares, 25
// years of full days) and rendering the last day's close, as every request and every push does.
#include "core/Database.h"
#include "core/RecordLookup.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "shell/DdeServer.h"

#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono;

void RenderLastSharePrice(benchmark::State& state)
{
    qv::dev::TempFolder folder{"qvbench"};
    qv::dev::DemoDatabase db = qv::dev::RandomDatabase(3000, 25, sys_days{year{2026} / December / 31}, 2026);
    qv::dev::CompFile comp = qv::dev::DemoCompFile(db);
    qv::dev::WriteDatabaseFolder(folder.path(), qv::dev::DemoDbFile(db), &comp);
    qv::SetProgramFolder(folder.path());
    qv::LoadDatabase(qv::AppPath("data\\Quorva.dat"));
    qv::FixedClock clock(qv::LocalDateTime{2026, 12, 31, 18, 0, 0, 0, 4});

    // The share met last in the walk costs the most.
    uint8_t* last = qv::MainRecordBlock;
    for (uint8_t* r = qv::MainRecordBlock; qv::RecordLength(r) != 0; r = qv::NextRecord(r)) {
        std::string code;
        if (qv::IsShareId(qv::RecordId(r)) && !qv::GetShareFileCode(qv::RecordCursor{r, 0}, code, false))
            last = r;
    }
    std::string topic;
    qv::GetShareFileCode(qv::RecordCursor{last, 0}, topic, false);
    qv::CDDEServer server(qv::DefaultDdeHooks(), nullptr);
    for (auto _ : state) {
        std::optional<std::string> value = server.RenderDdeItem(topic, "price", 0);
        if (!value)
            state.SkipWithError("the topic did not resolve");
        benchmark::DoNotOptimize(value);
    }
    qv::FreeDatabase(true);
}

} // namespace

BENCHMARK(RenderLastSharePrice)->Unit(benchmark::kMicrosecond);
