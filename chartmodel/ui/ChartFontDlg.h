// "Change the font type and size": the font chooser on the program-wide chart font.
#pragma once

class QWidget;

namespace qv {

// Opens the chooser on the stored chart font; a size outside 5..20 points is refused and the chooser
// opens again. On OK the font is stored in the options and every view of every share list repaints.
// True when a font was stored.
bool RunChartFontChooser(QWidget* parent);

} // namespace qv
