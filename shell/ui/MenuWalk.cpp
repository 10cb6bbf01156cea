// Opening every menu of the bar in turn and collecting its command items.
#include "shell/ui/MenuWalk.h"

#include "shell/ui/SoftMenuQt.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QMenu>
#include <QMenuBar>

namespace qv {
namespace {

// How long a popup may take to open.
constexpr int kPopupWaitMs = 1000;

void Walk(QMenu& menu, const QString& path, std::vector<QAction*>& popups, std::vector<MenuCommandItem>& items)
{
    Q_EMIT menu.aboutToShow();
    for (QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        QString here = path + QStringLiteral(" > ") + action->text();
        if (QMenu* sub = action->menu()) {
            // A greyed popup cannot be opened.
            if (action->isEnabled()) {
                popups.push_back(action);
                Walk(*sub, here, popups, items);
                popups.pop_back();
            }
            continue;
        }
        if (uint32_t command = ActionCommand(action))
            items.push_back({action, command, here, popups});
    }
}

} // namespace

std::vector<MenuCommandItem> OpenMenusAsUser(QMenuBar& bar)
{
    std::vector<MenuCommandItem> items;
    for (QAction* action : bar.actions()) {
        if (QMenu* menu = action->menu()) {
            std::vector<QAction*> popups{action};
            if (action->isEnabled())
                Walk(*menu, action->text(), popups, items);
        } else if (uint32_t command = ActionCommand(action)) {
            items.push_back({action, command, action->text(), {}});
        }
    }
    return items;
}

namespace {

bool WaitUntilShown(QWidget& popup)
{
    QElapsedTimer clock;
    clock.start();
    while (!popup.isVisible() && clock.elapsed() < kPopupWaitMs)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return popup.isVisible();
}

void Click(QWidget& widget, const QPoint& at)
{
    QPoint global = widget.mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

bool OpenAndClick(QMenuBar& bar, const MenuCommandItem& item)
{
    bar.setActiveAction(item.popups.front());
    QMenu* menu = item.popups.front()->menu();
    if (!menu || !WaitUntilShown(*menu))
        return false;
    for (size_t i = 1; i < item.popups.size(); ++i) {
        menu->setActiveAction(item.popups[i]);
        menu = item.popups[i]->menu();
        if (!menu || !WaitUntilShown(*menu))
            return false;
    }
    if (!item.action->isEnabled())
        return false;
    menu->setActiveAction(item.action);
    Click(*menu, menu->actionGeometry(item.action).center());
    // Chosen, the item closes every popup on its way to the bar.
    return !menu->isVisible();
}

} // namespace

bool ChooseWithMouse(QMenuBar& bar, const MenuCommandItem& item)
{
    if (item.popups.empty()) {
        if (!item.action->isEnabled())
            return false;
        Click(bar, bar.actionGeometry(item.action).center());
        return true;
    }
    // A click the menu did not take (it came while the popup was still settling) is made again, as a
    // user would click again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool chosen = OpenAndClick(bar, item);
        // A popup left open (a greyed item clicked) closes as Escape would close it.
        for (QAction* popup : item.popups)
            if (QMenu* menu = popup->menu(); menu && menu->isVisible())
                menu->hide();
        if (chosen)
            return true;
    }
    return false;
}

} // namespace qv
