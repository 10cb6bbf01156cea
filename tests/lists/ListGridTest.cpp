// The list grid: column positions, visible rows, bands, scroll ranges; the heading rules.
#include "core/ColumnDef.h"
#include "lists/ListGrid.h"
#include "lists/ListHeadings.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

std::vector<uint8_t> LayoutOfWidths(std::initializer_list<uint16_t> widths)
{
    std::vector<uint8_t> layout;
    for (uint16_t w : widths) {
        ColumnDefSpec spec = ColumnOf(kColumnField, 15);
        spec.width = w;
        AppendColumnDef(layout, spec);
    }
    layout.push_back(0);
    return layout;
}

// Every character is 6 pixels wide, lines 13 high.
class FixedMetrics : public TextMetrics {
public:
    int TextWidth(std::string_view text) const override { return int(text.size()) * 6; }
    int LineHeight() const override { return 13; }
};

} // namespace

TEST(ListGrid, WidthsOutsideTheirRangeAreRewrittenInTheRecord)
{
    auto layout = LayoutOfWidths({0, 30000, 50, 20000});
    ListGrid grid;
    grid.LayoutGridNormal(layout.data(), 0, 0, 0);
    EXPECT_EQ(ColumnDefWidth(GetColumnDef(layout.data(), 0)), 10);
    EXPECT_EQ(ColumnDefWidth(GetColumnDef(layout.data(), 1)), 10);
    EXPECT_EQ(ColumnDefWidth(GetColumnDef(layout.data(), 3)), 20000);
    EXPECT_EQ(grid.columnX(2), 20);
    EXPECT_EQ(grid.columnX(4), 20070);

    // Printing scales the positions: 144 printer pixels to the screen's 72.
    grid.LayoutGridNormal(layout.data(), 0, 0, 144);
    EXPECT_EQ(grid.columnX(3), 140);
}

TEST(ListGrid, BandsNeededForTheRows)
{
    auto layout = LayoutOfWidths({50, 50});
    struct Case {
        int rows;
        int bands;
    };
    for (Case c : {Case{25, 3}, Case{20, 2}, Case{0, 1}, Case{5, 1}}) {
        ListGrid grid;
        grid.LayoutGridBanded(layout.data(), c.rows, 0);
        // 10 rows of 16 below a top of 20.
        grid.FitGridToRect({0, 0, 2000, 180}, 20, 16, false);
        EXPECT_EQ(grid.visibleRows(), 10);
        EXPECT_EQ(grid.bandsNeeded(), c.bands) << c.rows << " rows";
        EXPECT_EQ(grid.GridVisibleRows(), 0);
        EXPECT_EQ(grid.GridVerticalRange(), 0);
    }
}

TEST(ListGrid, AWindowShorterThanOneRowNeedsNoBands)
{
    auto layout = LayoutOfWidths({50});
    ListGrid grid;
    grid.LayoutGridBanded(layout.data(), 25, 0);
    grid.FitGridToRect({0, 0, 300, 30}, 20, 16, false);
    EXPECT_EQ(grid.visibleRows(), 0);
    EXPECT_EQ(grid.bandsNeeded(), 0);
    EXPECT_EQ(grid.UpdateGridVisibleRange(0).rowCount, 0);
}

TEST(ListGrid, LeftoverPixelsSpreadOverTheRows)
{
    auto layout = LayoutOfWidths({50});
    ListGrid grid;
    grid.LayoutGridNormal(layout.data(), 0, 100, 0);
    // 10 rows of 16 and 7 pixels over, printing (no scroll bars).
    grid.FitGridToRect({0, 0, 300, 20 + 167}, 20, 16, true);
    ASSERT_EQ(grid.visibleRows(), 10);
    EXPECT_EQ(grid.leftover(), 7);
    EXPECT_EQ(grid.RowTop(9), 20 + 144 + 6);
    EXPECT_EQ(grid.RowTop(0), 20);
    EXPECT_EQ(grid.GridPageCount(), 10);
}

