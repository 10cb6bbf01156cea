// Rounding a number written as digits: one added at a place, carried leftwards over nines and the point.
#pragma once

#include <cstddef>

namespace qv {

// Adds one to the digits before `end` of the NUL-ended text of `length` characters, carrying over
// nines and the point; a carry past the first digit puts a "1" in front when the buffer's `room`
// holds it. Returns the new length.
size_t RoundUpDigitsBefore(char* s, size_t length, size_t end, size_t room);

} // namespace qv
