// Decoding speed of price streams: whole histories into day records, one item per day decoded.
#include "core/Memory.h"
#include "core/PriceStream.h"
#include "devtools/lib/PriceStreamEncoder.h"
#include "platform/ByteOrder.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

// 25 years of weekdays as a random walk in pence, full days with volumes (mode 1) or closes (mode 0).
std::vector<uint8_t> HistorySubRecord(uint8_t mode)
{
    std::mt19937 rng(42);
    qv::dev::PriceHistory h;
    h.scale = 100;
    h.firstDate = uint16_t((100 << 9) | 2);  // 3 January 2000
    int32_t price = 25000;
    for (int i = 0; i < 25 * 261; ++i) {
        qv::dev::HistoryDay d;
        d.mode = mode;
        price = std::max<int32_t>(100, price + int32_t(rng() % 401) - 200);
        d.close = price;
        d.open = std::max<int32_t>(1, price + int32_t(rng() % 101) - 50);
        d.high = std::max(d.open, d.close) + int32_t(rng() % 60);
        d.low = std::max<int32_t>(1, std::min(d.open, d.close) - int32_t(rng() % 60));
        d.hasVolume = true;
        d.volumeWord = qv::dev::VolumeWordFor(double(rng() % 5000000), 100, 0.01f);
        h.days.push_back(d);
    }
    std::vector<uint8_t> stream;
    qv::dev::EncodePriceStream(h, stream);
    std::vector<uint8_t> sub(qv::kSubRecordStream + stream.size(), 0);
    qv::StoreI16(sub.data() + qv::kSubRecordScale, h.scale);
    qv::StoreU16(sub.data() + qv::kSubRecordFirstDate, h.firstDate);
    qv::StoreU16(sub.data() + qv::kSubRecordLastDate, 0xFFFF);
    for (size_t i = 0; i < stream.size(); ++i)
        sub[qv::kSubRecordStream + i] = stream[i];
    return sub;
}

// `dayByDay` decodes every day through the general day decoders, as every day was before the
// common days got their shorter path.
void DecodePriceHistory(benchmark::State& state, uint8_t mode, bool raw, bool dayByDay = false)
{
    std::vector<uint8_t> sub = HistorySubRecord(mode);
    qv::DayRecord* days = nullptr;
    int64_t decoded = 0;
    auto decode = dayByDay ? qv::DecodeSubRecordHistoryDayByDay : qv::DecodeSubRecordHistory;
    for (auto _ : state) {
        int32_t n = decode(sub.data(), sub.data() + sub.size(), days, 0, raw, {});
        benchmark::DoNotOptimize(days);
        decoded += n;
    }
    qv::ProFree(days);
    state.SetItemsProcessed(decoded);
    state.counters["bytes_per_day"] = double(sub.size() - qv::kSubRecordStream) / (25 * 261);
}

} // namespace

BENCHMARK_CAPTURE(DecodePriceHistory, full_days_raw, uint8_t(1), true);
BENCHMARK_CAPTURE(DecodePriceHistory, full_days_marked, uint8_t(1), false);
BENCHMARK_CAPTURE(DecodePriceHistory, closes_raw, uint8_t(0), true);
BENCHMARK_CAPTURE(DecodePriceHistory, full_days_raw_day_by_day, uint8_t(1), true, true);
BENCHMARK_CAPTURE(DecodePriceHistory, closes_raw_day_by_day, uint8_t(0), true, true);
