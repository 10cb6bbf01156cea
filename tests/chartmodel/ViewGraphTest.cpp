// The chart view's rules without a window: pane layout, axis ticks, resizing, the paint and build
// sequence, the mouse protocol, the settings broadcast and the moving-average toggle.
#include "chartmodel/ViewGraph.h"

#include "chartmodel/GraphSettingLayout.h"
#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/ShareList.h"
#include "core/VexaEdition.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/lib/SyntheticChart.h"
#include "platform/Beep.h"
#include "platform/ByteOrder.h"
#include "resources/MessageIds.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace qv {
namespace {

namespace gs = graphsetting;

// ---- Pane layout ----------------------------------------------------------------------------------

struct LayoutCase {
    const char* name;
    bool price, volume;
    int32_t volumeMille;
    std::array<int32_t, 4> mille;
    std::array<bool, 4> inUse;
    int32_t zoom;
    // Expected heights of price, volume and windows 0-3 (-1: not shown).
    std::array<int32_t, 6> heights;
};

TEST(PaneLayout, SharesThePlotByPerMilleHeights)
{
    // Plot 0..1000 with margin 0, so each window is followed by a 1-pixel separator.
    const LayoutCase cases[] = {
        {"two windows", true, true, 200, {150, 120, 0, 0}, {true, true, false, false}, 70,
         {1000 - 200 - 150 - 120 - 2, 200, 150, 120, -1, -1}},
        {"volume at least 100", true, true, 40, {100, 0, 0, 0}, {true, false, false, false}, 70,
         {1000 - 100 - 100 - 1, 100, 100, -1, -1, -1}},
        {"zoomed window loses the excess", true, true, 200, {850, 100, 0, 0}, {true, true, false, false}, 70,
         {1000 - 200 - 650 - 100 - 2, 200, 650, 100, -1, -1}},
        {"zoomed window capped by the zoom size", true, true, 200, {850, 100, 0, 0}, {true, true, false, false}, 30,
         {1000 - 200 - 300 - 100 - 2, 200, 300, 100, -1, -1}},
        {"alone the windows share 1000", false, false, 200, {300, 0, 200, 0}, {true, false, true, false}, 70,
         {-1, -1, 599, -1, 400, -1}}, // the separators come off the top window
        {"weights of 0 count as 1", false, false, 200, {0, -5, 0, 0}, {true, true, false, false}, 70,
         {-1, -1, 499, 500, -1, -1}},
        {"volume alone takes what is left", false, true, 200, {250, 0, 0, 0}, {true, false, false, false}, 70,
         {-1, 1000 - 250 - 1, 250, -1, -1, -1}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        PaneLayoutInput in;
        in.left = 0, in.top = 0, in.right = 500, in.bottom = 1000;
        in.priceShown = c.price;
        in.volumeShown = c.volume;
        in.volumeMille = c.volumeMille;
        in.windowMille = c.mille;
        in.windowInUse = c.inUse;
        in.zoomPercent = c.zoom;
        PaneLayoutResult out = ComputePaneLayout(in);
        const uint32_t ids[6] = {kPanePrice, kPaneVolume, 4, 5, 6, 7};
        for (int i = 0; i < 6; ++i) {
            const PaneRect& r = out.panes[ids[i]];
            EXPECT_EQ(r.shown ? r.height() : -1, c.heights[size_t(i)]) << "pane " << ids[i];
            if (r.shown) {
                EXPECT_GE(r.top, 0);
                EXPECT_LE(r.bottom, 1000);
            }
        }
    }
}

TEST(PaneLayout, StripsTakeTextRowsAndWindowsStackFromTheBottom)
{
    PaneLayoutInput in;
    in.left = 10, in.top = 20, in.right = 400, in.bottom = 520;
    in.textHeight = 12, in.labelHeight = 12, in.margin = 4;
    in.topStrip = in.stripShown = in.stripAtBottom = true;
    in.windowMille = {100, 100, 0, 0};
    in.windowInUse = {true, true, false, false};
    PaneLayoutResult out = ComputePaneLayout(in);
    EXPECT_EQ(out.panes[kPaneCaption].top, 20);
    EXPECT_EQ(out.panes[kPaneCaption].height(), 21);
    EXPECT_EQ(out.shareHeight, 500 - 21);
    EXPECT_EQ(out.panes[kPaneStrip].bottom, 520);
    EXPECT_EQ(out.panes[kPaneStrip].height(), 12);
    EXPECT_EQ(out.panes[5].bottom, 520 - 12);
    EXPECT_EQ(out.panes[4].bottom, out.panes[5].top - 5);
    EXPECT_EQ(out.panes[kPanePrice].top, 41);
    EXPECT_EQ(out.panes[kPanePrice].bottom, out.panes[kPaneVolume].top);
}

TEST(PaneLayout, ResizingStaysWithin50And750)
{
    struct Case {
        int32_t bottom, priceTop, y, expected;
    };
    const Case volume[] = {
        {800, 0, 700, 125}, {800, 0, 790, 50}, {800, 0, 0, 750}, {800, 0, 900, 50},
        {100, 100, 90, 750}, {100, 100, 110, 50}, // a zero divisor counts as 1
    };
    for (const Case& c : volume)
        EXPECT_EQ(ResizeVolumeMille(c.bottom, c.priceTop, c.y), c.expected) << c.y;

    // (bottom, share height, y, present, total of the windows) -> per mille.
    EXPECT_EQ(ResizeAddOnMille(1000, 1000, 700, 150, 270), 300);
    EXPECT_EQ(ResizeAddOnMille(1000, 1000, 100, 150, 270), 150 + 480);
    EXPECT_EQ(ResizeAddOnMille(1000, 1000, 990, 150, 270), 50);
    EXPECT_EQ(ResizeAddOnMille(1000, 1000, 100, 300, 750), 300);

    std::array<int32_t, 4> mille{850, 100, 0, 0};
    std::array<bool, 4> inUse{true, true, false, false};
    EXPECT_EQ(UnzoomForResize(mille, inUse), 0);
    EXPECT_EQ(mille[0], 650);
    EXPECT_EQ(UnzoomForResize(mille, inUse), -1);
}

// ---- Axis ticks -----------------------------------------------------------------------------------

int32_t CharWidth(const std::string& text) { return int32_t(text.size()) * 7; }

TEST(AxisTicks, LevelsFollowTheGridDensity)
{
    AxisTickInput in;
    in.height = 300;
    in.tickSpacing = 8;
    in.labelSpacing = 18;
    in.maxDecimals = 2;
    in.low = 3;
    in.high = 97;
    for (int density = 0; density <= 3; ++density) {
        SCOPED_TRACE(density);
        in.gridDensity = density;
        std::string format;
        TickLevel t[3];
        int32_t width = ComputeAxisTicks(in, format, t, CharWidth);
        ASSERT_GT(t[0].step, 0);
        // Ticks are round and lie within the range; labels are whole multiples of ticks.
        EXPECT_LE(t[0].first, 97.0f);
        EXPECT_GT(t[0].first + t[0].step, 97.0f);
        EXPECT_GE(t[1].ratio, 1);
        EXPECT_FLOAT_EQ(t[1].step, t[1].ratio * t[0].step);
        EXPECT_NEAR(t[1].first + t[1].offset * t[0].step, t[0].first, 0.001);
        const int32_t gridRatio[4] = {2 * t[1].ratio, 2 * t[1].ratio, t[1].ratio, 1};
        EXPECT_EQ(t[2].ratio, gridRatio[density]);
        EXPECT_NEAR(t[2].first + t[2].offset * t[0].step, t[0].first, 0.001);
        EXPECT_EQ(format, "%.0f");
        EXPECT_EQ(width, 14); // "97" and "3"
    }
}

TEST(AxisTicks, StepsFormatsAndOffsets)
{
    struct Case {
        double low, high;
        int decimals;
        double offset;
        const char* suffix;
        float step1, step2;
        const char* format;
        const char* highLabel;
    };
    // 300 pixels: about 37 ticks and 16 labels.
    const Case cases[] = {
        {0, 100, 2, 0, "", 5, 10, "%.0f", "100"},
        {0, 1, 2, 0, "", 0.05f, 0.1f, "%.1f", "1.0"},
        {95, 110, 2, -100, "%", 0.5f, 1, "%.0f", "10%"},
        // Prices in pence read as the lists show them.
        {40000, 72000, 2, 0, "p", 1000, 2000, "%.0f", "72,000p"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.high);
        AxisTickInput in;
        in.height = 300, in.tickSpacing = 8, in.labelSpacing = 18, in.maxDecimals = c.decimals;
        in.low = c.low, in.high = c.high, in.offset = c.offset, in.suffix = c.suffix, in.gridDensity = 3;
        std::string format;
        TickLevel t[3];
        ComputeAxisTicks(in, format, t, CharWidth);
        EXPECT_FLOAT_EQ(t[0].step, c.step1);
        EXPECT_FLOAT_EQ(t[1].step, c.step2);
        EXPECT_EQ(format, c.format);
        EXPECT_EQ(FormatAxisLabel(format, c.high + c.offset, c.suffix), c.highLabel);
    }
}

TEST(AxisTicks, TooLowEmptyOrHugeRangesGiveNoTicks)
{
    AxisTickInput in;
    in.height = 5, in.tickSpacing = 8, in.low = 0, in.high = 10;
    std::string format;
    TickLevel t[3];
    EXPECT_EQ(ComputeAxisTicks(in, format, t, CharWidth), 21);
    EXPECT_EQ(t[0].count, 0);
    in.height = 300;
    in.low = 10;
    EXPECT_EQ(ComputeAxisTicks(in, format, t, CharWidth), 21);
    in.low = 0;
    in.high = 2e12;
    EXPECT_EQ(ComputeAxisTicks(in, format, t, CharWidth), 21);
    EXPECT_EQ(t[1].ratio, 0);
}

TEST(PrintGeometry, PrinterUsesThePrintableSizeAndItsScale)
{
    EXPECT_EQ(ComputePrintGeometry({false, 800, 600, 9000, 6000}).width, 800);
    PrintGeometry g = ComputePrintGeometry({true, 800, 600, 9600, 6600});
    EXPECT_EQ(g.width, 9600);
    EXPECT_EQ(g.height, 6600);
    EXPECT_FLOAT_EQ(g.horizontal, 12.0f);
    EXPECT_FLOAT_EQ(g.vertical, 11.0f);
    EXPECT_FLOAT_EQ(ComputePrintGeometry({true, 0, 0, 100, 100}).horizontal, 1.0f);
}

// ---- The view -------------------------------------------------------------------------------------

// A synthetic chart that records what the build did and what it would have drawn.
class TestChart : public dev::SyntheticChart<CViewGraph> {
public:
    explicit TestChart(int bars = 2500) : SyntheticChart(bars)
    {
        textHeight = 12;
        digitWidth = 7;
        active = 1;
    }
    // Two paints, as on the screen: the first one's ranges size the value axes of the second.
    void Paint(int w = 800, int h = 600)
    {
        OnDraw(&dc_, DrawDevice{false, w, h, 0, 0});
        steps.clear();
        labels.clear();
        OnDraw(&dc_, DrawDevice{false, w, h, 0, 0});
    }
    using CViewGraph::MeasureAxisLabels;
    GraphPane& Pane(uint32_t id) { return *FindPane(id); }

    std::vector<std::string> steps;
    std::vector<std::string> labels;
    std::vector<std::string> titles;
    uint32_t modeWhileBuilding = 99;
    uint64_t now = 1000;

protected:
    uint64_t NowMs() const override { return now; }
    void LoadShareData() override
    {
        modeWhileBuilding = modeRecord.mode;
        steps.push_back("load");
    }
    void BuildTimeBands() override
    {
        steps.push_back("bands");
        if (noBands_)
            return;
        SyntheticChart::BuildTimeBands();
    }
    void BuildSeries() override
    {
        steps.push_back("series");
        SyntheticChart::BuildSeries();
    }
    void FillBackground(uint32_t) override { steps.push_back("background"); }
    void DrawNoData(const GraphPane&, const std::string& text) override { steps.push_back("nodata:" + text); }
    void DrawGraphLayer(bool back) override { steps.push_back(back ? "back" : "front"); }
    void DrawLevelLines() override { steps.push_back("levels"); }
    void DrawTimeLines() override { steps.push_back("times"); }
    void DrawPaneFrames(int32_t) override { steps.push_back("frames"); }
    void DrawQueuedLabels() override { steps.push_back("labels"); }
    void QueueChartText(int32_t, int32_t, const std::string& text, uint32_t flags) override
    {
        labels.push_back(text + (flags == 40 ? "<" : ">"));
    }
    void SetFrameTitle(const std::string& title) override { titles.push_back(title); }

public:
    bool noBands_ = false;

private:
    int dc_ = 0;
};

class ViewGraph : public ::testing::Test {
protected:
    ViewGraph()
    {
        saved_ = Config().dailyGraphs.records[0];
        savedName_ = Config().dailyGraphs.names[0];
        dev::SetUpSyntheticSetting(Config().dailyGraphs.records[0]);
        Config().dailyGraphs.names[0] = "Daily";
        previousBeep_ = SetBeepHandler([this] { ++beeps; });
        SavedDisplayBits() = 0;
    }
    ~ViewGraph() override
    {
        SetBeepHandler(previousBeep_);
        Config().dailyGraphs.records[0] = saved_;
        Config().dailyGraphs.names[0] = savedName_;
        SetViewUnderMouse(nullptr);
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        SavedDisplayBits() = 0;
    }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }

    int beeps = 0;

private:
    GraphSetting saved_;
    std::optional<std::string> savedName_;
    BeepHandler previousBeep_;
};

TEST_F(ViewGraph, BuildRunsItsStepsInOrderWithModeOne)
{
    TestChart chart;
    chart.Paint();
    // The grid (level and time lines) goes under the series of the back layer, which it would hide.
    const std::vector<std::string> expected{"load",  "bands", "series", "background", "levels",
                                            "times", "back",  "front",  "frames",     "labels"};
    EXPECT_EQ(chart.steps, expected);
    EXPECT_EQ(chart.modeWhileBuilding, kModeRedrawing);
    EXPECT_EQ(chart.modeRecord.active, 0);
    EXPECT_EQ(chart.lastDrawnSetting, 0);
    // Panes were created and laid out: price above volume above the two windows.
    EXPECT_LT(chart.Pane(kPanePrice).bottom, chart.Pane(kPaneVolume).bottom + 1);
    EXPECT_LT(chart.Pane(kPaneVolume).bottom, chart.Pane(4).top);
    EXPECT_LT(chart.Pane(4).bottom, chart.Pane(5).top);
    EXPECT_EQ(chart.FindPane(6), nullptr);
    EXPECT_FALSE(chart.labels.empty());
}

TEST_F(ViewGraph, NoBandsOrANoDataTextShowTheText)
{
    TestChart chart;
    chart.noBands_ = true;
    chart.Paint();
    EXPECT_NE(std::find(chart.steps.begin(), chart.steps.end(), "nodata:No price data"), chart.steps.end());
    EXPECT_EQ(std::find(chart.steps.begin(), chart.steps.end(), "back"), chart.steps.end());

    TestChart other;
    other.noDataText = "No data for this share";
    other.Paint();
    EXPECT_NE(std::find(other.steps.begin(), other.steps.end(), "nodata:No data for this share"), other.steps.end());
}

TEST_F(ViewGraph, PaintDrawsNothingDuringADragAndKeepsAHoverMode)
{
    struct Case {
        uint32_t mode, stage;
        bool draws;
        uint32_t modeAfter;
        bool activeAfter;
    };
    const Case cases[] = {
        {kModeTimeRange, 3, false, kModeTimeRange, true}, {kModeTimeRange, 4, false, kModeTimeRange, true},
        {kModeResizing, 3, false, kModeResizing, true},   {kModeRedrawing, 0, false, kModeRedrawing, true},
        {kModeResizing, 1, true, kModeResizing, true},    {kModeNextShare, 1, true, kModeNextShare, true},
        {kModeIdle, 0, true, kModeIdle, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode * 10 + c.stage);
        TestChart chart;
        chart.Paint();
        chart.steps.clear();
        chart.SetMode(true, c.mode, 0, c.stage, 0xFFFF);
        chart.Paint();
        EXPECT_EQ(!chart.steps.empty(), c.draws);
        EXPECT_EQ(chart.modeRecord.mode, c.modeAfter);
        EXPECT_EQ(chart.modeRecord.active != 0, c.activeAfter);
    }
}

TEST_F(ViewGraph, AChangeOfSettingCancelsTheMode)
{
    TestChart chart;
    chart.Paint();
    chart.SetMode(true, kModeLineStudy, 0, 1, 0x400);
    chart.secondKey = 1;
    dev::SetUpSyntheticSetting(Config().dailyGraphs.records[1]);
    chart.Paint();
    EXPECT_EQ(chart.modeRecord.active, 0);
    Config().dailyGraphs.records[1] = {};
}

TEST_F(ViewGraph, ValueAxesScaleByThousandsAndHundredsApart)
{
    TestChart chart;
    chart.Paint();
    GraphPane& volume = chart.Pane(kPaneVolume);
    auto labelsOf = [&](GraphPane& pane) {
        chart.labels.clear();
        chart.DrawValueAxis(&pane, true);
        return chart.labels;
    };
    std::vector<std::string> first = labelsOf(volume);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(chart.paneAxis[kPaneVolume].factor, 1000.0);
    EXPECT_EQ(chart.paneAxis[kPaneVolume].power, 1);
    // The kept power of 1 stays thousands at the next paint, never a hundredfold.
    EXPECT_EQ(labelsOf(volume), first);
    chart.Paint();
    EXPECT_EQ(labelsOf(chart.Pane(kPaneVolume)), first);

    // The price pane (2 decimals, 5p to a few hundred pence) shown in hundreds when the flag is set.
    GraphPane& price = chart.Pane(kPanePrice);
    std::vector<std::string> pence = labelsOf(price);
    chart.paneAxis[kPanePrice].hundreds = true;
    std::vector<std::string> pounds = labelsOf(price);
    ASSERT_FALSE(pounds.empty());
    EXPECT_NE(pence, pounds);
    double top = std::stod(pence.front());
    double topPounds = std::stod(pounds.front());
    EXPECT_NEAR(topPounds * 100, top, top * 0.1);
    // Left labels end at the plot's left (flags 40), right labels begin at its right (flags 36).
    EXPECT_EQ(pence.front().back(), '<');
    EXPECT_EQ(pence[1].back(), '>');
}

TEST_F(ViewGraph, PricesAbove1000AreShownInHundredsWhenTheOptionIsOn)
{
    struct Case {
        uint8_t option;
        float scale;   // of the synthetic prices (about 160p to 380p)
        uint8_t unit;
        bool hundreds;
    };
    const Case cases[] = {{1, 10, 0, true}, {0, 10, 0, false}, {1, 1, 0, false}, {1, 10, 1, false},
                          {1, 10, 6, false}, {1, 10, 17, false}, {1, 10, 3, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.unit) * 100 + int(c.scale) + c.option);
        ChartOptions().hundreds = c.option;
        TestChart chart(300);
        chart.currencyUnit = c.unit;
        chart.Paint();
        ValueRange* range = chart.Pane(kPanePrice).firstSeries->range;
        range->minimum *= c.scale;
        range->maximum *= c.scale;
        chart.labels.clear();
        chart.MeasureAxisLabels(true);
        EXPECT_EQ(chart.paneAxis[kPanePrice].hundreds, c.hundreds);
    }
    ChartOptions().hundreds = 0;
}

