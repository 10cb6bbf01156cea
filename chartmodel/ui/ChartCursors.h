// The cursors of the chart modes: the program's own pictures for its own ids, Qt's shapes for the
// system ones.
#pragma once

#include <QCursor>

#include <cstdint>

namespace qv {

// The cursor of an id of the chart mode table; the arrow for 0 and unknown ids.
QCursor ChartCursor(uint32_t id);
// The picture behind one of the program's own cursor ids; null for other ids.
QPixmap ChartCursorPicture(uint32_t id);

} // namespace qv
