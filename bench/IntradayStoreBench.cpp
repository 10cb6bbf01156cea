// The intraday store: a stored day of 3,000 shares loaded with every summary, 20,000 ticks expanded,
// and the key search over 10,000 keys.
#include "devtools/lib/IntradayDayGenerator.h"
#include "devtools/lib/RtStoreWriter.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTStoreFiles.h"
#include "realtime/store/RTTickCoding.h"
#include "realtime/store/RTTickExpansion.h"

#include <benchmark/benchmark.h>

namespace {

constexpr qv::PackedDate kDay = qv::PackDate(7, 12, 2026);

// A program folder whose one stored day holds 3,000 shares.
const std::filesystem::path& ThreeThousandShareDay()
{
    static const qv::dev::TempFolder folder("qvbench");
    static const std::filesystem::path path = [] {
        const std::filesystem::path& f = folder.path();
        qv::RTShareTable table = qv::DefaultRTShareTable();
        std::vector<qv::dev::IntradayShareSpec> specs;
        for (uint16_t i = 0; i < 3000; ++i) {
            float close = 50.0f + float(i % 400);
            specs.push_back({qv::MakeRTKey(0, uint16_t(0x4000 + i)), {close, close, close * 1.02f, close * 0.98f, close}, {}, {}});
        }
        qv::RTDayRecord day = qv::dev::MakeIntradayDay(kDay, table, specs);
        std::filesystem::create_directories(f / "data" / "RT");
        qv::WriteFileBytes(f / "data" / "RT" / qv::RTHistoryFileName(kDay), qv::dev::RtDayFileImage(day));
        return f;
    }();
    return path;
}

void BM_LoadDayWithEverySummary(benchmark::State& state)
{
    qv::SetProgramFolder(ThreeThousandShareDay());
    for (auto _ : state) {
        auto day = qv::LoadRTDayFile(kDay);
        qv::LoadRTDaySummaries(*day);
        std::array<uint32_t, qv::kRTSummaryWords> words{};
        for (qv::RTDayShareEntry& e : day->entries)
            benchmark::DoNotOptimize(qv::GetRTSummaryBlock(&e, words, *day));
    }
}
BENCHMARK(BM_LoadDayWithEverySummary)->Unit(benchmark::kMillisecond);

void BM_Expand20000Ticks(benchmark::State& state)
{
    qv::ResetRTStore();
    qv::TheRTStore().workAreaReady = true;
    qv::RTDayRecord* day = qv::GetRTDay(kDay, true);
    int32_t slot = -1;
    qv::RTDayShareEntry* e = qv::GetRTDayShare(qv::MakeRTKey(0, 0x4001), *day, slot, true);
    {
        qv::RTTickWriter w(*e);
        // 20,000 records: a time, a quote (and its price pair) and a trade every 4 s.
        for (uint32_t i = 0; i < 5000; ++i) {
            w.Time(28800 + i * 4);
            float mid = 250.0f + float(i % 40) * 0.25f;
            w.PriceItem(0, mid + 0.5f, 0, mid - 0.5f, qv::RTStoredTrade{mid, 100 + i % 900, 0});
        }
    }
    qv::RTActiveShare* a = qv::CreateRTActiveShare(qv::ShareRef{nullptr, 0, 0x4001});
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::LoadRTActiveShareDay(day, a, qv::kRTExpandKeepAll));
    state.counters["ticks"] = double(qv::FindRTShareDay(*a, kDay)->count);
    qv::ResetRTStore();
}
BENCHMARK(BM_Expand20000Ticks)->Unit(benchmark::kMillisecond);

void BM_FindKeySlot(benchmark::State& state)
{
    qv::RTShareTable table = qv::DefaultRTShareTable();
    for (uint32_t i = 0; i < 10000; ++i) {
        uint32_t key = qv::MakeRTKey(uint8_t(i % 3), uint16_t(0x4000 + i));
        qv::AddRTKey(table, key, qv::FindRTKeySlot(table, key).slot, qv::ShareRef{nullptr, 0, 1}, false);
    }
    uint32_t i = 0;
    for (auto _ : state) {
        uint32_t key = qv::MakeRTKey(uint8_t(i % 3), uint16_t(0x4000 + (i * 7919) % 10000));
        benchmark::DoNotOptimize(qv::FindRTKeySlot(table, key));
        ++i;
    }
}
BENCHMARK(BM_FindKeySlot);

} // namespace
