// Placeholder menus with their titles and main commands.
#include "shell/ui/MenuBarBuilder.h"

#include "resources/MessageIds.h"
#include "shell/MenuBarPlan.h"

#include <QMenu>
#include <QMenuBar>

namespace qv {
namespace {

constexpr uint32_t kCommandExit = 57665;       // the class library's exit command
constexpr uint32_t kCommandCascade = 57650;
constexpr uint32_t kCommandTile = 57651;
constexpr uint32_t kCommandHelpTopics = 57667;
constexpr uint32_t kFirstSetting = 20500;

QAction* AddCommand(QMenu* menu, const QString& text, uint32_t command)
{
    QAction* action = menu->addAction(text);
    action->setData(command);
    return action;
}

} // namespace

void BuildMainMenuBar(QMenuBar& bar)
{
    for (QAction* action : bar.actions())
        if (QMenu* menu = action->menu())
            menu->deleteLater();
    bar.clear();
    QMenu* file = bar.addMenu(QStringLiteral("&File"));
    AddCommand(file, QStringLiteral("E&xit"), kCommandExit);
    bar.addMenu(QStringLiteral("&Edit"));
    QMenu* view = bar.addMenu(QStringLiteral("&View"));
    AddCommand(view, QStringLiteral("&Refresh"), ID_REFRESH);
    bar.addMenu(QStringLiteral("&Tools"));
    bar.addMenu(QStringLiteral("&Update"));
    QMenu* window = bar.addMenu(QStringLiteral("&Window"));
    AddCommand(window, QStringLiteral("&Cascade"), kCommandCascade);
    AddCommand(window, QStringLiteral("&Tile"), kCommandTile);
    QMenu* help = bar.addMenu(QStringLiteral("&Help"));
    AddCommand(help, QStringLiteral("&Help Topics"), kCommandHelpTopics);
}

QMenu* BuildViewMenu(uint32_t menuId, int32_t kind, QWidget* parent)
{
    const char* title = menuId == kGeneralPortfolioMenu ? "&Portfolio" : ViewMenuTitle(kind);
    auto* menu = new QMenu(QString::fromLatin1(title), parent);
    menu->setObjectName(QStringLiteral("menu%1").arg(menuId));
    if (menuId == kParentListGraphMenu)
        AddCommand(menu, QStringLiteral("&Return to Parent List"), ID_NEXT_VIEW);
    AddCommand(menu, QStringLiteral("&Refresh"), ID_REFRESH);
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
    return menu;
}

} // namespace qv
