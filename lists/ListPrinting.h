// Printing a list table without a printer: the footer line, the page geometry, the pages a printout
// has and what each shows, the printing scale and the printer's font size.
#pragma once

#include "platform/Clock.h"

#include <cstdint>
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

// The pages of a printout. A data-mining view may print a first page of its own (when it has one
// and that option is on) and its rows only while that option is on; a printout that would hold
// neither prints the rows.
struct ListPrintPlan {
    int pages = 1;
    bool ownFirstPage = false;
    // The page of rows (from 1) that printed page n shows; 0 for the own first page.
    int rowPage(int page) const { return ownFirstPage ? page - 1 : page; }
};
struct DataMiningPrintOptions {
    bool ownFirstPage = false;
    bool rows = true;
};
// `rowPages` is the grid's page count; `dataMining` null for every other kind.
ListPrintPlan PlanListPrint(int rowPages, bool viewHasOwnPage, const DataMiningPrintOptions* dataMining);

// Printer pixels per inch x 72 / the screen's: the factor (over 72) that screen pixels of the
// layout, the white space and the band gap are scaled by on the page.
int PrintingScale(int printerPixelsPerInch, int screenPixelsPerInch);
// The point size the list prints in: the style's (the screen rule) when the option is 0 or its bit
// 7 is set, else the option's own size.
int PrintFontPoints(uint8_t printFontOption, int stylePoints);

} // namespace qv