TEST(ListGrid, ScrollBarsOnlyWhereNeeded)
{
    auto layout = LayoutOfWidths({100, 100, 100});
    ListGrid grid;
    grid.SetScrollBarSizes(12, 12);
    grid.LayoutGridNormal(layout.data(), 0, 5, 0);
    grid.FitGridToRect({0, 0, 400, 200}, 20, 16, false);
    EXPECT_FALSE(grid.verticalBar());
    EXPECT_FALSE(grid.horizontalBar());

    grid.LayoutGridNormal(layout.data(), 0, 50, 0);
    grid.FitGridToRect({0, 0, 400, 200}, 20, 16, false);
    EXPECT_TRUE(grid.verticalBar());
    EXPECT_EQ(grid.table().right, 388);
    EXPECT_EQ(grid.GridVerticalRange(), 48);
    EXPECT_EQ(grid.GetGridMaxFirstRow(), 50 - 11);
    grid.SetGridFirstRow(1000);
    EXPECT_EQ(grid.firstRow(), 39);

    // Columns wider than the window: a horizontal bar, and scrolling stops once the last fits.
    grid.FitGridToRect({0, 0, 250, 200}, 20, 16, false);
    EXPECT_TRUE(grid.horizontalBar());
    EXPECT_EQ(grid.GetGridMaxScrollPos(), 1);
    grid.SetGridScrollPos(5);
    EXPECT_EQ(grid.scrollPos(), 1);
    EXPECT_EQ(grid.firstColumn(), 1);
    EXPECT_EQ(grid.GridColumnFromX(5), 1);
    EXPECT_EQ(grid.GridColumnFromX(110), 2);
}

TEST(ListGrid, FrozenColumnsStayWhileTheRestScroll)
{
    auto layout = LayoutOfWidths({80, 100, 100, 100});
    ListGrid grid;
    grid.SetScrollBarSizes(12, 12);
    grid.LayoutGridNormal(layout.data(), 1, 3, 0);
    grid.FitGridToRect({0, 0, 250, 200}, 20, 16, false);
    ASSERT_TRUE(grid.frozenPart());
    grid.SetGridScrollPos(1);
    GridBand frozen = grid.UpdateGridVisibleRange(0);
    GridBand scrolled = grid.UpdateGridVisibleRange(1);
    EXPECT_EQ(frozen.firstColumn, 0);
    EXPECT_EQ(frozen.lastColumn, 0);
    EXPECT_EQ(scrolled.firstColumn, 2);
    EXPECT_EQ(grid.columnX(2) + scrolled.xOffset, 80);
    EXPECT_EQ(grid.GridColumnFromX(40), 0);
    EXPECT_EQ(grid.GridColumnFromX(90), 2);
}

TEST(ListGrid, BandedScrollingRunsAcrossBands)
{
    auto layout = LayoutOfWidths({100, 100});
    ListGrid grid;
    grid.SetScrollBarSizes(12, 12);
    grid.LayoutGridBanded(layout.data(), 40, 0);
    grid.FitGridToRect({0, 0, 450, 200}, 20, 16, false);
    // 10 rows above the horizontal bar: 4 bands of 203 pixels, 2 whole ones visible.
    EXPECT_TRUE(grid.horizontalBar());
    EXPECT_EQ(grid.bandsNeeded(), 4);
    grid.SetGridScrollPos(2);
    EXPECT_EQ(grid.firstBand(), 1);
    EXPECT_EQ(grid.firstColumn(), 0);
    GridBand b = grid.UpdateGridVisibleRange(1);
    EXPECT_EQ(b.firstRow, grid.visibleRows());
    EXPECT_EQ(grid.columnX(0) + b.xOffset, 0);
    EXPECT_GE(grid.lastBand(), 2);
}

// On paper the last page starts where the one before ended: its first row and a banded page's first
// column are not pulled back to fill the page, and a column that does not fit whole goes to the
// next page.
TEST(ListGrid, PrintedPagesNeitherRepeatNorDropAnything)
{
    auto layout = LayoutOfWidths({60, 60, 60});
    ListGrid normal;
    normal.LayoutGridNormal(layout.data(), 0, 25, 0);
    normal.FitGridToRect({0, 0, 500, 100}, 0, 10, true);
    ASSERT_EQ(normal.GridPageCount(), 3);
    normal.SetGridFirstRow(20);
    EXPECT_EQ(normal.firstRow(), 20);
    EXPECT_EQ(normal.UpdateGridVisibleRange(0).rowCount, 5);

    // Bands of 10 rows, 3 columns of 60 plus a gap of 3; a page 250 wide holds four columns whole.
    ListGrid banded;
    banded.LayoutGridBanded(layout.data(), 25, 0);
    banded.FitGridToRect({0, 0, 250, 100}, 0, 10, true);
    ASSERT_EQ(banded.bandsNeeded(), 3);
    const int pages = banded.GridPageCount();
    int next = 0;
    for (int page = 1; page <= pages; ++page) {
        ASSERT_EQ(banded.GridPageStart(page), next) << page;
        banded.SetGridScrollPos(next);
        EXPECT_EQ(banded.scrollPos(), next) << page;
        next = banded.lastColumn() + 1;
    }
    EXPECT_EQ(next, 9) << "every column of every band printed once";
    EXPECT_EQ(pages, 3);
}

