// The window's scans, run when an extreme leaves it.
#include "chartmodel/WindowExtremes.h"

#include "core/Memory.h"

#include <algorithm>

namespace qv {

WindowExtremes::WindowExtremes(int32_t n, float first)
    : capacity_(std::max(n, 1)), highest_(first), lowest_(first)
{
    values_ = static_cast<float*>(ProCalloc(uint32_t(capacity_), sizeof(float), "Window extremes"));
    std::fill_n(values_, capacity_, first);
}

WindowExtremes::~WindowExtremes()
{
    ProFree(values_);
}

float WindowExtremes::ScanHighest() const
{
    float highest = values_[0];
    for (int32_t i = 1; i < capacity_; ++i)
        highest = std::max(highest, values_[i]);
    return highest;
}

float WindowExtremes::ScanLowest() const
{
    float lowest = values_[0];
    for (int32_t i = 1; i < capacity_; ++i)
        lowest = std::min(lowest, values_[i]);
    return lowest;
}

} // namespace qv
