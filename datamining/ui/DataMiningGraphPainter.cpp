// The data-mining graph area on a QPainter.
#include "datamining/ui/DataMiningGraphPainter.h"

#include "core/MovingAverage.h"
#include "core/PackedPen.h"
#include "core/StringPrintf.h"
#include "core/ui/PenSelect.h"
#include "datamining/CriterionText.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr int kSmallestTitlePixels = 8;
constexpr int kLeftMargin = 64, kRightMargin = 12, kTopBand = 20, kAxisBand = 34, kStatusBand = 18;
const char* const kAllFiltered = "All shares filtered - nothing to display.";
const char* const kAllOff = "All graphs turned off - nothing to display.";
const char* const kAllOffHint = "(Right click here to turn one on).";
const char* const kNoData = "No data to display.";

QColor Colour(uint32_t word) { return ColourFromWord(word); }

QPen Pen(const QPainter& painter, uint32_t word) { return MakePackedPen(DeviceOf(painter), word); }

bool Has(const GraphPaintInput& in, FilterAxis axis) { return in.filter && in.filter->axisCriterion(axis); }

std::vector<float> Values(const GraphPaintInput& in, bool x, std::vector<uint8_t>& has)
{
    std::vector<float> out;
    for (const GraphRowValues& r : in.rows) {
        out.push_back(x ? r.x : r.y);
        has.push_back(x ? r.hasX : r.hasY);
    }
    return out;
}

void Text(QPainter& p, const QRect& r, int flags, const std::string& text)
{
    p.drawText(r, flags, QString::fromLatin1(text.c_str()));
}

// An axis title, shortened with an ellipsis where it is longer than its room.
QString AxisTitle(const QFontMetrics& fm, const std::string& text, int room)
{
    return fm.elidedText(QString::fromLatin1(text.c_str()), Qt::ElideRight, std::max(room, 0));
}

// The smoothed line of the counts (a simple moving average over `period` bins) centred on the bars.
std::vector<double> Smoothed(const std::vector<int>& counts, int period)
{
    std::vector<double> out(counts.size());
    auto average = CreateMovingAverage(0, std::max(period, 1), 0.0, 0);
    int32_t needed = 0, leadIn = 0;
    average->Prepare(needed, leadIn);
    for (size_t i = 0; i < counts.size(); ++i) {
        if (i == 0)
            average->Prime(counts[0]);
        out[i] = average->Next(counts[i]);
        average->DropOldest();
    }
    return out;
}

// A histogram along a side: horizontal bars for Y (`vertical` false means bars rise from the bottom).
void DrawHistogram(QPainter& p, const QRect& r, const std::vector<int>& counts, bool sideways, uint32_t colour,
                   uint32_t pen, bool bars, bool line, int smoothing)
{
    const int most = counts.empty() ? 0 : *std::max_element(counts.begin(), counts.end());
    if (most == 0 || r.width() <= 0 || r.height() <= 0)
        return;
    const int n = int(counts.size());
    const double length = sideways ? r.width() : r.height();
    const double along = sideways ? r.height() : r.width();
    auto bin = [&](int i, double v, double& a0, double& a1, double& extent) {
        a0 = along * i / n;
        a1 = along * (i + 1) / n;
        extent = v * length / most;
    };
    if (bars) {
        p.setPen(Pen(p, pen));
        p.setBrush(Colour(colour));
        for (int i = 0; i < n; ++i) {
            if (counts[size_t(i)] == 0)
                continue;
            double a0, a1, e;
            bin(i, counts[size_t(i)], a0, a1, e);
            QRectF bar = sideways ? QRectF(r.left(), r.bottom() - a1, e, a1 - a0)
                                  : QRectF(r.left() + a0, r.bottom() - e, a1 - a0, e);
            p.drawRect(bar);
        }
        p.setBrush(Qt::NoBrush);
    }
    if (line && n > 1) {
        p.setPen(Pen(p, pen));
        const std::vector<double> s = Smoothed(counts, smoothing);
        QPolygonF poly;
        for (int i = 0; i < n; ++i) {
            double a0, a1, e;
            bin(i, s[size_t(i)], a0, a1, e);
            const double mid = (a0 + a1) / 2;
            poly << (sideways ? QPointF(r.left() + e, r.bottom() - mid) : QPointF(r.left() + mid, r.bottom() - e));
        }
        p.drawPolyline(poly);
    }
}