// Columns beyond the page's width print on pages of their own, the frozen ones repeated on each;
// a column wider than the page has a page to itself, cut at the edge, rather than none.
TEST(ListGrid, ColumnsWiderThanThePagePrintOnPagesAcross)
{
    struct Case {
        std::vector<uint16_t> widths;
        int frozen;
        std::vector<int> starts;    // the scroll position of each page of columns
        std::vector<int> lastShown; // the last column each shows
    };
    const std::vector<Case> cases = {
        {{60, 60, 60}, 0, {0}, {2}},
        {{100, 100, 100, 100}, 0, {0, 2}, {1, 3}},
        {{40, 100, 100, 100}, 1, {0, 2}, {2, 3}},
        {{40, 100, 150, 100}, 1, {0, 1, 2}, {1, 2, 3}},
        {{60, 300, 60}, 0, {0, 1, 2}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> layout;
        for (uint16_t w : c.widths) {
            ColumnDefSpec spec = ColumnOf(kColumnField, 15);
            spec.width = w;
            AppendColumnDef(layout, spec);
        }
        layout.push_back(0);
        ListGrid grid;
        grid.LayoutGridNormal(layout.data(), c.frozen, 5, 0);
        grid.FitGridToRect({0, 0, 250, 100}, 0, 10, true);
        ASSERT_EQ(grid.GridColumnPageStarts(), c.starts) << c.widths.size() << " columns, frozen " << c.frozen;
        for (size_t page = 0; page < c.starts.size(); ++page) {
            grid.SetGridScrollPos(c.starts[page]);
            EXPECT_EQ(grid.lastColumn(), c.lastShown[page]) << "page " << page;
        }
    }
}

TEST(ListHeadings, WrapsAtBlanksNeverAtUnderscores)
{
    FixedMetrics m;
    EXPECT_EQ(WrapHeading("Price change", 80, m), (std::vector<std::string>{"Price change"}));
    EXPECT_EQ(WrapHeading("Price change", 40, m), (std::vector<std::string>{"Price", "change"}));
    EXPECT_EQ(WrapHeading("Div_yield pct", 60, m), (std::vector<std::string>{"Div yield", "pct"}));
    // A word wider than the column stays whole on its own line.
    EXPECT_EQ(WrapHeading("Capitalisation x", 30, m), (std::vector<std::string>{"Capitalisation", "x"}));
}

TEST(ListHeadings, HeightIsTheTallestWrappedHeadingAtLeast15)
{
    FixedMetrics m;
    auto layout = LayoutOfWidths({44, 200});
    ListGrid grid;
    grid.LayoutGridNormal(layout.data(), 0, 0, 0);
    ListHeadings headings;
    headings.texts = {"Mid price pence", "Name"};
    EXPECT_EQ(headings.MeasureHeadingHeight(grid, m, true), 3 * 13);
    headings.texts = {"", ""};
    EXPECT_EQ(headings.MeasureHeadingHeight(grid, m, true), 15);
}

TEST(ListHeadings, HighlightColoursAndTheSortTriangle)
{
    // RGB(10, 36, 106) lightened: 7/10 white when hot, 5/10 when pressed.
    EXPECT_EQ(HeadingHighlightColour(false), uint32_t(181 | 189 << 8 | 210 << 16));
    EXPECT_EQ(HeadingHighlightColour(true), uint32_t(132 | 145 << 8 | 180 << 16));

    struct Case {
        int direction;
        bool textColumn;
        bool up;
    };
    for (Case c : {Case{1, true, true}, Case{-1, false, true}, Case{1, false, false}, Case{-1, true, false}}) {
        SortTriangle t = SortTriangleFor(100, 50, c.direction, c.textColumn);
        EXPECT_EQ(t.apexUp, c.up);
        EXPECT_EQ(t.x[1], 90);
        EXPECT_EQ(t.y[1], c.up ? 40 : 45);
        EXPECT_EQ(t.y[0], c.up ? 45 : 40);
        EXPECT_EQ(t.x[0], 85);
        EXPECT_EQ(t.x[2], 95);
    }
}
