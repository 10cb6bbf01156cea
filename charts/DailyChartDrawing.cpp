// The daily chart's drawing objects: loading, the line tool's mouse stages, selection, editing
// commands, commits with their undo, and the figures to draw.
#include "charts/DailyChartDrawing.h"

#include "chartmodel/EodChart.h"
#include "chartmodel/EodChartView.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/ModeReadout.h"
#include "chartmodel/ViewGraph.h"
#include "charts/DrawingObjectEdits.h"
#include "charts/DrawingObjectHits.h"
#include "charts/DrawingToolStages.h"
#include "core/DateText.h"
#include "core/LinesAndTextFiles.h"
#include "core/PackedPen.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "views/CommandUpdate.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qv {
namespace {

namespace gs = graphsetting;

constexpr uint32_t kStageWaiting = 1, kStageSelected = 2, kStagePressed = 3, kStageMoving = 4;
constexpr uint32_t kShortcutMask = 0x400;
constexpr uint16_t kBodyPart = 9;
constexpr uint8_t kRightShiftStart = 0x10;
constexpr uint32_t kCommandSelectFirst = 26136;
constexpr uint32_t kCommandNextAlt = 26133;
constexpr uint32_t kCommandPreviousAlt = 26134;
constexpr uint32_t kCommandDeleteAll = 26137;
constexpr uint32_t kCommandDeleteKey = 20611;
constexpr uint32_t kCommandDeleteAllKey = 20612;
constexpr uint32_t kCommandDeselect = 26149;
constexpr uint32_t kCommandExtendRight = 26534;
constexpr uint32_t kCommandExtendLeft = 27058;
constexpr uint32_t kCommandLineStyle = 26188;
constexpr uint32_t kCommandDisplaySettings = 26484, kCommandLineSettings = 27051;
constexpr uint32_t kCommandUndoLineEdit = 27023;
constexpr uint32_t kCommandEditText = 26180;
constexpr uint32_t kCommandArrow = 26176;
constexpr uint32_t kCommandTextNothing = 26141;
constexpr uint32_t kCommandBoxColours = 26177, kCommandTextFont = 26179;
constexpr uint32_t kCommandLineUpPrice = 26190, kCommandLineUpDate = 26191, kCommandSetAnchor = 26189;
constexpr uint16_t kLineUpPrice = 0x1, kLineUpDate = 0x2; // a text box's style flags
constexpr uint32_t kCommandLeftJustify = 20155, kCommandRightJustify = 20156, kCommandCentreJustify = 20157;
constexpr int32_t kTextSnap = 5;     // box offsets under this many pixels snap to the anchor
constexpr int32_t kTextBoxSmallest = 10; // a resized box's least width and height in pixels
constexpr int32_t kTextUnitsDpi = 96; // the screen's pixels per inch for the font scale
constexpr uint32_t kPercentChangeSubtype = 8;
constexpr size_t kPointPrice = 4;
constexpr uint32_t kArcSubtype = 1, kFanSubtype = 2, kGannSubtype = 3, kRegressionSubtype = 4;
constexpr uint32_t kRetracementSubtype = 5, kSpeedSubtype = 6, kQuadrantSubtype = 7;
constexpr uint8_t kDrawMainLine = 0x02, kDrawChannel = 0x04;
constexpr uint16_t kLabelBits = 0x0C, kPercentLabels = 0x08, kLevelsInPrice = 0x10, kRetracementGuides = 0x20;
// The level labels' font: its point size and the height it measures, against which crowded levels
// take a smaller size.
constexpr int kLabelPoints = 8, kLabelFontHeight = 13;
// The regression channel's width field: one standard error either side.
constexpr int32_t kChannelWidth = 1;
// The retracement's 100 and 0 levels and the quadrant's outer four take the plain pen.
constexpr uint32_t kRetracementPlain = 0x03, kQuadrantPlain = 0x1B;

// The settings mask and the partial trend and quadrant flags that new objects take once the user set
// them as the default (0 mask: the current setting only).
uint16_t& DefaultObjectSettingsMask()
{
    static uint16_t mask = 0;
    return mask;
}

uint16_t& DefaultLevelLineFlags()
{
    static uint16_t flags = 0;
    return flags;
}

// Partial trends and quadrants: the lines with level labels, linear calculation and time bars.
bool HasLineSettings(const LineObject& object)
{
    return object.kind == LineObjectKind::LineStudy &&
           (object.subtype() == kRegressionSubtype || object.subtype() == kQuadrantSubtype);
}

// The program-wide default pen of the anchored studies (Gann angle, quadrant and percentage change).
uint32_t& AnchoredStudyPen()
{
    static uint32_t pen = 0x0000FF;
    return pen;
}

bool IsLineKind(const LineObject& object)
{
    return object.kind == LineObjectKind::LineStudy || object.kind == LineObjectKind::Pitchfork;
}

// The days one bar stands for on average, for dates beyond either end of the history.
int32_t DaysPerBar(const std::vector<FoldedBar>& bars)
{
    return std::max(1, (bars.back().last - bars.front().first + 1) / int32_t(bars.size()));
}

// The scale's pixels per bar, to count bars off left of its first one.
double PixelsPerBar(const TimeScale& scale)
{
    return double(scale.lastX - scale.firstX) / std::max(1, scale.lastIndex - scale.firstIndex);
}

} // namespace

DailyChartDrawing::DailyChartDrawing(CViewGraph& view, EodChartView& eod, ShareKeyFn shareKey)
    : view_(view), eod_(&eod), shareKey_(std::move(shareKey))
{
}

DailyChartDrawing::DailyChartDrawing(CViewGraph& view, const DrawingAxis& axis, ShareKeyFn shareKey)
    : view_(view), axis_(&axis), shareKey_(std::move(shareKey))
{
}

int32_t DailyChartDrawing::LastPosition() const
{
    return axis_ ? axis_->LastPosition() : int32_t(eod_->days().back().date);
}

bool DailyChartDrawing::HasPositions() const
{
    if (axis_)
        return axis_->HasPositions();
    return view_.timeBands && !eod_->days().empty();
}

DailyChartDrawing::~DailyChartDrawing()
{
    for (LineObjectList& list : lists_)
        FreeLineObjectList(list);
    FreeLineObjectList(settingTrend_);
}

std::array<LineObjectList*, kLayoutPanes> DailyChartDrawing::Lists()
{
    std::array<LineObjectList*, kLayoutPanes> lists{};
    for (size_t i = 0; i < lists_.size(); ++i)
        lists[i] = &lists_[i];
    return lists;
}

bool DailyChartDrawing::ShareSource() const { return view_.graphSourceKind == 0 && shareKey_ && shareKey_(); }

int DailyChartDrawing::Setting() const { return view_.SettingIndex(); }

std::optional<KeyedItemKey> DailyChartDrawing::PaneKey(const GraphPane& pane) const
{
    std::optional<uint32_t> share = view_.graphSourceKind == 0 && shareKey_ ? shareKey_() : std::nullopt;
    if (!share || !pane.firstSeries)
        return std::nullopt;
    // A box chart keeps its objects apart from the bars' own.
    const uint16_t kind = (view_.viewFlags & 2) ? 5 : axis_ ? axis_->StoreKind() : 0;
    return KeyedItemKey{*share, kind, pane.firstSeries->studyKey};
}

GraphPane* DailyChartDrawing::PaneOf(const LineObjectList* list) const
{
    for (size_t i = 0; i < lists_.size(); ++i)
        if (&lists_[i] == list)
            return view_.FindPane(uint32_t(i));
    return nullptr;
}

GraphPane* DailyChartDrawing::SeriesPaneAt(int32_t x, int32_t y) const
{
    GraphPane* pane = nullptr;
    TimeBand* band = nullptr;
    GraphSeries* series = nullptr;
    view_.HitTestPane(x, y, &pane, &band, &series);
    if (!pane || pane->id >= uint32_t(kLayoutPanes) || !pane->firstSeries || !pane->firstSeries->range)
        return nullptr;
    return pane;
}

void DailyChartDrawing::Reload()
{
    // A held object stays while the chart shows the share it belongs to; another share's objects
    // must never be saved under this one's key.
    const std::optional<uint32_t> share = view_.graphSourceKind == 0 && shareKey_ ? shareKey_() : std::nullopt;
    const bool sameShare = share == loadedShare_;
    loadedShare_ = share;
    if ((selected_ || placing_) && sameShare)
        return;
    Deselect();
    for (size_t i = 0; i < lists_.size(); ++i) {
        FreeLineObjectList(lists_[i]);
        const GraphPane* pane = view_.FindPane(uint32_t(i));
        if (std::optional<KeyedItemKey> key = pane ? PaneKey(*pane) : std::nullopt)
            LoadLineObjects(lists_[i], *key);
    }
}

// ---- Date positions -------------------------------------------------------------------------------