// Ticks and labels along one axis of a plot: below it (X) or at its left (Y).
void DrawAxis(QPainter& p, const QRect& plot, AxisRange range, bool xAxis)
{
    const AxisTicks t = ChooseTicks(range, xAxis ? plot.width() : plot.height(), xAxis ? 70 : 30);
    p.setPen(Qt::black);
    const QFontMetrics fm = p.fontMetrics();
    for (double v = t.first; v <= range.max + t.step * 1e-9; v += t.step) {
        const double f = (v - range.min) / range.span();
        const std::string label = TickLabel(v, t.step);
        if (xAxis) {
            const int x = plot.left() + int(std::lround(f * plot.width()));
            p.drawLine(x, plot.bottom(), x, plot.bottom() + 4);
            Text(p, QRect(x - 40, plot.bottom() + 5, 80, fm.height()), Qt::AlignHCenter | Qt::AlignTop, label);
        } else {
            const int y = plot.bottom() - int(std::lround(f * plot.height()));
            p.drawLine(plot.left() - 4, y, plot.left(), y);
            Text(p, QRect(plot.left() - kLeftMargin, y - fm.height() / 2, kLeftMargin - 6, fm.height()),
                 Qt::AlignRight | Qt::AlignVCenter, label);
        }
    }
}

void DrawMark(QPainter& p, const MarkGeometry& g, bool filled, bool outlined, QColor fill, QColor outline)
{
    p.setPen(outlined ? QPen(outline) : QPen(Qt::NoPen));
    p.setBrush(filled ? QBrush(fill) : QBrush(Qt::NoBrush));
    const auto& pt = g.points;
    switch (g.shape) {
    case MarkShape::Square: p.drawRect(QRect(QPoint(pt[0][0], pt[0][1]), QPoint(pt[1][0] - 1, pt[1][1] - 1))); break;
    case MarkShape::Circle: p.drawEllipse(QRect(QPoint(pt[0][0], pt[0][1]), QPoint(pt[1][0] - 1, pt[1][1] - 1))); break;
    case MarkShape::Diamond:
    case MarkShape::Triangle: {
        QPolygon poly;
        for (const auto& q : pt)
            poly << QPoint(q[0], q[1]);
        p.drawPolygon(poly);
        break;
    }
    case MarkShape::Cross:
    case MarkShape::Plus:
        p.setPen(QPen(outline));
        p.drawLine(pt[0][0], pt[0][1], pt[1][0], pt[1][1]);
        p.drawLine(pt[2][0], pt[2][1], pt[3][0], pt[3][1]);
        break;
    case MarkShape::Point: p.setPen(QPen(outline)); p.drawPoint(pt[0][0], pt[0][1]); break;
    }
    p.setBrush(Qt::NoBrush);
}

struct Layout {
    QRect plot, xHistogram, yHistogram;
};

Layout Lay(const QRect& content, bool xHist, bool yHist)
{
    Layout l;
    const int yHistWidth = yHist ? content.width() / 5 : 0;
    const int xHistHeight = xHist ? content.height() / 4 : 0;
    l.plot = QRect(content.left() + kLeftMargin, content.top() + kTopBand,
                   content.width() - kLeftMargin - kRightMargin - yHistWidth,
                   content.height() - kTopBand - kAxisBand - xHistHeight);
    if (xHist)
        l.xHistogram = QRect(l.plot.left(), l.plot.bottom() + kAxisBand, l.plot.width(), xHistHeight - 4);
    if (yHist)
        l.yHistogram = QRect(l.plot.right() + 8, l.plot.top(), yHistWidth - 8, l.plot.height());
    return l;
}

void Centred(QPainter& p, const QRect& area, const char* first, const char* second)
{
    p.setPen(Qt::black);
    const int h = p.fontMetrics().height();
    Text(p, QRect(area.left(), area.center().y() - h, area.width(), h), Qt::AlignCenter, first);
    if (second)
        Text(p, QRect(area.left(), area.center().y() + 2, area.width(), h), Qt::AlignCenter, second);
}

} // namespace

std::string ZLegendText(const GraphPaintInput& in)
{
    const DMCriterion* z = in.filter ? in.filter->axisCriterion(FilterAxis::Z) : nullptr;
    const bool size = in.settings.scatter(kScatterSizeByZ), colour = in.settings.scatter(kScatterColourByZ);
    if (!z || (!size && !colour))
        return {};
    std::string coding = "Mark ";
    if (size)
        coding += "size ";
    if (colour)
        coding += size ? "& colour " : "colour ";
    return StringPrintf("%scoded with %s", coding.c_str(), DescribeCriterion(*z, true).c_str());
}

std::string GraphStatusLine(const GraphPaintInput& in, int displayed)
{
    std::string line = StringPrintf("Shares: %d", int(in.rows.size()));
    if (in.filter && !in.filter->criteria.empty())
        line += StringPrintf(" / %d ", in.sourceRows) + StringPrintf("( %d displayed) ", displayed);
    return line;
}

