// The point-and-figure and equivolume indicator panes.
#include "charts/BoxIndicatorPanes.h"

#include "chartmodel/ChartCanvas.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/ValueMapping.h"
#include "charts/BoxChartLayout.h"
#include "charts/BoxCharts.h"
#include "charts/StudyPass.h"
#include "core/DateText.h"
#include "core/StringPrintf.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv {
namespace {

// The room a label's character takes on the axis, for keeping labels apart.
constexpr int32_t kLabelCharWidth = 9;

int32_t RoundHalfAway(double v) { return int32_t(std::lround(v)); }

int32_t FirstVisibleRecord(const StudyPass& pass)
{
    int32_t k = 0;
    while (k < pass.end() && !pass.Visible(k))
        ++k;
    return k;
}

int32_t Y(const ValueRange& range, double v) { return MapValueToRow(&range, float(v), false); }

// The columns of closes moving by whole boxes of `box`, turning on `reversal` boxes.
struct ColumnWalk {
    double box, amount;
    double level;
    double up, down;
    bool rising = true;
    bool grown = false; // the first column has moved

    void SetThresholds()
    {
        up = std::trunc(rising ? level + box : level + amount);
        down = std::trunc(rising ? level - amount : level - box);
    }
};

void DrawX(ChartCanvas& canvas, int32_t left, int32_t right, int32_t top, int32_t bottom)
{
    canvas.Line(left + 1, top + 1, right - 1, bottom - 1);
    canvas.Line(left + 1, bottom - 1, right - 1, top + 1);
}

void DrawPointFigurePane(ChartCanvas& canvas, const IndicatorResult& r, const IndicatorRecord& record,
                         const GraphPane& pane, const ValueRange& range, const BoxPaneLook& look)
{
    const double boxPixels = std::max((range.yBottom - range.yTop) * r.boxSize /
                                          std::max(double(range.maximum) - range.minimum, 1e-9), 0.01);
    const int32_t baseY = Y(range, r.baseLevel);
    if (baseY > range.yTop && baseY < range.yBottom) {
        canvas.SelectPen(look.gridPen);
        canvas.Line(pane.left, baseY, pane.right, baseY);
    }
    double level = r.baseLevel;
    for (const PaneColumn& column : r.boxes) {
        const int n = int(std::fabs(column.boxes));
        const double direction = column.boxes >= 0 ? 1 : -1;
        if (boxPixels < 2) {
            // Too small for marks: the column is a line over its boxes.
            canvas.SelectPen(record.pens[0]);
            const int32_t y0 = Y(range, level), y1 = Y(range, level + direction * n * r.boxSize);
            canvas.Line(column.left, y0, column.left, y0 == y1 ? y0 : y1);
        } else {
            for (int j = 0; j < n; ++j) {
                const double from = level + direction * j * r.boxSize, to = from + direction * r.boxSize;
                const int32_t top = Y(range, std::max(from, to)), bottom = Y(range, std::min(from, to));
                if (direction > 0) {
                    canvas.SelectPen(record.pens[0]);
                    DrawX(canvas, column.left, column.right, top, bottom);
                } else {
                    canvas.SelectPen(record.pens[1]);
                    canvas.Ellipse(column.left, top, column.right, bottom, look.background);
                }
            }
        }
        level += direction * n * r.boxSize;
    }
}

void DrawEquiVolumePane(ChartCanvas& canvas, const IndicatorResult& r, const IndicatorRecord& record,
                        const ValueRange& range, const BoxPaneLook& look)
{
    canvas.SelectPen(record.pens[0]);
    for (const PaneColumn& b : r.boxes) {
        const int32_t high = Y(range, b.high), low = Y(range, b.low);
        if (record.flags == 0) {
            if (high == low) {
                canvas.Line(b.left, high, b.right - 1, high);
                continue;
            }
            canvas.FillRect(b.left, high, b.right, low + 1, look.background);
            canvas.Line(b.left, high, b.right - 1, high);
            canvas.Line(b.right - 1, high, b.right - 1, low);
            canvas.Line(b.right - 1, low, b.left, low);
            canvas.Line(b.left, low, b.left, high);
            continue;
        }
        // Candle volume: the day's span at the middle, the body from the open to the close.
        const int32_t middle = (b.left + b.right) / 2;
        canvas.Line(middle, high, middle, low);
        const int32_t open = Y(range, b.open), close = Y(range, b.close);
        if (open == close) {
            canvas.Line(b.left, open, b.right - 1, open);
            continue;
        }
        const uint32_t fill = b.close < b.open ? record.pens[0] : look.background;
        canvas.FillRect(b.left, std::min(open, close), b.right, std::max(open, close) + 1, fill & 0xFFFFFF);
        canvas.Line(b.left, std::min(open, close), b.right - 1, std::min(open, close));
        canvas.Line(b.right - 1, std::min(open, close), b.right - 1, std::max(open, close));
        canvas.Line(b.right - 1, std::max(open, close), b.left, std::max(open, close));
        canvas.Line(b.left, std::max(open, close), b.left, std::min(open, close));
    }
}

// The Kagi line: at each point a vertical line from the price before to its own (up in the first
// pen, down in the second), joined to the point before by a level line at the price before.
void DrawKagiPane(ChartCanvas& canvas, const IndicatorResult& r, const IndicatorRecord& record, const ValueRange& range)
{
    for (size_t i = 1; i < r.boxes.size(); ++i) {
        const PaneColumn& before = r.boxes[i - 1];
        const PaneColumn& point = r.boxes[i];
        const int32_t from = Y(range, before.close), to = Y(range, point.close);
        canvas.SelectPen(point.close >= before.close ? record.pens[0] : record.pens[1]);
        canvas.Line(before.left, from, point.left, from);
        canvas.Line(point.left, from, point.left, to);
    }
}

} // namespace

