// The highest and lowest of the last n values, for the indicator windows: a ring of the values with
// the two extremes at hand, scanned again only when an extreme leaves the window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

// The same highest and lowest as RollingExtremes for the same pushes; cheaper per value on prices,
// where a new value rarely displaces an extreme, at the cost of a scan of n values when one leaves.
class WindowExtremes {
public:
    // A window of n values (at least 1) that starts holding `first`.
    WindowExtremes(int32_t n, float first);
    ~WindowExtremes();
    WindowExtremes(const WindowExtremes&) = delete;
    WindowExtremes& operator=(const WindowExtremes&) = delete;

    // Adds a value; the one n pushes back leaves the window.
    void Push(float value)
    {
        const float leaving = values_[write_];
        values_[write_] = value;
        if (++write_ == capacity_)
            write_ = 0;
        // A new extreme is taken without a branch; only an extreme that leaves, unreplaced, costs a scan.
        const float highest = highest_, lowest = lowest_;
        highest_ = value > highest ? value : highest;
        lowest_ = value < lowest ? value : lowest;
        if (leaving == highest && value < highest)
            highest_ = ScanHighest();
        if (leaving == lowest && value > lowest)
            lowest_ = ScanLowest();
    }

    // Push over `count` values laid `stride` bytes apart, writing the highest (or the lowest) after each
    // push: the same values as Push then Highest/Lowest, to the bit. Without zeros or NaNs about, by
    // segments, with no branch on the values; otherwise Push's steps with the ring's state held in
    // registers through the run. The other extreme is brought up to date once at the end.
    void PushSeriesHighest(const float* first, size_t stride, size_t count, float* highest);
    void PushSeriesLowest(const float* first, size_t stride, size_t count, float* lowest);

    float Highest() const { return highest_; }
    float Lowest() const { return lowest_; }

private:
    float ScanHighest() const;
    float ScanLowest() const;
    template <bool High>
    void PushSeries(const float* first, size_t stride, size_t count, float* extremes);
    template <bool High>
    bool PushSeriesBySegments(const float* first, size_t stride, size_t count, float* extremes);

    float* values_; // the ring; it starts full of the first value, which stands in for the empty slots
    int32_t capacity_;
    int32_t write_ = 0;
    float highest_, lowest_;
    std::vector<float> scratch_; // PushSeriesBySegments' arrays, kept between runs
};

} // namespace qv
