// Small text helpers over the stored single-byte texts: searches, copies, splitting, key names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qv {

// True when the pattern occurs in the text, bytes compared with bit 0x20 ignored (so "@" matches
// "`" as well as letters their other case); an empty pattern is found in any non-empty text.
bool FindNoCase(std::string_view text, std::string_view pattern);

char ToUpperChar(char c);
bool IsAsciiLetter(char c);

// Copies at most size - 1 characters and terminates; nothing at all when size is 0.
void CopyStringLimited(char* out, std::string_view text, size_t size);

// Removes every separator byte from the first `length` bytes of the buffer, closing the gaps and
// zero-filling the freed tail; returns the bytes kept. A negative length clears the buffer and
// gives 0; a length beyond the buffer is taken as the buffer's size.
int32_t SplitAtChar(std::span<char> buffer, char separator, int32_t length);

// The key name shown beside a command: "Chart ( F2)", "Chart (Shift+F3)", with the tab form
// "Chart \tShift+F3". index / 3 selects no modifier, Shift, Ctrl or Shift+Ctrl, index mod 3 the key
// F2-F4.
std::string FormatKeyName(int index, bool tab, std::string_view text);

} // namespace qv
