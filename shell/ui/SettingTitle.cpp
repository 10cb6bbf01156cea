// The title of a design dialog for one setting.
#include "shell/ui/SettingTitle.h"

namespace qv {

QString SettingDialogTitle(const QString& caption, const QString& name, const QString& numbered)
{
    if (name.trimmed().isEmpty() || name.trimmed() == numbered)
        return QStringLiteral("%1 - %2").arg(caption, numbered);
    return QStringLiteral("%1 - %2 (%3)").arg(caption, name, numbered);
}

} // namespace qv