TEST_F(ViewGraph, GridLinesFollowTheDensity)
{
    for (uint32_t density : {0u, 1u, 2u, 3u}) {
        SCOPED_TRACE(density);
        gs::SetU32(Setting(), gs::kGridDensityH, density);
        TestChart chart;
        chart.Paint();
        int lines = 0, ticks = 0;
        for (GridLine* g = chart.Pane(kPanePrice).gridLines; g; g = g->next)
            (g->flags & kGridEveryPane) ? ++lines : ++ticks;
        if (density == 0)
            EXPECT_EQ(lines, 0);
        else
            EXPECT_GT(lines, 0);
        EXPECT_GT(ticks, 0);
        static int previous = 1000;
        if (density == 0)
            previous = 0;
        else {
            EXPECT_GE(lines, previous);
            previous = lines;
        }
    }
}

// ---- Mouse protocol -------------------------------------------------------------------------------

struct MouseCase {
    const char* name;
    uint32_t mode, stage;  // before
    char event;            // m move, d down, u up
    int32_t dx, dy;        // from a point in the price pane's middle; 'v' cases use the volume top
    bool atVolumeTop;
    uint32_t keys;
    uint32_t modeAfter, stageAfter;
    bool activeAfter;
};

TEST_F(ViewGraph, MouseTableOfModesStagesAndEvents)
{
    const MouseCase cases[] = {
        {"press when idle is pending", 0, 0, 'd', 0, 0, false, 0, kModePending, 0, true},
        {"moving while pending selects", kModePending, 0, 'm', 20, 0, false, kMouseKeyLeft, kModeTimeRange, 3, true},
        {"moving while selecting shows it", kModeTimeRange, 3, 'm', 30, 0, false, kMouseKeyLeft, kModeTimeRange, 4, true},
        {"hover at the volume top resizes", 0, 0, 'm', 0, 2, true, 0, kModeResizing, 1, true},
        {"the resize zone is 4 pixels", 0, 0, 'm', 0, 4, true, 0, kModeIdle, 0, false},
        {"shift suppresses hovering", 0, 0, 'm', 0, 2, true, kMouseKeyShift, kModeIdle, 0, false},
        {"pressing in the resize zone drags", kModeResizing, 1, 'd', 0, 2, true, 0, kModeResizing, 3, true},
        {"leaving the zone ends the hover", kModeResizing, 1, 'm', 0, 40, true, 0, kModeIdle, 0, false},
        {"release after a resize is idle-active", kModeResizing, 3, 'u', 0, 2, true, 0, kModeIdle, 0, true},
        {"an unknown mode cancels on a press", kModeUndefined, 0, 'd', 0, 0, false, 0, kModeIdle, 0, false},
    };
    for (const MouseCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestChart chart;
        chart.Paint();
        GraphPane& price = chart.Pane(kPanePrice);
        GraphPane& volume = chart.Pane(kPaneVolume);
        int32_t x = (chart.plotRect[0] + chart.plotRect[2]) / 2 + c.dx;
        int32_t y = c.atVolumeTop ? volume.top + c.dy : (price.top + price.bottom) / 2 + c.dy;
        if (c.mode != 0 || c.stage != 0)
            chart.SetMode(true, c.mode, 0, c.stage, 0xFFFF);
        chart.resizePaneId = kPaneVolume;
        chart.selectionAnchors[0] = x - c.dx;
        switch (c.event) {
        case 'm': chart.OnMouseMove(c.keys, x, y); break;
        case 'd': chart.OnLButtonDown(c.keys, x, y); break;
        case 'u': chart.OnLButtonUp(c.keys, x, y); break;
        }
        EXPECT_EQ(chart.modeRecord.mode, c.modeAfter);
        EXPECT_EQ(chart.modeRecord.stage, c.stageAfter);
        EXPECT_EQ(chart.modeRecord.active != 0, c.activeAfter);
    }
}

