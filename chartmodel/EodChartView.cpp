// The end-of-day chart's data side: history, layout pass, time band, series and commands.
#include "chartmodel/EodChartView.h"

#include "chartmodel/BarColour.h"
#include "chartmodel/ChartToggles.h"
#include "chartmodel/EventArray.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorCalc.h"
#include "chartmodel/MovAvgLines.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/LegendModel.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/PriceEdits.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/StudyKey.h"
#include "chartmodel/ViewGraph.h"
#include "charts/FortyFiveDegreeLines.h"
#include "core/DateText.h"
#include "core/FormatValue.h"
#include "core/RecordAccess.h"
#include "core/Memory.h"
#include "core/MovingAverage.h"
#include "core/PriceSubRecords.h"
#include "core/RecordCursor.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "core/TradingCalendar.h"
#include "lists/GraphSource.h"
#include "lists/ListRows.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "shell/AppServices.h"
#include "views/CommandUpdate.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace qv {
namespace gs = graphsetting;
namespace {

constexpr uint32_t kCommandReload = 504;
constexpr uint32_t kCommandFuture = 26451;
constexpr uint32_t kCommandLimitRange = 20217;
constexpr uint32_t kCommandDailyBars = 26731;      // .. 26736: 1-6
constexpr uint32_t kCommandMoreTimePerBar = 26737;
constexpr uint32_t kCommandLessTimePerBar = 26738;
constexpr uint32_t kCommandDynamicBars = 26739;
constexpr uint32_t kCommandFirstLimit = 26743;      // .. 26748
constexpr uint32_t kCommandReduceRange = 26750;
constexpr uint32_t kCommandIncreaseRange = 26751;
constexpr uint32_t kCommandMidLine = 27119;
constexpr uint32_t kCommandFutureSettings = 26512;
constexpr uint32_t kCommandDateRange = 26115;
constexpr uint8_t kVolumeBars = 1;
constexpr uint8_t kVolumeSignalLine = 2;
// The volume colour schemes.
constexpr uint8_t kVolumeByPriceScheme = 0;
constexpr uint8_t kVolumeByVolumeChange = 2;
constexpr uint8_t kVolumeByPriceMove = 3;
constexpr uint16_t kDefaultSignalPeriod = 25;
constexpr int32_t kLimitMonths[6] = {1, 3, 6, 12, 24, 60};
constexpr uint8_t kMaxBarCode = 56;
// Bar styles 1-3: OHLC (open and close ticks in the tick pen), HLC (the close tick), HL.
constexpr uint32_t kBarFlags[4] = {0x38000, 0x30000, 0, 0};

struct StyleCommand {
    uint32_t command;
    uint8_t style;
};
// Close line, OHLC, HLC, HL, candlesticks, point and figure, Kagi, Renko, 3-line break.
constexpr StyleCommand kStyleCommands[] = {{27118, 0}, {27121, 1}, {27120, 2}, {27253, 3}, {27122, 4},
                                           {27217, 5}, {27250, 6}, {27251, 7}, {27252, 8}};
// The chart model's plot styles of the box styles 5-8.
constexpr uint32_t kBoxPlotStyles[4] = {6, 7, 8, 8};
constexpr uint16_t kBoxGridOption = 0x20;

int32_t DaysFromTo(int32_t a, int32_t b) { return DateToDayNumber(PackedDate(b)) - DateToDayNumber(PackedDate(a)); }

int ColourCount(int mode)
{
    static constexpr int kCounts[9] = {1, 3, 3, 3, 2, 5, 5, 2, 2};
    return mode >= 0 && mode < 9 ? kCounts[mode] : 1;
}

void SetTitle(GraphSeries* series, const char* title)
{
    std::snprintf(series->title, sizeof series->title, "%s", title);
}

} // namespace

GraphSetting& EodChartView::Setting() const { return *view_.ActiveSetting(); }

// The chart's look comes from the style in force: the graph design's copy while the design is open.
const GraphSetting& EodChartView::Look() const
{
    const GraphSetting* style = view_.StyleRecord();
    return style ? *style : Setting();
}

int EodChartView::Style() const
{
    int style = gs::U8(Look(), gs::kPriceDisplay);
    return style <= 8 ? style : 0;
}

int EodChartView::DrawStyle() const
{
    // A range without a day of open, high and low prices draws its closes as a line; a reversal chart
    // against the dates stands on one bar a day, as the line does.
    return (firstMarkedVisible_ < 0 && !BoxMode()) || DatedReversal() ? 0 : Style();
}

bool EodChartView::BoxOption(uint16_t bit) const { return (gs::U16(Look(), gs::kBoxChartFlags) & bit) != 0; }

bool EodChartView::BoxMode() const
{
    return (ChartKindFlags(Style(), BoxOption(kBoxOptionDatedReversal)) & kChartBoxAxis) != 0;
}

bool EodChartView::DatedReversal() const
{
    return (ChartKindFlags(Style(), BoxOption(kBoxOptionDatedReversal)) & (kChartReversal | kChartBoxAxis)) ==
           kChartReversal;
}

DateRangeSetting EodChartView::ReadRange() const
{
    const GraphSetting& s = Setting();
    return {gs::U16(s, gs::kDateRangeFlags), gs::U16(s, gs::kDateRangeStart), gs::U16(s, gs::kDateRangeCount),
            gs::U16(s, gs::kDateRangeEnd)};
}

void EodChartView::WriteRange(const DateRangeSetting& range)
{
    GraphSetting& s = Setting();
    gs::SetU16(s, gs::kDateRangeFlags, range.word);
    gs::SetU16(s, gs::kDateRangeStart, range.start);
    gs::SetU16(s, gs::kDateRangeCount, range.length);
    gs::SetU16(s, gs::kDateRangeEnd, range.end);
}

void EodChartView::SetHistory(const DayRecord* days, int32_t count, uint32_t key)
{
    priceEdit_.Forget();
    days_.clear();
    for (int32_t i = 0; days && i < count && days[i].date != 0; ++i)
        days_.push_back(days[i]);
    hasStream_ = !days_.empty();
    loaded_ = true;
    key_ = key;
    settingIndex_ = view_.SettingIndex();
    display_ = {};
    axisEnd_ = 0;
    rangeDirty = true;
}

void EodChartView::LoadShare(const RecordCursor& cursor)
{
    RecordCursor c = cursor;
    DayRecord* days = nullptr;
    int32_t count = DecodePriceHistory(&c, &days, 0, false, false);
    SetHistory(days, count, (uint32_t(LoadU16(cursor.record + 2)) << 8) + cursor.count + 1);
    ProFree(days);
    // A portfolio's or a list's history is the program's own: only a share's prices take corrections.
    if (view_.graphSourceKind == 0)
        priceEdit_.Load(cursor);
    name_ = FormatShareTitle(cursor);
    minor_ = cursor.record ? GetCurrencyUnitSymbols(cursor.record[RecordLayout::TypeByte] & 7).minor : 0;
    // A portfolio's value or profit is money in pounds; a list's composite is an index.
    if (view_.graphSourceKind & (kSourcePortfolioValue | kSourcePortfolioProfit))
        minor_ = kPoundSign;
    else if (view_.graphSourceKind != 0)
        minor_ = 0;
    code_ = cursor.record ? std::string(GetRecordTexts(cursor.record).epic) : std::string();
}

EodChartView::~EodChartView()
{
    ProFree(source_);
}

bool EodChartView::BuildSourceHistory(uint32_t sourceKind)
{
    uint8_t* handed = TakeGraphSource(view_.list, sourceKind);
    if (handed) {
        ProFree(source_);
        source_ = handed;
    } else if (!BuildGraphSourceRecord(source_, view_, sourceKind)) {
        return false;
    }
    Reload();
    return true;
}

ShareList* FillChartList(ShareList* list)
{
    // A list that has not been filled from its source yet (no list window refreshed it) is filled here.
    if (list && list->source && !ShareListHasEntries(list))
        SetShareListSource(list, list->source, list->currentId, list->currentSub, false, false);
    // A fixed list shown only by charts (no list window fills it) is filled from the database here,
    // in its setting's order, as a list window would.
    if (list && !list->source && list->filledMark != list->word + 1) {
        ApplyListSortSetting(list, 0);
        RefillListSource(list, true);
    }
    return list;
}

void EodChartView::LoadAndLayout()
{
    ShareList* list = FillChartList(view_.GetActiveShareList());
    const RecordCursor* cursor = CurrentEntry(list);
    const RecordCursor sourceCursor{source_, 0};
    if (view_.graphSourceKind != 0 && source_)
        cursor = &sourceCursor;
    if (cursor && cursor->record) {
        uint32_t key = (uint32_t(LoadU16(cursor->record + 2)) << 8) + cursor->count + 1;
        if (!loaded_ || key != key_ || settingIndex_ != view_.SettingIndex())
            LoadShare(*cursor);
    }
    addedGraphs_.Load(Setting(), cursor ? cursor->record : nullptr, view_.graphSourceKind);
    LayoutPass();
    ComputeVolumeSignal();
}

void EodChartView::Reload()
{
    loaded_ = false;
    display_ = {};
    axisEnd_ = 0;
    rangeDirty = true;
}

void EodChartView::OnDoubleClick()
{
    axisEnd_ = 0;
    if (message_.empty() || days_.empty()) {
        rangeDirty = true;
        return;
    }
    display_ = {firstPriceDate(), lastPriceDate()};
    rangeDirty = false;
}

void EodChartView::LayoutPass()
{
    const int32_t first = firstPriceDate(), last = lastPriceDate();
    if (rangeDirty) {
        axisEnd_ = 0;
        DateRangeSetting range = ReadRange();
        ComputeDisplayRange(range, days_.data(), int32_t(days_.size()), display_);
        WriteRange(range);
        rangeDirty = false;
    }
    if (display_.start == 0)
        display_.start = first;
    if (display_.end > last)
        display_.end = last;
    const GraphSetting& s = Setting();
    const FutureSetting future{gs::U16(s, gs::kShowFutureBars), gs::U16(s, gs::kShowFutureSecond),
                               uint16_t(gs::U32(s, gs::kShowFutureThird))};
    if (axisEnd_ == 0)
        axisEnd_ = AxisEndWithFuture(future, display_, display_.end);
    if (axisEnd_ == 65535)
        axisEnd_ = display_.end;
    display_.end = std::min(display_.end, axisEnd_);
    for (auto it = days_.rbegin(); it != days_.rend(); ++it)
        if (it->date <= display_.end) {
            display_.end = std::min<int32_t>(display_.end, it->date);
            break;
        }
    shownEnd_ = display_.end;
    CutAtTrainingMark();
    firstVisible_ = firstMarkedVisible_ = -1;
    visibleCount_ = 0;
    for (int32_t i = 0; i < int32_t(days_.size()) && days_[size_t(i)].date <= display_.end; ++i) {
        if (days_[size_t(i)].date < display_.start)
            continue;
        if (firstVisible_ < 0)
            firstVisible_ = i;
        if (firstMarkedVisible_ < 0 && HasOhlc(days_[size_t(i)]))
            firstMarkedVisible_ = i;
        ++visibleCount_;
    }
    weekly_ = visibleCount_ > 0 && DaysFromTo(display_.start, display_.end) / visibleCount_ > 4;
    futureBars_ = future.on && display_.end == last ? std::max(CountTradingDays(PackedDate(display_.end),
                                                                                PackedDate(axisEnd_)) - 1, 0)
                                                    : 0;
    if (weekly_)
        futureBars_ /= 5;
}

