// Trade list rows from scripted ticks: which ticks become rows in each mode, the bid and offer in
// force, the change marks, the direction of trades and the totals.
#include "realtime/TradeListRows.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

IntradayTick Time(uint32_t t)
{
    IntradayTick x;
    x.type = kTickTime;
    x.value1 = t;
    return x;
}
IntradayTick Quote(float bid, float offer)
{
    IntradayTick x;
    x.type = kTickQuote;
    x.SetF(offer, bid);
    return x;
}
IntradayTick Trade(float price, float volume, uint16_t extra = 0)
{
    IntradayTick x;
    x.type = uint16_t(kTickTrade | extra);
    x.SetF(price, volume);
    return x;
}

// A trade before any quote, a quote with neither side, quotes moving up and down, and trades.
const std::vector<IntradayTick> kDay = {
    Time(28800),      Trade(101, 500),  Quote(-1, -1), Trade(101, 300), Time(28860),
    Quote(100, 106),  Trade(104, 100),  Time(28920),   Quote(100, 108), Trade(108, 250),
    Quote(99, 107),   Trade(99.5f, 40), IntradayTick{}, Trade(500, 1)};

TEST(TradeListRowsTest, EachModeListsItsTicksFromTheFirstQuoteOn)
{
    struct Case {
        int32_t mode;
        std::vector<uint16_t> kinds;
        std::vector<uint32_t> times;
    } cases[] = {
        {kTradeListTrades, {3, 3, 3}, {28860, 28920, 28920}},
        {kTradeListQuotes, {2, 2, 2}, {28860, 28920, 28920}},
        {kTradeListBoth, {2, 3, 2, 3, 2, 3}, {28860, 28860, 28920, 28920, 28920, 28920}},
    };
    for (const Case& c : cases) {
        auto rows = BuildTradeListRows(kDay, c.mode, 0);
        ASSERT_EQ(rows.size(), c.kinds.size()) << "mode " << c.mode;
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].type & kTickKindMask, c.kinds[i]) << "mode " << c.mode << " row " << i;
            EXPECT_EQ(rows[i].time, c.times[i]) << "mode " << c.mode << " row " << i;
        }
    }
    auto trades = BuildTradeListRows(kDay, kTradeListTrades, 0);
    EXPECT_EQ(trades[1].bid, 100);
    EXPECT_EQ(trades[1].offer, 108) << "a trade carries the quote in force";
    EXPECT_EQ(trades[2].volume, 40);
}

TEST(TradeListRowsTest, ChangeMarksCompareWithThePreviousRow)
{
    auto quotes = BuildTradeListRows(kDay, kTradeListQuotes, 0);
    auto marks = [](const TradeListRow& r) {
        return std::vector<int>{ChangeState(r.change, kChangeBidShift), ChangeState(r.change, kChangeMidShift),
                                ChangeState(r.change, kChangeOfferShift)};
    };
    EXPECT_EQ(marks(quotes[0]), (std::vector<int>{-2, -2, -2})) << "no previous row: no value";
    EXPECT_EQ(marks(quotes[1]), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(marks(quotes[2]), (std::vector<int>{-1, -1, -1}));
    // In both modes a trade row marks only missing values.
    auto both = BuildTradeListRows(kDay, kTradeListBoth, 0);
    EXPECT_EQ(marks(both[3]), (std::vector<int>{0, 0, 0}));
    // A mid moving by less than its size x 1.1920929e-7 is unchanged: one step of a float at 100.
    const float step = std::nextafter(101.0f, 200.0f) - 101.0f;
    auto tiny = BuildTradeListRows(std::vector<IntradayTick>{Quote(99, 101), Quote(99, 101 + 2 * step)},
                                   kTradeListQuotes, 0);
    EXPECT_EQ(ChangeState(tiny[1].change, kChangeMidShift), 0);
    EXPECT_EQ(ChangeState(tiny[1].change, kChangeOfferShift), 1);
}

TEST(TradeListRowsTest, DirectionByTheMiddleThirdOfTheSpread)
{
    struct Case {
        float bid, offer, price;
        int8_t direction;
    } cases[] = {{100, 106, 104, 0},      {100, 106, 104.01f, 1}, {100, 106, 102, 0},
                 {100, 106, 101.99f, -1}, {-1, 106, 110, 0},      {100, 106, 103, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(TradeDirection(c.bid, c.offer, c.price), c.direction) << c.price;
}

TEST(TradeListRowsTest, TotalsSplitByDirectionAndValueInPoundsOnlyForPence)
{
    std::vector<IntradayTick> day = {Quote(100, 106), Trade(105, 100), Trade(105, 100), Trade(105, 100),
                                     Trade(101, 100)};
    for (uint8_t unit : {uint8_t(0), uint8_t(2)}) {
        auto rows = BuildTradeListRows(day, kTradeListBoth, unit);
        TradeTotals t = SumTradeTotals(rows);
        EXPECT_EQ(t.count[0], 4u);
        EXPECT_EQ(t.count[1], 3u);
        EXPECT_EQ(t.count[2], 1u);
        EXPECT_EQ(t.count[3], 0u);
        EXPECT_EQ(t.volume[1], 300);
        const double scale = unit == 0 ? 0.01 : 1.0;
        EXPECT_DOUBLE_EQ(t.value[0], (3 * 10500 + 10100) * scale) << "unit " << int(unit);
    }
}

} // namespace
} // namespace qv
