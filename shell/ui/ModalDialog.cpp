// Modal dialogs that never block an unattended run.
#include "shell/ui/ModalDialog.h"

#include "platform/MessageBox.h"
#include "shell/ui/DialogHelp.h"
#include "views/FrameState.h"

#include <QDialog>
#include <QGuiApplication>
#include <cstdio>

namespace qv {
namespace {

std::function<int(QDialog&)>& Runner()
{
    static std::function<int(QDialog&)> runner;
    return runner;
}

bool unattendedDialogsRun = false;

} // namespace

int RunModalDialog(QDialog& dialog)
{
    InstallControlHelp(dialog);
    if (Runner())
        return Runner()(dialog);
    // Unattended, or on a screen no one sees: the dialog closes as Cancel would.
    if (!unattendedDialogsRun &&
        (AutoAnswerMessages() || QGuiApplication::platformName() == QLatin1String("offscreen"))) {
        std::fprintf(stderr, "Dialog: %s (cancelled)\n", dialog.windowTitle().toLocal8Bit().constData());
        dialog.reject();
        return QDialog::Rejected;
    }
    // While the dialog runs the frame holds what must wait for it (a key that would open a find).
    ++ModalCount;
    int result = dialog.exec();
    --ModalCount;
    return result;
}

void SetModalDialogRunner(std::function<int(QDialog&)> runner) { Runner() = std::move(runner); }

void SetUnattendedDialogsRun(bool run) { unattendedDialogsRun = run; }

} // namespace qv
