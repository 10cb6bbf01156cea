// Item names, exchange codes, topic texts and the delivered byte forms of the DDE server.
#include "shell/DdeItems.h"

#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

struct ItemCase {
    const char* text;
    bool realTime;
    bool accepted;
    uint8_t group;
    uint8_t field;
    uint32_t qualifier;
};

TEST(DdeItems, ParsesTheItemTable)
{
    const ItemCase cases[] = {
        {"price", false, true, 1, 17, 0},      {"PRICE", false, true, 1, 17, 0},
        {"Close", false, true, 1, 2, 0},       {"epic", false, true, 1, 128, 0},
        {"currency", false, true, 1, 129, 0},  {"volume", false, true, 1, 68, 0},
        {"price_high", true, false, 0, 0, 0},  {"price ", false, false, 0, 0, 0},
        {"mid", false, false, 0, 0, 0},        {"mid", true, true, 130, 75, 0},
        {"MID_High", true, true, 130, 75, 1},  {"bid_low", true, true, 130, 73, 2},
        {"offer_", true, true, 130, 74, 0},    {"trade_mid", true, false, 0, 0, 0},
        {"RTvolume", true, true, 130, 81, 5},  {"rtvolume_high", true, false, 0, 0, 0},
        {"time", true, true, 130, 78, 0},      {"time_low", true, false, 0, 0, 0},
        {"", true, false, 0, 0, 0},            {"_high", true, false, 0, 0, 0},
        {"nonsense", true, false, 0, 0, 0},
    };
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::optional<DdeItemCode> code = ParseDdeItemName(c.text, c.realTime);
        ASSERT_EQ(code.has_value(), c.accepted);
        if (!code)
            continue;
        EXPECT_EQ(code->group, c.group);
        EXPECT_EQ(code->field, c.field);
        EXPECT_EQ(code->qualifier, c.qualifier);
        EXPECT_EQ(code->links, 0);
    }
}

TEST(DdeItems, ItemNamesRoundTrip)
{
    for (const char* name : {"epic", "close", "mid_high", "bid_low", "RTopen", "RTvolume", "time"}) {
        std::optional<DdeItemCode> code = ParseDdeItemName(name, true);
        ASSERT_TRUE(code) << name;
        EXPECT_EQ(DdeItemName(*code), name);
    }
}

TEST(DdeItems, ExchangeCodesKeepToTheirTable)
{
    EXPECT_EQ(ExchangeCodeOfClass(0), "LSE");
    EXPECT_EQ(ExchangeCodeOfClass(1), "NYSE");
    EXPECT_EQ(ExchangeCodeOfClass(11), "EI");
    // Classes the table does not hold are London shares, never a read past its end.
    for (int32_t recordClass : {12, 16, 17, 18, 19, 41, 79, 127, -1, -56, -128})
        EXPECT_EQ(ExchangeCodeOfClass(recordClass), "LSE") << recordClass;
}

TEST(DdeItems, TopicsTakeTheirCanonicalForm)
{
    EXPECT_EQ(CanonicalDdeTopic("alm"), "LSE:ALM");
    EXPECT_EQ(CanonicalDdeTopic("lse_alm"), "LSE:ALM");
    EXPECT_EQ(CanonicalDdeTopic("NYSE_bet"), "NYSE:BET");
    EXPECT_EQ(CanonicalDdeTopic("a_b_c"), "A:B_C");
    EXPECT_EQ(CanonicalDdeTopic(""), "LSE:");
}

TEST(DdeItems, FormatsAreNamedExactly)
{
    EXPECT_EQ(GetDdeFormatKind("CF_TEXT"), 0);
    EXPECT_EQ(GetDdeFormatKind("XlTable"), 1);
    EXPECT_EQ(GetDdeFormatKind("Rich Text Format"), 2);
    EXPECT_EQ(GetDdeFormatKind("xltable"), -1);
    EXPECT_EQ(GetDdeFormatKind("CF_BITMAP"), -1);
}

TEST(DdeItems, XlTableBlocksHaveTheirLayout)
{
    std::string number = XlTableNumberBlock(257.75);
    ASSERT_EQ(number.size(), 20u);
    auto* p = reinterpret_cast<const uint8_t*>(number.data());
    const uint16_t numberHead[] = {16, 4, 1, 1, 1, 8};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(LoadU16(p + 2 * i), numberHead[i]) << i;
    EXPECT_EQ(LoadF64(p + 12), 257.75);

    std::string text = XlTableTextBlock("Alpha");
    ASSERT_EQ(text.size(), 18u);
    p = reinterpret_cast<const uint8_t*>(text.data());
    const uint16_t textHead[] = {16, 4, 1, 1, 2, 6};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(LoadU16(p + 2 * i), textHead[i]) << i;
    EXPECT_EQ(p[12], 5);
    EXPECT_EQ(text.substr(13), "Alpha");

    // The count is one byte: a longer text is cut, never wrapped.
    std::string cut = XlTableTextBlock(std::string(300, 'x'));
    EXPECT_EQ(cut.size(), 13u + 255u);
    EXPECT_EQ(uint8_t(cut[12]), 255);
}

TEST(DdeItems, RichTextEscapesItsSpecialCharacters)
{
    EXPECT_EQ(RtfEscape("Plain"), "Plain");
    EXPECT_EQ(RtfEscape("a\\b{c}"), "a\\\\b\\{c\\}");
    EXPECT_EQ(RtfEscape("\xA3" "5 \x80"), "\\'a35 \\'80");
    DdeValue value;
    value.type = kDdeText;
    value.text = "{x}";
    EXPECT_EQ(EncodeDdeData(value, 2), "{\\rtf1\\ansi{\\{x\\}}}");
}

TEST(DdeItems, ValuesTakeTheirFormats)
{
    DdeValue price;
    price.type = kDdeFloat;
    price.number = 257.75;
    EXPECT_EQ(EncodeDdeData(price, 0), std::string("257.75\0", 7));
    EXPECT_EQ(EncodeDdeData(price, 1), XlTableNumberBlock(257.75));
    EXPECT_EQ(EncodeDdeData(price, 2), "{\\rtf1\\ansi{257.75}}");

    DdeValue big = price;
    big.number = 1250000;
    EXPECT_EQ(FormatDdeValue(big), "1250000");

    DdeValue none;
    EXPECT_EQ(EncodeDdeData(none, 0), std::string("\0", 1));
    EXPECT_EQ(EncodeDdeData(none, 1), XlTableTextBlock(""));

    DdeValue time;
    time.type = kDdeTime;
    time.number = 9 * 3600 + 30 * 60 + 5;
    EXPECT_EQ(FormatDdeValue(time), " 9:30:05");
    EXPECT_EQ(EncodeDdeData(time, 1), XlTableTextBlock(" 9:30:05"));
}

} // namespace
