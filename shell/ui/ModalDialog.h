// Running the program's own modal dialogs: unattended runs (QV_AUTO_ANSWER) close them as Cancel
// would, and tests may answer them.
#pragma once

#include <functional>

class QDialog;

namespace qv {

// QDialog::Accepted or QDialog::Rejected.
int RunModalDialog(QDialog& dialog);
// Tests: the runner that answers every dialog (null restores exec()).
void SetModalDialogRunner(std::function<int(QDialog&)> runner);

} // namespace qv
