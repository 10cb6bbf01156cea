// Formats in two bounded passes: measure, then write into a buffer of exactly that size.
#include "core/StringPrintf.h"

#include <cstdarg>
#include <cstdio>

namespace qv {
namespace {

void AppendFormatted(std::string& out, const char* format, va_list args)
{
    va_list again;
    va_copy(again, args);
    char small[64];
    int n = std::vsnprintf(small, sizeof small, format, args);
    if (n >= 0 && size_t(n) < sizeof small) {
        out.append(small, size_t(n));
    } else if (n >= 0) {
        size_t start = out.size();
        out.resize(start + size_t(n) + 1);
        std::vsnprintf(out.data() + start, size_t(n) + 1, format, again);
        out.resize(start + size_t(n));
    }
    va_end(again);
}

} // namespace

std::string StringPrintf(const char* format, ...)
{
    std::string out;
    va_list args;
    va_start(args, format);
    AppendFormatted(out, format, args);
    va_end(args);
    return out;
}

void AppendPrintf(std::string& out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatted(out, format, args);
    va_end(args);
}

} // namespace qv
