// Modal runs through a replaceable runner.
#include "shell/ui/ModalRun.h"

#include "platform/MessageBox.h"
#include "shell/FrameState.h"

#include <QDialog>
#include <QString>
#include <cstdio>

namespace qv {
namespace {

ModalRunner& Runner()
{
    static ModalRunner runner;
    return runner;
}

} // namespace

ModalRunner SetModalRunner(ModalRunner runner)
{
    ModalRunner previous = Runner();
    Runner() = std::move(runner);
    return previous;
}

int RunModalDialog(QDialog& dialog, const QString& unattended, int unattendedResult)
{
    ++ModalCount;
    int result = 0;
    if (Runner()) {
        dialog.show();
        result = Runner()(dialog);
    } else if (AutoAnswerMessages()) {
        std::fprintf(stderr, "%s\n", unattended.toLocal8Bit().constData());
        result = unattendedResult;
    } else {
        result = dialog.exec();
    }
    --ModalCount;
    dialog.hide();
    return result;
}

} // namespace qv