int32_t DailyChartDrawing::DayIndexOfBar(int32_t bar) const
{
    const std::vector<FoldedBar>& bars = eod_->bars();
    if (bars.empty())
        return bar;
    const int32_t n = int32_t(bars.size());
    const int32_t perBar = DaysPerBar(bars);
    if (bar < 0)
        return bars.front().first + bar * perBar;
    if (bar >= n)
        return bars.back().last + (bar - (n - 1)) * perBar;
    return bars[size_t(bar)].last;
}

int32_t DailyChartDrawing::BarOfDayIndex(int32_t day) const
{
    const std::vector<FoldedBar>& bars = eod_->bars();
    if (bars.empty())
        return day;
    const int32_t n = int32_t(bars.size());
    const int32_t perBar = DaysPerBar(bars);
    if (day < bars.front().first)
        return -((bars.front().first - day + perBar - 1) / perBar);
    if (day > bars.back().last)
        return n - 1 + (day - bars.back().last + perBar - 1) / perBar;
    auto it = std::lower_bound(bars.begin(), bars.end(), day, [](const FoldedBar& b, int32_t d) { return b.last < d; });
    return int32_t(it - bars.begin());
}

// Left of the first bar the scale's own rounding runs toward zero both ways, which can move a point
// by a bar on its way back: there the bars are counted off with rounding to the nearest.
int32_t DailyChartDrawing::BarAtX(int32_t x) const
{
    const TimeScale& scale = view_.timeBands->scale;
    const double perBar = PixelsPerBar(scale);
    if (x >= scale.firstX || perBar <= 0)
        return view_.XToIndexScale(&scale, x);
    return scale.firstIndex + int32_t(std::floor((x - scale.firstX) / perBar + 0.5));
}

int32_t DailyChartDrawing::XOfBar(int32_t bar) const
{
    const TimeScale& scale = view_.timeBands->scale;
    const double perBar = PixelsPerBar(scale);
    if (bar >= scale.firstIndex || perBar <= 0)
        return view_.IndexToXScale(&scale, bar);
    return scale.firstX + int32_t(std::floor(perBar * (bar - scale.firstIndex) + 0.5));
}

int32_t DailyChartDrawing::DatePositionAtX(int32_t x) const
{
    if (axis_)
        return axis_->PositionAtX(x);
    const std::vector<DayRecord>& days = eod_->days();
    if (!view_.timeBands || days.empty())
        return 0;
    const int32_t day = DayIndexOfBar(BarAtX(x));
    const int32_t last = int32_t(days.size()) - 1;
    if (day < 0)
        return days.front().date + day;
    if (day > last)
        return days.back().date + (day - last);
    return days[size_t(day)].date;
}

int32_t DailyChartDrawing::BarOfDatePosition(int32_t position) const
{
    const std::vector<DayRecord>& days = eod_->days();
    const int32_t last = int32_t(days.size()) - 1;
    int32_t day;
    if (position < days.front().date)
        day = position - days.front().date;
    else if (position > days.back().date)
        day = last + (position - days.back().date);
    else
        day = int32_t(std::lower_bound(days.begin(), days.end(), position,
                                       [](const DayRecord& d, int32_t p) { return int32_t(d.date) < p; }) -
                      days.begin());
    return BarOfDayIndex(day);
}

int32_t DailyChartDrawing::XOfDatePosition(int32_t position) const
{
    if (axis_)
        return axis_->XOfPosition(position);
    if (!view_.timeBands || eod_->days().empty())
        return 0;
    return XOfBar(BarOfDatePosition(position));
}

// ---- Points and screen geometry -------------------------------------------------------------------

void DailyChartDrawing::SetPoint(LineObject& object, int index, const GraphPane& pane, int32_t x, int32_t y) const
{
    uint8_t* point = object.point(index);
    StoreI32(point, DatePositionAtX(x));
    StoreF32(point + kPointPrice, view_.YToValue(pane.firstSeries->range, y));
}

ScreenPoint DailyChartDrawing::PointOnScreen(const LineObject& object, int index, const GraphPane& pane) const
{
    const float price = LoadF32(object.stored.data() + kLinePointsOffset + kLinePointSize * size_t(index) + kPointPrice);
    return {XOfDatePosition(object.pointTime(index)), view_.ValueToY(pane.firstSeries->range, price, false)};
}

void DailyChartDrawing::UpdateScreen(LineObject& object) const
{
    // An object not placed on the screen lies far off it, where no click can catch it.
    constexpr ScreenPoint kOffScreen{-1000000, -1000000};
    object.visible = false;
    object.screen.fill(kOffScreen);
    const GraphPane* pane = PaneOf(object.owner);
    if (object.kind == LineObjectKind::Text && pane && pane->visible && pane->firstSeries && pane->firstSeries->range) {
        const TextBoxBox b = TextFigure(object, *pane).box;
        object.screen = {ScreenPoint{b.left, b.top}, ScreenPoint{b.right, b.top}, ScreenPoint{b.right, b.bottom},
                         ScreenPoint{b.left, b.bottom}};
        // On the screen a box is drawn only when it lies wholly inside its pane.
        object.visible = b.left >= pane->left && b.right <= pane->right && b.top >= pane->top && b.bottom <= pane->bottom;
        return;
    }
    if (!IsLineKind(object) || !pane || !pane->visible || !pane->firstSeries || !pane->firstSeries->range ||
        object.pointCount() < 2)
        return;
    const PaneBox box{pane->left, pane->top, pane->right, pane->bottom};
    if (object.kind == LineObjectKind::Pitchfork) {
        std::vector<ScreenPoint> points;
        for (int i = 0; i < std::min<int>(object.pointCount(), 3); ++i)
            points.push_back(object.screen[size_t(i)] = PointOnScreen(object, i, *pane));
        object.farEnds.fill({});
        object.visible = !PitchforkLines(points, box, &object.farEnds).empty();
        return;
    }
    const LineStudyFigure figure = ComputeLineStudyFigure(PointOnScreen(object, 0, *pane), PointOnScreen(object, 1, *pane),
                                                          box, ObjectStyleFlags(object));
    object.screen = {figure.first, figure.second, figure.leftEnd, figure.rightEnd};
    object.visible = figure.visible;
}

void DailyChartDrawing::UpdateAllScreens()
{
    for (LineObjectList& list : lists_)
        for (LineObject* o = list.head; o; o = o->next)
            UpdateScreen(*o);
    if (selected_) {
        work_.owner = selected_->owner;
        UpdateScreen(work_);
    }
}

void DailyChartDrawing::AddSettingTrend(const GraphSetting& setting, const GraphPane& price, int32_t from,
                                        float fromPrice, int32_t to, float toPrice)
{
    const bool trend = gs::U32(setting, gs::kTrendShown) != 0, channel = gs::U32(setting, gs::kConfidenceShown) != 0;
    LineObject* object = AddLineObject(settingTrend_, kRegressionSubtype, gs::U32(setting, gs::kTrendPen));
    object->flags = uint8_t((trend ? kDrawMainLine : 0) | (channel ? kDrawChannel : 0));
    object->penCopy = gs::U32(setting, gs::kConfidencePen);
    object->owner = &lists_[price.id % kLayoutPanes];
    StoreI32(object->point(0), from);
    StoreF32(object->point(0) + kPointPrice, fromPrice);
    StoreI32(object->point(1), to);
    StoreF32(object->point(1) + kPointPrice, toPrice);
    object->setPointCount(2);
    trendDeviation_ = int32_t(std::min<uint32_t>(gs::U32(setting, gs::kTrendDeviation), 5));
}

void DailyChartDrawing::AddTrendLineFromSetting()
{
    FreeLineObjectList(settingTrend_);
    const GraphSetting* setting = view_.ActiveSetting();
    GraphPane* price = view_.FindPane(kPanePrice);
    if (!setting || !price || (gs::U32(*setting, gs::kTrendShown) == 0 && gs::U32(*setting, gs::kConfidenceShown) == 0))
        return;
    if (!eod_) {
        // A chart of its own axis gives the ranges; each study runs between the closes at its ends.
        if (!axis_ || !trendRanges_)
            return;
        for (const auto& [from, to] : trendRanges_()) {
            const std::vector<PlacedBar> first = axis_->GetBarsInRange(from, from), last = axis_->GetBarsInRange(to, to);
            if (!first.empty() && !last.empty())
                AddSettingTrend(*setting, *price, from, first.front().values.close, to, last.back().values.close);
        }
        return;
    }
    const std::vector<DayRecord>& days = eod_->days();
    const std::vector<FoldedBar>& bars = eod_->bars();
    if (!ShareSource() || days.empty() || bars.empty() || eod_->BoxMode())
        return;
    // The end is the shown end; the start by the range mode: the shown days, the whole history or the
    // last n records.
    const int32_t endDay = bars.back().last;
    int32_t startDay = bars.front().first;
    const uint32_t mode = gs::U32(*setting, gs::kTrendRange);
    if (mode == 1)
        startDay = 0;
    else if (mode == 2)
        startDay = std::max(endDay + 1 - int32_t(std::max<uint32_t>(gs::U32(*setting, gs::kTrendPeriods), 2)), 0);
    AddSettingTrend(*setting, *price, days[size_t(startDay)].date, days[size_t(startDay)].close, days[size_t(endDay)].date,
                    days[size_t(endDay)].close);
}

