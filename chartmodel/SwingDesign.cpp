// The swing chart design's enabling matrix.
#include "chartmodel/SwingDesign.h"

namespace qv::swingdesign {

Enabling SwingEnabling(uint32_t flags)
{
    Enabling e;
    e.options = flags & kShow;
    e.swingPens = e.options && (flags & kSwingLine);
    e.manhattanPen = e.options && (flags & kManhattan);
    bool rivalland = e.options && (flags & kRivalland);
    e.rivallandOptions = rivalland;
    e.strictDay2 = rivalland && (flags & kRelaxed);
    e.gann = !(flags & kRivalland);
    e.marks = e.options ? (flags & kMarkBits) : 0;
    return e;
}

} // namespace qv::swingdesign
