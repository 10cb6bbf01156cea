// The data-mining graphs' settings record and rules.
#include "datamining/DataMiningGraphs.h"

#include "core/StringPrintf.h"

#include "platform/ByteOrder.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

namespace L = DataMiningGraphLayout;

constexpr uint32_t kSixBits = 63;

uint32_t U32(const DataMiningGraph& r, size_t offset) { return LoadU32(r.data() + offset); }

int Field(uint32_t word, int shift) { return int((word >> shift) & kSixBits); }
uint32_t Pack(int value, int shift) { return uint32_t(std::clamp(value, 0, int(kSixBits))) << shift; }

constexpr uint32_t kLightBlue = 0x00F0CAA6; // red 166, green 202, blue 240
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kGreen = 0x0000FF00;
constexpr uint32_t kBlue = 0x00FF0000;
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kDarkRed = 0x00000080;
constexpr uint32_t kButtonFace = 0x00C0C0C0;
constexpr uint32_t kButtonShadow = 0x00808080;

} // namespace

DataMiningGraphSettings DataMiningGraphSettings::Read(const DataMiningGraph& r)
{
    DataMiningGraphSettings s;
    s.xHistogramColour = U32(r, L::XHistogramColour);
    s.xHistogramPen = U32(r, L::XHistogramPen);
    s.yHistogramColour = U32(r, L::YHistogramColour);
    s.yHistogramPen = U32(r, L::YHistogramPen);
    const uint32_t h = U32(r, L::HistogramWord);
    s.xBinWidth = Field(h, 0);
    s.yBinWidth = Field(h, 6);
    s.xSmoothing = Field(h, 12);
    s.ySmoothing = Field(h, 18);
    s.histogramFlags = h & 0xFF000000u;
    s.markFill = U32(r, L::MarkFill);
    s.markPen = U32(r, L::MarkPen);
    s.positiveLow = U32(r, L::PositiveLow);
    s.positiveHigh = U32(r, L::PositiveHigh);
    s.negativeLow = U32(r, L::NegativeLow);
    s.negativeHigh = U32(r, L::NegativeHigh);
    const uint32_t w = U32(r, L::ScatterWord);
    s.markSize = Field(w, 0);
    s.markShape = Field(w, 6);
    s.smallestSize = Field(w, 12);
    s.largestSize = Field(w, 18);
    s.scatterFlags = w & 0xFF000000u;
    s.highlight = U32(r, L::Highlight);
    s.regressionPen = U32(r, L::RegressionPen);
    s.meanPen = U32(r, L::MeanPen);
    return s;
}

void DataMiningGraphSettings::Write(DataMiningGraph& r) const
{
    uint8_t* d = r.data();
    StoreU32(d + L::XHistogramColour, xHistogramColour);
    StoreU32(d + L::XHistogramPen, xHistogramPen);
    StoreU32(d + L::YHistogramColour, yHistogramColour);
    StoreU32(d + L::YHistogramPen, yHistogramPen);
    StoreU32(d + L::HistogramWord, Pack(xBinWidth, 0) | Pack(yBinWidth, 6) | Pack(xSmoothing, 12) |
                                       Pack(ySmoothing, 18) | (histogramFlags & 0xFF000000u));
    StoreU32(d + L::MarkFill, markFill);
    StoreU32(d + L::MarkPen, markPen);
    StoreU32(d + L::PositiveLow, positiveLow);
    StoreU32(d + L::PositiveHigh, positiveHigh);
    StoreU32(d + L::NegativeLow, negativeLow);
    StoreU32(d + L::NegativeHigh, negativeHigh);
    StoreU32(d + L::ScatterWord, Pack(markSize, 0) | Pack(markShape, 6) | Pack(smallestSize, 12) |
                                     Pack(largestSize, 18) | (scatterFlags & 0xFF000000u));
    StoreU32(d + L::Highlight, highlight);
    StoreU32(d + L::RegressionPen, regressionPen);
    StoreU32(d + L::MeanPen, meanPen);
}

