// Tests of the graph object model: building and freeing it, value and time mapping, hit tests and
// the chart mode with its cursor.
#include "chartmodel/GraphModel.h"
#include "chartmodel/ViewGraphBase.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace qv;

namespace {

// A chart view that counts the cursors it is shown and its title updates.
class TestView : public CViewGraphBase {
public:
    TestView() : CViewBase(0), CViewGraphBase(0) {}
    std::vector<uint32_t> cursors;
    int titles = 0;
    void UpdateGraphTitle() override { ++titles; }

protected:
    void ApplyCursor(uint32_t id) override { cursors.push_back(id); }
};

ValueRange Range(float lo, float hi, int32_t top, int32_t bottom, uint8_t flags = 0)
{
    ValueRange r{};
    r.minimum = lo;
    r.maximum = hi;
    r.yTop = top;
    r.yBottom = bottom;
    r.flags = flags;
    return r;
}

// Builds a view with one band holding two series in one pane.
struct Model {
    TestView view;
    GraphPane* pane;
    TimeBand* band;
    GraphSeries* first;
    GraphSeries* second;
    Model()
    {
        pane = view.AddPane(1);
        pane->left = 0;
        pane->top = 0;
        pane->right = 99;
        pane->bottom = 49;
        band = NewTimeBand(3);
        band->shown = 1;
        band->left = 0;
        band->right = 99;
        view.timeBands = band;
        first = AddSeries(band, pane, 0x100);
        second = AddSeries(band, pane, 0x200);
        view.AddValueRange(first);
        AddPlotElement(first, 1, 0, 0xFF, 0, 1, 0, 0, 0, 0);
        PlotElement* e = AddPlotElement(first, 4, 0, 0xFF00, 0, 2, 0x11, 0, 0, 0);
        InitDataArray(e->values, kArrayFloats, 10, 0, 0);
        AddGridLine(band->timeLines);
    }
};

} // namespace

TEST(GraphModel, RecordsGoToTheHeadAndTheFirstAddedStaysFirst)
{
    Model m;
    EXPECT_EQ(m.band->series, m.second);
    EXPECT_EQ(m.second->next, m.first);
    EXPECT_EQ(m.pane->firstSeries, m.first);
    EXPECT_EQ(FindSeries(m.band, m.pane), m.first);
    EXPECT_EQ(m.first->timeScale, &m.band->scale);
    EXPECT_EQ(m.band->scale.kind, 3u);
    EXPECT_EQ(m.first->elements->style, 4u);
    EXPECT_EQ(m.first->firstElement->style, 1u);
    EXPECT_EQ(m.first->defaultColour, 0xFFu);
    EXPECT_EQ(m.first->range->minimum, FLT_MAX);
    EXPECT_EQ(m.first->range->maximum, -FLT_MAX);
    EXPECT_TRUE(IsRangeEmpty(*m.first->range));
    EXPECT_EQ(m.pane->titleUnitMode, 3);
    EXPECT_EQ(m.pane->flagB, 1);
    GraphPane* other = m.view.AddPane(2);
    EXPECT_EQ(m.view.panes, other);
    EXPECT_EQ(m.view.FindPane(1), m.pane);
    EXPECT_EQ(m.view.FindPane(7), nullptr);
    m.view.SetMode(true, 0, 0, 0, kRedrawAll);
}