TEST_F(ViewGraph, HoverAboveThePanesStepsToThePreviousOrNextShare)
{
    gs::SetU16(Setting(), gs::kDisplayFlags, 1); // caption strip, so there is room above the panes
    TestChart chart;
    chart.Paint();
    // Left of the plot, level with the caption strip.
    chart.OnMouseMove(0, 2, chart.Pane(kPaneCaption).top + 5);
    EXPECT_EQ(chart.modeRecord.mode, kModePreviousShare);
    EXPECT_EQ(chart.modeRecord.stage, 1u);
    EXPECT_EQ(chart.currentCursor, kCursorPreviousShare);
    chart.OnMouseMove(0, chart.plotRect[2] + 3, chart.Pane(kPaneCaption).top + 5);
    EXPECT_EQ(chart.modeRecord.mode, kModeNextShare);
    EXPECT_EQ(chart.currentCursor, kCursorNextShare);
    // A press there with no share list beeps and changes nothing.
    chart.OnLButtonDown(0, chart.plotRect[2] + 3, chart.Pane(kPaneCaption).top + 5);
    EXPECT_EQ(beeps, 1);
    // Beside the price pane is not above it.
    chart.OnMouseMove(0, 2, chart.Pane(kPanePrice).top + 5);
    EXPECT_EQ(chart.modeRecord.active, 0);
    chart.OnMouseMove(0, (chart.plotRect[0] + chart.plotRect[2]) / 2, chart.Pane(kPanePrice).top + 50);
    EXPECT_EQ(chart.modeRecord.active, 0);
    EXPECT_EQ(chart.currentCursor, kCursorArrow);
}

