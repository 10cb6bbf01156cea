// The save, exit and restart check for unattended runs (QV_SCRIPTED_USE=round-trip-1, then
// round-trip-2 on the same folder): the first run opens the main layout and a window of every other
// kind, moves one, picks a graph setting, records a transaction, makes a toolbar in the designer,
// changes the current filter, checks that File > Save leaves all of it in memory, and exits; the
// next runs print the state they started with. Each run prints its state as
// "Round trip: state: ..." lines for the caller to compare.
#pragma once

namespace qv {

class CMainFrame;

void RunRoundTrip(CMainFrame& frame, int phase);

} // namespace qv
