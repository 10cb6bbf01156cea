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

namespace {

inline float At(const float* first, size_t stride, size_t i)
{
    return *reinterpret_cast<const float*>(reinterpret_cast<const char*>(first) + i * stride);
}

} // namespace

// One extreme's run: the highest when High, the lowest otherwise.
template <bool High>
void WindowExtremes::PushSeries(const float* first, size_t stride, size_t count, float* extremes)
{
    float* const values = values_;
    const int32_t capacity = capacity_;
    int32_t write = write_;
    float extreme = High ? highest_ : lowest_;
    for (size_t i = 0; i < count; ++i) {
        const float value = At(first, stride, i);
        const float leaving = values[write];
        values[write] = value;
        if (++write == capacity)
            write = 0;
        const float previous = extreme;
        const bool beyond = High ? value > previous : value < previous;
        extreme = beyond ? value : previous;
        const bool within = High ? value < previous : value > previous;
        if (leaving == previous && within)
            extreme = High ? ScanHighest() : ScanLowest();
        extremes[i] = extreme;
    }
    write_ = write;
    if (High) {
        highest_ = extreme;
        lowest_ = ScanLowest();
    } else {
        lowest_ = extreme;
        highest_ = ScanHighest();
    }
}

void WindowExtremes::PushSeriesHighest(const float* first, size_t stride, size_t count, float* highest)
{
    PushSeries<true>(first, stride, count, highest);
}

void WindowExtremes::PushSeriesLowest(const float* first, size_t stride, size_t count, float* lowest)
{
    PushSeries<false>(first, stride, count, lowest);
}

} // namespace qv
