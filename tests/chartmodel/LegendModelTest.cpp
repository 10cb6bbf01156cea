// Tests of the graph legend's lines: headings, value texts, the main series by colouring mode and the
// plotted items, for given legend item masks.
#include "chartmodel/LegendModel.h"

#include "chartmodel/GraphSettingLayout.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::graphsetting;

namespace {

std::vector<std::string> Texts(const LegendModel& legend, int section)
{
    std::vector<std::string> out;
    if (legend.first(section) < 0)
        return out;
    for (int i = legend.first(section); i <= legend.last(section); ++i)
        out.push_back(legend.lines()[size_t(i)].text);
    return out;
}

uint32_t ItemWord(std::initializer_list<int> bits)
{
    uint32_t w = 0;
    for (int b : bits)
        w |= 1u << (b - 32);
    return w;
}

struct Legend {
    GraphSetting setting;
    LegendItemRecord items;
    LegendSource source;
    LegendModel model;
    Legend()
    {
        source.setting = &setting;
        source.items = &items;
        source.shareName = "Acme Holdings";
        source.settingName = "Daily 1";
        source.extraHeading = "FTSE 100 list";
        source.sector = "Engineering";
        source.subSector = "Machinery";
        source.latest[0] = "Latest 12/03/2026 101.5";
        source.latest[1] = "";
        source.latest[2] = "Volume 12,345";
        source.cursor[0] = "No price selected";
        source.cursor[3] = "Cursor (Off graph)";
        SetU32(setting, kPriceColours, 0x000001);
        SetU32(setting, kPriceColours + 4, 0x000002);
        SetU32(setting, kPriceColours + 8, 0x000003);
        SetU32(setting, kPriceColours + 12, 0x000004);
        SetU32(setting, kPriceColours + 16, 0x000005);
    }
    void Update(bool omitTop = false) { model.Update(source, omitTop); }
};

} // namespace

TEST(LegendModel, HeadingsAndValueTexts)
{
    struct Case {
        uint32_t word0, word1;
        bool suppress;
        bool hasIndex;
        std::vector<std::string> latest, cursor, headings;
    };
    const Case cases[] = {
        {0x7, 0x7B, false, false, {"Latest 12/03/2026 101.5", "Volume 12,345"}, {},
         {"Main graph: Acme Holdings", "Graph setting: Daily 1", "FTSE 100 list", "Sector: Engineering",
          "Sub-sector: Machinery", "Index: None"}},
        {0x7 | 0xF0000, 0x7B, true, false, {}, {},
         {"Graph setting: Daily 1", "FTSE 100 list"}},
        {0x90000, 0x40, false, true, {}, {"No price selected", "Cursor (Off graph)"}, {"Index: FTSE All-Share"}},
        {0, 0, false, false, {}, {}, {}},
    };
    for (const Case& c : cases) {
        Legend l;
        l.items = {c.word0, c.word1};
        l.source.suppress = c.suppress;
        l.source.hasIndex = c.hasIndex;
        l.source.indexName = "FTSE All-Share";
        l.Update();
        EXPECT_EQ(Texts(l.model, kLegendLatest), c.latest);
        EXPECT_EQ(Texts(l.model, kLegendCursor), c.cursor);
        EXPECT_EQ(Texts(l.model, kLegendHeadings), c.headings);
        EXPECT_EQ(l.model.title(), "Graph legend");
    }
    Legend l;
    l.items = {0x7, 0x7B};
    l.Update(true);
    EXPECT_EQ(Texts(l.model, kLegendLatest).size(), 0u);
    EXPECT_EQ(Texts(l.model, kLegendHeadings),
              (std::vector<std::string>{"Sector: Engineering", "Sub-sector: Machinery", "Index: None"}));
}

TEST(LegendModel, NothingWithoutARecordOrWhileAFilterRuns)
{
    Legend l;
    l.items = {0xFFF, 0xFFFFFFFF};
    l.source.filterEvaluating = true;
    l.Update();
    EXPECT_TRUE(l.model.lines().empty());
    l.source.filterEvaluating = false;
    l.source.items = nullptr;
    l.Update();
    EXPECT_TRUE(l.model.lines().empty());
    EXPECT_EQ(l.model.first(kLegendItems), -1);
}