void EodChartView::CutAtTrainingMark()
{
    trainingHidden_ = 0;
    if (trainingEnd <= 0 || trainingEnd >= shownEnd_)
        return;
    int32_t cut = 0, hidden = 0;
    for (const DayRecord& d : days_) {
        if (d.date > shownEnd_)
            break;
        if (d.date <= trainingEnd)
            cut = d.date;
        else if (d.date >= display_.start)
            ++hidden;
    }
    if (cut < display_.start)
        return;
    shownEnd_ = cut;
    trainingHidden_ = hidden;
}

int32_t EodChartView::DateToBar(int32_t date) const
{
    if (bars_.empty() || date < display_.start || date > display_.end)
        return -1;
    const int32_t lastShown = bars_.back().last;
    if (date <= shownEnd_) {
        int32_t day = lastShown;
        while (day > 0 && days_[size_t(day)].date > date)
            --day;
        return std::max(BarOfDay(bars_, day), 0);
    }
    const int32_t perBar = std::max(DaysPerBar(scale_.code), 1);
    int32_t k = 0;
    for (size_t i = size_t(lastShown) + 1; i < days_.size() && days_[i].date <= date; ++i)
        ++k;
    return int32_t(bars_.size()) - 1 + (k + perBar - 1) / perBar;
}

int32_t EodChartView::BarToDate(int32_t bar) const
{
    if (bar < 0 || bars_.empty())
        return 0;
    if (bar < int32_t(bars_.size()))
        return days_[size_t(bars_[size_t(bar)].last)].date;
    const int32_t perBar = std::max(DaysPerBar(scale_.code), 1);
    const int32_t k = std::min((bar - int32_t(bars_.size()) + 1) * perBar, trainingHidden_);
    const size_t day = size_t(bars_.back().last + k);
    return day < days_.size() ? days_[day].date : 0;
}

void EodChartView::LeaveTrainingRoom()
{
    TimeBand* band = view_.timeBands;
    GraphPane* price = view_.FindPane(kPanePrice);
    GraphSeries* series = band && price ? FindSeries(band, price) : nullptr;
    if (trainingEnd <= 0 || !series || !series->range || (series->range->flags & kRangeFixed) || BoxMode())
        return;
    ValueRange& r = *series->range;
    PriceRange room{r.minimum, r.maximum};
    if (room.Empty()) {
        room = {1, 100};
    } else if (gs::U16(Setting(), gs::kScaleFlags) & 0x80) {
        room.high *= 1.4f;
        room.low *= 0.8333333f;
    } else {
        const float middle = (room.high + room.low) / 2, half = 0.75f * (room.high - room.low);
        room = {middle - half, middle + half};
    }
    r.minimum = std::max(room.low, 1.0f);
    r.maximum = room.high;
}

void EodChartView::BuildTimeBand()
{
    view_.FreeForRebuild(true);
    bars_.clear();
    boxPoints_.clear();
    for (std::vector<float>& values : averageValues_)
        values.clear();
    GraphPane* price = view_.FindPane(kPanePrice);
    if (!price || days_.empty())
        return;
    if (BoxMode()) {
        BuildBoxBand(price);
        return;
    }
    const int style = DrawStyle();
    BarScaleInput in;
    in.paneLeft = price->left;
    in.paneRight = price->right;
    in.visibleCount = visibleCount_;
    in.lastBarIndex = std::max(futureBars_ + visibleCount_ - 1, 1);
    in.fromMarkedVisible = firstMarkedVisible_ < 0 ? 0 : firstVisible_ + visibleCount_ - firstMarkedVisible_;
    in.firstVisibleMarked = firstVisible_ >= 0 && firstVisible_ == firstMarkedVisible_;
    in.style = style;
    in.barCode = gs::U8(Look(), gs::kBarPeriod);
    in.priceEdit = view_.priceEditMode != 0;
    scale_ = ComputeBarScale(in);
    if (scale_.lastBarIndex == 0 || firstVisible_ < 0)
        return;
    const int32_t code = style == 0 ? 1 : scale_.code;
    bars_ = FoldBars(days_.data(), int32_t(days_.size()), firstVisible_, shownEnd_, code);
    TimeBand* band = NewTimeBand(1);
    view_.timeBands = band;
    band->shown = 1;
    band->left = price->left;
    band->right = price->right;
    // The band's scale counts the shown bars from 0: XToBar gives a bar index as BarToDate reads it.
    band->firstBar = 0;
    const int32_t perBar = std::max(DaysPerBar(code), 1);
    const int32_t futureSlots = futureBars_ / (weekly_ ? 1 : perBar) + (trainingHidden_ + perBar - 1) / perBar;
    band->scale.firstIndex = 0;
    band->scale.lastIndex = std::max(int32_t(bars_.size()) - 1 + futureSlots, 1);
    band->scale.firstX = scale_.firstX;
    band->scale.lastX = price->right - scale_.rightMargin;
    scale_.pixelsPerBar = double(band->scale.lastX - band->scale.firstX) / band->scale.lastIndex;
    scale_.lastBarIndex = band->scale.lastIndex;
    view_.barHalfWidth = std::max(scale_.drawWidth / 2, 1);
    BuildXTable(band);
    BuildTimeAxis();
    if (DatedReversal())
        boxPoints_ = BuildBoxChart(days_, Look(), Style(), shownEnd_, boxGrid_);
}

void EodChartView::BuildBoxBand(GraphPane* price)
{
    boxPoints_ = BuildBoxChart(days_, Look(), Style(), shownEnd_, boxGrid_);
    scale_ = {};
    if (boxPoints_.empty())
        return;
    const int32_t w = BoxColumnWidth();
    const int32_t fit = std::max((price->right - price->left) / w, 1);
    const int32_t lastStep = int32_t(boxPoints_.back().step);
    boxFirstColumn_ = FitBoxColumns(lastStep, fit, boxFitted_ ? kBoxAuto : boxColumnOffset_);
    BarScaleInput in;
    in.paneLeft = price->left;
    in.paneRight = price->right;
    in.visibleCount = int32_t(boxPoints_.size());
    // One index per step, and at least one per point, so that the plot styles walk every point.
    in.lastBarIndex = std::max(lastStep, int32_t(boxPoints_.size()) - 1);
    in.style = Style();
    in.boxWidth = w;
    in.boxMargin = attach_.spacing.margin;
    in.boxFirstColumn = boxFirstColumn_;
    scale_ = ComputeBarScale(in);
    if (scale_.lastBarIndex == 0)
        return;
    TimeBand* band = NewTimeBand(1);
    view_.timeBands = band;
    band->shown = 1;
    band->left = price->left;
    band->right = price->right;
    band->firstBar = 0;
    band->scale.firstIndex = 0;
    band->scale.lastIndex = scale_.lastBarIndex;
    band->scale.firstX = scale_.firstX;
    band->scale.lastX = scale_.firstX + scale_.lastBarIndex * w;
    view_.barHalfWidth = std::max(scale_.drawWidth / 2, 1);
    BuildXTable(band);
    BuildBoxAxis();
}

std::span<const BoxChartPoint> EodChartView::ShownBoxPoints(int32_t columns) const
{
    auto first = std::find_if(boxPoints_.begin(), boxPoints_.end(), [&](const BoxChartPoint& p) {
        return int32_t(p.step) >= boxFirstColumn_;
    });
    auto last = std::find_if(first, boxPoints_.end(), [&](const BoxChartPoint& p) {
        return int64_t(p.step) >= int64_t(boxFirstColumn_) + columns;
    });
    return {first, last};
}

void EodChartView::BuildBoxAxis()
{
    axisLabels_.clear();
    TimeBand* band = view_.timeBands;
    if (!band || boxPoints_.empty())
        return;
    const int32_t w = BoxColumnWidth();
    // The first day of each shown column, at its x (a column's later points share it).
    std::vector<std::pair<uint16_t, int32_t>> dated;
    for (const BoxChartPoint& p : ShownBoxColumns())
        if (dated.empty() || view_.IndexToXScale(&band->scale, int32_t(p.step)) != dated.back().second)
            dated.emplace_back(uint16_t(p.firstDate), view_.IndexToXScale(&band->scale, int32_t(p.step)));
    FreeGridLines(band->timeLines, false);
    band->lineFrom = band->left;
    band->lineTo = band->right;
    // The box grid (box option 0x20): a line between every two columns.
    if (BoxOption(kBoxGridOption))
        for (int32_t x = band->left + w; x < band->right; x += w)
            AddGridLinePixel(band->timeLines, 0, x);
    // Labels keep apart by the width of a month's name and a space.
    for (const BoxDateLabel& label : BoxChartDateLabels(dated, view_.TextWidth("Mmm ")))
        axisLabels_.push_back({label.x, label.text, label.year ? 2 : 1, label.year ? 2 : 1, false});
}

std::span<const BoxChartPoint> EodChartView::ShownBoxColumns() const
{
    const TimeBand* band = view_.timeBands;
    if (!BoxMode() || !band)
        return {};
    return ShownBoxPoints((band->right - band->left) / BoxColumnWidth() + 1);
}

void EodChartView::AddBoxPriceElement(TimeBand* band, GraphPane* price)
{
    const GraphSetting& s = Look();
    GraphSeries* series = AddSeries(band, price, MakeStudyKey(kPanePrice, nullptr));
    SetTitle(series, ChartTitle().c_str());
    if (ValueRange* range = view_.AddValueRange(series))
        range->flags |= kRangeFixed;
    const uint32_t up = gs::U32(s, gs::kBoxUpPen), down = gs::U32(s, gs::kBoxDownPen);
    priceElement_ = AddPlotElement(series, kBoxPlotStyles[Style() - 5], 0, up, 0, 2, down, down, up, down);
}

namespace {

// A point as a 24-byte item, its third word given (the step, or the x of its day).
void StoreBoxPoint(uint8_t* item, const BoxChartPoint& p, uint32_t third)
{
    StoreU32(item, p.firstDate);
    StoreU32(item + 4, p.lastDate);
    StoreU32(item + 8, third);
    StoreU32(item + 12, uint32_t(p.box));
    StoreF32(item + 16, p.price);
    StoreF32(item + 20, p.volume);
}

} // namespace

