// Modal dialogs that never block an unattended run.
#include "shell/ui/ModalDialog.h"

#include "platform/MessageBox.h"
#include "shell/ui/DialogHelp.h"
#include "views/FrameState.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <cstdio>

namespace qv {
namespace {

std::function<int(QDialog&)>& Runner()
{
    static std::function<int(QDialog&)> runner;
    return runner;
}

bool unattendedDialogsRun = false;

// Unattended, or on a screen no one sees: the dialog closes as Cancel would.
bool ClosedUnseen(QDialog& dialog)
{
    if (unattendedDialogsRun || !(AutoAnswerMessages() || QGuiApplication::platformName() == QLatin1String("offscreen")))
        return false;
    std::fprintf(stderr, "Dialog: %s (cancelled)\n", dialog.windowTitle().toLocal8Bit().constData());
    dialog.reject();
    return true;
}

// A modal window blocks its parent's window at once, and the window system keeps sending keys there
// until the dialog is activated: those keys would be dropped. This filter stands in for the block:
// the parent window's input is held back, its typed characters go on into the dialog's field.
class TypeAheadFilter : public QObject {
public:
    TypeAheadFilter(QDialog& dialog, QLineEdit& field)
        : blocked_(dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr), field_(&field)
    {
        qApp->installEventFilter(this);
    }
    ~TypeAheadFilter() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !blocked_ || widget->window() != blocked_)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress: Forward(static_cast<QKeyEvent&>(*event)); return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu: return true;
        default: return false;
        }
    }

private:
    void Forward(const QKeyEvent& key)
    {
        const QString text = key.text();
        if (!field_ || text.isEmpty() || !text.at(0).isPrint() ||
            (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return;
        // Posted, so that a letter the dialog has already queued for itself (the key that opened
        // it) comes first.
        QCoreApplication::postEvent(field_, new QKeyEvent(QEvent::KeyPress, key.key(), Qt::NoModifier, text));
    }

    QPointer<QWidget> blocked_;
    QPointer<QLineEdit> field_;
};

} // namespace

int RunModalDialog(QDialog& dialog)
{
    InstallControlHelp(dialog);
    if (Runner())
        return Runner()(dialog);
    if (ClosedUnseen(dialog))
        return QDialog::Rejected;
    // While the dialog runs the frame holds what must wait for it (a key that would open a find).
    ++ModalCount;
    int result = dialog.exec();
    --ModalCount;
    return result;
}

int RunModalDialogTypingInto(QDialog& dialog, QLineEdit& field)
{
    InstallControlHelp(dialog);
    TypeAheadFilter filter(dialog, field);
    if (Runner())
        return Runner()(dialog);
    if (ClosedUnseen(dialog))
        return QDialog::Rejected;
    ++ModalCount;
    dialog.setWindowModality(Qt::NonModal);
    field.setFocus();
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    // Showing a dialog selects its focused field's text, which the next letter would replace.
    field.deselect();
    field.end(false);
    loop.exec(QEventLoop::DialogExec);
    --ModalCount;
    return dialog.result();
}

void SetModalDialogRunner(std::function<int(QDialog&)> runner) { Runner() = std::move(runner); }

void SetUnattendedDialogsRun(bool run) { unattendedDialogsRun = run; }

} // namespace qv
