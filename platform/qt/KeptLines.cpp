// The width of a message's writer-made lines.
#include "platform/qt/KeptLines.h"

#include <QFontMetrics>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace qv {

int KeptLinesWidth(const QFontMetrics& metrics, const QString& text, int least, int most)
{
    if (!text.contains(QLatin1Char('\n')))
        return least;
    int widest = least;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line) + 4);
    return std::min(widest, most);
}

} // namespace qv
