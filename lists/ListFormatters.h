// The list-table engine's cell formatting installed where the shell asks for a share's field: the
// column formatter of the shared dialogs and the cell tip, and the status panes' texts.
#pragma once

namespace qv {

void InstallListFormatters();

} // namespace qv
