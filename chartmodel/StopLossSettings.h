// Stop-loss and stop-gain lines: the 16-byte stop record, the program-wide masks, global records and
// new-record pen kept in the second option block, the share's own records in the setting record
// store, the adjust step of the keyboard commands and the "Apply to" text of the dialogs.
#pragma once

#include "chartmodel/ChartRoutines.h"
#include "core/ConfigRecords.h"
#include "core/PackedDate.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// Flag bits of a stop record.
namespace StopFlag {
constexpr uint16_t StopGain = 1;
constexpr uint16_t MoveBothWays = 2;
constexpr uint16_t StartAtDate = 4;
constexpr uint16_t StartTime = 8;
constexpr uint16_t PriceBasisMask = 0x30; // intraday: 0 mid, 1 bid, 2 offer
} // namespace StopFlag

std::array<uint8_t, kStopRecordSize> StopRecordBytes(const StopRecord& record);

// Sub-record ids of the share's own records.
constexpr uint8_t kDailyStopRecordId = 1;
constexpr uint8_t kIntradayStopRecordId = 4;
constexpr uint16_t kAllSettingsMask = 4095;

// The share a chart shows, as the setting record store keys it.
struct StopShareKey {
    uint16_t shareId = 0;
    uint8_t exchange = 0;
};

// The program-wide stop-loss settings of one view kind (daily or intraday).
uint16_t GlobalStopMask(bool intraday);
void SetGlobalStopMask(bool intraday, uint16_t mask);
uint16_t IndividualStopMask(bool intraday);
void SetIndividualStopMask(bool intraday, uint16_t mask);
StopRecord GlobalStopRecord(bool intraday);
void SetGlobalStopRecord(bool intraday, const StopRecord& record);
uint32_t NewStopRecordPen();
void SetNewStopRecordPen(uint32_t pen);

std::optional<StopRecord> ShareStopRecord(const StopShareKey& share, bool intraday);
void StoreShareStopRecord(const StopShareKey& share, bool intraday, const StopRecord& record);
void DeleteShareStopRecord(const StopShareKey& share, bool intraday);
// Whether any share has a record of the kind; "Delete All" removes them all and clears the
// individual-line mask.
bool AnyShareStopRecord(bool intraday);
void DeleteAllShareStopRecords(bool intraday);

// A new record as the adjust commands start it: "Move down as well as up", the latest trading date,
// the pen for new records and 10% (daily) or 1% (intraday).
StopRecord DefaultStopRecord(bool intraday, PackedDate latestTradingDate);
// The adjust step of the keyboard commands on setting `setting`: from the share's record plus step,
// else the global record plus step, else the defaults; the setting's bit joins the individual mask;
// the percentage is held within 0.01..80. Returns the stored record.
StopRecord AdjustShareStop(const StopShareKey& share, bool intraday, int setting, float step, PackedDate latestTradingDate);
// The step of the increase (up = true) and decrease commands; Shift reverses them.
float StopAdjustStep(bool increase, bool shift, bool intraday);

// Text 2126: "Apply to all settings", "Apply to this setting only", "Apply to several settings" or
// "No settings".
std::string StopApplyText(uint16_t mask, int setting);
// The menu text of "Stop-loss - Global" (global) or "Stop-loss - This Share" while the line is a
// stop-gain: "Stop gain - Global", "Stop gain - This Share"; empty otherwise.
std::string StopMenuText(bool global, bool intraday, const std::optional<StopRecord>& share);
// Leaving the percentage field: outside 0.01..99 becomes 10.
double CheckStopPercent(double value);

} // namespace qv
