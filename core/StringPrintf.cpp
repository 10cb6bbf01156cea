// Formats in two bounded passes: measure, then write into a buffer of exactly that size.
#include "core/StringPrintf.h"

#include <cstdarg>
#include <cstdio>

namespace qv {

std::string StringPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    char small[64];
    int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (n < 0) {
        va_end(again);
        return out;
    }
    if (size_t(n) < sizeof small) {
        out.assign(small, size_t(n));
    } else {
        out.resize(size_t(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, again);
        out.resize(size_t(n));
    }
    va_end(again);
    return out;
}

} // namespace qv
