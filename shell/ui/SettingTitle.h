// The title of a design dialog for one setting.
#pragma once

#include <QString>

namespace qv {

// "caption - name (numbered)", or "caption - numbered" while the setting keeps the name it is
// numbered by (or none), so that a title never names it twice ("Table 1 (Table 1)").
QString SettingDialogTitle(const QString& caption, const QString& name, const QString& numbered);

} // namespace qv