void EodChartView::BuildBoxSeries(TimeBand* band, GraphPane* price)
{
    const int style = Style();
    AddBoxPriceElement(band, price);
    const int32_t n = int32_t(boxPoints_.size());
    DataArray& values = priceElement_->values;
    if (style == 5) {
        auto* out = static_cast<uint8_t*>(InitDataArray(values, kArrayKeyed24, n, 0, 0));
        for (int32_t i = 0; i < n; ++i)
            StoreBoxPoint(out + size_t(i) * sizeof(BoxChartPoint), boxPoints_[size_t(i)], boxPoints_[size_t(i)].step);
        const int32_t w = BoxColumnWidth();
        priceElement_->extra[0] = uint32_t(w);
        priceElement_->extra[1] = uint32_t(std::min(attach_.spacing.margin, w / 3));
        return;
    }
    if (style == 6) {
        auto* out = static_cast<float*>(InitDataArray(values, kArrayFloats, n, 0, 0));
        for (int32_t i = 0; i < n; ++i)
            out[i] = boxPoints_[size_t(i)].price;
        return;
    }
    // Renko and line break: the step of each point, its price and its count of bricks or lines.
    auto* out = static_cast<uint8_t*>(InitDataArray(values, kArrayKeyedTriples, n, 0, 0));
    for (int32_t i = 0; i < n; ++i) {
        const BoxChartPoint& p = boxPoints_[size_t(i)];
        StoreU32(out + size_t(i) * 12, p.step);
        StoreF32(out + size_t(i) * 12 + 4, p.price);
        StoreU32(out + size_t(i) * 12 + 8, p.step);
    }
}

void EodChartView::BuildDatedReversalSeries(TimeBand* band, GraphPane* price)
{
    const int style = Style();
    AddBoxPriceElement(band, price);
    // Each point stands at the bar of its first day; the one that leads into the shown days at the
    // first bar. The bars are the shown days, one a day.
    auto first = std::find_if(boxPoints_.begin(), boxPoints_.end(),
                              [&](const BoxChartPoint& p) { return int32_t(p.lastDate) >= display_.start; });
    const std::span<const BoxChartPoint> shown(first, boxPoints_.end());
    const int32_t n = int32_t(shown.size());
    auto barOf = [&](const BoxChartPoint& p) {
        auto day = std::lower_bound(days_.begin(), days_.end(), p.firstDate,
                                    [](const DayRecord& d, uint32_t date) { return uint32_t(d.date) < date; });
        const int32_t bar = int32_t(day - days_.begin()) - firstVisible_;
        return std::clamp(bar, 0, int32_t(bars_.size()) - 1);
    };
    DataArray& values = priceElement_->values;
    if (style == 6) {
        // Kagi: the x of each point's bar and its price, in the 24-byte points.
        auto* out = static_cast<uint8_t*>(InitDataArray(values, kArrayKeyed24, n, 0, 0));
        values.flags = kSelectPackedX;
        for (int32_t i = 0; i < n; ++i) {
            const BoxChartPoint& p = shown[size_t(i)];
            StoreBoxPoint(out + size_t(i) * sizeof p, p, uint32_t(view_.IndexToXScale(&band->scale, barOf(p))));
        }
        return;
    }
    // Renko and line break: the bar of each point, its price and its running count of bricks or lines.
    auto* out = static_cast<uint8_t*>(InitDataArray(values, kArrayKeyedTriples, n, 0, 0));
    for (int32_t i = 0; i < n; ++i) {
        const BoxChartPoint& p = shown[size_t(i)];
        StoreU32(out + size_t(i) * 12, uint32_t(barOf(p)));
        StoreF32(out + size_t(i) * 12 + 4, p.price);
        StoreU32(out + size_t(i) * 12 + 8, p.step);
    }
}

void EodChartView::BuildBoxVolumeSeries()
{
    volumeElement_ = nullptr;
    TimeBand* band = view_.timeBands;
    GraphPane* volume = view_.FindPane(kPaneVolume);
    if (!band || !volume || !volume->visible || !(gs::U8(Look(), gs::kVolumePane) & kVolumeBars) ||
        boxPoints_.empty())
        return;
    GraphSeries* series = AddSeries(band, volume, MakeStudyKey(kPaneVolume, nullptr));
    SetTitle(series, "Volume");
    view_.AddValueRange(series);
    volumeElement_ = AddPlotElement(series, 4, 0, VolumeColours().colours[0], 0, 1, 0, 0, 0, 0);
    // One bar per step: the volume of the days its points cover.
    const int32_t steps = int32_t(boxPoints_.back().step) + 1;
    auto* out = static_cast<float*>(InitDataArray(volumeElement_->values, kArrayFloats, steps, 0, 0));
    for (const BoxChartPoint& p : boxPoints_)
        out[p.step] += p.volume;
}

void EodChartView::FitBoxVolumeRange(int32_t columns)
{
    if (!volumeElement_ || !volumeElement_->series || !volumeElement_->series->range)
        return;
    // The volume pane is scaled to what is shown, not the whole history: point and figure by its
    // columns, the reversal charts by the days their shown steps cover.
    BoxViewWindow window;
    window.byStep = Style() == 5;
    window.firstStep = boxFirstColumn_;
    window.lastStep = boxFirstColumn_ + std::max(columns - 1, 0);
    const std::span<const BoxChartPoint> shown = ShownBoxPoints(columns);
    if (!shown.empty()) {
        window.firstDay = int32_t(shown.front().firstDate) - 1;
        window.lastDay = int32_t(shown.back().lastDate);
    }
    const float high = BoxVolumeHigh(boxPoints_, window);
    ValueRange& range = *volumeElement_->series->range;
    range.minimum = 0;
    range.maximum = high > 0 ? high : 1;
    range.flags |= kRangeFixed;
}

void EodChartView::FitBoxRange()
{
    if (!BoxMode() || !priceElement_ || !priceElement_->series || boxPoints_.empty())
        return;
    GraphSeries* series = priceElement_->series;
    ValueRange* range = series->range;
    const GraphPane* pane = series->pane;
    if (!range || !pane)
        return;
    const int32_t w = BoxColumnWidth();
    const int32_t rows = std::max((pane->bottom - pane->top) / w, 1);
    const int32_t columns = std::max((pane->right - pane->left) / w, 1);
    FitBoxVolumeRange(columns);
    if (BoxIndexedRows(Style())) {
        boxLowRow_ = FitBoxRows(ShownBoxPoints(columns), columns, rows, boxFitted_ ? kBoxAuto : boxRowOffset_,
                                view_.kind == 8);
        priceElement_->words[1] = uint32_t(boxLowRow_);
        if (Style() == 5) {
            // Point and figure marks a box at its price: the lowest box's price half a column up.
            GetBoxPriceRange(*range, pane->top, pane->bottom - w / 2, boxGrid_.Table(), float(w), boxLowRow_);
        } else {
            // A Renko brick runs between two grid lines, a box a column width tall.
            const GraphSetting& s = Look();
            const RenkoGrid renko = RenkoGridOf(days_, gs::U16(s, gs::kBoxValue), gs::U8(s, gs::kBoxValueOption),
                                                BoxOption(kBoxGridOption));
            GetBoxPriceRange(*range, pane->top, pane->bottom, renko.grid.Table(), float(w), boxLowRow_);
            range->minimum += renko.offset;
            range->maximum += renko.offset;
        }
        range->flags |= kRangeFixed;
        if (!IsRangeEmpty(*range))
            return;
    }
    // The other charts, and a banded grid too fine for its rows: the prices of the shown columns
    // and the line that leads into them, a row's room above and below.
    std::span<const BoxChartPoint> shown = ShownBoxPoints(columns);
    const BoxChartPoint* begin = shown.empty() ? &boxPoints_.back() : shown.data();
    if (begin != boxPoints_.data())
        --begin;
    const BoxChartPoint* end = shown.empty() ? &boxPoints_.back() + 1 : shown.data() + shown.size();
    float low = FLT_MAX, high = -FLT_MAX;
    for (const BoxChartPoint* p = begin; p != end; ++p) {
        low = std::min(low, p->price);
        high = std::max(high, p->price);
    }
    const float row = std::max((high - low) / 20, std::max(high, 1.0f) * 0.001f);
    const float shift = boxFitted_ ? 0.0f : float(boxRowShift_) * row;
    range->minimum = low - row + shift;
    range->maximum = high + row + shift;
    range->flags = uint8_t((range->flags & ~kRangeLogarithmic) | kRangeFixed);
    range->yTop = pane->top;
    range->yBottom = pane->bottom;
}

bool EodChartView::ScrollBoxes(int direction)
{
    if (!BoxMode())
        return false;
    boxColumnOffset_ = boxFirstColumn_ + (direction < 0 ? -1 : 1);
    return true;
}

bool EodChartView::ShiftBoxes(int direction)
{
    if (!BoxMode())
        return false;
    if (BoxIndexedRows(Style())) {
        const int32_t row = boxLowRow_ + (direction < 0 ? -1 : 1);
        boxRowOffset_ = view_.kind == 8 ? row : std::max(row, 0);
    } else {
        boxRowShift_ += direction < 0 ? -1 : 1;
    }
    return true;
}

bool EodChartView::ZoomBoxes(int delta)
{
    if (!BoxMode())
        return false;
    GraphSetting& s = Setting();
    gs::SetU8(s, gs::kBoxSizeSpace, ZoomBoxStep(gs::U8(s, gs::kBoxSizeSpace), delta));
    ResetBoxOffsets();
    Changed(false);
    return true;
}

void EodChartView::ResetBoxOffsets()
{
    boxColumnOffset_ = boxRowOffset_ = kBoxAuto;
    boxRowShift_ = 0;
    boxPick_.reset();
}

int32_t EodChartView::BoxChartDays() const
{
    // A box chart is built from the whole history up to the shown end, whatever range is limited.
    return int32_t(std::count_if(days_.begin(), days_.end(),
                                 [&](const DayRecord& d) { return d.date != 0 && d.date <= shownEnd_; }));
}

std::string EodChartView::DescribeBoxSelection(int32_t x, int32_t y) const
{
    const TimeBand* band = view_.timeBands;
    const GraphPane* pane = view_.FindPane(kPanePrice);
    if (!BoxMode() || !band || !pane || boxPoints_.empty())
        return StringPrintf("%d trading days", BoxChartDays());
    const BoxHit hit = BoxHitTest(x, y, view_.IndexToXScale(&band->scale, boxFirstColumn_), boxFirstColumn_,
                                  BoxColumnWidth(), pane->bottom, boxLowRow_);
    const int32_t column = std::clamp<int32_t>(hit.column, 0, int32_t(boxPoints_.back().step));
    auto at = std::find_if(boxPoints_.begin(), boxPoints_.end(),
                           [&](const BoxChartPoint& p) { return int32_t(p.step) >= column; });
    if (at == boxPoints_.end())
        --at;
    auto last = at;
    while (last + 1 != boxPoints_.end() && (last + 1)->step == at->step)
        ++last;
    const BoxChartPoint& before = at == boxPoints_.begin() ? *at : *(at - 1);
    std::string text = "From " + FormatDate(PackedDate(at->firstDate)) + " to " + FormatDate(PackedDate(last->lastDate));
    const float unit = days_.back().unit > 0 ? days_.back().unit : 0.01f;
    text += StringPrintf("  %s - %s", FormatPriceInUnit(before.price, unit, minor_).c_str(),
                         FormatPriceInUnit(last->price, unit, minor_).c_str());
    return text;
}