DataMiningGraphSettings DefaultDataMiningGraphSettings()
{
    DataMiningGraphSettings s;
    s.xHistogramColour = s.yHistogramColour = kLightBlue;
    s.xHistogramPen = s.yHistogramPen = kRed;
    s.xBinWidth = s.yBinWidth = 5;
    s.xSmoothing = s.ySmoothing = 10;
    s.histogramFlags = kHistXBars | kHistYBars | kHistXLine | kHistYLine | kHistXShown | kHistYShown;
    s.markFill = kButtonFace;
    s.markPen = kButtonShadow;
    s.positiveLow = kDarkRed;
    s.positiveHigh = kBlue;
    s.negativeLow = kDarkRed;
    s.negativeHigh = kWhite;
    s.markSize = 4;
    s.markShape = int(MarkShape::Square);
    s.smallestSize = 3;
    s.largestSize = 16;
    s.scatterFlags = kScatterShown | kScatterOutlined | kScatterFilled | kStatLinesShown | kStatRegression | kStatMeans;
    s.highlight = kRed;
    s.regressionPen = kRed;
    s.meanPen = kGreen;
    return s;
}

AxisRange WidenedRange(double min, double max)
{
    if (min == max)
        return {min - 1, max + 1};
    return {std::min(min, max), std::max(min, max)};
}

long RoundHalfAway(double v) { return long(v < 0 ? std::ceil(v - 0.5) : std::floor(v + 0.5)); }

int HistogramBinCount(int areaPixels, int binWidth, double zoom)
{
    const double width = std::max(1, binWidth) * (zoom > 0 ? zoom : 1.0);
    return std::max(1, int(areaPixels / width));
}

std::vector<int> HistogramCounts(std::span<const float> values, std::span<const uint8_t> has, AxisRange range, int bins)
{
    std::vector<int> counts(size_t(std::max(bins, 1)), 0);
    if (range.span() == 0)
        return counts;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i < has.size() && !has[i])
            continue;
        const long bin = RoundHalfAway((values[i] - range.min) * (bins - 1) / range.span());
        if (bin >= 0 && bin < bins)
            ++counts[size_t(bin)];
    }
    return counts;
}

namespace {

int TickDecimals(double step)
{
    if (step >= 1 - 1e-9)
        return 0;
    if (step >= 0.1 - 1e-12)
        return 1;
    if (step >= 0.01 - 1e-12)
        return 2;
    return 3;
}

} // namespace

std::string TickLabel(double value, double step)
{
    if (std::fabs(value) < step * 1e-9)
        value = 0;
    double scale = 1;
    const char* suffix = "";
    if (step >= 1e9 * 0.1) {
        scale = 1e9;
        suffix = "bn";
    } else if (step >= 1e5) {
        scale = 1e6;
        suffix = "m";
    }
    return StringPrintf("%.*f%s", TickDecimals(step / scale), value / scale, suffix);
}

AxisTicks ChooseTicks(AxisRange range, int pixels, int minGap)
{
    AxisTicks t;
    const double span = range.span();
    if (!(span > 0) || pixels <= 0)
        return t;
    const double most = std::max(1.0, double(pixels) / std::max(1, minGap));
    double base = std::pow(10.0, std::floor(std::log10(span)));
    static constexpr double kMultipliers[] = {0.1, 0.2, 0.5, 1, 2, 4};
    for (int round = 0; round < 8; ++round, base *= 10) {
        for (double m : kMultipliers) {
            if (span / (base * m) <= most) {
                t.step = base * m;
                t.first = std::ceil(range.min / t.step) * t.step;
                return t;
            }
        }
    }
    t.step = span;
    t.first = range.min;
    return t;
}

