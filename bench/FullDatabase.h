// The full-size database of the benchmarks (3,000 shares, 25 years, the demo's field table), loaded
// from memory once per run of the program.
#pragma once

#include "core/Database.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareFieldTable.h"

#include <chrono>
#include <span>
#include <vector>

namespace qv {

inline void LoadFullDatabaseOnce()
{
    static bool loaded = false;
    if (loaded)
        return;
    using namespace std::chrono;
    dev::DemoDatabase db = dev::RandomDatabase(3000, 25, sys_days{year{2026} / December / 31}, 2026);
    dev::DbFile file = dev::DemoDbFile(db);
    file.entries[0].extra = dev::DemoShareFieldTable();
    static const std::vector<uint8_t> quorva = dev::WriteQuorvaDat(file);
    static const std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(db));
    std::span<const uint8_t> c(comp);
    LoadDatabaseFromMemory(quorva, &c);
    loaded = true;
}

} // namespace qv