GraphPaintResult PaintDataMiningGraphs(QPainter& p, const QRect& area, const GraphPaintInput& in)
{
    GraphPaintResult out;
    out.marks.assign(in.rows.size(), {0, 0});
    out.drawn.assign(in.rows.size(), 0);
    p.save();
    p.setClipRect(area);
    p.fillRect(area, Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    p.setFont(font);
    const DataMiningGraphSettings& s = in.settings;
    const bool hasX = Has(in, FilterAxis::X), hasY = Has(in, FilterAxis::Y);
    const bool xHist = s.has(kHistXShown) && hasX, yHist = s.has(kHistYShown) && hasY;
    const bool scatter = s.scatter(kScatterShown) && hasX && hasY;
    const QRect content(area.left(), area.top(), area.width(), area.height() - kStatusBand);
    if (in.filter && !in.filter->criteria.empty() && in.rows.empty())
        out.emptyText = kAllFiltered;
    else if (!s.has(kHistXShown) && !s.has(kHistYShown) && !s.scatter(kScatterShown))
        out.emptyText = kAllOff;
    else if (!xHist && !yHist && !scatter)
        out.emptyText = kNoData;
    if (out.emptyText) {
        Centred(p, content, out.emptyText, out.emptyText == kAllOff ? kAllOffHint : nullptr);
    } else {
        const Layout l = Lay(content, xHist, yHist);
        out.plot = l.plot;
        out.scale = PlotScale{double(l.plot.left()), double(l.plot.bottom()), double(l.plot.width()),
                              double(l.plot.height()), in.x, in.y};
        p.setPen(Qt::black);
        p.drawRect(l.plot.adjusted(0, 0, -1, -1));
        const QFontMetrics fm = p.fontMetrics();
        if (hasX) {
            DrawAxis(p, l.plot, in.x, true);
            const QRect room(content.left(), l.plot.bottom() + 4 + fm.height(), content.width(), fm.height());
            p.drawText(room, Qt::AlignHCenter,
                       AxisTitle(fm, DescribeCriterion(*in.filter->axisCriterion(FilterAxis::X), true), room.width()));
        }
        if (hasY) {
            DrawAxis(p, l.plot, in.y, false);
            // A title longer than the plot is tall runs up from the plot's foot to the top of the area
            // in a smaller font, and is shortened only past that.
            const int length = l.plot.bottom() - content.top();
            const QString title = QString::fromLatin1(DescribeCriterion(*in.filter->axisCriterion(FilterAxis::Y), true).c_str());
            p.save();
            QFont font = p.font();
            while (QFontMetrics(font).horizontalAdvance(title) > length && font.pixelSize() > kSmallestTitlePixels)
                font.setPixelSize(font.pixelSize() - 1);
            p.setFont(font);
            const QFontMetrics small(font);
            p.translate(area.left() + 2, content.top() + length / 2);
            p.rotate(-90);
            p.drawText(QRect(-length / 2, 0, length, small.height()), Qt::AlignHCenter,
                       small.elidedText(title, Qt::ElideRight, length));
            p.restore();
        }
        std::vector<uint8_t> hx, hy;
        const std::vector<float> xs = Values(in, true, hx), ys = Values(in, false, hy);
        if (xHist) {
            const int bins = HistogramBinCount(l.xHistogram.width(), s.xBinWidth, in.zoom);
            DrawHistogram(p, l.xHistogram, HistogramCounts(xs, hx, in.x, bins), false, s.xHistogramColour,
                          s.xHistogramPen, s.has(kHistXBars), s.has(kHistXLine), s.xSmoothing);
            p.setPen(Qt::gray);
            p.drawRect(l.xHistogram.adjusted(0, 0, -1, -1));
            p.setPen(Qt::black);
            Text(p, QRect(area.left(), l.xHistogram.top(), kLeftMargin - 6, fm.height()), Qt::AlignRight, "Frequency");
        }
        if (yHist) {
            const int bins = HistogramBinCount(l.yHistogram.height(), s.yBinWidth, in.zoom);
            DrawHistogram(p, l.yHistogram, HistogramCounts(ys, hy, in.y, bins), true, s.yHistogramColour,
                          s.yHistogramPen, s.has(kHistYBars), s.has(kHistYLine), s.ySmoothing);
            p.setPen(Qt::gray);
            p.drawRect(l.yHistogram.adjusted(0, 0, -1, -1));
            p.setPen(Qt::black);
            Text(p, QRect(l.yHistogram.left(), l.yHistogram.bottom() + 4, l.yHistogram.width(), fm.height()),
                 Qt::AlignHCenter, "Frequency");
        }
        if (scatter) {
            const MarkShape shape = MarkShape(std::clamp(s.markShape, 0, 6));
            ZCoding z;
            bool anyZ = false;
            for (const GraphRowValues& r : in.rows) {
                if (!r.hasZ)
                    continue;
                z.zMin = anyZ ? std::min(z.zMin, double(r.z)) : r.z;
                z.zMax = anyZ ? std::max(z.zMax, double(r.z)) : r.z;
                anyZ = true;
            }
            const bool zCriterion = Has(in, FilterAxis::Z) && anyZ;
            const bool sizeByZ = zCriterion && s.scatter(kScatterSizeByZ);
            const bool colourByZ = zCriterion && s.scatter(kScatterColourByZ);
            FitSums sums;
            p.setClipRect(l.plot.adjusted(-1, -1, 1, 1));
            for (size_t i = 0; i < in.rows.size(); ++i) {
                const GraphRowValues& r = in.rows[i];
                if (!r.hasX || !r.hasY)
                    continue;
                sums.add(r.x, r.y);
                const double px = out.scale.px(r.x), py = out.scale.py(r.y);
                out.marks[i] = {int(std::lround(px)), int(std::lround(py))};
                if (!out.scale.inside(std::lround(px), std::lround(py)))
                    continue;
                out.drawn[i] = 1;
                ++out.displayed;
            }
            auto drawRow = [&](size_t i, bool highlight) {
                const GraphRowValues& r = in.rows[i];
                int size = s.markSize;
                bool down = false;
                QColor fill = Colour(s.markFill);
                if (sizeByZ && r.hasZ) {
                    size = ZMarkSize(z, r.z, s.smallestSize, s.largestSize, s.markSize, shape == MarkShape::Triangle);
                    down = shape == MarkShape::Triangle && r.z < 0;
                }
                if (colourByZ && r.hasZ) {
                    const int step = ZColourStep(z, r.z);
                    fill = r.z > 0 ? Colour(RampColour(s.positiveLow, s.positiveHigh, step))
                                   : Colour(RampColour(s.negativeLow, s.negativeHigh, step));
                }
                if (highlight)
                    fill = Colour(s.highlight);
                const bool filled = s.scatter(kScatterFilled) || colourByZ || highlight;
                const bool lines = shape == MarkShape::Cross || shape == MarkShape::Plus || shape == MarkShape::Point;
                DrawMark(p, MarkOutline(shape, out.marks[i][0], out.marks[i][1], size, down), filled && !lines,
                         s.scatter(kScatterOutlined) || lines, fill, highlight ? Colour(s.highlight) : Colour(PenColourOf(s.markPen)));
            };
            for (size_t i = 0; i < in.rows.size(); ++i)
                if (out.drawn[i] && int(i) != in.currentRow)
                    drawRow(i, false);
            if (in.currentRow >= 0 && size_t(in.currentRow) < in.rows.size() && out.drawn[size_t(in.currentRow)])
                drawRow(size_t(in.currentRow), true);
            p.setClipRect(l.plot);
            if (s.scatter(kStatLinesShown) && sums.n > 0) {
                if (s.scatter(kStatRegression)) {
                    p.setPen(Pen(p, s.regressionPen));
                    if (const auto line = RegressionYOnX(sums))
                        p.drawLine(QPointF(out.scale.px(in.x.min), out.scale.py(line->intercept + line->slope * in.x.min)),
                                   QPointF(out.scale.px(in.x.max), out.scale.py(line->intercept + line->slope * in.x.max)));
                    if (const auto line = RegressionXOnY(sums))
                        p.drawLine(QPointF(out.scale.px(line->intercept + line->slope * in.y.min), out.scale.py(in.y.min)),
                                   QPointF(out.scale.px(line->intercept + line->slope * in.y.max), out.scale.py(in.y.max)));
                }
                if (s.scatter(kStatMeans)) {
                    p.setPen(Pen(p, s.meanPen));
                    const double mx = out.scale.px(sums.x / sums.n), my = out.scale.py(sums.y / sums.n);
                    p.drawLine(QPointF(mx, l.plot.top()), QPointF(mx, l.plot.bottom()));
                    p.drawLine(QPointF(l.plot.left(), my), QPointF(l.plot.right(), my));
                }
            }
            p.setClipRect(area);
        } else if (hasX) {
            out.displayed = 0;
        }
        const std::string legend = ZLegendText(in);
        if (!legend.empty()) {
            p.setPen(Qt::black);
            const int w = fm.horizontalAdvance(QString::fromLatin1(legend.c_str()));
            if (w + 4 <= area.width())
                Text(p, QRect(area.right() - 4 - w, area.top() + 2, w + 1, fm.height()), Qt::AlignLeft, legend);
        }
    }
    p.setPen(Qt::black);
    Text(p, QRect(area.left() + 4, area.bottom() - kStatusBand + 2, area.width() - 8, kStatusBand - 2), Qt::AlignLeft,
         GraphStatusLine(in, out.displayed));
    if (in.focusMark) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(area.adjusted(1, 1, -2, -2));
    }
    p.restore();
    return out;
}

} // namespace qv
