// The tools' dialogs that the frame's commands and the number fields open.
#pragma once

namespace qv {

// The calculator (26655 and the number fields' drop buttons), the company calendar (27287), the slide
// show (26730), the end-of-day alarm dialogs (21111, 26400-26402), the special-edition wizard (27276),
// New Shares (26904), the price export and import commands, the price list (21117), the print settings
// (26213) and the chart's one-day price editor (27261).
void InstallToolDialogs();
void RemoveToolDialogs();

} // namespace qv
