// The intraday chart window drawn over made-up days: each price style, trades by class, bid and offer
// shading, the design dialog's preview through RenderGraphTo, indicator windows, the read-outs at the
// cursor and of the latest values, the title's values and the alarm on a drawn line; every picture
// goes to build/renders (intraday-chart-*.png) for a person to look at.
#include "realtime/ui/ViewGraphRTWindow.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/StopLossSettings.h"
#include "charts/DrawingObjectHits.h"
#include "platform/ByteOrder.h"
#include "chartmodel/AddedGraphEntries.h"
#include "chartmodel/IndicatorCalc.h"
#include "chartmodel/IndicatorPlacement.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/IntradayNotes.h"
#include "chartmodel/LineObjects.h"
#include "chartmodel/TrainingMode.h"
#include "chartmodel/ui/GraphLegend.h"
#include "core/KeyedItemStore.h"
#include "realtime/RTMarketTable.h"
#include "core/LinesAndTextFiles.h"
#include "chartmodel/ChartCalendar.h"
#include "platform/ByteOrder.h"
#include "resources/MessageIds.h"
#include "views/CommandUpdate.h"
#include "core/ConfigState.h"
#include "core/TimeZones.h"
#include "support/ui/Render.h"
#include "views/ViewKinds.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <regex>

namespace qv {
namespace {

namespace gs = graphsetting;

const std::vector<PackedDate> kHeld = {PackDate(4, 3, 2026), PackDate(5, 3, 2026)};

// A day of quotes every minute from 08:00 to 16:30 wandering around a price, and a trade every five
// minutes alternately bought and sold, a few unclassified.
std::vector<IntradayTick> Day(float price)
{
    std::vector<IntradayTick> ticks;
    for (uint32_t t = 28800, i = 0; t <= 59400; t += 60, ++i) {
        IntradayTick stamp;
        stamp.type = kTickTime;
        stamp.value1 = t;
        ticks.push_back(stamp);
        const float mid = price + 8 * std::sin(float(i) / 40) + float(i % 5) * 0.3f;
        IntradayTick quote;
        quote.type = kTickQuote;
        quote.SetF(mid + 0.5f, mid - 0.5f);
        ticks.push_back(quote);
        if (i % 5 == 0) {
            IntradayTick trade;
            trade.type = kTickTrade;
            trade.tradeClass = uint8_t(i % 15 == 0 ? 2 : (i / 5) % 2);
            trade.SetF(mid + (trade.tradeClass == 0 ? 0.5f : -0.5f), float(500 + (i * 37) % 3000));
            ticks.push_back(trade);
        }
    }
    return ticks;
}

class IntradayChartWindow : public ::testing::Test {
protected:
    IntradayChartWindow() : saved_(Config().intradayGraphs.records[0])
    {
        InitGraphSetting(Setting(), true);
        chart.chart.ShowShare({0x4001, 0, "Alpha Mining", {}});
        chart.chart.source.heldDays = [] { return kHeld; };
        chart.chart.source.dayTicks = [](uint16_t, PackedDate day) { return Day(day == kHeld[0] ? 240 : 250); };
        chart.chart.source.latestTime = [](uint8_t, PackedDate) { return -1; };
        chart.chart.source.marketHours = [](uint8_t) { return std::make_pair(28800, 59400); };
        chart.chart.source.beep = [] {};
    }
    ~IntradayChartWindow() override { Config().intradayGraphs.records[0] = saved_; }
    GraphSetting& Setting() { return Config().intradayGraphs.records[0]; }
    QImage Render(const char* name)
    {
        chart.chart.dataChanged = true;
        const QImage image = chart.RenderToImage(1000, 600);
        test::SaveRender(image, QStringLiteral("intraday-chart-") + QString::fromLatin1(name));
        return image;
    }
    // Pixels of a colour inside the plot.
    static int Count(const QImage& image, QRgb colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return n;
    }

