// Freeing every share list in the chain.
#include "devtools/lib/ShareListChain.h"

#include "core/Memory.h"
#include "core/ShareList.h"

namespace qv::dev {

void FreeShareListChain()
{
    while (ShareList* l = ShareListChain()) {
        ShareListChain() = l->next;
        ProFree(l->entries);
        ProFree(l);
    }
}

} // namespace qv::dev