MarkGeometry MarkOutline(MarkShape shape, int x, int y, int r, bool pointDown)
{
    MarkGeometry g;
    g.shape = shape;
    switch (shape) {
    case MarkShape::Square: g.points = {{x - r, y - r}, {x + r + 1, y + r + 1}}; break;
    case MarkShape::Circle: g.points = {{x - r, y - r}, {x + r + 2, y + r + 2}}; break;
    case MarkShape::Diamond: g.points = {{x + r, y}, {x, y + 2 * r}, {x - r, y}, {x, y - 2 * r}}; break;
    case MarkShape::Triangle: {
        const int tip = pointDown ? 10 * r / 8 : -10 * r / 8;
        const int base = pointDown ? -6 * r / 8 : 6 * r / 8;
        g.points = {{x, y + tip}, {x - r, y + base}, {x + r, y + base}};
        break;
    }
    case MarkShape::Cross: g.points = {{x - r, y - r}, {x + r + 1, y + r + 1}, {x + r, y - r}, {x - r - 1, y + r + 1}}; break;
    case MarkShape::Plus: g.points = {{x, y - r}, {x, y + r + 1}, {x - r, y}, {x + r + 1, y}}; break;
    case MarkShape::Point: g.points = {{x, y}}; break;
    }
    return g;
}

double ZCoding::magnitude() const { return std::max(std::fabs(zMin), std::fabs(zMax)); }

int ZMarkSize(const ZCoding& z, double value, int smallest, int largest, int baseSize, bool triangle)
{
    if (triangle) {
        const double m = z.magnitude();
        return m == 0 ? baseSize : int(RoundHalfAway(std::fabs(value) * largest / m));
    }
    const double span = z.zMax - z.zMin;
    if (span == 0)
        return baseSize;
    return int(RoundHalfAway(smallest + (value - z.zMin) * (largest - smallest) / span));
}

int ZColourStep(const ZCoding& z, double value)
{
    const double m = z.magnitude();
    if (m == 0)
        return 0;
    return std::min(63, int(std::fabs(value) * 63 / m));
}

uint32_t RampColour(uint32_t from, uint32_t to, int step)
{
    step = std::clamp(step, 0, 63);
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = int((from >> shift) & 0xFF), b = int((to >> shift) & 0xFF);
        out |= uint32_t(a + (b - a) * step / 63) << shift;
    }
    return out;
}

void FitSums::add(double vx, double vy)
{
    n += 1;
    x += vx;
    y += vy;
    xy += vx * vy;
    xx += vx * vx;
    yy += vy * vy;
}

std::optional<FitLine> RegressionYOnX(const FitSums& s)
{
    const double d = s.n * s.xx - s.x * s.x;
    if (d == 0 || s.n == 0)
        return std::nullopt;
    const double b = (s.n * s.xy - s.x * s.y) / d;
    return FitLine{b, (s.y - b * s.x) / s.n};
}

std::optional<FitLine> RegressionXOnY(const FitSums& s)
{
    const double d = s.n * s.yy - s.y * s.y;
    if (d == 0 || s.n == 0)
        return std::nullopt;
    const double b = (s.n * s.xy - s.x * s.y) / d;
    return FitLine{b, (s.x - b * s.y) / s.n};
}

int DividerSplit(int cursorY, int clientHeight)
{
    if (clientHeight <= 0)
        return 500;
    return std::clamp(int(int64_t(cursorY) * 1000 / clientHeight), 100, 800);
}

bool RectangleZooms(int width, int height)
{
    return std::abs(width) >= kZoomRectangleMinimum && std::abs(height) >= kZoomRectangleMinimum;
}

bool AxisZooms(AxisRange range) { return range.span() > kLeastZoomRange; }

int PickNearestMark(std::span<const std::array<int, 2>> marks, std::span<const uint8_t> drawn, int x, int y)
{
    int best = -1;
    double bestDistance = kPickRadius;
    for (size_t i = 0; i < marks.size(); ++i) {
        if (i < drawn.size() && !drawn[i])
            continue;
        const double d = std::hypot(double(marks[i][0] - x), double(marks[i][1] - y));
        if (d <= bestDistance && (best < 0 || d < bestDistance)) {
            best = int(i);
            bestDistance = d;
        }
    }
    return best;
}

} // namespace qv
