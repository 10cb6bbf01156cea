// The summary of trades' texts and the trade price history's lines, from scripted totals and ticks.
#include "realtime/TradePriceHistory.h"
#include "realtime/TradeSummary.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

constexpr PackedDate kMon7 = PackDate(7, 12, 2026);

// 3 buys and 1 sell of 100 shares at 100p: values in pounds.
TradeTotals ThreeBuysOneSell()
{
    TradeTotals t;
    t.count[0] = 4, t.count[1] = 3, t.count[2] = 1;
    t.volume[0] = 400, t.volume[1] = 300, t.volume[2] = 100;
    t.value[0] = 400, t.value[1] = 300, t.value[2] = 100;
    t.latestTime = 16 * 3600 + 30 * 60 + 5;
    t.share = 7;
    t.day = kMon7;
    return t;
}

TradeSummaryContext Acme()
{
    TradeSummaryContext c;
    c.shareName = "Acme";
    c.zoneName = "GMT";
    c.currencySymbol = "\xA3";
    return c;
}

TEST(TradeSummaryTest, PercentagesOfTheTotalForEachColumn)
{
    const TradeSummaryTable t = FormatTradeSummary(ThreeBuysOneSell(), Acme(), kSummaryPercentages);
    EXPECT_EQ(t.caption, "Acme - Summary of Trades");
    EXPECT_TRUE(t.message.empty());
    EXPECT_EQ(t.timeLine, "16:30:05 GMT");
    EXPECT_EQ(t.dateLine, "Monday, 7 December 2026");
    EXPECT_EQ(t.headings[2], "Value (\xA3)");
    for (size_t column = 0; column < 3; ++column) {
        EXPECT_EQ(t.percents[1][column], "(75%)") << column;
        EXPECT_EQ(t.percents[2][column], "(25%)") << column;
        EXPECT_EQ(t.percents[3][column], "(0%)") << column;
        EXPECT_EQ(t.percents[0][column], "") << "the total has none";
    }
    EXPECT_EQ(t.cells[0][0], "4");
    EXPECT_EQ(t.cells[1][1], "300");
    EXPECT_TRUE(FormatTradeSummary(ThreeBuysOneSell(), Acme(), 0).percents[1][0].empty()) << "percentages off";
}

TEST(TradeSummaryTest, WithoutTradesOrShareAMessageTakesTheTable)
{
    struct Case {
        bool trades;
        bool share;
        bool news;
        const char* message;
    } cases[] = {
        {false, true, false, "No trade data available"},
        {true, false, false, "No trade data available"},
        {true, false, true, "No company selected"},
        {false, true, true, "No trade data available"},
    };
    for (const Case& c : cases) {
        TradeTotals totals = c.trades ? ThreeBuysOneSell() : TradeTotals{};
        totals.day = 0;
        totals.share = c.share ? 7 : 0;
        TradeSummaryContext context = Acme();
        context.newsView = c.news;
        context.referenceTime = 16 * 3600 + 35 * 60;
        const TradeSummaryTable t = FormatTradeSummary(totals, context, kSummaryPercentages);
        EXPECT_EQ(t.message, c.message) << c.trades << c.share << c.news;
        EXPECT_EQ(t.timeLine, "16:35:00    ") << "the market's reference time, without a day";
    }
}

TEST(TradeSummaryTest, FiguresShareOneUnitWithThreeSignificantFigures)
{
    TradeTotals t = ThreeBuysOneSell();
    t.volume[0] = 2'500'000, t.volume[1] = 1'250'000, t.volume[2] = 1'250'000;
    const TradeSummaryTable table = FormatTradeSummary(t, Acme(), kSummarySignificant);
    // 1.25 millions is the smallest scaled figure, so the volumes are all in millions.
    EXPECT_EQ(table.headings[1], "Volume (millions)");
    EXPECT_EQ(table.cells[0][1], "2.50");
    EXPECT_EQ(table.cells[1][1], "1.25");
    EXPECT_EQ(table.cells[3][1], "0") << "no unknown volume";
    EXPECT_EQ(FormatTradeSummary(t, Acme(), 0).cells[0][1], "2,500,000") << "in full without the option";

    const double none[] = {0, -1};
    EXPECT_EQ(CommonDisplayUnit(none).scale, 1) << "no figure above zero: no unit";
    const double mixed[] = {4'000'000, 1'500};
    EXPECT_EQ(CommonDisplayUnit(mixed).word, "thousands") << "1.5 thousands is smaller than 4 millions";
}

TEST(TradeSummaryTest, ANegativeZoneOffsetNeverTakesTheTimeBelowMidnight)
{
    EXPECT_EQ(ShiftedTradeTime(3600, -1800), 1800u);
    EXPECT_EQ(ShiftedTradeTime(600, -1800), 600u);
    EXPECT_EQ(ShiftedTradeTime(600, 3600), 4200u);
}

IntradayTick Tick(uint16_t type, uint32_t a, float f1 = 0, float f2 = 0)
{
    IntradayTick x;
    x.type = type;
    if (type == kTickTime)
        x.value1 = a;
    else
        x.SetF(f1, f2);
    return x;
}

TEST(TradePriceHistoryTest, ALinePerTickUpToTheEndRecord)
{
    const std::vector<IntradayTick> ticks = {
        Tick(kTickTime, 8 * 3600 + 5 * 60 + 9),
        Tick(kTickQuote, 0, 101.0f, 100.5f),
        Tick(kTickTrade, 0, 100.75f, 2500),
        Tick(uint16_t(kTickTrade | 0x4000), 0, 100.5f, 10),
        Tick(5, 0, 1, 1),
        IntradayTick{},
        Tick(kTickTrade, 0, 1, 1),
    };
    const std::vector<std::string> expected = {
        "New date = " + std::string("7/12/26"),
        "",
        " Time @ 08:05:09",
        " - Price - Offer = 101.0000, mid = 100.7500, bid = 100.5000",
        " - Trade - Price 100.7500, volume 2500, del 0",
        " - Trade - Price 100.5000, volume 10, del 16384",
    };
    EXPECT_EQ(TradePriceHistoryLines(ticks, kMon7), expected);
    EXPECT_EQ(TradePriceHistoryLines({}, kMon7), std::vector<std::string>{"No intraday information"});
}

} // namespace
} // namespace qv
