// A sliding window over the last n values that keeps its highest and lowest at hand.
#pragma once

#include <cstdint>

namespace qv {

// Each side keeps a ring of candidate positions in the order they came: a value enters by dropping
// the candidates it outdoes, and the head leaves when its value falls out of the window. Push is
// amortised constant time.
class RollingExtremes {
public:
    // A window of n values (at least 1) that starts holding `first`.
    RollingExtremes(uint16_t n, float first);
    ~RollingExtremes();
    RollingExtremes(const RollingExtremes&) = delete;
    RollingExtremes& operator=(const RollingExtremes&) = delete;

    // Starts again holding only `first`.
    void Reset(float first);
    // Adds a value; the one n pushes back leaves the window.
    void Push(float value);

    float Highest() const { return values_[maxRing_[maxHead_]]; }
    float Lowest() const { return values_[minRing_[minHead_]]; }
    float GetRange() const { return Highest() - Lowest(); }

private:
    uint16_t* maxRing_; // positions of candidate maxima, oldest first; the block's first n u16
    uint16_t* minRing_; // the same for minima; the next n u16
    uint16_t maxHead_ = 0, maxTail_ = 0;
    uint16_t minHead_ = 0, minTail_ = 0;
    uint16_t capacity_;
    uint16_t writePosition_ = 0;
    float* values_; // the last n values, a ring; the block's last 4n bytes
};

} // namespace qv
