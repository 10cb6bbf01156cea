// The ticker's tape on scripted trades: categories, filters, merging while backlogged, placing in
// each layout, ages and the speed advice, the excess look, the connection state, the tables of steps
// and intervals, and the recent-trades ring read across its wrap.
#include "realtime/TickerTape.h"

#include "core/ConfigDefaults.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace qv {
namespace {

constexpr uint16_t kFtse100 = 0 << 6, kFtse250 = 1 << 6, kOther = 6 << 6, kIndex = 0x18;

TickerDesign Design(int layout, uint8_t categories = 0x3F)
{
    TickerDesign d;
    d.fields = 0x8E;
    d.categories = categories;
    d.layout = uint8_t(layout);
    d.speed = 3;
    return d;
}

RecentTrade Trade(uint16_t share, float price, uint32_t time = 36000)
{
    RecentTrade t;
    t.share = share;
    t.price = price;
    t.open = 100;
    t.time = time;
    t.volume = 1000;
    return t;
}

TickerTape::ShareFacts Facts(uint16_t type = kFtse100, float close = 99)
{
    return {true, type, close};
}

// A horizontal tape 300 pixels wide whose items are 100 pixels long.
TickerTape Tape(int layout, uint8_t categories = 0x3F)
{
    TickerTape tape;
    tape.SetMeasure([](const TickerItem&) { return 100; });
    tape.SetSettings(Design(layout, categories), TickerCell{10, 20}, 0, 300);
    tape.FollowEngine(1);
    return tape;
}

TEST(TickerTapeTest, TheCategoryComesFromTheTypeWord)
{
    struct Case {
        uint16_t type;
        int category;
    } cases[] = {{0x18, 0}, {0x18 | 2 << 6, 0}, {0, 1}, {1 << 6, 2}, {2 << 6, 3}, {3 << 6, 4}, {4 << 6, 5}, {7 << 6, 5}, {0x08, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(TickerCategory(c.type), c.category) << std::hex << c.type;
}

TEST(TickerTapeTest, StepsAndIntervalsByLayoutAndSpeed)
{
    const int horizontalSteps[] = {1, 1, 2, 3, 4};
    const uint32_t horizontalMs[] = {20, 8, 10, 10, 5};
    const int verticalSteps[] = {1, 1, 1, 1, 2};
    const uint32_t verticalMs[] = {50, 30, 20, 10, 8};
    for (int speed = 1; speed <= 5; ++speed)
        for (int layout = 0; layout <= 4; ++layout) {
            const bool vertical = layout >= 3;
            EXPECT_EQ(TickerStep(layout, speed), (vertical ? verticalSteps : horizontalSteps)[speed - 1]) << layout << speed;
            EXPECT_EQ(TickerInterval(layout, speed), (vertical ? verticalMs : horizontalMs)[speed - 1]) << layout << speed;
        }
    EXPECT_EQ(TickerCharacterCell(8, 16, 2).width, 8);
    EXPECT_EQ(TickerCharacterCell(8, 16, 2).height, 18);
    EXPECT_EQ(TickerCharacterCell(0, 0, 0).width, 20) << "a zero cell becomes 20";
}

TEST(TickerTapeTest, FieldsOnTheFirstLineAndTheVerticalLayoutByTheFieldMask)
{
    EXPECT_EQ(TickerFieldsOnFirstLine(0, 0x8E), 99);
    EXPECT_EQ(TickerFieldsOnFirstLine(1, 0x8E), 2);
    EXPECT_EQ(TickerFieldsOnFirstLine(1, 0x8F), 3) << "Name counts three";
    EXPECT_EQ(TickerFieldsOnFirstLine(2, 0x02), 1);
    EXPECT_EQ(TickerFieldsOnFirstLine(3, 0x06), 99) << "one line per item keeps every field";
    struct Case {
        uint16_t mask;
        int layout;
    } cases[] = {{0x06, 3}, {0x07, 4}, {0x8E, 3}, {0x1FE, 4}, {0x01, 3}, {0x3E, 3}, {0xBE, 4}};
    for (const Case& c : cases)
        EXPECT_EQ(TickerVerticalLayout(c.mask), c.layout) << std::hex << c.mask;
}

TEST(TickerTapeTest, TradesPassByCategoryOrPortfolioAndNeedANamedShare)
{
    TickerTape tape = Tape(0, 0x01 | 0x02); // Indices and FTSE 100
    EXPECT_TRUE(tape.AddTrade(Trade(1, 100), Facts(kIndex), 10));
    EXPECT_TRUE(tape.AddTrade(Trade(2, 100), Facts(kFtse100), 10));
    EXPECT_FALSE(tape.AddTrade(Trade(3, 100), Facts(kFtse250), 10));
    EXPECT_FALSE(tape.AddTrade(Trade(4, 100), TickerTape::ShareFacts{false, kFtse100, 1}, 10)) << "no name";
    TickerDesign withPortfolio = Design(0, 0x03);
    withPortfolio.portfolioFilter = 1;
    tape.SetPortfolioShares({9, 3});
    tape.SetSettings(withPortfolio, TickerCell{10, 20}, 0, 300);
    EXPECT_TRUE(tape.AddTrade(Trade(3, 100), Facts(kFtse250), 10)) << "a holding of the portfolio";
    EXPECT_FALSE(tape.AddTrade(Trade(5, 100), Facts(kOther), 10));
    EXPECT_EQ(tape.items().back().trade.last, 99.0f) << "the closing price replaces the second reference";
    tape.AddTrade(Trade(9, 100), Facts(kFtse100, FLT_MAX), 10);
    EXPECT_EQ(tape.items().back().trade.last, -9e9f) << "no closing price";
}

TEST(TickerTapeTest, AShareTradesMergeOnlyWhileABacklogWaits)
{
    TickerTape tape = Tape(0);
    tape.AddTrade(Trade(1, 100), Facts(), 10);
    tape.AddTrade(Trade(2, 101), Facts(), 11);
    tape.AddTrade(Trade(1, 102, 36100), Facts(), 12);
    ASSERT_EQ(tape.items().size(), 2u) << "merged into the waiting trade";
    EXPECT_EQ(tape.items().front().trade.price, 102.0f);
    EXPECT_EQ(tape.items().front().trade.time, 36100u);
    EXPECT_EQ(tape.items().front().arrival, 12u);
    EXPECT_EQ(tape.items().front().trade.open, 100.0f) << "the open stays";

    TickerTape clear = Tape(0);
    clear.AddTrade(Trade(1, 100), Facts(), 10);
    clear.Scroll(10, -1, 3); // on show: nothing waits
    clear.AddTrade(Trade(1, 101), Facts(), 11);
    EXPECT_EQ(clear.items().size(), 2u);
}

// Positions after placing everything from the head, by layout.
TEST(TickerTapeTest, ItemsFollowTheirPredecessorsAndLayoutTwoSharesSlots)
{
    for (int layout = 0; layout <= 4; ++layout) {
        TickerTape tape;
        tape.SetMeasure([](const TickerItem& item) { return item.trade.share == 2 ? 140 : 100; });
        tape.SetSettings(Design(layout), TickerCell{10, 20}, 0, 300);
        for (uint16_t s = 1; s <= 4; ++s)
            tape.AddTrade(Trade(s, 100), Facts(), 0);
        tape.PlaceItems(tape.items().end());
        std::vector<int32_t> positions;
        for (const TickerItem& item : tape.items())
            positions.push_back(item.position);
        if (layout == 2) {
            // One slot of an upper and a lower item; the slot's length is the longer one's.
            EXPECT_EQ(positions[0], 300);
            EXPECT_EQ(positions[1], 300);
            EXPECT_EQ(tape.items().front().upper, 1);
            EXPECT_EQ(std::next(tape.items().begin())->upper, 0);
            EXPECT_EQ(tape.items().front().length, 140);
            EXPECT_FALSE(std::next(tape.items().begin(), 2)->placed()) << "placing stops at the first lower item beyond";
        } else {
            EXPECT_EQ(positions[0], 300) << layout;
            EXPECT_FALSE(std::next(tape.items().begin())->placed()) << "placing stops beyond the visible range " << layout;
            const int expected = layout == 3 ? 20 : layout == 4 ? 40 : 100;
            EXPECT_EQ(tape.items().front().length, expected) << layout;
        }
    }
}

TEST(TickerTapeTest, AWaitingItemIsPlacedOnceItsPredecessorAppears)
{
    TickerTape tape = Tape(0);
    tape.AddTrade(Trade(1, 100), Facts(), 0);
    tape.AddTrade(Trade(2, 100), Facts(), 0);
    tape.Scroll(1, -4, 3);
    EXPECT_EQ(tape.items().front().position, 296);
    tape.Scroll(2, -4, 3);
    const TickerItem& second = *std::next(tape.items().begin());
    ASSERT_TRUE(second.placed());
    EXPECT_EQ(second.position, 292 + 100 - 4) << "after its predecessor's end, then moved";
}

TEST(TickerTapeTest, AgesDriveTheSpeedAdviceAcrossMidnight)
{
    struct Case {
        uint32_t arrival;
        uint32_t now;
        int speed;
        int advice;
    } cases[] = {
        {0, 20, 3, -1},             // 2.0 s: neither fresh nor old
        {0, 21, 3, 0},              // fresh
        {0, 35, 3, 0},              // fresh
        {0, 36, 3, 1},              // old: faster
        {0, 36, 5, 0},              // not beyond 5
        {0, 10, 1, 0},              // not below 1
        {863990, 26, 3, 1},         // 3.6 s across midnight
        {863990, 5, 3, -1},         // 1.5 s across midnight
    };
    for (const Case& c : cases) {
        TickerTape tape = Tape(0);
        tape.AddTrade(Trade(1, 100), Facts(), c.arrival);
        tape.AddTrade(Trade(2, 100), Facts(), c.arrival);
        tape.items().front().position = 400; // placed, not yet on show: the second item waits
        EXPECT_EQ(tape.Scroll(c.now, -1, c.speed), c.advice) << c.arrival << " " << c.now << " " << c.speed;
    }
    EXPECT_EQ(TickerAge(5, 863990), 15u);
    TickerTape empty = Tape(0);
    empty.AddTrade(Trade(1, 100), Facts(), 0);
    empty.Clear();
    EXPECT_EQ(empty.Scroll(0, -1, 2), -1) << "no items: slower";
}

TEST(TickerTapeTest, AStaleTradeBringsTheExcessLookForThreeSecondsOrIsDiscarded)
{
    for (bool discard : {false, true}) {
        TickerTape tape = Tape(0);
        TickerDesign d = Design(0);
        d.flags = discard ? 2 : 0;
        tape.SetSettings(d, TickerCell{10, 20}, 0, 300);
        tape.AddTrade(Trade(1, 100), Facts(), 0);
        tape.AddTrade(Trade(2, 100), Facts(), 0);
        tape.items().front().position = 400;
        tape.Scroll(150, -1, 3);
        EXPECT_FALSE(tape.excess()) << "15.0 s is not yet stale";
        tape.Scroll(151, -1, 3);
        EXPECT_TRUE(tape.excess());
        EXPECT_TRUE(tape.TakeRedraw());
        EXPECT_EQ(tape.items().size(), discard ? 1u : 2u);
        if (!discard)
            continue;
        tape.Scroll(181, -1, 3);
        EXPECT_TRUE(tape.excess()) << "until 3 s have passed";
        tape.Scroll(182, -1, 3);
        EXPECT_FALSE(tape.excess());
        EXPECT_TRUE(tape.TakeRedraw());
    }
}

TEST(TickerTapeTest, TheTapeFollowsTheFeedsConnection)
{
    TickerTape tape;
    tape.SetSettings(Design(0), TickerCell{10, 20}, 0, 300);
    EXPECT_EQ(tape.Scroll(0, -1, 3), 0) << "disconnected: no step";
    EXPECT_TRUE(tape.FollowEngine(2));
    EXPECT_TRUE(tape.awaiting());
    tape.AddTrade(Trade(1, 100), Facts(), 0);
    EXPECT_FALSE(tape.awaiting()) << "the first trade that passes";
    tape.Scroll(1, -1, 3);
    tape.AddTrade(Trade(2, 100), Facts(), 0);
    tape.FollowEngine(1);
    EXPECT_FALSE(tape.awaiting()) << "running after starting: still connected";
    EXPECT_TRUE(tape.FollowEngine(0));
    EXPECT_EQ(tape.state(), kTapeDraining);
    EXPECT_EQ(tape.items().size(), 1u) << "waiting items go, the shown one drains";
    tape.Clear();
    tape.FollowEngine(0);
    EXPECT_EQ(tape.state(), kTapeDisconnected);
    tape.FollowEngine(1);
    EXPECT_TRUE(tape.awaiting()) << "awaiting again after a loss";
}

TEST(TickerTapeTest, TheRingIsReadUpToEntry499ThenFrom0)
{
    ClearRTRecentTrades();
    for (uint16_t i = 0; i < 498; ++i)
        AddRTRecentTrade(Trade(i, 1));
    std::vector<RecentTrade> read;
    const uint16_t from = ReadRTRecentTrades(0, read);
    EXPECT_EQ(from, 498);
    for (uint16_t i = 0; i < 5; ++i)
        AddRTRecentTrade(Trade(uint16_t(1000 + i), 1));
    read.clear();
    EXPECT_EQ(ReadRTRecentTrades(from, read), 3);
    ASSERT_EQ(read.size(), 5u);
    EXPECT_EQ(read.front().share, 1000) << "entry 498";
    EXPECT_EQ(read[2].share, 1002) << "entry 0 after 499";
    EXPECT_EQ(read.back().share, 1004);
    ClearRTRecentTrades();
}

} // namespace
} // namespace qv
