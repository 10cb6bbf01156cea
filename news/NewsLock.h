// The news database's readers-writer lock: every reader of news data takes it shared; list
// rebuilds, story moves, searches and the update merge take it exclusively.
#pragma once

namespace qv {

void AcquireNewsRead();
void ReleaseNewsRead();
void AcquireNewsWrite();
void ReleaseNewsWrite();

} // namespace qv
