// Running the program's own modal dialogs: unattended runs (QV_AUTO_ANSWER, or the offscreen
// platform where no one could answer) close them as Cancel would, and tests may answer them.
#pragma once

#include <cstdint>
#include <functional>

class QDialog;
class QWidget;

namespace qv {

// QDialog::Accepted or QDialog::Rejected.
int RunModalDialog(QDialog& dialog);
// Help on a control: the topic of the control id (its object name) plus 0x10000, taken from the
// widget or the nearest parent named by an id; 0 when none is.
uint32_t ControlHelpTopic(const QWidget* widget);
// Makes F1 in the dialog show the help of the control that has the focus.
void InstallControlHelp(QDialog& dialog);

// Tests: the runner that answers every dialog (null restores exec()).
void SetModalDialogRunner(std::function<int(QDialog&)> runner);

} // namespace qv
