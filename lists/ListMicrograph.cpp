// Small intraday graphs in list cells.
#include "lists/ListMicrograph.h"

#include "core/ColumnDef.h"
#include "core/PackedPen.h"
#include "lists/ListStyle.h"
#include "realtime/IntradayCells.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

constexpr uint8_t kSpreadCode = 76; // 'L'
constexpr int kThermographSlices = 10;

struct Quote {
    uint32_t time = 0;
    float offer = 0, bid = 0;
};
struct Trade {
    uint32_t time = 0;
    float price = 0, volume = 0;
};

// A quote counts only when both prices are there and the bid is not above the offer.
bool SoundQuote(float offer, float bid) { return offer >= 0 && bid >= 0 && bid <= offer; }

void ReadDay(const IntradayGraphDay& day, std::vector<Quote>* quotes, std::vector<Trade>* trades)
{
    uint32_t time = 0;
    for (const IntradayTick& t : day.ticks) {
        switch (t.Kind()) {
        case kTickTime: time = t.value1; break;
        case kTickQuote:
            if (quotes && SoundQuote(t.F1(), t.F2()))
                quotes->push_back({time, t.F1(), t.F2()});
            break;
        case kTickTrade:
            if (trades)
                trades->push_back({time, t.F1(), t.F2()});
            break;
        default: break;
        }
    }
}

uint32_t Blend(uint32_t colour, int shade)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int c = int((colour >> shift) & 0xFF);
        out |= uint32_t((c * (255 - shade) + 255 * shade) / 255) << shift;
    }
    return out;
}

PaintOp Line(int x0, int y0, int x1, int y1, uint32_t pen)
{
    PaintOp op = FillOp(x0, y0, x1, y1, 0);
    op.step = PaintStep::Line;
    op.pen = pen;
    return op;
}

PaintOp SolidLine(int x0, int y0, int x1, int y1, uint32_t colour)
{
    PaintOp op = Line(x0, y0, x1, y1, colour & 0xFFFFFF);
    op.lineStyle = PenSolid;
    return op;
}

void PlanVolumeSplit(std::vector<PaintOp>& ops, int left, int top, int right, int bottom, const ListStyle& style,
                     const IntradayGraphDay& day)
{
    double below = 0, middle = 0, above = 0;
    float offer = -1, bid = -1;
    for (const IntradayTick& t : day.ticks) {
        if (t.Kind() == kTickQuote && SoundQuote(t.F1(), t.F2())) {
            offer = t.F1();
            bid = t.F2();
        }
        if (t.Kind() != kTickTrade)
            continue;
        const float price = t.F1(), volume = t.F2();
        if (offer < 0) {
            middle += volume;
            continue;
        }
        const float mid = (offer + bid) / 2, band = (offer - bid) / 6;
        (price < mid - band ? below : price > mid + band ? above : middle) += volume;
    }
    const double total = 2 * std::max(below, above) + middle;
    if (total <= 0)
        return;
    const double scale = (right - left) / total;
    const int centre = (left + right) / 2;
    const int halfMiddle = int(std::lround(middle * scale / 2));
    const int midLeft = centre - halfMiddle, midRight = centre + halfMiddle;
    const int belowLeft = midLeft - int(std::lround(below * scale));
    const int aboveRight = midRight + int(std::lround(above * scale));
    const int y0 = top + 2, y1 = std::max(bottom - 2, y0 + 1);
    if (belowLeft < midLeft)
        ops.push_back(FillOp(std::max(belowLeft, left), y0, midLeft, y1, style.volumeSplit[1]));
    if (midLeft < midRight)
        ops.push_back(FillOp(midLeft, y0, midRight, y1, style.volumeSplit[2]));
    if (midRight < aboveRight)
        ops.push_back(FillOp(midRight, y0, std::min(aboveRight, right), y1, style.volumeSplit[0]));
}

int TimeX(uint32_t time, const IntradayGraphDay& day, int left, int right)
{
    if (day.close <= day.open)
        return left;
    const double f = (double(std::clamp(time, day.open, day.close)) - day.open) / (day.close - day.open);
    return left + int(f * (right - 1 - left));
}

