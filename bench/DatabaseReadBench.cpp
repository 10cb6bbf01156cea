// Reading a full-size database file into its blocks: every price stream starts with its end mark,
// so the statistics decode nothing and the figure is the reading alone.
#include "core/Database.h"
#include "devtools/lib/DatabaseWriter.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

// 3,000 share records, each with two sub-records of `body` stream bytes.
const std::filesystem::path& FullSizeFolder(size_t body)
{
    static qv::dev::TempFolder folder("qvbench");
    static size_t written = 0;
    if (written != body) {
        std::mt19937 random(1);
        qv::dev::DbFile file;
        auto& records = file.entries.emplace_back().records;
        for (uint16_t i = 0; i < 3000; ++i) {
            qv::dev::DbRecord r = qv::dev::ShareRecord(uint16_t(0x4000 + i), "Share name plc", 'O', "SHR");
            r.subRecords.resize(2);
            for (auto& sub : r.subRecords) {
                sub.body.resize(body);
                for (uint8_t& b : sub.body)
                    b = uint8_t(random());
                sub.body[0] = ' ';
            }
            records.push_back(std::move(r));
        }
        qv::dev::WriteDatabaseFolder(folder.path(), file, nullptr);
        written = body;
    }
    return folder.path();
}

void BM_ReadDatabaseFileEmptyStreams(benchmark::State& state)
{
    size_t body = size_t(state.range(0));
    std::filesystem::path file = FullSizeFolder(body) / "data" / "Quorva.dat";
    for (auto _ : state) {
        qv::LoadDatabase(file);
        qv::FreeDatabase(true);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(file)));
}
BENCHMARK(BM_ReadDatabaseFileEmptyStreams)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
