// The intraday chart's read-outs as tables: trend rates on both scales, the title's joins, the
// average trade volume, the de-spike table and tick cleaning, and line alarm sides from a store day.
#include "chartmodel/IntradayReadouts.h"

#include "core/StringPrintf.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTDaySummary.h"
#include "tests/realtime/store/RTStoreFixture.h"

#include <cmath>
#include <gtest/gtest.h>

#include <cmath>


namespace qv {
namespace {

TEST(IntradayReadouts, TrendRates)
{
    struct Case {
        int64_t t1;
        double v1;
        int64_t t2;
        double v2;
        bool log;
        const char* text;
    };
    const Case cases[] = {
        {36000, 100, 43200, 110, false, "+5.00/hr"},
        {36000, 100, 43200, 110, true, "+4.88%/hr"},
        {43200, 110, 36000, 100, false, "+5.00/hr"}, // drawn right to left: the same line
        {36000, 110, 39600, 100, false, "-10.00/hr"},
        {36000, 100, 36001, 120, false, ""},         // 1 s apart: no rate
        {36000, 100, 36000, 120, true, ""},
        {36000, 0, 43200, 110, true, ""},             // a log rate from 0 has no meaning
        {36000, 100, 43200, -5, true, ""},
        {36000, 0, 43200, 110, false, "+55.00/hr"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTrendRate(c.t1, c.v1, c.t2, c.v2, c.log), c.text) << c.t1 << " " << c.v1 << " " << c.v2 << " " << c.log;
}

TEST(IntradayReadouts, LegendTextsAtTheCursorLatestAndOffTheGraph)
{
    IntradayReadoutValues v;
    v.time = FormatReadoutTime(PackDate(7, 12, 2026), 37805);
    EXPECT_EQ(v.time, "07/12/2026 10:30.05");
    v.pane = "Mid 102.5";
    v.mid = "102.5";
    v.bid = "102";
    v.offer = "103";
    v.volume = "1.5k";
    v.price = "102.75";
    v.cursor = "102.5";
    using Texts = std::array<std::string, kReadoutTexts>;
    EXPECT_EQ(IntradayReadoutTexts(v), (Texts{"07/12/2026 10:30.05, Mid 102.5", "Mid (bid/offer) 102.5 (102 - 103)",
                                               "Bid/offer 102 - 103", "Mid 102.5", "Volume 1.5k at 102.75 ",
                                               "Cursor (07/12/2026 10:30.05) 102.5"}));
    v.signal = "1.2k";
    EXPECT_EQ(IntradayReadoutTexts(v)[4], "Volume (sig) 1.5k at 102.75 1.2k");
    v.volume.clear();
    v.latest = true;
    const Texts latest = IntradayReadoutTexts(v);
    EXPECT_EQ(latest[0], "Latest prices & trades 07/12/2026 10:30.05");
    EXPECT_EQ(latest[4], "No volume");
    v.offGraph = true;
    EXPECT_EQ(IntradayReadoutTexts(v), (Texts{"(Off graph)", "Mid (bid/offer) ", "Bid/offer ", "Mid price ",
                                               "Trade volume/price ", "Cursor (Off graph)"}));
}

TEST(IntradayReadouts, DrawingObjectTexts)
{
    const PackedDate day = PackDate(4, 12, 2026);
    EXPECT_EQ(FormatAnchorTime(day, 36000, false), "Anchor time 04/12/2026 10:00.00");
    EXPECT_EQ(FormatAnchorTime(day, 36000, true), "Anchor time 10:00.00");
    EXPECT_EQ(FormatPointValue("Trend", "10:00.00", 102.5), "Trend 10:00.00 - 102.500");
    EXPECT_EQ(FormatPointValue("Trend", "", 102.5), "Trend value 102.500");
    EXPECT_EQ(FormatTimeRange(day, 29000, PackDate(7, 12, 2026), 59399),
              (std::array<std::string, 2>{"From 04/12/2026 08:03.20", "to 07/12/2026 16:29.59"}));
}

TEST(IntradayReadouts, TitleValuesJoinedByABlankAndTheBidOfferOnItsOwnLine)
{
    const auto price = [](float v) { return StringPrintf("%.2f", double(v)); };
    IntradayLatestValues latest;
    latest.mid = 102.5f;
    latest.bid = 102;
    latest.offer = 103;
    latest.reference = 100;
    struct Case {
        uint16_t options;
        const char* text;
    };
    const Case cases[] = {
        {kTitleLastMid, "102.50"},
        {kTitleLastMid | kTitleMidChange, "102.50 +2.50"},
        {kTitleMidChange | kTitleChangeAsPercent, "+2.50%"},
        {kTitleLastMid | kTitleMidChange | kTitleBidOffer, "102.50 +2.50^^102.00 / 103.00"},
        {kTitleBidOffer, "102.00 / 103.00"},
        {0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildTitleValues(c.options, latest, price), c.text) << c.options;
    latest.reference = 102.5f;
    EXPECT_EQ(BuildTitleValues(kTitleMidChange, latest, price), "=0.0");
    latest.reference = 105;
    EXPECT_EQ(BuildTitleValues(kTitleMidChange, latest, price), "-2.50");
    latest.reference = -1;
    latest.bid = -1;
    EXPECT_EQ(BuildTitleValues(kTitleLastMid | kTitleMidChange | kTitleBidOffer, latest, price), "102.50")
        << "no reference, no change; no bid, no bid/offer";
}

TEST(IntradayReadouts, AverageTradeVolumeByWholeNumbers)
{
    struct Case {
        std::vector<float> volumes;
        int64_t average;
    };
    const Case cases[] = {
        {{100.9f, 200.9f}, 150},      // 100 + 200
        {{1, 2}, 1},                  // 3 / 2 in whole numbers
        {{0, -5, 7.5f}, 7},           // only positive volumes count
        {{}, -1},
        {{0, -1}, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AverageTradeVolume(c.volumes), c.average);
}

TEST(IntradayReadouts, LineSides)
{
    struct Case {
        double price;
        int64_t time;
        int64_t t1;
        double v1;
        int64_t t2;
        double v2;
        int side;
    };
    const Case cases[] = {
        {101, 37800, 36000, 100, 43200, 110, 1},          // the line stands at 102.5 at 10:30
        {102.5, 37800, 36000, 100, 43200, 110, 3},        // at it
        {110, 37800, 36000, 100, 43200, 110, 3},
        {110, 37800, 36000, 100, 86400 + 43200, 110, 3},  // an end a day later: placed by its time of day
        {109, 37800, 36000, 100, 86400 + 43200, 110, 1},  // ... sloped over the whole span (109.42 then)
        {104, 37800, 36000, 100, 36000, 110, 1},          // two ends at one time: no slope, no division
        {std::nan(""), 37800, 36000, 100, 43200, 110, 1}, // values that do not compare
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineSideOfPrice(c.price, c.time, c.t1, c.v1, c.t2, c.v2), c.side) << c.price;
}

TEST(IntradayReadouts, DeSpikeTableAndCleanTicks)
{
    struct Case {
        uint8_t setting;
        float factor;
    };
    const Case cases[] = {{0, -1}, {0 | 4 << 1, -1}, {1, 2.5f}, {1 | 1 << 1, 1.1f}, {1 | 2 << 1, 1.05f},
                          {1 | 3 << 1, 1.025f}, {1 | 4 << 1, 1.01f}, {1 | 9 << 1, 1.01f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(DeSpikeFactor(c.setting), c.factor) << int(c.setting);

    // Quotes around 100 with one offer at 180: a spike at 2.5 only when the factor is smaller.
    const auto day = [] {
        IntradaySeriesSet set;
        for (int i = 0; i < 6; ++i) {
            set.quotes.items.push_back({0, 28800 + 60 * i, i == 3 ? 180.0f : 101.0f, 99.0f});
            set.trades.items.push_back({0, 28830 + 60 * i, 100.0f, 500.0f});
        }
        set.others.items.push_back({0, 40000, 98.0f, 0});
        return set;
    };
    IntradaySeriesSet plain = day(), cleaned = day(), graph = day();
    IntradaySeriesSet* one[] = {&plain};
    CleanedTicks wide = CleanTicks(one, {}, DeSpikeFactor(0), false, false, false);
    EXPECT_FLOAT_EQ(wide.range.maximum, 180) << "no de-spiking";
    EXPECT_FLOAT_EQ(wide.range.minimum, 99);
    EXPECT_EQ(wide.firstTime, 28800);
    EXPECT_EQ(wide.lastTime, 28800 + 300) << "quote times only";
    IntradaySeriesSet* both[] = {&cleaned};
    IntradaySeriesSet* added[] = {&graph};
    CleanedTicks tight = CleanTicks(both, added, DeSpikeFactor(1 | 1 << 1), true, true, true);
    EXPECT_FLOAT_EQ(tight.range.maximum, 101) << "the spike leaves the range";
    EXPECT_FLOAT_EQ(tight.range.minimum, 98) << "the third array, with trades shown";
    EXPECT_TRUE(cleaned.quotes.items[3].flags & kItemFirstSpike);
    EXPECT_EQ(tight.lastTime, 40000);
    EXPECT_TRUE(graph.quotes.items[3].flags & kItemFirstSpike) << "added graphs are cleaned too";
    IntradaySeriesSet empty;
    IntradaySeriesSet* none[] = {&empty};
    CleanedTicks zero = CleanTicks(none, {}, 2.5f, false, false, false);
    EXPECT_EQ(zero.range.minimum, 0);
    EXPECT_EQ(zero.range.maximum, 0);
}

class LineAlarmTest : public test::RTStoreTest {
protected:
    void TearDown() override
    {
        TheRTEngine().exchanges = {};
        test::RTStoreTest::TearDown();
    }
};

TEST_F(LineAlarmTest, SideOfTheLatestMidOrNoneWithoutAPrice)
{
    const ShareRef share{nullptr, 0, 0x4001};
    EXPECT_EQ(LineAlarmSide(share, 36000, 100, 43200, 110), 0) << "no price: no alarm";
    RTDayRecord* day = GetRTDay(test::kMon7, true);
    int32_t slot = -1;
    RTDayShareEntry* e = GetRTDayShare(MakeRTKey(0, 0x4001), *day, slot, true);
    RTDaySummary s;
    AddRTSummaryQuote(s, 37800, 106, 102); // mid 104 at 10:30
    auto words = EmptyRTSummaryWords();
    WriteRTDaySummary(s, words);
    e->ticks.assign(words.begin(), words.end());
    e->tickCount = kRTSummaryWords;
    e->loadFlags |= kRTLoadAllTicks;
    EXPECT_EQ(LineAlarmSide(share, 36000, 100, 43200, 110), 3) << "104 above the line's 102.5";
    EXPECT_EQ(LineAlarmSide(share, 36000, 110, 43200, 120), 1) << "104 below the line's 112.5";
}

} // namespace
} // namespace qv
