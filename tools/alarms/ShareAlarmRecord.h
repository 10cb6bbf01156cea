// A share's end-of-day alarm record as the setting record store keeps it (sub-record id 2), and the
// alarms the "Alarms" portfolio tests, read from every such record of the store.
#pragma once

#include "portfolio/AlarmPortfolios.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

inline constexpr uint8_t kShareAlarmSettingId = 2;

struct ShareAlarmRecord {
    static constexpr size_t kFixedSize = 84; // the note starts at 80 and the record keeps 4 zero bytes
    static constexpr size_t kNoteOffset = 80;

    float decreaseLevel = 0;
    float increaseLevel = 0;
    uint8_t decreaseOn = 0;
    uint8_t increaseOn = 0;
    uint8_t fallOn[3] = {};
    uint8_t riseOn[3] = {};
    uint8_t stopCapped = 0; // "Down as well as up"
    uint8_t stopOn = 0;
    uint8_t dateOn = 0;
    uint8_t dealingsOn = 0;
    uint16_t date = 0;
    float fallPercent[3] = {};
    float risePercent[3] = {};
    uint8_t fallDays[3] = {};
    uint8_t riseDays[3] = {};
    float stopPercent = 0;
    std::string note;

    // Every alarm off; rows 5, 10 and 20 % in 1, 4 and 10 days; stop 10 %; levels 100; the date a
    // week after `today`.
    static ShareAlarmRecord Defaults(uint16_t today);
    // Null when the bytes are shorter than the fixed part; the note ends at its zero or the data's end.
    static std::optional<ShareAlarmRecord> Read(std::span<const uint8_t> bytes);
    std::vector<uint8_t> Write() const;
    bool anyAlarmOn() const;
    // The alarm as the portfolio tests take it, for the share and its exchange.
    ShareAlarm toAlarm(uint16_t shareId, uint8_t exchange) const;
};

// The alarms of every readable record of the program's setting store.
std::vector<ShareAlarm> ReadStoredShareAlarms();

// Set when an editor stores or deletes share alarms, and when the global rows change.
struct AlarmChangeFlags {
    bool shareAlarms = false;
    bool globalAlarms = false;
};
AlarmChangeFlags& AlarmChanges();

// Refill "Alarms", "Alarms - Global" or every pre-set portfolio, and the lists that show them.
void RefillShareAlarmPortfolio();
void RefillGlobalAlarmPortfolio();
void RefillPresetPortfolios();

// The share's record (key: share id, sub-key: stream): stored, or deleted when no alarm is on. Sets the
// alarms-changed flag and refills the "Alarms" portfolio.
void StoreShareAlarmRecord(uint16_t shareId, uint8_t stream, const ShareAlarmRecord& record);
// Deletes the share's record, or every share alarm record, the same way.
void DeleteShareAlarmRecord(uint16_t shareId, uint8_t stream);
void DeleteAllShareAlarmRecords();

// The six global rows, three falls then three rises, a byte each for on, the whole percentage and
// the n days: as the option block keeps them.
inline constexpr size_t kGlobalAlarmRowsSize = 18;
std::vector<MoveCriterion> GlobalAlarmRows(std::span<const uint8_t, kGlobalAlarmRowsSize> bytes);
// A fresh configuration's rows and the global dialog's "Default": every row off, 10 % in 2 days, 20 %
// in 5 days and 40 % in 10 days, rises and falls alike.
std::vector<MoveCriterion> DefaultGlobalAlarmRows();
void StoreGlobalAlarmRows(std::span<const MoveCriterion> criteria, std::span<uint8_t, kGlobalAlarmRowsSize> bytes);

} // namespace qv
