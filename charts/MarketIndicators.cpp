// The indicator windows drawn against other series than the share's own: the relative-strength pane
// (the share's closes against another share's) and the market-breadth types 18-30 (from the cached
// daily series of a market group or portfolio, at the share's own days).
#include "chartmodel/BreadthCalc.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "chartmodel/RelativeSeries.h"
#include "charts/StudyPass.h"

#include <limits>

namespace qv {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

int32_t FirstVisibleRecord(const StudyPass& pass)
{
    int32_t k = 0;
    while (k < pass.end() && !pass.Visible(k))
        ++k;
    return k;
}

struct BreadthLook {
    std::vector<double> levels;
    bool wholeNumbers;
};

BreadthLook BreadthLookOf(int type)
{
    switch (type) {
    case 18: case 19: case 24: return {{}, true};
    case 21: return {{-100, -70, 70, 100}, false};
    case 22: return {{-1300, 0, 1600, 1900}, true};
    case 26: return {{-200, 200}, false};
    case 27: return {{45, 56}, false};
    case 28: return {{40, 61.5}, false};
    case 29: return {{0}, false};
    case 30: return {{1.0}, false};
    default: return {{}, false};
    }
}

} // namespace

void DrawRelative(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    const int32_t first = FirstVisibleRecord(pass);
    if (first >= pass.end() || !in.loadShare)
        return;
    // A comparison that is gone leaves the pane empty with its caption.
    const std::vector<DayRecord> comparison =
        in.loadShare(uint16_t(in.record.period2), uint32_t(uint16_t(in.record.period3)));
    if (comparison.empty())
        return;
    const std::vector<double> values =
        BuildRelativeValues(in.days.subspan(size_t(first), size_t(pass.end() - first)), comparison);
    IndicatorLine& line = AddLine(out, in.record.pens[0], first);
    for (double v : values)
        pass.Keep(line.values, v);
    if (pass.fixed() || range.maximum >= range.minimum) {
        pass.DataRange(kPadMarginOnly, false);
        return;
    }
    // No day has a comparison close: nothing to draw.
    out.lines.clear();
}

void DrawBreadth(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int type)
{
    StudyPass pass(in, range);
    PortfolioSeriesCache& cache = in.breadth ? *in.breadth : SeriesCache();
    const BreadthSeriesKey key = BreadthKeyOf(in.record);
    cache.DropIfReloaded();
    BreadthSeriesEntry* entry = cache.Find(key);
    if (!entry && !cache.Building()) {
        entry = cache.Add(key);
        BuildPortfolioSeries(cache, *entry, true);
    }
    out.title = GetIndicatorName(in.record, entry ? std::string_view(entry->name) : "building list...");
    const int32_t firstVisible = FirstVisibleRecord(pass);
    if (!entry || cache.Building() || entry->records.empty() || firstVisible >= pass.end())
        return;
    const int32_t lastDrawn = pass.day(pass.end() - 1).date;
    if (entry->firstDay > lastDrawn || entry->lastDay < pass.day(firstVisible).date)
        return;
    if (type == 30 && entry->trinFirstDay > lastDrawn)
        return;
    // Every weekday of the series is fed, so that the averages run on the calendar's weekdays; a
    // day of the share's own gets the day's value, a day the share has no record leaves no point.
    CBreadthCalc calc(in.record, entry->records.data(), entry->records.size(), entry->name);
    std::vector<double> perRecord(static_cast<size_t>(pass.end()), kNoValue);
    int32_t k = 0;
    while (k < pass.end() && pass.day(k).date < entry->firstDay)
        ++k;
    const int32_t firstMet = k;
    for (PackedDate day = entry->firstDay; day != 0 && day <= entry->lastDay && day <= lastDrawn;
         day = NextWeekday(day)) {
        const double value = *calc.AddValue();
        while (k < pass.end() && pass.day(k).date < day)
            ++k;
        if (k < pass.end() && pass.day(k).date == day)
            perRecord[size_t(k++)] = value;
    }
    // Values are kept from the first visible day (for TRIN not before its start day).
    int32_t start = std::max(firstVisible, firstMet);
    while (type == 30 && start < pass.end() && pass.day(start).date < entry->trinFirstDay)
        ++start;
    if (start >= pass.end())
        return;
    IndicatorLine& line = AddLine(out, in.record.pens[0], start);
    for (int32_t r = start; r < pass.end(); ++r)
        pass.Keep(line.values, perRecord[size_t(r)]);
    pass.DataRange(kPadMarginOnly, false);
    BreadthLook look = BreadthLookOf(type);
    out.levels = std::move(look.levels);
    out.wholeNumbers = look.wholeNumbers;
}

} // namespace qv
