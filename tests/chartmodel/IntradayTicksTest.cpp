// The intraday day's decoding: the split and its corruption message, the spike tables, the bars,
// the averages, the bounded arrays and the series key.
#include "chartmodel/IntradayTicks.h"

#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

IntradayTick Stamp(uint32_t seconds)
{
    IntradayTick t;
    t.type = kTickTime;
    t.value1 = seconds;
    return t;
}

IntradayTick Priced(uint16_t type, float a, float b, uint8_t cls = 2)
{
    IntradayTick t;
    t.type = type;
    t.tradeClass = cls;
    t.SetF(a, b);
    return t;
}

TickItemArray Items(std::initializer_list<std::pair<float, float>> values)
{
    TickItemArray a;
    a.Reserve(values.size());
    int32_t t = 0;
    for (auto [first, second] : values)
        a.Append({0, t++, first, second});
    return a;
}

} // namespace

TEST(IntradayTicks, ASplitStopsAtAnEarlierStampAndSaysSoOncePerShare)
{
    ResetTickCorruptionReport();
    test::FakeMessageBox box;
    const std::vector<IntradayTick> ticks{Stamp(100), Priced(kTickTrade, 250, 1000, 0), Stamp(90),
                                          Priced(kTickTrade, 251, 500, 1)};
    IntradaySeriesSet set;
    EXPECT_FALSE(SplitIntradayTicks(ticks, {0, 0, 2}, set, "Acme"));
    ASSERT_EQ(set.trades.items.size(), 1u) << "the first trade is kept";
    EXPECT_EQ(set.trades.items[0].flags, uint32_t(kItemBuy));
    EXPECT_EQ(set.trades.items[0].time, 100);
    ASSERT_EQ(box.shown().size(), 1u);
    EXPECT_EQ(box.texts()[0], "There appears to be some corruption in your intraday data for Acme.\r\nWe recommend that "
                              "you backfill this day from the 'Update' menu (with overwrite ticked).");
    IntradaySeriesSet again;
    EXPECT_FALSE(SplitIntradayTicks(ticks, {0, 0, 2}, again, "Acme"));
    EXPECT_EQ(box.shown().size(), 1u) << "once per share";
    EXPECT_FALSE(SplitIntradayTicks(ticks, {0, 0, 2}, again, "Bolt"));
    EXPECT_EQ(box.shown().size(), 2u);

    // The arrays hold no more than the entry's counts say, whatever the ticks hold.
    IntradaySeriesSet bounded;
    const std::vector<IntradayTick> many{Stamp(10), Priced(kTickQuote, 2, 1), Priced(kTickQuote, 2, 1),
                                         Priced(kTickQuote, 2, 1), Stamp(90000), Priced(kTickQuote, 2, 1)};
    EXPECT_TRUE(SplitIntradayTicks(many, {2, 0, 0}, bounded, "Acme"));
    EXPECT_EQ(bounded.quotes.items.size(), 2u);
}

TEST(IntradayTicks, SpikesAreMarkedByTheirNeighboursAndQuotesAreTestedOneWay)
{
    struct Case {
        std::vector<std::pair<float, float>> items;
        int which;
        bool dropCrossed;
        bool spikeRemoval;
        int spikeAt; // -1 none
        float low, high;
    };
    const std::vector<Case> cases{
        // Offers 10, 10, 30, 10, 10: the 30 is above 2.5 x 10.
        {{{10, 9}, {10, 9}, {30, 9}, {10, 9}, {10, 9}}, 0, true, false, 2, 10, 10},
        {{{10, 9}, {10, 9}, {30, 9}, {10, 9}, {10, 9}}, 0, true, true, 2, 10, 10},
        // The same as bids of uncrossed quotes: not tested upwards, the 30 widens the range.
        {{{40, 10}, {40, 10}, {40, 30}, {40, 10}, {40, 10}}, 1, true, false, -1, 10, 30},
        // Offers 10, 10, 3, 10: not tested downwards with crossed quotes dropped; a spike without.
        {{{10, 1}, {10, 1}, {3, 1}, {10, 1}}, 0, true, false, -1, 3, 10},
        {{{10, 1}, {10, 1}, {3, 1}, {10, 1}}, 0, false, false, 2, 10, 10},
        // A zero value is missing and moves nothing; a crossed quote is skipped.
        {{{10, 9}, {0, 9}, {5, 9}, {10, 9}}, 0, true, false, -1, 10, 10},
    };
    for (size_t n = 0; n < cases.size(); ++n) {
        const Case& c = cases[n];
        TickItemArray a;
        a.Reserve(c.items.size());
        for (auto [first, second] : c.items)
            a.Append({0, 0, first, second});
        TickPriceRange range;
        CleanTickPrices(a, c.which, c.dropCrossed, &range, kSpikeFactor, c.spikeRemoval);
        const uint32_t spike = c.which == 0 ? kItemFirstSpike : kItemSecondSpike;
        const uint32_t missing = c.which == 0 ? kItemFirstMissing : kItemSecondMissing;
        for (size_t i = 0; i < a.items.size(); ++i) {
            EXPECT_EQ((a.items[i].flags & spike) != 0, int(i) == c.spikeAt) << "case " << n << " item " << i;
            if (int(i) == c.spikeAt) {
                EXPECT_EQ((a.items[i].flags & missing) != 0, c.spikeRemoval) << "case " << n;
            }
        }
        EXPECT_FLOAT_EQ(range.minimum, c.low) << "case " << n;
        EXPECT_FLOAT_EQ(range.maximum, c.high) << "case " << n;
    }
    TickItemArray zero = Items({{0, 9}});
    CleanTickPrices(zero, 0, true, nullptr, kSpikeFactor, false);
    EXPECT_EQ(zero.items[0].flags, uint32_t(kItemFirstMissing));
}