TEST_F(ViewGraph, ClicksAndSelectionsSetTheShownRange)
{
    struct Case {
        const char* name;
        int32_t pressX, releaseX; // offsets from the plot's left, or -1000 for the left end, 1000 the right
        int32_t startBefore, endBefore;
        bool setsRange;
        int32_t startAfter, endAfter; // for clicks
    };
    const Case cases[] = {
        {"a click leaves the range", 200, 200, 10, 500, false, 10, 500},
        {"a selection of 4 pixels sets none", 200, 204, 10, 500, false, 10, 500},
        {"a click at the left end steps back", -1000, -1000, 10, 500, false, 9, 500},
        {"not before the start", -1000, -1000, 0, 500, false, 0, 500},
        {"a click at the right end steps on", 1000, 1000, 10, 500, false, 10, 501},
        {"not when the end is open", 1000, 1000, 10, 0, false, 10, 0},
        {"a selection sets the range", 100, 400, 0, 0, true, 0, 0},
        {"backwards too", 400, 100, 0, 0, true, 0, 0},
        {"a short one is widened to 300", 100, 110, 0, 0, true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestChart chart;
        chart.Paint();
        int32_t left = chart.plotRect[0];
        auto at = [&](int32_t dx) {
            return dx == -1000 ? left - 5 : dx == 1000 ? chart.plotRect[2] + 5 : left + dx;
        };
        int32_t y = chart.Pane(kPanePrice).top + 40;
        chart.shownRange[0] = c.startBefore;
        chart.shownRange[1] = c.endBefore;
        chart.OnLButtonDown(kMouseKeyLeft, at(c.pressX), y);
        if (c.releaseX != c.pressX)
            chart.OnMouseMove(kMouseKeyLeft, at(c.releaseX), y);
        chart.OnLButtonUp(0, at(c.releaseX), y);
        if (!c.setsRange) {
            EXPECT_EQ(chart.shownRange[0], c.startAfter);
            EXPECT_EQ(chart.shownRange[1], c.endAfter);
            EXPECT_EQ(chart.fullRange, 1);
            continue;
        }
        EXPECT_EQ(chart.fullRange, 0);
        EXPECT_GE(chart.shownRange[1] - chart.shownRange[0], 300);
        int32_t lo = chart.XToBar(at(std::min(c.pressX, c.releaseX)));
        EXPECT_EQ(chart.shownRange[0], lo);
    }
}

TEST_F(ViewGraph, ATrainingReleaseNearThePlotsRightEndRemovesTheMark)
{
    struct Training : TestChart {
        std::vector<int32_t> stored;
        int removed = 0;
        int32_t BarForTraining(int32_t, int32_t) const override { return 7; }
        void StoreTrainingMark(int32_t bar) override { stored.push_back(bar); }
        void RemoveTrainingMark(int32_t, int32_t) override { ++removed; }
    };
    for (int32_t fromRight : {10, 5, 4, 0}) {
        SCOPED_TRACE(fromRight);
        Training chart;
        chart.trainingMode = 1;
        chart.Paint();
        int32_t y = chart.Pane(kPanePrice).top + 30;
        chart.OnLButtonDown(kMouseKeyLeft, chart.plotRect[0] + 50, y);
        EXPECT_EQ(chart.modeRecord.mode, kModeTraining);
        EXPECT_EQ(chart.trainingMark, 7);
        chart.OnLButtonUp(0, chart.plotRect[2] - fromRight, y);
        EXPECT_EQ(chart.stored.size(), fromRight >= 5 ? 1u : 0u);
        EXPECT_EQ(chart.removed, fromRight >= 5 ? 0 : 1);
        EXPECT_EQ(chart.trainingMark, -1);
    }
}

TEST_F(ViewGraph, DoubleClickTogglesTheFullRange)
{
    TestChart chart;
    chart.Paint();
    chart.shownRange[0] = 100;
    chart.shownRange[1] = 600;
    chart.rangeBounds[0] = 5;
    int before = chart.invalidations();
    chart.OnDoubleClick(0, 300, 100);
    EXPECT_EQ(chart.fullRange, 0);
    EXPECT_EQ(chart.shownRange[0], 0);
    EXPECT_EQ(chart.shownRange[1], 0);
    EXPECT_EQ(chart.rangeBounds[0], 0x7FFFFFFF);
    EXPECT_GT(chart.invalidations(), before);
    chart.OnDoubleClick(0, 300, 100);
    EXPECT_EQ(chart.fullRange, 1);
}

class ViewGraphShares : public ViewGraph {
protected:
    ShareList* MakeList(int entries)
    {
        ShareList* list = CreateShareList(8, 0, kFamilyShares, nullptr, true);
        for (int i = 0; i < entries; ++i) {
            auto& r = records_.emplace_back(std::make_unique<uint8_t[]>(8));
            std::fill_n(r.get(), 8, uint8_t(0));
            StoreU16(r.get(), 8);
            StoreU16(r.get() + 2, uint16_t(100 + i));
            list->entries[i].record = r.get();
        }
        list->current = 0;
        return list;
    }

private:
    std::vector<std::unique_ptr<uint8_t[]>> records_;
};

TEST_F(ViewGraphShares, PreviousAndNextShareBeepAtTheEnds)
{
    TestChart chart;
    chart.list = MakeList(3);
    chart.PreviousShare();
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(chart.list->current, 0);
    chart.NextShare();
    chart.NextShare();
    EXPECT_EQ(chart.list->current, 2);
    EXPECT_EQ(chart.list->currentId, 102u);
    chart.NextShare();
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(chart.list->current, 2);
}

TEST_F(ViewGraphShares, WheelTurnsWithin25MsAreSwallowed)
{
    TestChart chart;
    chart.list = MakeList(5);
    chart.list->current = 2;
    const struct {
        uint64_t at;
        int32_t delta;
        int32_t current;
    } turns[] = {{1000, -120, 3}, {1010, -120, 3}, {1024, -120, 3}, {1025, -120, 4}, {1100, 120, 3}, {1101, 120, 3}};
    for (const auto& t : turns) {
        chart.now = t.at;
        chart.OnMouseWheel(t.delta);
        EXPECT_EQ(chart.list->current, t.current) << t.at;
    }
}

TEST_F(ViewGraphShares, TitleIsSetOnlyWhenItChanges)
{
    TestChart chart;
    chart.list = MakeList(2);
    chart.UpdateTitle();
    chart.UpdateTitle();
    ASSERT_EQ(chart.titles.size(), 1u) << chart.titles.back();
    EXPECT_NE(chart.titles[0].find("Graph - List: All - All sectors - Daily - Portfolio: "), std::string::npos);
    EXPECT_NE(chart.titles[0].find(" - Daily - "), std::string::npos);
    Config().dailyGraphs.names[0] = "Weekly";
    chart.UpdateTitle();
    ASSERT_EQ(chart.titles.size(), 2u);
    EXPECT_NE(chart.titles[1].find(" - Weekly - "), std::string::npos);
    chart.SetKind(kViewIntradayChart);
    Config().intradayGraphs.names[0] = "Ticks";
    chart.UpdateTitle();
    EXPECT_NE(chart.titles.back().find("Intraday Graph - List: All"), std::string::npos);
    Config().intradayGraphs.names[0].reset();
}

TEST_F(ViewGraph, StatusTextsNameTheModeAndTheSelection)
{
    TestChart chart;
    chart.Paint();
    chart.SetMode(true, kModeTimeRange, 0, 4, 0xFFFF);
    chart.selectionAnchors[0] = chart.plotRect[0] + 10;
    chart.selectionAnchors[1] = chart.plotRect[0] + 110;
    chart.UpdateStatusTexts();
    EXPECT_EQ(chart.statusTexts[0], "Time range select");
    EXPECT_FALSE(chart.statusTexts[2].empty());
}

TEST_F(ViewGraph, AListOrPortfolioSourceFallsBackToTheShareWhenItsHistoryIsNotBuilt)
{
    struct Source : TestChart {
        bool builds = false;
        bool BuildSourceHistory() override { return builds; }
        std::string DescribeGraphSource() const override { return "Portfolio 1"; }
    };
    for (int32_t mode : {4, 8}) {
        Source chart;
        chart.portfolioGraphMode = mode;
        chart.AttachSource();
        EXPECT_EQ(chart.graphSourceKind, 0u);
        chart.builds = true;
        chart.AttachSource();
        EXPECT_EQ(chart.graphSourceKind, uint32_t(mode));
        EXPECT_EQ(chart.readoutParts[1], "Portfolio 1");
    }
    // A portfolio source shows no add-on windows.
    Source chart;
    chart.builds = true;
    chart.portfolioGraphMode = 4;
    SendProgramMessage(chart, WM_COMMAND, ID_REFRESH, 0);
    chart.Paint();
    EXPECT_EQ(chart.FindPane(4), nullptr);
}

// ---- Settings broadcast ---------------------------------------------------------------------------

TEST_F(ViewGraph, NotifyReachesVisibleViewsOfTheKindShowingTheMaskedSettings)
{
    ShareList* list = CreateShareList(8, 0, kFamilyShares, nullptr, true);
    std::vector<std::unique_ptr<CViewGraph>> views;
    auto open = [&](int32_t kind, int32_t setting, bool visible) -> CViewGraph& {
        auto& v = *views.emplace_back(std::make_unique<CViewGraph>(kind));
        v.secondKey = setting;
        v.SetWindowState(true, visible);
        v.list = list;
        v.nextInList = list->views;
        list->views = &v;
        return v;
    };
    CViewGraph& sender = open(kViewDailyChart, 1, true);
    CViewGraph& zero = open(kViewDailyChart, 0, true);
    CViewGraph& two = open(kViewDailyChart, 2, true);
    CViewGraph& hiddenTwo = open(kViewDailyChart, 2, false);
    CViewGraph& intradayZero = open(kViewIntradayChart, 0, true);
    CViewGraph& three = open(kViewDailyChart, 3, true);
    auto counts = [&] {
        return std::vector<int>{sender.invalidations(), zero.invalidations(),        two.invalidations(),
                                hiddenTwo.invalidations(), intradayZero.invalidations(), three.invalidations()};
    };
    sender.NotifyGraphSettings(0x005);
    EXPECT_EQ(counts(), (std::vector<int>{0, 1, 1, 0, 0, 0}));
    sender.NotifyGraphSettings(0);
    EXPECT_EQ(counts(), (std::vector<int>{1, 1, 1, 0, 0, 0}));
    list->views = nullptr;
}

TEST_F(ViewGraph, ASettingsChangeWaitsForTheDragAndTimesOutAfter60Seconds)
{
    TestChart chart;
    chart.Paint();
    chart.SetMode(true, kModeTimeRange, 0, 4, 0xFFFF);
    int before = chart.invalidations();
    chart.now = 5000;
    SendProgramMessage(chart, MSG_SETTINGS_CHANGED, 0, 0);
    EXPECT_EQ(chart.invalidations(), before);
    EXPECT_EQ(chart.pendingChangeMs, 5000u);
    chart.now = 5000 + 59999;
    SendProgramMessage(chart, MSG_GRAPH_SETTINGS_TIMEOUT, 0, 0);
    EXPECT_EQ(chart.invalidations(), before);
    chart.hasFocus = 1;
    chart.now = 5000 + 60000;
    SendProgramMessage(chart, MSG_GRAPH_SETTINGS_TIMEOUT, 0, 0);
    EXPECT_EQ(chart.invalidations(), before);
    chart.hasFocus = 0;
    SendProgramMessage(chart, MSG_GRAPH_SETTINGS_TIMEOUT, 0, 0);
    EXPECT_EQ(chart.invalidations(), before + 1);
    EXPECT_EQ(chart.modeRecord.active, 0);

    // Without a drag the repaint is at once; the paint clears the waiting time.
    SendProgramMessage(chart, MSG_SETTINGS_CHANGED, 0, 0);
    EXPECT_EQ(chart.invalidations(), before + 2);
    chart.Paint();
    EXPECT_EQ(chart.pendingChangeMs, 0u);
}

TEST_F(ViewGraph, ResizeDragWritesTheSettingAndBroadcastsOnRelease)
{
    TestChart chart;
    ShareList* list = CreateShareList(8, 0, kFamilyShares, nullptr, true);
    chart.list = list;
    list->views = &chart;
    TestChart other;
    other.list = list;
    chart.nextInList = &other;
    chart.Paint();
    GraphPane& volume = chart.Pane(kPaneVolume);
    int32_t x = (chart.plotRect[0] + chart.plotRect[2]) / 2;
    chart.OnMouseMove(0, x, volume.top + 1);
    chart.OnLButtonDown(kMouseKeyLeft, x, volume.top + 1);
    ASSERT_EQ(chart.modeRecord.stage, 3u);
    int32_t priceTop = chart.Pane(kPanePrice).top;
    chart.OnMouseMove(kMouseKeyLeft, x, priceTop - 50);
    EXPECT_EQ(gs::U16(Setting(), gs::kVolumePaneHeight), 750);
    chart.OnMouseMove(kMouseKeyLeft, x, volume.bottom - 1);
    EXPECT_EQ(gs::U16(Setting(), gs::kVolumePaneHeight), 50);
    int before = other.invalidations();
    chart.OnLButtonUp(0, x, volume.bottom - 1);
    EXPECT_EQ(other.invalidations(), before + 1);
    list->views = nullptr;
}

TEST_F(ViewGraph, AddOnResizeKeepsTheWindowsWithinTheBudget)
{
    TestChart chart;
    chart.Paint();
    GraphPane& window = chart.Pane(4);
    int32_t x = (chart.plotRect[0] + chart.plotRect[2]) / 2;
    chart.OnMouseMove(0, x, window.top + 1);
    chart.OnLButtonDown(kMouseKeyLeft, x, window.top + 1);
    ASSERT_EQ(chart.resizePaneId, 4u);
    chart.OnMouseMove(kMouseKeyLeft, x, chart.plotRect[1]);
    auto weight = [&](int w) { return int16_t(LoadU16(gs::IndicatorSlot(Setting(), w, 0).data() + gs::kSlotHeightWeight)); };
    EXPECT_EQ(weight(0), 750 - 120);
    EXPECT_EQ(weight(1), 120);
}

// ---- Moving-average toggle ------------------------------------------------------------------------

TEST_F(ViewGraph, ToggleMovingAverageRestoresBothDisplayBits)
{
    struct Case {
        uint32_t word;
        uint32_t afterOff, afterOn;
    };
    const uint32_t period = 0x00000032;
    const Case cases[] = {
        {0xC0000000 | period, period, 0xC0000000 | period},
        {0x80000000 | period, period, 0x80000000 | period},
        {0x40000000 | period, period, 0x40000000 | period},
    };
    TestChart chart;
    for (int line = 0; line < 4; ++line) {
        for (const Case& c : cases) {
            gs::SetU32(Setting(), gs::kLineWords + 4 * size_t(line), c.word);
            chart.ToggleMovingAverage(line);
            EXPECT_EQ(gs::LineWord(Setting(), line), c.afterOff);
            chart.ToggleMovingAverage(line);
            EXPECT_EQ(gs::LineWord(Setting(), line), c.afterOn);
        }
    }
    // An empty slot gives the line alone.
    SavedDisplayBits() = 0;
    gs::SetU32(Setting(), gs::kLineWords, period);
    SendProgramMessage(chart, WM_COMMAND, kCommandFirstMovingAverage, 0);
    EXPECT_EQ(gs::LineWord(Setting(), 0), 0x80000000 | period);
}

TEST_F(ViewGraph, MovingAverageCommandStates)
{
    TestChart chart;
    gs::SetU32(Setting(), gs::kLineWords + 4, 0x40000000);
    CommandUi ui;
    ui.command = kCommandFirstMovingAverage + 1;
    ASSERT_TRUE(chart.UpdateCommandUi(ui));
    EXPECT_TRUE(ui.enabled);
    EXPECT_TRUE(ui.checked.value_or(false));
    ui.command = kCommandFirstMovingAverage;
    chart.UpdateCommandUi(ui);
    EXPECT_FALSE(ui.checked.value_or(true));
    chart.viewFlags = 2; // box chart
    chart.UpdateCommandUi(ui);
    EXPECT_FALSE(ui.enabled);
    ui.command = 20223;
    EXPECT_FALSE(chart.UpdateCommandUi(ui));
}

TEST(ViewGraphLocked, TheEditionsTwoDailySettingsLockTheMovingAverageCommands)
{
    const ConfigState user = Config();
    Config().optionsA.bytes[OptionBlockA::kEditionTableSlot] = 4;
    Config().optionsA.bytes[OptionBlockA::kEditionGraphSlot1] = 0;
    Config().optionsA.bytes[OptionBlockA::kEditionGraphSlot2] = 11;
    InitVexaTables();
    SetEditionOptionByte(kEditionOn | kEditionSetUp);
    ApplyVexaSettings(true);
    ASSERT_TRUE(VexaSettingsApplied());
    struct Case {
        int32_t kind, setting;
        bool locked;
    };
    for (Case c : {Case{kViewDailyChart, 0, true}, Case{kViewDailyChart, 11, true}, Case{kViewDailyChart, 1, false},
                   Case{kViewIntradayChart, 0, false}}) {
        CViewGraph chart(c.kind);
        chart.secondKey = c.setting;
        EXPECT_EQ(chart.ComputeSettingsLocked(), c.locked) << c.kind << " " << c.setting;
        CommandUi ui;
        ui.command = kCommandLastMovingAverage;
        chart.UpdateCommandUi(ui);
        EXPECT_EQ(ui.enabled, !c.locked);
    }
    ApplyVexaSettings(false);
    FreeVexaTables();
    SetEditionOptionByte(0);
    RemoveEditionFilters();
    Config() = user;
}

} // namespace
} // namespace qv