std::vector<DrawnLineObject> DailyChartDrawing::Figures()
{
    UpdateAllScreens();
    AddTrendLineFromSetting();
    for (LineObject* o = settingTrend_.head; o; o = o->next)
        UpdateScreen(*o);
    std::vector<DrawnLineObject> figures;
    const int setting = Setting();
    auto add = [&](const LineObject& object, bool handles) {
        const GraphPane* pane = PaneOf(object.owner);
        if (!pane || !object.visible)
            return;
        DrawnLineObject drawn;
        drawn.pane = {pane->left, pane->top, pane->right, pane->bottom};
        const uint16_t style = ObjectStyleFlags(object);
        drawn.from = (style & kExtendLeft) ? object.screen[2] : object.screen[0];
        drawn.to = (style & kExtendRight) ? object.screen[3] : object.screen[1];
        drawn.pen = object.penOrTime();
        drawn.secondPen = object.penCopy;
        const uint32_t subtype = object.kind == LineObjectKind::LineStudy ? object.subtype() : 0;
        drawn.mainLine = (object.flags & kDrawMainLine) && subtype != kRegressionSubtype && subtype != kQuadrantSubtype;
        // Drawn or moved by the mouse: no labels, and a measuring study shows its time guides.
        drawn.shapes = StudyFigure(object, *pane, handles && (placing_ || view_.modeRecord.stage == kStageMoving));
        if (object.kind == LineObjectKind::Text) {
            drawn.mainLine = false;
            drawn.textBox = TextFigure(object, *pane);
            // Only while the mouse moves or sizes it: a box held for its menu or a dialog is drawn whole.
            drawn.textBox->outlineOnly = handles && view_.modeRecord.stage >= kStageMoving && object.selectedPart != 0;
        }
        if (object.kind == LineObjectKind::Pitchfork) {
            drawn.mainLine = false;
            const std::span<const ScreenPoint> points(object.screen.data(), size_t(std::min<int>(object.pointCount(), 3)));
            drawn.shapes.segments = PitchforkLines(points, drawn.pane, nullptr);
        }
        if (object.kind == LineObjectKind::LineStudy && object.alarm() != 0 && object.pointCount() >= 2)
            drawn.bell = DrawnLineObject::AlarmBell{
                ScreenPoint{(object.screen[0].x + object.screen[1].x) / 2, (object.screen[0].y + object.screen[1].y) / 2},
                PenColourOf(drawn.pen), view_.backgroundColour, (object.alarm() & 4) != 0};
        if (handles)
            for (uint16_t part : HandleParts(object)) {
                if (part == object.selectedPart)
                    drawn.smallHandle = int(drawn.handles.size());
                drawn.handles.push_back(PartPosition(object, part));
            }
        figures.push_back(std::move(drawn));
    };
    for (const LineObjectList& list : lists_)
        for (const LineObject* o = list.head; o; o = o->next)
            if (o != selected_ && ObjectVisibleIn(*o, setting))
                add(*o, false);
    if (selected_)
        add(work_, true);
    for (const LineObject* o = settingTrend_.head; o; o = o->next)
        add(*o, false);
    return figures;
}

// ---- Study figures --------------------------------------------------------------------------------

StudyShapes DailyChartDrawing::StudyFigure(const LineObject& object, const GraphPane& pane, bool dragging) const
{
    StudyShapes shapes;
    if (object.kind != LineObjectKind::LineStudy || object.pointCount() < 2 || !pane.firstSeries || !pane.firstSeries->range)
        return shapes;
    const PaneBox box{pane.left, pane.top, pane.right, pane.bottom};
    const ScreenPoint p1 = object.screen[0], p2 = object.screen[1];
    const uint16_t style = ObjectStyleFlags(object);
    switch (object.subtype()) {
    case kArcSubtype: shapes.arcs = FibonacciArcs(p1, p2); break;
    case kFanSubtype: AddRatioRays(p1, p2, box, kFanRatios, shapes); break;
    case kGannSubtype: AddGannRays(p1, p2, box, shapes); break;
    case kSpeedSubtype: AddRatioRays(p1, p2, box, kSpeedRatios, shapes); break;
    case kRetracementSubtype: {
        const ValueRange* range = pane.firstSeries->range;
        const bool screenSpaced = (range->flags & kRangeLogarithmic) && !(style & kLevelsInPrice);
        const float price1 = LoadF32(object.stored.data() + kLinePointsOffset + kPointPrice);
        const float price2 = LoadF32(object.stored.data() + kLinePointsOffset + kLinePointSize + kPointPrice);
        std::array<int32_t, kRetracementLevels.size()> ys{};
        std::array<double, kRetracementLevels.size()> prices{};
        for (size_t i = 0; i < ys.size(); ++i) {
            const double level = kRetracementLevels[i];
            ys[i] = screenSpaced ? ScreenLevelY(p1.y, p2.y, level)
                                 : view_.ValueToY(range, float(LevelPrice(price1, price2, level)), false);
            prices[i] = screenSpaced ? view_.YToValue(range, ys[i]) : LevelPrice(price1, price2, level);
        }
        const int32_t startX = (style & kExtendLeft) ? box.left : std::max(box.left, p1.x);
        AddLevelLines(ys, startX, box.right, box, kRetracementPlain, shapes);
        if (style & kRetracementGuides)
            for (int32_t x : TimeGuideXs(p1.x, p2.x, box.right, box))
                shapes.segments.push_back({{x, box.top}, {x, box.bottom}, true});
        if ((style & kLabelBits) && !dragging) {
            const bool percent = (style & kPercentLabels) != 0;
            AddLevelLabels(ys, percent ? std::span<const double>(kRetracementLevels) : std::span<const double>(prices),
                           percent, startX, -1, kLabelPoints, kLabelFontHeight, shapes);
        }
        break;
    }
    case kRegressionSubtype:
    case kQuadrantSubtype:
    case kPercentChangeSubtype: AddMeasuredStudy(object, pane, dragging, shapes); break;
    default: break;
    }
    return shapes;
}

std::optional<BarRangeValues> GetBarValuesInRange(std::span<const PlacedBar> bars, bool volume)
{
    if (bars.empty())
        return std::nullopt;
    auto value = [volume](const PlacedBar& b) { return volume ? b.values.volume : b.values.close; };
    BarRangeValues out;
    out.first = out.high = out.low = value(bars.front());
    out.last = value(bars.back());
    for (const PlacedBar& b : bars) {
        out.high = std::max(out.high, value(b));
        out.low = std::min(out.low, value(b));
        out.volume += b.values.volume;
    }
    return out;
}

std::vector<PlacedBar> DailyChartDrawing::BarsBetween(int32_t from, int32_t to) const
{
    if (axis_)
        return axis_->GetBarsInRange(from, to);
    std::vector<PlacedBar> placed;
    const std::vector<FoldedBar>& bars = eod_->bars();
    if (bars.empty() || eod_->days().empty() || !view_.timeBands)
        return placed;
    const int32_t last = int32_t(bars.size()) - 1;
    int32_t b1 = std::clamp(BarOfDatePosition(from), 0, last);
    int32_t b2 = std::clamp(BarOfDatePosition(to), 0, last);
    if (b1 > b2)
        std::swap(b1, b2);
    for (int32_t b = b1; b <= b2; ++b)
        placed.push_back({XOfBar(b), bars[size_t(b)].values});
    return placed;
}