TEST(LegendModel, MainSeriesByColouringMode)
{
    struct Case {
        uint8_t mode;
        std::vector<std::string> texts;
        std::vector<uint32_t> samples;   // of the last line
    };
    const Case cases[] = {
        {0, {"Main"}, {1}},
        {1, {"Main (Close/Close)", "Up / Down / Neutral"}, {1, 2, 3}},
        {2, {"Main (Close/Open)", "Up / Down / Neutral"}, {1, 2, 3}},
        {3, {"Main (Volume/Volume)", "Up / Down / Neutral"}, {1, 2, 3}},
        {4, {"Main (Volume/Signal)", "Above / Below"}, {1, 2}},
        {5, {"Main (Graduated by volume)", "Low / High"}, {4, 5}},
        {6, {"Main (Swing)", "Up / Down / Neutral / Inside / Outside"}, {1, 2, 3, 4, 5}},
        {7, {"Main (Up/Down)", "Up / Down"}, {1, 2}},
        {8, {"Main (Positive/Negative)", "Above / Below"}, {1, 2}},
        {200, {"Main (Positive/Negative)", "Above / Below"}, {1, 2}},
    };
    for (const Case& c : cases) {
        Legend l;
        l.items = {0, ItemWord({kItemMain})};
        SetU8(l.setting, kPriceColourMode, c.mode);
        l.Update();
        EXPECT_EQ(Texts(l.model, kLegendItems), c.texts) << int(c.mode);
        const LegendLine& last = l.model.lines().back();
        ASSERT_EQ(last.sampleCount, int(c.samples.size())) << int(c.mode);
        for (size_t i = 0; i < c.samples.size(); ++i)
            EXPECT_EQ(last.pens[i], c.samples[i]) << int(c.mode);
    }

    Legend intraday;
    intraday.items = {0, ItemWord({kItemMain})};
    intraday.source.intraday = true;
    intraday.Update();
    EXPECT_EQ(Texts(intraday.model, kLegendItems), (std::vector<std::string>{"Main (up)", "Main (down)"}));
    EXPECT_EQ(intraday.model.title(), "Intraday graph legend");

    Legend box;
    box.items = {0, ItemWord({kItemMain})};
    box.source.chartFlags = 1;
    SetU32(box.setting, kBoxUpPen, 0x1200FF00);
    SetU32(box.setting, kBoxDownPen, 0x000000FF);
    SetU8(box.setting, kPriceDisplay, 5);
    box.Update();
    EXPECT_EQ(Texts(box.model, kLegendItems), (std::vector<std::string>{"Up", "Down"}));
    EXPECT_EQ(box.model.lines()[0].pens[0], 0x1200FF00u);
    SetU8(box.setting, kPriceDisplay, 7);
    box.Update();
    ASSERT_EQ(Texts(box.model, kLegendItems), (std::vector<std::string>{"Up / Down"}));
    const LegendLine& line = box.model.lines()[0];
    EXPECT_EQ(line.sampleCount, 2);
    EXPECT_EQ(line.pens[0], 0x7000FF00u);
    EXPECT_EQ(line.pens[1], 0x700000FFu);
    EXPECT_EQ(line.values[1], 4);

    Legend hidden;
    hidden.items = {0, ItemWord({kItemMain})};
    hidden.source.showsMainSeries = false;
    hidden.Update();
    EXPECT_TRUE(hidden.model.lines().empty());
}

