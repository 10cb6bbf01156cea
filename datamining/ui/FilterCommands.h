// The filter commands of the data-mining menu, which the control panel runs as well: choosing the
// current filter (or making a new, empty one), renaming the current filter, and deleting a filter.
// Each returns true when it changed something.
#pragma once

#include "core/DMFilter.h"

class QWidget;

namespace qv {

// The filter list with "<<new>>" first; "<<new>>" (or any choice while there is no filter) asks for a
// name and makes an empty filter of all shares. The choice becomes the current filter and the views
// showing the old one follow.
bool SelectFilterByDialog(QWidget* parent);
// "Edit Filter Name" filled with the name; the first filter-driven portfolio bearing the old name
// takes the new one too.
bool RenameFilterByDialog(DMFilter& filter, QWidget* parent);
// The writable filters with the current one chosen; after the question the chosen filter goes, and
// the views showing it move to the head of the list.
bool DeleteFilterByDialog(QWidget* parent);

} // namespace qv
