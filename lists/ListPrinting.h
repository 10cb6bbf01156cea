// Printing a list table without a printer: the footer line, the page geometry and which rows each
// printed page holds.
#pragma once

#include "platform/Clock.h"

#include <string>

namespace qv {

// "Page 3  9:5  2/3/2004": page, hour, minute, day, month, year, no zero padding.
std::string PrintFooterText(int page, const LocalDateTime& now);

struct PrintPageGeometry {
    int tableRight = 0;
    int tableBottom = 0;   // the rows end here
    int footerY = 0;       // the footer's line, centred at footerX
    int footerX = 0;
};
// From the page size in device units and the footer font's text height h.
PrintPageGeometry ComputePrintPage(int pageWidth, int pageHeight, int textHeight, bool detailsView);

// The first row of a page (from 1); with a data-mining first page of its own, rows start on page 2.
int PrintPageTopRow(int firstRow, int rowsPerPage, int page, bool ownFirstPage);
// How many pages: one for the details view; otherwise the pages the rows fill (at least one), plus
// the own first page.
int PrintPageCount(int rows, int rowsPerPage, bool detailsView, bool ownFirstPage);

} // namespace qv
