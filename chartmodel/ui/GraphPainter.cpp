// The chart drawing engine on a QPainter.
#include "chartmodel/ui/GraphPainter.h"

#include "chartmodel/ui/MarkerBox.h"

#include "chartmodel/ChartLabels.h"
#include "chartmodel/ChartNumbers.h"
#include "chartmodel/ChartRoutines.h"
#include "chartmodel/DataArray.h"
#include "chartmodel/EodChart.h"
#include "chartmodel/GraphModel.h"
#include "chartmodel/IntradayTicks.h"
#include "chartmodel/SeriesLayout.h"
#include "chartmodel/ViewGraph.h"
#include "chartmodel/ViewGraphBase.h"
#include "core/ColourRamp.h"
#include "core/PackedPen.h"
#include "core/ui/PenSelect.h"
#include "platform/ByteOrder.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>

namespace qv {

namespace {

// Room around a dot's image for its outline.
int32_t DotMargin(const QPen& pen) { return int32_t(std::ceil(pen.widthF())) + 1; }

constexpr int kGradientSteps = 64;
constexpr uint32_t kStyleMask = 0x07000000;
constexpr uint32_t kWidthMask = 0xF0000000;
constexpr uint32_t kFilledBit = 0x08000000;
constexpr int kHighlightStyle = 5;

// Element flags read by the drawers.
constexpr uint32_t kAreaToTop = 1;
constexpr uint32_t kAreaToBottom = 2;
constexpr uint32_t kStepFromBandLeft = 4;
constexpr uint32_t kStepToBandRight = 8;
constexpr uint32_t kStepAcrossFirst = 16;
constexpr uint32_t kStepDownFirst = 32;
constexpr uint32_t kHistogramOwnExtent = 128;
constexpr size_t kTickSecond = offsetof(TickItem, second);
constexpr uint32_t kPointFigureMonths = 0x4000;
constexpr uint32_t kOpenTick = 0x8000;
constexpr uint32_t kCloseTick = 0x10000;
constexpr uint32_t kTickColour = 0x20000;
constexpr uint32_t kMarkersAtBottom = 0x40000;
constexpr uint32_t kMarkersAtTop = 0x80000;
constexpr uint32_t kBoxesSpaced = 0x40000;

constexpr uint32_t kTitleFlags = kLabelTop | kLabelLeft | kLabelOpaque;
constexpr const char* kMonthCharacters = "123456789ABC";

int WidthField(uint32_t word) { return int((word >> 28) & 0xF); }
uint32_t WithWidthField(uint32_t word, int field) { return (word & ~kWidthMask) | (uint32_t(field & 0xF) << 28); }
uint32_t WithStyle(uint32_t word, int style) { return (word & ~kStyleMask) | (uint32_t(style & 7) << 24); }

// The lighter colour of a highlighted line: each channel two thirds of the way to white.
uint32_t Lighten(uint32_t word)
{
    uint32_t out = word & 0xFF000000;
    for (int shift : {0, 8, 16}) {
        int c = int((word >> shift) & 0xFF);
        out |= uint32_t(c + (510 - 2 * c) / 3) << shift;
    }
    return out;
}

bool IsBarArray(const DataArray& values) { return values.type == kArrayBars || values.type == kArrayDaily; }

} // namespace

// One element's walk: its points, the colours it draws with and the selected colour index.
struct GraphPainter::Walk {
    const PlotElement& element;
    const GraphSeries& series;
    const GraphPane& pane;
    const TimeBand& band;
    const ValueRange* range;
    std::vector<SeriesPoint> points;
    std::array<uint32_t, kElementColours> colours{};
    bool varies = false;
    int selected = INT_MIN;
    const uint32_t* gradient = nullptr;

    // The packed word of a colour index: an element colour, or a gradient step with the fourth colour's
    // style and a width between the fourth's and the fifth's.
    uint32_t WordOf(int index) const
    {
        if (index >= 0)
            return colours[size_t(std::min(index, kElementColours - 1))];
        int k = std::clamp(-1 - index, 0, kGradientSteps - 1);
        int w4 = WidthField(colours[3]) & 7;
        int w5 = WidthField(colours[4]) & 7;
        int w = std::clamp(w4 + int(std::trunc((w5 - w4) * k / 63.0 + 0.5)), 0, 7);
        return WithWidthField((gradient[k] & 0xFFFFFF) | (colours[3] & (kStyleMask | kFilledBit)), w);
    }
};

GraphPainter::GraphPainter(CViewGraphBase& view, QPainter& painter)
    : view_(view), painter_(painter), printing_(DeviceOf(painter).printing)
{
}

GraphPainter::~GraphPainter() = default;

QFont GraphPainter::LabelFont(int32_t size) const
{
    QFont font(QString::fromStdString(view_.labelFontFace.empty() ? std::string("Arial") : view_.labelFontFace));
    int dpi = painter_.device() ? painter_.device()->logicalDpiY() : 96;
    font.setPixelSize(std::max(1, int(std::lround(double(size) * dpi / 72.0))));
    return font;
}

// ---- Clipping and primitives -------------------------------------------------------------------

void GraphPainter::SetPaneClip(const GraphPane* pane)
{
    if (pane)
        SetClipRect(pane->left, pane->top, pane->right + 1, pane->bottom);
}

void GraphPainter::SetClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (printing_)
        return;
    painter_.setClipRect(QRect(left, top, std::max(0, right - left), std::max(0, bottom - top)));
}

void GraphPainter::RemoveClip() { painter_.setClipping(false); }

void GraphPainter::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1) { painter_.drawLine(x0, y0, x1, y1); }

void GraphPainter::DrawRectOutline(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    painter_.drawLine(left, top, right, top);
    painter_.drawLine(right, top, right, bottom);
    painter_.drawLine(right, bottom, left, bottom);
    painter_.drawLine(left, bottom, left, top);
}

void GraphPainter::DrawPackedLine(uint32_t pen, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    PenObject object;
    QPen previous = SelectPackedPen(painter_, object, pen);
    painter_.drawLine(x0, y0, x1, y1);
    painter_.setPen(previous);
}

