// Conversions of computed chart values to integers that never overflow: a NaN gives 0 and values
// beyond the 32-bit or 64-bit range give its nearest end.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace qv {

inline int32_t SaturatingTrunc32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return int32_t(v);
}

inline int64_t SaturatingTrunc64(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 9.2233720368547748e18)
        return std::numeric_limits<int64_t>::max();
    if (v <= -9.2233720368547758e18)
        return std::numeric_limits<int64_t>::min();
    return int64_t(v);
}

} // namespace qv
