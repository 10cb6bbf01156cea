// List printing's arithmetic.
#include "lists/ListPrinting.h"

#include "core/StringPrintf.h"

#include <algorithm>

namespace qv {

namespace {
constexpr int kRightMargin = 200;
} // namespace

std::string PrintFooterText(int page, const LocalDateTime& now)
{
    return StringPrintf("Page %d  %d:%d  %d/%d/%d", page, now.hour, now.minute, now.day, now.month, now.year);
}

PrintPageGeometry ComputePrintPage(int pageWidth, int pageHeight, int textHeight, bool detailsView)
{
    PrintPageGeometry g;
    g.tableRight = pageWidth - kRightMargin;
    const int bottom = pageHeight - 5 * textHeight;
    g.footerY = bottom + textHeight * 3 / 2;
    g.footerX = pageWidth / 2;
    g.tableBottom = detailsView ? bottom : bottom - 3 * textHeight;
    return g;
}

int PrintPageTopRow(int firstRow, int rowsPerPage, int page, bool ownFirstPage)
{
    const int pagesBefore = std::max(0, page - (ownFirstPage ? 2 : 1));
    return firstRow + std::max(rowsPerPage, 1) * pagesBefore;
}

int PrintPageCount(int rows, int rowsPerPage, bool detailsView, bool ownFirstPage)
{
    if (detailsView)
        return 1;
    const int perPage = std::max(rowsPerPage, 1);
    const int rowPages = std::max(1, (rows + perPage - 1) / perPage);
    return rowPages + (ownFirstPage ? 1 : 0);
}

} // namespace qv