void GraphPainter::FillRectNearest(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour)
{
    painter_.fillRect(QRect(left, top, right - left, bottom - top), ColourFromWord(colour & 0xFFFFFF));
}

void GraphPainter::InvertRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    QPainter::CompositionMode mode = painter_.compositionMode();
    painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter_.fillRect(QRect(left, top, right - left, bottom - top), Qt::black);
    painter_.setCompositionMode(mode);
}

// The rectangle operation: the outline in the selected pen on the rectangle's own pixels (right and
// bottom excluded), the inside in the selected brush.
void GraphPainter::GdiRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1)
        return;
    QRect area(left, top, right - left, bottom - top);
    painter_.fillRect(area, painter_.brush());
    QPen pen = painter_.pen();
    if (pen.style() == Qt::NoPen)
        return;
    int w = std::max(1, pen.width());
    if (w == 1 || right - left <= w || bottom - top <= w) {
        if (w == 1) {
            QBrush brush = painter_.brush();
            painter_.setBrush(Qt::NoBrush);
            painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
            painter_.setBrush(brush);
            return;
        }
        painter_.fillRect(area, pen.color());
        return;
    }
    for (const QRect& side : {QRect(left, top, right - left, w), QRect(left, bottom - w, right - left, w),
                              QRect(left, top, w, bottom - top), QRect(right - w, top, w, bottom - top)})
        painter_.fillRect(side, pen.color());
}

void GraphPainter::SelectColour(Walk& walk, int index)
{
    if (index == walk.selected)
        return;
    walk.selected = index;
    uint32_t word = walk.WordOf(index);
    painter_.setPen(MakePackedPen(DeviceOf(painter_), word));
    painter_.setBrush(ColourFromWord(MapColour(DeviceOf(painter_), word & 0xFFFFFF)));
}

// ---- The graph ---------------------------------------------------------------------------------

void GraphPainter::DrawGraph(int layer)
{
    if (!(view_.modeRecord.mask & kRedrawDrawGraph))
        return;
    for (TimeBand* band = view_.timeBands; band; band = band->next) {
        std::vector<const GraphSeries*> titles;
        for (GraphSeries* series = band->series; series; series = series->next) {
            GraphPane* pane = series->pane;
            if (!pane || !pane->visible)
                continue;
            if (band->shown) {
                SetClipRect(band->left, pane->top, band->right + 1, pane->bottom);
                DrawSeriesElements(series, layer);
                RemoveClip();
            }
            if (layer != 0 || !pane->showTitles)
                continue;
            titles.push_back(series);
            if (!series->next || series->next->pane != pane) {
                QueueTitles(pane, titles);
                titles.clear();
            }
        }
    }
}

void GraphPainter::QueueTitles(const GraphPane* pane, const std::vector<const GraphSeries*>& titles)
{
    std::vector<PaneCaptionLine> lines;
    bool first = true;
    for (auto it = titles.rbegin(); it != titles.rend(); ++it) {
        const GraphSeries* series = *it;
        std::string text(series->title, strnlen(series->title, kSeriesTitleSize));
        if (text.empty())
            continue;
        if (!series->range || IsRangeEmpty(*series->range)) {
            text += " - no data";
        } else if (first && pane->titleUnitMode == 0) {
            // The unit the pane's axis is counted in; plain numbers need no word.
            text += PaneUnitSuffix(pane->thousandsIndex);
        }
        first = false;
        // A title part after "^^" stands on a line of its own.
        for (const std::string& line : SplitChartText(text))
            lines.push_back({line, series->defaultColour});
    }
    QueuePaneCaption(pane, lines);
}

void GraphPainter::QueuePaneCaption(const GraphPane* pane, const std::vector<PaneCaptionLine>& lines)
{
    int32_t y = pane->top + view_.paneMargin + 1;
    int32_t x = view_.titleOrigin + (view_.digitWidth < 4 ? 1 : view_.digitWidth / 2);
    for (size_t i = 0; i < lines.size(); ++i) {
        int32_t available = pane->bottom - view_.textHeight / 4 - y;
        if (i + 1 < lines.size())
            available = available / 2 + 1;
        int32_t size = view_.ScaledTextSize(available, view_.textHeight);
        ChartLabel* label = DrawChartText(x, y, lines[i].text, kTitleFlags, 0, lines[i].colour, size,
                                          view_.BackgroundAtRow(y), nullptr);
        if (label)
            y = label->bottom;
    }
}

void GraphPainter::DrawSeriesElements(const GraphSeries* series, int layer)
{
    if (!series || !series->range || IsRangeEmpty(*series->range) || !series->elements || !series->pane ||
        !series->band)
        return;
    painter_.save();
    for (const PlotElement* element = series->elements; element; element = element->next) {
        bool front = (element->flags & kElementFrontLayer) != 0;
        if (front != (layer == 1) || element->values.count <= 0 || !element->values.data)
            continue;
        DrawElement(*element);
    }
    painter_.restore();
}

void GraphPainter::DrawElement(const PlotElement& element)
{
    const GraphSeries& series = *element.series;
    Walk walk{element, series, *series.pane, *series.band, series.range, {}, {}, false, INT_MIN, view_.gradient};
    std::copy(std::begin(element.colours), std::end(element.colours), walk.colours.begin());
    CGraphSeriesLayout layout;
    if (layout.Setup(element) == 0)
        return;
    if (prepareLayout)
        prepareLayout(element, layout);
    layout.clampRows = printing_;
    walk.varies = layout.colourMode != 0;
    if (walk.varies)
        MakeColourGradient(element.colours[3] & 0xFFFFFF, element.colours[4] & 0xFFFFFF,
                           std::span<uint32_t>(view_.gradient, kGradientSteps), kGradientSteps);
    walk.points.reserve(size_t(std::max(0, element.values.count)));
    SeriesPoint point;
    while (layout.Next(point))
        walk.points.push_back(point);
    switch (element.style) {
    case 1: DrawLineStyle(walk); break;
    case 2: DrawBars(walk, false); break;
    case 3: DrawBars(walk, true); break;
    case 4: DrawHistogram(walk); break;
    case 6: DrawPointFigure(walk); break;
    case 7: DrawKagi(walk); break;
    case 8: DrawBoxes(walk); break;
    case 9: DrawDots(walk); break;
    case 10: DrawArea(walk); break;
    case 11: DrawMarkers(walk); break;
    case 12: DrawEvents(walk); break;
    default: break;
    }
}

