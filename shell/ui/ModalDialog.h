// Running the program's own modal dialogs: unattended runs (QV_AUTO_ANSWER, or the offscreen
// platform where no one could answer) close them as Cancel would, and tests may answer them.
#pragma once

#include <cstdint>
#include <functional>

class QDialog;
class QLineEdit;

namespace qv {

// QDialog::Accepted or QDialog::Rejected. F1 on a control shows its help (shell/ui/DialogHelp.h).
int RunModalDialog(QDialog& dialog);

// A dialog opened by a typed key, whose field takes the keys typed after it: until the dialog has the
// keyboard, keys typed into its parent's window go on into `field` instead of being lost, and the
// parent's window takes no other input, as under exec(). The result as RunModalDialog's.
int RunModalDialogTypingInto(QDialog& dialog, QLineEdit& field);

// Tests: the runner that answers every dialog (null restores exec()).
void SetModalDialogRunner(std::function<int(QDialog&)> runner);

// Unattended runs whose driver answers the dialogs in their real modal loops (the command sweep's
// dialog mode) instead of having them closed unseen.
void SetUnattendedDialogsRun(bool run);

} // namespace qv