std::string EodChartView::DescribeBoxUnder(int32_t x, int32_t y) const
{
    const TimeBand* band = view_.timeBands;
    const GraphPane* pane = view_.FindPane(kPanePrice);
    if (!BoxMode() || !band || !pane || boxPoints_.empty())
        return {};
    const BoxHit hit = BoxHitTest(x, y, view_.IndexToXScale(&band->scale, boxFirstColumn_), boxFirstColumn_,
                                  BoxColumnWidth(), pane->bottom, boxLowRow_);
    const BoxChartPoint* point = FindBoxChartPoint(boxPoints_, hit.column, hit.box, BoxIndexedRows(Style()));
    if (!point)
        return {};
    const float unit = days_.back().unit > 0 ? days_.back().unit : 0.01f;
    return StringPrintf("Box (%s - %s, %s)", FormatDate(PackedDate(point->firstDate)).c_str(),
                        FormatDate(PackedDate(point->lastDate)).c_str(),
                        FormatPriceInUnit(point->price, unit, minor_).c_str());
}

void EodChartView::PickBox(int32_t x, int32_t y)
{
    const TimeBand* band = view_.timeBands;
    const GraphPane* pane = view_.FindPane(kPanePrice);
    boxPick_.reset();
    if (!BoxMode() || Style() != 5 || !band || !pane || boxPoints_.empty())
        return;
    const BoxHit hit = BoxHitTest(x, y, view_.IndexToXScale(&band->scale, boxFirstColumn_), boxFirstColumn_,
                                  BoxColumnWidth(), pane->bottom, boxLowRow_);
    const int32_t column = std::clamp<int32_t>(hit.column, 0, int32_t(boxPoints_.back().step));
    boxPick_ = BoxPick{column, hit.box};
}

std::array<std::string, 2> EodChartView::DescribePick(int32_t x, int32_t y) const
{
    const TimeBand* band = view_.timeBands;
    const GraphPane* pane = view_.FindPane(kPanePrice);
    if (!boxPick_ || !BoxMode() || Style() != 5 || !band || !pane || boxPoints_.empty())
        return {};
    const BoxHit hit = BoxHitTest(x, y, view_.IndexToXScale(&band->scale, boxFirstColumn_), boxFirstColumn_,
                                  BoxColumnWidth(), pane->bottom, boxLowRow_);
    const BoxPick to{std::clamp<int32_t>(hit.column, 0, int32_t(boxPoints_.back().step)), hit.box};
    const float unit = days_.back().unit > 0 ? days_.back().unit : 0.01f;
    auto price = [&](float value) { return FormatPriceInUnit(value, unit, minor_); };
    return {DescribePointFigurePick(boxPoints_, *boxPick_, to, price), DescribeBoxValue(boxGrid_, hit.box, price)};
}

void EodChartView::BeginBoxDrag(int32_t x, int32_t y)
{
    boxDrag_ = {x, y, boxFirstColumn_, BoxIndexedRows(Style()) ? boxLowRow_ : boxRowShift_};
}

bool EodChartView::DragBoxesTo(int32_t x, int32_t y)
{
    const TimeBand* band = view_.timeBands;
    const GraphPane* pane = view_.FindPane(kPanePrice);
    if (!BoxMode() || !band || !pane)
        return false;
    BoxDragArea area;
    area.left = pane->left;
    area.right = band->scale.lastX;
    area.top = pane->top;
    area.bottom = pane->bottom;
    area.columnWidth = BoxColumnWidth();
    // Only point and figure counts boxes from 0; the other charts' rows shift either way.
    area.belowZero = !BoxIndexedRows(Style()) || view_.kind == 8;
    const BoxHit offsets = DragBoxes(boxDrag_, x, y, area);
    const bool moved = offsets.column != boxFirstColumn_ ||
                       offsets.box != (BoxIndexedRows(Style()) ? boxLowRow_ : boxRowShift_);
    boxColumnOffset_ = offsets.column;
    if (BoxIndexedRows(Style()))
        boxRowOffset_ = offsets.box;
    else
        boxRowShift_ = offsets.box;
    return moved;
}

std::vector<BoxAxisLabel> EodChartView::BoxAxisLabels(int32_t textHeight) const
{
    const GraphPane* pane = view_.FindPane(kPanePrice);
    if (!BoxMode() || Style() != 5 || !pane || boxPoints_.empty())
        return {};
    return BoxPriceAxisLabels(boxGrid_, boxLowRow_, BoxColumnWidth(), pane->top, pane->bottom, textHeight);
}

std::vector<int32_t> EodChartView::BoxGridRowLines() const
{
    const GraphPane* pane = view_.FindPane(kPanePrice);
    if (!BoxMode() || !pane || boxPoints_.empty() || !BoxOption(kBoxGridOption))
        return {};
    return BoxGridRows(BoxColumnWidth(), pane->top, pane->bottom);
}

std::vector<EodChartView::ScreenLine> EodChartView::FortyFiveDegreeLines() const
{
    std::vector<ScreenLine> out;
    const TimeBand* band = view_.timeBands;
    const GraphPane* pane = view_.FindPane(kPanePrice);
    if (!BoxMode() || Style() != 5 || !band || !pane || boxPoints_.empty())
        return out;
    const GraphSetting& s = Look();
    const uint32_t enabled = gs::U32(s, gs::kSupportResist) & 15;
    if (!enabled)
        return out;
    const int32_t w = BoxColumnWidth();
    const int32_t lastShown = boxFirstColumn_ + (pane->right - pane->left) / w;
    auto y = [&](int32_t box) { return int32_t(pane->bottom - (double(box) - boxLowRow_ + 0.5) * w); };
    auto x = [&](int32_t column) { return view_.IndexToXScale(&band->scale, column); };
    for (const FortyFiveLine& line : TraceFortyFiveDegreeLines(boxPoints_, enabled)) {
        ScreenLine l;
        l.pen = gs::U32(s, gs::kSupportResist + 4 + 4 * size_t(line.kind));
        l.x0 = x(line.startColumn);
        l.y0 = y(line.startBox);
        // An unbroken line runs on to the last shown column.
        const int32_t endColumn = line.open ? std::max(lastShown, line.endColumn) : line.endColumn;
        const int32_t slope = line.endColumn == line.startColumn ? (line.kind & 1 ? 1 : -1)
                                                                 : (line.endBox - line.startBox) /
                                                                       (line.endColumn - line.startColumn);
        l.x1 = x(endColumn);
        l.y1 = y(line.startBox + slope * (endColumn - line.startColumn));
        out.push_back(l);
    }
    return out;
}

int32_t EodChartView::BoxColumnOfX(int32_t x) const
{
    const TimeBand* band = view_.timeBands;
    if (!band)
        return 0;
    return BoxHitTest(x, 0, view_.IndexToXScale(&band->scale, boxFirstColumn_), boxFirstColumn_, BoxColumnWidth(), 0,
                      0)
        .column;
}

void EodChartView::BuildXTable(TimeBand* band)
{
    // One x per bar and future slot, then a 0 that ends the table; the scale reads its x from it.
    const int32_t count = band->scale.lastIndex + 1;
    TimeScale linear = band->scale;
    linear.xTable = nullptr;
    auto* table = static_cast<int32_t*>(ProCalloc(uint32_t(count + 1), sizeof(int32_t), "X table"));
    for (int32_t i = 0; i < count; ++i)
        table[i] = view_.IndexToXScale(&linear, i);
    FreeTimeScaleTable(band->scale);
    band->scale.xTable = table;
}

void EodChartView::BuildSeries()
{
    priceElement_ = volumeElement_ = nullptr;
    NoDataInput in;
    in.hasPriceStream = hasStream_;
    in.pricesArray = loaded_;
    in.count = int32_t(days_.size());
    in.visible = visibleCount_;
    in.startAfterEnd = display_.start > display_.end;
    in.limitOn = ReadRange().word & kRangeLimitOn;
    message_ = loaded_ ? NoDataMessage(in) : std::string("No price data");
    view_.noDataText = message_;
    TimeBand* band = view_.timeBands;
    addedGraphs_.Align(days_, bars_);
    if (BoxMode()) {
        GraphPane* price = view_.FindPane(kPanePrice);
        if (message_.empty() && boxPoints_.empty())
            view_.noDataText = message_ = "Not enough data";
        if (message_.empty() && band && price) {
            BuildBoxSeries(band, price);
            BuildBoxVolumeSeries();
        }
        return;
    }
    if (!message_.empty() || !band || bars_.empty())
        return;
    if (DatedReversal()) {
        GraphPane* price = view_.FindPane(kPanePrice);
        if (boxPoints_.empty())
            view_.noDataText = message_ = "Not enough data";
        else if (price) {
            BuildDatedReversalSeries(band, price);
            addedGraphs_.BuildSeries(view_, band, price);
        }
        BuildVolumeSeries();
        BuildEvents();
        return;
    }
    const GraphSetting& s = Look();
    const int style = DrawStyle();
    const int32_t n = int32_t(bars_.size());
    const int colours = ColourCount(PriceColourMode());
    auto colour = [&](int i) { return gs::PriceColour(s, std::min(i, colours - 1)); };
    if (GraphPane* price = view_.FindPane(kPanePrice)) {
        GraphSeries* series = AddSeries(band, price, MakeStudyKey(kPanePrice, nullptr));
        SetTitle(series, ChartTitle().c_str());
        ValueRange* range = view_.AddValueRange(series);
        // A log scale for prices, not for a portfolio's value or profit, nor on a point and figure chart.
        if (range && LogScaleOn(s) && !(view_.graphSourceKind & (4 | 8)) && !(attach_.kindFlags & kChartPointFigure))
            range->flags |= kRangeLogarithmic;
        // The close line walks the bars too, so that it can be coloured by any bar rule.
        priceElement_ = style == 0 ? AddPlotElement(series, 1, n == 1 ? 12 : 0, colour(0), 0, colours, colour(1),
                                                    colour(2), colour(3), colour(4))
                                   : AddPlotElement(series, style == 4 ? 3 : 2, kBarFlags[style - 1], colour(0), 0,
                                                    colours, colour(1), colour(2), colour(3), colour(4));
        // The bar drawer reads the tick pen from the element's extra colour.
        priceElement_->extraColour = gs::U32(s, gs::kTickColour);
        FillBarArray(priceElement_->values, style == 0 ? uint32_t(kSelectClose) : 0u);
        BuildMarkedLine(FindSeries(band, price));
        addedGraphs_.BuildSeries(view_, band, price);
    }
    BuildVolumeSeries();
    BuildEvents();
}

