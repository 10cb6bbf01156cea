// The style sheet: the defaults' exact text and round trip, a file cut short, and the style words.
#include "infocentre/InCStyle.h"

#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(InCStyle, DefaultsWriteTheSixteenLinesAndReadBack)
{
    dev::TempFolder folder{"inccss"};
    InCStyle defaults;
    SetDefaultStyle(defaults);
    ASSERT_TRUE(WriteIncCss(defaults, folder / "inc.css"));
    auto bytes = ReadFileBytes(folder / "inc.css");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()),
              "BODY,TABLE,TH,TR,TD,LI,UL {\n"
              "  color: #000000;\n"
              "  background-color: #ffffff;\n"
              "  font-family: \"Microsoft Sans Serif\";\n"
              "  font-size: 9pt;\n"
              "  font-style: normal;\n"
              "  font-weight: normal;\n"
              "  text-decoration: normal;\n"
              "  padding: 2px;\n"
              "}\n"
              "TABLE {border-collapse:collapse; border-color: #a0a0a4;}\n"
              "TH,TR,TD {border-color: #a0a0a4;}\n"
              ".alternate {background-color: #f6f6f6;}\n"
              "A {text-decoration: none; color: #0000f0;}\n"
              "A:visited {color: #f00000;}\n"
              "A:hover { text-decoration: underline;}\n");
    InCStyle read;
    ASSERT_TRUE(ReadIncCss(read, folder / "inc.css"));
    EXPECT_EQ(read, defaults);
    EXPECT_FALSE(ReadIncCss(read, folder / "missing.css"));
    EXPECT_EQ(read, defaults);
}

TEST(InCStyle, AFileCutAfterLineNineKeepsTheLaterFields)
{
    InCStyle written;
    SetDefaultStyle(written);
    written.textColour = 0x123456;
    written.fontSize = 12;
    written.padding = 4;
    written.styleBits = kInCStyleItalic;
    written.fontFamily = std::string(40, 'F');
    std::string text = IncCssText(written);
    size_t cut = 0;
    for (int line = 0; line < 9; ++line)
        cut = text.find('\n', cut) + 1;

    InCStyle read;
    read.gridLines = 1, read.linkColour = 2, read.visitedColour = 3, read.alternateBackground = 4;
    EXPECT_FALSE(ParseIncCss(text.substr(0, cut), read));
    EXPECT_EQ(read.textColour, 0x123456u);
    EXPECT_EQ(read.fontSize, 12);
    EXPECT_EQ(read.padding, 4);
    EXPECT_EQ(read.styleBits, kInCStyleItalic);
    EXPECT_EQ(read.fontFamily, std::string(31, 'F'));
    EXPECT_EQ(read.gridLines, 1u);
    EXPECT_EQ(read.linkColour, 2u);
    EXPECT_EQ(read.visitedColour, 3u);
    EXPECT_EQ(read.alternateBackground, 4u);
}

TEST(InCStyle, StyleBitsChooseTheWordsOfLinesSixToEight)
{
    struct Case {
        uint32_t bits;
        const char* words;
    };
    for (Case c : {Case{kInCStyleBold | kInCStyleUnderline, "normal;bold;underline;"},
                   {kInCStyleItalic, "italic;normal;normal;"},
                   {0, "normal;normal;normal;"}}) {
        InCStyle style;
        SetDefaultStyle(style);
        style.styleBits = c.bits;
        std::string text = IncCssText(style);
        std::string words;
        for (const char* key : {"font-style: ", "font-weight: ", "text-decoration: "}) {
            size_t at = text.find(key) + std::string(key).size();
            words += text.substr(at, text.find('\n', at) - at);
        }
        EXPECT_EQ(words, c.words);
        InCStyle read;
        ASSERT_TRUE(ParseIncCss(text, read));
        EXPECT_EQ(read.styleBits, c.bits);
    }
}