void DrawKagiIndicator(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    out.paneKind = 55;
    const int32_t first = FirstVisibleRecord(pass);
    if (first >= pass.end())
        return;
    for (int32_t k = first; k < pass.end(); ++k) {
        pass.Widen(pass.day(k).low);
        pass.Widen(pass.day(k).high);
    }
    const double span = double(range.maximum) - range.minimum;
    pass.DataRange(kPadMarginOnly, false);
    // The reversal is period 3 in whole percent.
    const double fraction = (in.record.period3 & 0xFF) * 0.01;
    const KagiReversal reversal =
        (in.record.flags & 1) ? KagiReversal{float(fraction * span), false} : KagiReversal{float(fraction), true};
    const std::vector<BoxChartPoint> points = BuildKagiLines(in.days.first(size_t(pass.end())), reversal);
    if (points.empty())
        return;
    // The steps from the point that holds the first visible day to the last span the pane.
    const StepSpan steps = BoxChartTimeScale(points, in.firstVisibleDate, int32_t(points.back().lastDate),
                                            in.paneLeft + kBoxPaneMargin, in.paneRight - kBoxPaneMargin);
    size_t start = 0;
    while (start + 1 < points.size() && int32_t(points[start].step) < steps.firstStep)
        ++start;
    int32_t k = 0;
    for (size_t i = start; i < points.size(); ++i) {
        PaneColumn c;
        c.date = int32_t(points[i].firstDate);
        c.close = points[i].price;
        c.left = steps.XOf(int32_t(points[i].step));
        while (k < pass.end() && pass.day(k).date < points[i].firstDate)
            ++k;
        c.record = k;
        out.boxes.push_back(c);
    }
}

std::string DateLabelText(uint16_t date)
{
    return StringPrintf("%i/%i/%02i", (date & 31) + 1, ((date >> 5) & 15) + 1, ((date >> 9) & 127) % 100);
}
std::string YearLabelText(uint16_t date) { return StringPrintf("'%02i ", ((date >> 9) & 127) % 100); }
std::string MonthLabelText(uint16_t date) { return std::string(GetMonthName((date >> 5) & 15).substr(0, 3)); }
std::string DayLabelText(uint16_t date) { return StringPrintf("%i ", ((date & 31) + 1) & 31); }

