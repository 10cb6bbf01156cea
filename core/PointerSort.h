// Sorting an array of 32-bit values (or record pointers) by a caller's less-than test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace qv {

// Median-of-three quicksort of first..last inclusive; short ranges are finished by straight
// insertion. `less(a, b)` is true when a sorts before b. Every index stays inside the range even
// when the test is inconsistent.
template <typename T, typename Less>
void SortPointerArray(T* first, T* last, Less less)
{
    constexpr ptrdiff_t kShortRange = 11;
    while (first && last && last - first + 1 >= kShortRange) {
        T* middle = first + (last - first) / 2;
        if (less(*middle, *first))
            std::swap(*middle, *first);
        if (less(*last, *first))
            std::swap(*last, *first);
        if (less(*last, *middle))
            std::swap(*last, *middle);
        // The median waits next to the last; first and last already sit on their sides.
        std::swap(*middle, *(last - 1));
        T pivot = *(last - 1);
        T* i = first;
        T* j = last - 1;
        for (;;) {
            while (++i < last - 1 && less(*i, pivot)) {
            }
            while (--j > first && less(pivot, *j)) {
            }
            if (i >= j)
                break;
            std::swap(*i, *j);
        }
        std::swap(*i, *(last - 1));
        SortPointerArray(first, i - 1, less);
        first = i + 1;
    }
    if (!first || !last || first >= last)
        return;
    for (T* i = first + 1; i <= last; ++i) {
        T value = *i;
        T* j = i;
        for (; j > first && less(value, *(j - 1)); --j)
            *j = *(j - 1);
        *j = value;
    }
}

// The program's plain test: two signed 32-bit values.
inline bool LessInt32(int32_t a, int32_t b) { return a < b; }

} // namespace qv
