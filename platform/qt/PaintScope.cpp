// The count of paints under way on the interface thread.
#include "platform/qt/PaintScope.h"

namespace qv {
namespace {

int& Depth()
{
    static int depth = 0;
    return depth;
}

} // namespace

PaintScope::PaintScope() { ++Depth(); }
PaintScope::~PaintScope() { --Depth(); }
bool PaintScope::Active() { return Depth() > 0; }

} // namespace qv
