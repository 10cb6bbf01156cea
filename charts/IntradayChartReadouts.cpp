// The intraday chart's read-outs from its day sets.
#include "charts/IntradayChartReadouts.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/ChartNumbers.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/LineObjects.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/ViewGraph.h"
#include "charts/IntradayChartView.h"
#include "charts/IntradayLineAlarm.h"
#include "core/TimeZones.h"

#include <algorithm>
#include <climits>

namespace qv {
namespace gs = graphsetting;
using namespace intraday;
namespace {

constexpr int kValueDecimals = 4;
constexpr int kVolumeDecimals = 2;
constexpr uint32_t kQuoteMissing = kItemFirstMissing | kItemSecondMissing;

// The last item at or before the time that the test accepts.
template <typename Accept>
const TickItem* LastBefore(const TickItemArray& items, int32_t time, Accept accept)
{
    auto it = std::upper_bound(items.items.begin(), items.items.end(), time,
                               [](int32_t t, const TickItem& i) { return t < i.time; });
    while (it != items.items.begin()) {
        --it;
        if (accept(*it))
            return &*it;
    }
    return nullptr;
}

// A quote with both sides, not crossed; a trade with its price and volume.
bool WholeQuote(const TickItem& q) { return !(q.flags & kQuoteMissing) && q.first > 0 && q.second > 0 && q.first >= q.second; }
bool WholeTrade(const TickItem& t) { return !(t.flags & kItemFirstMissing) && t.first > 0; }

struct DayValues {
    const TickItem* quote = nullptr;
    const TickItem* trade = nullptr;
};
DayValues ValuesAt(const IntradayDaySet& set, int32_t time)
{
    return {LastBefore(set.items.quotes, time, WholeQuote), LastBefore(set.items.trades, time, WholeTrade)};
}

void FillValues(IntradayReadoutValues& v, const DayValues& at)
{
    if (at.quote) {
        v.offer = IntradayValueText(at.quote->first);
        v.bid = IntradayValueText(at.quote->second);
        v.mid = IntradayValueText((at.quote->first + at.quote->second) / 2);
    }
    if (at.trade && at.trade->second > 0) {
        v.volume = IntradayVolumeText(at.trade->second);
        v.price = IntradayValueText(at.trade->first);
    }
}

// The series' plot elements in the order they were added.
std::vector<const PlotElement*> ElementsInOrder(const GraphSeries& series)
{
    std::vector<const PlotElement*> out;
    for (const PlotElement* e = series.elements; e; e = e->next)
        out.push_back(e);
    std::reverse(out.begin(), out.end());
    return out;
}

std::array<std::string, kReadoutTexts> OffGraph()
{
    IntradayReadoutValues off;
    off.offGraph = true;
    return IntradayReadoutTexts(off);
}

} // namespace

std::string IntradayValueText(float value)
{
    std::string text;
    FormatChartValueText(text, value, kValueDecimals, false, false, 0);
    return text;
}

std::string IntradayVolumeText(float value)
{
    const char* suffix = "";
    const double scaled = ScaleWithSuffix(value, suffix);
    std::string text;
    FormatChartValueText(text, float(scaled), kVolumeDecimals, false, false, 0);
    return text + suffix;
}

const IntradayDaySet* IntradayChartReadouts::LatestSet() const
{
    if (chart_.latestSet())
        return &*chart_.latestSet();
    return chart_.sets().empty() ? nullptr : &chart_.sets().back();
}

IntradayLatestValues IntradayChartReadouts::LatestValues() const
{
    IntradayLatestValues out;
    auto take = [&out](const IntradayDaySet& set) {
        const DayValues at = ValuesAt(set, INT32_MAX);
        if (at.quote) {
            out.offer = at.quote->first;
            out.bid = at.quote->second;
            out.mid = (at.quote->first + at.quote->second) / 2;
            out.quoteTime = at.quote->time;
        }
        if (at.trade) {
            out.trade = at.trade->first;
            out.volume = at.trade->second > 0 ? at.trade->second : out.volume;
            out.tradeTime = at.trade->time;
        }
    };
    for (const IntradayDaySet& set : chart_.sets())
        take(set);
    if (chart_.latestSet())
        take(*chart_.latestSet());
    const IntradayDaySet* latest = LatestSet();
    if (!latest)
        return out;
    const GraphSetting* style = view_.StyleRecord() ? view_.StyleRecord() : view_.ActiveSetting();
    const bool fromClose = style && (gs::U16(*style, kTitleOptions) & kTitleFromPreviousClose);
    float reference = -1;
    if (fromClose)
        reference = latest->previousKnown ? latest->previous.close : -1;
    else if (latest->ownKnown)
        reference = latest->own.open;
    else if (const TickItem* first = latest->items.trades.items.empty() ? nullptr : &latest->items.trades.items.front())
        // The day being traded has no daily record yet: its first trade is its open.
        reference = first->first;
    if (reference > 0)
        out.reference = reference;
    return out;
}

int64_t IntradayChartReadouts::AverageVolume() const
{
    std::vector<float> volumes;
    for (const IntradayDaySet& set : chart_.sets())
        for (const TickItem& t : set.items.trades.items)
            volumes.push_back(t.second);
    return AverageTradeVolume(volumes);
}

std::string IntradayChartReadouts::TitleValues() const
{
    const GraphSetting* style = view_.StyleRecord() ? view_.StyleRecord() : view_.ActiveSetting();
    if (!style)
        return {};
    return BuildTitleValues(gs::U16(*style, kTitleOptions), LatestValues(), IntradayValueText);
}

std::optional<IntradayChartReadouts::Point> IntradayChartReadouts::PointAt(int32_t x, int32_t y) const
{
    GraphPane* pane = nullptr;
    TimeBand* band = nullptr;
    GraphSeries* series = nullptr;
    view_.HitTestPane(x, y, &pane, &band, &series);
    if (!pane || !band || pane->id == kPaneCaption)
        return std::nullopt;
    for (const IntradayDaySet& set : chart_.sets()) {
        if (set.band != band)
            continue;
        const int32_t width = std::max(set.right - set.left, 1);
        const int64_t seconds = set.span.visibleEnd - set.span.visibleStart;
        const int32_t time = set.span.visibleStart + int32_t(seconds * (std::clamp(x, set.left, set.right) - set.left) / width);
        return Point{&set, time, pane, series};
    }
    return std::nullopt;
}

std::string IntradayChartReadouts::SignalAt(const IntradayDaySet& set, int32_t time) const
{
    const GraphSetting* style = view_.StyleRecord() ? view_.StyleRecord() : view_.ActiveSetting();
    if (!style || gs::U8(*style, kVolumeDisplay) != 2 || !(gs::U16(*style, gs::kDisplayFlags) & kVolumeSignal) ||
        set.bars.bars.empty())
        return {};
    const std::vector<float> signal = VolumeSignalLine(set.bars, gs::U16(*style, gs::kVolumeSignalPeriods));
    if (signal.empty())
        return {};
    const int32_t bar = std::clamp<int32_t>((time - set.bars.start) / std::max(set.bars.period, 1), 0,
                                            int32_t(signal.size()) - 1);
    return IntradayVolumeText(signal[size_t(bar)]);
}

std::string IntradayChartReadouts::PaneText(const Point& at, const IntradayReadoutValues& v) const
{
    if (at.pane->id == kPanePrice)
        return "Mid " + v.mid;
    if (at.pane->id == kPaneVolume)
        return "Volume " + v.volume;
    // An indicator pane: its series' outputs at the bar of the time.
    if (!at.series || at.set->bars.bars.empty())
        return "Value ";
    const int32_t bar = std::clamp<int32_t>((at.time - at.set->bars.start) / std::max(at.set->bars.period, 1), 0,
                                            int32_t(at.set->bars.bars.size()) - 1);
    std::array<std::string, 2> outputs;
    size_t n = 0;
    for (const PlotElement* e : ElementsInOrder(*at.series)) {
        if (n == outputs.size() || e->values.type != kArrayFloats || bar >= e->values.count)
            continue;
        outputs[n++] = IntradayValueText(static_cast<const float*>(e->values.data)[bar]);
    }
    return n > 1 ? "Value " + outputs[0] + " " + outputs[1] : "Value " + outputs[0];
}

std::array<std::string, kReadoutTexts> IntradayChartReadouts::CursorTexts(int32_t x, int32_t y, bool inside) const
{
    IntradayReadoutValues v;
    const std::optional<Point> at = inside ? PointAt(x, y) : std::nullopt;
    if (!at)
        return OffGraph();
    v.time = FormatReadoutTime(at->set->day, at->time);
    FillValues(v, ValuesAt(*at->set, at->time));
    if (!v.volume.empty())
        v.signal = SignalAt(*at->set, at->time);
    v.pane = PaneText(*at, v);
    if (at->series && at->series->range)
        v.cursor = IntradayValueText(view_.YToValue(at->series->range, y));
    return IntradayReadoutTexts(v);
}

std::array<std::string, kReadoutTexts> IntradayChartReadouts::LatestTexts() const
{
    const IntradayDaySet* latest = LatestSet();
    if (!latest)
        return OffGraph();
    const DayValues at = ValuesAt(*latest, INT32_MAX);
    IntradayReadoutValues v;
    v.latest = true;
    const int32_t time = std::max(at.quote ? at.quote->time : -1, at.trade ? at.trade->time : -1);
    if (time >= 0)
        v.time = FormatReadoutTime(latest->day, time);
    FillValues(v, at);
    return IntradayReadoutTexts(v);
}

std::string IntradayChartReadouts::TrendText(const LineObject& line) const
{
    if (line.kind != LineObjectKind::LineStudy || line.pointCount() < 2)
        return {};
    const LineEnds ends = ReadLineEnds(line);
    const GraphPane* price = view_.FindPane(kPanePrice);
    const bool log = price && price->firstSeries && price->firstSeries->range &&
                     (price->firstSeries->range->flags & kRangeLogarithmic);
    const std::string rate = FormatTrendRate(ends.time1, ends.value1, ends.time2, ends.value2, log);
    return rate.empty() ? rate : "Trend " + rate;
}

void IntradayChartReadouts::FillStatusTexts(std::array<std::string, 3>& texts, int32_t x, int32_t y, bool inside,
                                            const LineObject* selectedLine) const
{
    const std::optional<Point> at = inside ? PointAt(x, y) : std::nullopt;
    // Off the graph the panes show the latest values.
    const auto shown = at ? CursorTexts(x, y, true) : LatestTexts();
    texts[0] = at ? "Cursor " + FormatReadoutTime(at->set->day, at->time) : shown[0];
    texts[1] = shown[1];
    texts[2] = shown[4];
    const std::string trend = selectedLine ? TrendText(*selectedLine) : std::string();
    if (!trend.empty())
        texts[2] += "   " + trend;
    else if (!at)
        texts[2] += "   No trend line";
}

std::optional<float> IntradayChartReadouts::AddedGraphValue(size_t graph, const IntradayDaySet& set, int32_t time) const
{
    const auto& entry = chart_.addedEntries()[graph];
    if (entry[0] == 0 || set.added[graph].items.empty())
        return std::nullopt;
    // The graph's own day starts at its market's midnight, or opening, on the view's clock.
    const uint8_t exchange = chart_.addedMarket(graph);
    int32_t start = (GetMarketUtcBias(exchange, set.day) - set.biasMinutes) * 60;
    const GraphSetting* style = view_.StyleRecord() ? view_.StyleRecord() : view_.ActiveSetting();
    const uint8_t hours = style ? gs::U8(*style, kDayHours) : 0;
    if ((hours == 1 || hours == 2) && chart_.source.marketHours)
        start += chart_.source.marketHours(exchange).first;
    const TickItem* q = LastBefore(set.added[graph], std::max(time, start), WholeQuote);
    if (!q)
        return std::nullopt;
    return (q->first + q->second) / 2;
}

std::vector<LegendIndicatorLine> IntradayChartReadouts::AddedGraphLines(int32_t x, int32_t y, bool inside) const
{
    std::vector<LegendIndicatorLine> lines;
    const std::optional<Point> at = inside ? PointAt(x, y) : std::nullopt;
    const IntradayDaySet* last = chart_.sets().empty() ? nullptr : &chart_.sets().back();
    for (size_t k = 0; k < chart_.addedEntries().size(); ++k) {
        const auto& entry = chart_.addedEntries()[k];
        if (entry[0] == 0)
            continue;
        LegendIndicatorLine line;
        line.name = chart_.addedNames()[k];
        line.pen = entry[2];
        if (last)
            if (const auto v = AddedGraphValue(k, *last, INT32_MAX))
                line.latest = IntradayValueText(*v);
        if (at)
            if (const auto v = AddedGraphValue(k, *at->set, at->time))
                line.cursor = IntradayValueText(*v);
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace qv
