// Base64 text (the standard alphabet with "=" padding, no line breaks) for the blocks that the table
// library's text files carry.
#pragma once

#include <cstdint>

namespace qv {

// A new NUL-ended text of the count bytes, in a guarded-memory buffer of 2 * count + 20 bytes that
// the caller frees with ProFree; null when the buffer cannot be had.
char* Base64Encode(const uint8_t* bytes, uint32_t count);

// Decodes the NUL-ended text in place into the same buffer and answers the byte count; -1 when a
// character lies outside the alphabet or the last group is short of four characters.
int32_t Base64Decode(char* text);

} // namespace qv
