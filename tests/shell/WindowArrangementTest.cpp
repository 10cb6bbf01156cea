// Tests of the window arrangement on fixed area rectangles.
#include "shell/WindowArrangement.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>
#include <vector>

namespace qv {

// Found by the test framework's printer through the rectangle's namespace.
static std::ostream& operator<<(std::ostream& os, const ScreenRect& r)
{
    return os << '{' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '}';
}

namespace {

const ScreenRect kArea{0, 0, 800, 600};

WindowChain Chain(std::vector<ScreenRect> rects, int32_t kind = kViewList)
{
    WindowChain chain;
    for (const ScreenRect& r : rects)
        chain.push_back({r, kind, false, chain.size()});
    return chain;
}

std::vector<ScreenRect> Rects(const WindowChain& chain)
{
    std::vector<ScreenRect> v;
    for (const ArrangedWindow& w : chain)
        v.push_back(w.rect);
    return v;
}

bool Overlap(const ScreenRect& a, const ScreenRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void ExpectNoOverlapInside(const WindowChain& chain, const ScreenRect& area)
{
    for (size_t i = 0; i < chain.size(); ++i) {
        const ScreenRect& r = chain[i].rect;
        EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom);
        for (size_t j = i + 1; j < chain.size(); ++j)
            EXPECT_FALSE(Overlap(r, chain[j].rect)) << i << " and " << j;
    }
}

TEST(WindowArrangement, TilesInRowsAndColumns)
{
    WindowChain one = Chain({{10, 10, 50, 50}});
    TileWindowsInRows(one, kArea);
    EXPECT_EQ(Rects(one), (std::vector<ScreenRect>{{0, 0, 798, 600}}));

    // Five windows: three rows of 1, 2 and 2 as the count per row grows.
    WindowChain five = Chain(std::vector<ScreenRect>(5, ScreenRect{0, 0, 100, 100}));
    TileWindowsInRows(five, kArea);
    EXPECT_EQ(Rects(five), (std::vector<ScreenRect>{{0, 0, 798, 200},
                                                     {0, 200, 400, 400},
                                                     {400, 200, 798, 400},
                                                     {0, 400, 400, 598},
                                                     {400, 400, 798, 598}}));
    TileWindowsInColumns(five, kArea);
    EXPECT_EQ(Rects(five), (std::vector<ScreenRect>{{0, 0, 266, 598},
                                                     {266, 0, 532, 300},
                                                     {266, 300, 532, 598},
                                                     {532, 0, 798, 300},
                                                     {532, 300, 798, 598}}));
}

TEST(WindowArrangement, SnapsEdgesWithinElevenPixels)
{
    const struct {
        int32_t offset;
        int32_t snappedTop;
    } cases[] = {{11, 100}, {-11, 100}, {12, 112}, {0, 100}};
    for (const auto& c : cases) {
        WindowChain chain = Chain({{0, 100, 200, 300}, {400, 100 + c.offset, 600, 500}});
        SnapWindowEdges(chain);
        EXPECT_EQ(chain[1].rect.top, c.snappedTop) << c.offset;
        EXPECT_EQ(chain[0].rect, (ScreenRect{0, 100, 200, 300})) << "the first window never moves";
    }
}

TEST(WindowArrangement, NewWindowFromAChartGoesBelowItElseTakesItsLowerHalf)
{
    WindowChain chain = Chain({{0, 0, 800, 300}}, kViewDailyChart);
    std::optional<ScreenRect> below = FindNewWindowRect(chain, kArea, 0, true, true);
    ASSERT_TRUE(below);
    EXPECT_EQ(*below, (ScreenRect{0, 300, 800, 600}));
    EXPECT_EQ(chain[0].rect, (ScreenRect{0, 0, 800, 300}));

    chain = Chain({{0, 0, 800, 600}}, kViewDailyChart);
    std::optional<ScreenRect> half = FindNewWindowRect(chain, kArea, 0, true, true);
    ASSERT_TRUE(half);
    EXPECT_EQ(*half, (ScreenRect{0, 300, 800, 600}));
    EXPECT_EQ(chain[0].rect, (ScreenRect{0, 0, 800, 300}));

    // Other kinds go to the right, or take the right half.
    chain = Chain({{0, 0, 400, 600}});
    EXPECT_EQ(FindNewWindowRect(chain, kArea, 0, true, true), (ScreenRect{400, 0, 800, 600}));
    chain = Chain({{0, 0, 800, 600}});
    EXPECT_EQ(FindNewWindowRect(chain, kArea, 0, true, true), (ScreenRect{400, 0, 800, 600}));
    EXPECT_EQ(chain[0].rect, (ScreenRect{0, 0, 400, 600}));

    // Near the source without splitting, or with a half under 60 pixels: the default placement.
    chain = Chain({{0, 0, 800, 600}});
    EXPECT_FALSE(FindNewWindowRect(chain, kArea, 0, true, false));
    chain = Chain({{0, 0, 100, 600}, {100, 0, 800, 600}});
    EXPECT_FALSE(FindNewWindowRect(chain, kArea, 0, true, true));
    EXPECT_EQ(chain[0].rect, (ScreenRect{0, 0, 100, 600}));
}

TEST(WindowArrangement, FreeSpaceTakesTheLargestRectangleAndNeverASliver)
{
    WindowChain none;
    EXPECT_FALSE(FindNewWindowRect(none, kArea, -1, false, false)) << "no windows: default";
    WindowChain chain = Chain({{0, 0, 400, 600}, {400, 0, 800, 200}});
    EXPECT_EQ(FindNewWindowRect(chain, kArea, -1, false, false), (ScreenRect{400, 200, 800, 600}));

    // The strip below is larger than the column on the right, but only 40 pixels high.
    const ScreenRect wide{0, 0, 1000, 600};
    chain = Chain({{0, 0, 940, 560}});
    EXPECT_EQ(FindNewWindowRect(chain, wide, -1, false, false), (ScreenRect{940, 0, 1000, 560}));
    chain = Chain({{0, 0, 960, 560}});
    EXPECT_FALSE(FindNewWindowRect(chain, wide, -1, false, false)) << "only slivers are free";
}

TEST(WindowArrangement, CascadeWrapsToANewColumn)
{
    const ScreenRect area{0, 0, 300, 300};
    WindowChain chain = Chain(std::vector<ScreenRect>(7, ScreenRect{}));
    CascadeWindows(chain, area);
    const int32_t corners[][2] = {{0, 0}, {30, 30}, {60, 60}, {90, 90}, {40, 0}, {70, 30}, {100, 60}};
    for (size_t i = 0; i < chain.size(); ++i) {
        EXPECT_EQ(chain[i].rect.left, corners[i][0]) << i;
        EXPECT_EQ(chain[i].rect.top, corners[i][1]) << i;
        EXPECT_EQ(chain[i].rect.width(), 200);
        EXPECT_EQ(chain[i].rect.height(), 200);
    }
}

TEST(WindowArrangement, RemovingOverlapsLeavesAWhollyCoveredWindowAlone)
{
    WindowChain chain = Chain({{0, 0, 400, 400}, {100, 100, 200, 200}, {300, 300, 600, 500}});
    RemoveWindowOverlaps(chain);
    EXPECT_EQ(chain[1].rect, (ScreenRect{100, 100, 200, 200}));
    EXPECT_FALSE(Overlap(chain[0].rect, chain[1].rect));
    EXPECT_FALSE(Overlap(chain[0].rect, chain[2].rect));
}

TEST(WindowArrangement, GrowingFillsTheAreaWithoutOverlaps)
{
    WindowChain chain = Chain({{0, 0, 100, 100}, {500, 0, 600, 100}, {200, 300, 300, 400}, {650, 450, 780, 590}});
    ArrangeWindows(kCommandArrangeFill, chain, kArea);
    ExpectNoOverlapInside(chain, kArea);
    int64_t covered = 0;
    for (const ArrangedWindow& w : chain)
        covered += w.rect.area();
    EXPECT_EQ(covered, kArea.area());
}

TEST(WindowArrangement, AFixedHeightTickerKeepsItsHeightAndSortsFirst)
{
    WindowChain chain = Chain({{0, 0, 300, 200}, {0, 500, 400, 680}});
    chain[1].kind = kViewTicker;
    chain[1].fixedHeight = true;
    ArrangeWindows(kCommandArrangeFill, chain, kArea);
    ASSERT_EQ(chain[0].kind, kViewTicker);
    EXPECT_EQ(chain[0].rect.height(), 180);
    EXPECT_EQ(chain[0].rect.bottom, 600);
    ExpectNoOverlapInside(chain, kArea);
}

TEST(WindowArrangement, EdgesGrowOnlyIntoFreeSpace)
{
    // The window below two others of different depth stops at the nearer one.
    WindowChain chain = Chain({{0, 0, 400, 100}, {400, 0, 800, 250}, {0, 400, 800, 600}});
    RectNode* freeList = ComputeFreeRects(chain, kArea);
    ScreenRect r = chain[2].rect;
    EXPECT_EQ(GrowRectEdge(r, kEdgeUp, &freeList), 0);
    EXPECT_EQ(r, (ScreenRect{0, 250, 800, 600}));
    int32_t before = CountRects(freeList);
    ScreenRect blocked = chain[0].rect;
    EXPECT_EQ(GrowRectEdge(blocked, kEdgeRight, &freeList), -1);
    EXPECT_EQ(blocked, chain[0].rect);
    EXPECT_EQ(CountRects(freeList), before);
    FreeRectList(&freeList);
}

TEST(WindowArrangement, TakeFreeRectByMode)
{
    const struct {
        int32_t mode, x, y;
        int32_t index;
        ScreenRect taken;
    } cases[] = {
        {kFirstRect, 0, 0, 0, {0, 0, 10, 300}},
        {kLargestRect, 0, 0, 1, {0, 0, 100, 100}},
        {kTallestRect, 0, 0, 0, {0, 0, 10, 300}},
        {kWidestRect, 0, 0, 2, {0, 0, 300, 10}},
        {kRectAtPoint, 5, 5, 2, {0, 0, 300, 10}},
        {kRectAtPoint, 500, 500, -1, {}},
    };
    for (const auto& c : cases) {
        RectNode* list = nullptr;
        AddRect(&list, 0, 300, 0, 10);
        AddRect(&list, 0, 100, 0, 100);
        AddRect(&list, 0, 10, 0, 300);
        ScreenRect out;
        EXPECT_EQ(TakeFreeRect(&list, &out, c.mode, c.x, c.y), c.index) << c.mode;
        if (c.index >= 0) {
            EXPECT_EQ(out, c.taken) << c.mode;
            EXPECT_EQ(CountRects(list), 2);
        }
        FreeRectList(&list);
    }
}

} // namespace
} // namespace qv
