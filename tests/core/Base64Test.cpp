// Tests of Base64 encoding and in-place decoding.
#include "core/Base64.h"
#include "core/Memory.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace qv {
namespace {

std::string Encode(const std::string& bytes)
{
    char* text = Base64Encode(reinterpret_cast<const uint8_t*>(bytes.data()), uint32_t(bytes.size()));
    std::string s = text;
    ProFree(text);
    return s;
}

// Decodes a copy; the bytes, or "<-1>" on an error.
std::string Decode(const std::string& text)
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    int32_t n = Base64Decode(buffer.data());
    return n < 0 ? "<-1>" : std::string(buffer.data(), size_t(n));
}

TEST(Base64, Rfc4648VectorsEncodeAndDecodeBack)
{
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""},          {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, coded] : vectors) {
        EXPECT_EQ(Encode(plain), coded) << plain;
        EXPECT_EQ(Decode(coded), plain) << coded;
    }
}

TEST(Base64, EveryByteValueRoundTrips)
{
    std::string all;
    for (int i = 0; i < 256; ++i)
        all.push_back(char(i));
    std::string coded = Encode(all);
    EXPECT_EQ(coded.find('\n'), std::string::npos);
    EXPECT_EQ(Decode(coded), all);
}

TEST(Base64, BadTextGivesMinusOne)
{
    // Blanks, line breaks, "=" too early, and a short last group that once read past the text's end.
    for (const char* text : {"Zm9v Yg==", "Zm9v\nYmFy", "Z=9v", "=m9v", "Zm9", "Zm9vY", "Zm"})
        EXPECT_EQ(Decode(text), "<-1>") << text;
}

} // namespace
} // namespace qv
