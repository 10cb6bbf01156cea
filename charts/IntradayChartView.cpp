// The intraday chart's loading, bands, series and commands.
#include "charts/IntradayChartView.h"

#include "chartmodel/AddedGraphCommands.h"
#include "chartmodel/AddedGraphEntries.h"
#include "chartmodel/ChartCalendar.h"
#include "chartmodel/EodChart.h"
#include "chartmodel/EodChartView.h"
#include "chartmodel/IndicatorCalc.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IntradayReadouts.h"
#include "chartmodel/LegendModel.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/StopLossSettings.h"
#include "chartmodel/StudyKey.h"
#include "chartmodel/TimeTickLabels.h"
#include "chartmodel/ViewGraph.h"
#include "core/DateText.h"
#include "core/Memory.h"
#include "core/MovingAverage.h"
#include "core/PriceSubRecords.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "core/TimeZones.h"
#include "platform/Beep.h"
#include "platform/MessageBox.h"
#include "charts/IntradayStudies.h"
#include "charts/StopLossLines.h"
#include "realtime/RTMarketTable.h"
#include "realtime/TradeListSource.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"
#include "views/CommandUpdate.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <tuple>

namespace qv {
namespace gs = graphsetting;
using namespace intraday;
namespace {

constexpr int32_t kDaySeconds = 86400;
// Plot-element flags of the drawer: areas filled to the pane's top or bottom, steps across first.
constexpr uint32_t kFillToTop = 1, kFillToBottom = 2, kStepped = 16;
constexpr uint32_t kDots = 9; // the plot style of trade dots
// OHLC bars with open and close ticks.
constexpr uint32_t kOhlcTicks = 0x38000;
constexpr uint32_t kDefaultShadeLevel = 13;
constexpr int32_t kMaxTickItems = 1 << 30;

void SetTitle(GraphSeries* series, const std::string& title)
{
    std::snprintf(series->title, sizeof series->title, "%s", title.c_str());
}

// The value an item shows under a selector, as the series layout reads it; false when it is not drawn.
bool ItemShown(const TickItem& t, uint32_t selector, uint32_t kinds, float& value)
{
    if ((selector & kSelectKindMask) && !(t.flags & kinds))
        return false;
    const bool firstOut = t.flags & (kItemFirstMissing | kItemFirstSpike);
    const bool secondOut = t.flags & (kItemSecondMissing | kItemSecondSpike);
    if (selector & (kSelectHigh | kSelectVolume)) {
        value = t.second;
        return !secondOut;
    }
    if (selector & (kSelectLow | kSelectClose)) {
        value = t.first;
        return !firstOut;
    }
    if (selector & kSelectOpen) {
        value = (t.first + t.second) / 2;
        return !firstOut && !secondOut && !((selector & kSelectSkipCrossed) && t.first < t.second);
    }
    return false;
}

// A tick-item array of the items inside [from, to] (seconds of the day), each at its x: the series
// layout takes a tick item's second word as its pixel. A line, area or histogram keeps of the items
// that fall on one pixel column only the first, the lowest, the highest and the last: it looks the
// same and draws in a fraction of the time. Dots (perColumn false) keep one of the items of a column
// whose first values lie within `dotQuantum` of each other: a dot is wider than a pixel, and the
// day's range over the pane's height is never less than a pixel of the final scale. Sized dots
// (`sizeBy`, the day's average trade volume) carry their diameter in place of the volume, and a
// smaller dot at a bigger one's place still shows round it.
template <typename XOf>
void FillTicks(DataArray& array, const TickItemArray& items, int32_t from, int32_t to, uint32_t selector, XOf xOf,
               uint32_t kinds = 0, bool perColumn = true, float dotQuantum = 0, float sizeBy = 0)
{
    auto first = std::lower_bound(items.items.begin(), items.items.end(), from,
                                  [](const TickItem& i, int32_t t) { return i.time < t; });
    auto last = std::upper_bound(first, items.items.end(), to, [](int32_t t, const TickItem& i) { return t < i.time; });
    const uint32_t flags = selector | (kinds ? uint32_t(kSelectKindMask) : 0u);
    std::vector<TickItem> kept;
    kept.reserve(size_t(last - first));
    // The column being gathered: its first, lowest, highest and last shown item.
    std::array<TickItem, 4> column{};
    std::array<float, 4> values{};
    bool open = false;
    int32_t columnX = 0;
    auto flush = [&] {
        if (!open)
            return;
        const int lowFirst = column[1].time <= column[2].time ? 1 : 2;
        for (int k : {0, lowFirst, 3 - lowFirst, 3})
            if (kept.empty() || std::memcmp(&kept.back(), &column[size_t(k)], sizeof(TickItem)) != 0)
                kept.push_back(column[size_t(k)]);
        open = false;
    };
    // The dots of the column being gathered: their flags and quantized values.
    std::vector<std::tuple<uint32_t, int64_t, float>> dots;
    int32_t dotX = INT32_MIN;
    for (auto it = first; it != last; ++it) {
        TickItem item = *it;
        const int32_t x = xOf(item.time);
        float v = 0;
        if (!perColumn) {
            // Items of another class are not this element's dots; one drawn again at the same place
            // changes nothing.
            if (kinds && !(item.flags & kinds))
                continue;
            item.time = x;
            if (sizeBy > 0)
                item.second = float(TradeDotDiameter(item.second, sizeBy));
            if (x != dotX) {
                dots.clear();
                dotX = x;
            }
            const std::tuple<uint32_t, int64_t, float> place{
                item.flags, dotQuantum > 0 ? int64_t(std::floor(item.first / dotQuantum)) : int64_t(0),
                sizeBy > 0 ? item.second : 0.0f};
            if (dotQuantum > 0 && std::find(dots.begin(), dots.end(), place) != dots.end())
                continue;
            if (dotQuantum > 0)
                dots.push_back(place);
            if (kept.empty() || std::memcmp(&kept.back(), &item, sizeof(TickItem)) != 0)
                kept.push_back(item);
            continue;
        }
        if (!ItemShown(item, flags, kinds, v))
            continue;
        // Items keep their times while gathered, so that the lowest and highest stay in time order.
        if (open && columnX != x)
            flush();
        if (!open) {
            column.fill(item);
            values.fill(v);
            columnX = x;
            open = true;
            continue;
        }
        if (v < values[1]) {
            column[1] = item;
            values[1] = v;
        }
        if (v > values[2]) {
            column[2] = item;
            values[2] = v;
        }
        column[3] = item;
    }
    flush();
    if (perColumn)
        for (TickItem& item : kept)
            item.time = xOf(item.time);
    const int32_t n = int32_t(kept.size());
    auto* out = static_cast<uint8_t*>(InitDataArray(array, kArrayTicks, n, 0, 0));
    array.flags = flags;
    array.kindMask = kinds;
    for (int32_t i = 0; i < n; ++i) {
        const TickItem& t = kept[size_t(i)];
        uint8_t* p = out + size_t(i) * 16;
        std::memcpy(p, &t.flags, 4);
        std::memcpy(p + 4, &t.time, 4);
        std::memcpy(p + 8, &t.first, 4);
        std::memcpy(p + 12, &t.second, 4);
    }
}

void FillBars(DataArray& array, const PeriodBars& bars, uint32_t selector)
{
    const int32_t n = int32_t(bars.bars.size());
    auto* out = static_cast<uint8_t*>(InitDataArray(array, kArrayBars, n, 0, 0));
    array.flags = selector;
    for (int32_t i = 0; i < n; ++i) {
        const Bar& b = bars.bars[size_t(i)];
        const float v[5] = {b.open, b.high, b.low, b.close, b.volume};
        std::memcpy(out + size_t(i) * sizeof v, v, sizeof v);
    }
}

void WidenBy(ValueRange& range, float v)
{
    range.minimum = std::min(range.minimum, v);
    range.maximum = std::max(range.maximum, v);
}

void WidenFromTicks(ValueRange& range, const DataArray& array)
{
    const auto* bytes = static_cast<const uint8_t*>(array.data);
    for (int32_t i = 0; bytes && i < array.count; ++i) {
        TickItem t;
        std::memcpy(&t.flags, bytes + size_t(i) * 16, 4);
        std::memcpy(&t.first, bytes + size_t(i) * 16 + 8, 4);
        std::memcpy(&t.second, bytes + size_t(i) * 16 + 12, 4);
        float v = 0;
        if (ItemShown(t, array.flags, array.kindMask, v) && v > 0)
            WidenBy(range, v);
    }
}

int32_t PackedTimeOf(int32_t seconds)
{
    const int32_t s = std::clamp(seconds, 0, kDaySeconds - 1);
    return (s / 3600) << 12 | ((s / 60) % 60) << 6 | (s % 60);
}

std::pair<int32_t, int32_t> StoreMarketHours(uint8_t exchange)
{
    const auto& table = ExchangeTimesTable();
    if (exchange >= table.size())
        return {28800, 59400};
    return {int32_t(table[exchange].first), int32_t(table[exchange].second)};
}

int32_t StoreLatestTime(uint8_t exchange, PackedDate day)
{
    if (exchange >= kRTExchanges)
        return -1;
    const RTExchangeDay& e = TheRTEngine().exchanges[exchange];
    return e.day == day && e.latestTime > 0 ? int32_t(e.latestTime) : -1;
}

PackedDate& LastReportedDay()
{
    static PackedDate day = 0;
    return day;
}

constexpr const char* kCorruption = "There appears to be some corruption in your intraday data for %s.\r\nWe "
                                    "recommend that you backfill this day from the 'Update' menu (with overwrite "
                                    "ticked).";

} // namespace

size_t CheckAddedTickOrder(std::span<const IntradayTick> ticks, PackedDate day)
{
    const int32_t bad = CheckTickOrder(ticks);
    if (bad < 0)
        return ticks.size();
    if (LastReportedDay() != day) {
        LastReportedDay() = day;
        ShowMessage(StringPrintf(kCorruption, FormatDateWithDay(day).c_str()), {}, MsgButtons::Ok);
    }
    return size_t(bad);
}

void ResetAddedTickReport() { LastReportedDay() = 0; }

IntradayChartView::IntradayChartView(CViewGraph& view) : view_(view)
{
    source.heldDays = [] { return BuildSortedDayList(TheRTStore().days); };
    // The latest day grows while the feed runs: it is expanded anew at every load.
    source.dayTicks = [](uint16_t share, PackedDate day) {
        return ReadRTShareDayTicks(share, day, day == NewestRTStoredDay());
    };
    source.latestTime = StoreLatestTime;
    source.marketHours = StoreMarketHours;
    source.beep = SystemBeep;
}

IntradayChartView::~IntradayChartView() = default;

const GraphSetting& IntradayChartView::Look() const
{
    const GraphSetting* style = view_.StyleRecord();
    return style ? *style : *view_.ActiveSetting();
}

IntradayDaySet IntradayChartView::LoadDay(uint16_t share, PackedDate day, const std::string& name) const
{
    IntradayDaySet set;
    set.day = day;
    set.biasMinutes = GetMarketUtcBias(share_.market, day);
    const std::vector<IntradayTick> ticks = source.dayTicks(share, day);
    TickCounts counts;
    for (const IntradayTick& t : ticks) {
        counts.quotes += t.Kind() == kTickQuote;
        counts.others += t.Kind() == kTickOther;
        counts.trades += t.Kind() == kTickTrade;
    }
    SplitIntradayTicks(ticks, counts, set.items, name);
    const GraphSetting& s = Look();
    // The day's quotes and trades cleaned with the de-spike strength, widening its price range.
    IntradaySeriesSet* items[] = {&set.items};
    const uint8_t style = gs::U8(s, kPriceStyle);
    set.range = CleanTicks(items, {}, DeSpikeFactor(gs::U8(s, kDeSpike)), style == 3 || style == 4, false,
                           ChartOptions().spikeRemoval != 0)
                    .range;
    int32_t first = INT32_MAX, last = INT32_MIN;
    for (const TickItemArray* items : {&set.items.quotes, &set.items.trades})
        if (!items->items.empty()) {
            first = std::min(first, items->items.front().time);
            last = std::max(last, items->items.back().time);
        }
    set.firstTick = first <= last ? first : 0;
    set.lastTick = first <= last ? last : 0;
    return set;
}

void IntradayChartView::TakeDailyPrices(IntradayDaySet& set, const IntradayDaySet* before) const
{
    auto recordOf = [this](PackedDate day) -> const DayRecord* {
        auto it = std::lower_bound(share_.history.begin(), share_.history.end(), day,
                                   [](const DayRecord& r, PackedDate d) { return r.date < d; });
        if (it == share_.history.end() || it->date != day)
            return nullptr;
        return it->open != 0 || it->high != 0 || it->low != 0 || it->close != 0 ? &*it : nullptr;
    };
    auto barOf = [](const DayRecord& r) { return Bar{r.open, r.high, r.low, r.close, r.volume}; };
    const PackedDate previous = PreviousWeekday(set.day, false);
    if (before && before->day == previous && before->ownKnown) {
        set.previous = before->own;
        set.previousKnown = true;
    } else if (const DayRecord* r = recordOf(previous)) {
        set.previous = barOf(*r);
        set.previousKnown = true;
    }
    if (const DayRecord* r = recordOf(set.day)) {
        set.own = barOf(*r);
        set.ownKnown = true;
    }
}

bool IntradayChartView::PreviousDayHeld() const
{
    const PackedDate last = !sets_.empty() ? sets_.back().day : !days_.empty() ? days_.back() : 0;
    if (last == 0)
        return false;
    const PackedDate previous = PreviousWeekday(last, false);
    if (std::binary_search(days_.begin(), days_.end(), previous))
        return true;
    return std::any_of(share_.history.begin(), share_.history.end(), [previous](const DayRecord& r) {
        return r.date == previous && (r.open != 0 || r.high != 0 || r.low != 0 || r.close != 0);
    });
}

uint8_t IntradayMarketOf(const RecordCursor& entry)
{
    if (!entry.record || IsShareId(RecordId(entry.record)))
        return uint8_t(entry.count);
    return uint8_t(std::clamp<int32_t>(GetRecordClass(&entry), 0, 255));
}

IntradayShare DescribeIntradayShare(const RecordCursor& entry)
{
    IntradayShare share;
    if (!entry.record)
        return share;
    share.id = LoadU16(entry.record + 2);
    share.exchange = uint8_t(entry.count);
    share.market = IntradayMarketOf(entry);
    share.name = FormatShareTitle(entry);
    RecordCursor c = entry;
    DayRecord* days = nullptr;
    const int32_t count = DecodePriceHistory(&c, &days, 0, false, false);
    for (int32_t i = 0; days && i < count && days[i].date != 0; ++i)
        share.history.push_back(days[i]);
    ProFree(days);
    return share;
}

std::pair<uint16_t, uint8_t> IntradayChartView::ShownShareKey() const
{
    if (fixed_)
        return {fixed_->id, fixed_->exchange};
    const RecordCursor* entry = CurrentEntry(FillChartList(view_.GetActiveShareList()));
    if (!entry || !entry->record)
        return {0, 0};
    return {LoadU16(entry->record + 2), uint8_t(entry->count)};
}

void IntradayChartView::Load()
{
    const auto [share, exchange] = ShownShareKey();
    const uint32_t key = uint32_t(exchange) << 16 | share;
    const int32_t setting = view_.SettingIndex();
    const bool shareChanged = key != shareKey_ || setting != settingIndex_;
    if (shareChanged)
        keepOwnDays_ = false;
    const GraphSetting& s = Look();
    if (!keepOwnDays_) {
        daysViewed_ = DaysViewedOf(s);
        displayFrom_ = gs::U16(s, kDisplayFrom);
    }
    const bool daysChanged = daysViewed_ != loadedDays_ || displayFrom_ != loadedFrom_;
    std::array<std::array<uint32_t, 3>, 4> added{};
    for (int k = 0; k < 4; ++k) {
        const AddedGraphEntry entry = ReadAddedGraph(s, k);
        if (entry.id != 0 && entry.id < kAddedShareIndex)
            added[size_t(k)] = {entry.id, entry.extra & 0xFF, entry.pen};
    }
    const bool addedChanged = added != addedEntries_;
    addedEntries_ = added;
    if (!shareChanged && !daysChanged && !dataChanged && !addedChanged)
        return;
    if (key != shareKey_) {
        if (fixed_)
            share_ = *fixed_;
        else if (const RecordCursor* entry = CurrentEntry(view_.GetActiveShareList()))
            share_ = DescribeIntradayShare(*entry);
        else
            share_ = {};
    }
    days_ = source.heldDays();
    window_ = ChooseDays(days_, daysViewed_, displayFrom_);
    sets_.clear();
    latest_.reset();
    if (share != 0) {
        // A day that holds nothing of the share makes no set.
        for (size_t i = window_.start; i < window_.start + window_.count; ++i) {
            IntradayDaySet set = LoadDay(share, days_[i], share_.name);
            if (set.items.quotes.items.empty() && set.items.trades.items.empty())
                continue;
            TakeDailyPrices(set, sets_.empty() ? nullptr : &sets_.back());
            sets_.push_back(std::move(set));
        }
        const bool lastShown = window_.count > 0 && window_.start + window_.count == days_.size();
        if (!days_.empty() && !lastShown) {
            latest_ = LoadDay(share, days_.back(), share_.name);
            TakeDailyPrices(*latest_, nullptr);
        }
        if (!sets_.empty() && sets_.back().day == days_.back())
            sets_.back().today = true;
        LoadAddedGraphs();
    }
    dataChanged = false;
    shareKey_ = key;
    settingIndex_ = setting;
    loadedDays_ = daysViewed_;
    loadedFrom_ = displayFrom_;
}

void IntradayChartView::LoadAddedGraphs()
{
    for (size_t k = 0; k < addedEntries_.size(); ++k) {
        const auto& entry = addedEntries_[k];
        addedNames_[k].clear();
        if (entry[0] == 0)
            continue;
        const uint16_t id = uint16_t(entry[0]);
        uint8_t market = uint8_t(entry[1]);
        if (const RecordCursor& cursor = GetRecordCursor(id); cursor.record) {
            addedNames_[k] = FormatShareTitle(cursor);
            market = IntradayMarketOf(RecordCursor{cursor.record, entry[1]});
        }
        addedMarkets_[k] = market;
        for (IntradayDaySet& set : sets_) {
            const std::vector<IntradayTick> ticks = source.dayTicks(id, set.day);
            const size_t kept = CheckAddedTickOrder(ticks, set.day);
            IntradaySeriesSet items;
            TickCounts counts;
            for (size_t i = 0; i < kept; ++i)
                counts.quotes += ticks[i].Kind() == kTickQuote;
            SplitIntradayTicks(std::span(ticks).first(kept), counts, items, addedNames_[k]);
            CleanTickPrices(items.quotes, 0, true, nullptr, 0, false);
            CleanTickPrices(items.quotes, 1, true, nullptr, 0, false);
            // Onto the view's clock: a time of the added share's exchange plus the difference of the biases.
            const int32_t shift = (GetMarketUtcBias(market, set.day) - set.biasMinutes) * 60;
            set.added[k].Reserve(items.quotes.items.size());
            for (TickItem item : items.quotes.items) {
                item.time += shift;
                set.added[k].Append(item);
            }
        }
    }
}

void IntradayChartView::StepDays(bool shift, int direction)
{
    if (days_.empty()) {
        source.beep();
        return;
    }
    const DayStep step = qv::StepDays(days_, window_.start, window_.count, shift, direction);
    if (step.beep)
        source.beep();
    daysViewed_ = step.daysViewed;
    displayFrom_ = step.displayFrom;
    keepOwnDays_ = true;
    lastDirection_ = direction;
    view_.InvalidateWindow();
}

void IntradayChartView::ReturnToSettingDays()
{
    keepOwnDays_ = false;
    lastDirection_ = 0;
    view_.InvalidateWindow();
}

void IntradayChartView::LayOutTimeAxis()
{
    view_.FreeForRebuild(true);
    labels_.clear();
    priceRange_ = volumeRange_ = nullptr;
    addedRanges_.fill(nullptr);
    const GraphPane* price = view_.FindPane(kPanePrice);
    if (!price || sets_.empty())
        return;
    const GraphSetting& s = Look();
    AxisHours hours;
    std::tie(hours.open, hours.close) = source.marketHours(share_.market);
    hours.userFrom = int32_t(gs::U32(s, kAnalyticFrom));
    hours.userTo = int32_t(gs::U32(s, kAnalyticTo));
    hours.dayHours = std::min<int>(gs::U8(s, kDayHours), 2);
    hours.latestTime = source.latestTime(share_.market, days_.empty() ? PackedDate(0) : days_.back());
    hours.extendToday = (gs::U16(s, gs::kDisplayFlags) & kExtendToday) != 0;
    const uint16_t minutes = gs::U16(s, kRangeMinutes);
    hours.limited = (gs::U16(s, kRangeLimit) & 1) && view_.fullRange == 0 && minutes != 0;
    if (hours.limited)
        hours.windowSeconds = int32_t(minutes) * 60;
    std::vector<DaySpan> spans;
    for (const IntradayDaySet& set : sets_)
        spans.push_back({set.firstTick, set.lastTick, set.today});
    const std::vector<BandSpan> bands = qv::LayOutTimeAxis(hours, spans);
    const auto pixels = LayOutBandPixels(bands, price->left + 1, price->right - 1, gs::U8(s, kDaySeparator));
    const int32_t period = BarPeriodSeconds(BarPeriodIndexOf(s));
    const int selection = (gs::U8(s, kDataFlow) >> 1) & 0x7F;
    TimeBand** tail = &view_.timeBands;
    for (size_t i = 0; i < sets_.size(); ++i) {
        IntradayDaySet& set = sets_[i];
        set.span = bands[i];
        set.left = pixels[i].first;
        set.right = pixels[i].second;
        PeriodBarInput in;
        in.quotes = &set.items.quotes;
        in.trades = &set.items.trades;
        in.range = &set.range;
        in.firstTick = set.firstTick;
        in.lastTick = set.lastTick;
        in.selection = selection;
        in.selectFrom = selection == 1 ? set.span.start : hours.userFrom;
        in.selectTo = selection == 1 ? set.span.end : hours.userTo;
        in.today = set.today;
        set.bars = BuildPeriodBars(in, period);
        set.band = nullptr;
        if (!set.span.visible || set.left > set.right)
            continue;
        TimeBand* band = NewTimeBand(1);
        band->shown = 1;
        band->word = set.day;
        band->left = set.left;
        band->right = set.right;
        band->scale.firstIndex = set.span.visibleStart;
        band->scale.lastIndex = set.span.visibleEnd;
        band->scale.firstX = set.left;
        band->scale.lastX = set.right;
        band->lineFrom = 0;
        band->lineTo = 1;
        *tail = band;
        tail = &band->next;
        set.band = band;
    }
    BuildTimeLabels();
}

int32_t IntradayChartView::XOf(const IntradayDaySet& set, int32_t time) const
{
    const int32_t span = std::max(set.span.visibleEnd - set.span.visibleStart, 1);
    return set.left + int32_t(int64_t(time - set.span.visibleStart) * (set.right - set.left) / span);
}

bool IntradayChartView::HasPositions() const
{
    return std::any_of(sets_.begin(), sets_.end(), [](const IntradayDaySet& set) { return set.band != nullptr; });
}

int32_t IntradayChartView::XOfPosition(int32_t position) const
{
    const IntradayDaySet* last = nullptr;
    for (const IntradayDaySet& set : sets_) {
        if (!set.band)
            continue;
        const int32_t t = position - int32_t(DateToCalendarIndex(set.day));
        const double perSecond = double(set.right - set.left) / std::max(set.span.visibleEnd - set.span.visibleStart, 1);
        // Before the first band its scale runs on to the left; in a gap the moment takes the band after it.
        if (t < set.span.visibleStart)
            return last ? set.left : set.left - int32_t(std::lround((set.span.visibleStart - t) * perSecond));
        if (t <= set.span.visibleEnd)
            return XOf(set, t);
        last = &set;
    }
    if (!last)
        return -1;
    const int32_t t = position - int32_t(DateToCalendarIndex(last->day));
    const double perSecond = double(last->right - last->left) / std::max(last->span.visibleEnd - last->span.visibleStart, 1);
    return last->right + int32_t(std::lround((t - last->span.visibleEnd) * perSecond));
}

int32_t IntradayChartView::PositionAtX(int32_t x) const
{
    const IntradayDaySet* first = nullptr;
    const IntradayDaySet* last = nullptr;
    for (const IntradayDaySet& set : sets_) {
        if (!set.band)
            continue;
        first = first ? first : &set;
        const int32_t base = int32_t(DateToCalendarIndex(set.day));
        const int32_t seconds = std::max(set.span.visibleEnd - set.span.visibleStart, 1);
        const int32_t width = std::max(set.right - set.left, 1);
        if ((x < set.left && &set == first) || (x >= set.left && x <= set.right))
            return base + set.span.visibleStart + int32_t(std::lround(double(x - set.left) * seconds / width));
        if (x < set.left)
            return int32_t(DateToCalendarIndex(last->day)) + last->span.visibleEnd;
        last = &set;
    }
    if (!last)
        return 0;
    const int32_t seconds = std::max(last->span.visibleEnd - last->span.visibleStart, 1);
    const int32_t width = std::max(last->right - last->left, 1);
    return int32_t(DateToCalendarIndex(last->day)) + last->span.visibleEnd +
           int32_t(std::lround(double(x - last->right) * seconds / width));
}

std::vector<PlacedBar> IntradayChartView::GetBarsInRange(int32_t from, int32_t to) const
{
    std::vector<PlacedBar> placed;
    if (from > to)
        std::swap(from, to);
    // The moments of the first and last bar shown: a point beyond them measures to them.
    int64_t first = INT64_MAX, last = INT64_MIN;
    for (const IntradayDaySet& set : sets_) {
        if (!set.band || set.bars.bars.empty())
            continue;
        const int64_t base = int64_t(DateToCalendarIndex(set.day)) + set.bars.start;
        first = std::min(first, base);
        last = std::max(last, base + int64_t(set.bars.bars.size() - 1) * set.bars.period);
    }
    if (first > last)
        return placed;
    const int64_t lo = std::clamp<int64_t>(from, first, last), hi = std::clamp<int64_t>(to, first, last);
    for (const IntradayDaySet& set : sets_) {
        if (!set.band)
            continue;
        const int64_t base = int64_t(DateToCalendarIndex(set.day)) + set.bars.start;
        for (size_t i = 0; i < set.bars.bars.size(); ++i) {
            const int64_t at = base + int64_t(i) * set.bars.period;
            if (at < lo || at > hi)
                continue;
            const Bar& b = set.bars.bars[i];
            placed.push_back({XOf(set, set.bars.start + int32_t(i) * set.bars.period),
                              BarValues{b.open, b.high, b.low, b.close, b.volume}});
        }
    }
    return placed;
}

namespace {

// A moment of the program calendar as its day and second of the day.
std::pair<PackedDate, int32_t> MomentOf(int32_t position)
{
    const uint32_t f = CalendarIndexToFields(uint32_t(std::max(position, 0)));
    const PackedDate day = PackDate(int((f >> 17) & 31) + 1, int((f >> 22) & 15) + 1, 2000 + int(f >> 26));
    return {day, std::max(position, 0) % kDaySeconds};
}

} // namespace

std::string IntradayChartView::PointText(int32_t position, float value) const
{
    const auto [day, seconds] = MomentOf(position);
    return FormatPointValue(share_.name, FormatReadoutTime(day, seconds), value);
}

std::string IntradayChartView::AnchorText(int32_t position) const
{
    const auto [day, seconds] = MomentOf(position);
    return FormatAnchorTime(day, seconds, !days_.empty() && day == days_.back());
}

std::array<std::string, 2> IntradayChartView::TimeRangeTexts(int32_t x0, int32_t x1) const
{
    const auto [fromDay, fromSeconds] = MomentOf(PositionAtX(std::min(x0, x1)));
    const auto [toDay, toSeconds] = MomentOf(PositionAtX(std::max(x0, x1)));
    const auto range = FormatTimeRange(fromDay, fromSeconds, toDay, toSeconds);
    return {AnchorText(PositionAtX(x0)), range[0] + " " + range[1]};
}

void IntradayChartView::FillStopLegend(LegendSource& source) const
{
    source.individualStop = stops_[0] ? &*stops_[0] : nullptr;
    source.globalStop = stops_[1] ? &*stops_[1] : nullptr;
    source.individualStopValue = std::max(stopValues_[0], 0.0f);
    source.globalStopValue = std::max(stopValues_[1], 0.0f);
}

int32_t IntradayChartView::LastPosition() const
{
    for (auto it = sets_.rbegin(); it != sets_.rend(); ++it)
        if (it->band)
            return int32_t(DateToCalendarIndex(it->day)) + it->lastTick;
    return 0;
}

void IntradayChartView::BuildTimeLabels()
{
    const GraphSetting& s = Look();
    const uint32_t density = gs::U32(s, gs::kGridDensityV);
    int64_t seconds = 0;
    for (const IntradayDaySet& set : sets_)
        if (set.band)
            seconds += set.span.visibleEnd - set.span.visibleStart;
    const uint32_t divisions = density == 1 ? 8 : density == 2 ? 16 : density >= 3 ? 32 : 8;
    uint32_t step = GetTickStep(IntradayTickTable(), uint32_t(seconds / divisions));
    if (step == 0)
        step = 3600;
    int32_t shownBias = INT32_MIN;
    for (IntradayDaySet& set : sets_) {
        if (!set.band)
            continue;
        // Each band starts with its date and start time; then the steps inside it.
        std::string text;
        const uint32_t fields = CalendarIndexToFields(DateToCalendarIndex(set.day) + uint32_t(set.span.visibleStart));
        FormatDateTick(text, fields, 0);
        // With the zone label on, the exchange's zone is named wherever its bias changes.
        if ((gs::U16(s, gs::kDisplayFlags) & kZoneLabel) && set.biasMinutes != shownBias) {
            text += " " + std::string(GetMarketTimeZoneName(share_.market, set.day));
            shownBias = set.biasMinutes;
        }
        labels_.push_back({set.left, text, true});
        uint32_t previous = uint32_t(PackedTimeOf(set.span.visibleStart));
        FormatTimeTick(text, previous, 0, kTickHour | kTickMinute);
        labels_.push_back({set.left, text, false});
        int lines = 0;
        for (int64_t t = (int64_t(set.span.visibleStart) / step + 1) * step; t < set.span.visibleEnd && lines < 64;
             t += step, ++lines) {
            const int32_t x = XOf(set, int32_t(t));
            if (density != 0)
                AddGridLinePixel(set.band->timeLines, 0, x);
            const uint32_t packed = uint32_t(PackedTimeOf(int32_t(t)));
            FormatTimeTick(text, packed, previous, 0);
            previous = packed;
            if (!text.empty())
                labels_.push_back({x, text, false});
        }
    }
}

void IntradayChartView::BuildSeries()
{
    view_.noDataText.clear();
    stops_ = {};
    if (sets_.empty() || !view_.timeBands) {
        if (!days_.empty())
            view_.noDataText = StringPrintf("No price data for %s",
                                            FormatDate(displayFrom_ ? displayFrom_ : days_.back()).c_str());
        return;
    }
    const IntradayDaySet* lastShown = nullptr;
    for (const IntradayDaySet& set : sets_)
        if (set.band)
            lastShown = &set;
    PrepareStudies();
    for (IntradayDaySet& set : sets_)
        if (set.band)
            BuildBandSeries(set, &set == lastShown);
}

void IntradayChartView::PrepareStudies()
{
    studies_.assign(sets_.size(), {});
    AddPivotSeries();
    for (int line = 0; line < gs::kLines; ++line)
        AddMovingAverage(line);
}

void IntradayChartView::AddStudyLines(IntradayDaySet& set)
{
    const size_t i = size_t(&set - sets_.data());
    if (i >= studies_.size())
        return;
    for (const StudyLines& lines : studies_[i])
        AddBarLines(set, lines.values, lines.pens);
}

void IntradayChartView::SetBarScale(GraphSeries* series, const IntradayDaySet& set) const
{
    AddSeriesTimeScale(series, 1);
    TimeScale& scale = *series->timeScale;
    const int32_t n = int32_t(set.bars.bars.size());
    scale.firstIndex = 0;
    scale.lastIndex = std::max(n - 1, 1);
    scale.firstX = XOf(set, set.bars.start);
    scale.lastX = XOf(set, set.bars.start + scale.lastIndex * set.bars.period);
}

void IntradayChartView::AddBarLines(IntradayDaySet& set, const std::vector<std::vector<float>>& lines,
                                    std::span<const uint32_t> pens)
{
    GraphPane* price = view_.FindPane(kPanePrice);
    if (!set.band || !price || !price->visible || !priceRange_ || set.bars.bars.empty() || lines.empty())
        return;
    GraphSeries* series = AddSeries(set.band, price, MakeStudyKey(kPanePrice, nullptr));
    series->range = priceRange_;
    SetBarScale(series, set);
    for (size_t k = 0; k < lines.size() && k < pens.size(); ++k) {
        PlotElement* e = AddPlotElement(series, 1, 0, pens[k], 0, 1, 0, 0, 0, 0);
        auto* out = static_cast<float*>(InitDataArray(e->values, kArrayFloats, int32_t(lines[k].size()), 0, 0));
        e->values.flags = kSelectSkipZero;
        std::copy(lines[k].begin(), lines[k].end(), out);
    }
}

void IntradayChartView::AddPivotSeries()
{
    const GraphSetting& s = Look();
    const uint8_t mask = gs::U8(s, kPivotSeries + gs::kPivotFlags) & 31;
    if (mask == 0)
        return;
    // Every loaded day feeds the levels, shown or not, so that flowing data runs on over them.
    std::vector<const PeriodBars*> days;
    for (const IntradayDaySet& set : sets_)
        days.push_back(&set.bars);
    const auto lines = PivotSeriesLines(days, gs::U8(s, kPivotSeries + gs::kPivotMethod), mask, gs::U8(s, kDataFlow) & 1);
    std::vector<uint32_t> pens;
    for (int bit = 0; bit < 5; ++bit)
        if (mask & (1u << bit))
            pens.push_back(gs::U32(s, kPivotSeries + gs::kPivotPens + 4 * size_t(bit)));
    for (size_t i = 0; i < sets_.size(); ++i)
        studies_[i].push_back({lines[i], pens});
}

void IntradayChartView::AddMovingAverage(int line)
{
    const GraphSetting& s = Look();
    const uint32_t word = gs::LineWord(s, line);
    if (!(word & 0x80000000u))
        return;
    std::vector<const PeriodBars*> days;
    for (const IntradayDaySet& set : sets_)
        days.push_back(&set.bars);
    const auto lines = MovingAverageLines(days, word, gs::U8(s, kDataFlow) & 1);
    const std::vector<uint32_t> pens = {gs::LineColour(s, line), gs::LineBandColour(s, line), gs::LineBandColour(s, line)};
    for (size_t i = 0; i < sets_.size(); ++i)
        studies_[i].push_back({lines[i], pens});
}

std::string IntradayChartView::TitleSuffix() const { return BarPeriodTitle(BarPeriodIndexOf(Look())); }

std::string IntradayChartView::ChartTitle() const
{
    return share_.name.empty() ? TitleSuffix() : share_.name + " - " + TitleSuffix();
}

GraphSeries* IntradayChartView::AddTickSeries(IntradayDaySet& set, GraphPane* pane)
{
    GraphSeries* series = AddSeries(set.band, pane, MakeStudyKey(pane->id, nullptr));
    // Tick items carry their own x: the series' scale only has to let every item through.
    AddSeriesTimeScale(series, 1);
    *series->timeScale = {1, 0, kMaxTickItems, set.left, set.right, nullptr};
    return series;
}

void IntradayChartView::BuildBandSeries(IntradayDaySet& set, bool last)
{
    const GraphSetting& s = Look();
    TimeBand* band = set.band;
    auto xOf = [this, &set](int32_t t) { return XOf(set, t); };
    const int32_t from = set.span.visibleStart, to = set.span.visibleEnd;
    const uint16_t flags = gs::U16(s, gs::kDisplayFlags);
    const uint32_t stepped = (flags & kSteppedLine) ? kStepped : 0;
    const uint8_t style = gs::U8(s, kPriceStyle);
    // Bars stand on a scale of their own: bar i at start + i x period.
    auto barScale = [&](GraphSeries* series) { SetBarScale(series, set); };
    auto share = [](GraphSeries* series, ValueRange*& range, CViewGraph& view) {
        if (range)
            series->range = range;
        else
            range = view.AddValueRange(series);
    };
    if (GraphPane* price = view_.FindPane(kPanePrice); price && price->visible) {
        // The series added first is drawn last: trades over the price line, the price over the levels
        // and the shading.
        GraphSeries* ticks = AddTickSeries(set, price);
        share(ticks, priceRange_, view_);
        if (last)
            SetTitle(ticks, ChartTitle());
        const uint16_t trades = gs::U16(s, kTradesDisplay);
        const uint16_t how = trades & 0xF;
        if (how == 1 || how == 2) {
            const uint32_t plot = how == 2 ? kDots : 1;
            if (how == 2 || (trades & kTradesByClass)) {
                const std::pair<uint32_t, size_t> classes[3] = {
                    {kItemUnclassified, kTradesPen}, {kItemSell, kSellPen}, {kItemBuy, kBuyPen}};
                const float quantum = (set.range.maximum - set.range.minimum) / float(std::max(price->bottom - price->top, 1));
                const bool sized = plot == kDots && (trades & kTradesSized);
                const float average = sized ? AverageTradeVolume(set.items.trades) : 0.0f;
                for (const auto& c : classes) {
                    PlotElement* e = AddPlotElement(ticks, plot, sized && average > 0 ? uint32_t(kElementDotSized) : 0u,
                                                    gs::U32(s, c.second), 0, 1, 0, 0, 0, 0);
                    FillTicks(e->values, set.items.trades, from, to, kSelectClose, xOf, c.first, plot != kDots,
                              plot == kDots ? std::max(quantum, 0.0f) : 0.0f, average);
                }
            } else {
                PlotElement* e = AddPlotElement(ticks, plot, stepped, gs::U32(s, kTradesPen), 0, 1, 0, 0, 0, 0);
                FillTicks(e->values, set.items.trades, from, to, kSelectClose, xOf, 0, plot != kDots);
            }
        }
        if (style == 1) {
            PlotElement* e = AddPlotElement(ticks, 1, stepped, gs::PriceColour(s, 0), 0, 1, 0, 0, 0, 0);
            FillTicks(e->values, set.items.quotes, from, to, kSelectOpen | kSelectSkipCrossed, xOf);
        }
        if (flags & kBidLine) {
            PlotElement* e = AddPlotElement(ticks, 1, stepped, gs::U32(s, kBidLinePen), 0, 1, 0, 0, 0, 0);
            FillTicks(e->values, set.items.quotes, from, to, kSelectHigh, xOf);
        }
        if (flags & kOfferLine) {
            PlotElement* e = AddPlotElement(ticks, 1, stepped, gs::U32(s, kOfferLinePen), 0, 1, 0, 0, 0, 0);
            FillTicks(e->values, set.items.quotes, from, to, kSelectLow, xOf);
        }
        // The title takes the colour of the first line its series draws; with neither trades nor a
        // price line of its own it takes the style's title colour, so that it never falls to black.
        if (!ticks->firstElement)
            ticks->defaultColour = gs::U32(s, gs::kTitleTextColour);
        if (style >= 2 && style <= 4 && !set.bars.bars.empty()) {
            GraphSeries* bars = AddSeries(band, price, MakeStudyKey(kPanePrice, nullptr));
            share(bars, priceRange_, view_);
            barScale(bars);
            PlotElement* e = style == 2 ? AddPlotElement(bars, 1, stepped, gs::PriceColour(s, 1), 0, 1, 0, 0, 0, 0)
                           : style == 3 ? AddPlotElement(bars, 2, kOhlcTicks, gs::PriceColour(s, 1), 0, 1, 0, 0, 0, 0)
                                        : AddPlotElement(bars, 3, 0, gs::PriceColour(s, 2), 0, 3, gs::PriceColour(s, 3),
                                                         gs::PriceColour(s, 4), 0, 0);
            e->extraColour = gs::PriceColour(s, 1);
            FillBars(e->values, set.bars, style == 2 ? uint32_t(kSelectClose) : 0u);
        }
    }
    if (GraphPane* price = view_.FindPane(kPanePrice); price && price->visible) {
        AddPreviousDayLevels(set, price, last);
        AddStopLines(set, price);
        AddComparisonSeries(set, last);
        AddStudyLines(set);
        // The shading goes in last, so that it is drawn first, under everything else.
        const uint32_t level = (flags & kWatermarkShade) ? gs::U32(s, kShadeLevel) : kDefaultShadeLevel;
        GraphSeries* shading = (flags & (kOfferShading | kBidShading)) ? AddTickSeries(set, price) : nullptr;
        if (shading)
            shading->range = priceRange_;
        if (flags & kOfferShading) {
            PlotElement* e = AddPlotElement(shading, 10, kFillToTop | kStepped, gs::U32(s, kOfferShadePen), 0, 1, 0, 0, 0, 0);
            e->mixMode = level;
            FillTicks(e->values, set.items.quotes, from, to, kSelectLow, xOf);
        }
        if (flags & kBidShading) {
            PlotElement* e = AddPlotElement(shading, 10, kFillToBottom | kStepped, gs::U32(s, kBidShadePen), 0, 1, 0, 0, 0, 0);
            e->mixMode = level;
            FillTicks(e->values, set.items.quotes, from, to, kSelectHigh, xOf);
        }
    }
    GraphPane* volume = view_.FindPane(kPaneVolume);
    const uint8_t volumeDisplay = gs::U8(s, kVolumeDisplay);
    if (!volume || !volume->visible || volumeDisplay == 0)
        return;
    GraphSeries* series = volumeDisplay == 2 ? AddSeries(band, volume, MakeStudyKey(kPaneVolume, nullptr))
                                             : AddTickSeries(set, volume);
    share(series, volumeRange_, view_);
    if (last)
        SetTitle(series, "Volume");
    const uint32_t pen = gs::U32(s, gs::kVolumeUpColour);
    if (volumeDisplay == 2) {
        barScale(series);
        PlotElement* e = AddPlotElement(series, 4, 0, pen, 0, 1, 0, 0, 0, 0);
        FillBars(e->values, set.bars, kSelectVolume);
        const uint16_t period = gs::U16(s, gs::kVolumeSignalPeriods);
        if ((flags & kVolumeSignal) && period != 0 && !set.bars.bars.empty()) {
            PlotElement* line = AddPlotElement(series, 1, 0, gs::U32(s, gs::kVolumeSignalPen), 0, 1, 0, 0, 0, 0);
            const std::vector<float> signal = VolumeSignalLine(set.bars, period);
            auto* out = static_cast<float*>(InitDataArray(line->values, kArrayFloats, int32_t(signal.size()), 0, 0));
            line->values.flags = kSelectSkipZero;
            std::copy(signal.begin(), signal.end(), out);
        }
    } else {
        PlotElement* e = AddPlotElement(series, 4, 0, pen, 0, 1, 0, 0, 0, 0);
        FillTicks(e->values, set.items.trades, from, to, kSelectVolume, xOf);
    }
}

std::vector<std::pair<float, uint32_t>> PreviousDayLevels(const GraphSetting& s, const Bar& previous, float open)
{
    std::vector<std::pair<float, uint32_t>> levels;
    const uint16_t flags = gs::U16(s, gs::kDisplayFlags);
    const bool closeShown = (flags & kPrevClose) != 0;
    if (flags & kPrevHigh)
        levels.push_back({previous.high, gs::U32(s, kPrevHighPen)});
    if (flags & kPrevLow)
        levels.push_back({previous.low, gs::U32(s, kPrevLowPen)});
    if (closeShown)
        levels.push_back({previous.close, gs::U32(s, kPrevClosePen)});
    const uint8_t mask = gs::U8(s, kPivotLevels + gs::kPivotFlags) & 31;
    if (mask == 0)
        return levels;
    CPivotPointsCalc calc(IndicatorRecord::Of(0, gs::U8(s, kPivotLevels + gs::kPivotMethod)), previous);
    const float* out = calc.AddValue(Bar{open, open, open, open, 0});
    if (std::all_of(out, out + 5, [out](float v) { return v == out[0]; }))
        return levels;
    // Mask bits 1, 2, 4, 8 and 16: the pivot, then the calculator's outputs 1, 3, 2 and 4.
    static constexpr int kOutputOfBit[5] = {0, 1, 3, 2, 4};
    for (int bit = 0; bit < 5; ++bit) {
        if (!(mask & (1u << bit)))
            continue;
        const float v = out[kOutputOfBit[bit]];
        const bool pivot = bit == 0;
        if ((pivot && closeShown && v == previous.close) || (!pivot && v == out[0]))
            continue;
        levels.push_back({v, gs::U32(s, kPivotLevels + gs::kPivotPens + 4 * size_t(bit))});
    }
    return levels;
}

void IntradayChartView::AddPreviousDayLevels(IntradayDaySet& set, GraphPane* price, bool last)
{
    const GraphSetting& s = Look();
    // With the data flowing between days only the latest band shows the previous day's levels.
    if (!set.previousKnown || ((gs::U8(s, kDataFlow) & 1) && !last))
        return;
    const float open = set.items.quotes.items.empty() ? set.previous.close
                                                      : (set.items.quotes.items.front().first +
                                                         set.items.quotes.items.front().second) / 2;
    const auto levels = PreviousDayLevels(s, set.previous, set.ownKnown ? set.own.open : open);
    if (levels.empty())
        return;
    GraphSeries* series = AddSeries(set.band, price, MakeStudyKey(kPanePrice, nullptr));
    series->range = priceRange_;
    AddSeriesTimeScale(series, 1);
    *series->timeScale = {1, 0, 1, set.left, set.right, nullptr};
    for (const auto& [value, pen] : levels) {
        PlotElement* e = AddPlotElement(series, 1, 0, pen, 0, 1, 0, 0, 0, 0);
        auto* out = static_cast<float*>(InitDataArray(e->values, kArrayFloats, 2, 0, 0));
        out[0] = out[1] = value;
    }
}

void IntradayChartView::AddComparisonSeries(IntradayDaySet& set, bool last)
{
    GraphPane* price = view_.FindPane(kPanePrice);
    for (size_t k = 0; k < set.added.size(); ++k) {
        if (addedEntries_[k][0] == 0 || set.added[k].items.empty())
            continue;
        // Each added graph keeps a scale of its own over the price pane.
        GraphSeries* series = AddTickSeries(set, price);
        if (addedRanges_[k])
            series->range = addedRanges_[k];
        else
            addedRanges_[k] = view_.AddValueRange(series);
        if (last)
            SetTitle(series, addedNames_[k]);
        PlotElement* e = AddPlotElement(series, 1, 0, addedEntries_[k][2], 0, 1, 0, 0, 0, 0);
        FillTicks(e->values, set.added[k], set.span.visibleStart, set.span.visibleEnd, kSelectOpen | kSelectSkipCrossed,
                  [this, &set](int32_t t) { return XOf(set, t); });
    }
}

void IntradayChartView::AddStopLines(IntradayDaySet& set, GraphPane* price)
{
    const int index = view_.SettingIndex();
    const uint16_t bit = uint16_t(1u << index);
    // The share's own stop (slot 0) and the global one (slot 1), whose start time is the exchange's.
    std::array<std::optional<StopRecord>, 2>& stops = stops_;
    stops = {};
    if ((IndividualStopMask(true) & bit) && share_.id != 0)
        stops[0] = ShareStopRecord({share_.id, share_.exchange}, true);
    if (GlobalStopMask(true) & bit)
        stops[1] = GlobalStopRecord(true);
    for (size_t k = 0; k < stops.size(); ++k) {
        if (!stops[k])
            continue;
        const StopRecord& stop = *stops[k];
        const int32_t shift = k == 1 ? -60 * set.biasMinutes : 0;
        float& previous = stopValues_[k];
        if (&set == &sets_.front())
            previous = -1;
        int64_t from = 0;
        if (stop.flags & StopFlag::StartAtDate)
            from = int64_t(DateToCalendarIndex(stop.startDate)) +
                   ((stop.flags & StopFlag::StartTime) ? int64_t(stop.startTime) + shift : 0);
        const int64_t base = DateToCalendarIndex(set.day);
        const int basis = (stop.flags & StopFlag::PriceBasisMask) >> 4;
        std::vector<TickItem> points;
        for (const TickItem& q : set.items.quotes.items) {
            if ((q.flags & (kItemFirstMissing | kItemSecondMissing)) || q.second > q.first || base + q.time < from ||
                q.time < set.span.visibleStart || q.time > set.span.visibleEnd)
                continue;
            const float price = basis == 1 ? q.second : basis == 2 ? q.first : (q.first + q.second) / 2;
            const float next = NextStop(price, previous, stop);
            if (next != previous)
                points.push_back({0, q.time, next, next});
            previous = next;
        }
        if (points.empty())
            continue;
        GraphSeries* series = AddTickSeries(set, price);
        series->range = priceRange_;
        PlotElement* e = AddPlotElement(series, 1, kStepped, stop.pen, 0, 1, 0, 0, 0, 0);
        TickItemArray items;
        items.Reserve(points.size());
        for (const TickItem& p : points)
            items.Append(p);
        FillTicks(e->values, items, set.span.visibleStart, set.span.visibleEnd, kSelectClose,
                  [this, &set](int32_t t) { return XOf(set, t); });
    }
}

void IntradayChartView::WidenRanges()
{
    for (TimeBand* band = view_.timeBands; band; band = band->next)
        for (GraphSeries* series = band->series; series; series = series->next) {
            if (!series->range)
                continue;
            for (PlotElement* e = series->elements; e; e = e->next)
                if (e->values.type == kArrayTicks)
                    WidenFromTicks(*series->range, e->values);
                else if (e->values.type == kArrayFloats && series->range == priceRange_)
                    for (int32_t i = 0; i < e->values.count; ++i) {
                        // A study's bars without a value hold 0 and draw nothing.
                        const float v = static_cast<const float*>(e->values.data)[i];
                        if (v != 0 || !(e->values.flags & kSelectSkipZero))
                            WidenBy(*series->range, v);
                    }
        }
    // Volume bars stand on zero.
    if (volumeRange_ && !IsRangeEmpty(*volumeRange_))
        volumeRange_->minimum = std::min(volumeRange_->minimum, 0.0f);
    else if (volumeRange_ && volumeRange_->maximum > 0)
        volumeRange_->minimum = 0;
    KeepPricesClearOfTitle();
}

void IntradayChartView::KeepPricesClearOfTitle()
{
    const GraphPane* price = view_.FindPane(kPanePrice);
    if (!priceRange_ || !price || !price->visible || IsRangeEmpty(*priceRange_) ||
        (priceRange_->flags & (kRangeFixed | kRangeLogarithmic)))
        return;
    ValueRange& range = *priceRange_;
    const int32_t rows = range.yBottom - range.yTop;
    if (rows < 8)
        return;
    // The title's lines stand at the pane's top, one line for each titled series.
    int32_t lines = 0;
    for (const TimeBand* band = view_.timeBands; band; band = band->next)
        for (const GraphSeries* series = band->series; series; series = series->next)
            if (series->pane == price && series->title[0])
                lines += int32_t(SplitChartText(std::string(series->title, strnlen(series->title, kSeriesTitleSize))).size());
    // A dot or a level at an end of the range lies a margin inside the plot, the highest below the
    // title; a dot keeps half the largest dot (16 pixels) and its outline inside.
    constexpr int32_t kDotRoom = 10;
    const int32_t margin = std::max({view_.textHeight / 2, rows / 20, PriceRangeHasDots() ? kDotRoom : 0});
    const int32_t titleBottom = price->top + view_.paneMargin + 1 + lines * view_.textHeight;
    double above = std::max(titleBottom - range.yTop, 0) + margin, below = margin;
    // Half the pane at least stays for the prices.
    if (above + below > rows / 2.0) {
        const double scale = rows / 2.0 / (above + below);
        above *= scale;
        below *= scale;
    }
    const double perRow = (double(range.maximum) - range.minimum) / (rows - above - below);
    const bool positive = range.minimum >= 0;
    range.maximum = float(range.maximum + above * perRow);
    range.minimum = float(range.minimum - below * perRow);
    // Prices never reach below zero on the scale.
    if (positive && range.minimum < 0)
        range.minimum = 0;
}

// Whether trade dots are drawn against the price range: they are drawn round their prices.
bool IntradayChartView::PriceRangeHasDots() const
{
    for (const TimeBand* band = view_.timeBands; band; band = band->next)
        for (const GraphSeries* series = band->series; series; series = series->next)
            if (series->range == priceRange_)
                for (const PlotElement* e = series->elements; e; e = e->next)
                    if (e->style == kDots && e->values.count > 0)
                        return true;
    return false;
}

bool IntradayChartView::RunCommand(uint32_t command)
{
    GraphSetting* setting = view_.ActiveSetting();
    if (!setting)
        return false;
    switch (command) {
    case kCmdMidLine: TogglePriceStyle(*setting, 1); break;
    case kCmdCloseLine: TogglePriceStyle(*setting, 2); break;
    case kCmdOhlcBars: TogglePriceStyle(*setting, 3); break;
    case kCmdCandles: TogglePriceStyle(*setting, 4); break;
    case kCmdFewerDays: StepDays(false, -1); return true;
    case kCmdMoreDays: StepDays(false, +1); return true;
    case kCmdLimitRange:
        gs::SetU16(*setting, kRangeLimit, uint16_t(gs::U16(*setting, kRangeLimit) ^ 1));
        view_.fullRange = 0;
        break;
    case kCmdAddGraphItem: {
        const auto& choose = AddedGraphDialogSeams().chooseShare;
        const std::optional<RecordCursor> item = choose ? choose(ChartTitle(), view_.list) : std::nullopt;
        if (!item || !item->record ||
            !SetAddedGraphEntry(*setting, RecordId(item->record), item->count, AddedGraphTarget(*setting),
                                gs::U32(*setting, gs::kBackground)))
            return true;
        break;
    }
    default:
        if (command < kCmdRemoveFirstGraph || command >= kCmdRemoveFirstGraph + 4)
            return false;
        if (!RemoveAddedGraph(*setting, int(command - kCmdRemoveFirstGraph)))
            return true;
        break;
    }
    view_.NotifyGraphSettings(0);
    return true;
}

bool IntradayChartView::UpdateCommand(CommandUi& ui) const
{
    const GraphSetting* setting = view_.ActiveSetting();
    if (!setting)
        return false;
    const uint8_t style = gs::U8(*setting, kPriceStyle);
    switch (ui.command) {
    case kCmdMidLine: ui.enabled = true; ui.checked = style == 1; return true;
    case kCmdCloseLine: ui.enabled = true; ui.checked = style == 2; return true;
    case kCmdOhlcBars: ui.enabled = true; ui.checked = style == 3; return true;
    case kCmdCandles: ui.enabled = true; ui.checked = style == 4; return true;
    case kCmdFewerDays: ui.enabled = window_.count > 1; return true;
    case kCmdMoreDays: ui.enabled = window_.count < size_t(kMaxDaysViewed) && window_.start > 0; return true;
    case kCmdLimitRange:
        ui.enabled = true;
        ui.checked = (gs::U16(*setting, kRangeLimit) & 1) != 0;
        return true;
    case kCmdAddGraphItem: ui.enabled = shareKey_ != 0; return true;
    default:
        if (ui.command < kCmdRemoveFirstGraph || ui.command >= kCmdRemoveFirstGraph + 4)
            return false;
        ui.enabled = ReadAddedGraph(*setting, int(ui.command - kCmdRemoveFirstGraph)).id != 0;
        return true;
    }
}

} // namespace qv