double PointFigureBox(const IndicatorRecord& record, double span)
{
    const double tenths = record.period2 * 0.1;
    const double box = record.flags == 0 ? tenths : std::round(span * tenths * 0.01);
    return std::max(box, 1.0);
}

void DrawPointFigureIndicator(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    const int32_t first = FirstVisibleRecord(pass);
    out.paneKind = 15;
    if (first >= pass.end())
        return;
    float low = FLT_MAX, high = -FLT_MAX;
    for (int32_t k = first; k < pass.end(); ++k) {
        low = std::min(low, pass.day(k).low);
        high = std::max(high, pass.day(k).high);
    }
    const double span = double(high) - low;
    const double box = PointFigureBox(in.record, span);
    const int reversal = std::max(in.record.period3 & 0xFF, 1);
    out.title = StringPrintf("%s (Box %d, Reversal %d)", IndicatorTable[15].name, int(box), reversal);
    out.boxSize = box;

    ColumnWalk walk{box, reversal * box, std::floor(pass.day(first).close), 0, 0};
    out.baseLevel = walk.level;
    walk.up = std::trunc(walk.level + walk.amount);
    walk.down = std::trunc(walk.level - walk.amount);
    out.boxes.push_back({pass.day(first).date, 0});
    for (int32_t k = first + 1; k < pass.end(); ++k) {
        const double close = pass.day(k).close;
        PaneColumn& column = out.boxes.back();
        const bool grows = walk.rising ? close >= walk.up : close <= walk.down;
        const bool turns = walk.rising ? close <= walk.down : close >= walk.up;
        if (!grows && !turns)
            continue;
        const double boxes = std::trunc((close - walk.level) / box);
        if (grows) {
            column.boxes += boxes;
        } else if (!walk.grown) {
            // The first column has not moved yet: the turn becomes its start.
            column.boxes = boxes;
            column.date = pass.day(k).date;
            walk.rising = !walk.rising;
        } else {
            out.boxes.push_back({pass.day(k).date, boxes});
            walk.rising = !walk.rising;
        }
        walk.grown = walk.grown || (grows && boxes != 0);
        walk.level += boxes * box;
        walk.SetThresholds();
    }
    if (out.boxes.back().date < in.firstVisibleDate)
        out.boxes.back().date = pass.day(pass.end() - 1).date;

    // Square boxes; when the columns would not fit across, the range stretches about the base.
    double lowRange = low, highRange = high + 0.05 * span;
    if (!(highRange > lowRange)) {
        // A flat view: at least one box of room.
        lowRange = out.baseLevel - box;
        highRange = out.baseLevel + box;
    }
    const double height = std::max(in.paneBottom - in.paneTop, 1);
    const double width = std::max(in.paneRight - in.paneLeft - 5 * kBoxPaneMargin, 1);
    double boxPixels = std::max(height * box / (highRange - lowRange), 0.01);
    const double needed = double(out.boxes.size()) * boxPixels;
    if (needed > width) {
        const double ratio = needed / width;
        lowRange = out.baseLevel - (out.baseLevel - lowRange) * ratio;
        highRange = out.baseLevel + (highRange - out.baseLevel) * ratio;
        boxPixels /= ratio;
    }
    if (!pass.fixed()) {
        range.minimum = float(lowRange);
        range.maximum = float(highRange);
    }
    double x = in.paneLeft + kBoxPaneMargin;
    for (PaneColumn& column : out.boxes) {
        column.left = RoundHalfAway(x);
        column.right = RoundHalfAway(x + boxPixels);
        x += boxPixels;
    }
}

