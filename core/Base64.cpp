// Base64 encoding and in-place decoding.
#include "core/Base64.h"

#include "core/Memory.h"

#include <array>

namespace qv {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr uint8_t kInvalid = 127;

constexpr std::array<uint8_t, 256> MakeReverseTable()
{
    std::array<uint8_t, 256> table{};
    for (uint8_t& v : table)
        v = kInvalid;
    for (uint8_t i = 0; i < 64; ++i)
        table[uint8_t(kAlphabet[i])] = i;
    return table;
}

constexpr std::array<uint8_t, 256> kReverse = MakeReverseTable();

uint8_t Value(char c) { return kReverse[uint8_t(c)]; }

} // namespace

char* Base64Encode(const uint8_t* bytes, uint32_t count)
{
    auto* text = static_cast<char*>(ProCalloc(2 * count + 20, 1, "Base64Encode"));
    if (!text)
        return nullptr;
    char* out = text;
    uint32_t i = 0;
    for (; i + 3 <= count; i += 3) {
        uint32_t v = uint32_t(bytes[i]) << 16 | uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
        *out++ = kAlphabet[v >> 18];
        *out++ = kAlphabet[(v >> 12) & 63];
        *out++ = kAlphabet[(v >> 6) & 63];
        *out++ = kAlphabet[v & 63];
    }
    uint32_t left = count - i;
    if (left > 0) {
        uint32_t v = uint32_t(bytes[i]) << 16 | (left == 2 ? uint32_t(bytes[i + 1]) << 8 : 0);
        *out++ = kAlphabet[v >> 18];
        *out++ = kAlphabet[(v >> 12) & 63];
        *out++ = left == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        *out++ = '=';
    }
    *out = '\0';
    return text;
}

int32_t Base64Decode(char* text)
{
    const char* in = text;
    auto* out = reinterpret_cast<uint8_t*>(text);
    int32_t written = 0;
    while (*in) {
        // A group ends at the NUL only after all four of its characters.
        for (int k = 1; k < 4; ++k)
            if (!in[k])
                return -1;
        uint8_t a = Value(in[0]), b = Value(in[1]), c = Value(in[2]), d = Value(in[3]);
        bool padThird = in[2] == '=';
        bool padFourth = in[3] == '=';
        if (a == kInvalid || b == kInvalid || (c == kInvalid && !padThird) || (d == kInvalid && !padFourth))
            return -1;
        out[written++] = uint8_t(a << 2 | b >> 4);
        if (padThird)
            return written;
        out[written++] = uint8_t(b << 4 | c >> 2);
        if (padFourth)
            return written;
        out[written++] = uint8_t(c << 6 | d);
        in += 4;
    }
    return written;
}

} // namespace qv
