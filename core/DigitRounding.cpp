// Rounding up digit texts in place.
#include "core/DigitRounding.h"

#include <cstring>

namespace qv {

size_t RoundUpDigitsBefore(char* s, size_t length, size_t end, size_t room)
{
    size_t j = end;
    while (j > 0) {
        char& c = s[j - 1];
        if (c == '.') {
            --j;
            continue;
        }
        if (c < '0' || c > '9')
            break;
        if (c != '9') {
            ++c;
            return length;
        }
        c = '0';
        --j;
    }
    if (length + 1 >= room)
        return length;
    std::memmove(s + j + 1, s + j, length - j + 1);
    s[j] = '1';
    return length + 1;
}

} // namespace qv