TEST(LegendModel, AveragesBandsTrendsAndAddedGraphs)
{
    Legend l;
    l.items = {0, ItemWord({kItemAddedGraph, kItemAddedGraph + 4, kItemTrend, kItemConfidence, kItemAverage,
                            kItemAverage + 1, kItemBand, kItemBand + 1, kItemAverage + 3, kItemBand + 3})};
    SetU32(l.setting, kLineWords, 0x80000014 | (1u << 23));               // shown, exponential 20
    SetU32(l.setting, kLineWords + 4, 0xE0000000 | (5u << 12) | 60);       // shown, envelope 5%
    SetU32(l.setting, kLineWords + 12, 0xC0000000 | (3u << 20) | (9u << 23) | 250); // Bollinger 2.0, type 9
    SetU32(l.setting, kLineColours, 0x0000FF);
    SetU32(l.setting, kAddedGraphs + kAddedGraphInUse, 1);
    SetU32(l.setting, kAddedGraphs + 4 * kAddedGraphSize + kAddedGraphInUse, 1);
    SetU32(l.setting, kTrendShown, 1);
    SetU32(l.setting, kConfidenceShown, 1);
    SetU32(l.setting, kTrendDeviation, 2);
    SetU32(l.setting, kTrendRange, 2);
    SetU32(l.setting, kTrendPeriods, 60);
    l.source.addedGraphNames[0] = "Barclays";
    l.source.addedGraphNames[4] = std::string(300, 'x');
    l.Update();
    std::vector<std::string> expected = {"Barclays",
                                         "Relative to " + std::string(kLegendTextLimit - 12, 'x'),
                                         "Trend  (last 60 periods)",
                                         "Confidence (1.5 devs)",
                                         "20 period Exponential MA",
                                         "60 period Simple MA",
                                         "5% Envelope",
                                         "250 period Variable MA",
                                         "2.00 dev. Bollinger band"};
    EXPECT_EQ(Texts(l.model, kLegendItems), expected);
    EXPECT_EQ(l.model.lines()[4].pens[0], 0x0000FFu);

    l.source.shortTexts = true;
    l.Update();
    std::vector<std::string> shortTexts = {"Barclays",
                                           "Relative to " + std::string(kLegendTextLimit - 12, 'x'),
                                           "Trend line",
                                           "Confidence lines",
                                           "Moving avgerage",
                                           "Moving avgerage",
                                           "Envelope",
                                           "Moving avgerage",
                                           "Bollinger band"};
    EXPECT_EQ(Texts(l.model, kLegendItems), shortTexts);

    EXPECT_EQ(GetLegendPeriodText(0, 5), " (displayed data)");
    EXPECT_EQ(GetLegendPeriodText(1, 5), " (all data)");
    EXPECT_EQ(GetLegendPeriodText(2, 5), " (last 5 periods)");
}

TEST(LegendModel, LongDatabaseTextsAreBounded)
{
    Legend l;
    l.items = {0, kHeadingMain};
    l.source.shareName = std::string(5000, 'A');
    l.Update();
    ASSERT_EQ(l.model.lines().size(), 1u);
    EXPECT_EQ(l.model.lines()[0].text.size(), kLegendTextLimit);
    EXPECT_EQ(l.model.lines()[0].text.substr(0, 12), "Main graph: ");
}

TEST(LegendModel, StopLines)
{
    Legend l;
    l.items = {0, ItemWord({kItemGlobalStop, kItemIndividualStop})};
    StopRecord global;
    global.percent = 10;
    global.pen = 0x020000FF;
    l.source.globalStop = &global;
    l.source.globalStopValue = 91.5f;
    l.Update();
    EXPECT_EQ(Texts(l.model, kLegendItems), (std::vector<std::string>{"10% Global Stop-loss 91.5"}));
    EXPECT_EQ(l.model.lines()[0].pens[0], 0x020000FFu);
}