// ---- Style 1: lines ----------------------------------------------------------------------------

void GraphPainter::DrawLineStyle(Walk& walk)
{
    size_t drawn = size_t(std::count_if(walk.points.begin(), walk.points.end(), [](const SeriesPoint& p) { return p.drawn; }));
    if (drawn == 1) {
        for (uint32_t& c : walk.colours)
            c = WithWidthField(c & ~kStyleMask, 1);
        DrawDots(walk);
        return;
    }
    std::array<uint32_t, kElementColours> stored = walk.colours;
    bool highlighted = std::any_of(stored.begin(), stored.end(), [](uint32_t c) { return PenStyleOf(c) == kHighlightStyle; });
    if (!highlighted) {
        DrawLinePass(walk);
        return;
    }
    for (uint32_t& c : walk.colours)
        if (PenStyleOf(c) == kHighlightStyle)
            c = WithStyle(c, 0);
    DrawLinePass(walk);
    for (size_t i = 0; i < walk.colours.size(); ++i) {
        if (PenStyleOf(stored[i]) != kHighlightStyle)
            continue;
        int reduce = (stored[i] & kFilledBit) ? 4 : 2;
        uint32_t c = WithStyle(stored[i], 0);
        c = WithWidthField(c, std::max(0, (WidthField(c) & 7) - reduce));
        walk.colours[i] = Lighten(c);
    }
    walk.selected = INT_MIN;
    DrawLinePass(walk);
    walk.colours = stored;
}

void GraphPainter::DrawLinePass(Walk& walk)
{
    const ValueRange* range = walk.range;
    double span = double(range->maximum) - range->minimum;
    double lo = range->minimum - 10 * span;
    double hi = range->maximum + 10 * span;
    uint32_t flags = walk.element.flags;
    bool onePath = !walk.varies && WidthField(walk.colours[0]) == 0;
    QPolygon path;
    auto flush = [&] {
        if (path.size() > 1)
            painter_.drawPolyline(path);
        path.clear();
    };
    auto to = [&](int32_t x, int32_t y, int colour) {
        if (!onePath && !path.isEmpty()) {
            SelectColour(walk, colour);
            QPoint from = path.last();
            painter_.drawLine(from, QPoint(x, y));
            path.clear();
        }
        path << QPoint(x, y);
    };
    if (onePath)
        SelectColour(walk, 0);
    int32_t column = INT_MIN, low = 0, high = 0, last = 0, colour = 0;
    // The stroke of a column whose points spread over several rows, ending at its last row.
    auto spread = [&](int c) {
        if (column != INT_MIN && low != high) {
            to(column, low, c);
            to(column, high, c);
            to(column, last, c);
        }
    };
    for (const SeriesPoint& p : walk.points) {
        if (!p.drawn) {
            spread(colour);
            if (onePath)
                flush();
            path.clear();
            column = INT_MIN;
            continue;
        }
        float v = float(std::clamp(double(p.value), lo, hi));
        int32_t y = view_.ValueToY(range, v, printing_);
        int32_t x = printing_ ? std::clamp(p.x, walk.band.left, walk.band.right) : p.x;
        if (x == column) {
            low = std::min(low, y);
            high = std::max(high, y);
            last = y;
            continue;
        }
        if (column != INT_MIN) {
            spread(p.colour);
            if ((flags & kStepAcrossFirst) && y != last) {
                to(x, last, p.colour);
            } else if ((flags & kStepDownFirst) && y != last) {
                to(column, y, p.colour);
            }
        } else if ((flags & kStepFromBandLeft) && path.isEmpty()) {
            path << QPoint(walk.band.left, y);
        }
        to(x, y, p.colour);
        column = x;
        low = high = last = y;
        colour = p.colour;
    }
    // The last column is a stroke like every other, so that a run to the band's right leaves it flat.
    spread(colour);
    if ((flags & kStepToBandRight) && column != INT_MIN)
        to(walk.band.right, last, walk.selected == INT_MIN ? 0 : walk.selected);
    if (onePath)
        flush();
}

// ---- Styles 2 and 3: bars and candlesticks -----------------------------------------------------

