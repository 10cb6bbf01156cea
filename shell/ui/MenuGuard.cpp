// Keeping menus alive while they may be returned into.
#include "shell/ui/MenuGuard.h"

#include "shell/ui/SoftMenuQt.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace qv {
namespace {

// While a menu is in use the check is repeated at this interval.
constexpr int kIdleCheckMs = 20;

int menuEventDepth = 0;

class EventScope {
public:
    EventScope() { ++menuEventDepth; }
    ~EventScope() { --menuEventDepth; }
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;
};

} // namespace

bool CGuardedMenu::event(QEvent* event)
{
    EventScope scope;
    return QMenu::event(event);
}

bool CGuardedMenuBar::event(QEvent* event)
{
    EventScope scope;
    return QMenuBar::event(event);
}

bool MenusInUse() { return menuEventDepth > 0 || QApplication::activePopupWidget() != nullptr; }

void WhenMenusIdle(QObject* context, std::function<void()> work)
{
    if (!MenusInUse()) {
        work();
        return;
    }
    QTimer::singleShot(kIdleCheckMs, context,
                       [context, work = std::move(work)]() mutable { WhenMenusIdle(context, std::move(work)); });
}

void RunChosenCommandsLater(QMenu& menu, QObject* context, std::function<void(uint32_t command)> run)
{
    QObject::connect(&menu, &QMenu::triggered, context, [context, run = std::move(run)](QAction* action) {
        uint32_t command = ActionCommand(action);
        if (!command)
            return;
        QMetaObject::invokeMethod(context, [run, command] { run(command); }, Qt::QueuedConnection);
    });
}

} // namespace qv
