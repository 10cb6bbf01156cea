// The event dispatcher's "about to block" moment is when the queue has run empty: one step of idle
// work runs there, and a step that wants more wakes the loop with a zero timer so that waiting
// input is seen between steps.
#include "shell/ui/IdleHost.h"

#include "shell/IdleWork.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

namespace qv {

void InstallIdleHost()
{
    SetEventPump([](bool wait) {
        QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
    });
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