void GraphPainter::DrawBars(Walk& walk, bool candles)
{
    if (!IsBarArray(walk.element.values))
        return;
    const uint32_t flags = walk.element.flags;
    const float scale = printing_ ? std::max(1.0f, view_.horizontalScale / 2) : 1.0f;
    const int32_t X0 = walk.band.left - 1, X1 = walk.band.right + 2;
    const int32_t Y0 = walk.pane.top - 1, Y1 = walk.pane.bottom + 2;
    const int32_t h = view_.barHalfWidth;
    const bool ticks = !candles && (flags & (kOpenTick | kCloseTick));
    auto row = [&](float v) {
        int32_t y = view_.ValueToY(walk.range, v, false);
        return printing_ ? std::clamp(y, Y0, Y1) : y;
    };
    int32_t previousRight = 0;
    for (const SeriesPoint& p : walk.points) {
        if (!p.drawn || !p.record)
            continue;
        BarValues bar = ReadBarValues(p.record);
        uint32_t word = walk.WordOf(p.colour);
        PenMetrics m = GetPenDashMetrics(word, scale);
        int32_t a = std::min(m.start, 0), e = std::max(m.end, 1);
        int32_t ro = row(bar.open), rh = row(bar.high), rl = row(bar.low), rc = row(bar.close);
        int32_t x = p.x;
        int32_t left, right;
        if (!candles && !ticks) {
            left = std::max(x - e + 1, X0);
            right = std::min(x - a, X1);
        } else {
            left = std::max(x - h, X0);
            right = std::min(x + h + 1, X1);
        }
        if (left <= previousRight) {
            left = std::min(previousRight + 1, right);
            x = (left + right) / 2;
        }
        previousRight = right;
        if (left > X1)
            break;
        if (!(right > X0 && rh < Y1 && rl > Y0))
            continue;
        SelectColour(walk, p.colour);
        if (candles) {
            if (rh != rl) {
                int32_t l = std::max(x - e + 1, X0), r = std::min(x - a, X1);
                if (r - l < 2)
                    painter_.drawLine(l, rh, l, rl);
                else
                    GdiRectangle(l, rh, r, rl);
            } else if (right - left < 2) {
                GdiRectangle(x - 1, rh - e + 1, x + 1, rh - a);
            }
            int32_t top = std::min(ro, rc) - e + 1, bottom = std::max(ro, rc) - a;
            if (!(top < Y1 && bottom > Y0 && right - left > 1))
                continue;
            if (bottom - top < m.width) {
                int32_t c = (top + bottom) / 2;
                top = c + a;
                bottom = c + e - 1;
            }
            if (bottom - top < 2) {
                painter_.drawLine(left, top, right, top);
                continue;
            }
            GdiRectangle(left, top, right, bottom);
            int32_t w = m.width;
            if (bar.close > bar.open && right - left > 2 * w && bottom - top > 2 * w) {
                painter_.setBrush(ColourFromWord(view_.labelBackground & 0xFFFFFF));
                GdiRectangle(left + w - 1, top + w - 1, right - w + 1, bottom - w + 1);
                walk.selected = INT_MIN;
            }
            continue;
        }
        int32_t tickTop = INT_MAX, tickBottom = INT_MIN;
        bool drewTicks = false;
        int32_t ta = a, te = e;
        if (ticks && right - left > 1) {
            uint32_t tickWord = (flags & kTickColour) ? walk.element.extraColour : word;
            PenMetrics tm = GetPenDashMetrics(tickWord, scale);
            ta = std::min(tm.start, 0);
            te = std::max(tm.end, 1);
            if (flags & kTickColour) {
                painter_.setPen(MakePackedPen(DeviceOf(painter_), tickWord));
                painter_.setBrush(ColourFromWord(tickWord & 0xFFFFFF));
            }
            int32_t mid = std::clamp(x, X0, X1);
            auto tick = [&](int32_t l, int32_t r, int32_t y) {
                int32_t top = y - te + 1, bottom = y - ta;
                if (!(top < Y1 && bottom > Y0))
                    return;
                GdiRectangle(l, top, r, bottom);
                tickTop = std::min(tickTop, top);
                tickBottom = std::max(tickBottom, bottom);
            };
            if ((flags & kOpenTick) && x > X0)
                tick(left, mid, ro);
            if ((flags & kCloseTick) && mid < X1)
                tick(mid, right, rc);
            drewTicks = true;
            if (flags & kTickColour) {
                walk.selected = INT_MIN;
                SelectColour(walk, p.colour);
            }
        }
        if (rh == rl) {
            if (drewTicks)
                continue;
            int32_t l = left, r = right;
            if (right - left < 2) {
                l = x - 1;
                r = x + 1;
            }
            GdiRectangle(l, rh - e + 1, r, rl - a);
            continue;
        }
        int32_t top = std::min(rh, tickTop), bottom = std::max(rl, tickBottom == INT_MIN ? rl : tickBottom);
        int32_t l = std::max(x - e + 1, X0), r = std::min(x - a, X1);
        if (r - l < 2)
            painter_.drawLine(l, top, l, bottom);
        else
            GdiRectangle(l, top, r, bottom);
    }
}

// ---- Style 4: histogram ------------------------------------------------------------------------

void GraphPainter::DrawHistogram(Walk& walk)
{
    int32_t zero = view_.ValueToY(walk.range, 0.0f, printing_);
    int32_t h = view_.barHalfWidth;
    for (const SeriesPoint& p : walk.points) {
        if (!p.drawn)
            continue;
        int32_t y = view_.ValueToY(walk.range, p.value, printing_);
        int32_t left = p.x - h, right = p.x + h + 1;
        if ((walk.element.flags & kHistogramOwnExtent) && walk.element.values.type == kArrayDaily && p.record) {
            uint32_t extent = LoadU32(p.record + kDailyXWord);
            left = int32_t(extent & 0xFFFF);
            right = int32_t(extent >> 16) + 1;
        }
        left = std::max(left, walk.band.left);
        right = std::min(right, walk.band.right + 1);
        if (right <= left)
            continue;
        SelectColour(walk, p.colour);
        GdiRectangle(left, std::min(y, zero), right, std::max(y, zero) + 1);
    }
}

// ---- Style 9: dots -----------------------------------------------------------------------------

void GraphPainter::DrawDots(Walk& walk)
{
    // On a printer the device's own scale draws each circle; on the screen the dot of a colour and
    // size is an image drawn once, looked up again only when the colour or the size changes.
    const bool traced = printing_ || painter_.transform().type() > QTransform::TxTranslate;
    const bool sized = (walk.element.flags & kElementDotSized) && walk.element.values.type == kArrayTicks;
    const QImage* image = nullptr;
    int32_t offset = 0, imageColour = INT_MIN, imageSize = 0;
    for (const SeriesPoint& p : walk.points) {
        if (!p.drawn)
            continue;
        int32_t y = view_.ValueToY(walk.range, p.value, printing_);
        const int32_t size = sized && p.record ? std::clamp(int32_t(LoadF32(p.record + kTickSecond)), 2, 16) : 0;
        if (!traced && image && p.colour == imageColour && size == imageSize) {
            painter_.drawImage(p.x - offset, y - offset, *image);
            continue;
        }
        uint32_t word = walk.WordOf(p.colour);
        int32_t d = size ? size : 2 * ((WidthField(word) & 7) + 1);
        SelectColour(walk, p.colour);
        QBrush brush = painter_.brush();
        if (PenStyleOf(word) != 0) {
            painter_.setPen(ColourFromWord(word & 0xFFFFFF));
            painter_.setBrush(Qt::NoBrush);
            walk.selected = INT_MIN;
        }
        if (traced) {
            painter_.drawEllipse(QRect(p.x - d / 2, y - d / 2, d, d));
        } else {
            image = &DotImage(d);
            imageColour = p.colour;
            imageSize = size;
            offset = d / 2 + DotMargin(painter_.pen());
            painter_.drawImage(p.x - offset, y - offset, *image);
        }
        painter_.setBrush(brush);
    }
}

