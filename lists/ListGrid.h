// The geometry of a list table: column positions from a column layout, the rows and columns a
// rectangle shows, scroll ranges and pages. Two arrangements: one table with frozen columns at the
// left, or the whole set of columns repeated side by side in bands with the rows flowing from the
// bottom of one band to the top of the next.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
};

// What one band draws (in normal mode band 0 is the frozen part and band 1 the scrolled one when
// columns are frozen). Column indexes are those of the layout; x of column c is x[c] + xOffset.
struct GridBand {
    int firstColumn = 0;
    int lastColumn = -1;
    int xOffset = 0;
    int firstRow = 0;
    int rowCount = 0;
};

class ListGrid {
public:
    static constexpr int kMaxColumns = 120;
    static constexpr int kBandGap = 3;

    // Fill the column table from the layout; a width above 20000 or below 10 is first rewritten to
    // 10 in the record itself. printScale 0 on screen, else printer pixels per inch x 72 / screen's.
    void LayoutGridNormal(uint8_t* layout, int frozen, int rows, int printScale);
    void LayoutGridBanded(uint8_t* layout, int rows, int printScale, int gap = kBandGap);

    // Visible rows, scroll bars and bands for the rectangle, then the scroll position and first row
    // again. A rectangle shorter than one row shows no rows and needs no bands.
    void FitGridToRect(const GridRect& table, int rowsTop, int rowHeight, bool printing);
    void SetGridScrollPos(int position);
    void SetGridFirstRow(int row);
    GridBand UpdateGridVisibleRange(int band) const;

    int GridBandFromX(int x) const;
    int GridColumnFromX(int x) const;     // a column index across bands; -1 outside
    int GridColumnsPerPage() const;
    int GridScrollRange() const;
    int GetGridMaxScrollPos() const;
    int GridVisibleRows() const;          // 0 in banded mode
    int GridVerticalRange() const;        // rows - 2, 0 in banded mode or without rows
    int GetGridMaxFirstRow() const;
    int GridPageCount() const;
    // The scroll position of a printed page (from 1) in banded mode: where the previous page's last
    // column ends; 0 in normal mode.
    int GridPageStart(int page) const;
    // Printing in normal mode: the scroll position of each page of columns, the frozen columns
    // repeated on every page, so that columns beyond the page's width print on pages of their own.
    std::vector<int> GridColumnPageStarts() const;
    // The last column (across bands) shown from `start` on; a column that alone is wider than the
    // table counts, cut at the table's edge, so that it is shown at all.
    int GridLastColumnFrom(int start, int offset) const;

    // Top of row i of a band (from 0), the leftover pixels spread over the page.
    int RowTop(int i) const;

    // The scroll bars' sizes (the system's metrics).
    void SetScrollBarSizes(int verticalWidth, int horizontalHeight);

    int columnCount() const { return count_; }
    int columnX(int c) const { return x_[std::size_t(c)]; } // c = count gives the right edge
    const uint8_t* column(int c) const { return defs_[std::size_t(c)]; }
    int totalWidth() const { return total_; }
    int bandWidth() const { return total_ + gap_; }
    bool banded() const { return banded_; }
    int frozen() const { return frozen_; }
    int frozenWidth() const { return frozenWidth_; }
    bool frozenPart() const { return frozenPart_; }
    int rows() const { return rows_; }
    int visibleRows() const { return visible_; }
    int leftover() const { return leftover_; }
    int bandsNeeded() const { return bandsNeeded_; }
    int bandCount() const { return bandCount_; }
    int scrollPos() const { return scrollPos_; }
    int firstRow() const { return firstRow_; }
    int firstBand() const { return firstBand_; }
    int lastBand() const { return lastBand_; }
    int firstColumn() const { return firstColumn_; }
    int lastColumn() const { return lastColumn_; }
    int xOffset() const { return xOffset_; }
    bool verticalBar() const { return vBar_; }
    bool horizontalBar() const { return hBar_; }
    const GridRect& table() const { return table_; }
    int rowsTop() const { return rowsTop_; }
    int rowHeight() const { return rowHeight_; }

private:
    void Layout(uint8_t* layout, int rows, int printScale);
    int ColumnRight(int global, int offset) const;
    int ColumnLeft(int global, int offset) const;
    int NextPageStart(int start) const;

    std::array<const uint8_t*, kMaxColumns> defs_{};
    std::array<int, kMaxColumns + 1> x_{};
    int count_ = 0;
    int total_ = 0;
    int gap_ = kBandGap;
    bool banded_ = false;
    int frozen_ = 0;
    int frozenWidth_ = 0;
    int bandCount_ = 1;
    GridRect table_;
    int rowsTop_ = 0;
    int rowHeight_ = 1;
    int vBarWidth_ = 16;
    int hBarHeight_ = 16;
    int rows_ = 0;
    int visible_ = 0;
    int leftover_ = 0;
    int bandsNeeded_ = 0;
    bool frozenPart_ = false;
    int scrollPos_ = 0;
    int firstRow_ = 0;
    int firstBand_ = 0;
    int lastBand_ = 0;
    int firstColumn_ = 0;
    int lastColumn_ = -1;
    int xOffset_ = 0;
    bool vBar_ = false;
    bool hBar_ = false;
    // Both on (on screen): a partly visible last column counts, and the first row and the scroll
    // position keep to the last page.
    bool partlyVisibleCounts_ = true;
    bool clampFirstRow_ = true;
};

} // namespace qv
