// The lines the alarm dialogs list: the alarms of a share that hold on the judged days (with the texts
// the triggered list shows) and the alarms that are set (the review list), and the dealings window the
// directors' dealings alarm looks back over.
#pragma once

#include "core/PackedDate.h"
#include "portfolio/AlarmPortfolios.h"
#include "tools/alarms/ShareAlarmRecord.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

struct DealingsFileInfo;
class CodingTables;

// A dealing counts when its deal date is on or after this: today less (count / 5 + 6) days, the
// count being the check-back days (mode 1), the days since the previous update (mode 2) or 0.
PackedDate DealingsWindowStart(PackedDate today, const AlarmDayRange& range, PackedDate previousUpdate);

// The latest deal of the share dated on or after `since` in a dealings block: 0 none,
// kMajorHoldingDealing when a major holder dealt, else kDirectorsDealing. Holdings are not deals.
uint8_t FindShareDealing(const uint8_t* block, const DealingsFileInfo& info, const CodingTables& tables,
                         uint16_t shareId, PackedDate since);
// The same over the program's dealings block and the window ending `today` (the alarm portfolios' hook).
uint8_t ProgramShareDealing(uint16_t shareId, uint16_t today);
// The move row of `criterion` (its kind the n days) on day `day` with the options' "Check intermediate
// rises" and the share's period type (the alarm portfolios' hook).
bool ProgramMoveTest(std::span<const AlarmDay> days, int day, const MoveCriterion& criterion, bool rise, int periodType);

// An alarm's text in the three pieces the triggered list joins (a move's prefix, text and plural;
// otherwise the whole text first).
using AlarmText = std::array<std::string, 3>;

// Each alarm of the share that holds on a judged day, once, at the latest such day and in the order
// the tests run; a move counts n days as weeks for a share of weekly records (`periodType`).
std::vector<AlarmText> TriggeredAlarmTexts(const ShareAlarm& alarm, std::span<const AlarmDay> days, int first,
                                           PackedDate today, bool intermediate, int periodType = 0);
// Every alarm the record has set, whether or not it holds.
std::vector<std::string> SetAlarmTexts(const ShareAlarmRecord& record);

// One line of an alarm list: the share's key (share id + exchange << 16), its name, the alarm text and
// the record's note.
struct AlarmListLine {
    uint32_t key = 0;
    std::string name;
    AlarmText text;
    std::string note;
};
// The program's alarm records: the alarms that hold on `today` (with the check-back setting) and
// those set.
std::vector<AlarmListLine> ListTriggeredAlarms(PackedDate today);
std::vector<AlarmListLine> ListSetAlarms();

} // namespace qv
