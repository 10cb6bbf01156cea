// The list-table engine's formatter of a share's column value, as the shared dialogs and the cell tip
// call it. The list views install the engine's own when they land; until then a stand-in formats the
// few fields the shell itself shows (name, EPIC, previous names, share type).
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

// Fields the shell names.
namespace ColumnField {
constexpr uint32_t ShareType = 7;
constexpr uint32_t Name = 15;
constexpr uint32_t ShortName = 17;
constexpr uint32_t PortfolioName = 18;
constexpr uint32_t PreviousNames = 0x75;
constexpr uint32_t Epic = 128;
} // namespace ColumnField

using ColumnFormatter = std::function<std::string(const RecordCursor& cursor, uint32_t field)>;
// Installs the engine's formatter (null restores the stand-in); the previous one is returned.
ColumnFormatter SetColumnFormatter(ColumnFormatter formatter);
std::string FormatShareField(const RecordCursor& cursor, uint32_t field);

// The share's previous-names field as stored (names parted by "|"), empty when absent.
std::string PreviousNamesText(const RecordCursor& cursor);

} // namespace qv
