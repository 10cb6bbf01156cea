// Text helpers over single-byte texts.
#include "core/TextHelpers.h"

#include <algorithm>

namespace qv {

bool FindNoCase(std::string_view text, std::string_view pattern)
{
    if (text.empty())
        return false;
    if (pattern.size() > text.size())
        return false;
    for (size_t start = 0; start + pattern.size() <= text.size(); ++start) {
        size_t i = 0;
        while (i < pattern.size() && ((text[start + i] ^ pattern[i]) & ~0x20) == 0)
            ++i;
        if (i == pattern.size())
            return true;
    }
    return false;
}

char ToUpperChar(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

void CopyStringLimited(char* out, std::string_view text, size_t size)
{
    if (size == 0)
        return;
    size_t n = std::min(text.size(), size - 1);
    std::copy_n(text.data(), n, out);
    out[n] = '\0';
}

int32_t SplitAtChar(std::span<char> buffer, char separator, int32_t length)
{
    if (length < 0) {
        std::fill(buffer.begin(), buffer.end(), '\0');
        return 0;
    }
    size_t n = std::min(size_t(length), buffer.size());
    auto end = std::remove(buffer.begin(), buffer.begin() + n, separator);
    std::fill(end, buffer.begin() + n, '\0');
    return int32_t(end - buffer.begin());
}

std::string FormatKeyName(int index, bool tab, std::string_view text)
{
    static const char* const kModifiers[] = {"", "Shift", "Ctrl", "Shift+Ctrl"};
    int group = index / 3;
    const char* modifier = group >= 0 && group < 4 ? kModifiers[group] : "";
    char joiner = *modifier ? '+' : ' ';
    int key = (index % 3 + 3) % 3 + 2;
    std::string out(text);
    out += ' ';
    out += tab ? '\t' : '(';
    out += modifier;
    out += joiner;
    out += 'F';
    out += std::to_string(key);
    if (!tab)
        out += ')';
    return out;
}

} // namespace qv
