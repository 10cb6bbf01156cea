// Choosing a price's scale and coding it.
#include "core/ScaledPrice.h"

#include "core/VarInt.h"
#include "platform/ByteOrder.h"

#include <cmath>

namespace qv {
namespace {

bool Fractional(double v) { return std::fabs(std::round(v) - v) >= 0.001; }

} // namespace

std::optional<ScaledPrice> ScalePrice(float price)
{
    double p = price;
    if (!std::isfinite(p) || p < 0)
        return std::nullopt;
    double s = 1, v = p;
    while (Fractional(v)) {
        s *= 2;
        v *= 2;
        if (s > 10) {
            v = p * 10;
            s = 10;
            while (v < 60000 && Fractional(v)) {
                v *= 10;
                s *= 10;
            }
            break;
        }
    }
    while (v >= 600000) {
        v = (v + 5) * 0.1;
        s = s < 0 ? s * 10 : s == 1 ? -10 : s >= 10 ? s / 10 : s;
    }
    while (s > 10000)
        s /= 10;
    if (s < -10000)
        return std::nullopt;
    double coded = s >= 0 ? std::floor(s * p + 0.5) : std::floor(p / -s + 0.5);
    return ScaledPrice{int16_t(s), int32_t(coded)};
}

uint8_t* FormatScaledPrice(uint8_t* subRecord, uint8_t* out, float price)
{
    auto scaled = ScalePrice(price);
    if (!scaled)
        return nullptr;
    // The scale is stored only once the value has been written, so a refusal leaves the sub-record as
    // it was.
    uint8_t* end = EncodeVarInt(scaled->value, out);
    if (end)
        StoreI16(subRecord + 8, scaled->scale);
    return end;
}

} // namespace qv
