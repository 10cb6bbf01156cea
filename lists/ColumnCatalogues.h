// The column catalogues of the list tables: one packed run of column templates per list family plus
// the high/low columns, the template an add-column command copies, and installing them for the
// catalogue walk of core/ColumnSpec.
#pragma once

#include <cstdint>
#include <span>

namespace qv {

enum class Catalogue : uint8_t { Shares, Transactions, Dealings, Cash, News, Trades, HighLow };

// The up/down arrow bit of a column record's alignment byte.
constexpr uint8_t kColumnUpDownArrow = 0x10;
// The trade list's bid, mid and offer columns show whether the quote rose or fell since the row
// before: they take the up/down colours, and the catalogue and the default layouts give them the arrow.
constexpr bool TradeColumnShowsMoves(uint8_t code) { return code >= 2 && code <= 4; }

// The whole catalogue: its templates end to end, ended by a zero byte.
std::span<const uint8_t> CatalogueBytes(Catalogue catalogue);
// Template n (from 0) of a catalogue, or an empty span when it has no such template.
std::span<const uint8_t> CatalogueTemplate(Catalogue catalogue, int n);
int CatalogueSize(Catalogue catalogue);

// Makes GetColumnSpec walk the shares catalogue (ids below 96), the high/low catalogue (id 94 by
// sub-kind) and field columns for the company-data codes 96 and up.
void InstallColumnCatalogues();

} // namespace qv
