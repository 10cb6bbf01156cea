// Qt timers behind the timed callbacks.
#include "shell/ui/TimerCallbackHost.h"

#include "shell/TimerCallbacks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <vector>

namespace qv {
namespace {

class QtTimerCallbacks : public TimerCallbackHost {
public:
    QtTimerCallbacks() { clock_.start(); }

    void add(TimerCallbackFn fn, uint32_t intervalMs, uint32_t parameter) override
    {
        // Owned by the application, so that an entry still armed at exit goes with it.
        auto* timer = new QTimer(QCoreApplication::instance());
        timer->setInterval(int(intervalMs));
        QObject::connect(timer, &QTimer::timeout, timer,
                         [this, fn, parameter] { fn(uint32_t(clock_.elapsed()), parameter); });
        entries_.push_back(Entry{fn, timer});
        timer->start();
    }

    void remove(TimerCallbackFn fn) override
    {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->fn != fn)
                continue;
            it->timer->stop();
            it->timer->deleteLater(); // it may be the timer whose callback is running
            entries_.erase(it);
            return;
        }
    }

private:
    struct Entry {
        TimerCallbackFn fn;
        QTimer* timer;
    };
    std::vector<Entry> entries_;
    QElapsedTimer clock_;
};

} // namespace

void InstallQtTimerCallbacks()
{
    static QtTimerCallbacks host;
    SetTimerCallbackHost(&host);
}

} // namespace qv
