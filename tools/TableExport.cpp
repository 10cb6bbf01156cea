// Writing tables and share details as export text.
#include "tools/TableExport.h"

#include "core/ColumnDef.h"
#include "core/ShareList.h"
#include "lists/CellValue.h"
#include "lists/ColumnHeading.h"
#include "lists/DetailPage.h"
#include "portfolio/Transaction.h"

namespace qv {
namespace {

// A record of length 1 only keeps a place in the layout.
bool IsFiller(const uint8_t* column) { return column[0] <= 1; }

// A text holding the delimiter, a double quote or a line break is quoted (quotes doubled), so that a
// figure such as "2,283" stays one field.
void AppendField(std::string& out, std::string_view text, char delimiter)
{
    if (text.find_first_of(std::string{delimiter, '"', '\r', '\n'}) == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

void WriteDetailField(std::string& out, int fieldCode, const RecordCursor& share, char delimiter)
{
    const DetailCell cell = GetDetailCell(fieldCode, share);
    AppendField(out, cell.heading, delimiter);
    out += delimiter;
    AppendField(out, cell.second.empty() ? cell.value : cell.value + " (" + cell.second + ")", delimiter);
    out += "\r\n";
}

std::string WriteShareDetails(const RecordCursor& share, char delimiter)
{
    std::string out;
    const DetailSettings settings = ProgramDetailSettings();
    for (const int index : DetailItemIndexes(settings.items.data()))
        WriteDetailField(out, kDetailItemCodes[size_t(index)], share, delimiter);
    return out;
}

void WriteTableCell(std::string& out, const ShareList& list, int row, const uint8_t* column, char delimiter)
{
    const RecordCursor& entry = list.entries[row];
    char text[kCellTextBytes];
    const size_t length = FormatColumnValue(entry.record, entry.count, column, text, sizeof text, row + 1, &list, 0);
    AppendField(out, std::string_view(text, length), delimiter);
    out += delimiter;
}

std::string WriteTable(const ShareList& list, char delimiter, bool latestRows)
{
    std::string out;
    const uint8_t* layout = list.columnLayout;
    const int columns = layout ? CountColumnDefs(layout) : 0;
    for (int c = 0; c < columns; ++c) {
        if (!IsFiller(GetColumnDef(layout, c))) {
            AppendField(out, GetColumnHeading(&list, GetColumnDef(layout, c), false), delimiter);
            out += delimiter;
        }
    }
    out += "\r\n";
    const int32_t rows = ShareListCount(&list);
    const bool transactions = list.family == kFamilyTransactions;
    for (int32_t r = 0; r < rows; ++r) {
        const uint8_t* record = list.entries[r].record;
        if (transactions && !latestRows && record[TransactionLayout::Type] == kLatestRowType)
            continue;
        for (int c = 0; c < columns; ++c)
            if (!IsFiller(GetColumnDef(layout, c)))
                WriteTableCell(out, list, r, GetColumnDef(layout, c), delimiter);
        out += "\r\n";
    }
    return out;
}

} // namespace qv
