// Windows-1252 codec: 0x80-0x9F differ from Latin-1 (the euro is 0x80); the rest is Latin-1.
#include "platform/TextCodec.h"

namespace qv {
namespace {

constexpr char32_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is malformed.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& code)
{
    auto b = static_cast<unsigned char>(text[i]);
    size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > text.size())
        return 0;
    if (len == 1) {
        code = b;
        return 1;
    }
    code = b & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (c & 0x3F);
    }
    return len;
}

} // namespace

char32_t Cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighTable[byte - 0x80];
    return byte;
}

unsigned char UnicodeToCp1252(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code < 0x100))
        return static_cast<unsigned char>(code);
    for (int i = 0; i < 32; ++i)
        if (kHighTable[i] == code)
            return static_cast<unsigned char>(0x80 + i);
    return 0;
}

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t code = 0;
        size_t len = DecodeUtf8(text, i, code);
        if (len == 0) {
            out += text[i];
            ++i;
            continue;
        }
        unsigned char b = UnicodeToCp1252(code);
        out += b || code == 0 ? char(b) : '?';
        i += len;
    }
    return out;
}

} // namespace qv
