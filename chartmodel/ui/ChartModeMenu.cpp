// Tracking a chart's popup menu.
#include "chartmodel/ui/ChartModeMenu.h"

#include "chartmodel/ui/ViewGraphWindow.h"
#include "resources/MessageIds.h"
#include "shell/CommandUpdate.h"
#include "shell/SoftMenu.h"
#include "shell/ui/SoftMenuQt.h"

#include <QAction>
#include <QMenu>
#include <memory>

namespace qv {

void TrackChartMenuFor(CViewGraphWnd& chart, uint32_t menuId, uint8_t flags, const QPoint& global)
{
    SoftMenu built = LoadSoftMenu(menuId, true, flags);
    if (built.entries.empty())
        return;
    std::unique_ptr<QMenu> menu(CreateSoftQMenu(built.entries.front(), &chart));
    QObject::disconnect(menu.get(), &QMenu::aboutToShow, nullptr, nullptr);
    for (QAction* action : menu->actions()) {
        CommandUi ui{ActionCommand(action), false, std::nullopt, std::nullopt};
        if (!ui.command || !chart.UpdateCommandUi(ui)) {
            action->setEnabled(action->menu() != nullptr);
            continue;
        }
        action->setEnabled(ui.enabled);
        action->setCheckable(ui.checked.has_value());
        action->setChecked(ui.checked.value_or(false));
    }
    QAction* chosen = menu->exec(global);
    if (chosen && chosen->isEnabled() && ActionCommand(chosen))
        chart.onProgramMessage(WM_COMMAND, ActionCommand(chosen), 0);
}

} // namespace qv