void PlanPriceLine(std::vector<PaintOp>& ops, int left, int top, int right, int bottom, const ListStyle& style,
                   const uint8_t* column, const IntradayGraphDay& day)
{
    std::vector<Quote> quotes;
    ReadDay(day, &quotes, nullptr);
    if (quotes.empty())
        return;
    const bool spread = ColumnDefCode(column) == kSpreadCode;
    const auto valueOf = [spread](const Quote& q) { return spread ? std::fabs(q.offer - q.bid) : (q.offer + q.bid) / 2; };
    float low = valueOf(quotes.front()), high = low;
    for (const Quote& q : quotes) {
        low = std::min(low, valueOf(q));
        high = std::max(high, valueOf(q));
    }
    if (high == low) {
        low -= 1;
        high += 1;
    }
    const int y0 = top + 1, y1 = bottom - 2;
    const auto valueY = [&](float v) { return y1 - int(std::lround((v - low) / (high - low) * (y1 - y0))); };
    int x = TimeX(quotes.front().time, day, left, right), y = valueY(valueOf(quotes.front()));
    for (const Quote& q : quotes) {
        const int nx = TimeX(q.time, day, left, right), ny = valueY(valueOf(q));
        if (ny == y)
            continue;
        if (nx != x)
            ops.push_back(Line(x, y, nx, y, style.graphPen));
        ops.push_back(Line(nx, y, nx, ny, style.graphPen));
        x = nx;
        y = ny;
    }
    const int last = TimeX(quotes.back().time, day, left, right);
    if (last != x)
        ops.push_back(Line(x, y, last, y, style.graphPen));
    ops.push_back(Line(last, y - 2, last, y + 3, style.graphPen));
}

void PlanTicks(std::vector<PaintOp>& ops, int left, int top, int right, int bottom, const ListStyle& style,
               const IntradayGraphDay& day)
{
    std::vector<Trade> trades;
    ReadDay(day, nullptr, &trades);
    const int middle = (top + bottom) / 2;
    int x = right - 1;
    for (size_t i = trades.size(); i-- > 1 && x >= left; --x) {
        if (trades[i].time < day.open)
            break;
        const float now = trades[i].price, before = trades[i - 1].price;
        if (now > before)
            ops.push_back(SolidLine(x, middle, x, top + 1, style.tickPens[0]));
        else if (now < before)
            ops.push_back(SolidLine(x, middle, x, bottom - 1, style.tickPens[1]));
        else
            ops.push_back(SolidLine(x, middle - 1, x, middle + 1, style.tickPens[2]));
    }
}

void PlanThermograph(std::vector<PaintOp>& ops, int left, int top, int right, int bottom, const ListStyle& style,
                     const IntradayGraphDay& day)
{
    std::vector<Quote> quotes;
    ReadDay(day, &quotes, nullptr);
    if (quotes.size() < 2 || day.close <= day.open)
        return;
    int net[kThermographSlices] = {};
    const uint32_t length = day.close - day.open;
    for (size_t i = 1; i < quotes.size(); ++i) {
        const float now = quotes[i].offer + quotes[i].bid, before = quotes[i - 1].offer + quotes[i - 1].bid;
        if (now == before || quotes[i].time < day.open || quotes[i].time >= day.close)
            continue;
        const size_t slice = std::min<size_t>((quotes[i].time - day.open) * uint64_t(kThermographSlices) / length, kThermographSlices - 1);
        net[slice] += now > before ? 1 : -1;
    }
    int most = 0;
    for (int n : net)
        most = std::max(most, std::abs(n));
    if (most == 0)
        return;
    for (int s = 0; s < kThermographSlices; ++s) {
        if (net[s] == 0)
            continue;
        // The larger a slice's run of rises or falls against the day's largest, the deeper its shade.
        const int level = std::min(8, (std::abs(net[s]) * 8 + most / 2) / most);
        const uint32_t colour = Blend(net[s] > 0 ? style.thermograph[0] : style.thermograph[1], kThermographShades[level]);
        const int x0 = left + (right - left) * s / kThermographSlices, x1 = left + (right - left) * (s + 1) / kThermographSlices;
        ops.push_back(FillOp(x0, top + 1, x1, bottom - 1, colour));
    }
}

} // namespace

int MicrographKindOf(const uint8_t* column)
{
    if (!column || ColumnDefKind(column) != kColumnIntraday)
        return kMicrographNone;
    const uint8_t flags = column[ColumnDefLayout::Align];
    if (flags == kMicrographTicks)
        return kMicrographTicks;
    const int low = flags & 0x0F;
    return low == kMicrographLine || low == kMicrographThermograph || low == kMicrographVolumeSplit ? low : kMicrographNone;
}

void PlanMicrograph(std::vector<PaintOp>& ops, int left, int top, int right, int bottom, const ListStyle& style,
                    const uint8_t* column, const IntradayGraphDay& day)
{
    if (right - left < 3 || bottom - top < 3)
        return;
    switch (MicrographKindOf(column)) {
    case kMicrographVolumeSplit: return PlanVolumeSplit(ops, left, top, right, bottom, style, day);
    case kMicrographLine: return PlanPriceLine(ops, left, top, right, bottom, style, column, day);
    case kMicrographTicks: return PlanTicks(ops, left, top, right, bottom, style, day);
    case kMicrographThermograph: return PlanThermograph(ops, left, top, right, bottom, style, day);
    default: return;
    }
}

} // namespace qv
