// The shell's field formatters served by the cell engine.
#include "lists/ListFormatters.h"

#include "core/ColumnSpec.h"
#include "core/RecordFlags.h"
#include "core/ShareList.h"
#include "lists/CellValue.h"
#include "lists/ListRows.h"
#include "shell/ColumnFormatter.h"
#include "shell/StatusPaneTexts.h"

#include <array>

namespace qv {
namespace {

std::string FormatField(const RecordCursor& cursor, uint32_t field, ShareList* list)
{
    if (!cursor.record || field > 0xFF)
        return {};
    std::array<uint8_t, kColumnSpecBytes> spec{};
    spec[0] = uint8_t(kColumnSpecBytes);
    InitColumnSpec(spec, uint8_t(field));
    char text[kCellTextBytes];
    size_t n = FormatColumnValue(cursor.record, cursor.count, spec.data(), text, sizeof text, 1, list, 0);
    return std::string(text, n);
}

} // namespace

void InstallListFormatters()
{
    // The shared dialogs show a share's fields as the lists do: prices in pence ("935p : Ordinary").
    SetColumnFormatter([](const RecordCursor& cursor, uint32_t field) { return ShareColumnText(cursor, field); });
    PaneTextSource panes;
    // The share of a transaction or cash row is a database record, formatted as such.
    panes.column = [](const RecordCursor& share, ShareList* list, int32_t code) {
        return code >= 0 ? FormatField(share, uint32_t(code), ListRowsAreOwnRecords(list) ? nullptr : list)
                         : std::string();
    };
    panes.flagWord = [](const RecordCursor& share) -> uint32_t {
        return share.record ? RecordFlags(share.record) : 0;
    };
    SetPaneTextSource(std::move(panes));
}

} // namespace qv
