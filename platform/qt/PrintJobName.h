// The name the views' print jobs carry in the printer's queue.
#pragma once

class QPrinter;

namespace qv {

void NamePrintJob(QPrinter& printer);

} // namespace qv