const QImage& GraphPainter::DotImage(int32_t d)
{
    const QPen pen = painter_.pen();
    const QBrush brush = painter_.brush();
    const auto key = std::make_tuple(pen.color().rgba(), int(pen.style()), brush.color().rgba(), int(brush.style()), d);
    auto it = dots_.find(key);
    if (it != dots_.end())
        return it->second;
    const int32_t m = DotMargin(pen);
    QImage image(d + 2 * m, d + 2 * m, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter dot(&image);
    dot.setRenderHints(painter_.renderHints());
    dot.setPen(pen);
    dot.setBrush(brush);
    dot.drawEllipse(QRect(m, m, d, d));
    dot.end();
    return dots_.emplace(key, std::move(image)).first->second;
}

// ---- Style 10: filled area ---------------------------------------------------------------------

void GraphPainter::DrawArea(Walk& walk)
{
    const TimeBand& band = walk.band;
    if (band.right < 1)
        return;
    const ValueRange* range = walk.range;
    double span = double(range->maximum) - range->minimum;
    double lo = range->minimum - 10 * span, hi = range->maximum + 10 * span;
    uint32_t flags = walk.element.flags;
    QPolygon path;
    int32_t column = INT_MIN, low = 0, high = 0, last = 0, firstRow = 0;
    for (const SeriesPoint& p : walk.points) {
        if (!p.drawn)
            continue;
        int32_t y = view_.ValueToY(range, float(std::clamp(double(p.value), lo, hi)), printing_);
        int32_t x = printing_ ? std::clamp(p.x, band.left, band.right) : p.x;
        if (column == INT_MIN) {
            path << QPoint(std::min(x, band.left), y);
            firstRow = y;
        } else if (x == column) {
            low = std::min(low, y);
            high = std::max(high, y);
            last = y;
            continue;
        } else {
            if (low != high)
                path << QPoint(column, low) << QPoint(column, high) << QPoint(column, last);
            if ((flags & kStepAcrossFirst)) {
                path << QPoint(x, last);
            } else if ((flags & kStepDownFirst) && y != last) {
                path << QPoint(column, y);
            }
        }
        path << QPoint(x, y);
        column = x;
        low = high = last = y;
        if (x >= band.right)
            break;
    }
    if (column == INT_MIN)
        return;
    // The last column's spread is walked as every other's: the edge then leaves it at its last row,
    // not on a slope from its first row to the band's end.
    if (low != high)
        path << QPoint(column, low) << QPoint(column, high) << QPoint(column, last);
    path << QPoint(band.right + 1, last);
    if (flags & (kAreaToTop | kAreaToBottom)) {
        int32_t edge = (flags & kAreaToTop) ? walk.pane.top : walk.pane.bottom;
        path << QPoint(band.right + 1, edge) << QPoint(band.left, edge);
    } else {
        path << QPoint(band.right + 1, firstRow);
    }
    uint32_t word = walk.colours[0];
    QPainter::CompositionMode mode = painter_.compositionMode();
    if (walk.element.mixMode == 7) // exclusive or
        painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ColourFromWord(word & 0xFFFFFF));
    painter_.drawPolygon(path);
    painter_.setCompositionMode(mode);
    walk.selected = INT_MIN;
    if (!(flags & (kAreaToTop | kAreaToBottom))) {
        SelectColour(walk, 0);
        painter_.drawLine(band.left, firstRow, band.right + 1, firstRow);
    }
}

// ---- Style 11: point markers -------------------------------------------------------------------

void GraphPainter::DrawMarkers(Walk& walk)
{
    const uint32_t shape = walk.element.shape;
    if (shape != 2 && shape != 3 && shape != 4 && shape != 6)
        return;
    const GraphPane& pane = walk.pane;
    uint32_t first = walk.colours[0];
    bool hollow = PenStyleOf(first) != 0;
    int32_t base = 2 * ((WidthField(first) & 7) + 1);
    int32_t previousD = 0, previousX = INT_MIN, previousY = INT_MIN;
    bool secondFlag = view_.flags[1] != 0;
    for (const SeriesPoint& p : walk.points) {
        if (!p.drawn || p.x + base <= pane.left)
            continue;
        int32_t size = base;
        if (p.colour < 0) {
            int k = -1 - p.colour;
            size = std::clamp(int32_t(std::trunc((base - 2) * k / 63.0 + 0.5)) + 2, 3, 17);
        }
        int32_t D = int32_t(std::trunc(size * double(view_.horizontalScale) + 0.5));
        int32_t y = view_.ValueToY(walk.range, p.value, printing_);
        if (previousX != INT_MIN) {
            int64_t dx = p.x - previousX, dy = y - previousY;
            if (!hollow && int64_t(D) * D / 4 + dx * dx + dy * dy <= int64_t(previousD) * previousD / 4)
                continue;
            if (hollow && dx == 0 && dy == 0 && D == previousD)
                continue;
        }
        int32_t left = p.x - D / 2, right = left + D;
        int32_t top = y - D / 2, bottom = top + D;
        if (walk.element.flags & kMarkersAtTop) {
            top = pane.top - view_.timeLineOffset;
            bottom = top + D;
        } else if (walk.element.flags & kMarkersAtBottom) {
            bottom = pane.bottom - view_.frameEndOffset;
            top = bottom - D;
        }
        if (left > pane.right)
            break;
        bool inside = left >= pane.left && right <= pane.right && top >= pane.top && bottom <= pane.bottom;
        bool overlaps = right > pane.left && left < pane.right && bottom > pane.top && top < pane.bottom;
        if (!inside && (printing_ || !overlaps))
            continue;
        bool solidCross = shape == 6 && !hollow;
        painter_.setPen(MakePackedPen(DeviceOf(painter_), WithWidthField(WithStyle(first, 0), solidCross ? 2 : 0)));
        if (hollow)
            painter_.setBrush(Qt::NoBrush);
        else
            painter_.setBrush(ColourFromWord(MapColour(DeviceOf(painter_), first & 0xFFFFFF)));
        walk.selected = INT_MIN;
        QPolygon polygon;
        switch (shape) {
        case 2:
            polygon << QPoint(left, bottom) << QPoint(right, bottom) << QPoint((left + right) / 2, top + 1);
            break;
        case 3:
            polygon << QPoint(left, top) << QPoint(right, top) << QPoint((left + right) / 2, bottom - 1);
            break;
        case 4:
            polygon << QPoint(left, top) << QPoint(right, top) << QPoint(right, bottom) << QPoint(left, bottom);
            break;
        default:
            if (hollow && !secondFlag) {
                painter_.drawLine(left, top, right + 1, bottom + 1);
                painter_.drawLine(left, bottom, right + 1, top - 1);
            } else {
                painter_.drawLine(left + 1, top, right - 1, bottom - 1);
                painter_.drawLine(left + 1, bottom - 1, right - 1, top);
            }
            break;
        }
        if (!polygon.isEmpty())
            painter_.drawPolygon(polygon);
        previousD = D;
        previousX = p.x;
        previousY = y;
    }
}

