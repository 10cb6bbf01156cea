// Where the chart design's small dialogs open: beside the button that called them, inside the screen.
#pragma once

class QWidget;

namespace qv {

// Moves the dialog to the right of the button (to its left when the right has no room), its top at
// the button's top, kept inside the button's screen.
void PlaceBesideButton(QWidget& dialog, const QWidget& button);

} // namespace qv
