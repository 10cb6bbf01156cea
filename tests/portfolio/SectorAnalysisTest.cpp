// The sector analysis's rules: codes, trees, slices, angles, colours, keys, layout, labels and controls.
#include "portfolio/SectorAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qv;

namespace {

std::string Named(int level, int32_t code) { return "L" + std::to_string(level) + ":" + std::to_string(code); }

SectorShare Share(const char* name, SectorCodes codes, double capital, double held = 0, double holding = 0)
{
    SectorShare s;
    s.name = name;
    s.codes = codes;
    s.capital = capital;
    s.held = held;
    s.holding = holding;
    s.inPortfolio = held != 0 || holding != 0;
    return s;
}

} // namespace

TEST(SectorAnalysis, CodesAndFixedNames)
{
    struct Case {
        int32_t shareClass;
        uint16_t word;
        SectorCodes codes;
    } cases[] = {
        {1, 0x1234, {-1, -1, -1}},   {13, 0, {-13, -13, -13}}, {14, 0, {-14, -14, -14}},
        {16, 0, {-16, -16, -16}},    {17, 0, {-17, -17, -17}},
        {7, uint16_t(2 << 10 | 3 << 6 | 5), {2, 4, 2}},
        {11, uint16_t(63 << 10), {kNoSectorCode, kNoSectorCode, kNoSectorCode}},
    };
    for (const Case& c : cases) {
        const SectorCodes got = ShareSectorCodes(c.shareClass, c.word);
        EXPECT_EQ(got.main, c.codes.main) << c.shareClass;
        EXPECT_EQ(got.sector, c.codes.sector) << c.shareClass;
        EXPECT_EQ(got.sub, c.codes.sub) << c.shareClass;
    }
    for (int32_t code = -17; code <= -1; ++code) {
        const char* expected = code == -1 ? "Indices" : code == -13 ? "Gilts" : code == -14 ? "Unit Trusts"
                             : code == -16 ? "Exchange Rates" : code == -17 ? "Commodities" : "Not defined";
        for (int level = 1; level <= 3; ++level)
            EXPECT_EQ(SectorName(level, code), expected) << code;
    }
    EXPECT_EQ(SectorName(2, 250), "No sector");
    EXPECT_EQ(SectorName(1, kNoSectorCode), "No sector");
}

