// The chart's indicator and market-graph popups.
#include "chartmodel/ui/ChartPopupMenu.h"

#include "shell/MainMenu.h"
#include "shell/SoftMenu.h"
#include "shell/ui/MenuGuard.h"
#include "shell/ui/SoftMenuQt.h"
#include "views/ViewKinds.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace qv {

uint32_t ChartPopupMenuId(uint32_t command, int32_t viewKind)
{
    const bool daily = viewKind == kViewDailyChart, intraday = viewKind == kViewIntradayChart;
    if (command == kCommandIndicatorPopup)
        return daily ? 773 : intraday ? 776 : 0;
    if (command == kCommandMarketPopup)
        return daily ? 774 : intraday ? 772 : 0;
    return 0;
}

void ShowChartPopupMenu(uint32_t menuId, QWidget* parent, std::function<void(uint32_t)> run)
{
    if (menuId == 0)
        return;
    QMenu* menu = CreateSoftQMenu(BuildBarPopup(menuId, CurrentSoftMenuContext()), parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    RunChosenCommandsLater(*menu, parent, std::move(run));
    menu->popup(QCursor::pos());
}

} // namespace qv
