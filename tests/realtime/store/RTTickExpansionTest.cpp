// The stored tick coding read back, a day expanded into ticks, trade classes and roll-up.
#include "realtime/store/RTTickExpansion.h"

#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTTickCoding.h"
#include "tests/realtime/store/RTStoreFixture.h"

namespace qv {
namespace {

using test::kMon7;
using test::kSat5;
using test::kTue8;

TEST(RTTickCodingTest, WrittenRecordsReadBackInOrder)
{
    // Prices in pence down to a hundredth; a share priced in pounds stores whole pence.
    for (bool pounds : {false, true}) {
        float f = pounds ? 0.0f : 1.0f; // the fractions only where they can be held
        RTDayShareEntry e;
        if (pounds)
            e.loadFlags = kRTLoadPounds;
        RTTickWriter w(e);
        w.Time(0); // stored as 1
        w.PriceItem(0, 101 + 0.25f * f, 0, 100 + 0.75f * f, std::nullopt);
        w.Time(30000);
        w.PriceItem(0, 101 + 0.25f * f, 0, 100 + 0.75f * f, RTStoredTrade{101 + 0.25f * f, 2500, 7});
        w.Time(30000); // same time: nothing written
        w.PriceItem(99 + 0.5f * f, 5000 + 0.5f * f, 98 + 0.25f * f, 4000.0f, RTStoredTrade{123456.0f, 4000000000u, 65535});
        w.Time(86399, true);
        w.BackfillTrade(pounds ? 3.0f : 0.05f, 1, 3);
        auto items = ReadRTStoredTicks(e.ticks, e.streamOffset, pounds);
        using K = RTStoredItem;
        std::vector<std::tuple<K::Kind, uint32_t, float, float, bool>> expect = {
            {K::Time, 1, 0, 0, false},
            {K::Quote, 1, 101 + 0.25f * f, 100 + 0.75f * f, false},
            {K::Other, 1, 101 + 0.25f * f, 100 + 0.75f * f, false},
            {K::Time, 30000, 0, 0, false},
            {K::Quote, 30000, 101 + 0.25f * f, 100 + 0.75f * f, true},
            {K::Other, 30000, 101 + 0.25f * f, 100 + 0.75f * f, false},
            {K::Trade, 30000, 101 + 0.25f * f, 2500, false},
            {K::Quote, 30000, 5000 + 0.5f * f, 4000.0f, false},
            {K::Other, 30000, 99 + 0.5f * f, 98 + 0.25f * f, false},
            {K::Trade, 30000, 123456.0f, 4000000000.0f, false},
            {K::Time, 86399, 0, 0, false},
            {K::Trade, 86399, pounds ? 3.0f : 0.05f, 1, false},
        };
        ASSERT_EQ(items.size(), expect.size()) << pounds;
        for (size_t i = 0; i < items.size(); ++i) {
            auto [kind, time, v1, v2, repeated] = expect[i];
            EXPECT_EQ(items[i].kind, kind) << i;
            EXPECT_EQ(items[i].time, time) << i;
            EXPECT_NEAR(items[i].value1, v1, std::abs(v1) * 1e-6 + 1e-9) << i << " pounds " << pounds;
            EXPECT_NEAR(items[i].value2, v2, std::abs(v2) * 1e-6 + 1e-9) << i;
            EXPECT_EQ(items[i].repeated, repeated) << i;
        }
    }
}

TEST(RTTickCodingTest, EveryPriceOfADayReadsBackToTheFinestStep)
{
    // Each row is one share's day of trade prices, written in order: a price off the register's
    // scale must move the register to a scale that holds it, never round to a coarser one.
    const std::vector<std::vector<float>> days = {
        {123.245995f, 123.25f, 123.2f, 123.0f},
        {9948.62f, 9938.0f, 10000.0f, 9915.23f},
        {10000.0f, 9999.99f, 100000.0f, 0.05f},
        {0.0001f, 0.004f, 0.01f, 1.0f, 99.999f, 999.995f, 99999.0f},
        {500.0f, 500.5f, 500.25f, 500.125f, 500.0625f},
    };
    for (bool pounds : {false, true}) {
        double step = pounds ? 1.0 : 0.01;
        for (const auto& prices : days) {
            RTDayShareEntry e;
            if (pounds)
                e.loadFlags = kRTLoadPounds;
            RTTickWriter w(e);
            for (size_t i = 0; i < prices.size(); ++i) {
                w.Time(uint32_t(30000 + i));
                w.PriceItem(0, prices[i] + 1, 0, prices[i], RTStoredTrade{prices[i], 100, 0});
            }
            std::vector<float> trades, bids;
            for (const auto& item : ReadRTStoredTicks(e.ticks, e.streamOffset, pounds)) {
                if (item.kind == RTStoredItem::Trade)
                    trades.push_back(item.value1);
                if (item.kind == RTStoredItem::Quote)
                    bids.push_back(item.value2);
            }
            ASSERT_EQ(trades.size(), prices.size()) << pounds << " " << prices[0];
            ASSERT_EQ(bids.size(), prices.size());
            for (size_t i = 0; i < prices.size(); ++i) {
                double tolerance = step / 2 + std::abs(prices[i]) * 1e-6;
                EXPECT_NEAR(trades[i], prices[i], prices[i] < step ? step : tolerance) << pounds << " #" << i;
                EXPECT_NEAR(bids[i], prices[i], prices[i] < step ? step : tolerance) << pounds << " #" << i;
                EXPECT_NE(trades[i], 0.0f) << "a price never reads back as none";
            }
        }
    }
}

TEST(RTTickCodingTest, ReadingStopsAtUnknownKindsAndAtTheEnd)
{
    RTDayShareEntry e;
    RTTickWriter w(e);
    w.Time(100);
    w.PriceItem(0, 10.0f, 0, 9.0f, std::nullopt);
    std::vector<uint32_t> words = e.ticks;
    // Marker 11 (a kind this reader does not know) at the next bit, then a valid time record.
    uint32_t bit = e.bitsInLastWord;
    words.back() |= 0x3u << bit;
    EXPECT_EQ(ReadRTStoredTicks(words, e.streamOffset, false).size(), 3u);
    EXPECT_TRUE(ReadRTStoredTicks(std::span(words).first(20), e.streamOffset, false).empty());
    EXPECT_TRUE(ReadRTStoredTicks(EmptyRTSummaryWords(), 36, false).empty());
}

class RTExpansionTest : public test::RTStoreTest {
protected:
    // A day entry of one share written from explicit records.
    RTDayShareEntry& Entry(PackedDate date, uint16_t share = 0x4001)
    {
        RTDayRecord* day = GetRTDay(date, true);
        int32_t slot = -1;
        return *GetRTDayShare(MakeRTKey(0, share), *day, slot, true);
    }
    RTShareDayBlock* Expand(PackedDate date, uint32_t mode, uint16_t share = 0x4001)
    {
        RTActiveShare* a = CreateRTActiveShare(ShareRef{nullptr, 0, share});
        if (!LoadRTActiveShareDay(GetRTDay(date, false), a, mode))
            return nullptr;
        return FindRTShareDay(*a, date);
    }
    static std::vector<std::pair<uint16_t, std::pair<float, float>>> Kinds(const RTShareDayBlock& b)
    {
        std::vector<std::pair<uint16_t, std::pair<float, float>>> out;
        for (uint32_t i = 0; i < b.count; ++i) {
            const IntradayTick& t = b.ticks[i];
            out.push_back({t.type, t.Kind() == kTickTime ? std::pair{float(t.value1), float(t.value2 >> 16)}
                                                         : std::pair{t.F1(), t.F2()}});
        }
        return out;
    }
};

TEST_F(RTExpansionTest, ZeroValuesAndRepeatedQuotesAreDroppedUnlessKept)
{
    RTDayShareEntry& e = Entry(kMon7);
    {
        RTTickWriter w(e);
        w.Time(200);
        w.PriceItem(0, 10.0f, 0, 9.0f, RTStoredTrade{0.0f, 100, 0}); // a trade without a price
        w.Time(100);                                               // earlier, stored later
        w.PriceItem(0, 10.0f, 0, 9.0f, std::nullopt);
        w.PriceItem(0, 10.0f, 0, 9.0f, std::nullopt); // repeated in the same second
    }
    RTShareDayBlock* b = Expand(kMon7, 0);
    ASSERT_NE(b, nullptr);
    using P = std::pair<float, float>;
    std::vector<std::pair<uint16_t, P>> expect = {
        {kTickTime, P{100, 3}}, {kTickQuote, P{10, 9}}, {kTickOther, P{10, 9}}, {kTickOther, P{10, 9}},
        {kTickTime, P{200, 2}}, {kTickQuote, P{10, 9}}, {kTickOther, P{10, 9}},
    };
    EXPECT_EQ(Kinds(*b), expect) << "times in order, the zero trade and the repeat dropped";
    EXPECT_EQ(b->ticks[b->count].type, kTickEnd);
    EXPECT_EQ(b->quotes, 2u);
    EXPECT_EQ(b->trades, 0u);

    b = Expand(kMon7, kRTExpandKeepAll);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->trades, 1u) << "mode bit 0 keeps the zero trade";
}

TEST_F(RTExpansionTest, ADayIsNotExpandedTwiceWithoutTheForceBit)
{
    RTDayShareEntry& e = Entry(kMon7);
    dev::WriteIntradayEntry(e, dev::GenerateIntradayDay(0x4001, kMon7, Prices(200.0f)), 198.0f);
    RTShareDayBlock* b = Expand(kMon7, 0);
    ASSERT_NE(b, nullptr);
    uint32_t count = b->count;
    b->ticks[0].value1 = 12345; // a mark the next expansion would overwrite
    RTActiveShare* a = FindRTActiveShare(MakeRTKey(0, 0x4001));
    EXPECT_FALSE(LoadRTActiveShareDay(GetRTDay(kMon7, false), a, 0));
    EXPECT_EQ(b->ticks[0].value1, 12345u);
    EXPECT_TRUE(LoadRTActiveShareDay(GetRTDay(kMon7, false), a, kRTExpandKeepAll));
    EXPECT_EQ(b->ticks[0].value1, 8u * 3600);
    EXPECT_GE(b->count, count);
}

TEST_F(RTExpansionTest, NothingIsExpandedForAWeekendPendingInstrumentOrMissingEntry)
{
    RTDayShareEntry& sat = Entry(kSat5);
    dev::WriteIntradayEntry(sat, dev::GenerateIntradayDay(0x4001, kSat5, Prices(200.0f)), 198.0f);
    EXPECT_EQ(Expand(kSat5, 0), nullptr);
    RTDayShareEntry& pending = Entry(kMon7, 0x4002);
    pending.flags = kRTEntryNotInDatabase;
    dev::WriteIntradayEntry(pending, dev::GenerateIntradayDay(0x4002, kMon7, Prices(200.0f)), 198.0f);
    EXPECT_EQ(Expand(kMon7, 0, 0x4002), nullptr);
    EXPECT_EQ(Expand(kMon7, 0, 0x4003), nullptr);
    EXPECT_FALSE(LoadRTActiveShareDay(nullptr, CreateRTActiveShare(ShareRef{nullptr, 0, 0x4001}), 0));
}

TEST_F(RTExpansionTest, InstrumentGapsTakeTheLastValueOrMinusTwo)
{
    RTDayShareEntry& e = Entry(kMon7);
    e.flags = kRTEntryNotInDatabase | kRTEntryInstrumentApplied;
    {
        RTTickWriter w(e);
        w.Time(100);
        w.PriceItem(0, 0.0f, 0, 9.0f, RTStoredTrade{9.5f, 0, 0});
        w.Time(200);
        w.PriceItem(0, 10.0f, 0, 0.0f, RTStoredTrade{0.0f, 300, 0});
    }
    RTShareDayBlock* b = Expand(kMon7, kRTExpandKeepAll);
    ASSERT_NE(b, nullptr);
    std::vector<std::pair<float, float>> quotes, trades;
    for (uint32_t i = 0; i < b->count; ++i) {
        if (b->ticks[i].Kind() == kTickQuote)
            quotes.push_back({b->ticks[i].F1(), b->ticks[i].F2()});
        if (b->ticks[i].Kind() == kTickTrade)
            trades.push_back({b->ticks[i].F1(), b->ticks[i].F2()});
    }
    EXPECT_EQ(quotes, (std::vector<std::pair<float, float>>{{-2.0f, 9.0f}, {10.0f, 9.0f}}));
    EXPECT_EQ(trades, (std::vector<std::pair<float, float>>{{9.5f, -2.0f}, {9.5f, 300.0f}}));
}

TEST(RTClassifyTest, TradesAreClassedAgainstTheLatestQuote)
{
    // Offer 106, bid 100: mid 103, band 1.
    struct Case {
        float price;
        uint8_t cls;
    } cases[] = {{104.01f, 0}, {104.0f, 2}, {103.0f, 2}, {102.0f, 2}, {101.99f, 1}, {110.0f, 0}};
    RTShareDayBlock b;
    IntradayTick t{0, 2, kTickTrade};
    t.SetF(103.0f, 100.0f);
    b.ticks.push_back(t); // before any quote
    IntradayTick q{0, 2, kTickQuote};
    q.SetF(106.0f, 100.0f);
    b.ticks.push_back(q);
    for (const Case& c : cases) {
        t.SetF(c.price, 100.0f);
        b.ticks.push_back(t);
    }
    b.ticks.push_back({});
    b.count = uint32_t(b.ticks.size() - 1);
    uint32_t buys = 0, sells = 0;
    ClassifyRTTrades(b, buys, sells);
    EXPECT_EQ(b.ticks[0].tradeClass, kRTTradeUnknown) << "no quote yet";
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(b.ticks[2 + i].tradeClass, cases[i].cls) << cases[i].price;
    EXPECT_EQ(buys, 2u);
    EXPECT_EQ(sells, 1u);
}

TEST(RTRollUpTest, BarsOfEachLevelHoldQuotesAveragesAndMarkedTrades)
{
    // Ticks every 45 s from 08:00 for an hour: a quote and a trade each.
    RTShareDayBlock day;
    for (uint32_t i = 0; i < 80; ++i) {
        day.ticks.push_back({0, 2, kTickTime, 8 * 3600 + 45 * i, 2u << 16});
        IntradayTick q{0, 2, kTickQuote};
        q.SetF(100.0f + float(i), 99.0f + float(i));
        day.ticks.push_back(q);
        IntradayTick t{0, 2, kTickTrade};
        t.SetF(100.0f + float(i), float(100 * (i + 1)));
        day.ticks.push_back(t);
    }
    day.count = uint32_t(day.ticks.size());
    day.ticks.push_back({});
    for (uint8_t level = 1; level <= 4; ++level) {
        uint32_t bar = RTRollUpSeconds(level);
        RTShareDayBlock b = day;
        RollUpRTTicks(kMon7, b, bar, true);
        uint32_t stamps = 0, marked = 0, averages = 0;
        double volume = 0;
        for (uint32_t i = 0; i < b.count; ++i) {
            const IntradayTick& t = b.ticks[i];
            if (t.type == kTickTime) {
                ++stamps;
                EXPECT_EQ(t.value1 % bar, 0u);
            }
            marked += t.type == kTickMarkedTrade;
            if (t.type == kTickBarAverage) {
                ++averages;
                volume += t.F2();
            }
        }
        uint32_t bars = (79 * 45) / bar + 1;
        EXPECT_EQ(stamps, bars) << int(level);
        EXPECT_EQ(averages, bars);
        EXPECT_EQ(marked, 2u);
        EXPECT_DOUBLE_EQ(volume, 100.0 * 80 * 81 / 2);
        EXPECT_EQ(b.ticks[b.count].type, kTickEnd);
        EXPECT_EQ(b.ticks[1].type, kTickQuote);
        EXPECT_EQ(b.ticks[2].Kind(), kTickOther);
        EXPECT_EQ(b.ticks[3].type, kTickMarkedTrade) << "the first trade leads its bar";
    }
    // One bar's average is volume-weighted: 60 s bars hold one or two trades.
    RTShareDayBlock b = day;
    RollUpRTTicks(kMon7, b, 60, false);
    const IntradayTick& avg = b.ticks[3]; // stamp, quote, other, then the average of the 08:00 bar
    EXPECT_EQ(avg.type, kTickBarAverage);
    EXPECT_FLOAT_EQ(avg.F1(), (100.0f * 100 + 101.0f * 200) / 300);
    EXPECT_FLOAT_EQ(avg.F2(), 300.0f);

    RTShareDayBlock kept = day;
    RollUpRTTicks(kMon7, kept, 0, false);
    EXPECT_EQ(kept.count, day.count) << "a failed roll-up keeps the ticks";
}

TEST_F(RTExpansionTest, OlderDaysRollUpByTheLevelAndALevelAboveFourIsStoredBackAsFour)
{
    dev::WriteIntradayEntry(Entry(kMon7), dev::GenerateIntradayDay(0x4001, kMon7, Prices(200.0f)), 198.0f);
    dev::WriteIntradayEntry(Entry(kTue8), dev::GenerateIntradayDay(0x4001, kTue8, Prices(200.0f)), 198.0f);
    TheRTStore().newestDaySeen = kTue8;
    TheRTStore().rollUpLevel = 9;
    RTShareDayBlock* mon = Expand(kMon7, 0);
    RTShareDayBlock* tue = Expand(kTue8, 0);
    ASSERT_NE(mon, nullptr);
    ASSERT_NE(tue, nullptr);
    EXPECT_EQ(TheRTStore().rollUpLevel, 4);
    for (uint32_t i = 0; i < mon->count; ++i)
        if (mon->ticks[i].type == kTickTime) {
            EXPECT_EQ(mon->ticks[i].value1 % 900, 0u);
        }
    EXPECT_GT(tue->trades, 0u) << "the newest day keeps its ticks";
}

} // namespace
} // namespace qv