// ---- Style 6: point and figure -----------------------------------------------------------------

void GraphPainter::DrawPointFigure(Walk& walk)
{
    const PlotElement& element = walk.element;
    const GraphPane& pane = walk.pane;
    const int32_t p = int32_t(element.extra[0]);
    const int32_t inset = int32_t(element.extra[1]);
    const int32_t b0 = int32_t(element.words[1]);
    if (p < 1 || walk.points.empty() || !walk.series.timeScale)
        return;
    QFont probe = LabelFont(12);
    int32_t zeroHeight = std::max(1, QFontMetrics(probe, painter_.device()).height());
    int32_t monthSize = 12 * p / zeroHeight + 1;
    bool months = (element.flags & kPointFigureMonths) && monthSize >= (printing_ ? 3 : 6);
    QFont monthFont = LabelFont(monthSize);
    QFontMetrics metrics(monthFont, painter_.device());
    painter_.setFont(monthFont);
    painter_.setBrush(Qt::NoBrush);
    bool thin = (WidthField(walk.colours[0]) == 0) && view_.flags[1] == 0;
    int32_t firstX = walk.series.timeScale->firstX;
    QRect box;
    int32_t previousBox = 0, previousColumn = 0, previousLastMonth = -1;
    bool started = false;
    for (const SeriesPoint& point : walk.points) {
        if (!point.record)
            continue;
        uint32_t firstMonth = (LoadU32(point.record) >> 5) & 0xF;
        uint32_t lastMonth = (LoadU32(point.record + 4) >> 5) & 0xF;
        int32_t column = LoadI32(point.record + 8);
        int32_t boxNumber = LoadI32(point.record + 12);
        if (!started) {
            int32_t y = (b0 - boxNumber) * p + pane.bottom;
            box.setCoords(firstX + inset - p / 2, y - p + inset, firstX + p / 2 - inset, y - inset);
            previousBox = boxNumber;
            previousColumn = column;
            previousLastMonth = int32_t(lastMonth);
            started = true;
            continue;
        }
        if (box.left() >= walk.band.right)
            break;
        if (column >= 1 && column > previousColumn)
            box.translate(p, 0);
        int32_t n = std::abs(boxNumber - previousBox);
        bool rising = boxNumber > previousBox;
        int colour = rising ? 0 : 1;
        for (int32_t k = 0; k < n; ++k) {
            box.translate(0, rising ? -p : p);
            bool outside = printing_ ? (box.top() < pane.top || box.bottom() > pane.bottom)
                                     : (box.bottom() < pane.top || box.top() > pane.bottom);
            if (outside)
                continue;
            int month = -1;
            if (months && k == 0 && int32_t(firstMonth) != previousLastMonth)
                month = int(firstMonth);
            else if (months && k == n - 1 && lastMonth != firstMonth)
                month = int(lastMonth);
            SelectColour(walk, walk.varies ? colour : 0);
            painter_.setBrush(Qt::NoBrush);
            if (month >= 0) {
                // Months 12-15 have no character.
                if (month < 12) {
                    QString character(QChar(kMonthCharacters[month]));
                    QPoint centre = box.center();
                    painter_.drawText(centre.x() - metrics.horizontalAdvance('0') / 2,
                                      centre.y() - metrics.height() * 9 / 20 + metrics.ascent(), character);
                }
                continue;
            }
            int32_t l = box.left(), t = box.top(), r = box.right(), b = box.bottom();
            if (rising && thin) {
                painter_.drawLine(l, t, r + 1, b + 1);
                painter_.drawLine(l, b, r + 1, t - 1);
            } else if (rising) {
                painter_.drawLine(l, t, r, b);
                painter_.drawLine(l, b, r, t);
            } else {
                SelectColour(walk, walk.varies ? 1 : 0);
                painter_.setBrush(Qt::NoBrush);
                painter_.drawEllipse(QRect(QPoint(l, t), QPoint(r, b)));
            }
        }
        previousLastMonth = int32_t(lastMonth);
        previousColumn = column;
        previousBox = boxNumber;
    }
    painter_.setFont(LabelFont(view_.baseTextSize));
}

// ---- Style 7: Kagi -----------------------------------------------------------------------------

void GraphPainter::DrawKagi(Walk& walk)
{
    const TimeBand& band = walk.band;
    painter_.setBrush(Qt::NoBrush);
    SelectColour(walk, 0);
    QPolygon path;
    auto lineTo = [&](int32_t x, int32_t y) {
        if (walk.varies) {
            if (!path.isEmpty())
                painter_.drawLine(path.last(), QPoint(x, y));
            path.clear();
        }
        path << QPoint(x, y);
    };
    auto select = [&](int colour) {
        if (!walk.varies)
            return;
        SelectColour(walk, colour);
    };
    bool first = true;
    float p1 = 0, p2 = 0;
    int32_t y1 = 0, y2 = 0, column = INT_MIN;
    for (const SeriesPoint& p : walk.points) {
        if (!p.drawn)
            continue;
        int32_t y = view_.ValueToY(walk.range, p.value, printing_);
        if (first) {
            path << QPoint(band.left, y);
            p1 = p2 = p.value;
            y1 = y2 = y;
            column = p.x;
            first = false;
            continue;
        }
        if (p.x == column && y == y1)
            continue;
        if (p.x > band.right)
            break;
        if (p.x != column && p.x > band.left)
            lineTo(p.x, y1);
        if (p.value < p1 && p.value < p2) {
            lineTo(p.x, y2);
            select(1);
        } else if (p.value > p1 && p.value > p2) {
            lineTo(p.x, y2);
            select(0);
        }
        if (p.x > band.left) {
            lineTo(p.x, y);
        } else {
            path.clear();
            path << QPoint(band.left, y);
        }
        p2 = p1;
        y2 = y1;
        p1 = p.value;
        y1 = y;
        column = p.x;
    }
    if (column >= 1 && y1 >= 1)
        lineTo(band.right, y1);
    if (!walk.varies && path.size() > 1)
        painter_.drawPolyline(path);
}

