// Coded texts: hand-built trees for the walk, the tidy pass, words, damaged tables; bit fields.
#include "core/CodedText.h"

#include <gtest/gtest.h>

#include <cstring>

#include <vector>

using namespace qv;

namespace {

std::vector<uint8_t> Words(const std::vector<std::string>& words)
{
    std::vector<uint8_t> out;
    for (const auto& w : words) {
        out.push_back(uint8_t(w.size()));
        out.insert(out.end(), w.begin(), w.end());
    }
    out.push_back(0);
    return out;
}

std::vector<uint8_t> Nodes(const std::vector<uint16_t>& nodes)
{
    std::vector<uint8_t> out;
    for (uint16_t n : nodes) {
        out.push_back(uint8_t(n));
        out.push_back(uint8_t(n >> 8));
    }
    return out;
}

// Codes: 'a' = 0, end = 10, 'b' = 11.
CodingTables SmallTables()
{
    CodingTables t;
    t.setBlock(0, Nodes({0x8061, 0x0002, 0x8000, 0x8062}), 0);
    return t;
}

BitCursor At(const std::vector<uint8_t>& bytes, int bit = 0) { return BitCursor{bytes, bit}; }

} // namespace

TEST(CodedTextTest, WalksTheTreeFromAnyBitPosition)
{
    auto tables = SmallTables();
    std::vector<uint8_t> ab = {0x70};         // 0 11 10
    std::vector<uint8_t> shifted = {0x0E, 0}; // three bits in: 0 11 10
    std::vector<uint8_t> empty = {0x80};      // 10: the end first
    EXPECT_EQ(UnpackText(At(ab), 0, tables), "Ab");
    EXPECT_EQ(UnpackText(At(shifted, 3), 0, tables), "Ab");
    EXPECT_EQ(UnpackText(At(empty), 0, tables), "");
    EXPECT_EQ(UnpackText(nullptr, 0, At(ab), 0, false, tables), 'a');
    EXPECT_EQ(UnpackText(At(ab), 5, tables), "") << "a kind beyond the loaded blocks is empty";

    char out[8];
    UnpackText(out, sizeof out, At(std::vector<uint8_t>{0xC0}), 0, true, tables); // 11 then stop
    EXPECT_STREQ(out, "B");
}

TEST(CodedTextTest, SkipperStopsBehindEachText)
{
    auto tables = SmallTables();
    std::vector<uint8_t> two = {0b01110111, 0b00000000}; // 0 11 10 | 11 10: texts "ab" and "b"
    BitCursor c = At(two);
    ASSERT_TRUE(SkipCodedSymbol(c, 0, false, tables));
    EXPECT_EQ(c.bit, 5);
    EXPECT_EQ(UnpackText(c, 0, tables), "B");
    BitCursor one = At(two);
    ASSERT_TRUE(SkipCodedSymbol(one, 0, true, tables));
    EXPECT_EQ(one.bit, 1);
    std::vector<uint8_t> unended = {0x00};
    BitCursor broken = At(unended);
    EXPECT_FALSE(SkipCodedSymbol(broken, 0, false, tables));
}

