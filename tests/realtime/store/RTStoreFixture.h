// A fresh intraday store in a temporary program folder, with days written by the devtools writer.
#pragma once

#include "core/Database.h"
#include "core/PackedDate.h"
#include "devtools/lib/IntradayDayGenerator.h"
#include "devtools/lib/RtStoreWriter.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTStoreFiles.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv::test {

// Monday 7 December 2026 and the days around it.
constexpr PackedDate kFri4 = PackDate(4, 12, 2026);
constexpr PackedDate kSat5 = PackDate(5, 12, 2026);
constexpr PackedDate kMon7 = PackDate(7, 12, 2026);
constexpr PackedDate kTue8 = PackDate(8, 12, 2026);
constexpr PackedDate kWed9 = PackDate(9, 12, 2026);

class RTStoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(dir.path());
        std::filesystem::create_directories(dir.path() / "data" / "RT");
        ResetRTStore();
        CreateRTStoreObjects();
        TheRTStore().workAreaReady = true;
    }
    void TearDown() override
    {
        ResetRTStore();
        DestroyRTStoreObjects();
        // The engine's day and latest time of each exchange describe the store's current day: a feed
        // run leaves its last time (16:30), which would date every later "time since" column.
        TheRTEngine().exchanges = {};
        // A log-on makes records, and extra items for shares without one, for the shares the feed
        // carries: they go with the test, so that later tests' share lists see only their own.
        FreeDatabase(true);
    }

    // A day with the given shares (exchange 0), written as a day file of the version.
    static dev::IntradayDayPrices Prices(float close)
    {
        return {close * 0.99f, close * 0.995f, close * 1.01f, close * 0.98f, close};
    }
    RTDayRecord MakeDay(PackedDate day, std::initializer_list<uint16_t> shares)
    {
        std::vector<dev::IntradayShareSpec> specs;
        for (uint16_t s : shares)
            specs.push_back({MakeRTKey(0, s), Prices(100.0f + float(s % 50)), {}, {}});
        return dev::MakeIntradayDay(day, table, specs);
    }
    void WriteDay(const RTDayRecord& day, uint8_t version = 5)
    {
        ASSERT_TRUE(WriteFileBytes(dir.path() / "data" / "RT" / RTHistoryFileName(day.day), dev::RtDayFileImage(day, version)));
    }
    void WriteIndex(const dev::RtIndexFormat& format = {})
    {
        ASSERT_TRUE(WriteFileBytes(dir.path() / "data" / "RT.dat", dev::RtIndexImage(table, 0, 0, 0, format)));
    }

    dev::TempFolder dir;
    RTShareTable table = DefaultRTShareTable();
};

} // namespace qv::test
