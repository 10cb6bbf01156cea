// A small database of shares for the DDE server's tests, with last days the test can change and a
// fixed today.
#pragma once

#include "core/PackedDate.h"
#include "core/TableLock.h"
#include "platform/Clock.h"
#include "shell/DdeServer.h"
#include "support/DatabaseFixture.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qv::test {

// 9 December 2026 is today; 4 December the last trading day.
constexpr PackedDate kDdeToday = PackDate(9, 12, 2026);
constexpr PackedDate kDdeLastDay = PackDate(4, 12, 2026);

class DdeFixture : public DatabaseFixture {
protected:
    DdeFixture() : clock_(LocalDateTime{2026, 12, 9, 12, 0, 0, 0, 3})
    {
        CreateDataLock();
        std::vector<dev::DbRecord> records;
        // A share of the same code whose prices stopped long ago comes first: the walk passes it by.
        records.push_back(ShareRecord(0x4001, "Alpha Mining (old)", 'O', "ALM"));
        records.push_back(ShareRecord(0x4002, "Alpha Mining", 'O', "ALM"));
        records.push_back(ShareRecord(0x4003, "Beta Corp", 1, "BET"));
        records.push_back(ShareRecord(0x4004, "Odd Class", 0xC8, "ODD"));
        records.push_back(ShareRecord(0x4005, "Dollar {Trust}\\", 41, "DOL"));
        records[4].head[0] = 3; // prices in dollars and cents
        records[4].subRecords[0].kind = 1;
        Load(dev::WriteQuorvaDat(OneEntry(std::move(records))));
        days[0x4001] = {100, 100, 100, 100, 5, PackDate(3, 1, 2019)};
        days[0x4002] = {251.5f, 262.25f, 249, 257.75f, 1250000, kDdeLastDay};
        days[0x4003] = {40, 41, 39, 40.5f, 1000, kDdeLastDay};
        days[0x4004] = {7, 7, 7, 7, 7, kDdeLastDay};
        days[0x4005] = {0.5f, 0.5f, 0.5f, 0.5f, 0, kDdeLastDay};
    }

    static dev::DbRecord ShareRecord(uint16_t id, std::string_view name, uint8_t classByte, std::string_view epic)
    {
        dev::DbRecord record = dev::ShareRecord(id, name, classByte, epic);
        record.subRecords[0].kind = SubRecordKind::Ordinary;
        return record;
    }

    DdeHooks Hooks()
    {
        DdeHooks hooks;
        hooks.lastDay = [this](const RecordCursor& share, DdeLastDay& out) {
            auto it = days.find(RecordId(share.record));
            if (it == days.end())
                return false;
            out = it->second;
            return true;
        };
        hooks.refreshHeld = [this] { return held; };
        hooks.realTimeOn = [this] { return realTime; };
        hooks.staleShareDays = 30;
        return hooks;
    }

    std::map<uint16_t, DdeLastDay> days;
    bool held = false;
    bool realTime = false;

private:
    FixedClock clock_;
};

} // namespace qv::test
