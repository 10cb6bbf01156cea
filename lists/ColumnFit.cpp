// Column fit over every row.
#include "lists/ColumnFit.h"

#include "core/ColumnDef.h"
#include "lists/CellValue.h"
#include "lists/ListHeadings.h"
#include "lists/ListPaintPlan.h"

#include <algorithm>

namespace qv {
namespace {

constexpr int kHeadingPad = 7;
constexpr int kArrowPad = 3;
constexpr uint8_t kBlankSeparator = 86;

} // namespace

int FitColumnWidth(ListRowSource& rows, const uint8_t* column, std::string_view heading, const FitMeasures& measures)
{
    if (!column || (ColumnDefKind(column) == kColumnField && ColumnDefCode(column) == kBlankSeparator))
        return 0;
    const int arrow = measures.arrow ? measures.body->LineHeight() + kArrowPad : 0;
    int widest = 0;
    CellValue value;
    for (int row = 0; row < rows.RowCount(); ++row)
        widest = std::max(widest, measures.body->TextWidth(rows.CellText(row, column, value)));
    widest += 2 * measures.whiteSpace + 1 + arrow;
    size_t start = 0;
    while (start <= heading.size()) {
        const size_t end = std::min(heading.find(' ', start), heading.size());
        if (end > start)
            widest = std::max(widest, measures.heading->TextWidth(heading.substr(start, end - start)) + kHeadingPad);
        start = end + 1;
    }
    return widest;
}

} // namespace qv
