// The intraday chart's indicator and market-breadth windows.
#include "charts/IntradayIndicatorPanes.h"

#include "chartmodel/BreadthCalc.h"
#include "chartmodel/ChartCalendar.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/IntradayIndicators.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/PortfolioSeriesCache.h"
#include "chartmodel/StudyKey.h"
#include "chartmodel/StudyKeyCollector.h"
#include "chartmodel/ViewGraph.h"
#include "charts/IntradayChartView.h"
#include "core/RecordAccess.h"
#include "realtime/RTMarketTable.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

namespace qv {
namespace gs = graphsetting;
using namespace intraday;
namespace {

constexpr int32_t kLastSecondOfDay = 86399;
constexpr int32_t kBucketSeconds = 300;

void SetTitle(GraphSeries* series, const std::string& title)
{
    std::snprintf(series->title, sizeof series->title, "%s", title.c_str());
}

// A series of the day's band whose values stand at bars first..first + count - 1 of the day.
GraphSeries* AddBarSeries(const IntradayChartView& chart, const IntradayDaySet& set, GraphPane* pane, int32_t first,
                          int32_t count, uint32_t studyKey)
{
    GraphSeries* series = AddSeries(set.band, pane, studyKey);
    AddSeriesTimeScale(series, 1);
    TimeScale& scale = *series->timeScale;
    scale.firstIndex = 0;
    scale.lastIndex = std::max(count - 1, 1);
    scale.firstX = chart.XOfTime(set, set.bars.start + first * set.bars.period);
    scale.lastX = chart.XOfTime(set, set.bars.start + (first + scale.lastIndex) * set.bars.period);
    return series;
}

void AddLine(GraphSeries* series, uint32_t pen, const std::vector<float>& values)
{
    PlotElement* e = AddPlotElement(series, 1, 0, pen, 0, 1, 0, 0, 0, 0);
    auto* out = static_cast<float*>(InitDataArray(e->values, kArrayFloats, int32_t(values.size()), 0, 0));
    std::copy(values.begin(), values.end(), out);
}

// Bars about zero of the values of one sign; the others are not drawn.
void AddHistogram(GraphSeries* series, uint32_t pen, int sign, const std::vector<float>& values)
{
    PlotElement* e = AddPlotElement(series, 4, 0, pen, 0, 1, 0, 0, 0, 0);
    auto* out = static_cast<float*>(InitDataArray(e->values, kArrayFloats, int32_t(values.size()), 0, 0));
    e->values.flags = kSelectSkipZero;
    for (size_t i = 0; i < values.size(); ++i)
        out[i] = float(sign) * values[i] > 0 ? values[i] : 0.0f;
}

struct Selection {
    int kind = 0;
    int32_t from = 0, to = 0;
    bool flowing = false;
};
Selection SelectionOf(const GraphSetting& s)
{
    const uint8_t flow = gs::U8(s, kDataFlow);
    return {(flow >> 1) & 0x7F, int32_t(gs::U32(s, kAnalyticFrom)), int32_t(gs::U32(s, kAnalyticTo)), (flow & 1) != 0};
}

// The source's name and shares: a portfolio's holdings ("deleted" and none when it is gone) or the
// shares of a list's group.
MarketSource NamedSource(const IndicatorRecord& record)
{
    MarketSource source = MarketSourceOf(record);
    BreadthSeriesEntry walk;
    walk.key = source.isPortfolio ? BreadthSeriesKey{true, source.portfolio, 0}
                                  : BreadthSeriesKey{false, 0, int32_t(source.listCode)};
    const std::vector<RecordCursor> rows = BreadthEntryShares(walk);
    if (source.isPortfolio && !walk.key.portfolio) {
        source.name = "deleted";
        return source;
    }
    source.name = walk.name;
    for (const RecordCursor& row : rows)
        if (row.record)
            source.shares.push_back(RecordId(row.record));
    return source;
}

// The market table's entry for the record's source, made (with the source's shares, which the feed's
// ticks then fill) when no entry holds it yet; the window is told of its changes. True when the entry
// was made now, not read from the file: it counts the day's stored ticks first.
bool MarketEntryOf(const IndicatorRecord& record, uint16_t group, uint64_t window)
{
    CRTMarketTable& table = TheRTMarketTable();
    std::lock_guard lock(table.mutex());
    CRTMarketTable::Entry* entry = table.FindSourceEntry(MarketSourceOf(record).SubKey());
    const bool made = !entry || entry->source.name.empty();
    if (made)
        entry = &table.SourceEntry(group, NamedSource(record));
    table.Watch(*entry, window);
    entry->building = made && !entry->loaded;
    return entry->building;
}

} // namespace

std::vector<IntradayIndicatorDay> ComputeIntradayIndicator(const IndicatorRecord& record,
                                                           const std::vector<const IntradayDaySet*>& days,
                                                           bool flowing, int selection, int32_t from, int32_t to)
{
    std::vector<IntradayIndicatorDay> out;
    std::unique_ptr<CIndicatorCalc> calc;
    for (const IntradayDaySet* set : days) {
        IntradayIndicatorDay day;
        const int32_t selectFrom = selection == 1 ? set->span.start : from;
        const int32_t selectTo = selection == 1 ? set->span.end : to;
        std::tie(day.first, day.last) = MapTimeToBar(set->bars, selection, selectFrom, selectTo);
        if (day.first <= day.last) {
            if (!calc || !flowing)
                calc = CreateIntradayIndicatorCalc(record, set->bars.bars[size_t(day.first)]);
            // The day's bars in one series: the same values as bar by bar, at the whole-series cost.
            const size_t outputs = size_t(calc->OutputCount()), count = size_t(day.last - day.first + 1);
            std::vector<float> series(count * outputs);
            calc->AddSeries(&set->bars.bars[size_t(day.first)], count, series.data());
            day.outputs.assign(outputs, std::vector<float>(count));
            for (size_t i = 0; i < count; ++i)
                for (size_t j = 0; j < outputs; ++j)
                    day.outputs[j][i] = series[i * outputs + j];
        }
        out.push_back(std::move(day));
    }
    return out;
}

std::vector<std::pair<int32_t, int32_t>> IntradayRegressionRanges(const GraphSetting& setting,
                                                                  const std::vector<const IntradayDaySet*>& days)
{
    const Selection selection = SelectionOf(setting);
    const uint32_t mode = gs::U32(setting, gs::kTrendRange);
    const int32_t periods = int32_t(std::max<uint32_t>(gs::U32(setting, gs::kTrendPeriods), 2));
    struct Run {
        const IntradayDaySet* set;
        int32_t first, last;
    };
    std::vector<Run> runs;
    for (const IntradayDaySet* set : days) {
        if (set->bars.bars.empty())
            continue;
        Run run{set, 0, int32_t(set->bars.bars.size()) - 1};
        if (mode == 1) {
            const int32_t from = selection.kind == 1 ? set->span.start : selection.from;
            const int32_t to = selection.kind == 1 ? set->span.end : selection.to;
            std::tie(run.first, run.last) = MapTimeToBar(set->bars, selection.kind, from, to);
        }
        if (run.first <= run.last)
            runs.push_back(run);
    }
    const auto position = [](const IntradayDaySet& set, int32_t bar) {
        return int32_t(DateToCalendarIndex(set.day)) + set.bars.start + bar * set.bars.period;
    };
    std::vector<std::pair<int32_t, int32_t>> ranges;
    if (runs.empty())
        return ranges;
    if (!selection.flowing) {
        for (const Run& r : runs)
            ranges.emplace_back(position(*r.set, mode == 2 ? std::max(r.last - periods + 1, r.first) : r.first),
                                position(*r.set, r.last));
        return ranges;
    }
    // Across the days: from the first run's start, or N bars back from the end over the days.
    size_t k = 0;
    int32_t start = runs.front().first;
    if (mode == 2) {
        int32_t left = periods;
        for (k = runs.size(); k-- > 0;) {
            const int32_t count = runs[k].last - runs[k].first + 1;
            if (count >= left || k == 0) {
                start = std::max(runs[k].last - left + 1, runs[k].first);
                break;
            }
            left -= count;
        }
    }
    ranges.emplace_back(position(*runs[k].set, start), position(*runs.back().set, runs.back().last));
    return ranges;
}

std::vector<std::pair<int32_t, int32_t>> IntradayIndicatorPanes::AddRegressionObjects() const
{
    const GraphSetting& s = view_.StyleRecord() ? *view_.StyleRecord() : *view_.ActiveSetting();
    std::vector<const IntradayDaySet*> days;
    for (const IntradayDaySet& set : chart_.sets())
        if (set.band)
            days.push_back(&set);
    return IntradayRegressionRanges(s, days);
}

GraphSeries* IntradayIndicatorPanes::AddIndicatorPane(int window, int row)
{
    const GraphSetting& s = view_.StyleRecord() ? *view_.StyleRecord() : *view_.ActiveSetting();
    GraphPane* pane = view_.FindPane(kPaneFirstAddOn + uint32_t(window));
    if (!pane || !pane->visible)
        return nullptr;
    const IndicatorRecord record = IndicatorRecord::Read(gs::IndicatorSlot(s, window, row));
    const Selection selection = SelectionOf(s);
    std::vector<const IntradayDaySet*> days;
    for (const IntradayDaySet& set : chart_.sets())
        if (!set.bars.bars.empty())
            days.push_back(&set);
    const std::vector<IntradayIndicatorDay> computed =
        ComputeIntradayIndicator(record, days, selection.flowing, selection.kind, selection.from, selection.to);
    GraphSeries* first = nullptr;
    GraphSeries* last = nullptr;
    const uint32_t key = MakeStudyKey(pane->id, &record);
    for (size_t d = 0; d < days.size(); ++d) {
        const IntradayIndicatorDay& day = computed[d];
        if (!days[d]->band || day.first > day.last)
            continue;
        GraphSeries* series = AddBarSeries(chart_, *days[d], pane, day.first, day.last - day.first + 1, key);
        series->range = first ? first->range : view_.AddValueRange(series);
        for (const IntradayIndicatorLine& line : IntradayIndicatorLines(record, int(day.outputs.size()))) {
            if (line.histogram)
                AddHistogram(series, line.pen, line.sign, day.outputs[size_t(line.output)]);
            else
                AddLine(series, line.pen, day.outputs[size_t(line.output)]);
        }
        first = first ? first : series;
        last = series;
    }
    if (last)
        SetTitle(last, GetIndicatorName(record));
    // The window's level lines go with its first series.
    if (first && pane->firstSeries == first) {
        const std::vector<float> levels = IntradayIndicatorLevels(record);
        SetPaneLevels(pane, int32_t(levels.size()), levels.data());
    }
    return first;
}

GraphSeries* IntradayIndicatorPanes::AddBreadthPane(int window, int row)
{
    const GraphSetting& s = view_.StyleRecord() ? *view_.StyleRecord() : *view_.ActiveSetting();
    GraphPane* pane = view_.FindPane(kPaneFirstAddOn + uint32_t(window));
    if (!pane || !pane->visible || chart_.sets().empty())
        return nullptr;
    const IndicatorRecord record = IndicatorRecord::Read(gs::IndicatorSlot(s, window, row));
    const Selection selection = SelectionOf(s);
    // The table keeps the day being traded; its buckets run from the analytic start to the end of the
    // day, or for today to the exchange's latest time.
    const IntradayDaySet& today = chart_.sets().back();
    if (!today.today || !today.band)
        return nullptr;
    const int32_t start = selection.kind == 2 ? selection.from : selection.kind == 1 ? today.span.start : 0;
    int32_t end = kLastSecondOfDay;
    if (chart_.source.latestTime)
        if (const int32_t latest = chart_.source.latestTime(chart_.share().market, today.day); latest > 0)
            end = std::min(end, latest);
    const int32_t firstBucket = std::clamp(start / kBucketSeconds, 0, int32_t(kMarketBuckets) - 1);
    const int32_t lastBucket = std::clamp(end / kBucketSeconds, 0, int32_t(kMarketBuckets) - 1);
    GraphSeries* series = AddSeries(today.band, pane, MakeStudyKey(pane->id, &record));
    series->range = view_.AddValueRange(series);
    const uint32_t subKey = MarketSourceOf(record).SubKey();
    if (MarketEntryOf(record, chart_.ShownShareKey().first, view_.targetId()))
        ReplayStoredMarketDay(subKey, today.day);
    std::vector<BreadthRecord> records;
    std::string name;
    {
        std::lock_guard lock(TheRTMarketTable().mutex());
        CRTMarketTable::Entry* found = TheRTMarketTable().FindSourceEntry(subKey);
        // Until a tick of the source's shares has been counted (or the day read from the file) there
        // is nothing to draw.
        if (!found || (!found->loaded && found->lastBucket < 0)) {
            SetTitle(series, "building list...");
            return series;
        }
        CRTMarketTable::Entry& entry = *found;
        const MarketDay& day = entry.Day();
        for (int32_t b = firstBucket; b <= lastBucket; ++b) {
            const MarketBucket& m = day[size_t(b)];
            records.push_back({m.advancing, m.declining, m.newHighs, m.newLows, m.upVolume, m.downVolume});
        }
        name = entry.source.name;
    }
    // The calculator runs from the analytic start; the line shows the buckets inside the band.
    CBreadthCalc calc(record, records.data(), records.size(), name);
    const int32_t shownFirst = std::clamp((today.span.visibleStart + kBucketSeconds - 1) / kBucketSeconds, firstBucket, lastBucket);
    const int32_t shownLast = std::clamp(today.span.visibleEnd / kBucketSeconds, shownFirst, lastBucket);
    std::vector<float> values;
    for (int32_t b = firstBucket; b <= shownLast; ++b) {
        const float value = calc.AddValue()[0];
        if (b >= shownFirst)
            values.push_back(value);
    }
    AddSeriesTimeScale(series, 1);
    TimeScale& scale = *series->timeScale;
    scale.firstIndex = 0;
    scale.lastIndex = std::max(int32_t(values.size()) - 1, 1);
    scale.firstX = chart_.XOfTime(today, shownFirst * kBucketSeconds);
    scale.lastX = chart_.XOfTime(today, (shownFirst + scale.lastIndex) * kBucketSeconds);
    AddLine(series, record.pens[0], values);
    SetTitle(series, name);
    return series;
}

} // namespace qv
