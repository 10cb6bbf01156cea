// The views' print job name.
#include "platform/qt/PrintJobName.h"

#include <QPrinter>

namespace qv {

void NamePrintJob(QPrinter& printer) { printer.setDocName(QStringLiteral("Quorvantis printout")); }

} // namespace qv
