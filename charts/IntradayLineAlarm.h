// The alarm on a drawn line of the intraday chart (command 26939): which lines take one, the side of
// the line the latest price stands on when it is set, and the note on lines that do not lie on today.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <functional>

namespace qv {

class DailyChartDrawing;
struct CommandUi;
struct LineObject;
struct ShareRef;

constexpr uint32_t kCmdLineAlarm = 26939;
constexpr const char* kLineAlarmNote = "Alarms on intraday lines only trigger when both end points fall within the "
                                       "current day and you are connected to the intraday feed server.";

// A line's two ends: positions in seconds from 2000 and values.
struct LineEnds {
    int32_t time1 = 0, time2 = 0;
    float value1 = 0, value2 = 0;
};
LineEnds ReadLineEnds(const LineObject& line);
// A finished line study of subtype 0 with its two ends: the only object that takes an alarm.
bool LineTakesAlarm(const LineObject* line, bool placing);
// Both ends on the day.
bool LineWithinDay(const LineEnds& ends, PackedDate day);

// The command on the drawing's selected line: an alarm word of 0 becomes the side of the line the
// share's latest price stands on (0, no alarm, without a latest price), any other becomes 0; the
// objects are saved. A new alarm on a line not wholly on `today` brings the note until the user
// turns it off. False when the command is not this one.
struct LineAlarmCommand {
    std::function<int(const ShareRef&, int64_t, double, int64_t, double)> side; // LineAlarmSide
    std::function<PackedDate()> today;
};
bool RunLineAlarmCommand(uint32_t command, DailyChartDrawing& drawing, const ShareRef& share,
                         const LineAlarmCommand& hooks);
// Enabled for a line that takes an alarm; checked, and "Remove alarm from line", while it has one.
bool UpdateLineAlarmCommand(CommandUi& ui, const DailyChartDrawing& drawing);

} // namespace qv
