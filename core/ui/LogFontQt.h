// Stored font descriptions and Qt fonts, both ways, at a device's pixels per inch.
#pragma once

#include "core/LogFont.h"

class QFont;

namespace qv {

QFont FontFromLogFont(const LogFont& font, int pixelsPerInch);
LogFont LogFontFromFont(const QFont& font, int pixelsPerInch);

} // namespace qv
