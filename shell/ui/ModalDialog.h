// Running the program's own modal dialogs: unattended runs (QV_AUTO_ANSWER, or the offscreen
// platform where no one could answer) close them as Cancel would, and tests may answer them.
#pragma once

#include <cstdint>
#include <functional>

class QDialog;

namespace qv {

// QDialog::Accepted or QDialog::Rejected. F1 on a control shows its help (shell/ui/DialogHelp.h).
int RunModalDialog(QDialog& dialog);

// Tests: the runner that answers every dialog (null restores exec()).
void SetModalDialogRunner(std::function<int(QDialog&)> runner);

// Unattended runs whose driver answers the dialogs in their real modal loops (the command sweep's
// dialog mode) instead of having them closed unseen.
void SetUnattendedDialogsRun(bool run);

} // namespace qv
