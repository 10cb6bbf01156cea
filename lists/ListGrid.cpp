// Column positions, visible rows and columns, scroll ranges and pages of a list table.
#include "lists/ListGrid.h"

#include "core/ColumnDef.h"
#include "platform/ByteOrder.h"

#include <algorithm>

namespace qv {

void ListGrid::Layout(uint8_t* layout, int rows, int printScale)
{
    count_ = std::min(layout ? CountColumnDefs(layout) : 0, kMaxColumns);
    x_[0] = 0;
    for (int c = 0; c < count_; ++c) {
        uint8_t* def = GetColumnDef(layout, c);
        defs_[size_t(c)] = def;
        int width = 0;
        // A filler record has no width of its own.
        if (def[ColumnDefLayout::Length] >= kColumnDefBytes) {
            uint16_t stored = ColumnDefWidth(def);
            if (stored > kMaxColumnWidth || stored < kMinColumnWidth) {
                stored = kMinColumnWidth;
                StoreU16(def + ColumnDefLayout::Width, stored);
            }
            width = printScale > 0 ? stored * printScale / 72 : stored;
        }
        x_[size_t(c) + 1] = x_[size_t(c)] + width;
    }
    total_ = x_[size_t(count_)];
    rows_ = std::max(rows, 0);
}

void ListGrid::LayoutGridNormal(uint8_t* layout, int frozen, int rows, int printScale)
{
    Layout(layout, rows, printScale);
    banded_ = false;
    frozen_ = frozen > 0 && frozen < count_ ? frozen : 0;
    frozenWidth_ = x_[size_t(frozen_)];
    bandCount_ = frozen_ > 0 ? 2 : 1;
    gap_ = 0;
}

void ListGrid::LayoutGridBanded(uint8_t* layout, int rows, int printScale, int gap)
{
    Layout(layout, rows, printScale);
    banded_ = true;
    frozen_ = 0;
    frozenWidth_ = 0;
    bandCount_ = 1;
    gap_ = printScale > 0 ? gap * printScale / 72 : gap;
}

void ListGrid::SetScrollBarSizes(int verticalWidth, int horizontalHeight)
{
    vBarWidth_ = verticalWidth;
    hBarHeight_ = horizontalHeight;
}

namespace {

int BandsFor(int rows, int visible)
{
    if (visible <= 0)
        return 0;
    int bands = rows / visible;
    return rows % visible != 0 || bands == 0 ? bands + 1 : bands;
}

} // namespace

void ListGrid::FitGridToRect(const GridRect& table, int rowsTop, int rowHeight, bool printing)
{
    table_ = table;
    rowsTop_ = rowsTop;
    // A printed page starts where the previous one ended, even on the last page; a printed page shows
    // only whole columns (a banded one leaves the rest to the next page).
    clampFirstRow_ = !printing;
    partlyVisibleCounts_ = !printing;
    rowHeight_ = std::max(rowHeight, 1);
    vBar_ = hBar_ = false;
    int visible = std::max((table_.bottom - rowsTop_) / rowHeight_, 0);
    if (!printing && !banded_) {
        int aboveBar = std::max((table_.bottom - hBarHeight_ - rowsTop_) / rowHeight_, 0);
        bool fitsWithoutBar = rows_ <= visible;
        bool fitsWithBar = rows_ <= aboveBar;
        if (!fitsWithoutBar || (!fitsWithBar && total_ > table_.width())) {
            vBar_ = true;
            table_.right -= vBarWidth_;
        }
        if (total_ > table_.width() && aboveBar >= 1) {
            hBar_ = true;
            table_.bottom -= hBarHeight_;
        }
    } else if (!printing) {
        // Checked before dividing: a window shorter than one row needs no bands.
        int needed = BandsFor(rows_, visible);
        if (needed > 0 && needed * bandWidth() - gap_ > table_.width()) {
            hBar_ = true;
            table_.bottom -= hBarHeight_;
        }
    }
    visible_ = std::max((table_.bottom - rowsTop_) / rowHeight_, 0);
    leftover_ = visible_ < rows_ ? table_.bottom - visible_ * rowHeight_ - rowsTop_ : 0;
    int position = scrollPos_;
    if (banded_) {
        bandsNeeded_ = BandsFor(rows_, visible_);
    } else {
        bandsNeeded_ = visible_ > 0 ? 1 : 0;
        scrollPos_ = firstColumn_ = firstBand_ = 0;
        frozenPart_ = frozen_ > 0 && table_.right >= frozenWidth_ && bandCount_ != 1;
    }
    SetGridScrollPos(position);
    SetGridFirstRow(firstRow_);
}

int ListGrid::ColumnLeft(int global, int offset) const
{
    int n = std::max(count_, 1);
    int band = banded_ ? global / n : 0;
    int c = banded_ ? global % n : global;
    return table_.left + band * bandWidth() + x_[size_t(c)] + offset;
}

int ListGrid::ColumnRight(int global, int offset) const
{
    int n = std::max(count_, 1);
    int band = banded_ ? global / n : 0;
    int c = banded_ ? global % n : global;
    return table_.left + band * bandWidth() + x_[size_t(c) + 1] + offset;
}

int ListGrid::GridLastColumnFrom(int start, int offset) const
{
    int limit = banded_ ? bandsNeeded_ * count_ : count_;
    int last = start - 1;
    for (int g = start; g < limit; ++g) {
        if (ColumnRight(g, offset) <= table_.right) {
            last = g;
            continue;
        }
        if ((partlyVisibleCounts_ || g == start) && ColumnLeft(g, offset) < table_.right)
            last = g;
        break;
    }
    return last;
}

void ListGrid::SetGridScrollPos(int position)
{
    scrollPos_ = std::clamp(position, 0, clampFirstRow_ ? GetGridMaxScrollPos() : std::max(GridScrollRange() - 1, 0));
    if (count_ == 0) {
        firstColumn_ = firstBand_ = lastBand_ = xOffset_ = 0;
        lastColumn_ = -1;
        return;
    }
    if (banded_) {
        firstColumn_ = scrollPos_ % count_;
        firstBand_ = scrollPos_ / count_;
        xOffset_ = -(bandWidth() * firstBand_ + x_[size_t(firstColumn_)]);
        lastColumn_ = GridLastColumnFrom(scrollPos_, xOffset_);
        lastBand_ = lastColumn_ >= 0 ? std::max(lastColumn_ / count_, firstBand_) : firstBand_;
        return;
    }
    firstBand_ = lastBand_ = 0;
    if (frozen_ > 0 && !frozenPart_)
        scrollPos_ = 0; // the window is narrower than the frozen part: nothing scrolls
    if (frozenPart_) {
        firstColumn_ = frozen_ + scrollPos_;
        xOffset_ = frozenWidth_ - x_[size_t(firstColumn_)];
    } else {
        firstColumn_ = scrollPos_;
        xOffset_ = -x_[size_t(firstColumn_)];
    }
    lastColumn_ = GridLastColumnFrom(firstColumn_, xOffset_);
}

void ListGrid::SetGridFirstRow(int row)
{
    if (banded_) {
        firstRow_ = 0;
        return;
    }
    firstRow_ = std::max(row, 0);
    if (clampFirstRow_)
        firstRow_ = std::min(firstRow_, GetGridMaxFirstRow());
}

GridBand ListGrid::UpdateGridVisibleRange(int band) const
{
    GridBand b;
    if (banded_) {
        if (count_ == 0 || band < firstBand_ || band > lastBand_)
            return b;
        b.firstColumn = band == firstBand_ ? firstColumn_ : 0;
        b.lastColumn = band == lastBand_ ? lastColumn_ - band * count_ : count_ - 1;
        b.xOffset = table_.left + band * bandWidth() + xOffset_;
        b.firstRow = band * visible_;
        b.rowCount = std::clamp(rows_ - b.firstRow, 0, visible_);
        return b;
    }
    b.firstRow = firstRow_;
    b.rowCount = std::clamp(rows_ - firstRow_, 0, visible_);
    if (frozenPart_ && band == 0) {
        b.firstColumn = 0;
        b.lastColumn = frozen_ - 1;
        b.xOffset = table_.left;
        return b;
    }
    b.firstColumn = firstColumn_;
    b.lastColumn = lastColumn_;
    b.xOffset = table_.left + xOffset_;
    return b;
}

int ListGrid::GridBandFromX(int x) const
{
    if (banded_) {
        int relative = x - table_.left - xOffset_;
        return relative < 0 ? firstBand_ : relative / bandWidth();
    }
    return frozenPart_ && x >= table_.left + frozenWidth_ ? 1 : 0;
}

int ListGrid::GridColumnFromX(int x) const
{
    if (x < table_.left || x >= table_.right)
        return -1;
    int first = banded_ ? firstBand_ : 0;
    int last = banded_ ? lastBand_ : (frozenPart_ ? 1 : 0);
    for (int band = first; band <= last; ++band) {
        GridBand b = UpdateGridVisibleRange(band);
        for (int c = b.firstColumn; c <= b.lastColumn; ++c)
            if (x >= x_[size_t(c)] + b.xOffset && x < x_[size_t(c) + 1] + b.xOffset)
                return banded_ ? band * count_ + c : c;
    }
    return -1;
}

int ListGrid::GridColumnsPerPage() const
{
    if (banded_)
        return std::max(lastColumn_ - (firstBand_ * count_ + firstColumn_) + 1, 0);
    int n = 0;
    for (int c = firstColumn_; c < count_ && ColumnLeft(c, xOffset_) + 10 <= table_.right; ++c)
        ++n;
    return n;
}

int ListGrid::GridScrollRange() const
{
    return banded_ ? bandsNeeded_ * count_ : count_ - frozen_;
}

int ListGrid::GetGridMaxScrollPos() const
{
    if (count_ == 0)
        return 0;
    if (banded_) {
        int total = bandsNeeded_ * count_;
        int used = 0;
        int fit = 0;
        for (int g = total - 1; g >= 0; --g) {
            int c = g % count_;
            used += x_[size_t(c) + 1] - x_[size_t(c)] + (c == count_ - 1 && g != total - 1 ? gap_ : 0);
            if (used > table_.width())
                break;
            ++fit;
        }
        return std::max(total - fit, 0);
    }
    int room = table_.width() - frozenWidth_;
    int used = 0;
    int fit = 0;
    for (int c = count_ - 1; c >= frozen_; --c) {
        used += x_[size_t(c) + 1] - x_[size_t(c)];
        if (used > room)
            break;
        ++fit;
    }
    return std::max(count_ - frozen_ - fit, 0);
}

int ListGrid::GridVisibleRows() const { return banded_ ? 0 : visible_; }

int ListGrid::GridVerticalRange() const { return banded_ || rows_ == 0 ? 0 : std::max(rows_ - 2, 0); }

int ListGrid::GetGridMaxFirstRow() const { return banded_ ? 0 : std::max(rows_ - visible_, 0); }

int ListGrid::GridPageCount() const
{
    if (!banded_)
        return visible_ > 0 ? (rows_ + visible_ - 1) / visible_ : 0;
    int total = bandsNeeded_ * count_;
    int pages = 0;
    for (int g = 0; g < total; ++pages)
        g = NextPageStart(g);
    return pages;
}

int ListGrid::NextPageStart(int start) const
{
    int offset = -(bandWidth() * (start / std::max(count_, 1)) + x_[size_t(start % std::max(count_, 1))]);
    return std::max(GridLastColumnFrom(start, offset), start) + 1;
}

int ListGrid::GridPageStart(int page) const
{
    if (!banded_ || count_ == 0)
        return 0;
    int g = 0;
    for (int p = 1; p < page && g < bandsNeeded_ * count_; ++p)
        g = NextPageStart(g);
    return g;
}

std::vector<int> ListGrid::GridColumnPageStarts() const
{
    std::vector<int> starts{0};
    // A page narrower than the frozen part does not scroll (SetGridScrollPos).
    if (banded_ || count_ == 0 || (frozen_ > 0 && !frozenPart_))
        return starts;
    const int first = frozenPart_ ? frozen_ : 0;
    const int left = frozenPart_ ? frozenWidth_ : 0;
    for (int c = first; c < count_;) {
        const int next = std::max(GridLastColumnFrom(c, left - x_[size_t(c)]), c) + 1;
        if (next >= count_)
            break;
        starts.push_back(next - first);
        c = next;
    }
    return starts;
}

int ListGrid::RowTop(int i) const
{
    int spread = visible_ > 0 ? i * leftover_ / visible_ : 0;
    return rowsTop_ + i * rowHeight_ + spread;
}

} // namespace qv
