// Setting and removing the alarm of a drawn intraday line.
#include "charts/IntradayLineAlarm.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/IntradayNotes.h"
#include "chartmodel/LineObjects.h"
#include "chartmodel/TrainingMode.h"
#include "charts/DailyChartDrawing.h"
#include "platform/ByteOrder.h"
#include "views/CommandUpdate.h"

namespace qv {
namespace {

constexpr size_t kPointValue = 4;
constexpr uint32_t kDaySeconds = 86400;

} // namespace

LineEnds ReadLineEnds(const LineObject& line)
{
    const uint8_t* first = line.stored.data() + kLinePointsOffset;
    const uint8_t* second = first + kLinePointSize;
    return {LoadI32(first), LoadI32(second), LoadF32(first + kPointValue), LoadF32(second + kPointValue)};
}

bool LineTakesAlarm(const LineObject* line, bool placing)
{
    return line && !placing && line->kind == LineObjectKind::LineStudy && line->subtype() == 0 &&
           line->pointCount() >= 2;
}

bool LineWithinDay(const LineEnds& ends, PackedDate day)
{
    const uint32_t first = DateToCalendarIndex(day);
    const auto within = [first](int32_t t) { return t >= 0 && uint32_t(t) >= first && uint32_t(t) < first + kDaySeconds; };
    return within(ends.time1) && within(ends.time2);
}

bool RunLineAlarmCommand(uint32_t command, DailyChartDrawing& drawing, const ShareRef& share,
                         const LineAlarmCommand& hooks)
{
    if (command != kCmdLineAlarm)
        return false;
    const LineObject* line = drawing.selected();
    if (!LineTakesAlarm(line, drawing.placing()))
        return true;
    // Removing an alarm needs no price.
    if (line->alarm() != 0) {
        drawing.SetSelectedAlarm(0);
        return true;
    }
    const LineEnds ends = ReadLineEnds(*line);
    const int side = hooks.side(share, ends.time1, ends.value1, ends.time2, ends.value2);
    drawing.SetSelectedAlarm(uint16_t(side));
    if (side == 0 || LineWithinDay(ends, hooks.today()) || (IntradayNotesOff() & kNoteLineAlarms))
        return true;
    if (SuppressibleInfo()(kLineAlarmNote))
        SetIntradayNotesOff(IntradayNotesOff() | kNoteLineAlarms);
    return true;
}

bool UpdateLineAlarmCommand(CommandUi& ui, const DailyChartDrawing& drawing)
{
    if (ui.command != kCmdLineAlarm)
        return false;
    const LineObject* line = drawing.selected();
    ui.enabled = LineTakesAlarm(line, drawing.placing());
    const bool set = ui.enabled && line->alarm() != 0;
    ui.checked = set;
    if (set)
        ui.text = "Remove alarm from line";
    return true;
}

} // namespace qv