    GraphSetting saved_;
    CViewGraphRTWnd chart{kViewIntradayChart};
};

TEST_F(IntradayChartWindow, EachPriceStyleDrawsBothDays)
{
    const char* names[] = {"style-1-mid-line", "style-2-close-line", "style-3-ohlc-bars", "style-4-candlesticks"};
    // Only the style's own pen, so that what it draws can be counted.
    gs::SetU16(Setting(), gs::kDisplayFlags, 0);
    gs::SetU16(Setting(), intraday::kTradesDisplay, 0);
    gs::SetU8(Setting(), intraday::kDaysViewed, 1);
    for (size_t i = 0; i < 5; ++i)
        gs::SetU32(Setting(), gs::kPriceColours + 4 * i, 0x0000C0);
    for (uint8_t style = 1; style <= 4; ++style) {
        gs::SetU8(Setting(), intraday::kPriceStyle, style);
        const QImage image = Render(names[style - 1]);
        ASSERT_EQ(chart.chart.sets().size(), 2u);
        EXPECT_TRUE(chart.noDataText.empty());
        // The price pen in both halves of the plot.
        const QImage left = image.copy(0, 0, 500, 600), right = image.copy(500, 0, 500, 600);
        EXPECT_GT(Count(left, qRgb(0xC0, 0, 0)), 50) << names[style - 1];
        EXPECT_GT(Count(right, qRgb(0xC0, 0, 0)), 50) << names[style - 1];
    }
}

// Candlesticks without trades leave the titled series with no line of its own: the title is drawn in
// the style's "Title text" colour (on a dark background it was black).
TEST_F(IntradayChartWindow, ATitleWithoutALineOfItsOwnTakesTheTitleColour)
{
    gs::SetU16(Setting(), gs::kDisplayFlags, 0);
    gs::SetU16(Setting(), intraday::kTradesDisplay, 0);
    gs::SetU8(Setting(), intraday::kPriceStyle, 4);
    gs::SetU32(Setting(), gs::kTitleTextColour, 0x00B0B0);
    const QImage image = Render("candlesticks-title");
    const GraphPane* price = chart.FindPane(kPanePrice);
    ASSERT_NE(price, nullptr);
    const QImage title = image.copy(price->left, price->top, 400, chart.textHeight + chart.paneMargin + 2);
    EXPECT_GT(Count(title, qRgb(0xB0, 0xB0, 0)), 10) << "the title in the title colour";
}

TEST_F(IntradayChartWindow, TradesByClassAndShading)
{
    gs::SetU8(Setting(), intraday::kPriceStyle, 1);
    gs::SetU16(Setting(), intraday::kTradesDisplay, intraday::kTradesDots | intraday::kTradesByClass);
    gs::SetU32(Setting(), intraday::kBuyPen, 0x00C000);
    gs::SetU32(Setting(), intraday::kSellPen, 0x0000FF);
    const QImage dots = Render("trades-by-class");
    EXPECT_GT(Count(dots, qRgb(0, 0xC0, 0)), 20) << "buys";
    EXPECT_GT(Count(dots, qRgb(0xFF, 0, 0)), 20) << "sells";
    gs::SetU16(Setting(), gs::kDisplayFlags, intraday::kBidShading | intraday::kOfferShading | intraday::kBidLine |
                                                  intraday::kOfferLine);
    gs::SetU32(Setting(), intraday::kOfferShadePen, 0xE0E0FF);
    const QImage shaded = Render("bid-offer-shading");
    EXPECT_GT(Count(shaded, qRgb(0xFF, 0xE0, 0xE0)), 5000) << "the offer's shading";
}

// With "Show size" the dots follow the trade volumes (500 to 3,500 round an average of about 2,000):
// each is at least twice as wide as the plain 2-pixel dot, so its colour covers far more of the plot.
TEST_F(IntradayChartWindow, TradesSizedByVolume)
{
    gs::SetU8(Setting(), intraday::kPriceStyle, 1);
    gs::SetU32(Setting(), intraday::kBuyPen, 0x00C000);
    gs::SetU32(Setting(), intraday::kSellPen, 0x0000FF);
    gs::SetU16(Setting(), intraday::kTradesDisplay, intraday::kTradesDots | intraday::kTradesByClass);
    const QImage plain = Render("trades-plain-dots");
    gs::SetU16(Setting(), intraday::kTradesDisplay,
               intraday::kTradesDots | intraday::kTradesByClass | intraday::kTradesSized);
    const QImage sized = Render("trades-sized");
    EXPECT_GT(Count(sized, qRgb(0, 0xC0, 0)), 2 * Count(plain, qRgb(0, 0xC0, 0))) << "buys";
    EXPECT_GT(Count(sized, qRgb(0xFF, 0, 0)), 2 * Count(plain, qRgb(0xFF, 0, 0))) << "sells";
    // A line of trades has no dots to size.
    gs::SetU16(Setting(), intraday::kTradesDisplay, intraday::kTradesLine | intraday::kTradesSized);
    EXPECT_EQ(Render("trades-line-unsized").pixel(0, 0), plain.pixel(0, 0));
}

// Dots are drawn round their prices: the day's highest and lowest prices keep the largest dot's half
// inside the price pane instead of running over its top edge (into the title) or its bottom, and a
// dot never has less room than the same trades drawn as a line.
TEST_F(IntradayChartWindow, TradeDotsStayWholeInsideThePricePane)
{
    gs::SetU8(Setting(), intraday::kPriceStyle, 1);
    auto rangeWith = [&](uint16_t trades, const char* name) {
        gs::SetU16(Setting(), intraday::kTradesDisplay, trades);
        Render(name);
        return *FindSeries(chart.timeBands, chart.FindPane(kPanePrice))->range;
    };
    const ValueRange line = rangeWith(intraday::kTradesLine, "trades-line");
    const ValueRange dots =
        rangeWith(intraday::kTradesDots | intraday::kTradesByClass | intraday::kTradesSized, "trades-dots-inside");
    EXPECT_GE(dots.maximum, line.maximum);
    EXPECT_LE(dots.minimum, line.minimum);
    // The shown day's highest and lowest trades lie half a dot inside the plot at least.
    float high = 0, low = 1e9f;
    for (const IntradayTick& tick : Day(250))
        if (tick.type == kTickTrade) {
            high = std::max(high, tick.F1());
            low = std::min(low, tick.F1());
        }
    EXPECT_GE(chart.ValueToY(&dots, high, false) - dots.yTop, 8);
    EXPECT_GE(dots.yBottom - chart.ValueToY(&dots, low, false), 8);
}

// The previous day's high, low and close and its pivot levels over each day, and a share of New York
// added on its own scale, lined up on London's clock.
TEST_F(IntradayChartWindow, PreviousDayLevelsPivotsAndAnAddedShare)
{
    DayRecord previous{};
    previous.date = PreviousWeekday(kHeld[0], false);
    previous.open = 244;
    previous.high = 258;
    previous.low = 236;
    previous.close = 247;
    chart.chart.ShowShare({0x4001, 0, "Alpha Mining", {previous}});
    gs::SetU8(Setting(), intraday::kDaysViewed, 1);
    gs::SetU16(Setting(), gs::kDisplayFlags, intraday::kPrevHigh | intraday::kPrevLow | intraday::kPrevClose);
    gs::SetU32(Setting(), intraday::kPrevHighPen, 0x00C000);
    gs::SetU32(Setting(), intraday::kPrevLowPen, 0x0000FF);
    gs::SetU8(Setting(), intraday::kPivotLevels + gs::kPivotFlags, 0x1F);
    for (size_t i = 0; i < 5; ++i)
        gs::SetU32(Setting(), intraday::kPivotLevels + gs::kPivotPens + 4 * i, 0xC000C0);
    gs::SetU8(Setting(), intraday::kDataFlow, 0);
    const QImage levels = Render("previous-day-levels-and-pivots");
    EXPECT_GT(Count(levels, qRgb(0, 0xC0, 0)), 300) << "the previous high";
    EXPECT_GT(Count(levels, qRgb(0xFF, 0, 0)), 300) << "the previous low";
    EXPECT_GT(Count(levels, qRgb(0xC0, 0, 0xC0)), 600) << "the pivot levels";
    ResetMarketZoneMap();
    WriteAddedGraph(Setting(), 0, {1, 0xC00000, 0x4002});
    const QImage added = Render("added-share-of-new-york");
    EXPECT_GT(Count(added, qRgb(0, 0, 0xC0)), 100) << "the added share's line";
}

// The pivot series, bar by bar, and two moving averages with the bands of one; each in its pen.
TEST_F(IntradayChartWindow, PivotSeriesAndMovingAverages)
{
    gs::SetU8(Setting(), intraday::kPriceStyle, 2);
    gs::SetU16(Setting(), intraday::kTradesDisplay, 0);
    gs::SetU8(Setting(), intraday::kPivotSeries + gs::kPivotFlags, 0b111);
    for (size_t i = 0; i < 5; ++i)
        gs::SetU32(Setting(), intraday::kPivotSeries + gs::kPivotPens + 4 * i, 0xC000C0);
    const QImage pivots = Render("pivot-series");
    EXPECT_GT(Count(pivots, qRgb(0xC0, 0, 0xC0)), 1500) << "the pivot series";
    // A bar without a level (the day's first) leaves the price scale alone.
    EXPECT_GT(FindSeries(chart.timeBands, chart.FindPane(kPanePrice))->range->minimum, 200.0f);
    gs::SetU8(Setting(), intraday::kPivotSeries + gs::kPivotFlags, 0);
    gs::SetU32(Setting(), gs::kLineWords, 0x80000000u | 12);
    gs::SetU32(Setting(), gs::kLineColours, 0x00C000);
    gs::SetU32(Setting(), gs::kLineWords + 4, 0x80000000u | 1u << 30 | 2u << 20 | 30);
    gs::SetU32(Setting(), gs::kLineColours + 4, 0xC00000);
    gs::SetU32(Setting(), gs::kLineBandColours + 4, 0x00C0C0);
    const QImage averages = Render("moving-averages");
    EXPECT_EQ(Count(averages, qRgb(0xC0, 0, 0xC0)), 0) << "the pivot series is off";
    EXPECT_GT(Count(averages, qRgb(0, 0xC0, 0)), 600) << "the 12-bar average";
    EXPECT_GT(Count(averages, qRgb(0, 0, 0xC0)), 600) << "the 30-bar average";
    EXPECT_GT(Count(averages, qRgb(0xC0, 0xC0, 0)), 1200) << "its two bands";
}

// The measuring drawings read the intraday bars: a regression line and a percentage change drawn
// over part of the shown day stand where those bars are.
TEST_F(IntradayChartWindow, MeasuringDrawingsReadTheIntradayBars)
{
    gs::SetU8(Setting(), intraday::kPriceStyle, 2);
    Render("before-measuring");
    const int32_t day = int32_t(DateToCalendarIndex(kHeld[1]));
    for (uint32_t subtype : {4u, 8u}) {
        SCOPED_TRACE(subtype);
        LineObjectList& list = chart.drawing.PaneObjects(kPanePrice);
        FreeLineObjectList(list);
        LineObject* object = AddLineObject(list, subtype, 0x0000FF);
        object->flags = kLineObjectSaved | 0x02; // the main line, no channel
        SetObjectSettingsMask(*object, kAllSettingsMask);
        for (int i = 0; i < 2; ++i) {
            StoreI32(object->point(i), day + (i ? 43200 : 36000));
            StoreF32(object->point(i) + 4, 250.0f);
        }
        object->setPointCount(2);
        const std::vector<DrawnLineObject> figures = chart.drawing.Figures();
        ASSERT_EQ(figures.size(), 1u);
        const StudyShapes& shapes = figures[0].shapes;
        if (subtype == 4) {
            ASSERT_EQ(shapes.segments.size(), 1u) << "the fitted line";
            EXPECT_EQ(shapes.segments[0].from.x, chart.chart.XOfPosition(day + 36000));
            EXPECT_EQ(shapes.segments[0].to.x, chart.chart.XOfPosition(day + 43200));
        } else {
            ASSERT_EQ(shapes.labels.size(), 1u);
            EXPECT_NE(shapes.labels[0].text.find('%'), std::string::npos);
        }
        FreeLineObjectList(list);
    }
}

TEST_F(IntradayChartWindow, RendersIntoThePreviewRectangle)
{
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        GraphSetting style = Setting();
        gs::SetU8(style, intraday::kPriceStyle, 4);
        chart.RenderGraphTo(painter, style, QRect(50, 50, 500, 300), 0, 4);
    }
    test::SaveRender(image, QStringLiteral("intraday-chart-design-preview"));
    EXPECT_EQ(image.pixel(10, 10) & 0xFFFFFF, 0u) << "nothing outside the rectangle";
    EXPECT_NE(image.pixel(300, 200) & 0xFFFFFF, 0u);
    EXPECT_EQ(gs::U8(Setting(), intraday::kPriceStyle), 1) << "the view's own style is untouched";
}

// A day of a few steps that the read-outs can be checked against: quotes 99/101 from 08:00 and
// 109/111 from 12:00, a trade of 2,500 at 100.5 at 10:00 and one of 265,200 at 110.25 at 13:53.20.
std::vector<IntradayTick> Steps()
{
    std::vector<IntradayTick> ticks;
    const auto stamp = [&ticks](uint32_t t) {
        IntradayTick tick;
        tick.type = kTickTime;
        tick.value1 = t;
        ticks.push_back(tick);
    };
    const auto quote = [&ticks](float offer, float bid) {
        IntradayTick tick;
        tick.type = kTickQuote;
        tick.SetF(offer, bid);
        ticks.push_back(tick);
    };
    const auto trade = [&ticks](float price, float volume) {
        IntradayTick tick;
        tick.type = kTickTrade;
        tick.tradeClass = 2;
        tick.SetF(price, volume);
        ticks.push_back(tick);
    };
    stamp(28800);
    quote(101, 99);
    stamp(36000);
    trade(100.5f, 2500);
    stamp(43200);
    quote(111, 109);
    stamp(50000);
    trade(110.25f, 265200);
    return ticks;
}

// A second share's quotes for an added graph: mids 41 at 05:33.20, 45 at 07:13.20 and 51 at 08:20.
std::vector<IntradayTick> AddedSteps()
{
    std::vector<IntradayTick> ticks;
    for (const auto& [t, mid] : {std::pair<uint32_t, float>{20000, 41}, {26000, 45}, {30000, 51}}) {
        IntradayTick stamp;
        stamp.type = kTickTime;
        stamp.value1 = t;
        ticks.push_back(stamp);
        IntradayTick quote;
        quote.type = kTickQuote;
        quote.SetF(mid + 1, mid - 1);
        ticks.push_back(quote);
    }
    return ticks;
}

class IntradayReadoutWindow : public IntradayChartWindow {
protected:
    IntradayReadoutWindow()
    {
        chart.chart.source.dayTicks = [](uint16_t share, PackedDate) { return share == 0x4002 ? AddedSteps() : Steps(); };
        gs::SetU8(Setting(), intraday::kDaysViewed, 0); // one day
        gs::SetU8(Setting(), intraday::kPriceStyle, 1);
        gs::SetU8(Setting(), intraday::kDayHours, 0);
    }
    const IntradayDaySet& Shown() { return chart.chart.sets().back(); }
    // A point of the price pane at a time of the shown day.
    std::pair<int32_t, int32_t> At(int32_t time)
    {
        const GraphPane* price = chart.FindPane(kPanePrice);
        return {chart.chart.XOfTime(Shown(), time), (price->top + price->bottom) / 2};
    }
};

TEST_F(IntradayReadoutWindow, LegendAndStatusAtTheCursorAndForTheLatestValues)
{
    Render("readouts");
    ASSERT_EQ(chart.chart.sets().size(), 1u);
    const auto [x, y] = At(40000);
    using Texts = std::array<std::string, kReadoutTexts>;
    const Texts cursor = chart.readouts.CursorTexts(x, y, true);
    // The time comes back from the pixel, to within a pixel's seconds.
    EXPECT_TRUE(std::regex_match(cursor[0], std::regex(R"(05/03/2026 11:0\d\.\d\d, Mid 100)"))) << cursor[0];
    EXPECT_EQ(cursor[1], "Mid (bid/offer) 100 (99 - 101)");
    EXPECT_EQ(cursor[2], "Bid/offer 99 - 101");
    EXPECT_EQ(cursor[3], "Mid 100");
    EXPECT_EQ(cursor[4], "Volume 2.5k at 100.5 ");
    EXPECT_TRUE(std::regex_match(cursor[5], std::regex(R"(Cursor \(05/03/2026 11:0\d\.\d\d\) \d+(\.\d+)?)"))) << cursor[5];
    const Texts latest = chart.readouts.LatestTexts();
    EXPECT_EQ(latest, (Texts{"Latest prices & trades 05/03/2026 13:53.20", "Mid (bid/offer) 110 (109 - 111)",
                             "Bid/offer 109 - 111", "Mid 110", "Volume 265k at 110.25 ",
                             "Cursor (05/03/2026 13:53.20) "}));
    const Texts off{"(Off graph)", "Mid (bid/offer) ", "Bid/offer ", "Mid price ", "Trade volume/price ", "Cursor (Off graph)"};
    EXPECT_EQ(chart.readouts.CursorTexts(x, y, false), off) << "the mouse outside the chart";
    EXPECT_EQ(chart.readouts.CursorTexts(-20, -20, true), off);

    // The status panes: the cursor's time and values, and the latest values off the graph.
    std::array<std::string, 3> status;
    chart.readouts.FillStatusTexts(status, x, y, true, nullptr);
    EXPECT_EQ(status[0].rfind("Cursor 05/03/2026 11:0", 0), 0u) << status[0];
    EXPECT_EQ(status[1], "Mid (bid/offer) 100 (99 - 101)");
    EXPECT_EQ(status[2], "Volume 2.5k at 100.5 ");
    chart.readouts.FillStatusTexts(status, x, y, false, nullptr);
    EXPECT_EQ(status[0], "Latest prices & trades 05/03/2026 13:53.20");
    EXPECT_EQ(status[1], "Mid (bid/offer) 110 (109 - 111)");
    EXPECT_EQ(status[2], "Volume 265k at 110.25    No trend line");

    // The legend lists the six latest texts while the mouse is away.
    chart.ShowLegendWindow();
    std::vector<std::string> lines;
    for (const LegendLine& line : GraphLegendWindow().model().lines())
        lines.push_back(line.text);
    GraphLegendWindow().Hide();
    for (const std::string& text : latest)
        EXPECT_NE(std::find(lines.begin(), lines.end(), text), lines.end()) << text;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "(Off graph)"), lines.end());
}