TEST(IntradayTicks, BarsTakeTheMidsOfTheirSlotsAndEmptyBarsTheLastMid)
{
    BarArray bars;
    bars.slotLength = 60;
    bars.bars.assign(3, Bar{});
    TickItemArray quotes;
    quotes.Reserve(2);
    quotes.Append({0, 0, 101, 99});
    quotes.Append({0, 120, 111, 109});
    TicksToBars(quotes, bars, 0, 180, nullptr, false);
    ASSERT_EQ(bars.bars.size(), 3u);
    for (int b : {0, 1})
        EXPECT_EQ(bars.bars[size_t(b)].open + bars.bars[size_t(b)].high + bars.bars[size_t(b)].low + bars.bars[size_t(b)].close, 400.0f);
    EXPECT_EQ(bars.bars[2].open, 110.0f);
    EXPECT_EQ(bars.bars[2].close, 110.0f);
    EXPECT_EQ(bars.bars[2].volume, 0.0f);

    // A quote exactly half a slot after a boundary goes to the next bar; without rounding it stays.
    for (bool noRounding : {false, true}) {
        BarArray b;
        b.slotLength = 60;
        b.bars.assign(2, Bar{});
        TickItemArray q;
        q.Reserve(2);
        q.Append({0, 0, 101, 99});
        q.Append({0, 30, 121, 119});
        TicksToBars(q, b, 0, 120, nullptr, noRounding);
        EXPECT_EQ(b.bars[noRounding ? 0 : 1].close, 120.0f) << noRounding;
    }

    // Every quote missing a value: no bars.
    TickItemArray missing = Items({{101, 99}});
    missing.items[0].flags = kItemSecondMissing;
    BarArray none;
    none.bars.assign(3, Bar{});
    TicksToBars(missing, none, 0, 180, nullptr, false);
    EXPECT_TRUE(none.bars.empty());
}

TEST(IntradayTicks, TheDecoderBuildsBarsOverTheQuotesAndMergesTheThirdKind)
{
    const std::vector<IntradayTick> ticks{Stamp(8 * 3600), Priced(kTickQuote, 101, 99), Priced(kTickOther, 95, 106),
                                          Stamp(8 * 3600 + 300), Priced(kTickQuote, 103, 101),
                                          Priced(kTickTrade, 102, 5000), Stamp(8 * 3600 + 3600),
                                          Priced(kTickQuote, 105, 103)};
    IntradayDay day;
    day.slotLength = 300;
    ASSERT_TRUE(DecodeIntradayTicks(day, ticks, {3, 1, 1}, kDecodeBars | kDecodeKeepQuotes, "Acme"));
    EXPECT_EQ(day.bars.start, 8 * 3600);
    ASSERT_EQ(day.bars.bars.size(), 13u) << "an hour of five-minute slots, both ends";
    EXPECT_EQ(day.bars.bars[0].low, 95.0f);
    EXPECT_EQ(day.bars.bars[0].high, 106.0f);
    EXPECT_EQ(day.bars.bars[1].close, 102.0f);
    EXPECT_EQ(day.bars.bars[5].close, 102.0f) << "empty slots carry the last mid";
    EXPECT_EQ(day.bars.bars[12].close, 104.0f);
    EXPECT_EQ(day.quoteItems.items.size(), 3u);
    EXPECT_FLOAT_EQ(day.range.minimum, 95.0f);

    day.averages = {{0, 2, {}}};
    day.startTime = 8 * 3600 + 900;
    EXPECT_EQ(ComputeBarAverages(day), 3);
    ASSERT_EQ(day.averages[0].values.size(), 13u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(day.averages[0].values[size_t(i)], day.bars.bars[3].close) << "slots before the first take its close";
}

TEST(IntradayTicks, TheLatestQuoteAndTradeSkipMissingAndCrossedItems)
{
    IntradaySeriesSet set;
    set.timeOffset = 3600;
    set.quotes = Items({{101, 99}, {98, 99}});
    set.trades = Items({{100, 500}, {0, 0}});
    set.trades.items[1].flags = kItemFirstMissing;
    float mid = 0, bid = 0, offer = 0, price = 0, volume = 0;
    int32_t time = 0;
    ASSERT_TRUE(GetLatestQuote(set, mid, bid, offer, time));
    EXPECT_EQ(mid, 100.0f);
    EXPECT_EQ(time, 3600);
    EXPECT_EQ(set.storedMid, 100.0f);
    ASSERT_TRUE(GetLatestTrade(set, price, volume, time));
    EXPECT_EQ(price, 100.0f);
    EXPECT_EQ(volume, 500.0f);
    IntradaySeriesSet empty;
    EXPECT_FALSE(GetLatestTrade(empty, price, volume, time));
}

TEST(IntradayTicks, SeriesKeys)
{
    EXPECT_EQ(MakeSeriesKey(1, 1, 20, 1, 1), 285217798u);
    EXPECT_EQ(MakeSeriesKey(1, 1, 20, 1, 9), 285217799u);
    EXPECT_EQ(MakeSeriesKey(2, 5, 20, 0, 8), ((((5u + 32) << 16) << 6) * 4) + 1) << "no period for field 3 and above";
}
