// The text of the table and details exports: a list table's heading row and cells, and the current
// share's detail fields, each as the list tables and the details page show them. A text holding the
// delimiter, a double quote or a line break is written in double quotes.
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <string>

namespace qv {

struct ShareList;

// One detail line: the field's heading, the delimiter, the share's value in it, CR LF.
void WriteDetailField(std::string& out, int fieldCode, const RecordCursor& share, char delimiter);
// Every field of the details page's item list for the share.
std::string WriteShareDetails(const RecordCursor& share, char delimiter);

// One cell: the row's value text in the column, then the delimiter.
void WriteTableCell(std::string& out, const ShareList& list, int row, const uint8_t* column, char delimiter);
// The heading row, then a line of cells for each row (each ended by CR LF); a transactions table's
// 'Latest' rows only with `latestRows`.
std::string WriteTable(const ShareList& list, char delimiter, bool latestRows);

} // namespace qv
