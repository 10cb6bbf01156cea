// The intraday chart window drawn over made-up days: each price style, trades by class, bid and offer
// shading, and the design dialog's preview through RenderGraphTo; every picture goes to
// build/renders (intraday-chart-*.png) for a person to look at.
#include "realtime/ui/ViewGraphRTWindow.h"

#include "chartmodel/ChartCalendar.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/StopLossSettings.h"
#include "charts/DrawingObjectHits.h"
#include "platform/ByteOrder.h"
#include "chartmodel/AddedGraphEntries.h"
#include "core/ConfigState.h"
#include "core/TimeZones.h"
#include "support/ui/Render.h"
#include "views/ViewKinds.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

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

} // namespace
} // namespace qv
