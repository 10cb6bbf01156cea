// Sorting share lists by a column and the stored sort settings and layouts they use.
#include "lists/ListSort.h"

#include "core/ShareList.h"
#include "lists/ColumnDef.h"

#include <algorithm>
#include <map>
#include <utility>

namespace qv {
namespace {

constexpr uint8_t kNameFieldCode = 15;

ListColumnLess& ColumnLess()
{
    static ListColumnLess less;
    return less;
}

std::map<std::pair<int, int>, int>& SortSettings()
{
    static std::map<std::pair<int, int>, int> settings;
    return settings;
}

std::map<std::pair<int, int>, const uint8_t*>& Layouts()
{
    static std::map<std::pair<int, int>, const uint8_t*> layouts;
    return layouts;
}

bool HasTables(int viewKind)
{
    return viewKind == 1 || viewKind == 2 || viewKind == 5 || viewKind == 6 || viewKind == 8 || viewKind == 10;
}

} // namespace

void SortListByColumn(bool keepNameOrder, ShareList* list, int signedColumn, bool)
{
    if (!list)
        return;
    int column = ColumnOfSignedNumber(signedColumn);
    const uint8_t* def = GetColumnDef(list->columnLayout, column);
    bool nameColumn = def && def[0] != 0 && ColumnDefCode(def) == kNameFieldCode;
    int32_t n = ShareListCount(list);
    const ListColumnLess& less = ColumnLess();
    if (less && n > 1 && column >= 0 && !(keepNameOrder && nameColumn)) {
        bool descending = signedColumn < 0;
        std::stable_sort(list->entries, list->entries + n, [&](const RecordCursor& a, const RecordCursor& b) {
            return descending ? less(b, a, column) : less(a, b, column);
        });
    }
    list->firstVisible = 0;
}

int GetSortColumn(int setting, int, int viewKind)
{
    if (!HasTables(viewKind))
        return 0;
    auto it = SortSettings().find({setting, viewKind == 2 ? 1 : viewKind});
    return it == SortSettings().end() ? 0 : it->second;
}

void SetSortColumn(int setting, int viewKind, int value)
{
    SortSettings()[{setting, viewKind == 2 ? 1 : viewKind}] = value;
}

const uint8_t* GetColumnLayout(int setting, int viewKind)
{
    auto it = Layouts().find({setting, viewKind});
    return it == Layouts().end() ? nullptr : it->second;
}

void SetColumnLayout(int setting, int viewKind, const uint8_t* layout) { Layouts()[{setting, viewKind}] = layout; }

void SetListColumnLess(ListColumnLess less) { ColumnLess() = std::move(less); }

} // namespace qv