TEST_F(IntradayReadoutWindow, TitleCarriesTheLatestValuesAndTheAverageTrade)
{
    gs::SetU16(Setting(), intraday::kTitleOptions, kTitleLastMid | kTitleMidChange | kTitleBidOffer | kTitleAverageVolume);
    gs::SetU8(Setting(), intraday::kVolumeDisplay, 1);
    Render("title-values");
    std::vector<std::string> titles;
    for (TimeBand* band = chart.timeBands; band; band = band->next)
        for (GraphSeries* series = band->series; series; series = series->next)
            if (series->title[0])
                titles.push_back(series->title);
    // The day being traded has no daily record: its first trade (100.5) is the open the change is from.
    EXPECT_NE(std::find(titles.begin(), titles.end(), "Alpha Mining - 5 min. bars 110 +9.5^^109 / 111"), titles.end())
        << ::testing::PrintToString(titles);
    // (2,500 + 265,200) / 2 in whole numbers.
    EXPECT_NE(std::find(titles.begin(), titles.end(), "Volume, average trade 134k"), titles.end())
        << ::testing::PrintToString(titles);
    // Another share whose daily record of the day holds its open.
    DayRecord day{};
    day.date = kHeld[1];
    day.open = 112;
    chart.chart.ShowShare({0x4003, 0, "Beta Mining", {day}});
    gs::SetU16(Setting(), intraday::kTitleOptions, kTitleMidChange | kTitleChangeAsPercent);
    Render("title-values-percent");
    EXPECT_EQ(chart.readouts.TitleValues(), "-1.79%") << "from the daily record's open";
}

