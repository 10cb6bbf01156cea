// The full-size database of the benchmarks (3,000 shares, 25 years, the demo's field table), loaded
// from memory once per run of the program.
#pragma once

#include "core/Database.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"

#include <chrono>
#include <span>
#include <utility>
#include <vector>

namespace qv {

// Loads the database (its images are built on the first call); a benchmark that frees it loads it again.
inline void LoadFullDatabase()
{
    using namespace std::chrono;
    static const auto images = [] {
        dev::DemoDatabase db = dev::RandomDatabase(3000, 25, sys_days{year{2026} / December / 31}, 2026);
        dev::DbFile file = dev::DemoDbFile(db);
        file.entries[0].extra = dev::DemoShareFieldTable();
        return std::pair{dev::WriteQuorvaDat(file), dev::WriteCompDat(dev::DemoCompFile(db))};
    }();
    std::span<const uint8_t> comp(images.second);
    LoadDatabaseFromMemory(images.first, &comp);
}

inline void LoadFullDatabaseOnce()
{
    static bool loaded = false;
    if (loaded)
        return;
    LoadFullDatabase();
    loaded = true;
}

} // namespace qv
