// The stop-loss lines.
#include "charts/StopLossLines.h"

#include "chartmodel/ChartCanvas.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/ValueMapping.h"

#include <algorithm>

namespace qv {

float NextStop(float close, float previous, const StopRecord& settings)
{
    const bool shortSide = (settings.flags & StopFlag::StopGain) != 0;
    const bool both = (settings.flags & StopFlag::MoveBothWays) != 0;
    if (previous < 0)
        return shortSide ? std::max(0.0f, (100 + settings.percent) * close / 100)
                         : ClampToPercentBand(close, previous, settings.percent, 0, both);
    return ClampToPercentBand(close, previous, settings.percent, shortSide ? 1 : 0, both);
}

namespace {

void DrawLine(ChartCanvas& canvas, const StopLine& line, uint32_t pen, const ValueRange& range,
              const std::function<int32_t(int32_t)>& xOfRecord, int32_t lastRecord)
{
    if (line.points.empty())
        return;
    canvas.SelectPen(pen);
    for (size_t i = 0; i < line.points.size(); ++i) {
        const StopLinePoint& p = line.points[i];
        const int32_t x = xOfRecord(p.record);
        const int32_t y = MapValueToRow(&range, p.stop, false);
        const int32_t nextRecord = i + 1 < line.points.size() ? line.points[i + 1].record : lastRecord;
        const int32_t x1 = xOfRecord(nextRecord);
        canvas.Line(x, y, x1, y);
        if (i + 1 < line.points.size())
            canvas.Line(x1, y, x1, MapValueToRow(&range, line.points[i + 1].stop, false));
    }
}

} // namespace

StopLine BuildStopLine(std::span<const DayRecord> days, const StopRecord& settings, int32_t lastDrawn)
{
    StopLine line;
    float previous = -1.0f;
    for (size_t k = 0; k < days.size() && days[k].date != 0; ++k) {
        if ((settings.flags & StopFlag::StartAtDate) && days[k].date < settings.startDate)
            continue;
        const float stop = NextStop(days[k].close, previous, settings);
        if (stop == previous)
            continue;
        if (days[k].date <= lastDrawn)
            line.points.push_back({int32_t(k), stop});
        line.last = previous = stop;
    }
    return line;
}

void StopLossLines::Clear()
{
    general_.reset();
    share_.reset();
    generalLine_ = shareLine_ = StopLine{};
}

void StopLossLines::Rebuild(std::span<const DayRecord> days, int settingIndex,
                            const std::optional<StopShareKey>& share, int32_t lastDrawn)
{
    Clear();
    if (days.empty() || settingIndex < 0 || settingIndex >= 16)
        return;
    const uint16_t bit = uint16_t(1u << settingIndex);
    if ((IndividualStopMask(false) & bit) && share)
        if ((share_ = ShareStopRecord(*share, false)))
            shareLine_ = BuildStopLine(days, *share_, lastDrawn);
    if (GlobalStopMask(false) & bit) {
        general_ = GlobalStopRecord(false);
        generalLine_ = BuildStopLine(days, *general_, lastDrawn);
    }
}

void StopLossLines::Draw(ChartCanvas& canvas, const GraphPane& pane, const ValueRange& range,
                         const std::function<int32_t(int32_t)>& xOfRecord, int32_t lastRecord) const
{
    if (!(range.maximum > range.minimum))
        return;
    canvas.ClipToPane(&pane);
    if (share_)
        DrawLine(canvas, shareLine_, share_->pen, range, xOfRecord, lastRecord);
    if (general_)
        DrawLine(canvas, generalLine_, general_->pen, range, xOfRecord, lastRecord);
    canvas.ClipToPane(nullptr);
}

} // namespace qv