// The day's price range leaves out spikes by the style's de-spike strength.
TEST_F(IntradayReadoutWindow, DeSpikeStrengthCleansTheDaysPrices)
{
    chart.chart.source.dayTicks = [](uint16_t, PackedDate) {
        std::vector<IntradayTick> ticks;
        for (uint32_t i = 0; i < 5; ++i) {
            IntradayTick stamp;
            stamp.type = kTickTime;
            stamp.value1 = 36000 + 60 * i;
            ticks.push_back(stamp);
            IntradayTick quote;
            quote.type = kTickQuote;
            quote.SetF(i == 2 ? 104 : 101, 99); // one offer 3% out
            ticks.push_back(quote);
        }
        return ticks;
    };
    struct Case {
        uint8_t setting;
        float highest;
    };
    // Bit 0 on, bits 1-7 the strength: 0 is 2.5 times, 4 is 1.01 times.
    for (const Case& c : {Case{0, 104}, Case{1, 104}, Case{1 | 4 << 1, 101}, Case{1 | 3 << 1, 101}}) {
        gs::SetU8(Setting(), intraday::kDeSpike, c.setting);
        Render("de-spike");
        EXPECT_FLOAT_EQ(Shown().range.maximum, c.highest) << int(c.setting);
        EXPECT_FLOAT_EQ(Shown().range.minimum, 99) << int(c.setting);
    }
}