TEST(SectorAnalysis, TreesKeepTreeOrderAndSkipWhatIsTooSmall)
{
    const SectorCodes a{1, 10, 0}, b{2, 20, 1}, a2{1, 11, 0};
    const SectorTrees trees = BuildSectorTrees({
        Share("Alpha", a, 100), Share("Beta", b, 50), Share("Gamma", a2, 0.0001), Share("Alpha", a, 0, 10, 300),
        Share("Beta", b, 0, 0.001, 99), Share("Delta", a2, 0, 5, -0.001), Share("Eps", a2, 0, 5, -40),
    });
    EXPECT_DOUBLE_EQ(trees.capital.total, 150);
    EXPECT_DOUBLE_EQ(trees.holdings.total, 340) << "the absolute value, above 0.001, of more than 0.001 shares";
    ASSERT_EQ(trees.holdings.mains.size(), 1u);
    EXPECT_EQ(trees.holdings.mains[0].children.size(), 2u);

    struct Case {
        int level;
        bool epic;
        std::vector<std::string> texts;
    } cases[] = {
        {kLevelCompanies, false, {"Alpha", "Beta"}},
        {kLevelCompanies, true, {"No EPIC", "No EPIC"}},
        {kLevelSubsectors, true, {"L1:0", "L1:1"}},
        {kLevelSectors, true, {"L2:10", "L2:20"}},
        {kLevelMainSectors, false, {"L3:1", "L3:2"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> texts;
        for (const SectorItem& i : LevelItems(trees.capital, c.level, c.epic, Named))
            texts.push_back(i.text);
        EXPECT_EQ(texts, c.texts) << c.level << " " << c.epic;
    }
    const std::vector<SectorItem> sectors = LevelItems(trees.holdings, kLevelSectors, false, Named);
    ASSERT_EQ(sectors.size(), 2u);
    EXPECT_DOUBLE_EQ(sectors[0].value, 300);
    EXPECT_DOUBLE_EQ(sectors[1].value, 40);
}

TEST(SectorAnalysis, SlicesOtherAndListRows)
{
    struct Case {
        std::vector<SectorItem> items;
        std::vector<std::string> slices;
    } cases[] = {
        {{{"A", 99}, {"B", 1}}, {"A", "Other"}},
        {{{"A", 98.9}, {"B", 1.1}}, {"A", "B"}},
        {{{"A", 50}, {"B", 0.5}, {"C", 49}, {"D", 0.5}}, {"A", "C", "Other"}},
        {{{"A", 7}}, {"A"}},
    };
    for (const Case& c : cases) {
        double total = 0;
        for (const SectorItem& i : c.items)
            total += i.value;
        std::vector<std::string> texts;
        for (const SectorItem& s : SliceItems(c.items, total))
            texts.push_back(s.text);
        EXPECT_EQ(texts, c.slices) << c.items.size();
    }
    EXPECT_EQ(SliceItems({{"A", 50}, {"B", 0.5}, {"C", 49}, {"D", 0.5}}, 100).back().value, 1.0);
    EXPECT_EQ(CountOwnSlices({{"A", 99}, {"B", 1}}, 100), 1);

    const std::vector<SectorListRow> one = SectorListRows({{"Only plc", 1234.5}}, 1234.5);
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[0].text, "Only plc");
    EXPECT_EQ(one[0].percent, "100.0%");
    EXPECT_EQ(one[1].text, "Total");
    EXPECT_EQ(one[1].percent, "100.0%");
    EXPECT_EQ(SectorListRows({{"A", 1}, {"B", 2}}, 3)[0].percent, "33.3%");
    EXPECT_EQ(SectorListRows({}, 0)[0].percent, "0.0%");

    EXPECT_EQ(SectorListHeadings(kLevelCompanies, kMeasureHoldings, true),
              (std::array<std::string, 3>{"EPIC", "Holdings", "Percentage"}));
    EXPECT_EQ(SectorListHeadings(kLevelSectors, kMeasureCapital, true),
              (std::array<std::string, 3>{"Sector / Name", "Capitalization (m)", "Percentage"}));
    EXPECT_EQ(SectorListHeadings(kLevelMainSectors, 0, false)[0], "Main sector / Name");
    EXPECT_EQ(SectorListHeadings(kLevelSubsectors, 0, false)[0], "Subsector / Name");
    EXPECT_EQ(SectorTitle("Demo", true, kLevelSectors), "Sector Analysis - Portfolio: Demo - Grouped by Sector");
    EXPECT_EQ(SectorTitle("All", false, kLevelCompanies), "Sector Analysis - All - Individual Companies");
    EXPECT_EQ(SectorTitle("All", false, kLevelMainSectors), "Sector Analysis - All - Grouped by Main sector");
}

TEST(SectorAnalysis, AnglesRunClockwiseFromThreeOClock)
{
    const std::vector<SliceAngles> one = SliceAnglesOf({{"A", 5}}, 5, true);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_TRUE(IsFullEllipse(one)) << "one company: a full ellipse";
    EXPECT_DOUBLE_EQ(one[0].start, 6.18318);

    const std::vector<SliceAngles> screen = SliceAnglesOf({{"A", 0.001}, {"B", 99.999}}, 100, true);
    EXPECT_NEAR(screen[0].end, 6.18318 + 0.001 * kTurn / 100 + 0.1, 1e-9) << "a short slice ends 0.1 later";
    EXPECT_DOUBLE_EQ(screen[1].start, screen[0].end);
    EXPECT_FALSE(IsFullEllipse(screen));

    const std::vector<SliceAngles> printed = SliceAnglesOf({{"A", 1}, {"B", 3}}, 4, false);
    EXPECT_DOUBLE_EQ(printed[0].start, 0);
    EXPECT_NEAR(printed[0].end, kTurn / 4, 1e-12);
    EXPECT_NEAR(printed[1].end, kTurn, 1e-12);

    const std::vector<SectorItem> ten(10, SectorItem{"x", 1});
    EXPECT_DOUBLE_EQ(SliceAnglesOf(ten, 10, true)[0].start, 0) << "ten slices start at 0 on screen too";

    for (const auto& [radians, painter] : {std::pair{0.0, 0}, {M_PI / 2, -1440}, {M_PI, -2880}, {-M_PI / 2, 1440}})
        EXPECT_EQ(PainterAngle(radians), painter) << radians;
}

TEST(SectorAnalysis, DefaultColoursTruncateByteForByte)
{
    EXPECT_EQ(DefaultSliceColours(1), (std::vector<uint32_t>{0x0000FF, 0x00CC00, 0x6666FF}));
    // 0.8 x 0.4 x 255 = 81.6 truncates to 0x51, where rounding would give 0x52.
    EXPECT_EQ(DefaultSliceColours(2), (std::vector<uint32_t>{0x0000FF, 0x00CC66, 0xFFFF66, 0x5151CC}));
    EXPECT_EQ(DefaultSliceColours(0).size(), 2u);
    EXPECT_EQ(DefaultSliceColours(30).size(), 32u);
    EXPECT_EQ(HsvToColour(0.5, 0, 0.5), 0x7F7F7Fu);
    EXPECT_EQ(WallColour(0x00CC66), 0x008844u);
    EXPECT_EQ(WallColour(0xFFFFFF), 0xAAAAAAu);
}

TEST(SectorAnalysis, LegendKeysLayoutAndRows)
{
    for (const auto& [n, key] : {std::pair{0, "A"}, {25, "Z"}, {26, "a"}, {51, "z"}, {52, "Ca"}, {53, "Cb"}, {78, "Da"}})
        EXPECT_EQ(SliceKey(n), key) << n;

    struct Case {
        int w, h;
        bool legend;
        PieLayout pie;
    } cases[] = {
        {600, 400, false, {133, 300, 200, 0, 0}},
        {600, 400, true, {110, 177, 200, 354, 10}},
        {400, 600, true, {110, 200, 177, 20, 310}},
    };
    for (const Case& c : cases) {
        const PieLayout p = PieLayoutOf(c.w, c.h, c.legend);
        EXPECT_EQ(p.radius, c.pie.radius) << c.w;
        EXPECT_EQ(p.cx, c.pie.cx) << c.w;
        EXPECT_EQ(p.cy, c.pie.cy) << c.w;
        EXPECT_EQ(p.legendX, c.pie.legendX) << c.w;
        EXPECT_EQ(p.legendY, c.pie.legendY) << c.w;
    }
    EXPECT_EQ(LegendRowCount(400, 10, 20), 14);
    EXPECT_EQ(LegendRowCount(30, 10, 20), 1) << "at least one row";
}

TEST(SectorAnalysis, LabelsLieOutsideAndAreMovedApart)
{
    const PieLayout pie = PieLayoutOf(600, 400, false);
    // Four quarters: each label grows away from the pie.
    const std::vector<SliceAngles> quarters{{0, 1}, {1.6, 2}, {3.2, 4}, {4.8, 6}};
    const LabelPlacement four = PlaceLabels(pie, false, quarters, {50, 50, 50, 50}, 14, 400);
    ASSERT_EQ(four.boxes.size(), 4u);
    EXPECT_GT(four.boxes[0].left, pie.cx);
    EXPECT_GT(four.boxes[0].top, pie.cy - 1);
    EXPECT_LT(four.boxes[1].right, pie.cx + 1);
    EXPECT_LT(four.boxes[2].bottom, pie.cy + 1);
    EXPECT_GT(four.boxes[3].left, pie.cx);
    EXPECT_FALSE(four.overlapping);
    EXPECT_EQ(PlaceLabels(pie, false, quarters, {500, 500, 500, 500}, 14, 400).boxes[0].width(), 80);

    // Two narrow neighbours start on top of each other and end apart.
    const std::vector<SliceAngles> close{{0.50, 0.52}, {0.52, 0.54}, {0.54, 6.28}};
    const LabelPlacement moved = PlaceLabels(pie, false, close, {60, 60, 60}, 14, 400);
    EXPECT_FALSE(moved.overlapping);
    EXPECT_FALSE(Meets(moved.boxes[0], moved.boxes[1]));

    // Far too many labels for the space: the search ends and says so.
    std::vector<SliceAngles> crowd;
    for (int i = 0; i < 200; ++i)
        crowd.push_back({i * kTurn / 200, (i + 1) * kTurn / 200});
    const LabelPlacement crowded = PlaceLabels(PieLayoutOf(200, 150, false), true, crowd, std::vector<int>(200, 80), 14, 150);
    EXPECT_TRUE(crowded.overlapping);
}

TEST(SectorAnalysis, CompactionSettingsAndEnabling)
{
    int step = 0, repaints = 0;
    for (int paint = 0; paint < 50; ++paint) {
        const int next = NextCompactionStep(step, 12);
        repaints += next != step;
        step = next;
    }
    EXPECT_EQ(step, 12);
    EXPECT_EQ(repaints, 6) << "1 to 5, then the full line height, then no more repaints";

    const SectorSettings s{kLevelCompanies, kMeasureCapital, 1, true, false, true};
    EXPECT_EQ(PackSectorSettings(s), 0x5C);
    const SectorSettings back = UnpackSectorSettings(0x5C);
    EXPECT_EQ(back.measure, kMeasureCapital);
    EXPECT_EQ(back.label, 1);
    EXPECT_TRUE(back.legend && back.listMode && !back.threeD);
    EXPECT_EQ(UnpackSectorSettings(0x0A).label, 0) << "the label is read at the company level only";
    EXPECT_EQ(LegendMaskBit({kLevelSectors, kMeasureCapital, 0, false, true, false}), 1u << (2 + 4 + 8));

    struct Case {
        SectorSettings in;
        double holdings, capital;
        uint32_t optional;
        int measure, label;
        bool epic, legend, threeD, print, more;
        const char* toggle;
    } cases[] = {
        {{}, 0, 0, ~0u, kMeasureHoldings, 0, false, false, false, false, false, "List >>"},
        {{}, 0, 5, ~0u, kMeasureCapital, 0, true, true, true, true, false, "List >>"},
        {{kLevelCompanies, kMeasureCapital, 1, true, false, false}, 5, 0, ~0u, kMeasureHoldings, 1, true, true, true, true, true, "List >>"},
        {{kLevelSectors, 0, 1, false, false, false}, 5, 5, ~0u, kMeasureHoldings, 0, false, true, true, true, false, "List >>"},
        {{kLevelSectors, 0, 0, false, false, true}, 5, 5, ~0u, kMeasureHoldings, 0, true, false, false, false, false, "Chart >>"},
        {{kLevelSubsectors, 0, 0, true, false, false}, 5, 5, ~(1u << 1), kMeasureHoldings, 0, false, false, true, true, true, "List >>"},
    };
    for (const Case& c : cases) {
        SectorSettings s2 = c.in;
        const SectorEnabling e = EnableSectorControls(s2, c.holdings, c.capital, c.optional, true);
        EXPECT_EQ(s2.measure, c.measure) << c.holdings << " " << c.capital;
        EXPECT_EQ(s2.label, c.label) << s2.level;
        EXPECT_EQ(e.epic, c.epic) << s2.level;
        EXPECT_EQ(e.legend, c.legend) << s2.level;
        EXPECT_EQ(e.threeD, c.threeD) << s2.level;
        EXPECT_EQ(e.print, c.print) << s2.level;
        EXPECT_EQ(e.more, c.more) << s2.level;
        EXPECT_STREQ(e.toggleText, c.toggle);
    }
}
