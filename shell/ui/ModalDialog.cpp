// Modal dialogs that never block an unattended run.
#include "shell/ui/ModalDialog.h"

#include "platform/MessageBox.h"
#include "shell/HelpTopics.h"
#include "shell/FrameState.h"
#include "shell/ui/MainFrame.h"

#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <cstdio>

namespace qv {
namespace {

std::function<int(QDialog&)>& Runner()
{
    static std::function<int(QDialog&)> runner;
    return runner;
}

class ControlHelpFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
            return QObject::eventFilter(watched, event);
        auto* dialog = qobject_cast<QDialog*>(parent());
        uint32_t topic = dialog ? ControlHelpTopic(dialog->focusWidget()) : 0;
        if (topic == 0)
            return QObject::eventFilter(watched, event);
        if (auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget()))
            frame->WinHelp(topic);
        return true;
    }
};

} // namespace

uint32_t ControlHelpTopic(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        bool ok = false;
        uint32_t id = widget->objectName().toUInt(&ok);
        if (ok && id != 0)
            return kHelpCommandBase + id;
    }
    return 0;
}

void InstallControlHelp(QDialog& dialog)
{
    if (dialog.findChild<ControlHelpFilter*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    auto* filter = new ControlHelpFilter(&dialog);
    dialog.installEventFilter(filter);
    for (QWidget* child : dialog.findChildren<QWidget*>())
        child->installEventFilter(filter);
}

int RunModalDialog(QDialog& dialog)
{
    InstallControlHelp(dialog);
    if (Runner())
        return Runner()(dialog);
    // Unattended, or on a screen no one sees: the dialog closes as Cancel would.
    if (AutoAnswerMessages() || QGuiApplication::platformName() == QLatin1String("offscreen")) {
        std::fprintf(stderr, "Dialog: %s (cancelled)\n", dialog.windowTitle().toLocal8Bit().constData());
        dialog.reject();
        return QDialog::Rejected;
    }
    return dialog.exec();
}

void SetModalDialogRunner(std::function<int(QDialog&)> runner) { Runner() = std::move(runner); }

} // namespace qv
