// Font faces: the named one, or a substitute of the same metrics.
#include "shell/ui/FontFaces.h"

#include <QFontDatabase>
#include <QStringList>
#include <cstdlib>

namespace qv {

QString SansFaceFor(const QString& face)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& candidate : {face, QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")})
        if (installed.contains(candidate, Qt::CaseInsensitive))
            return candidate;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QFont ProgramFont(const QString& face, int height, int weight)
{
    QFont font(SansFaceFor(face));
    font.setPixelSize(std::max(1, std::abs(height)));
    font.setWeight(QFont::Weight(weight));
    return font;
}

} // namespace qv
