// A small database of shares with real price streams for the DDE server's tests, written by the
// developer library's writer; a fixed today; and reloads that change a share's last close.
#pragma once

#include "core/PackedDate.h"
#include "core/TableLock.h"
#include "devtools/lib/PriceDatabase.h"
#include "platform/Clock.h"
#include "shell/DdeServer.h"
#include "support/DatabaseFixture.h"

#include <string>
#include <vector>

namespace qv::test {

// Wednesday 9 December 2026 is today; Friday 4 December the last trading day.
constexpr PackedDate kDdeLastDay = PackDate(4, 12, 2026);

struct DdeShare {
    uint16_t id;
    std::string name;
    uint8_t classByte;
    std::string epic;
    uint8_t currency;   // bits 0-2 of the record's type byte
    uint8_t kind;       // the price sub-record's kind
    PackedDate lastDate;
    float open, high, low, close, volume;
};

class DdeFixture : public DatabaseFixture {
protected:
    DdeFixture() : clock_(LocalDateTime{2026, 12, 9, 12, 0, 0, 0, 3})
    {
        CreateDataLock();
        shares = {
            // A share of the same code whose prices stopped long ago comes first: the walk passes it by.
            {0x4001, "Alpha Mining (old)", 'O', "ALM", 0, SubRecordKind::Ordinary, PackDate(4, 1, 2019), 100, 100, 100,
             100, 0},
            {0x4002, "Alpha Mining", 'O', "ALM", 0, SubRecordKind::Ordinary, kDdeLastDay, 251.5f, 262.25f, 249,
             257.75f, 125000},
            {0x4003, "Beta Corp", 1, "BET", 3, SubRecordKind::Ordinary, kDdeLastDay, 40, 41, 39, 40.5f, 1000},
            // Class bytes beyond the exchange table, one of them negative as a signed byte.
            {0x4004, "Odd Class", 0xC8, "ODD", 0, SubRecordKind::Ordinary, kDdeLastDay, 7, 7, 7, 7, 0},
            {0x4005, "Dollar {Trust}\\", 41, "DOL", 3, 1, kDdeLastDay, 0.5f, 0.5f, 0.5f, 0.5f, 0},
        };
        Reload();
    }

    // Loads the shares as they stand.
    void Reload()
    {
        std::vector<dev::DbRecord> records;
        for (const DdeShare& s : shares) {
            dev::DbRecord record = dev::ShareRecord(s.id, s.name, s.classByte, s.epic);
            record.head[0] = s.currency;
            record.subRecords[0] = dev::PriceSubRecord(s.kind, 0, History(s));
            records.push_back(std::move(record));
        }
        FreeDatabase(true);
        Load(dev::WriteQuorvaDat(OneEntry(std::move(records))));
    }

    DdeShare& Share(uint16_t id)
    {
        for (DdeShare& s : shares) {
            if (s.id == id)
                return s;
        }
        throw std::out_of_range("no such share");
    }

    // The program's hooks with the real option off and a refresh hold the test sets.
    DdeHooks Hooks()
    {
        DdeHooks hooks = DefaultDdeHooks();
        hooks.refreshHeld = [this] { return held; };
        hooks.realTimeOn = [this] { return realTime; };
        hooks.staleShareDays = 30;
        return hooks;
    }

    std::vector<DdeShare> shares;
    bool held = false;
    bool realTime = false;

private:
    // One full day, in quarters of a unit.
    static dev::PriceHistory History(const DdeShare& s)
    {
        dev::PriceHistory history;
        history.scale = 4;
        history.firstDate = s.lastDate;
        dev::HistoryDay day;
        day.mode = 1;
        day.open = int32_t(s.open * 4);
        day.high = int32_t(s.high * 4);
        day.low = int32_t(s.low * 4);
        day.close = int32_t(s.close * 4);
        day.hasVolume = s.volume > 0;
        day.volumeWord = dev::VolumeWordFor(s.volume, 4, 0.25f);
        history.days.push_back(day);
        return history;
    }

    FixedClock clock_;
};

} // namespace qv::test
