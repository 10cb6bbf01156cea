// The frame's menus built from the menu tables: the main menu and the view menus; the
// tables-and-settings popup is made here from the table names.
#include "shell/ui/MenuBarBuilder.h"

#include "core/ConfigState.h"
#include "core/WindowLayouts.h"
#include "shell/KeyTable.h"
#include "shell/MainMenu.h"
#include "shell/MenuBarPlan.h"
#include "shell/SettingCommands.h"
#include "shell/SoftMenu.h"
#include "shell/ui/FrameCommandHost.h"
#include "shell/ui/SoftMenuQt.h"
#include "views/FrameState.h"

#include <QMenu>
#include <QMenuBar>

namespace qv {

void BuildMainMenuBar(QMenuBar& bar, bool showInfoCentre)
{
    // The menus show the keys of the program's own table, which may have changed since the last build.
    SetSoftMenuKeyTable(&KeyTable());
    SoftMenuContext context = CurrentSoftMenuContext();
    SoftMenu menu = BuildSoftMenu(kMainMenu, false, 0, context);
    if (context.multipleWindows) {
        std::array<std::string, kLayoutCommands> names;
        for (int n = 0; n < kLayoutCommands; ++n) {
            const std::string& name = WindowLayouts().layouts[size_t(n)].name;
            names[size_t(n)] = name.empty() ? DefaultLayoutName(n) : name;
        }
        InsertWindowLayoutCommands(menu, names, context.keys);
    }
    ShowInfoCentreCommand(menu, showInfoCentre, context.keys);
    FillSoftMenuBar(bar, menu);
}

QMenu* BuildViewMenu(uint32_t menuId, int32_t, QWidget* parent)
{
    QMenu* menu = CreateBarPopupMenu(menuId, parent);
    menu->setObjectName(QStringLiteral("menu%1").arg(menuId));
    return menu;
}

QMenu* BuildTablesMenu(int32_t kind, QWidget* parent)
{
    ConfigKind configKind = ConfigKindOfView(MainFrameState().activeView);
    configKind.kind = kind;
    SoftMenuEntry popup = BuildTablesPopup(Config(), configKind, KeyTable());
    QMenu* menu = CreateSoftQMenu(popup, parent);
    menu->setObjectName(QStringLiteral("tablesMenu"));
    return menu;
}

} // namespace qv
