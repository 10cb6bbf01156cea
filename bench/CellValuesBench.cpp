// List cells: FormatColumnValue per cell by column kind, EvaluateFormulaColumn per formula template,
// and a whole row of the first default list layout, on a demo company (results, company fields,
// cached statistics filled).
#include "core/CachedStatistics.h"
#include "core/ColumnDef.h"
#include "core/ConfigDefaults.h"
#include "core/Database.h"
#include "core/RecordLookup.h"
#include "devtools/lib/PriceDatabase.h"
#include "lists/CellValue.h"
#include "lists/FormulaColumn.h"
#include "lists/FormulaTemplates.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using namespace std::chrono;

// The demo database loaded once; the first company with results is the row.
struct Demo {
    uint8_t* share = nullptr;
    Demo()
    {
        static const qv::dev::DemoDatabase db = qv::dev::BuildDemoDatabase(sys_days{year{2026} / December / 8});
        std::vector<uint8_t> quorva = qv::dev::WriteQuorvaDat(qv::dev::DemoDbFile(db));
        std::vector<uint8_t> comp = qv::dev::WriteCompDat(qv::dev::DemoCompFile(db));
        std::span<const uint8_t> c(comp);
        qv::LoadDatabaseFromMemory(quorva, &c);
        for (const auto& r : db.records) {
            if (!r.results.empty()) {
                share = qv::FindShareRecord(r.id);
                break;
            }
        }
        qv::RecordCursor cursor{share, 0};
        qv::GetCachedVolatility(cursor);
        qv::GetCachedCorrelation(cursor);
        qv::GetCachedBeta(cursor);
    }
    ~Demo() { qv::FreeDatabase(true); }
};

std::vector<uint8_t> ColumnOfCase(int n)
{
    using namespace qv;
    std::vector<uint8_t> column;
    switch (n) {
    case 0: AppendColumnDef(column, ColumnOf(kColumnField, 17).withFormatA(8).withFormatB(0x10)); break; // price
    case 1: AppendColumnDef(column, ColumnOf(kColumnField, 25)); break;                                 // sector
    case 2: AppendColumnDef(column, ColumnOf(kColumnField, 30)); break;                                 // coded text
    case 3: AppendColumnDef(column, ColumnOf(kColumnField, 0x71)); break;                               // website
    case 4: AppendColumnDef(column, ColumnOf(kColumnResults, 0x02).withFormatB(2)); break;
    case 5: AppendColumnDef(column, ColumnOf(kColumnPriceHistory, 31).withFormatB(1).withParameters({4, 0x85, 20, 0})); break;
    default: AppendColumnDef(column, ColumnOf(kColumnResultsChange, 23).withFormatB(2)); break;
    }
    return column;
}

void FormatCell(benchmark::State& state)
{
    Demo demo;
    std::vector<uint8_t> column = ColumnOfCase(int(state.range(0)));
    char text[qv::kCellTextBytes];
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::FormatColumnValue(demo.share, 0, column.data(), text, sizeof text, 1, nullptr, 0));
}
// Price (a field), sector (a bit field), description (coded text), website (descriptor), EPS (results
// figure), % change over 20 trading days (price history), net gearing (results change).
BENCHMARK(FormatCell)->DenseRange(0, 6);

void FormulaTemplate(benchmark::State& state)
{
    Demo demo;
    const qv::FormulaTemplate& t = qv::ShareFormulaTemplates()[size_t(state.range(0))];
    state.SetLabel(t.title);
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::EvaluateFormulaColumn(t.tokens, demo.share, 0, nullptr));
}
BENCHMARK(FormulaTemplate)->DenseRange(0, 28);

void DefaultLayoutRow(benchmark::State& state)
{
    Demo demo;
    std::vector<uint8_t> layout = qv::DefaultColumnLayout(qv::ColumnLayoutSet::ListTables, 0);
    int columns = qv::CountColumnDefs(layout.data());
    char text[qv::kCellTextBytes];
    for (auto _ : state) {
        for (int n = 0; n < columns; ++n)
            benchmark::DoNotOptimize(
                qv::FormatColumnValue(demo.share, 0, qv::GetColumnDef(layout.data(), n), text, sizeof text, n, nullptr, 0));
    }
    state.counters["columns"] = columns;
}
BENCHMARK(DefaultLayoutRow);

} // namespace
