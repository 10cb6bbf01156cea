// Text searches, limited copies, splitting at a separator and key names.
#include "core/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qv;

TEST(TextHelpersTest, FindNoCaseIgnoresOnlyBit0x20)
{
    struct Case {
        const char *text, *pattern;
        bool found;
    } cases[] = {
        {"Tesco PLC", "plc", true}, {"Tesco PLC", "esco p", true}, {"Tesco", "Tesco plc", false},
        {"abc", "", true},          {"", "", false},               {"", "a", false},
        {"a@b", "a`b", true},       {"x[y", "X{Y", true},          {"1!", "1\x01", true},
        {"abc", "abd", false},      {"abcabd", "ABD", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindNoCase(c.text, c.pattern), c.found) << c.text << " / " << c.pattern;
}

TEST(TextHelpersTest, CharactersAndLimitedCopies)
{
    EXPECT_EQ(ToUpperChar('q'), 'Q');
    EXPECT_EQ(ToUpperChar('Q'), 'Q');
    EXPECT_EQ(ToUpperChar('{'), '{');
    EXPECT_EQ(ToUpperChar('\xE9'), '\xE9');
    EXPECT_TRUE(IsAsciiLetter('z'));
    EXPECT_FALSE(IsAsciiLetter('@'));
    EXPECT_FALSE(IsAsciiLetter('\xE9'));

    char out[5] = {'x', 'x', 'x', 'x', 'x'};
    CopyStringLimited(out, "abcdefgh", 4);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(out[4], 'x');
    CopyStringLimited(out, "zz", 0);
    EXPECT_STREQ(out, "abc");
}

TEST(TextHelpersTest, SplitAtCharClosesTheGaps)
{
    struct Case {
        std::string in;
        int32_t length;
        std::string out;
        int32_t kept;
    } cases[] = {
        {std::string("a,b,,c", 6), 6, std::string("abc\0\0\0", 6), 3},
        {std::string(",,,", 3), 3, std::string(3, '\0'), 0},
        {std::string("a,b,c", 5), 3, std::string("ab\0,c", 5), 2}, // only the first three bytes
        {std::string("abc", 3), 10, std::string("abc", 3), 3},     // no further than the buffer
        {std::string("abc", 3), -1, std::string(3, '\0'), 0},
    };
    for (auto c : cases) {
        EXPECT_EQ(SplitAtChar(c.in, ',', c.length), c.kept);
        EXPECT_EQ(c.in, c.out);
    }
}

TEST(TextHelpersTest, KeyNames)
{
    struct Case {
        int index;
        bool tab;
        const char* name;
    } cases[] = {
        {0, false, "Chart ( F2)"},     {4, false, "Chart (Shift+F3)"}, {8, false, "Chart (Ctrl+F4)"},
        {11, false, "Chart (Shift+Ctrl+F4)"}, {0, true, "Chart \t F2"}, {10, true, "Chart \tShift+Ctrl+F3"},
        {12, false, "Chart ( F2)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatKeyName(c.index, c.tab, "Chart"), c.name) << c.index;
}