void DailyChartDrawing::AddMeasuredStudy(const LineObject& object, const GraphPane& pane, bool dragging,
                                         StudyShapes& shapes) const
{
    const std::vector<PlacedBar> bars = BarsBetween(object.pointTime(0), object.pointTime(1));
    if (bars.empty())
        return;
    const ValueRange* range = pane.firstSeries->range;
    const PaneBox box{pane.left, pane.top, pane.right, pane.bottom};
    const uint16_t style = ObjectStyleFlags(object);
    const int32_t x1 = bars.front().x, x2 = bars.back().x;
    if (dragging)
        for (int32_t x : TimeGuideXs(x1, x2, x2 + 1, box))
            shapes.segments.push_back({{x, box.top}, {x, box.bottom}, false, false, true});
    auto y = [&](float value) { return view_.ValueToY(range, value, false); };
    // The fitted closes in hundredths of a pixel, drawn from the first bar's x to the last's.
    auto addRegression = [&](bool dotted, bool channel) {
        std::vector<double> ys;
        for (const PlacedBar& b : bars)
            ys.push_back(100.0 * y(b.values.close));
        const std::optional<LineFit> fit = FitLeastSquares(ys);
        if (!fit || x1 == x2)
            return;
        const double perPixel = (fit->At(double(ys.size())) - fit->At(1)) / 100 / double(x2 - x1);
        const int32_t left = (style & kExtendLeft) ? box.left : x1, right = (style & kExtendRight) ? box.right : x2;
        const double yLeft = fit->At(1) / 100 + perPixel * (left - x1), yRight = fit->At(1) / 100 + perPixel * (right - x1);
        const ScreenPoint from{left, RoundHalfUp(yLeft)}, to{right, RoundHalfUp(yRight)};
        if (object.flags & kDrawMainLine || dotted)
            shapes.segments.push_back({from, to, dotted});
        if (!channel)
            return;
        const bool settingTrend = settingTrend_.head == &object;
        const int32_t offset = ChannelOffset(fit->s, settingTrend ? trendDeviation_ : kChannelWidth);
        for (int32_t sign : {-1, 1})
            shapes.segments.push_back({{from.x, from.y + sign * offset}, {to.x, to.y + sign * offset}, false, true});
    };
    switch (object.subtype()) {
    case kRegressionSubtype: addRegression(false, (object.flags & kDrawChannel) != 0); break;
    case kQuadrantSubtype: {
        float low = bars.front().values.low, high = bars.front().values.high;
        for (const PlacedBar& b : bars) {
            low = std::min(low, b.values.low);
            high = std::max(high, b.values.high);
        }
        const bool screenSpaced = (range->flags & kRangeLogarithmic) && !(style & kLevelsInPrice);
        std::array<int32_t, kQuadrantLevels.size()> ys{};
        std::array<double, kQuadrantLevels.size()> prices{};
        for (size_t i = 0; i < ys.size(); ++i) {
            prices[i] = LevelPrice(high, low, kQuadrantLevels[i]);
            ys[i] = screenSpaced ? ScreenLevelY(y(high), y(low), kQuadrantLevels[i]) : y(float(prices[i]));
        }
        const int32_t left = (style & kExtendLeft) ? box.left : x1, right = (style & kExtendRight) ? box.right : x2;
        AddLevelLines(ys, left, right, box, kQuadrantPlain, shapes);
        if (style & kLabelBits) {
            const bool percent = (style & kPercentLabels) != 0;
            AddLevelLabels(ys, percent ? std::span<const double>(kQuadrantLevels) : std::span<const double>(prices), percent,
                           left, right, kLabelPoints, kLabelFontHeight, shapes);
        }
        addRegression(true, false);
        break;
    }
    case kPercentChangeSubtype: {
        const BarRangeValues closes = *GetBarValuesInRange(bars, false);
        const float price1 = closes.first, price2 = closes.last;
        int32_t labelY = y(price2);
        for (const ScreenPoint p : {ScreenPoint{x1, y(price1)}, ScreenPoint{x2, y(price2)}}) {
            if (p.y <= box.top || p.y >= box.bottom)
                continue;
            const ScreenPoint top{p.x, p.y - (p.y - box.top) / 4};
            shapes.segments.push_back({p, top, true});
            if (p.x == x2)
                labelY = top.y;
        }
        const int32_t labelX = object.selectedPart == 2 && view_.modeRecord.stage == kStageMoving ? x1 : x2;
        shapes.labels.push_back({{labelX, labelY}, PercentChangeLabel(price1, price2), false, true});
        break;
    }
    default: break;
    }
}

// ---- Placing and selecting ------------------------------------------------------------------------

void DailyChartDrawing::StartLine(GraphPane& pane, uint32_t modeSubtype, int32_t x, int32_t y)
{
    const int subtype = ObjectSubtypeOfMode(int(modeSubtype));
    const GraphSetting* setting = view_.ActiveSetting();
    const uint32_t pen = IsAnchoredStudy(uint32_t(subtype)) ? AnchoredStudyPen()
                         : setting                        ? gs::U32(*setting, gs::kNewObjectColour)
                                                          : 0x0000FF;
    LineObject* object = AddLineObject(lists_[pane.id], uint32_t(subtype), pen);
    if (uint32_t(subtype) == kPercentChangeSubtype)
        object->flags &= uint8_t(~kLineObjectSaved);
    object->flags |= kObjectNewFlag;
    SetObjectSettingsMask(*object, NewObjectSettingsMask(DefaultObjectSettingsMask(), Setting()));
    if (HasLineSettings(*object))
        SetObjectStyleFlags(*object, uint16_t(ObjectStyleFlags(*object) | DefaultLevelLineFlags()));
    SetPoint(*object, 0, pane, x, y);
    std::memcpy(object->point(1), object->point(0), kLinePointSize);
    object->selectedPart = 2;
    selected_ = object;
    work_ = *object;
    placing_ = true;
    press_ = {x, y};
}

// The pitchfork's first point at the press; its second follows the mouse until the release.
void DailyChartDrawing::StartPitchfork(GraphPane& pane, int32_t x, int32_t y)
{
    const GraphSetting* setting = view_.ActiveSetting();
    LineObject* object =
        AddPitchforkObject(lists_[pane.id], 0, setting ? gs::U32(*setting, gs::kNewObjectColour) : 0x0000FF);
    object->flags |= kObjectNewFlag;
    SetObjectSettingsMask(*object, NewObjectSettingsMask(0, Setting()));
    SetPoint(*object, 0, pane, x, y);
    std::memcpy(object->point(1), object->point(0), kLinePointSize);
    object->setPointCount(2);
    object->selectedPart = 2;
    selected_ = object;
    work_ = *object;
    placing_ = true;
    press_ = {x, y};
}

void DailyChartDrawing::PlaceTextBox(GraphPane& pane, int32_t x, int32_t y)
{
    // The anchor is read before the editor opens: the chart may be built again while it is up, which
    // frees its panes.
    const uint32_t paneId = pane.id;
    const int32_t date = DatePositionAtX(x);
    const float price = view_.YToValue(pane.firstSeries->range, y);
    const std::optional<std::string> text = textDialogs_.editText ? textDialogs_.editText(std::string()) : std::nullopt;
    if (!text || text->empty()) {
        view_.CancelMode();
        return;
    }
    LineObject* object = AddTextObject(lists_[paneId % kLayoutPanes]);
    SetObjectSettingsMask(*object, NewObjectSettingsMask(0, Setting()));
    StoreI32(object->stored.data() + textbox::kAnchorTime, date);
    StoreF32(object->stored.data() + textbox::kAnchorPrice, price);
    const size_t length = std::min(text->size(), kTextMaxLength - 1);
    std::memcpy(object->stored.data() + kTextOffset, text->data(), length);
    StoreU32(object->stored.data() + kTextLengthOffset, uint32_t(length));
    // A box drawn only while wholly inside its pane is placed there: left of or above the click
    // where it would run over the pane's right or bottom edge.
    if (const GraphPane* placed = view_.FindPane(paneId); placed && placed->firstSeries && placed->firstSeries->range) {
        uint8_t* s = object->stored.data();
        const double scale =
            TextBoxScale(LoadI32(s + textbox::kPointSize), LoadI32(s + textbox::kFont), kTextUnitsDpi, 1.0);
        const std::array<int32_t, 2> offsets =
            FitTextBoxOffsets(TextAnchor(*object, *placed), LoadI32(s + textbox::kWidth), LoadI32(s + textbox::kHeight),
                              scale, {placed->left, placed->top, placed->right, placed->bottom});
        StoreI32(s + textbox::kLeftOffset, offsets[0]);
        StoreI32(s + textbox::kTopOffset, offsets[1]);
    }
    selected_ = object;
    work_ = *object;
    Commit();
}

ScreenPoint DailyChartDrawing::TextAnchor(const LineObject& object, const GraphPane& pane) const
{
    const float price = LoadF32(object.stored.data() + textbox::kAnchorPrice);
    return {XOfDatePosition(LoadI32(object.stored.data() + textbox::kAnchorTime)),
            view_.ValueToY(pane.firstSeries->range, price, false)};
}

