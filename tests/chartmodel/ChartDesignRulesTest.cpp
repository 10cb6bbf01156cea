// The chart design rules without windows: the bar-colour modes' places and widths, the swing design's
// enabling matrix, the chart font's and the legend style's stored records, the event block as Display
// Events writes it, and the extras a chosen box-chart display brings.
#include "chartmodel/BarColourScheme.h"
#include "chartmodel/ChartFont.h"
#include "chartmodel/ChartSettingsRules.h"
#include "chartmodel/GraphDesign.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/LegendStyleStore.h"
#include "chartmodel/SwingDesign.h"
#include "core/ConfigRecords.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace qv;
using namespace qv::graphsetting;

TEST(BarColourScheme, EachModeShowsItsPlacesAndAModeChangeSetsItsWidths)
{
    struct Case {
        int mode;
        std::vector<int> colours;
        const char* firstLabel;
    } cases[] = {{0, {0}, ""},          {1, {0, 1, 2}, "Up"},          {3, {0, 1, 2}, "Up"},
                 {4, {0, 1}, "Above"}, {5, {3, 4}, "Low volume"}, {6, {0, 1, 2, 3, 4}, "Up day"}};
    for (const Case& c : cases) {
        std::vector<int> shown;
        for (const barcolour::Slot& s : barcolour::Slots(c.mode))
            shown.push_back(s.colour);
        EXPECT_EQ(shown, c.colours) << c.mode;
        EXPECT_STREQ(barcolour::Slots(c.mode)[0].label, c.firstLabel);
    }
    EXPECT_STREQ(barcolour::SchemeName(5), "Graduated by volume");
    std::array<uint32_t, 5> words{0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0x654321};
    barcolour::ApplyModeWidths(words, 0, 6);
    EXPECT_EQ(words[0], 0x100000FFu);
    EXPECT_EQ(words[1], 0x1000FF00u);
    barcolour::ApplyModeWidths(words, 6, 5);
    EXPECT_EQ(words[0], 0x0000FFu);
    EXPECT_EQ(words[1], 0x00FF00u);
    EXPECT_EQ(words[4], 0x30654321u);
}

TEST(SwingDesign, EnablingMatrix)
{
    namespace sd = swingdesign;
    struct Case {
        uint32_t flags;
        bool options, swingPens, manhattanPen, rivallandOptions, strictDay2, gann;
    } cases[] = {
        {0, false, false, false, false, false, true},
        {sd::kSwingLine | sd::kRivalland | sd::kRelaxed, false, false, false, false, false, false},
        {sd::kShow, true, false, false, false, false, true},
        {sd::kShow | sd::kSwingLine | sd::kManhattan, true, true, true, false, false, true},
        {sd::kShow | sd::kRivalland, true, false, false, true, false, false},
        {sd::kShow | sd::kRivalland | sd::kRelaxed, true, false, false, true, true, false},
    };
    for (const Case& c : cases) {
        sd::Enabling e = sd::SwingEnabling(c.flags);
        EXPECT_EQ(e.options, c.options) << c.flags;
        EXPECT_EQ(e.swingPens, c.swingPens) << c.flags;
        EXPECT_EQ(e.manhattanPen, c.manhattanPen) << c.flags;
        EXPECT_EQ(e.rivallandOptions, c.rivallandOptions) << c.flags;
        EXPECT_EQ(e.strictDay2, c.strictDay2) << c.flags;
        EXPECT_EQ(e.gann, c.gann) << c.flags;
    }
    EXPECT_EQ(sd::SwingEnabling(sd::kShow | (1u << 17) | (1u << 25)).marks, (1u << 17) | (1u << 25));
    EXPECT_EQ(sd::SwingEnabling((1u << 17)).marks, 0u);
}

