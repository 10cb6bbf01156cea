// The status-bar texts for a list's current share that the details and graph views show in panes 1
// and 2: a column field of the share, and its market with the FTSE 30 mark.
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

struct ShareList;

// The column formatter of the list tables and the share's flag word, once the list-table engine
// provides them; without them every field is empty. They are given the share the list's current
// row stands for (the share of a transaction or cash row) and the list it is shown in.
struct PaneTextSource {
    std::function<std::string(const RecordCursor& share, ShareList* list, int32_t columnCode)> column;
    std::function<uint32_t(const RecordCursor& share)> flagWord;
};
void SetPaneTextSource(PaneTextSource source);

constexpr int32_t kEpicPaneColumn = 0x80;
constexpr int32_t kMarketColumn = 5;
constexpr int32_t kMarketDetailColumn = 62;

// The column field of the list's current share; "Index" for an empty text when asked.
std::string FormatSharePaneText(ShareList* list, int32_t columnCode, bool indexFlag);
// Field 5; for a share whose class bits (id & 0x3000) are below 0x3000 ", " and field 62; with bit
// 14 of the share's flag word ", FTSE30".
std::string FormatMarketPaneText(ShareList* list);

} // namespace qv