DrawnTextBox DailyChartDrawing::TextFigure(const LineObject& object, const GraphPane& pane) const
{
    const uint8_t* s = object.stored.data();
    DrawnTextBox t;
    const ScreenPoint anchor = TextAnchor(object, pane);
    t.pointSize = LoadI32(s + textbox::kPointSize);
    const double scale = TextBoxScale(t.pointSize, LoadI32(s + textbox::kFont), kTextUnitsDpi, 1.0);
    t.box = TextBoxRect(anchor, LoadI32(s + textbox::kLeftOffset), LoadI32(s + textbox::kTopOffset),
                        LoadI32(s + textbox::kWidth), LoadI32(s + textbox::kHeight), scale);
    t.transparent = (ObjectStyleFlags(object) & textbox::kTransparent) != 0;
    t.textColour = LoadU32(s + textbox::kTextColour) & 0xFFFFFF;
    t.frame = LoadU32(s + textbox::kFrameColour) & 0xFFFFFF;
    t.fill = LoadU32(s + textbox::kFillColour) & 0xFFFFFF;
    t.alignment = std::min<uint32_t>(LoadU32(s + textbox::kAlignment), 2);
    t.text.assign(reinterpret_cast<const char*>(s + kTextOffset), std::min<size_t>(object.textLength(), kTextMaxLength));
    std::memcpy(t.font.data(), s + textbox::kFont, t.font.size());
    t.arrow = TextBoxArrowFigure(t.box, anchor, LoadU32(s + textbox::kArrowStyle), LoadU32(s + textbox::kArrowSize), scale);
    return t;
}

namespace {

// A box's font, point size and text colour become those of the boxes made from now on.
void KeepTextDefaults(const LineObject& object)
{
    TextBoxDefaults& defaults = DefaultTextBox();
    std::memcpy(defaults.font.data(), object.stored.data() + textbox::kFont, defaults.font.size());
    defaults.pointSize = LoadI32(object.stored.data() + textbox::kPointSize);
    defaults.textColour = LoadU32(object.stored.data() + textbox::kTextColour);
}

} // namespace

bool DailyChartDrawing::RunTextBoxCommand(uint32_t command)
{
    if (!selected_ || placing_ || selected_->kind != LineObjectKind::Text)
        return false;
    uint8_t* s = work_.stored.data();
    switch (command) {
    case kCommandSetAnchor:
        // The box stays selected: its next move takes the anchor along.
        work_.fixedPoint = selected_->fixedPoint = true;
        view_.InvalidateWindow();
        return true;
    case kCommandEditText: {
        const std::string text(reinterpret_cast<const char*>(s + kTextOffset),
                               std::min<size_t>(work_.textLength(), kTextMaxLength));
        const std::optional<std::string> edited = textDialogs_.editText ? textDialogs_.editText(text) : std::nullopt;
        if (!edited)
            return true;
        const size_t length = std::min(edited->size(), kTextMaxLength - 1);
        std::memcpy(s + kTextOffset, edited->data(), length);
        s[kTextOffset + length] = 0;
        StoreU32(s + kTextLengthOffset, uint32_t(length));
        break;
    }
    case kCommandArrow: {
        const auto chosen = textDialogs_.arrow ? textDialogs_.arrow(LoadU32(s + textbox::kArrowStyle),
                                                                    LoadU32(s + textbox::kArrowSize))
                                               : std::nullopt;
        if (!chosen)
            return true;
        StoreU32(s + textbox::kArrowStyle, chosen->first);
        StoreU32(s + textbox::kArrowSize, chosen->second);
        break;
    }
    case kCommandBoxColours: {
        bool asDefault = false;
        if (!textDialogs_.boxColours || !textDialogs_.boxColours(s, asDefault))
            return true;
        if (asDefault)
            KeepTextDefaults(work_);
        break;
    }
    case kCommandTextFont:
        if (!textDialogs_.font || !textDialogs_.font(s))
            return true;
        KeepTextDefaults(work_);
        break;
    case kCommandLineUpPrice:
    case kCommandLineUpDate: {
        // The two line-up rules exclude each other.
        const uint16_t bit = command == kCommandLineUpPrice ? kLineUpPrice : kLineUpDate;
        uint16_t style = ObjectStyleFlags(work_) ^ bit;
        if (style & bit)
            style &= uint16_t(~(kLineUpPrice | kLineUpDate) | bit);
        SetObjectStyleFlags(work_, style);
        break;
    }
    case kCommandLeftJustify: StoreU32(s + textbox::kAlignment, 0); break;
    case kCommandCentreJustify: StoreU32(s + textbox::kAlignment, 1); break;
    case kCommandRightJustify: StoreU32(s + textbox::kAlignment, 2); break;
    case kCommandTextNothing: return true;
    default: return false;
    }
    Commit();
    return true;
}

void DailyChartDrawing::Select(LineObject* object, uint16_t part, uint32_t stage)
{
    selected_ = object;
    object->selectedPart = part;
    work_ = *object;
    const uint32_t mode = object->kind == LineObjectKind::Text ? kModeGraphText
                          : object->kind == LineObjectKind::Pitchfork ? kModePitchfork
                                                                      : kModeLineStudy;
    view_.SetMode(true, mode, 0, stage, 0xFFFF);
    view_.UpdateCursor(false);
}

bool DailyChartDrawing::SelectAt(int32_t x, int32_t y, bool drag)
{
    GraphPane* pane = SeriesPaneAt(x, y);
    if (!pane)
        return false;
    UpdateAllScreens();
    ObjectSelection found = FindObjectAt(lists_[pane->id], {x, y}, Setting());
    if (!found.object)
        return false;
    Select(found.object, found.part, drag ? kStagePressed : kStageSelected);
    press_ = {x, y};
    return true;
}

void DailyChartDrawing::Deselect()
{
    if (selected_ && placing_) {
        // A line cancelled before its release goes.
        LineObjectList* list = selected_->owner;
        for (LineObject** at = &list->head; *at; at = &(*at)->next)
            if (*at == selected_) {
                *at = selected_->next;
                delete selected_;
                break;
            }
    } else if (selected_) {
        selected_->selectedPart = 0;
    }
    selected_ = nullptr;
    placing_ = false;
    menuCopy_ = false;
}

bool DailyChartDrawing::IdlePress(uint32_t keys, int32_t x, int32_t y)
{
    if (!ShareSource())
        return false;
    if ((keys & kMouseKeyControl) && !(keys & kMouseKeyShift)) {
        // Ctrl on a window where no partial trend may go is refused, whatever the window shows.
        GraphPane* under = nullptr;
        TimeBand* band = nullptr;
        GraphSeries* series = nullptr;
        view_.HitTestPane(x, y, &under, &band, &series);
        const std::string refusal =
            under ? DrawRefusalText(kModeLineStudy, kPartialTrendMode, under->id, (view_.viewFlags & 2) != 0) : "";
        if (!refusal.empty()) {
            ShowMessage(refusal);
            return true;
        }
    }
    GraphPane* pane = SeriesPaneAt(x, y);
    if (!pane)
        return false;
    if (keys & kMouseKeyShift) {
        view_.SetMode(true, kModeLineStudy, 0, kStageWaiting, kShortcutMask);
        view_.UpdateCursor(false);
        StartLine(*pane, 0, x, y);
        if (rightShift_)
            selected_->flags |= kRightShiftStart;
        work_.flags = selected_->flags;
        return true;
    }
    if (keys & kMouseKeyControl) {
        // Ctrl starts a partial trend line.
        view_.SetMode(true, kModeLineStudy, kPartialTrendMode, kStageWaiting, kShortcutMask);
        view_.UpdateCursor(false);
        StartLine(*pane, kPartialTrendMode, x, y);
        return true;
    }
    return SelectAt(x, y, true);
}

// ---- The mouse in the drawing modes ---------------------------------------------------------------

void DailyChartDrawing::Press(uint32_t, int32_t x, int32_t y)
{
    const ChartModeRecord m = view_.modeRecord;
    if (m.stage == kStageWaiting) {
        // A pitchfork's third point is placed by a second press and release.
        if (placing_ && work_.kind == LineObjectKind::Pitchfork) {
            press_ = {x, y};
            return;
        }
        if (placing_ || !ShareSource())
            return;
        GraphPane* pane = SeriesPaneAt(x, y);
        if (!pane)
            return;
        const std::string refusal = DrawRefusalText(m.mode, m.subtype, pane->id, (view_.viewFlags & 2) != 0);
        if (!refusal.empty()) {
            ShowMessage(refusal);
            view_.CancelMode();
            return;
        }
        if (m.mode == kModeGraphText)
            PlaceTextBox(*pane, x, y);
        else if (m.mode == kModePitchfork)
            StartPitchfork(*pane, x, y);
        else
            StartLine(*pane, m.subtype, x, y);
        return;
    }
    if (m.stage != kStageSelected)
        return;
    if (selected_) {
        UpdateAllScreens();
        const ObjectHit hit = selected_->kind == LineObjectKind::LineStudy  ? HitLineStudy(work_, {x, y})
                              : selected_->kind == LineObjectKind::Pitchfork ? HitPitchfork(work_, {x, y})
                                                                            : HitTextBox(work_, {x, y});
        if (hit.hit()) {
            work_.selectedPart = work_.fixedPoint ? kBodyPart : hit.part;
            press_ = {x, y};
            view_.modeRecord.stage = kStagePressed;
            return;
        }
        Deselect();
    }
    SelectAt(x, y, true);
}

