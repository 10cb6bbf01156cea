// Modal dialogs that never block an unattended run.
#include "shell/ui/ModalDialog.h"

#include "platform/MessageBox.h"

#include <QDialog>
#include <cstdio>

namespace qv {
namespace {

std::function<int(QDialog&)>& Runner()
{
    static std::function<int(QDialog&)> runner;
    return runner;
}

} // namespace

int RunModalDialog(QDialog& dialog)
{
    if (Runner())
        return Runner()(dialog);
    if (AutoAnswerMessages()) {
        std::fprintf(stderr, "Dialog: %s (cancelled)\n", dialog.windowTitle().toLocal8Bit().constData());
        dialog.reject();
        return QDialog::Rejected;
    }
    return dialog.exec();
}

void SetModalDialogRunner(std::function<int(QDialog&)> runner) { Runner() = std::move(runner); }

} // namespace qv