TEST_F(IntradayReadoutWindow, AddedGraphValuesAtTheCursor)
{
    WriteAddedGraph(Setting(), 0, {0, 0xC00000, 0x4002});
    Render("added-graph-values");
    ASSERT_EQ(chart.chart.addedEntries()[0][0], 0x4002u);
    struct Case {
        uint8_t hours;
        int32_t time;
        const char* value; // "" none
    };
    // The graph's own day starts at its exchange's midnight, or with market hours at its opening
    // (08:00): a time before it reads the graph there. Past the graph's data its last value stands.
    const Case cases[] = {{0, 25000, "41"}, {1, 25000, "45"}, {0, 35000, "51"}, {0, 80000, "51"}, {0, 10000, ""}};
    for (const Case& c : cases) {
        gs::SetU8(Setting(), intraday::kDayHours, c.hours);
        const auto value = chart.readouts.AddedGraphValue(0, Shown(), c.time);
        EXPECT_EQ(value ? IntradayValueText(*value) : std::string(), c.value) << int(c.hours) << " " << c.time;
    }
    gs::SetU8(Setting(), intraday::kDayHours, 0);
    const auto [x, y] = At(40000);
    const std::vector<LegendIndicatorLine> lines = chart.readouts.AddedGraphLines(x, y, true);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].pen, 0xC00000u);
    EXPECT_EQ(lines[0].latest, "51");
    EXPECT_EQ(lines[0].cursor, "51");
}

// An indicator window's level lines: the pane's fixed grid lines.
std::vector<float> PaneLevels(const GraphPane* pane)
{
    std::vector<float> levels;
    for (const GridLine* line = pane ? pane->gridLines : nullptr; line; line = line->next)
        if (line->flags & kGridFixedLevel)
            levels.push_back(line->value);
    std::sort(levels.begin(), levels.end());
    return levels;
}

TEST_F(IntradayChartWindow, IndicatorWindowsOverThePeriodBars)
{
    gs::SetU8(Setting(), intraday::kDaysViewed, 0);
    gs::SetU32(Setting(), intraday::kBarPeriodIndex, 0);
    struct Case {
        const char* name;
        IndicatorRecord record;
        std::vector<float> levels;
        size_t outputs;
    };
    IndicatorRecord rsi = IndicatorRecord::Of(IndicatorType::RSI, 0, 14);
    rsi.pens = {0x0000C0, 0, 0, 0};
    IndicatorRecord rsiFifty = rsi;
    rsiFifty.flags = 4;
    IndicatorRecord macd = IndicatorRecord::Of(IndicatorType::MACD, 1, 12, 26, 9); // the line and its signal
    macd.pens = {0x0000C0, 0xC00000, 0x00C000, 0x008000};
    IndicatorRecord macdBars = macd;
    macdBars.flags = 3; // and the histogram, rising and falling bars apart
    IndicatorRecord stochastic = IndicatorRecord::Of(IndicatorType::Stochastic, 0, 14, 3, 3);
    stochastic.pens = {0x0000C0, 0xC00000, 0, 0};
    const Case cases[] = {{"rsi", rsi, {30, 50, 70}, 1},
                          {"rsi-option-bit-2", rsiFifty, {50}, 1},
                          {"macd", macd, {0}, 2},
                          {"macd-histogram", macdBars, {0}, 4},
                          {"stochastic", stochastic, {25, 75}, 2}};
    for (const Case& c : cases) {
        IndicatorRecord placed = c.record;
        placed.heightWeight = kNewWindowWeight;
        placed.Write(gs::IndicatorSlot(Setting(), 0, 0));
        const QImage image = Render((std::string("indicator-") + c.name).c_str());
        const GraphPane* pane = chart.FindPane(kPaneFirstAddOn);
        ASSERT_NE(pane, nullptr) << c.name;
        ASSERT_TRUE(pane->visible) << c.name;
        EXPECT_EQ(PaneLevels(pane), c.levels) << c.name;
        const GraphSeries* series = pane->firstSeries;
        ASSERT_NE(series, nullptr) << c.name;
        EXPECT_STREQ(series->title, GetIndicatorName(c.record).c_str());
        size_t outputs = 0;
        for (const PlotElement* e = series->elements; e; e = e->next)
            outputs += e->values.count > 400 && e->values.type == kArrayFloats; // a minute bar each
        EXPECT_EQ(outputs, c.outputs) << c.name;
        // The first output's pen draws inside the window.
        const QImage window = image.copy(pane->left, pane->top, pane->right - pane->left, pane->bottom - pane->top);
        EXPECT_GT(Count(window, qRgb(0xC0, 0, 0)), 200) << c.name;
        // The read-out over the window names the indicator's values.
        const int32_t x = (pane->left + pane->right) / 2, y = (pane->top + pane->bottom) / 2;
        const std::string text = chart.readouts.CursorTexts(x, y, true)[0];
        EXPECT_TRUE(std::regex_search(text, std::regex(c.outputs > 1 ? R"(, Value -?[\d.]+ -?[\d.]+$)" : R"(, Value [\d.]+$)")))
            << text;
    }
}