float EodChartView::BarSignal(int32_t bar) const
{
    const FoldedBar& b = bars_[size_t(bar)];
    const int32_t middle = int32_t(std::lround((b.first + b.last) / 2.0));
    if (middle < 0 || middle >= int32_t(signal_.size()))
        return 0;
    return signal_[size_t(middle)] * float(b.last - b.first + 1);
}

void EodChartView::ComputeVolumeSignal()
{
    signal_.clear();
    const GraphSetting& s = Look();
    const bool wanted = (gs::U8(s, gs::kVolumePane) & kVolumeSignalLine) ||
                        gs::U8(s, gs::kPriceColourMode) == kColourVolumeSignal;
    int32_t firstMarked = 0;
    while (firstMarked < int32_t(days_.size()) && !HasOhlc(days_[size_t(firstMarked)]))
        ++firstMarked;
    if (!wanted || firstMarked >= int32_t(days_.size()))
        return;
    const uint16_t period = gs::U16(s, gs::kVolumeSignalPeriods);
    auto average = CreateMovingAverage(1, period ? period : kDefaultSignalPeriod, 0, 0);
    int32_t needed = 0, leadIn = 0;
    average->Prepare(needed, leadIn);
    average->Prime(days_[size_t(firstMarked)].volume);
    signal_.assign(days_.size(), 0.0f);
    for (size_t i = size_t(firstMarked); i < days_.size(); ++i) {
        signal_[i] = float(average->Next(days_[i].volume));
        average->DropOldest();
    }
}

void EodChartView::BuildVolumeSeries()
{
    volumeElement_ = nullptr;
    TimeBand* band = view_.timeBands;
    GraphPane* volume = view_.FindPane(kPaneVolume);
    const GraphSetting& s = Look();
    const uint8_t bits = gs::U8(s, gs::kVolumePane);
    if (!band || !volume || !volume->visible || !(bits & (kVolumeBars | kVolumeSignalLine)))
        return;
    const int32_t n = int32_t(bars_.size());
    GraphSeries* series = AddSeries(band, volume, MakeStudyKey(kPaneVolume, nullptr));
    SetTitle(series, (bits & kVolumeBars) ? "Volume" : "Vol. signal");
    view_.AddValueRange(series);
    if (bits & kVolumeBars) {
        const VolumeColouring how = VolumeColours();
        volumeElement_ = AddPlotElement(series, 4, 0, how.colours[0], 0, how.count, how.colours[1], how.colours[2],
                                        how.colours[3], how.colours[4]);
        FillBarArray(volumeElement_->values, kSelectVolume);
    }
    if ((bits & kVolumeSignalLine) && !signal_.empty()) {
        PlotElement* e = AddPlotElement(series, 1, 0, gs::U32(s, gs::kVolumeSignalPen), 0, 1, 0, 0, 0, 0);
        auto* out = static_cast<float*>(InitDataArray(e->values, kArrayFloats, n, 0, 0));
        e->values.flags = kSelectSkipZero;
        for (int32_t i = 0; i < n; ++i)
            out[i] = BarSignal(i);
    }
}

void EodChartView::FillBarArray(DataArray& array, uint32_t selector) const
{
    const int32_t n = int32_t(bars_.size());
    auto* out = static_cast<uint8_t*>(InitDataArray(array, kArrayBars, n, 0, 0));
    array.flags = selector;
    for (int32_t i = 0; i < n; ++i) {
        const BarValues& b = bars_[size_t(i)].values;
        // A day with its close only stands as a flat bar at the close.
        const bool closeOnly = !(b.high > 0 && b.low > 0);
        const float v[5] = {closeOnly ? b.close : b.open, closeOnly ? b.close : b.high, closeOnly ? b.close : b.low,
                            b.close, b.volume};
        std::memcpy(out + size_t(i) * sizeof v, v, sizeof v);
    }
}

int EodChartView::PriceColourMode() const
{
    const int mode = gs::U8(Look(), gs::kPriceColourMode);
    // The rules of the open, the volume and the signal need days that have them.
    if (mode >= int(kColourCloseOpen) && mode <= int(kColourGraduated) && firstMarkedVisible_ < 0)
        return kColourSingle;
    return mode;
}

EodChartView::VolumeColouring EodChartView::VolumeColours() const
{
    const GraphSetting& s = Look();
    const uint32_t up = gs::U32(s, gs::kVolumeUpColour), down = gs::U32(s, gs::kVolumeDownColour);
    switch (gs::U8(s, gs::kVolumeColourMode)) {
    case kVolumeByPriceScheme: {
        const int mode = PriceColourMode();
        VolumeColouring how{mode, ColourCount(mode), {}};
        for (int i = 0; i < 5; ++i)
            how.colours[size_t(i)] = gs::PriceColour(s, std::min(i, how.count - 1));
        return how;
    }
    case kVolumeByVolumeChange:
        return {kColourVolumeVolume, 3, {up, down, up, up, up}};
    case kVolumeByPriceMove:
        return {kColourCloseClose, 3, {up, down, up, up, up}};
    default:
        return {kColourSingle, 1, {up, up, up, up, up}};
    }
}

void EodChartView::PrepareColouring(const PlotElement& element, CGraphSeriesLayout& layout) const
{
    // The box charts draw rises in the up pen and falls in the down pen; their volume in one colour.
    if (BoxMode() || (DatedReversal() && &element == priceElement_)) {
        layout.colourMode = &element == priceElement_ ? uint32_t(kColourUpDown) : uint32_t(kColourSingle);
        return;
    }
    int mode = kColourSingle;
    if (&element == priceElement_)
        mode = PriceColourMode();
    else if (&element == volumeElement_)
        mode = VolumeColours().mode;
    else
        return;
    layout.colourMode = uint32_t(mode);
    if (mode == kColourVolumeSignal) {
        barSignals_.assign(bars_.size(), 0.0f);
        for (size_t i = 0; i < bars_.size(); ++i)
            barSignals_[i] = BarSignal(int32_t(i));
        layout.pointSignals = barSignals_.data();
        layout.pointSignalCount = int32_t(barSignals_.size());
    } else if (mode == kColourEvents && !swing_.marks.empty()) {
        // A bar takes the swing chart's top or bottom mark of any of its days.
        barMarks_.assign(bars_.size(), 0);
        for (size_t i = 0; i < bars_.size(); ++i)
            for (int32_t d = bars_[i].first; d <= bars_[i].last && size_t(d) < swing_.marks.size(); ++d)
                barMarks_[i] |= swing_.marks[size_t(d)];
        layout.pointMarks = barMarks_.data();
        layout.pointMarkCount = int32_t(barMarks_.size());
    } else if (mode == kColourGraduated) {
        // Graduated between the lowest and the highest volume shown.
        float low = 0, high = 0;
        for (size_t i = 0; i < bars_.size(); ++i) {
            const float v = bars_[i].values.volume;
            low = i == 0 ? v : std::min(low, v);
            high = i == 0 ? v : std::max(high, v);
        }
        layout.signalOrLow = low;
        layout.gradientHigh = high;
    }
}

void EodChartView::BuildMarkedLine(GraphSeries* series)
{
    if (!series || firstMarkedVisible_ < 0 || bars_.empty())
        return;
    const GraphSetting& s = Look();
    const int lineStyle = gs::U8(s, gs::kPriceTypeLine);
    const uint8_t options = gs::U8(s, gs::kPriceLines);
    const int32_t n = int32_t(bars_.size());
    int32_t first = 0;
    while (first < n && bars_[size_t(first)].last < firstMarkedVisible_)
        ++first;
    // The bars before the first day with open, high and low have no part to mark: they are skipped.
    auto addLine = [&](uint32_t colour, auto value) {
        PlotElement* e = AddPlotElement(series, 1, 0, colour, 0, 1, 0, 0, 0, 0);
        auto* out = static_cast<float*>(InitDataArray(e->values, kArrayFloats, n, 0, 0));
        e->values.flags = kSelectSkipZero;
        for (int32_t i = first; i < n; ++i)
            out[i] = value(bars_[size_t(i)].values);
    };
    if (lineStyle == 0)
        addLine(gs::U32(s, gs::kPriceTypeLinePen), [](const BarValues& b) { return (b.high + b.low) / 2; });
    else if (lineStyle == 1)
        addLine(gs::U32(s, gs::kPriceTypeLinePen), [](const BarValues& b) { return (2 * b.close + b.high + b.low) / 4; });
    else if (lineStyle == 2)
        addLine(gs::U32(s, gs::kPriceTypeLinePen),
                [](const BarValues& b) { return (b.close + b.high + b.low) * 0.33333334f; });
    const uint32_t overlay = gs::U32(s, gs::kPriceLinesPen);
    if (options & 2)
        addLine(overlay, [](const BarValues& b) { return b.high; });
    if (options & 4)
        addLine(overlay, [](const BarValues& b) { return b.low; });
    if ((options & 1) && DrawStyle() != 0)
        addLine(overlay, [](const BarValues& b) { return b.close; });
}

void EodChartView::BuildEvents()
{
    events_.clear();
    TimeBand* band = view_.timeBands;
    GraphPane* price = view_.FindPane(kPanePrice);
    GraphSeries* series = band && price ? FindSeries(band, price) : nullptr;
    const GraphSetting& s = Setting();
    if (!series || view_.graphSourceKind != 0 || gs::U8(s, gs::kEvents) == 0 || bars_.empty() ||
        (view_.trainingMode && view_.trainingMark >= 0))
        return;
    EventArray events;
    ShareList* list = view_.GetActiveShareList();
    GatherChartEvents(events, s, days_.data(), int32_t(days_.size()), CurrentEntry(list), list ? list->source : nullptr);
    events_ = events.Entries();
    // Each event shown is marked on its bar: the event's bit, the bar's x and the day's close.
    std::vector<std::array<uint32_t, 3>> marks;
    size_t bar = 0;
    for (const ChartEventEntry& e : events_) {
        while (bar < bars_.size() && days_[size_t(bars_[bar].last)].date < e.date)
            ++bar;
        if (bar >= bars_.size())
            break;
        if (days_[size_t(bars_[bar].first)].date > e.date && bar == 0)
            continue;
        uint32_t price;
        std::memcpy(&price, &e.price, 4);
        marks.push_back({1u << EventMarkerIndex(e.marker),
                         uint32_t(view_.IndexToXScale(&band->scale, int32_t(bar))), price});
    }
    if (marks.empty())
        return;
    // The markers' size comes from the second style byte of the first event's marker.
    const int firstMarker = EventMarkerIndex(events_.front().marker);
    const uint32_t size = uint32_t(gs::U8(s, gs::EventEntry(firstMarker) + gs::kEventStyles + 1) & 15) << 28;
    PlotElement* element = AddPlotElement(series, 12, 0, size, 0, 1, 0, 0, 0, 0);
    auto* out = static_cast<uint8_t*>(InitDataArray(element->values, kArrayTriples, int32_t(marks.size()), 0, 0));
    for (size_t i = 0; i < marks.size(); ++i) {
        StoreU32(out + 12 * i, marks[i][0]);
        StoreU32(out + 12 * i + 4, marks[i][1]);
        StoreU32(out + 12 * i + 8, marks[i][2]);
    }
}

