// Box tables: band lookup, box sizes, box numbers and the price range of a run of boxes. No step
// divides by zero or turns an infinity into an integer.
#include "chartmodel/BoxTable.h"

#include "chartmodel/ChartMath.h"
#include "chartmodel/GraphModel.h"

#include <cfloat>
#include <cmath>

namespace qv {
namespace {

// ln of the growth factor of one box of a percentage table; 0 when the table cannot grow.
double PercentStep(const BoxTable& table)
{
    double factor = (double(table.boxSizes[0]) + 100) * 0.01;
    return factor > 0 ? std::log(factor) : 0;
}

int32_t BoxesIn(double span, double size)
{
    if (!(size > 0))
        return 0;
    return SaturatingTrunc32(span / size);
}

void SetEmpty(ValueRange& range)
{
    range.minimum = FLT_MAX;
    range.maximum = -FLT_MAX;
}

} // namespace

int32_t FindPriceBand(float price, const float* lows, int32_t n)
{
    int32_t band = 0;
    for (int32_t i = 1; i < n; ++i)
        if (lows[i] <= price)
            band = i;
    return band;
}

float GetBoxSize(float price, const BoxTable& table)
{
    if (table.percentage)
        return float(double(price) * table.boxSizes[0] * 0.01);
    if (table.bandCount < 1)
        return table.boxSizes ? table.boxSizes[0] : 0;
    return table.boxSizes[FindPriceBand(price, table.bandLows, table.bandCount)];
}

int32_t PriceToBoxNumber(float price, const BoxTable& table)
{
    if (table.percentage) {
        double step = PercentStep(table);
        if (!(price > 0) || step == 0)
            return 0;
        return SaturatingTrunc32(std::trunc(std::log(double(price)) / step)) - table.baseBox;
    }
    if (table.bandCount < 1)
        return 0;
    int32_t band = FindPriceBand(price, table.bandLows, table.bandCount);
    int64_t boxes = 0;
    for (int32_t i = 0; i < band; ++i)
        boxes += BoxesIn(table.bandLows[i + 1] + 0.0001 - table.bandLows[i], table.boxSizes[i]);
    boxes += BoxesIn(price + 0.0001 - table.bandLows[band], table.boxSizes[band]);
    return SaturatingTrunc32(double(boxes));
}

void GetBoxPriceRange(ValueRange& range, int32_t topRow, int32_t bottomRow, const BoxTable& table, float f,
                      int32_t firstBox)
{
    range.yTop = topRow;
    range.yBottom = bottomRow;
    range.flags = 0;
    SetEmpty(range);
    if (table.percentage || table.bandCount == 1) {
        if (!(f > 0))
            return;
        double a = double(table.baseBox) + firstBox;
        double b = a + (double(bottomRow) - topRow) / f;
        if (table.percentage) {
            double r = PercentStep(table);
            if (r == 0)
                return;
            range.minimum = float(std::exp(r * a));
            range.maximum = float(std::exp(r * b));
            range.flags |= kRangeLogarithmic;
        } else {
            range.minimum = float(a * table.boxSizes[0]);
            range.maximum = float(b * table.boxSizes[0]);
        }
        return;
    }
    if (table.bandCount < 1)
        return;
    int64_t q = SaturatingTrunc32(double(f) + 0.001);
    if (q < 1)
        return;
    int64_t y = q * firstBox + bottomRow;
    for (int32_t i = 0; i < table.bandCount; ++i) {
        double size = table.boxSizes[i];
        if (y >= bottomRow)
            range.minimum = float(table.bandLows[i] + double(y - bottomRow) * size / double(q));
        if (y < topRow)
            break;
        range.maximum = float(table.bandLows[i] + double(y - topRow) * size / double(q));
        if (i + 1 < table.bandCount)
            y -= q * BoxesIn(double(table.bandLows[i + 1]) - table.bandLows[i] + 0.001 * size, size);
    }
}

} // namespace qv