// A market graph reads the market table's buckets of its source over today, or says the list is being
// built while the table has none.
TEST_F(IntradayChartWindow, BreadthWindowOverTheMarketTable)
{
    gs::SetU8(Setting(), intraday::kDaysViewed, 0);
    gs::SetU8(Setting(), intraday::kDataFlow, 0); // the analytics over all of the day
    IndicatorRecord line = IndicatorRecord::Of(19, 0, 0, 0, 5); // advance-decline line of list class 5
    line.heightWeight = kNewWindowWeight;
    line.Write(gs::IndicatorSlot(Setting(), 0, 0));
    Render("breadth-building");
    const GraphPane* pane = chart.FindPane(kPaneFirstAddOn);
    ASSERT_NE(pane, nullptr);
    ASSERT_NE(pane->firstSeries, nullptr);
    EXPECT_STREQ(pane->firstSeries->title, "building list...");

    // The window made the entry for its source, which the feed's ticks fill, and watches it.
    CRTMarketTable& table = TheRTMarketTable();
    CRTMarketTable::Entry* entry = table.FindSourceEntry(5);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->watchers, std::vector<uint64_t>{chart.targetId()});
    entry->source.name = "Mining";
    for (MarketBucket& bucket : entry->Day())
        bucket = {30, 10, 0, 0, 0, 0};
    entry->loaded = true;
    Render("breadth-advance-decline");
    pane = chart.FindPane(kPaneFirstAddOn);
    ASSERT_NE(pane->firstSeries, nullptr);
    EXPECT_STREQ(pane->firstSeries->title, "Mining");
    // The line runs on from midnight, five minutes a bucket; the buckets inside the band are drawn.
    const IntradayDaySet& day = chart.chart.sets().back();
    const int32_t first = (day.span.visibleStart + 299) / 300, last = day.span.visibleEnd / 300;
    const DataArray& values = pane->firstSeries->firstElement->values;
    ASSERT_EQ(values.count, last - first + 1);
    const auto* v = static_cast<const float*>(values.data);
    EXPECT_FLOAT_EQ(v[0], 20.0f * float(first + 1)) << "20 more advancing shares each bucket";
    EXPECT_FLOAT_EQ(v[values.count - 1], 20.0f * float(last + 1));

    // A day of the feed's ticks for 40 shares of the source, each swinging about its close on a
    // two-hour wave of its own phase, so that the market turns up and down through the day.
    table.NewDay(0);
    entry->loaded = false;
    entry->source.shares.resize(40);
    std::iota(entry->source.shares.begin(), entry->source.shares.end(), 1u);
    for (uint32_t t = 8 * 3600; t <= 16 * 3600 + 1800; t += 120)
        for (uint32_t share = 1; share <= 40; ++share) {
            const float mid = 100.0f + 5.0f * std::sin(float(t) / 7200.0f * 6.28318f + float(share % 8) * 0.3f) + 0.01f;
            table.FeedTick(uint16_t(share), t, 0, mid - 0.25f, mid + 0.25f, 100, 1000, 0, t * 1000);
        }
    for (const int bucket : {100, 144, 190})
        EXPECT_EQ(entry->Day()[size_t(bucket)].advancing + entry->Day()[size_t(bucket)].declining, 40)
            << "every share counts in bucket " << bucket << ", ticked in it or not";
    EXPECT_GT(entry->Day()[100].newHighs + entry->Day()[100].newLows, 0);
    Render("breadth-from-ticks");
    pane = chart.FindPane(kPaneFirstAddOn);
    EXPECT_STREQ(pane->firstSeries->title, "Mining");
    const DataArray& adLine = pane->firstSeries->firstElement->values;
    const auto* ad = static_cast<const float*>(adLine.data);
    ASSERT_GT(adLine.count, 100);
    // The cumulative line climbs while most shares stand above their close and falls back after.
    const float* high = std::max_element(ad, ad + adLine.count);
    EXPECT_GT(*high - ad[0], 150);
    EXPECT_LT(*std::min_element(high, ad + adLine.count), *high - 150);
    table.DeleteEntry(chart.chart.ShownShareKey().first, 5);
}

