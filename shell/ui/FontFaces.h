// The program's Qt fonts by the face the program names, with a metric-compatible sans-serif where
// that face is not installed.
#pragma once

#include <QFont>
#include <QString>

namespace qv {

// "Arial" when installed, else the first of "Liberation Sans", "Arimo" and the system's sans-serif.
QString SansFaceFor(const QString& face);
// A font of that face with the pixel height (a negative height is taken as its size) and weight.
QFont ProgramFont(const QString& face, int height, int weight = 400);

} // namespace qv
