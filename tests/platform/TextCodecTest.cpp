// Tests of Windows-1252, the encoding of every stored text, to and from UTF-8.
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(TextCodec, Windows1252DiffersFromLatin1InTheHighControlRange)
{
    struct Case { unsigned char byte; char32_t code; };
    const Case cases[] = {
        {0x41, U'A'}, {0xA3, U'\u00A3'}, {0x80, U'\u20AC'}, {0x92, U'\u2019'},
        {0x96, U'\u2013'}, {0x9F, U'\u0178'}, {0xE9, U'\u00E9'}, {0x81, 0x81},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp1252ToUnicode(c.byte), c.code) << int(c.byte);
        EXPECT_EQ(UnicodeToCp1252(c.code), c.byte) << int(c.byte);
    }
}

TEST(TextCodec, RoundTripsEveryByte)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(TextCodec, PoundAndEuroInUtf8)
{
    EXPECT_EQ(Cp1252ToUtf8("\xA3" "5"), "\xC2\xA3" "5");
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"), "\x80");
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?"); // no Windows-1252 form
    EXPECT_EQ(Utf8ToCp1252("a\xFF" "b"), "a\xFF" "b"); // malformed byte kept as Latin-1
}