void EodChartView::JoinAddedGraphRanges()
{
    TimeBand* band = view_.timeBands;
    GraphPane* price = view_.FindPane(kPanePrice);
    GraphSeries* series = band && price ? FindSeries(band, price) : nullptr;
    FitDatedReversalRange();
    addedGraphs_.JoinRanges(series ? series->range : nullptr);
}

void EodChartView::FitDatedReversalRange()
{
    if (!DatedReversal() || !priceElement_ || !priceElement_->series || !priceElement_->series->range ||
        boxPoints_.empty())
        return;
    // The prices of the points on the shown days and of the one that leads into them, a twentieth of
    // their span above and below.
    auto first = std::find_if(boxPoints_.begin(), boxPoints_.end(),
                              [&](const BoxChartPoint& p) { return int32_t(p.lastDate) >= display_.start; });
    if (first != boxPoints_.begin())
        --first;
    float low = FLT_MAX, high = -FLT_MAX;
    for (auto p = first; p != boxPoints_.end(); ++p) {
        low = std::min(low, p->price);
        high = std::max(high, p->price);
    }
    const float row = std::max((high - low) / 20, std::max(high, 1.0f) * 0.001f);
    ValueRange* range = priceElement_->series->range;
    range->minimum = low - row;
    range->maximum = high + row;
    range->flags = uint8_t((range->flags & ~kRangeLogarithmic) | kRangeFixed);
}

void EodChartView::FloorVolumeRange()
{
    TimeBand* band = view_.timeBands;
    GraphPane* volume = view_.FindPane(kPaneVolume);
    GraphSeries* series = band && volume ? FindSeries(band, volume) : nullptr;
    if (series && series->range && series->range->maximum >= series->range->minimum)
        series->range->minimum = std::min(series->range->minimum, 0.0f);
}

void EodChartView::BuildAverage(int line)
{
    TimeBand* band = view_.timeBands;
    GraphPane* price = view_.FindPane(kPanePrice);
    if (line >= gs::kLines || !band || !price || !message_.empty() || bars_.empty() || firstVisible_ < 0)
        return;
    const GraphSetting& s = Setting();
    const uint32_t word = gs::LineWord(s, line);
    if (!(word & 0x80000000u))
        return;
    auto average = CreateLineAverage(word);
    int32_t needed = 0, leadIn = 0;
    average->Prepare(needed, leadIn);
    leadIn = std::max(needed - 1, leadIn);
    const bool bands = word & (1u << 30);
    const int32_t n = int32_t(bars_.size());
    std::vector<float> middle(static_cast<size_t>(n)), upper(static_cast<size_t>(n)), lower(static_cast<size_t>(n));
    average->Prime(days_.front().close);
    int32_t bar = 0;
    for (int32_t i = 0; i < int32_t(days_.size()) && bar < n; ++i) {
        const double value = average->Next(days_[size_t(i)].close);
        const double width = bands ? average->GetBandWidth() : 0;
        average->DropOldest();
        if (i == bars_[size_t(bar)].last) {
            // Within the lead-in the average is not yet over a whole period: the line (bit 28) and
            // the bands (bit 27) leave it out when asked to.
            const bool lineShown = i >= leadIn || !(word & (1u << 28));
            const bool bandsShown = i >= leadIn || !(word & (1u << 27));
            middle[size_t(bar)] = lineShown ? float(value) : 0.0f;
            upper[size_t(bar)] = bandsShown ? float(value + width) : 0.0f;
            lower[size_t(bar)] = bandsShown ? float(value - width) : 0.0f;
            ++bar;
        }
    }
    auto addLine = [&](const std::vector<float>& values, uint32_t colour) {
        GraphSeries* series = FindSeries(band, price);
        if (!series)
            return;
        PlotElement* e = AddPlotElement(series, 1, 0, colour, 0, 1, 0, 0, 0, 0);
        auto* out = static_cast<float*>(InitDataArray(e->values, kArrayFloats, n, 0, 0));
        e->values.flags = kSelectSkipZero;
        std::copy(values.begin(), values.end(), out);
    };
    averageValues_[size_t(line)] = middle;
    addLine(middle, gs::LineColour(s, line));
    if (bands) {
        addLine(upper, gs::LineBandColour(s, line));
        addLine(lower, gs::LineBandColour(s, line));
    }
}

void EodChartView::BuildPivots()
{
    TimeBand* band = view_.timeBands;
    GraphPane* price = view_.FindPane(kPanePrice);
    GraphSeries* series = band && price ? FindSeries(band, price) : nullptr;
    if (!series || !message_.empty() || bars_.empty() || firstMarkedVisible_ < 0)
        return;
    const GraphSetting& s = Setting();
    const uint32_t enabled = gs::U8(s, gs::kPivot1 + gs::kPivotFlags);
    if ((enabled & 31) == 0)
        return;
    // Enable bits 1, 2, 4, 8, 16 draw outputs 0, 1, 3, 2, 4 of the calculator.
    static constexpr int kOutputOfBit[5] = {0, 1, 3, 2, 4};
    const int32_t n = int32_t(bars_.size());
    std::vector<float> lines(size_t(5 * n));
    const int32_t start = std::max(firstMarkedVisible_ - 1, 0);
    auto bar = [this](int32_t i) {
        const DayRecord& d = days_[size_t(i)];
        return Bar{d.open, d.high, d.low, d.close, d.volume};
    };
    CPivotPointsCalc calc(IndicatorRecord::Of(0, gs::U8(s, gs::kPivot1 + gs::kPivotMethod)), bar(start));
    int32_t b = 0;
    while (b < n && bars_[size_t(b)].last <= start)
        ++b;
    const int32_t firstPivotBar = b;
    for (int32_t i = start + 1; i < int32_t(days_.size()) && b < n; ++i) {
        const float* out = calc.AddValue(bar(i));
        if (i == bars_[size_t(b)].last) {
            std::copy(out, out + 5, lines.begin() + 5 * b);
            ++b;
        }
    }
    if (firstPivotBar >= n)
        return;
    for (int line = 0; line < 5; ++line) {
        if (!(enabled & (1u << line)))
            continue;
        PlotElement* e = AddPlotElement(series, 1, 0, gs::U32(s, gs::kPivot1 + gs::kPivotPens + 4 * size_t(line)), 0,
                                        1, 0, 0, 0, 0);
        auto* out = static_cast<float*>(InitDataArray(e->values, kArrayFloats, n, 0, 0));
        for (int32_t i = 0; i < n; ++i)
            out[i] = i < firstPivotBar ? lines[size_t(5 * firstPivotBar + kOutputOfBit[line])]
                                       : lines[size_t(5 * i + kOutputOfBit[line])];
    }
}

void EodChartView::BuildSwing()
{
    swing_ = {};
    TimeBand* band = view_.timeBands;
    GraphPane* price = view_.FindPane(kPanePrice);
    GraphSeries* series = band && price ? FindSeries(band, price) : nullptr;
    const GraphSetting& s = Setting();
    if (!series || view_.graphSourceKind != 0 || !message_.empty() || bars_.empty() || BoxMode() ||
        !(gs::SwingWord(s, 0) & 1))
        return;
    std::vector<uint8_t> stored;
    ShareList* list = view_.GetActiveShareList();
    LoadPriceEditFlags(stored, CurrentEntry(list));
    swing_ = ComputeSwingChart(days_, 0, shownEnd_, gs::SwingWord(s, 0), gs::SwingWord(s, 1), ReadSwingEdits(stored));
    AddSwingOverlay(series, s, swing_, bars_,
                    [this, band](int32_t bar) { return view_.IndexToXScale(&band->scale, bar); });
}

std::vector<SwingShade> EodChartView::SwingShades() const
{
    if (view_.graphSourceKind != 0 || BoxMode())
        return {};
    return SwingShading(Setting(), swing_, bars_);
}

std::vector<AxisLabel> EodChartView::AxisLabels(int32_t slots, int gridMode) const
{
    const TimeBand* band = view_.timeBands;
    if (!band || bars_.empty())
        return {};
    const int32_t tradingDays = CountTradingDays(PackedDate(display_.start), PackedDate(display_.end)) + futureBars_;
    const int level = TimeAxisLevel(tradingDays, slots);
    std::vector<std::pair<PackedDate, int32_t>> dated;
    for (size_t i = 0; i < bars_.size(); ++i) {
        const DayRecord& day = days_[size_t(bars_[i].last)];
        dated.emplace_back(day.date, view_.IndexToXScale(&band->scale, int32_t(i)));
    }
    // The axis runs on through the future slots, a bar's worth of weekdays each.
    const int32_t lastIndex = band->scale.lastIndex;
    const int32_t step = weekly_ ? 5 : DaysPerBar(scale_.code);
    PackedDate date = dated.back().first;
    for (int32_t i = int32_t(bars_.size()); i <= lastIndex && date != 0; ++i) {
        for (int32_t k = 0; k < std::max(step, 1) && date != 0; ++k)
            date = NextWeekday(date);
        if (date != 0)
            dated.emplace_back(date, view_.IndexToXScale(&band->scale, i));
    }
    return TimeAxisLabels(dated, level, gridMode);
}

std::array<std::string, 2> EodChartView::AxisEndTexts() const
{
    if (BoxMode())
        return BoxChartEndDates(ShownBoxColumns());
    if (!view_.timeBands || bars_.empty())
        return {};
    PackedDate end = PackedDate(std::max(display_.end, axisEnd_));
    // An axis that runs into the future ends on a weekday.
    if (axisEnd_ > display_.end && WeekdayOf(end) >= 5)
        end = NextWeekday(end);
    return {FormatDate(PackedDate(days_[size_t(bars_.front().first)].date)), FormatDate(end)};
}

std::array<int32_t, 2> EodChartView::AxisEndXs() const
{
    const TimeBand* band = view_.timeBands;
    if (!band)
        return {0, 0};
    const std::span<const BoxChartPoint> shown = ShownBoxColumns();
    if (!BoxMode() || shown.empty())
        return {band->left, band->right};
    // A centred box chart dates its first and last columns where they stand, not the pane's ends.
    const int32_t half = BoxColumnWidth() / 2;
    const int32_t first = view_.IndexToXScale(&band->scale, int32_t(shown.front().step)) - half;
    const int32_t last = view_.IndexToXScale(&band->scale, int32_t(shown.back().step)) + half;
    return {std::clamp(first, band->left, band->right), std::clamp(last, band->left, band->right)};
}

