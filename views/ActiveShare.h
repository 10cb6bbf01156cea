// The share the active view's list has as its current row, for the commands of the frame's dialogs.
#pragma once

#include "core/RecordCursor.h"

namespace qv {

// The current row's share (a transaction's or a cash line's share in those lists); false when the
// active view has no list, no current row or no share behind it.
bool ActiveViewShare(RecordCursor& share);

} // namespace qv