TEST(GraphModel, AddPlotElementClampsTheColourCount)
{
    struct Case {
        int32_t count;
        int32_t stored;
        uint32_t colours[5];
    };
    const Case cases[] = {
        {0, 1, {1, 1, 1, 1, 1}},
        {1, 1, {1, 1, 1, 1, 1}},
        {3, 3, {1, 2, 3, 1, 1}},
        {5, 5, {1, 2, 3, 4, 5}},
        {9, 5, {1, 2, 3, 4, 5}},
        {-4, 1, {1, 1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        GraphSeries* s = AddSeries(nullptr, nullptr, 0);
        PlotElement* e = AddPlotElement(s, 1, 0, 1, 0, c.count, 2, 3, 4, 5);
        EXPECT_EQ(e->colourCount, c.stored) << c.count;
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(e->colours[i], c.colours[i]) << c.count << " colour " << i;
        EXPECT_EQ(e->mixMode, kMixCopyPen);
        ProFree(e);
        ProFree(s);
    }
}

TEST(GraphModel, FreesDoNothingWithoutTheFreeBitAndEverythingWithIt)
{
    Model m;
    m.view.currentBand = m.band;
    m.view.currentPane = m.pane;
    m.view.currentSeries = m.first;
    m.view.SetMode(true, kModeRedrawing, 0, 0, kRedrawDrawGraph);
    m.view.FreeTimeBands();
    m.view.FreeAllSeries();
    m.view.FreeSeriesElements(m.first);
    m.view.FreePlotElement(m.first->elements);
    m.view.FreePanes();
    m.view.FreeValueRanges();
    EXPECT_EQ(m.view.timeBands, m.band);
    EXPECT_EQ(m.band->series, m.second);
    EXPECT_NE(m.first->elements, nullptr);
    EXPECT_EQ(m.view.panes, m.pane);
    EXPECT_NE(m.view.valueRanges, nullptr);

    m.view.SetMode(true, kModeRedrawing, 0, 0, kRedrawFreeModel);
    m.view.FreePlotElement(m.first->firstElement);
    EXPECT_EQ(m.first->firstElement, m.first->elements);
    EXPECT_EQ(m.first->elements->next, nullptr);
    m.view.FreeValueRanges();
    EXPECT_EQ(m.first->range, nullptr);
    m.view.FreeAllSeries();
    EXPECT_EQ(m.band->series, nullptr);
    EXPECT_EQ(m.pane->firstSeries, nullptr);
    EXPECT_EQ(m.view.currentSeries, nullptr);
    m.view.FreeTimeBands();
    EXPECT_EQ(m.view.timeBands, nullptr);
    EXPECT_EQ(m.view.currentBand, nullptr);
    m.view.FreePanes();
    EXPECT_EQ(m.view.panes, nullptr);
    EXPECT_EQ(m.view.currentPane, nullptr);
}

TEST(GraphModel, DestructionFreesWhateverTheMode)
{
    // The sanitizer build finds anything left behind.
    Model m;
    m.view.SetMode(true, kModeRedrawing, 0, 0, 0);
    float levels[5] = {1, 2, 3, 4, 5};
    SetPaneLevels(m.pane, 3, levels);
    AddSeriesTimeScale(m.second, 2);
    m.second->timeScale->xTable = static_cast<int32_t*>(ProCalloc(4, sizeof(int32_t), "test"));
}

TEST(GraphModel, GridLinesKeepFixedLevelsInReversedOrder)
{
    GridLine* list = nullptr;
    AddGridLine(list)->flags = kGridFixedLevel;
    list->value = 1;
    AddGridLinePixel(list, 0, 40);
    AddGridLine(list)->flags = kGridFixedLevel;
    list->value = 2;
    EXPECT_EQ(list->next->flags, uint32_t(kGridPixel));
    EXPECT_EQ(FreeGridLines(list, true), 2);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->value, 1);
    EXPECT_EQ(list->next->value, 2);
    EXPECT_EQ(FreeGridLines(list, false), 0);
    EXPECT_EQ(list, nullptr);

    GraphPane pane{};
    float levels[5] = {10, 20, 30, 40, 50};
    SetPaneLevels(&pane, 7, levels);
    EXPECT_EQ(pane.fixedLevelCount, 7);
    int n = 0;
    for (GridLine* g = pane.gridLines; g; g = g->next, ++n)
        EXPECT_EQ(g->flags, uint32_t(kGridFixedLevel));
    EXPECT_EQ(n, 5);
    SetPaneLevels(&pane, 2, levels);
    EXPECT_EQ(pane.gridLines->value, 20);
    EXPECT_EQ(pane.gridLines->next->value, 10);
    FreeGridLines(pane.gridLines, false);
}

TEST(GraphModel, LevelValuesCopy)
{
    const float source[4] = {1, 2, 3, 4};
    float to[4] = {9, 9, 9, 9};
    CopyLevelValues(to, source, false);
    EXPECT_EQ(to[3], 4);
    CopyLevelValues(to, source, true);
    EXPECT_EQ(to[0], 4);
    EXPECT_EQ(to[2], 4);
    CopyLevelValues(to, nullptr, false);
    EXPECT_EQ(to[0] + to[1] + to[2] + to[3], 0);
}

TEST(GraphModel, ValueToRow)
{
    TestView view;
    struct Case {
        ValueRange range;
        float value;
        bool clamp;
        int32_t row;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {Range(0, 100, 0, 100), 50, false, 50},
        {Range(0, 100, 0, 100), 0, false, 100},
        {Range(0, 100, 0, 100), 150, true, 0},
        {Range(0, 100, 0, 100), -5, true, 100},
        {Range(0, 100, 10, 110), 150, false, -40},
        // Logarithmic 10..1000: 100 lies halfway.
        {Range(10, 1000, 0, 200, kRangeLogarithmic), 100, false, 100},
        {Range(10, 1000, 0, 200, kRangeLogarithmic), 5000, true, 0},
        {Range(10, 1000, 0, 200, kRangeLogarithmic), 1000, false, 0},
        // Logarithmic -50..200: eps 0.2, 0 and 0.1 map to the zero row; -50 is as far below it as 50 above.
        {Range(-50, 200, 0, 300, kRangeLogarithmic), 0, false, 167},
        {Range(-50, 200, 0, 300, kRangeLogarithmic), 0.1f, false, 167},
        {Range(-50, 200, 0, 300, kRangeLogarithmic), 250, true, 0},
        // A range too small for eps: every mapped value is 0, the range is degenerate.
        {Range(0.00001f, 0.00002f, 0, 100, kRangeLogarithmic), 0.000015f, false, 0},
        {Range(5, 5, 0, 100), 5, false, 0},
        // Far off values and infinities keep to a wide span about the pane.
        {Range(0, 1, 0, 100), 1e30f, false, -(1 << 20)},
        {Range(0, 1, 0, 100), -inf, false, 100 + (1 << 20)},
        {Range(0, 1, 0, 100), inf, false, -(1 << 20)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(view.ValueToY(&c.range, c.value, c.clamp), c.row)
            << c.range.minimum << ".." << c.range.maximum << " value " << c.value;
    EXPECT_EQ(view.ValueToY(nullptr, 5, false), 0);

    ValueRange mixed = Range(-50, 200, 0, 300, kRangeLogarithmic);
    int zero = view.ValueToY(&mixed, 0, false);
    EXPECT_NEAR(view.ValueToY(&mixed, -50, false) - zero, zero - view.ValueToY(&mixed, 50, false), 1);
}

TEST(GraphModel, RowToValue)
{
    TestView view;
    ValueRange linear = Range(0, 100, 0, 100);
    EXPECT_FLOAT_EQ(view.YToValue(&linear, 25), 75);
    ValueRange whole = Range(0, 10, 0, 100, kRangeWholeNumbers);
    EXPECT_FLOAT_EQ(view.YToValue(&whole, 33), 7);
    EXPECT_FLOAT_EQ(view.YToValue(&whole, 36), 6);
    ValueRange log = Range(10, 1000, 0, 200, kRangeLogarithmic);
    EXPECT_NEAR(view.YToValue(&log, 100), 100, 0.01);
    ValueRange mixed = Range(-50, 200, 0, 300, kRangeLogarithmic);
    EXPECT_LT(view.YToValue(&mixed, 200), 0);
    EXPECT_GT(view.YToValue(&mixed, 100), 0);
    ValueRange flat = Range(3, 9, 50, 50);
    EXPECT_FLOAT_EQ(view.YToValue(&flat, 10), 3);
    EXPECT_FLOAT_EQ(view.YToValue(nullptr, 10), 0);
}

TEST(GraphModel, PixelsAndBars)
{
    TestView view;
    struct Case {
        TimeScale scale;
        int32_t x;
        int32_t index;
    };
    const Case toIndex[] = {
        {{0, 0, 10, 100, 200, nullptr}, 150, 5},
        {{0, 0, 10, 100, 200, nullptr}, 104, 0},
        {{0, 0, 10, 100, 200, nullptr}, 106, 1},
        {{0, 5, 15, 100, 100, nullptr}, 300, 5},
        {{0, 5, 15, 100, 90, nullptr}, 300, 5},
        {{0, 7, 7, 0, 100, nullptr}, 50, 7},
    };
    for (const Case& c : toIndex)
        EXPECT_EQ(view.XToIndexScale(&c.scale, c.x), c.index) << c.x;
    const Case toX[] = {
        {{0, 0, 10, 100, 200, nullptr}, 150, 5},
        {{0, 10, 20, 0, 100, nullptr}, 50, 15},
        // A scale of one index gives its left pixel rather than dividing by zero.
        {{0, 7, 7, 40, 100, nullptr}, 40, 9},
    };
    for (const Case& c : toX)
        EXPECT_EQ(view.IndexToXScale(&c.scale, c.index), c.x) << c.index;
    int32_t table[3] = {3, 30, 300};
    TimeScale tabled = {0, 4, 6, 0, 100, table};
    EXPECT_EQ(view.IndexToXScale(&tabled, 5), 30);

    EXPECT_EQ(view.XToBar(50), 0);
    EXPECT_EQ(view.BarToX(50), 0);
    // Bands in list order: the last whose left pixel is not right of x.
    TimeBand* left = NewTimeBand(0);
    TimeBand* right = NewTimeBand(0);
    left->next = right;
    left->left = 0;
    left->firstBar = 0;
    left->scale = {0, 0, 10, 0, 100, nullptr};
    right->left = 101;
    right->firstBar = 100;
    right->scale = {0, 0, 10, 101, 201, nullptr};
    view.timeBands = left;
    EXPECT_EQ(view.XToBar(50), 5);
    EXPECT_EQ(view.XToBar(151), 105);
    EXPECT_EQ(view.XToBar(-20), -1);
    EXPECT_EQ(view.BarToX(103), 131);
    EXPECT_EQ(view.BarToX(-3), -29);
    view.SetMode(true, 0, 0, 0, kRedrawAll);
}

TEST(GraphModel, ScaledTextSize)
{
    TestView view;
    view.baseTextSize = 12;
    EXPECT_EQ(view.ScaledTextSize(20, 10), 12);
    EXPECT_EQ(view.ScaledTextSize(20, 0), 12);
    EXPECT_EQ(view.ScaledTextSize(10, 20), 6);
    EXPECT_EQ(view.ScaledTextSize(1, 20), 2);
    EXPECT_EQ(view.ScaledTextSize(-5, 20), 2);
}

TEST(GraphModel, HitTestFindsPaneBandAndSeries)
{
    Model m;
    GraphPane* lower = m.view.AddPane(2);
    lower->left = 0;
    lower->top = 50;
    lower->right = 99;
    lower->bottom = 99;
    GraphSeries* lowerSeries = AddSeries(nullptr, lower, 0x300);
    GraphPane* pane = nullptr;
    TimeBand* band = nullptr;
    GraphSeries* series = nullptr;
    m.view.HitTestPane(99, 49, &pane, &band, &series);
    EXPECT_EQ(pane, m.pane);
    EXPECT_EQ(band, m.band);
    EXPECT_EQ(series, m.first);
    // Shared edge rows go to the first pane in the list: the one added last.
    m.view.HitTestPane(10, 49, &pane, &band, &series);
    EXPECT_EQ(pane, m.pane);
    m.view.HitTestPane(10, 50, &pane, &band, &series);
    EXPECT_EQ(pane, lower);
    EXPECT_EQ(series, nullptr);
    m.band->shown = 0;
    m.view.HitTestPane(10, 60, &pane, &band, &series);
    EXPECT_EQ(band, nullptr);
    EXPECT_EQ(series, lowerSeries);
    m.view.HitTestPane(10, 500, &pane, &band, &series);
    EXPECT_EQ(pane, nullptr);
    EXPECT_EQ(band, nullptr);
    EXPECT_EQ(series, nullptr);
    m.band->shown = 1;
    m.view.lastMouseX = 5;
    m.view.lastMouseY = 5;
    m.view.OnSetFocus();
    EXPECT_EQ(m.view.currentSeries, m.first);
    m.view.OnGraphKillFocus();
    EXPECT_EQ(m.view.currentPane, nullptr);
    EXPECT_EQ(m.view.currentSeries, nullptr);
    ProFree(lowerSeries);
}

TEST(ChartModes, TableNamesAndCursors)
{
    struct Case {
        uint32_t mode, subtype, cursor;
        const char* name;
    };
    const Case cases[] = {
        {0, 0, 32512, "Not busy"},
        {3, 0, 1706, "Previous share"},
        {4, 0, 1707, "Next share"},
        {5, 0, 32644, "Time range select"},
        {7, 0, 32646, "Scrolling graph"},
        {9, 0, 1713, "Edit Price"},
        {9, 4, 1724, "Edit Close"},
        {9, 5, 0, ""},
        {10, 8, 32515, "Percentage change line"},
        {11, 0, 32515, "Andrew's pitchfork"},
        {12, 0, 780, "Graph text"},
        {13, 0, 32512, "Undefined"},
        {13, 1, 0, ""},
        {14, 0, 0, ""},
        {2, 9, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChartModeTable(c.mode, c.subtype).cursor, c.cursor) << c.mode << "/" << c.subtype;
        std::string name = "old";
        GetModeName(name, c.mode, c.subtype);
        EXPECT_EQ(name, c.name);
    }
}

TEST(ChartModes, CancelRefusesDuringARedrawAndCursorsChangeOnlyWithTheirId)
{
    TestView view;
    view.SetMode(true, kModeRedrawing, 0, 0, kRedrawAll);
    EXPECT_FALSE(view.CancelMode());
    EXPECT_EQ(view.modeRecord.mode, uint32_t(kModeRedrawing));
    EXPECT_TRUE(view.cursors.empty());

    EXPECT_EQ(view.SetMode(true, kModeEditPrice, 2, 1, 0x30), 0x30u);
    view.UpdateCursor(false);
    view.UpdateCursor(false);
    ASSERT_EQ(view.cursors, std::vector<uint32_t>{kCursorEditHigh});
    EXPECT_EQ(view.titles, 1);
    view.UpdateCursor(true);
    EXPECT_EQ(view.cursors.size(), 2u);

    EXPECT_TRUE(view.CancelMode());
    EXPECT_EQ(view.modeRecord.active, 0);
    EXPECT_EQ(view.modeRecord.mask, 0u);
    EXPECT_EQ(view.cursors.back(), uint32_t(kCursorArrow));
    EXPECT_EQ(view.currentCursor, uint32_t(kCursorArrow));
    // An inactive redraw record does not block the cancel.
    view.SetMode(false, kModeRedrawing, 0, 0, 0);
    EXPECT_TRUE(view.CancelMode());
}

TEST(DataArray, ElementSizesAndOwnership)
{
    const uint32_t sizes[] = {0, 4, 4, 8, 20, 16, 36, 24, 0, 12, 12, 0};
    for (uint32_t type = 0; type < 12; ++type)
        EXPECT_EQ(DataArrayElementSize(type), sizes[type]) << type;
    DataArray a;
    EXPECT_NE(InitDataArray(a, kArrayDaily, 3, 7, 8), nullptr);
    EXPECT_EQ(a.ownsData, 1u);
    EXPECT_EQ(a.paramA, 7u);
    FreeDataArray(a);
    EXPECT_EQ(a.count, 0);
    EXPECT_EQ(a.data, nullptr);
    EXPECT_EQ(InitDataArray(a, kArrayNone, 3, 0, 0), nullptr);
    EXPECT_EQ(InitDataArray(a, kArrayBars, 0, 0, 0), nullptr);
}