void EodChartView::BuildTimeAxis()
{
    axisLabels_.clear();
    TimeBand* band = view_.timeBands;
    if (!band || bars_.empty())
        return;
    const int32_t slotWidth = std::max(view_.TextWidth("MM"), 1);
    const int32_t slots = std::max((band->right - band->left) / slotWidth, 1);
    const int density = int(gs::U32(Look(), gs::kGridDensityV));
    axisLabels_ = AxisLabels(slots, density > 0 ? std::min(density, 3) : -1);
    FreeGridLines(band->timeLines, false);
    for (const AxisLabel& label : axisLabels_)
        if (label.grid)
            AddGridLinePixel(band->timeLines, 0, label.x);
    band->lineFrom = band->left;
    band->lineTo = band->right;
}

int32_t EodChartView::RecordUnderX(int32_t x) const
{
    const TimeBand* band = view_.timeBands;
    if (!band || bars_.empty() || x < band->left || x > band->right)
        return -1;
    const int32_t bar = view_.XToIndexScale(&band->scale, x);
    if (bar < 0 || bar >= int32_t(bars_.size()))
        return -1;
    return bars_[size_t(bar)].last;
}

EodReadoutInput EodChartView::ReadoutInput() const
{
    EodReadoutInput in;
    in.days = days_.data();
    in.count = int32_t(days_.size());
    if (!signal_.empty())
        in.signal = signal_.data();
    in.minor = minor_;
    // A history of one price a week counts its bars in weeks.
    in.weekly = weekly_;
    // A box-indexed chart has no rate per year: its lines read per column.
    if (const std::optional<TrendLineEnds> trend = trendLine && !BoxMode() ? trendLine() : std::nullopt) {
        trendEnds_ = *trend;
        trendEnds_.logScale = LogScaleOn(Look());
        in.trend = &trendEnds_;
    }
    return in;
}

EodReadoutTexts EodChartView::LatestTexts() const { return LatestReadouts(ReadoutInput()); }

EodReadoutTexts EodChartView::CursorTexts(int32_t x, int32_t y, bool inside) const
{
    // Off a box chart the readout names no column and shows the chart's box settings in full.
    if (BoxMode() && !inside)
        return {"No column selected", "No column selected", "No box selected", {}, BoxParameterText(true)};
    CursorPoint point;
    point.visibleBars = visibleCount_;
    if (inside && message_.empty()) {
        GraphPane* pane = nullptr;
        TimeBand* band = nullptr;
        GraphSeries* series = nullptr;
        view_.HitTestPane(x, y, &pane, &band, &series);
        const bool price = pane && pane->id == kPanePrice, volume = pane && pane->id == kPaneVolume;
        const bool window = pane && pane->id >= kPaneFirstAddOn && pane->id < kPaneFirstAddOn + gs::kAddOnWindowCount;
        if ((price || volume || (window && indicatorReadout)) && series && series->range &&
            !IsRangeEmpty(*series->range)) {
            point.pane = price ? CursorPane::Price : volume ? CursorPane::Volume : CursorPane::Indicator;
            point.record = RecordUnderX(x);
            point.value = view_.YToValue(series->range, y);
            if (window && point.record >= 0) {
                point.indicatorValues = indicatorReadout(pane->id, point.record);
                point.wholeNumbers = view_.paneAxis[std::min<size_t>(pane->id, kLayoutPanes - 1)].maxDecimals == 0;
            }
        }
    }
    return CursorReadouts(ReadoutInput(), point);
}

void EodChartView::FillStatusTexts(std::array<std::string, 3>& texts, bool inside, bool modeActive) const
{
    const EodReadoutTexts cursor = CursorTexts(view_.lastMouseX, view_.lastMouseY, inside);
    if (BoxMode() && !inside) {
        if (!modeActive)
            texts[0] = cursor.cursor;
        texts[1] = cursor.price;
        texts[2] = cursor.volume;
        return;
    }
    const bool onRecord = cursor.cursor != "Cursor (Off graph)";
    // Off the graph the panes show the last day.
    const EodReadoutTexts shown = onRecord ? cursor : LatestTexts();
    if (!modeActive)
        texts[0] = !BoxMode() ? cursor.cursor
                   // Point and figure describes columns only from a picked box.
                   : Style() == 5 ? StringPrintf("%d trading days", BoxChartDays())
                                  : DescribeBoxSelection(view_.lastMouseX, view_.lastMouseY);
    texts[1] = shown.ohlc.rfind("OHLC ", 0) == 0 ? shown.price + "   " + shown.ohlc : shown.price;
    if (BoxMode() && inside)
        if (std::string box = DescribeBoxUnder(view_.lastMouseX, view_.lastMouseY); !box.empty())
            texts[1] = box;
    texts[2] = cursor.trend.empty() ? shown.volume : shown.volume + "   " + cursor.trend;
    if (!inside || !boxPicked())
        return;
    const std::array<std::string, 2> pick = DescribePick(view_.lastMouseX, view_.lastMouseY);
    if (!pick[0].empty() && !modeActive)
        texts[0] = pick[0];
    if (!pick[1].empty())
        texts[1] = pick[1];
}

std::string EodChartView::AverageText(int line, int32_t bar) const
{
    const std::vector<float>& values = averageValues_[size_t(line)];
    if (bar < 0 || bar >= int32_t(values.size()) || values[size_t(bar)] == 0)
        return {};
    const uint32_t word = gs::LineWord(Setting(), line);
    const float unit = days_[size_t(bars_[size_t(bar)].last)].unit;
    return StringPrintf("%d %s %s", int(word & 0xFFF), AverageTypeName(int((word >> 23) & 15)),
                        FormatPriceInUnit(values[size_t(bar)], unit, minor_).c_str());
}

void EodChartView::FillLegendSource(LegendSource& source, bool inside) const
{
    const std::array<std::string, 4> latest = LatestLegendTexts(LatestTexts());
    const std::array<std::string, 4> cursor = CursorLegendTexts(CursorTexts(view_.lastMouseX, view_.lastMouseY, inside));
    source.latest = {};
    source.cursor = {};
    std::copy(latest.begin(), latest.end(), source.latest.begin());
    std::copy(cursor.begin(), cursor.end(), source.cursor.begin());
    const int32_t cursorBar = inside && view_.timeBands ? view_.XToIndexScale(&view_.timeBands->scale, view_.lastMouseX)
                                                       : -1;
    for (int line = 0; line < gs::kLines; ++line) {
        source.latest[size_t(8 + line)] = AverageText(line, int32_t(bars_.size()) - 1);
        source.cursor[size_t(8 + line)] = AverageText(line, cursorBar);
    }
    source.shareName = name_;
    for (size_t k = 0; k < source.addedGraphNames.size(); ++k) {
        source.addedGraphNames[k] = addedGraphs_.slot(int(k)).itemName;
        source.addedGraphPens[k] = addedGraphs_.slot(int(k)).entry.pen;
    }
    source.chartFlags = attach_.kindFlags;
    source.showsMainSeries = !days_.empty();
}

bool EodChartView::VolumeShowable() const
{
    if (firstMarkedVisible_ < 0 || view_.graphSourceKind != 0)
        return false;
    for (int32_t i = firstVisible_; i >= 0 && i < firstVisible_ + visibleCount_; ++i)
        if (days_[size_t(i)].volume > 0)
            return true;
    return false;
}

bool EodChartView::ScrollRecords(int direction, int32_t records)
{
    if (firstVisible_ < 0 || visibleCount_ <= 0)
        return false;
    const int32_t step = records > 0 ? records : std::max(visibleCount_ * 66 / 100, 1);
    const int32_t lastRecord = int32_t(days_.size()) - 1;
    int32_t first = firstVisible_, last = firstVisible_ + visibleCount_ - 1;
    if (direction < 0) {
        first = std::max(firstVisible_ - step, 0);
        last = std::min(first + visibleCount_ - 1, last);
    } else {
        last = std::min(last + step, lastRecord);
        first = std::max(last - visibleCount_ + 1, 0);
    }
    if (first == firstVisible_ && last == firstVisible_ + visibleCount_ - 1)
        return false;
    display_.start = days_[size_t(first)].date;
    display_.end = kDisplayEndOpen;
    axisEnd_ = days_[size_t(last)].date;
    rangeDirty = false;
    return true;
}

void EodChartView::Attach(float scaleX, float scaleY, bool preview)
{
    attach_ = ComputeAttachState(Look(), scaleX, scaleY);
    boxFitted_ = preview;
    // A style changed by any route (a style command, Graph Design, another chart of the setting) is
    // fitted afresh: columns and rows scrolled to on the old chart mean nothing on the new one.
    if (!preview && Style() != attachedStyle_) {
        attachedStyle_ = Style();
        ResetBoxOffsets();
    }
    if (attach_.kindFlags & kChartBoxAxis)
        view_.trainingMode = 0;
}

int32_t EodChartView::StepCursor(int32_t x, int direction)
{
    const TimeBand* band = view_.timeBands;
    if (!band || bars_.empty())
        return x;
    CursorStepInput in;
    in.table = band->scale.xTable;
    in.count = band->scale.lastIndex + 1;
    in.bandLeft = band->left;
    in.bandRight = band->right;
    in.pixelsPerBar = scale_.pixelsPerBar;
    in.canScrollBack = display_.start > firstPriceDate();
    in.canScrollOn = axisEnd_ < lastPriceDate();
    const CursorStep step = qv::StepCursor(in, x, direction);
    if (step.scroll != 0 && ScrollRecords(step.scroll, 1))
        view_.InvalidateWindow();
    return step.x;
}

int32_t EodChartView::XToPositionKey(int32_t x) const
{
    const TimeBand* band = view_.timeBands;
    if (!band || !band->scale.xTable || bars_.empty())
        return 0;
    const int32_t count = band->scale.lastIndex + 1;
    const int32_t index = std::min(XTableIndex(band->scale.xTable, count, x), int32_t(bars_.size()) - 1);
    const int32_t fraction = XTableFraction(band->scale.xTable, count, index, x);
    return DateToPositionKey(days_[size_t(bars_[size_t(index)].first)].date) + fraction;
}

int32_t EodChartView::PositionKeyToX(int32_t key) const
{
    const TimeBand* band = view_.timeBands;
    if (!band || !band->scale.xTable || bars_.empty())
        return 0;
    const int32_t date = key >> 8;
    int32_t index = 0;
    while (index + 1 < int32_t(bars_.size()) && days_[size_t(bars_[size_t(index) + 1].first)].date <= date)
        ++index;
    return XTableX(band->scale.xTable, band->scale.lastIndex + 1, index, key & 0xFF);
}

int32_t EodChartView::DateAtX(int32_t x, bool firstDay) const
{
    const TimeBand* band = view_.timeBands;
    if (!band || bars_.empty())
        return 0;
    const int32_t bar = std::clamp(view_.XToIndexScale(&band->scale, x), 0, int32_t(bars_.size()) - 1);
    const FoldedBar& folded = bars_[size_t(bar)];
    return days_[size_t(firstDay ? folded.first : folded.last)].date;
}

