// The slide show's rules: its delay setting and how the current entry moves on after each slide.
#pragma once

#include <cstdint>

namespace qv {

// The delay setting in tenths of a second; outside 1-600 it is 25 (2.5 seconds).
constexpr int32_t kDefaultSlideDelayTenths = 25;
int32_t SlideDelayTenths(int32_t setting);

// The entry the show moves to from `current`, or stop: past the last entry a looping show goes back
// to the first, any other ends on the entry it started from (the first when that lies past the
// last).
struct SlideStep {
    bool stop = false;
    int32_t entry = 0;
};
SlideStep NextSlide(int32_t current, int32_t first, int32_t last, int32_t start, bool loop);

} // namespace qv
