// Opening every menu of the bar in turn and collecting its command items.
#include "shell/ui/MenuWalk.h"

#include "shell/ui/SoftMenuQt.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace qv {
namespace {

void Walk(QMenu& menu, const QString& path, std::vector<MenuCommandItem>& items)
{
    Q_EMIT menu.aboutToShow();
    for (QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        QString here = path + QStringLiteral(" > ") + action->text();
        if (QMenu* sub = action->menu()) {
            // A greyed popup cannot be opened.
            if (action->isEnabled())
                Walk(*sub, here, items);
            continue;
        }
        if (uint32_t command = ActionCommand(action))
            items.push_back({action, command, here});
    }
}

} // namespace

std::vector<MenuCommandItem> OpenMenusAsUser(QMenuBar& bar)
{
    std::vector<MenuCommandItem> items;
    for (QAction* action : bar.actions()) {
        if (QMenu* menu = action->menu()) {
            if (action->isEnabled())
                Walk(*menu, action->text(), items);
        } else if (uint32_t command = ActionCommand(action)) {
            items.push_back({action, command, action->text()});
        }
    }
    return items;
}

} // namespace qv
