// The face names stored settings carry, drawn in metric-compatible faces where those are not installed.
#pragma once

#include <QString>

namespace qv {

// Registers the stand-ins with Qt's font matching: "Arial", "MS Sans Serif" and the other sans-serif
// faces as Liberation Sans (or Arimo), "Times New Roman" as Liberation Serif (or Tinos), "Courier New"
// as Liberation Mono (or Cousine). An installed face is still drawn as itself. Call once the
// application object exists.
void InstallFaceSubstitutes();

// Whether text in that face is drawn in it or in one of its installed stand-ins (case ignored).
bool FaceAvailable(const QString& face);

} // namespace qv
