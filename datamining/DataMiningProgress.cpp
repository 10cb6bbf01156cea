// The program-wide pointer to the running filter's progress dialog.
#include "datamining/DataMiningProgress.h"

namespace qv {

void*& DataMiningProgress()
{
    static void* dialog = nullptr;
    return dialog;
}

} // namespace qv
