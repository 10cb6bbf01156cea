// The news cells' answers, installed into the list cells' sources.
#include "news/NewsCells.h"

#include "lists/CellValue.h"
#include "news/NewsDatabase.h"
#include "platform/ByteOrder.h"

#include <string>

namespace qv {

const char* NewsTitleCell(const uint8_t* entry)
{
    // The text lives until the next call, as the cell code copies it at once.
    static std::string title;
    title = GetNewsTitle(LoadU32(entry + NewsEntryLayout::Position), true).text;
    return title.c_str();
}

const char* NewsCodeNameCell(uint16_t code, int column)
{
    uint32_t low = 1, high = NewsCodeTable::ListEnd(0);
    if (column == 7) {
        low = high;
        high = NewsCodeTable::ListEnd(1);
    } else if (column == 8) {
        low = NewsCodeTable::ListEnd(1);
        high = NewsCodeTable::ListEnd(NewsCodeTable::kLists - 1);
    } else if (column != 6) {
        return nullptr;
    }
    if (code < low || code >= high)
        return nullptr;
    // Names are static texts of the code table, ended by their zero.
    return NewsCodeTable::Name(code).data();
}

void InstallNewsCells()
{
    CellSources& cells = CurrentCellSources();
    cells.newsTitle = NewsTitleCell;
    cells.newsCodeName = NewsCodeNameCell;
    cells.newsLatestBoundary = [] { return TheNewsDatabase().latestBoundary(); };
}

} // namespace qv
