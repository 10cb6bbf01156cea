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

// Neither zero nor NaN: among such values the ones that compare equal have the same bits, so that any
// order of comparing them picks the same extreme, to the bit.
inline bool Plain(float value)
{
    return value != 0 && value == value;
}

template <bool High>
inline float Better(float a, float b)
{
    return High ? (a > b ? a : b) : (a < b ? a : b);
}

} // namespace

// The run without a branch on the data (van Herk and Gil-Werman): the window's last n - 1 values and the
// run's follow each other in one array, cut into segments of n; the extreme of the window ending at j is
// the better of the extreme from j - n + 1 to its segment's end and of the extreme from j's segment's
// start to j. Push picks the same values as long as no zero or NaN is about (+0 and -0 compare equal,
// and which one Push keeps depends on the order of its comparisons; a NaN stops its comparisons) and the
// extreme it holds is its ring's; otherwise this declines and Push's own steps run.
template <bool High>
bool WindowExtremes::PushSeriesBySegments(const float* first, size_t stride, size_t count, float* extremes)
{
    const size_t n = size_t(capacity_), history = n - 1, length = history + count;
    bool plain = true;
    float ringExtreme = values_[0];
    for (size_t m = 0; m < n; ++m) {
        plain &= Plain(values_[m]);
        ringExtreme = Better<High>(values_[m], ringExtreme);
    }
    if (!plain || ringExtreme != (High ? highest_ : lowest_))
        return false;
    scratch_.resize(3 * length);
    float* const a = scratch_.data();
    float* const fromStart = a + length;
    float* const toEnd = fromStart + length;
    for (size_t m = 0, slot = size_t(write_); m < history; ++m) {
        slot = slot + 1 == n ? 0 : slot + 1;
        a[m] = values_[slot];
    }
    for (size_t i = 0; i < count; ++i) {
        a[history + i] = At(first, stride, i);
        plain &= Plain(a[history + i]);
    }
    if (!plain)
        return false;
    for (size_t start = 0; start < length; start += n) {
        const size_t end = std::min(start + n, length);
        float run = fromStart[start] = a[start];
        for (size_t j = start + 1; j < end; ++j)
            run = fromStart[j] = Better<High>(a[j], run);
        run = toEnd[end - 1] = a[end - 1];
        for (size_t j = end - 1; j > start; --j)
            run = toEnd[j - 1] = Better<High>(a[j - 1], run);
    }
    for (size_t i = 0; i < count; ++i)
        extremes[i] = Better<High>(toEnd[i], fromStart[history + i]);
    // The ring as the pushes leave it (no division per value: they would cost more than the rest).
    const size_t skipped = count > n ? count - n : 0;
    size_t slot = (size_t(write_) + skipped) % n;
    for (size_t i = skipped; i < count; ++i) {
        values_[slot] = a[history + i];
        slot = slot + 1 == n ? 0 : slot + 1;
    }
    write_ = int32_t(slot);
    return true;
}

// One extreme's run: the highest when High, the lowest otherwise.
template <bool High>
void WindowExtremes::PushSeries(const float* first, size_t stride, size_t count, float* extremes)
{
    if (count > 0 && PushSeriesBySegments<High>(first, stride, count, extremes)) {
        if (High) {
            highest_ = extremes[count - 1];
            lowest_ = ScanLowest();
        } else {
            lowest_ = extremes[count - 1];
            highest_ = ScanHighest();
        }
        return;
    }
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