// The setting's regression studies: a range a day, or one across the days when the data flows; over
// the day's bars, the analytic selection's or the last N bars.
TEST(IntradayIndicators, RegressionRangesByDayOrAcrossTheDays)
{
    std::array<IntradayDaySet, 2> days;
    for (size_t d = 0; d < days.size(); ++d) {
        days[d].day = kHeld[d];
        days[d].bars.start = 36000; // 10:00, a bar a minute
        days[d].bars.period = 60;
        days[d].bars.bars.assign(5, Bar{100, 100, 100, 100, 10});
    }
    const std::vector<const IntradayDaySet*> sets = {&days[0], &days[1]};
    const auto at = [&](size_t d, int32_t bar) { return int32_t(DateToCalendarIndex(days[d].day)) + 36000 + bar * 60; };
    struct Case {
        const char* name;
        uint32_t mode, periods;
        uint8_t flow; // bit 0 flowing, bits 1-7 the selection
        int32_t from, to;
        std::vector<std::pair<int32_t, int32_t>> ranges;
    };
    const Case cases[] = {
        {"each day's bars", 0, 0, 0, 0, 0, {{at(0, 0), at(0, 4)}, {at(1, 0), at(1, 4)}}},
        {"across the days", 0, 0, 1, 0, 0, {{at(0, 0), at(1, 4)}}},
        {"last 3 bars a day", 2, 3, 0, 0, 0, {{at(0, 2), at(0, 4)}, {at(1, 2), at(1, 4)}}},
        {"last 7 bars across", 2, 7, 1, 0, 0, {{at(0, 3), at(1, 4)}}},
        {"N below 2 is 2", 2, 1, 0, 0, 0, {{at(0, 3), at(0, 4)}, {at(1, 3), at(1, 4)}}},
        {"analytic 10:01-10:03", 1, 0, 2 << 1, 36060, 36180, {{at(0, 1), at(0, 3)}, {at(1, 1), at(1, 3)}}},
        {"analytic outside the bars", 1, 0, 2 << 1, 50000, 51000, {}},
    };
    for (const Case& c : cases) {
        GraphSetting setting{};
        gs::SetU32(setting, gs::kTrendRange, c.mode);
        gs::SetU32(setting, gs::kTrendPeriods, c.periods);
        gs::SetU8(setting, intraday::kDataFlow, c.flow);
        gs::SetU32(setting, intraday::kAnalyticFrom, uint32_t(c.from));
        gs::SetU32(setting, intraday::kAnalyticTo, uint32_t(c.to));
        EXPECT_EQ(IntradayRegressionRanges(setting, sets), c.ranges) << c.name;
    }
}

// "Display trends" on the intraday chart: a regression study with its channel on each shown day.
TEST_F(IntradayChartWindow, RegressionStudiesOnTheShownDays)
{
    gs::SetU32(Setting(), gs::kTrendShown, 1);
    gs::SetU32(Setting(), gs::kConfidenceShown, 1);
    gs::SetU32(Setting(), gs::kTrendRange, 0);
    gs::SetU8(Setting(), intraday::kDaysViewed, 1);
    gs::SetU8(Setting(), intraday::kDataFlow, 0);
    Render("regression");
    const std::vector<DrawnLineObject> figures = chart.drawing.Figures();
    ASSERT_EQ(figures.size(), 2u) << "one a day";
    for (const DrawnLineObject& f : figures)
        EXPECT_FALSE(f.shapes.segments.empty());
    gs::SetU8(Setting(), intraday::kDataFlow, 1);
    Render("regression-flowing");
    EXPECT_EQ(chart.drawing.Figures().size(), 1u) << "one across the days";
}

TEST(IntradayIndicators, RestartEachDayUnlessTheDataFlows)
{
    // Two days of the same rising bars: a 3-bar momentum starts alike on each day, or runs on.
    std::array<IntradayDaySet, 2> days;
    for (size_t d = 0; d < days.size(); ++d) {
        days[d].bars.start = 36000;
        days[d].bars.period = 60;
        for (int i = 0; i < 5; ++i) {
            const float close = float(100 + i);
            days[d].bars.bars.push_back({close, close, close, close, 100});
        }
    }
    const std::vector<const IntradayDaySet*> sets = {&days[0], &days[1]};
    const IndicatorRecord momentum = IndicatorRecord::Of(IndicatorType::Momentum, 0, 3);
    const auto restarted = ComputeIntradayIndicator(momentum, sets, false, 0, 0, 0);
    const auto flowing = ComputeIntradayIndicator(momentum, sets, true, 0, 0, 0);
    ASSERT_EQ(restarted.size(), 2u);
    ASSERT_EQ(restarted[1].outputs.size(), 1u);
    EXPECT_EQ(restarted[1].outputs[0], restarted[0].outputs[0]) << "each day starts again alike";
    EXPECT_NE(flowing[1].outputs[0].front(), restarted[1].outputs[0].front()) << "the first day's bars lead in";
    // The analytic selection of the user's times: 10:01 to 10:03 is bars 1-3.
    const auto selected = ComputeIntradayIndicator(momentum, sets, false, 2, 36060, 36180);
    EXPECT_EQ(selected[0].first, 1);
    EXPECT_EQ(selected[0].last, 3);
    EXPECT_EQ(selected[0].outputs[0].size(), 3u);
}

TEST(IntradayIndicators, EveryOutputOfADayIsTheCalculatorsBarByBar)
{
    // A three-line indicator over a day of uneven bars: each line holds its own output of each bar.
    IntradayDaySet day;
    day.bars.start = 36000;
    day.bars.period = 60;
    for (int i = 0; i < 40; ++i) {
        const float close = float(100 + (i * 37) % 11);
        day.bars.bars.push_back({close, close + 1, close - 1, close, float(100 + i)});
    }
    const IndicatorRecord macd = IndicatorRecord::Of(IndicatorType::MACD, 0, 3, 6, 2);
    const auto computed = ComputeIntradayIndicator(macd, {&day}, false, 0, 0, 0);
    ASSERT_EQ(computed.size(), 1u);
    const auto byBar = CreateIndicatorCalc(macd, day.bars.bars[size_t(computed[0].first)]);
    ASSERT_EQ(computed[0].outputs.size(), size_t(byBar->OutputCount()));
    for (int32_t i = computed[0].first; i <= computed[0].last; ++i) {
        const float* values = byBar->AddValue(day.bars.bars[size_t(i)]);
        for (size_t j = 0; j < computed[0].outputs.size(); ++j)
            ASSERT_EQ(computed[0].outputs[j][size_t(i - computed[0].first)], values[j]) << "bar " << i << " line " << j;
    }
}

