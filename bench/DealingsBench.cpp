// The dealings file: loading a 50,000-item file into its entries, and building and ordering the
// rows of a dealings view over them.
#include "core/CodedText.h"
#include "devtools/lib/DealingsFileWriter.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "lists/HoldList.h"

#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

const std::vector<uint8_t>& FiftyThousandItems()
{
    static const std::vector<uint8_t> file = [] {
        qv::dev::DealingsFileSpec spec;
        spec.baseYear = 119;
        const char* types[] = {"Sale", "Purchase", "Exercise"};
        const char* roles[] = {"Chairman", "Finance Director", "Chief Executive"};
        for (int i = 0; i < 50000; ++i) {
            qv::dev::DealingItemSpec item;
            item.head = i % 5 == 0;
            item.flags = uint8_t((i % 7 == 0 ? 0x80 : 0) | (i % 3 == 0 ? 0x20 : 0) | (i % 11 == 0 ? 0x10 : 0));
            item.shareId = uint16_t(0x4000 + i % 400);
            item.shareText = "Ord 10p";
            item.date = qv::PackDate(1 + i % 28, 1 + i % 12, 2019 + i % 8);
            item.value = 1000.0 * (i % 997 + 1);
            item.dealType = types[i % 3];
            item.role = roles[i % 3];
            item.dealSize = 100.0 * (i % 500 + 1);
            item.investor = "Investor " + std::to_string(i / 5);
            spec.items.push_back(item);
        }
        return qv::dev::WriteDealingsFile(spec).bytes;
    }();
    return file;
}

void BM_ReadDealingsFile(benchmark::State& state)
{
    const auto& file = FiftyThousandItems();
    for (auto _ : state) {
        std::vector<uint8_t> block;
        qv::DealingsFileInfo info;
        qv::CodingTables tables;
        benchmark::DoNotOptimize(qv::ParseDealingsFile(file, block, info, tables));
    }
}
BENCHMARK(BM_ReadDealingsFile)->Unit(benchmark::kMillisecond);

void BM_BuildAndOrderDealingsRows(benchmark::State& state)
{
    std::vector<uint8_t> block;
    qv::DealingsFileInfo info;
    qv::CodingTables tables;
    qv::ParseDealingsFile(FiftyThousandItems(), block, info, tables);
    const auto any = [](uint16_t) { return reinterpret_cast<const uint8_t*>(""); };
    for (auto _ : state) {
        auto rows = qv::BuildHoldRows(block.data(), 0x0F, {}, any);
        // Ordered by deal date, the dealings view's default column, through the date's 12 bits.
        std::vector<std::pair<uint32_t, qv::RecordCursor>> keyed;
        keyed.reserve(rows.size());
        for (const auto& row : rows)
            keyed.push_back({qv::DealingDateKey(row.record - 1, info, tables), row});
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        benchmark::DoNotOptimize(keyed.data());
    }
}
BENCHMARK(BM_BuildAndOrderDealingsRows)->Unit(benchmark::kMillisecond);

} // namespace
