// Sorting share lists by a column and the stored sort settings and layouts they use.
#include "lists/ListSort.h"

#include "core/ColumnDef.h"
#include "core/ShareList.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"

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

std::map<std::pair<int, int>, const uint8_t*>& Layouts()
{
    static std::map<std::pair<int, int>, const uint8_t*> layouts;
    return layouts;
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
    list->firstVisible = 0;
    if (n < 2 || column < 0 || (keepNameOrder && nameColumn))
        return;
    if (const ListColumnLess& less = ColumnLess()) {
        bool descending = signedColumn < 0;
        std::stable_sort(list->entries, list->entries + n, [&](const RecordCursor& a, const RecordCursor& b) {
            return descending ? less(b, a, column) : less(a, b, column);
        });
        return;
    }
    SortRows(list, signedColumn, true);
}

int GetSortColumn(int setting, int mode, int viewKind) { return GetSettingSort(viewKind, setting, mode); }

void SetSortColumn(int setting, int viewKind, int value) { SetSettingSort(viewKind, setting, 0, value); }

const uint8_t* GetColumnLayout(int setting, int viewKind)
{
    auto it = Layouts().find({setting, viewKind});
    return it != Layouts().end() ? it->second : SettingLayout(viewKind, setting);
}

void SetColumnLayout(int setting, int viewKind, const uint8_t* layout)
{
    if (layout)
        Layouts()[{setting, viewKind}] = layout;
    else
        Layouts().erase({setting, viewKind});
}

void SetListColumnLess(ListColumnLess less) { ColumnLess() = std::move(less); }

} // namespace qv