void DailyChartDrawing::FollowMouse(uint32_t keys, int32_t x, int32_t y)
{
    const GraphPane* pane = PaneOf(selected_->owner);
    if (pane && pane->firstSeries && pane->firstSeries->range && work_.kind == LineObjectKind::Text) {
        FollowTextBox(*pane, x - press_.x, y - press_.y);
        return;
    }
    if (!pane || !pane->firstSeries || !pane->firstSeries->range || !IsLineKind(work_))
        return;
    const uint16_t part = work_.selectedPart;
    const int points = work_.kind == LineObjectKind::Pitchfork ? 3 : 2;
    if (work_.kind == LineObjectKind::Pitchfork && part >= 1 && part <= 3) {
        SetPoint(work_, part - 1, *pane, x, y);
        return;
    }
    if (part == 1 || part == 2) {
        SetPoint(work_, part - 1, *pane, x, y);
        if (keys & kMouseKeyControl) {
            auto at = [&](int i) {
                return ChartPoint{work_.pointTime(i),
                                  LoadF32(work_.stored.data() + kLinePointsOffset + kLinePointSize * size_t(i) + kPointPrice)};
            };
            const int fixed = part == 1 ? 1 : 0;
            const ChartPoint moved = ConstrainLineEnd(at(fixed), at(part - 1));
            StoreI32(work_.point(part - 1), moved.date);
            StoreF32(work_.point(part - 1) + kPointPrice, moved.price);
        }
        return;
    }
    // The body: every point follows the mouse from where the press caught the object.
    for (int i = 0; i < points && i < selected_->pointCount(); ++i) {
        const ScreenPoint from = PointOnScreen(*selected_, i, *pane);
        SetPoint(work_, i, *pane, from.x + x - press_.x, from.y + y - press_.y);
    }
}

void DailyChartDrawing::FollowTextBox(const GraphPane& pane, int32_t dx, int32_t dy)
{
    uint8_t* s = work_.stored.data();
    const ScreenPoint anchor = TextAnchor(*selected_, pane);
    if (work_.fixedPoint) {
        // Box and anchor move together: the offsets stay.
        StoreI32(s + textbox::kAnchorTime, DatePositionAtX(anchor.x + dx));
        StoreF32(s + textbox::kAnchorPrice, view_.YToValue(pane.firstSeries->range, anchor.y + dy));
        return;
    }
    const TextBoxBox from = TextFigure(*selected_, pane).box;
    const double scale = TextBoxScale(LoadI32(s + textbox::kPointSize), LoadI32(s + textbox::kFont), kTextUnitsDpi, 1.0);
    auto units = [scale](int32_t pixels) { return int32_t(std::lround(pixels / scale)); };
    // Offsets under 5 pixels put the box's side on the anchor.
    auto offset = [&](int32_t pixels) { return std::abs(pixels) < kTextSnap ? 0 : units(pixels); };
    if (work_.selectedPart == kBodyPart) {
        // The box moves and its anchor stays.
        StoreI32(s + textbox::kLeftOffset, offset(anchor.x - (from.left + dx)));
        StoreI32(s + textbox::kTopOffset, offset(anchor.y - (from.top + dy)));
        return;
    }
    // A corner or an edge: only the fields of the edges that moved change.
    const TextBoxBox to = ResizeTextBox(from, work_.selectedPart, dx, dy, kTextBoxSmallest);
    const uint8_t* held = selected_->stored.data();
    StoreI32(s + textbox::kLeftOffset, to.left != from.left ? offset(anchor.x - to.left) : LoadI32(held + textbox::kLeftOffset));
    StoreI32(s + textbox::kTopOffset, to.top != from.top ? offset(anchor.y - to.top) : LoadI32(held + textbox::kTopOffset));
    StoreI32(s + textbox::kWidth,
             to.right - to.left != from.right - from.left ? units(to.right - to.left) : LoadI32(held + textbox::kWidth));
    StoreI32(s + textbox::kHeight,
             to.bottom - to.top != from.bottom - from.top ? units(to.bottom - to.top) : LoadI32(held + textbox::kHeight));
}

void DailyChartDrawing::Move(uint32_t keys, int32_t x, int32_t y)
{
    const ChartModeRecord m = view_.modeRecord;
    if (!selected_)
        return;
    if (m.stage == kStageWaiting && placing_) {
        FollowMouse(keys, x, y);
        view_.InvalidateWindow();
        return;
    }
    if (m.stage == kStageSelected) {
        // The handle under the pointer is drawn small: the part a press would take hold of.
        UpdateAllScreens();
        const ObjectHit hit = work_.kind == LineObjectKind::Pitchfork ? HitPitchfork(work_, {x, y})
                              : work_.kind == LineObjectKind::Text    ? HitTextBox(work_, {x, y})
                                                                      : HitLineStudy(work_, {x, y});
        const uint16_t part = hit.hit() ? hit.part : 0;
        if (part != work_.selectedPart && part != 0) {
            work_.selectedPart = part;
            view_.InvalidateWindow();
        }
        return;
    }
    // Only a held button drags: a line pressed for its context menu stays where it is, whatever
    // paints or pointer moves come while the menu is open.
    if (m.stage == kStagePressed && !(keys & kMouseKeyLeft))
        return;
    if (m.stage == kStagePressed || m.stage == kStageMoving) {
        view_.modeRecord.stage = kStageMoving;
        FollowMouse(keys, x, y);
        view_.InvalidateWindow();
    }
}

bool DailyChartDrawing::Release(uint32_t keys, int32_t x, int32_t y)
{
    const ChartModeRecord m = view_.modeRecord;
    StageInput in;
    in.mode = m.mode;
    in.stage = m.stage;
    in.event = StageEvent::Release;
    in.drawing = placing_;
    in.anySelected = selected_ != nullptr;
    in.pitchforkPoints = placing_ && work_.kind == LineObjectKind::Pitchfork ? work_.pointCount() : 3;
    switch (NextDrawingStage(in).action) {
    case StageAction::WaitNextPoint:
        // The second point stays where it was let go; the third follows the mouse until a click.
        FollowMouse(keys, x, y);
        std::memcpy(work_.point(2), work_.point(1), kLinePointSize);
        work_.setPointCount(3);
        work_.selectedPart = 3;
        view_.InvalidateWindow();
        return true;
    case StageAction::FinishObject:
        FollowMouse(keys, x, y);
        FinishLine({x, y});
        return false;
    case StageAction::CommitMove: CommitMove((keys & kMouseKeyShift) != 0); return false;
    case StageAction::KeepSelected:
        view_.modeRecord.stage = kStageSelected;
        work_.selectedPart = selected_ ? selected_->selectedPart : 0;
        return true;
    case StageAction::CancelMode: view_.CancelMode(); return false;
    default: return view_.modeRecord.active && view_.modeRecord.stage != 0;
    }
}

// The press and release points decide a click: the line's own points are snapped to whole bars.
void DailyChartDrawing::FinishLine(ScreenPoint release)
{
    if (work_.kind == LineObjectKind::LineStudy && work_.subtype() == 0) {
        if (IsClickLine(press_, release)) {
            // A click makes a level line from the point to the chart's last bar, extended.
            StoreI32(work_.point(1), HasPositions() ? LastPosition() : work_.pointTime(0));
            std::memcpy(work_.point(1) + kPointPrice, work_.point(0) + kPointPrice, 4);
            uint16_t style = ObjectStyleFlags(work_) | kExtendRight;
            if (!(work_.flags & kRightShiftStart))
                style |= kExtendLeft;
            SetObjectStyleFlags(work_, style);
        }
    }
    work_.flags &= uint8_t(~kObjectNewFlag);
    placing_ = false;
    Commit();
}

void DailyChartDrawing::CommitMove(bool shift)
{
    if (!selected_)
        return;
    if (MoveMakesCopy(shift, *selected_)) {
        LineObject* copy = AddLineObject(*selected_->owner, 0, 0);
        LineObject* keepNext = copy->next;
        *copy = work_;
        copy->next = keepNext;
        copy->owner = selected_->owner;
        copy->flags |= kLineObjectSaved;
        copy->selectedPart = 0;
        selected_->selectedPart = 0;
        selected_ = copy;
        work_ = *copy;
    }
    Commit();
}

// The working copy into the object, its points in date order; the pane saved, the mode cancelled and
// the object's settings told.
void DailyChartDrawing::Commit()
{
    if (!selected_)
        return;
    LineObject* object = selected_;
    LineObject* next = object->next;
    LineObjectList* owner = object->owner;
    *object = work_;
    object->next = next;
    object->owner = owner;
    object->selectedPart = 0;
    if (object->kind == LineObjectKind::LineStudy && object->pointCount() >= 2 &&
        LinePointsSwap(object->pointTime(0), object->pointTime(1))) {
        uint8_t first[kLinePointSize];
        std::memcpy(first, object->point(0), kLinePointSize);
        std::memcpy(object->point(0), object->point(1), kLinePointSize);
        std::memcpy(object->point(1), first, kLinePointSize);
    }
    const uint16_t mask = ObjectSettingsMask(*object);
    placing_ = false;
    SaveObjects(*owner);
    view_.CancelMode();
    Deselect();
    view_.NotifyGraphSettings(mask);
    view_.InvalidateWindow();
}

