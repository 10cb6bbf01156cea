// The tools' dialogs that the frame's commands and the number fields open.
#pragma once

namespace qv {

// The calculator (26655 and the number fields' drop buttons), the company calendar (27287) and the
// slide show (26730).
void InstallToolDialogs();
void RemoveToolDialogs();

} // namespace qv