// ---- Style 8: Renko and line-break boxes -------------------------------------------------------

void GraphPainter::DrawBoxes(Walk& walk)
{
    const GraphPane& pane = walk.pane;
    const TimeBand& band = walk.band;
    const int32_t g = (walk.element.values.flags & kBoxesSpaced) ? 2 * view_.barHalfWidth : 0;
    int32_t boxLeft = 0, boxTop = 0, boxRight = 0, boxBottom = 0;
    int32_t previousColumn = 0, previousCount = 0;
    float previousValue = 0;
    bool started = false;
    painter_.setPen(Qt::NoPen);
    for (const SeriesPoint& p : walk.points) {
        if (!p.drawn || !p.record)
            continue;
        int32_t count = LoadI32(p.record + 8);
        int32_t row = view_.ValueToY(walk.range, p.value, false);
        // Keyed items hold the bar index of the box's column, placed on the series' time scale.
        int32_t x = walk.element.values.type == kArrayKeyedTriples
                        ? view_.IndexToXScale(walk.series.timeScale, LoadI32(p.record))
                        : p.x;
        if (!started) {
            boxLeft = pane.left;
            boxTop = boxBottom = row;
            boxRight = std::max(pane.left, x + g / 2);
            previousColumn = x;
            previousValue = p.value;
            previousCount = count;
            started = true;
            continue;
        }
        int32_t n = count - previousCount;
        bool rising = p.value > previousValue;
        int32_t r0 = rising ? boxTop : boxBottom;
        int32_t dx = x - previousColumn, dy = row - r0;
        uint32_t colour = walk.colours[rising ? 0 : 1] & 0xFFFFFF;
        if (n >= 1 && (n <= 2 || (n < 1001 && std::abs(dx) / 3 >= n && std::abs(dy) / 3 >= n))) {
            bool ended = false;
            for (int32_t k = 1; k <= n; ++k) {
                int32_t rk = r0 + int32_t(int64_t(k) * dy / n);
                int32_t right = previousColumn + int32_t(int64_t(k) * dx / n) + g / 2;
                int32_t left = std::min(right - 1, boxRight);
                if (left >= pane.right) {
                    ended = true;
                    break;
                }
                int32_t newRight = std::min(right, pane.right + 1);
                int32_t top, bottom;
                if (rising) {
                    top = rk;
                    bottom = std::max(boxTop, rk + 1);
                } else {
                    top = std::min(boxBottom, rk - 1);
                    bottom = rk + 1;
                }
                boxLeft = left;
                boxRight = newRight;
                boxTop = top;
                boxBottom = bottom;
                QRect area = QRect(QPoint(std::max(left, band.left), std::max(top, pane.top)),
                                   QPoint(std::min(newRight, band.right + 1) - 1, std::min(bottom, pane.bottom) - 1));
                if (area.isValid())
                    painter_.fillRect(area, ColourFromWord(colour));
            }
            if (ended)
                break;
        } else if (n >= 1) {
            if (previousColumn >= pane.right)
                break;
            int32_t step = dy / n;
            if (rising) {
                boxTop = row;
                boxBottom = row - step;
            } else {
                boxTop = row - step;
                boxBottom = row;
            }
            boxLeft = std::min(boxRight, x);
            boxRight = x;
            if (x > pane.left && std::max(r0, row) > pane.top && std::min(r0, row) < pane.bottom) {
                painter_.setPen(ColourFromWord(walk.colours[walk.varies ? (rising ? 0 : 1) : 0] & 0xFFFFFF));
                auto fit = [&](QPoint q) {
                    if (!printing_)
                        return q;
                    return QPoint(std::clamp(q.x(), pane.left, pane.right + 1), std::clamp(q.y(), pane.top, pane.bottom + 1));
                };
                painter_.drawLine(fit(QPoint(boxLeft, r0)), fit(QPoint(x, row)));
                painter_.drawLine(fit(QPoint(x, row)), fit(QPoint(x, row - step)));
                painter_.setPen(Qt::NoPen);
            }
        }
        previousColumn = x;
        previousValue = p.value;
        previousCount = count;
    }
}

// ---- Style 12: event markers -------------------------------------------------------------------

void GraphPainter::DrawEvents(Walk& walk)
{
    const GraphPane& pane = walk.pane;
    double scale = std::max(view_.horizontalScale, view_.verticalScale);
    int32_t size = int32_t(std::lround((2 * (WidthField(walk.colours[0]) & 7) + 2) * scale));
    QFont font = LabelFont(std::max(2, size * 72 / std::max(1, painter_.device() ? painter_.device()->logicalDpiY() : 96)));
    font.setPixelSize(std::max(1, size - 2));
    painter_.setFont(font);
    for (const SeriesPoint& p : walk.points) {
        if (!p.drawn || !p.record)
            continue;
        uint32_t bits = walk.element.values.type == kArrayTriples || walk.element.values.type == kArrayKeyedTriples
                            ? LoadU16(p.record)
                            : uint32_t(p.value);
        // The markers stack from the day's close; news, the first kind, goes at the pane's top.
        int32_t y = view_.ValueToY(walk.range, p.value, printing_) - size / 2;
        if (walk.element.values.type == kArrayTriples && (bits & 1))
            y = pane.top + 1;
        for (int event = 0; event < 16; ++event) {
            if (!(bits & (1u << event)))
                continue;
            const uint8_t* entry = eventBlock ? eventBlock + 4 + 16 * event : nullptr;
            MarkerStyle marker;
            if (entry) {
                marker = MarkerStyleOf(entry);
            } else {
                marker.pen = walk.colours[0];
                marker.letter = '?';
            }
            painter_.setPen(MakePackedPen(DeviceOf(painter_), marker.pen));
            if (marker.lineFlags & 2)
                painter_.drawLine(p.x, pane.top, p.x, y);
            if (marker.lineFlags & 4)
                painter_.drawLine(p.x, pane.bottom - 1, p.x, y + size);
            DrawMarkerBox(painter_, QRect(p.x - size / 2, y, size, size), marker, true, false);
            y += size;
        }
    }
    walk.selected = INT_MIN;
}

