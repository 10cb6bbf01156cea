// Price import and export speed: one 25-year daily CSV file, a folder of a year's prices for 3,000
// shares imported one file after another as the folder import does, and the last year of every share
// of the full-size database exported to one file.
#include "FullDatabase.h"
#include "core/PriceExport.h"
#include "core/PriceImport.h"
#include "core/RecordAccess.h"
#include "core/RecordLists.h"
#include "devtools/lib/TempFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

namespace {

// `count` weekdays of OHLCV rows from 3 January 2000 (or a later start), a random walk in pounds.
std::string DailyCsv(int count, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::string text = "Date,Open,High,Low,Close,Adj Close,Volume\n";
    double close = 50 + rng() % 400;
    int y = 2000, m = 1, d = 3, weekday = 0;
    static const int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    char row[128];
    for (int i = 0; i < count;) {
        if (weekday < 5) {
            const double open = close;
            close = std::max(0.5, close * (1 + (double(rng() % 2001) - 1000) / 50000));
            std::snprintf(row, sizeof row, "%04d-%02d-%02d,%.2f,%.2f,%.2f,%.2f,%.2f,%u\n", y, m, d, open,
                          std::max(open, close) * 1.01, std::min(open, close) * 0.99, close, close, unsigned(rng() % 9000000));
            text += row;
            ++i;
        }
        weekday = (weekday + 1) % 7;
        if (++d > kMonthDays[m - 1] - (m == 2 && y % 4 != 0)) {
            d = 1;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    }
    return text;
}

void ImportTwentyFiveYearCsv(benchmark::State& state)
{
    qv::dev::TempFolder folder("bench-import");
    const std::filesystem::path file = folder / "Long.csv";
    std::ofstream(file, std::ios::binary) << DailyCsv(6500, 7);
    for (auto _ : state) {
        qv::ImportRun run;
        if (qv::ImportPriceFile(file, run))
            state.SkipWithError("the import failed");
        qv::FreeRecordList(&qv::ImportedItemList, &qv::ImportedItemCount);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 6500);
}
BENCHMARK(ImportTwentyFiveYearCsv)->Unit(benchmark::kMillisecond);

void ImportFolderOfThreeThousandShares(benchmark::State& state)
{
    qv::dev::TempFolder folder("bench-import-folder");
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < 3000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "S%04d.csv", i);
        files.push_back(folder / name);
        std::ofstream(files.back(), std::ios::binary) << DailyCsv(261, uint32_t(i));
    }
    for (auto _ : state) {
        qv::ImportRun run;
        run.quiet = true;
        for (const std::filesystem::path& file : files)
            qv::ImportPriceFile(file, run);
        if (qv::ImportedItemCount != 3000)
            state.SkipWithError("not every file was imported");
        qv::FreeRecordList(&qv::ImportedItemList, &qv::ImportedItemCount);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 3000);
}
BENCHMARK(ImportFolderOfThreeThousandShares)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

namespace {

// The last year of every share of the full-size database written to one file's text, as "Export
// price histories for all shares in the table" does with "Export to a single file.".
void ExportLastYearOfEveryShare(benchmark::State& state)
{
    qv::LoadFullDatabaseOnce();
    std::vector<qv::RecordCursor> shares;
    for (uint16_t id = 0x4000; id < 0x4000 + 3000; ++id)
        if (qv::RecordCursor share = qv::FindRecordById(id, 0); share.record && qv::RecordLength(share.record))
            shares.push_back(share);
    qv::ShareExportRun run;
    run.style = qv::ExportStyleFor(qv::kExportCsv, 0x18, 0, ',', '/');
    run.style.fromDate = qv::PackDate(31, 12, 2025);
    run.singleFile = true;
    size_t bytes = 0;
    for (auto _ : state) {
        run.shared.clear();
        run.written = 0;
        for (const qv::RecordCursor& share : shares)
            qv::ExportShareFile(share, run);
        bytes = run.shared.size();
    }
    if (run.written != int(shares.size()))
        state.SkipWithError("a share wrote nothing");
    state.counters["shares"] = double(shares.size());
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(ExportLastYearOfEveryShare)->Unit(benchmark::kMillisecond);

} // namespace
