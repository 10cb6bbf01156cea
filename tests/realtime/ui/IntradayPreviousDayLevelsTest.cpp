// The previous day's high, low and close levels over two days held in the intraday store, ticked and
// coloured through the design dialog's controls: each band shows its own previous day's three lines,
// at rows in the order of their prices.
#include "realtime/ui/ViewGraphRTWindow.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/IntradayDesign.h"
#include "core/ConfigState.h"
#include "realtime/store/RTTickCoding.h"
#include "tests/realtime/store/RTStoreFixture.h"
#include "tests/support/ui/Render.h"
#include "views/ViewKinds.h"

#include <optional>

namespace qv {
namespace {

namespace gs = graphsetting;
using test::kFri4;
using test::kMon7;
using test::kTue8;

constexpr uint16_t kShare = 0x4001;
constexpr QRgb kHigh = qRgb(0, 0xC0, 0), kLow = qRgb(0xC0, 0, 0xC0), kClose = qRgb(0, 0x80, 0xFF);

class IntradayPreviousDayLevels : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        saved_ = Config().intradayGraphs.records[0];
        TheRTStore().days = {kMon7, kTue8};
        WriteQuotes(kMon7, 100);
        WriteQuotes(kTue8, 102);
    }
    void TearDown() override
    {
        Config().intradayGraphs.records[0] = saved_;
        test::RTStoreTest::TearDown();
    }
    // A quote a minute through the market hours, wandering two pence either side of a price.
    static void WriteQuotes(PackedDate date, float price)
    {
        RTDayRecord* day = GetRTDay(date, true);
        int32_t slot = -1;
        RTDayShareEntry& e = *GetRTDayShare(MakeRTKey(0, kShare), *day, slot, true);
        RTTickWriter w(e);
        for (uint32_t t = 28800, i = 0; t <= 59400; t += 60, ++i) {
            w.Time(t);
            const float mid = price + float(i % 9) * 0.5f - 2;
            w.PriceItem(0, mid + 0.25f, 0, mid - 0.25f, std::nullopt);
        }
    }
    // The first row of the band [left, right) with a long run of the colour.
    static std::optional<int> RowOf(const QImage& image, QRgb colour, int left, int right)
    {
        for (int y = 0; y < image.height(); ++y) {
            int n = 0;
            for (int x = left; x < right; ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
            if (n > (right - left) / 2)
                return y;
        }
        return std::nullopt;
    }

    // Ticks High, Low and Close in the pens above, with neither trades nor a price line.
    static void TickTheLevels(GraphSetting& s)
    {
        InitGraphSetting(s, true);
        gs::SetU16(s, gs::kDisplayFlags, 0);
        gs::SetU16(s, intraday::kTradesDisplay, 0);
        gs::SetU8(s, intraday::kPriceStyle, 0);
        gs::SetU8(s, intraday::kDaysViewed, 1);
        gs::SetU8(s, intraday::kDataFlow, 0);
        using namespace intradaydesign;
        for (int box : {4100, 4099, 3309})
            SetControlValue(s, *FindControl(box), 1);
        for (auto [button, colour] : kPens)
            SetControlValue(s, *FindControl(button), int64_t(qRed(colour) | qGreen(colour) << 8 | qBlue(colour) << 16));
    }
    // Friday's prices give Monday's levels; Monday's own day gives Tuesday's.
    static std::vector<DayRecord> FridayAndMonday()
    {
        DayRecord friday{}, monday{};
        friday.date = kFri4;
        friday.open = 99, friday.high = 106, friday.low = 94, friday.close = 98;
        monday.date = kMon7;
        monday.open = 98, monday.high = 104, monday.low = 96, monday.close = 101;
        return {friday, monday};
    }

    // The dialog's pens: RGB in the low bytes, red lowest.
    static constexpr std::pair<int, QRgb> kPens[] = {{4102, kHigh}, {4101, kLow}, {3324, kClose}};
    GraphSetting saved_;
};

TEST_F(IntradayPreviousDayLevels, EachDayShowsItsPreviousDaysHighCloseAndLowInTheDialogsPens)
{
    TickTheLevels(Config().intradayGraphs.records[0]);
    CViewGraphRTWnd chart(kViewIntradayChart);
    chart.chart.ShowShare({kShare, 0, "Alpha Mining", FridayAndMonday()});
    chart.chart.source.beep = [] {};
    chart.chart.dataChanged = true;
    const QImage image = chart.RenderToImage(1000, 600);
    test::SaveRender(image, "intraday-previous-day-levels");
    ASSERT_EQ(chart.chart.sets().size(), 2u);
    ASSERT_TRUE(chart.chart.sets()[0].previousKnown && chart.chart.sets()[1].previousKnown);

    const int left = chart.chart.sets()[0].left, middle = chart.chart.sets()[1].left, right = chart.chart.sets()[1].right;
    std::array<std::optional<int>, 3> first, second;
    for (size_t k = 0; k < 3; ++k) {
        first[k] = RowOf(image, kPens[k].second, left, middle - 2);
        second[k] = RowOf(image, kPens[k].second, middle, right);
        ASSERT_TRUE(first[k] && second[k]) << "level " << k;
    }
    // High above close above low on each day.
    EXPECT_LT(*first[0], *first[2]);
    EXPECT_LT(*first[2], *first[1]);
    EXPECT_LT(*second[0], *second[2]);
    EXPECT_LT(*second[2], *second[1]);
    // Monday's high (104) lies below Friday's (106), its low (96) above Friday's (94).
    EXPECT_GT(*second[0], *first[0]);
    EXPECT_LT(*second[1], *first[1]);
    // The rows keep the prices' proportions: Friday's close (98) is a third of the way up from 94 to 106.
    const double share = double(*first[1] - *first[2]) / double(*first[1] - *first[0]);
    EXPECT_NEAR(share, 4.0 / 12.0, 0.05);
}

// Friday's high (106) and low (94) are the ends of the price range: their lines lie a margin inside
// the price pane, the high one below the pane's title, not on the pane's top and bottom rows.
TEST_F(IntradayPreviousDayLevels, TheRangesEndsLieInsideThePlotBelowTheTitle)
{
    TickTheLevels(Config().intradayGraphs.records[0]);
    CViewGraphRTWnd chart(kViewIntradayChart);
    chart.chart.ShowShare({kShare, 0, "Alpha Mining", FridayAndMonday()});
    chart.chart.source.beep = [] {};
    chart.chart.dataChanged = true;
    for (const auto& [width, height] : {std::pair{1000, 600}, std::pair{400, 160}}) {
        const QImage image = chart.RenderToImage(width, height);
        ASSERT_EQ(chart.chart.sets().size(), 2u);
        const GraphPane* price = chart.FindPane(kPanePrice);
        ASSERT_NE(price, nullptr);
        const int left = chart.chart.sets()[0].left, middle = chart.chart.sets()[1].left;
        const std::optional<int> high = RowOf(image, kHigh, left, middle - 2), low = RowOf(image, kLow, left, middle - 2);
        ASSERT_TRUE(high && low) << width;
        const int titleBottom = price->top + chart.paneMargin + 1 + chart.textHeight;
        EXPECT_GT(*high, titleBottom) << "the high line clears the title, pane " << price->top << "-" << price->bottom;
        EXPECT_LT(*low, price->bottom - 2) << "the low line stands above the pane's bottom edge";
        EXPECT_GT(*low - *high, (price->bottom - price->top) / 2) << "the prices keep half the pane at least";
    }
}

} // namespace
} // namespace qv