bool DailyChartDrawing::SetSelectedAlarm(uint16_t word)
{
    if (!selected_ || placing_ || selected_->kind != LineObjectKind::LineStudy)
        return false;
    work_.setAlarm(word);
    Commit();
    return true;
}

void DailyChartDrawing::SaveObjects(LineObjectList& list)
{
    const GraphPane* pane = PaneOf(&list);
    std::optional<KeyedItemKey> key = pane ? PaneKey(*pane) : std::nullopt;
    if (!key)
        return;
    KeyedItemStore& store = LinesAndTextStore();
    undo_.reset();
    if (const uint8_t* before = store.GetItem(key->share, key->kind, key->subKey)) {
        const uint32_t length = BlobLength(before);
        if (length > kBlobLengthBytes)
            undo_ = SavedItem{*key, std::vector<uint8_t>(before, before + length)};
    }
    LineObjectsSize(list, key->share, key->kind, key->subKey);
}

void DailyChartDrawing::UndoLastSave()
{
    if (!undo_)
        return;
    Blob blob = MakeBlob(uint32_t(undo_->blob.size()));
    std::memcpy(blob.get(), undo_->blob.data(), undo_->blob.size());
    LinesAndTextStore().StoreItem(undo_->key, std::move(blob));
    undo_.reset();
    view_.CancelMode();
    Deselect();
    Reload();
    view_.NotifyGraphSettings(0);
    view_.InvalidateWindow();
}

// ---- Commands -------------------------------------------------------------------------------------

void DailyChartDrawing::StepRing(bool forward)
{
    std::array<LineObjectList*, kLayoutPanes> lists = Lists();
    LineObject* next = StepObjectRing(lists, selected_, Setting(), forward);
    if (!next)
        return;
    view_.CancelMode();
    Deselect();
    Select(next, kBodyPart, kStageSelected);
    view_.InvalidateWindow();
}

void DailyChartDrawing::DeleteAll()
{
    const MsgAnswer answer = ShowMessage("Do you really want to delete all lines?", {}, MsgButtons::YesNo, MsgIcon::Question);
    if (answer != MsgAnswer::Yes)
        return;
    view_.CancelMode();
    Deselect();
    std::array<LineObjectList*, kLayoutPanes> lists = Lists();
    const DeleteAllResult result = DeleteObjectsInSetting(lists, Setting());
    for (size_t i = 0; i < lists_.size(); ++i)
        if (result.changedPanes & (1u << i))
            SaveObjects(lists_[i]);
    view_.NotifyGraphSettings(result.masks);
    view_.InvalidateWindow();
}

void DailyChartDrawing::ChangeStyle()
{
    if (!styleDialog_)
        return;
    view_.modeRecord.stage = kStagePressed;
    std::optional<StyleChoice> choice = styleDialog_(work_.penOrTime(), view_.backgroundColour);
    if (!choice || !selected_) {
        view_.CancelMode();
        return;
    }
    StoreU32(work_.stored.data() + 8, choice->pen);
    work_.penCopy = choice->pen;
    if (choice->asDefault) {
        if (work_.kind == LineObjectKind::LineStudy && IsAnchoredStudy(work_.subtype()))
            AnchoredStudyPen() = choice->pen;
        else if (GraphSetting* setting = view_.ActiveSetting())
            gs::SetU32(*setting, gs::kNewObjectColour, choice->pen);
    }
    Commit();
}

void DailyChartDrawing::ChangeSettingsMask()
{
    if (!settingsDialog_)
        return;
    view_.modeRecord.stage = kStagePressed;
    std::optional<WordChoice> choice = settingsDialog_(ObjectSettingsMask(work_), Setting());
    if (!choice || !selected_ || choice->word == 0) {
        view_.CancelMode();
        return;
    }
    SetObjectSettingsMask(work_, choice->word);
    if (choice->asDefault)
        DefaultObjectSettingsMask() = choice->word;
    Commit();
}

void DailyChartDrawing::ChangeLineSettings()
{
    if (!lineSettingsDialog_)
        return;
    view_.modeRecord.stage = kStagePressed;
    std::optional<WordChoice> choice = lineSettingsDialog_(ObjectStyleFlags(work_));
    if (!choice || !selected_) {
        view_.CancelMode();
        return;
    }
    SetObjectStyleFlags(work_, choice->word);
    if (choice->asDefault)
        DefaultLevelLineFlags() = uint16_t(choice->word & ~(kExtendRight | kExtendLeft));
    Commit();
}

void DailyChartDrawing::StartTool(const DrawingTool& tool)
{
    const ChartModeRecord& m = view_.modeRecord;
    ToolSource source;
    source.share = ShareSource();
    source.shareList = view_.list != nullptr;
    source.boxChart = (view_.viewFlags & 2) != 0;
    source.modeActive = m.active && m.mode != kModeIdle;
    source.stage = m.stage;
    const ToolStart start = StartDrawingTool(tool, source);
    if (!start.message.empty())
        ShowMessage(start.message);
    if (!start.start)
        return;
    view_.SetMode(true, tool.mode, tool.subtype, kStageWaiting, 0);
    view_.UpdateCursor(false);
}

bool DailyChartDrawing::RunCommand(uint32_t command)
{
    switch (command) {
    case kCommandSelectFirst:
    case kCommandNextLine:
    case kCommandNextAlt: StepRing(true); return true;
    case kCommandPreviousLine:
    case kCommandPreviousAlt: StepRing(false); return true;
    case kCommandDeleteLine:
    case kCommandDeleteKey:
        if (selected_ && !placing_) {
            work_.flags &= uint8_t(~kLineObjectSaved);
            Commit();
        }
        return true;
    case kCommandDeleteAll:
    case kCommandDeleteAllKey: DeleteAll(); return true;
    case kCommandDeselect: view_.CancelMode(); return true;
    case kCommandExtendRight:
    case kCommandExtendLeft:
        if (selected_ && !placing_ && selected_->kind == LineObjectKind::LineStudy) {
            SetObjectStyleFlags(work_, ObjectStyleFlags(work_) ^ (command == kCommandExtendRight ? kExtendRight : kExtendLeft));
            Commit();
        }
        return true;
    case kCommandLineStyle:
        if (selected_ && !placing_ && IsLineKind(*selected_))
            ChangeStyle();
        return true;
    case kCommandUndoLineEdit: UndoLastSave(); return true;
    case kCommandDisplaySettings:
        if (selected_ && !placing_)
            ChangeSettingsMask();
        return true;
    case kCommandLineSettings:
        if (selected_ && !placing_ && HasLineSettings(*selected_))
            ChangeLineSettings();
        return true;
    default: break;
    }
    if (RunTextBoxCommand(command))
        return true;
    const DrawingTool* tool = FindDrawingTool(command);
    if (!tool)
        return false;
    StartTool(*tool);
    return true;
}

