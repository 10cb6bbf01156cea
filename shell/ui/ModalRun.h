// Running the shared dialogs modally: a test can answer them in place of a person, and an unattended
// run never waits on one.
#pragma once

#include <functional>

class QDialog;
class QString;

namespace qv {

// Answers a dialog in place of its modal loop (the dialog is shown and may be driven first); returns
// the dialog's result code.
using ModalRunner = std::function<int(QDialog& dialog)>;
// Installs the runner (null restores the modal loop); the previous one is returned.
ModalRunner SetModalRunner(ModalRunner runner);

// Runs the dialog: through the runner when one is installed; unattended (QV_AUTO_ANSWER) it writes
// `unattended` to standard error and answers `unattendedResult` without showing; else its loop.
int RunModalDialog(QDialog& dialog, const QString& unattended, int unattendedResult);

} // namespace qv
