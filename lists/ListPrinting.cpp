// List printing's arithmetic.
#include "lists/ListPrinting.h"

#include "core/StringPrintf.h"

#include <algorithm>

namespace qv {

namespace {
constexpr int kRightMargin = 200;
constexpr uint8_t kScreenFontRule = 0x80;
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
    // A list's rows run down to a line above the footer's, so that a page is filled to its foot.
    g.tableBottom = detailsView ? bottom : bottom - textHeight;
    return g;
}

ListPrintPlan PlanListPrint(int rowPages, bool viewHasOwnPage, const DataMiningPrintOptions* dataMining)
{
    ListPrintPlan plan;
    const int rows = std::max(rowPages, 1);
    if (!dataMining) {
        plan.pages = rows;
        return plan;
    }
    plan.ownFirstPage = viewHasOwnPage && dataMining->ownFirstPage;
    const bool printRows = dataMining->rows || !plan.ownFirstPage;
    plan.pages = (plan.ownFirstPage ? 1 : 0) + (printRows ? rows : 0);
    return plan;
}

int PrintingScale(int printerPixelsPerInch, int screenPixelsPerInch)
{
    if (printerPixelsPerInch <= 0 || screenPixelsPerInch <= 0)
        return 72;
    return printerPixelsPerInch * 72 / screenPixelsPerInch;
}

int PrintFontPoints(uint8_t printFontOption, int stylePoints)
{
    if (printFontOption == 0 || (printFontOption & kScreenFontRule))
        return stylePoints;
    return printFontOption;
}

} // namespace qv
