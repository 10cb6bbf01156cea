// The text encoder against the decoder: sample and random texts decode back exactly.
#include "devtools/lib/TextCoder.h"

#include <gtest/gtest.h>

#include <random>

using namespace qv;
using namespace qv::dev;

namespace {

const std::vector<std::string> kSamples = {
    "The Company is a holding company for a group engaged in retailing.",
    "Oil & gas exploration in the North Sea (UK) and overseas, via McAllister Holdings Ltd.",
    "Dividend of 4.5p per share; turnover \xA3" "12.3m, up 8%.",
    "Caf\xE9 chain - 120 outlets in London, Paris and M\xFCnchen.",
    "eBay-style auctions, iPod accessories and UPPER case words",
    "A",
};

TextCoder SampleCoder()
{
    TextCoderInput input;
    input.texts = kSamples;
    input.phrases = {"company", " holding", "the "};
    input.words = {"Holdings", "London", "Exploration"};
    auto coder = TextCoder::Build(input);
    EXPECT_TRUE(coder.has_value());
    return *coder;
}

} // namespace

TEST(TextCoderTest, SampleTextsDecodeBackExactly)
{
    TextCoder coder = SampleCoder();
    CodingTables tables;
    coder.install(tables, 3);
    BitWriter all;
    for (const auto& text : kSamples) {
        auto bits = coder.encode(text);
        ASSERT_FALSE(bits.empty()) << text;
        EXPECT_EQ(UnpackText(BitCursor{bits, 0}, 3, tables), text);
        ASSERT_TRUE(coder.encode(text, all));
    }
    // Texts coded one after another: the skipper finds each start.
    BitCursor cursor{all.bytes(), 0};
    for (const auto& text : kSamples) {
        EXPECT_EQ(UnpackText(cursor, 3, tables), text);
        ASSERT_TRUE(SkipCodedSymbol(cursor, 3, false, tables));
    }
}

TEST(TextCoderTest, RefusesTextsTheTidyPassWouldChange)
{
    TextCoder coder = SampleCoder();
    for (const char* text : {" lead", "two  blanks", "( x", "x )", "~ y", "a , b", "del\x7F", "unknown\x99"})
        EXPECT_FALSE(coder.canEncode(text)) << text;
    EXPECT_TRUE(coder.canEncode("(x) ~y, z"));
}

TEST(TextCoderTest, StoredTablesParseBack)
{
    TextCoder coder = SampleCoder();
    CodingTables tables;
    coder.install(tables, 0);
    CodingTables read;
    ASSERT_TRUE(read.parse(StoreCodingTables(tables, 1), 1));
    auto bits = coder.encode(kSamples[1]);
    EXPECT_EQ(UnpackText(BitCursor{bits, 0}, 0, read), kSamples[1]);

    CodingTables fromDatabase;
    auto block = CodingTablesDatabaseBlock(tables, 1);
    ASSERT_TRUE(fromDatabase.parseDatabaseBlock(block));
    EXPECT_EQ(UnpackText(BitCursor{bits, 0}, 0, fromDatabase), kSamples[1]);
    block[0] = 'X';
    EXPECT_FALSE(fromDatabase.parseDatabaseBlock(block));
}

TEST(TextCoderTest, RandomTextsRoundTrip)
{
    std::mt19937 rng(20261209);
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:()~&-'\xA3\xE9\xFC";
    auto randomText = [&] {
        std::string t;
        size_t n = rng() % 120;
        for (size_t i = 0; i < n; ++i)
            t += alphabet[rng() % alphabet.size()];
        return t;
    };
    std::vector<std::string> texts;
    for (int i = 0; i < 400; ++i) {
        std::string t = randomText();
        // Keep only texts that have a coding at all (the tidy pass owns blanks beside brackets).
        bool tidy = !t.empty() && t.front() == ' ';
        for (const char* p : {"  ", "( ", " )", "~ ", " ,"})
            tidy = tidy || t.find(p) != std::string::npos;
        if (!tidy)
            texts.push_back(t);
    }
    TextCoderInput input;
    input.texts = texts;
    input.phrases = {"ab", "xyz", "Q9"};
    input.words = {"abc", "ZZ", "Hello"};
    auto coder = TextCoder::Build(input);
    ASSERT_TRUE(coder.has_value());
    CodingTables tables;
    coder->install(tables, 0);
    for (const auto& text : texts) {
        auto bits = coder->encode(text);
        EXPECT_EQ(UnpackText(BitCursor{bits, 0}, 0, tables), text);
    }
    EXPECT_GT(texts.size(), 100u);
}
