// The heading text of a list column, built from its column record alone so that a table names its
// columns the same way in every view, printout and dialog.
#pragma once

#include <string>

namespace qv {

struct ShareList;

// Names taken from tables are cut to this many characters.
constexpr size_t kMostHeadingName = 190;

// The heading of `column` (a column record) in a list of `list`'s family (the share database's field
// table without a list). The user's own title wins unless `plain` asks for the heading the record
// itself gives (the column dialogs).
std::string GetColumnHeading(const ShareList* list, const unsigned char* column, bool plain);

// What an intraday column (kind 0x82) is called; the intraday code installs it. Without it such
// columns have no heading.
void SetIntradayHeadingSource(std::string (*heading)(const unsigned char* column));

} // namespace qv
