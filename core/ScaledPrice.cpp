// Choosing a price's scale and coding it.
#include "core/ScaledPrice.h"

#include "platform/ByteOrder.h"

#include <cmath>
#include <cstdlib>

namespace qv {
namespace {

bool Fractional(double v) { return std::fabs(std::round(v) - v) >= 0.001; }

// The variable-length integer of the price stream: bit 7 more bytes follow, bit 5 of the first byte
// the sign, then the value's bits from the most significant.
uint8_t* PutVarInt(int32_t v, uint8_t* out)
{
    uint32_t m = uint32_t(std::abs(v));
    uint8_t s = v < 0 ? 0x20 : 0;
    if (m < 32) {
        *out++ = uint8_t(m | s);
    } else if (m < 4096) {
        *out++ = uint8_t((m >> 7) | s | 0x80);
        *out++ = uint8_t(m & 0x7F);
    } else if (m < 0x80000) {
        *out++ = uint8_t((m >> 14) | s | 0x80);
        *out++ = uint8_t(((m >> 7) & 0x7F) | 0x80);
        *out++ = uint8_t(m & 0x7F);
    } else {
        *out++ = uint8_t((m >> 21) | s | 0x80);
        *out++ = uint8_t(((m >> 14) & 0x7F) | 0x80);
        *out++ = uint8_t(((m >> 7) & 0x7F) | 0x80);
        *out++ = uint8_t(m & 0x7F);
    }
    return out;
}

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
    StoreI16(subRecord + 8, scaled->scale);
    return PutVarInt(scaled->value, out);
}

} // namespace qv
