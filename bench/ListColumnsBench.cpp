// The list-table column services: the three cached statistics of one share over 25 years of days, the
// idle walk filling them for a full-size database, and one results value and one heading per call.
#include "core/CachedStatistics.h"
#include "core/ColumnDef.h"
#include "core/Database.h"
#include "core/PriceSubRecords.h"
#include "core/RecordLookup.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ResultsBlockEncoder.h"
#include "devtools/lib/ShareFieldTable.h"
#include "lists/ColumnHeading.h"
#include "lists/ResultsFigures.h"
#include "platform/ByteOrder.h"
#include "shell/IdleWork.h"

#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono;

constexpr int kYears = 25;
const sys_days kLastDay = sys_days{year{2026} / December / 31};

// A database image of `shares` random shares over 25 years of full days, with the demo's field table.
struct Images {
    std::vector<uint8_t> quorva, comp;
    explicit Images(int shares)
    {
        qv::dev::DemoDatabase db = qv::dev::RandomDatabase(shares, kYears, kLastDay, 2026);
        qv::dev::DbFile file = qv::dev::DemoDbFile(db);
        file.entries[0].extra = qv::dev::DemoShareFieldTable();
        quorva = qv::dev::WriteQuorvaDat(file);
        comp = qv::dev::WriteCompDat(qv::dev::DemoCompFile(db));
    }
    void load() const
    {
        std::span<const uint8_t> c(comp);
        qv::LoadDatabaseFromMemory(quorva, &c);
    }
};

const Images& OneShare()
{
    static const Images images(1);
    return images;
}

const Images& FullSize()
{
    static const Images images(3000);
    return images;
}

qv::RecordCursor FirstShare() { return {qv::FindShareRecord(0x4000), 0}; }

// The computations behind the three caches, as the first paint or the idle walk meets them.
void StatisticsOfOneShare(benchmark::State& state)
{
    OneShare().load();
    qv::RecordCursor share = FirstShare();
    qv::SubRecordSpan stream = qv::SubRecordOf(share.record, 0);
    qv::MarketVolatility();
    for (auto _ : state) {
        benchmark::DoNotOptimize(qv::CalcCorrelation(stream, {}));
        benchmark::DoNotOptimize(qv::CalcVolatility(stream, {}));
        benchmark::DoNotOptimize(qv::CalcBeta(stream, {}));
    }
    state.counters["days"] = double(qv::TradingDayCount);
    qv::FreeDatabase(true);
}
BENCHMARK(StatisticsOfOneShare)->Unit(benchmark::kMicrosecond);

// Every cache of a full-size database filled by idle calls, as after a load.
void IdleWalkFullSize(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        FullSize().load();
        qv::Idle() = qv::IdleState{};
        state.ResumeTiming();
        int64_t calls = 0;
        while (qv::RunIdleWork())
            ++calls;
        state.counters["idle_calls"] = double(calls);
        state.PauseTiming();
        qv::FreeDatabase(true);
        state.ResumeTiming();
    }
}
BENCHMARK(IdleWalkFullSize)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// A share with a results table of annual results, interims and forecasts and five detailed blocks.
struct ResultsShare {
    std::vector<uint8_t> quorva, comp;
    ResultsShare()
    {
        qv::dev::DbRecord r = qv::dev::ShareRecord(0x4001, "Alpha", 'O', "ALP");
        qv::dev::CompFile file;
        for (uint8_t f = 118; f < 123; ++f)
            file.records.descriptors.push_back({f, 0x00, {}});
        qv::dev::CompanyItem item{0x4001, 0, {}};
        for (int y = 0; y < 20; ++y) {
            for (uint8_t kind : {uint8_t(1), uint8_t(y < 18 ? 0 : 3)}) {
                qv::dev::DbItem e;
                uint16_t date = uint16_t(((106 + y) << 9) | ((kind == 1 ? 8 : 2) << 5) | 29);
                qv::StoreU16(e.bytes.data(), date);
                e.bytes[2] = kind;
                for (int k = 0; k < 4; ++k)
                    qv::StoreF32(e.bytes.data() + 4 + 4 * k, float(10 + y + k));
                r.items.push_back(e);
                if (kind == 0 && y >= 13) {
                    qv::dev::ResultsBlockFigures figures;
                    figures.fill(12.5);
                    auto block = qv::dev::EncodeResultsBlock(date, figures);
                    item.values[uint8_t(118 + y - 13)].assign(block.begin() + 1, block.end());
                }
            }
        }
        file.records.items.push_back(item);
        quorva = qv::dev::WriteQuorvaDat([&] {
            qv::dev::DbFile db;
            db.entries.emplace_back().records = {r};
            db.entries[0].extra = qv::dev::DemoShareFieldTable();
            return db;
        }());
        comp = qv::dev::WriteCompDat(file);
    }
};

void ResultsColumnValue(benchmark::State& state)
{
    static const ResultsShare share;
    std::span<const uint8_t> c(share.comp);
    qv::LoadDatabaseFromMemory(share.quorva, &c);
    uint8_t* record = qv::FindShareRecord(0x4001);
    int code = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::GetResultsColumnValue(0x12, code, record, 0));
    qv::FreeDatabase(true);
}
// Net gearing (a block figure), NAV per share (a block item of items), the results table's EPS.
BENCHMARK(ResultsColumnValue)->Arg(23)->Arg(38)->Arg(32);

void ColumnHeading(benchmark::State& state)
{
    static const ResultsShare share;
    qv::LoadDatabaseFromMemory(share.quorva, nullptr);
    std::vector<uint8_t> column;
    switch (state.range(0)) {
    case 0: qv::AppendColumnDef(column, qv::ColumnOf(qv::kColumnResults, 0x22)); break;
    case 1: qv::AppendColumnDef(column, qv::ColumnOf(qv::kColumnField, 25)); break;
    default:
        qv::AppendColumnDef(column, qv::ColumnOf(qv::kColumnPriceHistory, 94).withSubKind(6).withParameters({4, 1, 250, 0}));
        break;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::GetColumnHeading(nullptr, column.data(), false));
    qv::FreeDatabase(true);
}
// A results figure, a field of the share table (the 25th entry), a highs-and-lows column.
BENCHMARK(ColumnHeading)->Arg(0)->Arg(1)->Arg(2);

} // namespace