void DrawEquiVolumeIndicator(const IndicatorInput& in, ValueRange& range, IndicatorResult& out, int)
{
    StudyPass pass(in, range);
    out.paneKind = 41;
    out.decimals = 3;
    std::vector<int32_t> days;
    double total = 0;
    for (int32_t k = FirstVisibleRecord(pass); k < pass.end(); ++k)
        if (IsFullDataDay(pass.day(k))) {
            days.push_back(k);
            total += std::max(pass.day(k).volume, 0.0f);
            pass.Widen(pass.day(k).low);
            pass.Widen(pass.day(k).high);
        }
    // Without volume there is no width to share out: the pane stays empty.
    if (days.empty() || !(total > 0))
        return;
    pass.DataRange(kPadMarginOnly, false);
    const double scale = (in.paneRight - in.paneLeft - 2.0 * kBoxPaneMargin) / total;
    double cumulative = 0;
    int32_t left = in.paneLeft + kBoxPaneMargin;
    PaneColumn pending;
    pending.date = -1;
    for (int32_t k : days) {
        const DayRecord& d = pass.day(k);
        cumulative += std::max(d.volume, 0.0f);
        const int32_t right = RoundHalfAway(in.paneLeft + kBoxPaneMargin + scale * cumulative);
        if (pending.date < 0) {
            pending.date = d.date;
            pending.open = d.open;
            pending.high = d.high;
            pending.low = d.low;
        }
        pending.high = std::max(pending.high, d.high);
        pending.low = std::min(pending.low, d.low);
        pending.close = d.close;
        pending.volume = d.volume;
        // A box narrower than 3 pixels waits: the next day's box takes in its span.
        if (right - left < 3)
            continue;
        pending.left = left;
        pending.right = right;
        out.boxes.push_back(pending);
        pending = PaneColumn{};
        pending.date = -1;
        left = right;
    }
}

void DrawBoxPane(ChartCanvas& canvas, const IndicatorResult& result, const IndicatorRecord& record,
                 const GraphPane& pane, const ValueRange& range, const BoxPaneLook& look)
{
    if (result.boxes.empty() || !(range.maximum > range.minimum))
        return;
    if (result.paneKind == 15)
        DrawPointFigurePane(canvas, result, record, pane, range, look);
    else if (result.paneKind == 41)
        DrawEquiVolumePane(canvas, result, record, range, look);
    else if (result.paneKind == 55)
        DrawKagiPane(canvas, result, record, range);
    DrawPaneDateAxis(canvas, result.boxes, pane, record.pens[0]);
}

void DrawPaneDateAxis(ChartCanvas& canvas, std::span<const PaneColumn> boxes, const GraphPane& pane, uint32_t colour,
                      int32_t tickLength)
{
    struct Label {
        int32_t x = 0, tick = 0;
        std::string text;
        bool year = false;
    };
    std::vector<Label> labels;
    int previousYear = -1, previousMonth = -1;
    for (const PaneColumn& b : boxes) {
        if (b.date <= 0)
            continue;
        const PackedDate date = PackedDate(b.date);
        const int year = YearField(date), month = MonthField(date);
        if (previousYear >= 0 && year != previousYear)
            labels.push_back({b.left, tickLength / 2, YearLabelText(date), true});
        else if (previousMonth >= 0 && month != previousMonth)
            labels.push_back({b.left, tickLength / 4, MonthLabelText(date), false});
        previousYear = year;
        previousMonth = month;
    }
    // A label that would run into another is left out (with its tick); the years are placed first, so
    // that a month crowding the year after it gives way rather than the year.
    std::vector<const Label*> kept;
    auto fits = [&](const Label& l) {
        for (const Label* k : kept) {
            const Label& left = k->x <= l.x ? *k : l;
            const Label& right = k->x <= l.x ? l : *k;
            if (right.x < left.x + kLabelCharWidth * int32_t(left.text.size()))
                return false;
        }
        return true;
    };
    for (bool years : {true, false})
        for (const Label& l : labels)
            if (l.year == years && fits(l))
                kept.push_back(&l);
    std::sort(kept.begin(), kept.end(), [](const Label* a, const Label* b) { return a->x < b->x; });
    canvas.SelectPen(colour);
    for (const Label* l : kept) {
        canvas.Line(l->x, pane.bottom - l->tick, l->x, pane.bottom - 1);
        canvas.Text(l->x + 1, pane.bottom - 1, l->text, colour, false);
    }
}

} // namespace qv
