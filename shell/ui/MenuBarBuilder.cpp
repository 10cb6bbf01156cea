// The frame's menus built from the menu tables: the main menu and the view menus; the
// tables-and-settings popup is made here from the table names.
#include "shell/ui/MenuBarBuilder.h"

#include "core/WindowLayouts.h"
#include "shell/KeyTable.h"
#include "shell/MainMenu.h"
#include "shell/MenuBarPlan.h"
#include "shell/SoftMenu.h"
#include "shell/ui/SoftMenuQt.h"

#include <QMenu>
#include <QMenuBar>

namespace qv {
namespace {

constexpr uint32_t kFirstSetting = 20500;

QAction* AddCommand(QMenu* menu, const QString& text, uint32_t command)
{
    QAction* action = menu->addAction(text);
    action->setData(command);
    return action;
}

} // namespace

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
    auto* menu = new QMenu(QString::fromLatin1(TablesMenuTitle(kind, false)), parent);
    QString noun = QString::fromLatin1(TablesMenuNoun(kind, false));
    QString word = noun == QLatin1String("setting") ? QStringLiteral("Setting") : QStringLiteral("Table");
    for (uint32_t i = 0; i < 12; ++i)
        AddCommand(menu, QStringLiteral("%1 %2").arg(word).arg(i + 1), kFirstSetting + i);
    menu->addSeparator();
    menu->addAction(QStringLiteral("&Rename ") + noun)->setEnabled(false);
    // Like every menu, the settings take their state from the command routing each time it opens.
    UpdateMenuCommands(*menu);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { UpdateMenuCommands(*menu); });
    return menu;
}

} // namespace qv
