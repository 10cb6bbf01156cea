// The dialogs of the added-graph commands: the find-a-share dialog as the share chooser and the
// line dialog as the colour chooser ("Choose colour for line").
#pragma once

namespace qv {

// Fills the added-graph dialog seams with the program's dialogs.
void InstallAddedGraphDialogs();

} // namespace qv
