// Slide show delay and stepping.
#include "shell/SlideShow.h"

namespace qv {

int32_t SlideDelayTenths(int32_t setting)
{
    return setting < 1 || setting > 600 ? kDefaultSlideDelayTenths : setting;
}

SlideStep NextSlide(int32_t current, int32_t first, int32_t last, int32_t start, bool loop)
{
    int32_t next = current + 1;
    if (next <= last)
        return SlideStep{false, next};
    if (loop)
        return SlideStep{false, first};
    return SlideStep{true, start > last ? first : start};
}

} // namespace qv
