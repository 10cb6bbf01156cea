// The program-wide pointer to the running filter's progress dialog.
#include "core/DataMiningProgress.h"

namespace qv {

void*& DataMiningProgress()
{
    static void* dialog = nullptr;
    return dialog;
}

} // namespace qv