bool EodChartView::ZoomToDragRange(int32_t x0, int32_t x1)
{
    const TimeBand* band = view_.timeBands;
    if (!band || bars_.empty())
        return false;
    x0 = std::clamp(x0, band->left, band->right);
    x1 = std::clamp(x1, band->left, band->right);
    if (std::abs(x1 - x0) < 5 || DaysFromTo(display_.start, display_.end) < 6)
        return false;
    const int32_t from = DateAtX(std::min(x0, x1), true), to = DateAtX(std::max(x0, x1), false);
    display_.start = std::max(display_.start, from);
    axisEnd_ = std::min(axisEnd_ ? axisEnd_ : to, to);
    display_.end = axisEnd_;
    return true;
}

std::array<std::string, 2> EodChartView::ZoomRangeTexts(int32_t x0, int32_t x1) const
{
    return {ZoomRangeText(true, PackedDate(DateAtX(std::min(x0, x1), true))),
            ZoomRangeText(false, PackedDate(DateAtX(std::max(x0, x1), false)))};
}

std::vector<std::string> EodChartView::WatermarkTexts(uint32_t paneId, uint16_t bits) const
{
    std::vector<std::string> texts;
    if (days_.empty() || view_.graphSourceKind != 0)
        return texts;
    if (paneId == kPanePrice) {
        if ((bits & 1) && !code_.empty())
            texts.push_back(code_);
        if (bits & 2)
            texts.push_back(FormatPriceInUnit(days_.back().close, days_.back().unit, minor_));
    } else if (paneId == kPaneVolume) {
        if (bits & 4)
            texts.push_back("Volume");
        if ((bits & 8) && visibleCount_ > 0) {
            double total = 0;
            for (int32_t i = firstVisible_; i < firstVisible_ + visibleCount_; ++i)
                total += days_[size_t(i)].volume;
            texts.push_back(VolumeAmountText(float(total / visibleCount_)));
        }
    }
    return texts;
}

std::string EodChartView::BoxParameterText(bool longForm) const
{
    const GraphSetting& s = Look();
    const uint16_t value = gs::U16(s, gs::kBoxValue);
    const uint8_t kind = gs::U8(s, gs::kBoxValueOption);
    return Style() == 5 ? FormatBoxSizeText(value, kind, gs::U8(s, gs::kReversal), longForm)
                        : FormatReversalChartText(Style(), value, kind, gs::U8(s, gs::kLineBreakLines), longForm);
}

std::string EodChartView::ChartTitle() const
{
    const int style = Style();
    const std::string name = ChartOptions().epicInTitle && !code_.empty() ? name_ + " (" + code_ + ")" : name_;
    if (style == 0)
        return name;
    if (BoxMode() || DatedReversal()) {
        const std::string box = BoxParameterText(false);
        return name.empty() ? box : name + " " + box;
    }
    const std::string label = GetBarPeriodLabel(scale_.code, gs::U8(Look(), gs::kBarPeriod) == 0 &&
                                                                  view_.priceEditMode == 0);
    return name.empty() ? label : name + " - " + label;
}

// ---- Commands --------------------------------------------------------------------------------------

void EodChartView::Changed(bool range)
{
    // The display keeps its dates until the layout pass works the range out again, so that applying
    // the range already on screen can be told apart and shows the whole history.
    if (range)
        rangeDirty = true;
    view_.NotifyGraphSettings(0);
    view_.InvalidateWindow();
}

bool EodChartView::BarRule() const
{
    return Style() != 0 && !(attach_.kindFlags & (kChartPointFigure | kChartReversal)) && view_.priceEditMode == 0 &&
           view_.graphSourceKind == 0;
}

void EodChartView::RangeDialogConfirmed()
{
    GraphSetting& s = Setting();
    if ((ReadRange().word & kRangeEndFixed) && gs::U16(s, gs::kShowFutureBars)) {
        gs::SetU16(s, gs::kShowFutureBars, 0);
        axisEnd_ = 0;
        ShowMessage("The new end date limit means that the graph cannot be extended into the future.", "WARNING",
                    MsgButtons::Ok, MsgIcon::Exclamation);
    }
    Changed(true);
}

void EodChartView::FutureChanged()
{
    axisEnd_ = 0;
    Changed(false);
}

void EodChartView::FutureDialogConfirmed()
{
    GraphSetting& s = Setting();
    DateRangeSetting range = ReadRange();
    axisEnd_ = 0;
    if (!gs::U16(s, gs::kShowFutureBars) || !(range.word & kRangeEndFixed)) {
        Changed(false);
        return;
    }
    ShowMessage("The end date limit has been removed to enable the date range to be extended into the future.",
                "WARNING", MsgButtons::Ok, MsgIcon::Exclamation);
    range.word = 0;
    WriteRange(range);
    display_.start = 0;
    Changed(true);
}

bool EodChartView::RunCommand(uint32_t command, bool shift)
{
    if (addedCommands_.Run(command))
        return true;
    if (command == kCommandReload) {
        Reload();
        return false;
    }
    if ((command == kCommandMoreTimePerBar || command == kCommandLessTimePerBar ||
         command == kCommandReduceRange || command == kCommandIncreaseRange) &&
        shift && !swapGuard_) {
        swapGuard_ = true;
        const uint32_t twin = command == kCommandMoreTimePerBar   ? kCommandLessTimePerBar
                              : command == kCommandLessTimePerBar ? kCommandMoreTimePerBar
                              : command == kCommandReduceRange    ? kCommandIncreaseRange
                                                                  : kCommandReduceRange;
        RunCommand(twin, shift);
        swapGuard_ = false;
        return true;
    }
    // A key reaches a command that its rule greys as well: there it does nothing.
    CommandUi ui;
    ui.command = command;
    if (UpdateCommand(ui) && !ui.enabled)
        return true;
    GraphSetting& s = Setting();
    for (const StyleCommand& c : kStyleCommands)
        if (command == c.command) {
            gs::SetU8(s, gs::kPriceDisplay, c.style);
            ResetBoxOffsets();
            Changed(false);
            return true;
        }
    const uint8_t code = gs::U8(s, gs::kBarPeriod);
    if (command >= kCommandDailyBars && command < kCommandDailyBars + 6) {
        gs::SetU8(s, gs::kBarPeriod, uint8_t(command - kCommandDailyBars + 1));
    } else if (command == kCommandMoreTimePerBar) {
        if (code >= kMaxBarCode)
            return true;
        gs::SetU8(s, gs::kBarPeriod, uint8_t(code + 1));
    } else if (command == kCommandLessTimePerBar) {
        if (code <= 1)
            return true;
        gs::SetU8(s, gs::kBarPeriod, uint8_t(code - 1));
    } else if (command == kCommandDynamicBars) {
        gs::SetU8(s, gs::kBarPeriod, 0);
    } else if (command >= kCommandFirstLimit && command < kCommandFirstLimit + 6) {
        DateRangeSetting range = ReadRange();
        ApplyRangeLimit(range, kLimitMonths[command - kCommandFirstLimit], display_, lastPriceDate());
        WriteRange(range);
        Changed(true);
        return true;
    } else if (command == kCommandReduceRange || command == kCommandIncreaseRange) {
        DateRangeSetting range = ReadRange();
        if (ChangeVisibleRange(range, command == kCommandIncreaseRange, display_, firstPriceDate(), lastPriceDate())) {
            WriteRange(range);
            Changed(true);
        }
        return true;
    } else if (command == kCommandLimitRange) {
        DateRangeSetting range = ReadRange();
        range.word ^= kRangeLimitOn;
        WriteRange(range);
        const uint16_t endLimit = kRangeLimitOn | kRangeEndFixed;
        if ((range.word & endLimit) == endLimit && gs::U16(s, gs::kShowFutureBars)) {
            gs::SetU16(s, gs::kShowFutureBars, 0);
            axisEnd_ = 0;
            ShowMessage("The new end date limit means that the graph cannot be extended into the future.", "WARNING",
                        MsgButtons::Ok, MsgIcon::Exclamation);
        }
        Changed(true);
        return true;
    } else if (command == kCommandFuture) {
        // Only the axis end is worked out again: the display range, a date-range limit's included,
        // stays as it is shown.
        gs::SetU16(s, gs::kShowFutureBars, gs::U16(s, gs::kShowFutureBars) ? 0 : 1);
        axisEnd_ = 0;
        Changed(false);
        return true;
    } else {
        return false;
    }
    Changed(false);
    return true;
}

bool EodChartView::UpdateCommand(CommandUi& ui) const
{
    if (addedCommands_.Update(ui))
        return true;
    const GraphSetting& s = Setting();
    const uint32_t c = ui.command;
    const uint8_t code = gs::U8(s, gs::kBarPeriod);
    const DateRangeSetting range = ReadRange();
    const bool endFixed = (range.word & kRangeLimitOn) && (range.word & kRangeEndFixed);
    for (const StyleCommand& sc : kStyleCommands)
        if (c == sc.command) {
            ui.enabled = view_.graphSourceKind == 0;
            ui.checked = gs::U8(s, gs::kPriceDisplay) == sc.style;
            return true;
        }
    if (c == kCommandMidLine) {
        ui.enabled = false;
        return true;
    }
    if (c >= kCommandDailyBars && c < kCommandDailyBars + 6) {
        ui.enabled = BarRule();
        ui.checked = code == c - kCommandDailyBars + 1;
    } else if (c == kCommandMoreTimePerBar) {
        ui.enabled = BarRule() && code < kMaxBarCode;
    } else if (c == kCommandLessTimePerBar) {
        ui.enabled = BarRule() && code >= 2;
    } else if (c == kCommandDynamicBars) {
        ui.enabled = BarRule();
        ui.checked = code == 0;
    } else if (c >= kCommandFirstLimit && c < kCommandFirstLimit + 6) {
        ui.enabled = !(attach_.kindFlags & (kChartPointFigure | kChartReversal));
        ui.checked = IsRangeLimit(range, kLimitMonths[c - kCommandFirstLimit]);
    } else if (c == kCommandReduceRange) {
        ui.enabled = !(attach_.kindFlags & kChartPointFigure) && DaysFromTo(display_.start, display_.end) > 10;
    } else if (c == kCommandIncreaseRange) {
        ui.enabled = !(attach_.kindFlags & kChartPointFigure) && display_.start > firstPriceDate();
    } else if (c == kCommandLimitRange) {
        ui.enabled = !(attach_.kindFlags & kChartPointFigure);
        ui.checked = (range.word & kRangeLimitOn) != 0;
    } else if (c == kCommandFuture || c == kCommandFutureSettings) {
        ui.enabled = !(attach_.kindFlags & kChartBoxAxis) && display_.end == lastPriceDate() && !endFixed;
        if (c == kCommandFuture)
            ui.checked = gs::U16(s, gs::kShowFutureBars) != 0 && !endFixed;
    } else if (c == kCommandDateRange) {
        ui.enabled = true;
    } else {
        return false;
    }
    return true;
}

} // namespace qv
