// Idle work and input pre-translation on Qt's loop. The event dispatcher's "about to block" moment
// is when the queue has run empty: one step of idle work runs there, and a step that wants more
// wakes the loop with a zero timer so that waiting input is seen between steps.
#include "shell/ui/IdleHost.h"

#include "shell/IdleWork.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace qv {
namespace {

// Key and mouse-button presses pass the splash screen first.
class InputFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (PreTranslateInput())
                return true;
            break;
        default: break;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void InstallIdleHost()
{
    SetEventPump([](bool wait) {
        QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
    });
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QCoreApplication::instance()->installEventFilter(new InputFilter(QCoreApplication::instance()));
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread());
    if (!dispatcher)
        return;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, QCoreApplication::instance(), [] {
        // A long operation's own pumping is not an idle moment.
        if (PumpBusy)
            return;
        if (RunIdleWork())
            QTimer::singleShot(0, QCoreApplication::instance(), [] {});
    });
}

} // namespace qv
