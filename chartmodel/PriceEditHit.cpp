// Taking hold of a bar's prices and dragging them.
#include "chartmodel/PriceEditHit.h"

#include <algorithm>

namespace qv {
namespace {

int32_t Squared(int32_t dx, int32_t dy) { return dx * dx + dy * dy; }

bool HasPrices(const DayRecord& day) { return day.open > 0 && day.high > 0 && day.low > 0; }

float Price(double value) { return float(std::clamp(value, 0.0, double(kEditMaxPrice))); }

} // namespace

uint32_t ChoosePriceEditPart(const PriceEditBar& bar, int32_t x, int32_t y)
{
    const int32_t top = std::min(bar.yHigh, bar.yLow), bottom = std::max(bar.yHigh, bar.yLow);
    if (y < top - kEditGrabPixels || y > bottom + kEditGrabPixels)
        return kEditPartNone;
    uint32_t part = kEditPartBar;
    int32_t nearest = kEditPointSquared;
    auto consider = [&](uint32_t candidate, int32_t px, int32_t py) {
        const int32_t d = Squared(x - px, y - py);
        if (d < nearest) {
            nearest = d;
            part = candidate;
        }
    };
    if (bar.yLow > bar.yHigh)
        consider(kEditPartLow, bar.x, bar.yLow);
    consider(kEditPartHigh, bar.x, bar.yHigh);
    if (bar.style == 1 || bar.style == 4)
        consider(kEditPartOpen, bar.x - bar.halfWidth, bar.yOpen);
    if (bar.style != 3)
        consider(kEditPartClose, bar.style == 0 ? bar.x : bar.x + bar.halfWidth, bar.yClose);
    return part;
}

void ApplyPriceEditDrag(DayRecord& day, const DayRecord& held, float heldValue, uint32_t part, double value)
{
    value = std::max(value, 0.0);
    if (part == kEditPartVolume) {
        day.volume = float(std::min(value, double(kEditMaxVolume)));
        return;
    }
    const float v = Price(value);
    switch (part) {
    case kEditPartBar:
        if (!HasPrices(held)) {
            day.open = day.high = day.low = day.close = v;
            return;
        }
        {
            // The whole bar follows the mouse; no price goes below 0 or above the limit.
            const double shift = double(v) - double(heldValue);
            day.open = Price(held.open + shift);
            day.high = Price(held.high + shift);
            day.low = Price(held.low + shift);
            day.close = Price(held.close + shift);
        }
        return;
    case kEditPartOpen:
    case kEditPartClose:
        (part == kEditPartOpen ? day.open : day.close) = v;
        if (HasPrices(day)) {
            day.high = std::max(day.high, v);
            day.low = std::min(day.low, v);
        }
        return;
    case kEditPartHigh:
        day.high = v;
        day.low = std::min(day.low, v);
        day.open = std::min(day.open, v);
        day.close = std::min(day.close, v);
        return;
    case kEditPartLow:
        day.low = v;
        day.high = std::max(day.high, v);
        day.open = std::max(day.open, v);
        day.close = std::max(day.close, v);
        return;
    default: return;
    }
}

} // namespace qv