// ---- Level and time lines, end marks -----------------------------------------------------------

void GraphPainter::DrawLevelLines(uint32_t pen)
{
    PenMetrics m = GetPenDashMetrics(pen, 1.0f);
    int32_t half = m.width / 2;
    int32_t tick = std::max(view_.digitWidth < 4 ? 1 : view_.digitWidth / 2, m.width);
    PenObject object;
    QPen previous = SelectPackedPen(painter_, object, pen);
    for (GraphPane* pane = view_.panes; pane; pane = pane->next) {
        const GraphSeries* first = pane->firstSeries;
        if (!first || !first->range || IsRangeEmpty(*first->range))
            continue;
        for (const GridLine* line = pane->gridLines; line; line = line->next) {
            int32_t y = (line->flags & kGridPixel) ? line->pixel : view_.ValueToY(first->range, line->value, false);
            if (y <= pane->top || y >= pane->bottom)
                continue;
            int32_t from = pane->left + half, to = pane->right - half;
            if (line->flags & kGridTickLeft)
                to = pane->left + tick;
            else if (line->flags & kGridTickRight)
                from = pane->right - tick;
            painter_.drawLine(from, y, to, y);
        }
    }
    painter_.setPen(previous);
}

void GraphPainter::DrawTimeLines(uint32_t pen)
{
    PenMetrics m = GetPenDashMetrics(pen, 1.0f);
    PenObject object;
    QPen previous = SelectPackedPen(painter_, object, pen);
    for (TimeBand* band = view_.timeBands; band; band = band->next) {
        if (!band->shown || band->lineTo <= band->lineFrom)
            continue;
        for (const GridLine* line = band->timeLines; line; line = line->next) {
            if (line->pixel < band->left || line->pixel >= band->right)
                continue;
            int32_t x = line->pixel + view_.timeLineOffset;
            for (GraphPane* pane = view_.panes; pane; pane = pane->next) {
                bool wanted = (line->flags & kGridEveryPane) || pane->id == 1 || pane->id == 2;
                if (!pane->visible || !wanted)
                    continue;
                // The line's last pixel is included.
                painter_.drawLine(x, pane->top - m.start, x, pane->bottom - m.end + 1);
            }
        }
    }
    painter_.setPen(previous);
}

int32_t GraphPainter::DrawPaneEndMarks(GraphPane* pane)
{
    const int32_t margin = view_.paneMargin;
    constexpr int32_t kMark = kEndMarkSize;
    if (!pane)
        return margin;
    if (pane->bottom - pane->top - 2 * margin < kMark) {
        pane->flagC = 0;
        return margin;
    }
    painter_.save();
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(QColor(255, 0, 0));
    painter_.drawEllipse(QRect(pane->right - margin - kMark, pane->top + margin, kMark, kMark));
    painter_.setBrush(QColor(0, 255, 0));
    painter_.drawEllipse(QRect(pane->right - margin - kMark, pane->bottom - margin - kMark, kMark, kMark));
    painter_.restore();
    pane->flagC = 1;
    return margin;
}

// ---- Labels ------------------------------------------------------------------------------------

ChartLabel* GraphPainter::DrawChartText(int32_t x, int32_t y, std::string_view text, uint32_t flags,
                                        int32_t priority, uint32_t textColour, int32_t size, uint32_t backColour,
                                        ChartLabel* partner)
{
    ChartLabel* label = NewChartLabel(text, flags, priority, textColour, size, backColour, partner, view_.labelMargin);
    if (!label)
        return nullptr;
    QFontMetrics metrics(LabelFont(label->size), painter_.device());
    QString qtext = QString::fromLatin1(text.data(), qsizetype(text.size()));
    PlaceChartLabel(*label, x, y, metrics.horizontalAdvance(qtext), metrics.height(),
                    {view_.labelClampLeft, view_.labelClampRight, view_.paneMargin, view_.labelMargin});
    QueueChartLabel(view_.queuedLabels, label);
    return label;
}

void GraphPainter::DrawQueuedLabels()
{
    ResolveLabelCollisions(view_.queuedLabels);
    painter_.save();
    painter_.setClipping(false);
    for (const ChartLabel* label = view_.queuedLabels; label; label = label->next) {
        if (!label->drawn)
            continue;
        painter_.setFont(LabelFont(label->size));
        QRect area(QPoint(label->left, label->top), QPoint(label->right - 1, label->bottom - 1));
        QPoint at = area.topLeft();
        if (label->flags & kLabelOpaque) {
            painter_.fillRect(area, ColourFromWord(label->backColour & 0xFFFFFF));
        } else if (label->flags & kLabelBoxed) {
            painter_.setPen(MakePackedPen(DeviceOf(painter_), view_.labelFramePen));
            painter_.setBrush(ColourFromWord(label->backColour & 0xFFFFFF));
            GdiRectangle(label->left, label->top, label->right, label->bottom);
            at += QPoint((view_.paneMargin + view_.labelMargin + 1) / 2, (view_.paneMargin + 1) / 2);
        }
        painter_.setPen(ColourFromWord(MapColour(DeviceOf(painter_), label->textColour)));
        QFontMetrics metrics(painter_.font(), painter_.device());
        painter_.drawText(at.x(), at.y() + metrics.ascent(), QString::fromLatin1(label->text));
    }
    painter_.restore();
    view_.FreeQueuedLabels();
}

} // namespace qv
