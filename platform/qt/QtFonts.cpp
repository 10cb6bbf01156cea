// Stand-ins of the same metrics for the faces stored settings name, so that text takes the same room
// on every machine whatever else fontconfig would pick.
#include "platform/qt/QtFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace qv {
namespace {

struct FaceFamily {
    QStringList faces;
    QStringList standIns;
};

const QList<FaceFamily>& FaceFamilies()
{
    static const QList<FaceFamily> families = {
        {{"Arial", "Helvetica", "MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2",
          "Tahoma", "System", "Small Fonts"},
         {"Liberation Sans", "Arimo"}},
        {{"Times New Roman", "Times", "MS Serif"}, {"Liberation Serif", "Tinos"}},
        {{"Courier New", "Courier"}, {"Liberation Mono", "Cousine"}},
    };
    return families;
}

bool Installed(const QString& family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

} // namespace

void InstallFaceSubstitutes()
{
    for (const FaceFamily& family : FaceFamilies())
        for (const QString& face : family.faces)
            if (!Installed(face))
                QFont::insertSubstitutions(face, family.standIns);
}

bool FaceAvailable(const QString& face)
{
    if (Installed(face))
        return true;
    for (const FaceFamily& family : FaceFamilies()) {
        if (!family.faces.contains(face, Qt::CaseInsensitive))
            continue;
        for (const QString& standIn : family.standIns)
            if (Installed(standIn))
                return true;
    }
    return false;
}

} // namespace qv