TEST(ChartFont, RecordRoundTripsAndCutsTheFaceTo31Characters)
{
    OptionBlockA options{};
    EXPECT_EQ(ReadChartFont(options), ChartFont{});
    ChartFont font;
    font.face = std::string(40, 'F');
    font.points = 12;
    font.weight = 700;
    font.italic = true;
    font.height = -16;
    WriteChartFont(options, font);
    ChartFont read = ReadChartFont(options);
    EXPECT_EQ(read.face, std::string(31, 'F'));
    EXPECT_EQ(options.data()[OptionBlockA::kChartFont + 31], 0);
    read.face = font.face;
    EXPECT_EQ(read, font);
    for (auto [points, valid] : {std::pair{4, false}, {5, true}, {20, true}, {21, false}})
        EXPECT_EQ(ChartFontSizeValid(points), valid) << points;
}

TEST(LegendStyleStore, RecordRoundTripsAndDamagedRecordsAreRefused)
{
    legenddesign::LegendStyle style;
    style.face = "Times New Roman";
    style.points = 11;
    style.fontFlags = 5;
    style.whiteSpace = 3;
    style.options = 1;
    style.pairs[2] = {0x010203, 0x040506};
    auto bytes = EncodeLegendStyle(style, 96);
    ASSERT_EQ(bytes.size(), kLegendStyleRecordSize);
    EXPECT_EQ(LoadU16(bytes.data() + 6), 700);
    EXPECT_EQ(int32_t(LoadU32(bytes.data() + 12)), -15);
    auto read = DecodeLegendStyle(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->face, style.face);
    EXPECT_EQ(read->points, 11);
    EXPECT_EQ(read->fontFlags, 5u);
    EXPECT_EQ(read->whiteSpace, 3);
    EXPECT_EQ(read->pairs[2].background, 0x040506u);
    auto shortRecord = bytes;
    shortRecord.resize(kLegendStyleRecordSize - 1);
    auto wideSpace = bytes;
    wideSpace[4] = 9;
    for (const auto& damaged : {shortRecord, wideSpace})
        EXPECT_FALSE(DecodeLegendStyle(damaged));
}

TEST(DisplayEvents, TickedHiddenKindGetsModeTwoAShownKindKeepsItsModeAndColours)
{
    GraphSetting setting{};
    InitEventMarkerSettings(setting);
    SetU8(setting, EventEntry(4) + kEventShown, 5);
    SetU32(setting, EventEntry(4) + kEventColour1, 0x12345678);
    std::array<bool, 16> ticked{};
    ticked[4] = true;
    ticked[5] = true;
    chartsettings::WriteEventDisplay(setting, true, ticked);
    EXPECT_EQ(U8(setting, EventEntry(4) + kEventShown), 5);
    EXPECT_EQ(U8(setting, EventEntry(5) + kEventShown), 2);
    EXPECT_EQ(U32(setting, EventEntry(4) + kEventColour1), 0x12345678u);
}

TEST(GraphDesignBoxCharts, ChoosingADisplayAppliesItsExtras)
{
    struct Case {
        int display;
        uint32_t downPen;
        int reversal;
        bool grid;
        uint32_t upPen;
    } cases[] = {
        {5, 0x20000000, 4, true, 0x000000FF},   // point and figure: grid, plain pens, stored reversal
        {7, 0x20000000, 4, true, 0x000000FF},   // Renko
        {8, 0x20000000, 3, false, 0x000000FF},  // line break: 3
        {6, 0x00000000, 4, false, 0x210000FF},  // Kagi: plain Down pen widens Up to 3
        {6, 0x10000000, 4, false, 0x010000FF},  // Kagi: a Down pen with width leaves Up alone
    };
    for (const Case& c : cases) {
        GraphSetting s{};
        InitGraphSetting(s, false);
        SetU8(s, kReversal, 4);
        SetU32(s, kBoxUpPen, 0x010000FF);
        SetU32(s, kBoxDownPen, c.downPen);
        SetU16(s, kBoxChartFlags, 0);
        EXPECT_EQ(graphdesign::ApplyDisplayChoice(s, c.display), c.reversal) << c.display;
        EXPECT_EQ((U16(s, kBoxChartFlags) & 32) != 0, c.grid) << c.display;
        EXPECT_EQ(U32(s, kBoxUpPen), c.upPen) << c.display;
    }
}
