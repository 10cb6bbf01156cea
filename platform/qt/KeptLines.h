// The width a message needs so that the lines its writer broke it into are not broken again.
#pragma once

class QFontMetrics;
class QString;

namespace qv {

// For a text holding line breaks, the width of its widest line held between `least` and `most`;
// for a text of one line, `least` (the label's wrap lays it out).
int KeptLinesWidth(const QFontMetrics& metrics, const QString& text, int least, int most);

} // namespace qv