TEST(LegendModel, SwingLinesAndSignals)
{
    struct Case {
        uint32_t flags;
        uint32_t up, down;
        std::vector<std::string> texts;
        int samplesOfLast;
    };
    const Case cases[] = {
        {1 | 2, 0xFF0000, 0x0000FF, {"Swing", "Up / Down"}, 2},
        {1 | 2, 0xFF0000, 0xFF0000, {"Swing"}, 1},
        {1 | 2 | 4, 0xFF0000, 0xFF0000, {"Swing", "Line / Manhattan"}, 2},
        {1 | 2 | 4 | 16, 0xFF0000, 0x0000FF, {"Rivalland swing", "Up / Down / Manhattan"}, 3},
        {1 | 4, 0xFF0000, 0x0000FF, {"Swing (Manhattan)"}, 1},
        {2 | 4, 0xFF0000, 0x0000FF, {}, 0},
    };
    for (const Case& c : cases) {
        Legend l;
        l.items = {0, ItemWord({kItemSwing})};
        SetU32(l.setting, kSwingFlags, c.flags);
        SetU32(l.setting, kSwing + 8, c.up);
        SetU32(l.setting, kSwing + 12, c.down);
        l.Update();
        EXPECT_EQ(Texts(l.model, kLegendItems), c.texts) << c.flags;
        if (!c.texts.empty()) {
            EXPECT_EQ(l.model.lines().back().sampleCount, c.samplesOfLast) << c.flags;
        }
    }

    struct Signal {
        uint32_t bits;
        std::vector<std::string> texts;
    };
    const Signal signalCases[] = {
        {1u << 18 | 1u << 19 | 1u << 20 | 1u << 21, {"Swing (+/-), Trend (+/-)"}},
        {1u << 18, {"Swing (+)"}},
        {1u << 19 | 1u << 21, {"Swing (-), Trend (-)"}},
        {1u << 20, {"Trend (+)"}},
        {1u << 21, {"Trend (-)"}},
        {1u << 24 | 1u << 25 | 1u << 26 | 1u << 27, {"Buy order/stop, Sell order/stop"}},
        {1u << 25 | 1u << 27, {"Buy stop, Sell stop"}},
        {1u << 26, {"Sell order"}},
        {1u << 28 | 1u << 29, {"Buy/sell trigger, Stopped"}},
        {1u << 29, {"Stopped"}},
        {1u << 18 | 1u << 24 | 1u << 28, {"Swing (+)", "Buy order", "Buy/sell trigger"}},
    };
    for (const Signal& s : signalCases) {
        Legend l;
        l.items = {0, ItemWord({kItemSignals})};
        SetU32(l.setting, kSwingFlags, 1 | s.bits);
        for (int w = 7; w <= 16; ++w)
            SetU32(l.setting, kSwing + 4 * size_t(w), 0x30000000u + w);
        l.Update();
        EXPECT_EQ(Texts(l.model, kLegendItems), s.texts) << std::hex << s.bits;
    }
    Legend l;
    l.items = {0, ItemWord({kItemSignals})};
    SetU32(l.setting, kSwingFlags, 1 | 1u << 28 | 1u << 29);
    for (int w = 7; w <= 16; ++w)
        SetU32(l.setting, kSwing + 4 * size_t(w), 0x30000000u + w);
    l.Update();
    const LegendLine& trigger = l.model.lines().back();
    ASSERT_EQ(trigger.sampleCount, 3);
    EXPECT_EQ(trigger.values[0], 2);
    EXPECT_EQ(trigger.values[1], 3);
    EXPECT_EQ(trigger.values[2], 6);
    EXPECT_EQ(trigger.pens[2], 0x30000010u);
    EXPECT_TRUE(trigger.hasValues());
}

TEST(LegendModel, AvailableItemsFollowTheSetting)
{
    Legend l;
    uint64_t mask = LegendModel::GetAvailableItems(l.source);
    EXPECT_TRUE(mask >> kItemMain & 1);
    EXPECT_FALSE(mask >> kItemTrend & 1);
    EXPECT_FALSE(mask >> kItemSwing & 1);
    SetU32(l.setting, kSwingFlags, 1 | 4 | 1u << 26);
    SetU32(l.setting, kLineWords + 8, 0x40000000);
    mask = LegendModel::GetAvailableItems(l.source);
    EXPECT_TRUE(mask >> kItemSwing & 1);
    EXPECT_TRUE(mask >> kItemSignals & 1);
    EXPECT_TRUE(mask >> (kItemBand + 2) & 1);
    EXPECT_FALSE(mask >> (kItemAverage + 2) & 1);
    // An item the chart lacks is not listed even when the record asks for it.
    l.items = {0, ItemWord({kItemTrend, kItemAverage})};
    l.Update();
    EXPECT_TRUE(l.model.lines().empty());
}

TEST(GraphSettingLayout, SlotsAndBlocks)
{
    GraphSetting s;
    auto slot = IndicatorSlot(s, 2, 3);
    slot[kSlotType] = 23;
    EXPECT_EQ(s.bytes[84 + 208 * 2 + 52 * 3], 23);
    const GraphSetting& cs = s;
    EXPECT_EQ(IndicatorSlot(cs, 2, 3)[0], 23);
    EXPECT_EQ(AddedGraph(s, 1).data(), s.data() + 940);
    EXPECT_FALSE(AddedGraphInUse(s, 1));
    SetU16(s, GraphSetting::kMarkerEntries + 24, 1);
    EXPECT_TRUE(AddedGraphInUse(s, 1));
    LineWordFields f = DecodeLineWord(0xD820A014);
    EXPECT_TRUE(f.shown);
    EXPECT_TRUE(f.bandShown);
    EXPECT_FALSE(f.envelope);
    EXPECT_EQ(f.period, 20);
    EXPECT_EQ(f.envelopePercent, 10);
    EXPECT_EQ(f.deviationCode, 2);
    EXPECT_EQ(f.averageType, 0);
    EXPECT_EQ(EventEntry(15) + kEventEntrySize, GraphSetting::kSize);
}