class IntradayLineAlarm : public IntradayReadoutWindow {
protected:
    IntradayLineAlarm() : savedBox_(SuppressibleInfo()), savedNotes_(IntradayNotesOff())
    {
        SetIntradayNotesOff(0);
        SuppressibleInfo() = [this](const std::string& text) {
            notes.push_back(text);
            return tickSuppress;
        };
        chart.lineAlarm.today = [] { return kHeld[1]; };
        chart.lineAlarm.side = [this](const ShareRef& share, int64_t, double, int64_t, double) {
            ++sideAsked;
            EXPECT_EQ(share.share, 0x4001);
            return side;
        };
    }
    ~IntradayLineAlarm() override
    {
        SuppressibleInfo() = savedBox_;
        SetIntradayNotesOff(savedNotes_);
        LinesAndTextStore().FreeItems();
    }
    // A trend line from 100 at t1 to 110 at t2 (seconds of the shown day, or of a day before it) is
    // stored for the price pane, drawn, and selected from the keyboard.
    void DrawLine(int32_t t1, int32_t t2, PackedDate firstDay = kHeld[1])
    {
        Render("line-alarm");
        LineObjectList list;
        LineObject* line = AddLineObject(list, 0, 0x0000FF);
        StoreU16(line->stored.data() + 4, 0xFFFF); // shown in every setting
        StoreI32(line->point(0), int32_t(DateToCalendarIndex(firstDay)) + t1);
        StoreF32(line->point(0) + 4, 100);
        StoreI32(line->point(1), int32_t(DateToCalendarIndex(kHeld[1])) + t2);
        StoreF32(line->point(1) + 4, 110);
        const GraphPane* price = chart.FindPane(kPanePrice);
        LineObjectsSize(list, ShareItemKey(0x4001, 0), 1, price->firstSeries->studyKey);
        FreeLineObjectList(list);
        Render("line-alarm");
        chart.onProgramMessage(WM_COMMAND, 26143, 0); // the next line
    }
    CommandUi Menu()
    {
        CommandUi ui;
        ui.command = kCmdLineAlarm;
        EXPECT_TRUE(chart.UpdateCommandUi(ui));
        return ui;
    }
    uint16_t StoredAlarm()
    {
        LineObjectList list;
        const GraphPane* price = chart.FindPane(kPanePrice);
        LoadLineObjectsFor(list, ShareItemKey(0x4001, 0), 1, price->firstSeries->studyKey);
        const uint16_t word = list.head ? list.head->alarm() : 0xFFFF;
        FreeLineObjectList(list);
        return word;
    }

    std::vector<std::string> notes;
    bool tickSuppress = false;
    int side = 3;
    int sideAsked = 0;

private:
    SuppressibleInfoBox savedBox_;
    uint8_t savedNotes_;
};

TEST_F(IntradayLineAlarm, SetOnASelectedLineAndRemovedWithoutAPrice)
{
    Render("line-alarm");
    EXPECT_FALSE(Menu().enabled) << "no line selected";
    DrawLine(36000, 43200);
    ASSERT_NE(chart.drawing.selected(), nullptr);
    // The selected line's rate stands after the volume: 100 to 110 over two hours.
    std::array<std::string, 3> status;
    chart.readouts.FillStatusTexts(status, -1, -1, false, chart.drawing.selected());
    EXPECT_EQ(status[2], "Volume 265k at 110.25    Trend +5.00/hr");
    CommandUi ui = Menu();
    EXPECT_TRUE(ui.enabled);
    EXPECT_FALSE(ui.checked.value_or(true));
    EXPECT_FALSE(ui.text.has_value());
    chart.onProgramMessage(WM_COMMAND, kCmdLineAlarm, 0);
    EXPECT_EQ(StoredAlarm(), 3) << "the price stood at or above the line";
    EXPECT_TRUE(notes.empty()) << "both ends lie on today";
    auto bells = [this] {
        std::vector<DrawnLineObject::AlarmBell> out;
        for (const DrawnLineObject& figure : chart.drawing.Figures())
            if (figure.bell)
                out.push_back(*figure.bell);
        return out;
    };
    {
        // The line carries its bell at its midpoint, outlined in the line's colour, not ringing.
        const std::vector<DrawnLineObject::AlarmBell> shown = bells();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].outline, 0x0000FFu);
        EXPECT_FALSE(shown[0].ringing);
        const DrawnLineObject line = chart.drawing.Figures().back();
        EXPECT_EQ(shown[0].at.x, (line.from.x + line.to.x) / 2);
    }

    chart.onProgramMessage(WM_COMMAND, 26143, 0);
    ui = Menu();
    EXPECT_TRUE(ui.checked.value_or(false));
    EXPECT_EQ(ui.text.value_or(""), "Remove alarm from line");
    side = 0;
    sideAsked = 0;
    chart.onProgramMessage(WM_COMMAND, kCmdLineAlarm, 0);
    EXPECT_EQ(StoredAlarm(), 0);
    EXPECT_EQ(sideAsked, 0) << "removing needs no price";
    EXPECT_TRUE(bells().empty()) << "no alarm, no bell";

    // Without a latest price nothing is set, and no note comes.
    chart.onProgramMessage(WM_COMMAND, 26143, 0);
    chart.onProgramMessage(WM_COMMAND, kCmdLineAlarm, 0);
    EXPECT_EQ(StoredAlarm(), 0);
    EXPECT_EQ(sideAsked, 1);
    EXPECT_TRUE(notes.empty());
}

TEST_F(IntradayLineAlarm, ANoteForALineNotOnTodayUntilItIsTurnedOff)
{
    side = 1;
    DrawLine(36000, 43200, kHeld[0]);
    chart.onProgramMessage(WM_COMMAND, kCmdLineAlarm, 0);
    EXPECT_EQ(StoredAlarm(), 1);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], kLineAlarmNote);
    tickSuppress = true;
    for (int i = 0; i < 2; ++i) {
        chart.onProgramMessage(WM_COMMAND, 26143, 0);
        chart.onProgramMessage(WM_COMMAND, kCmdLineAlarm, 0); // off
        chart.onProgramMessage(WM_COMMAND, 26143, 0);
        chart.onProgramMessage(WM_COMMAND, kCmdLineAlarm, 0); // on again
    }
    EXPECT_EQ(notes.size(), 2u) << "ticked once, never again";
    EXPECT_TRUE(IntradayNotesOff() & kNoteLineAlarms);
}

} // namespace
} // namespace qv
