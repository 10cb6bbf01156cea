// The list view's printed pages: the table laid out again for the printer's resolution, with fonts
// made for it, and the rows or bands of each page drawn by the view's own paint steps.
#include "lists/ui/ViewListBase.h"

#include "core/ShareList.h"
#include "lists/ListPrinting.h"
#include "lists/ListStyle.h"
#include "lists/ListViewOptions.h"

#include <QPaintDevice>
#include <QPainter>

namespace qv {

struct CViewListBase::PrintLayout {
    ListGrid grid;
    ListHeadings headings;
    ListFonts fonts;
    ListStyle style;
    ListPrintPlan plan;
    std::vector<int> columnPages; // the scroll position of each page of columns
    int strip = 0;                // the header strip's height (none for kinds without one)
    int headingTop = 0;           // the strip and the gap below it
};

bool CViewListBase::LayoutForPrinter(QPainter& painter, const QRect& table, PrintLayout& out)
{
    QPaintDevice* device = painter.device();
    if (!list || !device)
        return false;
    const int scale = PrintingScale(device->logicalDpiX(), logicalDpiX());
    out.style = CurrentStyle();
    // The fonts made for the device: the style's point size (or the print font option's) at the
    // device's resolution; a fixed screen pixel size (tests) scaled like the widths.
    const int points = PrintFontPoints(CurrentListViewOptions().printFontSize, out.style.pointSize);
    const int pixels = fixedPixels_ > 0 ? fixedPixels_ * scale / 72 : points * device->logicalDpiY() / 72;
    out.fonts = MakeListFonts(out.style, std::max(pixels, 1));
    out.style.whiteSpace = out.style.whiteSpace * scale / 72;
    const int rowHeight = QFontMetrics(out.fonts[0], device).height() + out.style.whiteSpace;

    auto* layout = const_cast<uint8_t*>(list->columnLayout);
    const int rows = ShareListCount(list);
    if (out.style.wrapColumns)
        out.grid.LayoutGridBanded(layout, rows, scale);
    else
        out.grid.LayoutGridNormal(layout, CurrentListViewOptions().frozenColumns, rows, scale);
    out.headings.BuildHeadings(list, list->columnLayout);
    out.headings.MeasureHeadingHeight(out.grid, QtTextMetrics(out.fonts[1], device), false);
    // The kinds with a header strip print it on every page, one list-font line above the headings.
    if (HasHeaderStrip(kind)) {
        out.strip = QFontMetrics(out.fonts[0], device).height();
        out.headingTop = out.strip + std::max(2 * scale / 72, 2);
    }
    out.grid.FitGridToRect({0, 0, table.width(), table.height()}, out.headingTop + out.headings.height, rowHeight,
                           true);

    const ListViewOptions& options = CurrentListViewOptions();
    const DataMiningPrintOptions dataMining{options.dataMiningOwnPrintPage, options.dataMiningPrintRows};
    // Each page of rows prints as many pages as its columns need, side by side.
    out.columnPages = out.grid.GridColumnPageStarts();
    const int rowPages = std::max(out.grid.GridPageCount(), 1) * int(out.columnPages.size());
    out.plan = PlanListPrint(rowPages, HasOwnPrintPage(), kind == 6 ? &dataMining : nullptr);
    return true;
}

int CViewListBase::CountPrintPages(QPainter& painter, const QRect& table)
{
    PrintLayout layout;
    return LayoutForPrinter(painter, table, layout) ? layout.plan.pages : 1;
}

void CViewListBase::DrawPrintPage(QPainter& painter, const QRect& table, int page)
{
    PrintLayout layout;
    if (!LayoutForPrinter(painter, table, layout))
        return;
    const int rowPage = layout.plan.rowPage(page);
    if (rowPage <= 0) {
        DrawOwnPrintPage(painter, table);
        return;
    }
    ListGrid& grid = layout.grid;
    if (grid.banded()) {
        grid.SetGridScrollPos(grid.GridPageStart(rowPage));
    } else {
        const int across = int(layout.columnPages.size());
        grid.SetGridScrollPos(layout.columnPages[size_t((rowPage - 1) % across)]);
        grid.SetGridFirstRow(grid.visibleRows() * ((rowPage - 1) / across));
    }
    ops_.clear();
    PlanTable(grid, layout.headings, layout.style, QtTextMetrics(layout.fonts[1], painter.device()),
              layout.headingTop, false, layout.fonts, painter.device());
    painter.save();
    painter.translate(table.topLeft());
    ReplayPaintOps(painter, ops_, layout.fonts);
    if (layout.strip > 0)
        PrintHeaderStrip(painter, QRect(0, 0, table.width(), layout.strip), layout.fonts[0]);
    painter.restore();
}

} // namespace qv