TEST(CodedTextTest, TidyPassRaisesCapitalsAndAppliesTheBlankRules)
{
    CodingTables none;
    struct Case {
        const char* raw;
        const char* tidy;
    } cases[] = {
        {" the company ( plc ) ~ ltd , london", "The Company (Plc) Ltd, London"},
        {"\x80" "mcdonald", "mcdonald"},            // the marker turns the capital off
        {"a\x80" "bc", "ABc"},                      // and on again
        {"cost \x7F" "5", "Cost \xA3" "5"},         // 127 is the pound sign
        {"a    b", "A B"},
        {"x (  y", "X (Y"},
        {"~~ z", "~Z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TidyDecodedText(c.raw, 0, none), c.tidy) << c.raw;
}

TEST(CodedTextTest, WordCodesExpandFromTheWordLists)
{
    CodingTables t;
    t.setBlock(0, {}, 0);
    t.setBlock(1, Words({"Holdings", "Group", "Trust"}), 0);
    t.setBlock(2, {0x83, 4, 'L', 'i', 'f', 'e', 0}, 0);
    struct Case {
        const char* raw;
        int shortSwitch;
        const char* tidy;
    } cases[] = {
        {"abc \x82" "x", 0, "Abc GroupX"}, // the flag stands after a word
        {"\x80" "\x81", 0, "Holdings"},    // code 0x81 gives entry 1
        {"\x83", 0, "Life"},               // the short list first
        {"\x83", 1, "Trust"},              // unless switched off
        {"\x85" "a", 0, "\x85" "A"},       // no such entry: the byte stays
    };
    for (const auto& c : cases) {
        SetShortWordSwitch(c.shortSwitch);
        EXPECT_EQ(TidyDecodedText(c.raw, 0, t), c.tidy) << c.raw;
    }
    SetShortWordSwitch(0);
}

TEST(CodedTextTest, OutputIsCutToItsCapacity)
{
    // Every symbol is word 1, so each coded bit grows the text by eight characters.
    CodingTables t;
    t.setBlock(0, Nodes({0x8081, 0x8000}), 0);
    t.setBlock(1, Words({"Holdings"}), 0);
    std::vector<uint8_t> stream = {0x00, 0x00, 0xFF};
    char out[12];
    UnpackText(out, sizeof out, At(stream), 0, false, t);
    EXPECT_STREQ(out, "HoldingsHol");
}

TEST(CodedTextTest, DamagedTreesEndDecodingWithoutOverrun)
{
    std::vector<uint8_t> zeros(100000, 0x00);
    std::vector<uint8_t> ones(16, 0xFF);
    struct Case {
        const char* what;
        std::vector<uint8_t> tree;
        const std::vector<uint8_t>* stream;
    } cases[] = {
        {"offset beyond the tree", Nodes({0x0FFF, 0x8000}), &zeros},
        {"step past the end", Nodes({0x4FFF}), &ones},
        {"node pointing at itself", Nodes({0x0000, 0x8000}), &zeros},
        {"phrase coded with itself", {0x04, 0xC0, 0x00, 0x00, 0x00, 0x80}, &zeros},
        {"text without an end", Nodes({0x8061, 0x8000}), &zeros},
        {"half a node", {0x61}, &zeros},
    };
    for (const auto& c : cases) {
        CodingTables t;
        t.setBlock(0, c.tree, 0);
        char out[64];
        UnpackText(out, sizeof out, At(*c.stream), 0, false, t);
        EXPECT_LT(std::strlen(out), sizeof out) << c.what;
        BitCursor cursor = At(*c.stream);
        SkipCodedSymbol(cursor, 0, false, t);
        UnpackText(nullptr, 0, At(*c.stream), 0, false, t);
    }
}

TEST(CodedTextTest, StoredTablesKeepWhatWasReadBeforeAShortage)
{
    std::vector<uint8_t> stored = {7, 0, 2, 0, 0x61, 0x80, 3, 0, 'a', 'b', 'c', 0, 0, 9, 0, 5};
    CodingTables t;
    EXPECT_FALSE(t.parse(stored, 2));
    EXPECT_EQ(t.loadedCount(), 3);
    EXPECT_EQ(t.subKind(1), 7);
    EXPECT_EQ(t.block(1).size(), 3u);
    EXPECT_TRUE(t.block(2).empty());
}

TEST(BitFieldTest, ReadsBigEndianFieldsAndBits)
{
    const uint8_t bytes[] = {0x12, 0x34, 0x56};
    struct Case {
        int offset, count;
        uint32_t value;
    } cases[] = {{4, 8, 0x23}, {0, 24, 0x123456}, {0, 4, 0x1}, {20, 4, 0x6}, {9, 15, 0x3456}, {20, 5, 0}, {0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(GetBitField(bytes, c.offset, c.count), c.value) << c.offset << "," << c.count;
    const uint8_t bit[] = {0x81, 0x40};
    EXPECT_EQ(TestBit(bit, 0), 1);
    EXPECT_EQ(TestBit(bit, 1), 0);
    EXPECT_EQ(TestBit(bit, 7), 1);
    EXPECT_EQ(TestBit(bit, 9), 1);
}

TEST(BitFieldTest, AdvanceCarriesWholeBytesAndStopsAtTheEnd)
{
    std::vector<uint8_t> bytes(4, 0);
    BitCursor c{bytes, 5};
    AdvanceBitCursor(c, 12);
    EXPECT_EQ(c.bytes.size(), 2u);
    EXPECT_EQ(c.bit, 1);
    AdvanceBitCursor(c, 100);
    EXPECT_TRUE(c.bytes.empty());
}