bool DailyChartDrawing::UpdateCommand(CommandUi& ui) const
{
    const bool held = selected_ && !placing_;
    const int setting = Setting();
    auto* self = const_cast<DailyChartDrawing*>(this);
    switch (ui.command) {
    case kCommandSelectFirst:
    case kCommandNextLine:
    case kCommandNextAlt:
    case kCommandPreviousLine:
    case kCommandPreviousAlt: {
        std::array<LineObjectList*, kLayoutPanes> lists = self->Lists();
        const bool forward = ui.command != kCommandPreviousLine && ui.command != kCommandPreviousAlt;
        const LineObject* target = StepObjectRing(lists, selected_, setting, forward);
        ui.enabled = target != nullptr;
        if (std::string text = RingMenuText(ui.command, target); !text.empty())
            ui.text = text;
        return true;
    }
    case kCommandDeleteLine:
    case kCommandDeleteKey:
        ui.enabled = held;
        if (std::string text = RingMenuText(kCommandDeleteLine, held ? selected_ : nullptr); !text.empty())
            ui.text = text;
        return true;
    case kCommandDeleteAll:
    case kCommandDeleteAllKey: {
        std::array<LineObjectList*, kLayoutPanes> lists = self->Lists();
        ui.enabled = ShareSource() && AnyObjectInSetting(lists, setting);
        return true;
    }
    case kCommandDeselect: ui.enabled = held; return true;
    case kCommandExtendRight:
    case kCommandExtendLeft:
        ui.enabled = held && selected_->kind == LineObjectKind::LineStudy;
        ui.checked = ui.enabled && (ObjectStyleFlags(*selected_) &
                                    (ui.command == kCommandExtendRight ? kExtendRight : kExtendLeft)) != 0;
        return true;
    case kCommandLineStyle: ui.enabled = held && IsLineKind(*selected_) && styleDialog_ != nullptr; return true;
    case kCommandUndoLineEdit: ui.enabled = undo_.has_value(); return true;
    case kCommandEditText:
    case kCommandArrow:
    case kCommandTextNothing:
    case kCommandBoxColours:
    case kCommandTextFont:
        ui.enabled = held && selected_->kind == LineObjectKind::Text;
        return true;
    case kCommandSetAnchor:
        ui.enabled = held && selected_->kind == LineObjectKind::Text;
        ui.checked = ui.enabled && work_.fixedPoint;
        return true;
    case kCommandLineUpPrice:
    case kCommandLineUpDate:
        ui.enabled = held && selected_->kind == LineObjectKind::Text;
        ui.checked = ui.enabled &&
                     (ObjectStyleFlags(work_) & (ui.command == kCommandLineUpPrice ? kLineUpPrice : kLineUpDate)) != 0;
        return true;
    case kCommandLeftJustify:
    case kCommandCentreJustify:
    case kCommandRightJustify: {
        ui.enabled = held && selected_->kind == LineObjectKind::Text;
        const uint32_t wanted = ui.command == kCommandLeftJustify ? 0 : ui.command == kCommandCentreJustify ? 1 : 2;
        ui.checked = ui.enabled && LoadU32(work_.stored.data() + textbox::kAlignment) == wanted;
        return true;
    }
    case kCommandDisplaySettings: ui.enabled = held && settingsDialog_ != nullptr; return true;
    case kCommandLineSettings: ui.enabled = held && HasLineSettings(*selected_) && lineSettingsDialog_ != nullptr; return true;
    default: break;
    }
    const DrawingTool* tool = FindDrawingTool(ui.command);
    if (!tool)
        return false;
    ToolSource source;
    source.share = ShareSource();
    source.shareList = view_.list != nullptr;
    source.boxChart = (view_.viewFlags & 2) != 0;
    ui.enabled = DrawingToolEnabled(*tool, source);
    return true;
}

// ---- Readout --------------------------------------------------------------------------------------

void DailyChartDrawing::FillReadout(ModeReadoutInput& in) const
{
    if (!selected_ || work_.kind != LineObjectKind::LineStudy || work_.pointCount() < 2)
        return;
    const bool daily = eod_ && !eod_->days().empty();
    const float unit = daily ? eod_->days().back().unit : 1.0f;
    auto point = [&](int index) {
        const float price =
            LoadF32(work_.stored.data() + kLinePointsOffset + kLinePointSize * size_t(index) + kPointPrice);
        const int32_t position = work_.pointTime(index);
        if (axis_)
            return axis_->PointText(position, price);
        return FormatDate(PackedDate(std::clamp<int32_t>(position, 0, kLastPackedDate))) + ", " +
               FormatPriceInUnit(price, unit, daily ? eod_->minor() : 0);
    };
    in.objectDescription = point(0) + " to " + point(1);
    const bool moving = placing_ || view_.modeRecord.stage >= kStageMoving;
    in.handleState = moving ? 10 : 9;
    const int held = work_.selectedPart == 2 ? 1 : 0;
    if (moving)
        in.handlePosition = axis_ ? axis_->AnchorText(work_.pointTime(held)) : point(held);
    if (daily && eod_->BoxMode())
        DescribeOnBoxes(in, moving, held);
}

std::optional<TrendLineEnds> DailyChartDrawing::PriceTrendLine() const
{
    auto trendIn = [&](const LineObject& object) -> std::optional<TrendLineEnds> {
        const GraphPane* pane = PaneOf(object.owner);
        if (object.kind != LineObjectKind::LineStudy || object.pointCount() < 2 || !pane || pane->id != kPanePrice ||
            (object.subtype() != 0 && object.subtype() != kRegressionSubtype))
            return std::nullopt;
        auto price = [&](int index) {
            return LoadF32(object.stored.data() + kLinePointsOffset + kLinePointSize * size_t(index) + kPointPrice);
        };
        TrendLineEnds ends;
        ends.date1 = PackedDate(std::clamp<int32_t>(object.pointTime(0), 0, kLastPackedDate));
        ends.date2 = PackedDate(std::clamp<int32_t>(object.pointTime(1), 0, kLastPackedDate));
        ends.value1 = price(0);
        ends.value2 = price(1);
        if (object.subtype() == kRegressionSubtype) {
            std::vector<double> closes;
            for (const PlacedBar& b : BarsBetween(object.pointTime(0), object.pointTime(1)))
                closes.push_back(b.values.close);
            const std::optional<LineFit> fit = FitLeastSquares(closes);
            if (!fit)
                return std::nullopt;
            ends.value1 = float(fit->At(1));
            ends.value2 = float(fit->At(double(closes.size())));
        }
        // Drawn from right to left the line still reads forwards in time.
        if (ends.date2 < ends.date1) {
            std::swap(ends.date1, ends.date2);
            std::swap(ends.value1, ends.value2);
        }
        return ends;
    };
    if (selected_)
        if (std::optional<TrendLineEnds> ends = trendIn(work_))
            return ends;
    if (settingTrend_.head && (settingTrend_.head->flags & kDrawMainLine))
        return trendIn(*settingTrend_.head);
    return std::nullopt;
}

// On a box chart a line's ends stand in columns: their dates and values, and its slope per column.
void DailyChartDrawing::DescribeOnBoxes(ModeReadoutInput& in, bool moving, int held) const
{
    const std::vector<BoxChartPoint>& points = eod_->boxPoints();
    const BoxGrid* grid = (eod_->chartKind() & kChartPointFigure) ? &eod_->boxGrid() : nullptr;
    auto column = [&](int index) { return BarOfDatePosition(work_.pointTime(index)); };
    auto price = [&](int index) {
        return LoadF32(work_.stored.data() + kLinePointsOffset + kLinePointSize * size_t(index) + kPointPrice);
    };
    in.objectDescription = FormatAnchorValueText(points, column(0), price(0), grid) + " to " +
                           FormatAnchorValueText(points, column(1), price(1), grid) + "  " +
                           FormatBoxSlopeText(column(0), price(0), column(1), price(1));
    if (moving)
        in.handlePosition = FormatAnchorDateText(points, column(held));
}

// ---- Context menu ---------------------------------------------------------------------------------

ChartMenuChoice DailyChartDrawing::ContextMenu(int32_t x, int32_t y)
{
    ChartMenuChoice choice;
    if (view_.priceEditMode)
        choice.flags = 0x11;
    else if (view_.viewFlags & 1)
        choice.flags = 8;
    else if (view_.viewFlags & 2)
        choice.flags = 4;
    if (!ShareSource()) {
        choice.menu = 767;
        return choice;
    }
    if (!view_.modeRecord.active || view_.modeRecord.mode == kModeIdle)
        SelectAt(x, y, false);
    if (selected_ && !placing_) {
        if (view_.modeRecord.stage == kStageSelected) {
            view_.modeRecord.stage = kStagePressed;
            menuCopy_ = true;
        }
        choice.flags = 0;
        choice.menu = selected_->kind == LineObjectKind::Text ? 348 : 347;
        return choice;
    }
    const bool modeActive = view_.modeRecord.active && view_.modeRecord.mode != kModeIdle;
    const TimeBand* bars = view_.timeBands;
    const bool overBars = bars && x >= bars->left && x <= bars->right;
    if (view_.trainingMode && eod_ && eod_->days().size() && overBars) {
        choice.menu = 390;
        return choice;
    }
    if (view_.priceEditMode && eod_ && eod_->priceEdit().HitTest(x, y) >= 0) {
        choice.menu = 777;
        return choice;
    }
    if (modeActive)
        return {};
    GraphPane* pane = nullptr;
    TimeBand* band = nullptr;
    GraphSeries* series = nullptr;
    view_.HitTestPane(x, y, &pane, &band, &series);
    if (pane && pane->id >= kPaneFirstAddOn && pane->id < uint32_t(kLayoutPanes)) {
        // The second end mark, a 10-pixel circle at the foot of the window's right edge.
        const int32_t right = pane->right - view_.paneMargin, bottom = pane->bottom - view_.paneMargin;
        if (pane->flagC && x >= right - 10 && x < right && y >= bottom - 10 && y < bottom) {
            choice.menu = 617;
            return choice;
        }
        choice.flags |= 2;
    }
    choice.menu = 301;
    return choice;
}

void DailyChartDrawing::AfterContextMenu()
{
    if (menuCopy_ && selected_ && view_.modeRecord.active &&
        (view_.modeRecord.stage == kStagePressed || view_.modeRecord.stage == kStageMoving))
        view_.modeRecord.stage = kStageSelected;
    menuCopy_ = false;
}

} // namespace qv
