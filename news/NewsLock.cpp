// The news database's readers-writer lock, on the program-wide lock that CreateRTStoreObjects makes.
#include "news/NewsLock.h"

#include "core/ReadersWriterLock.h"

namespace qv {

void AcquireNewsRead() { NewsLock().LockShared(); }
void ReleaseNewsRead() { NewsLock().UnlockShared(); }
void AcquireNewsWrite() { NewsLock().LockExclusive(); }
void ReleaseNewsWrite() { NewsLock().UnlockExclusive(); }

} // namespace qv
