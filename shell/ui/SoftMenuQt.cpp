// Turning built soft menus into QMenu and QMenuBar entries.
#include "shell/ui/SoftMenuQt.h"

#include "platform/qt/QtText.h"
#include "shell/MainMenu.h"
#include "shell/ui/MenuGuard.h"
#include "views/CommandUpdate.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace qv {
namespace {

void AddEntries(QMenu& menu, const std::vector<SoftMenuEntry>& entries);

void AddEntry(QMenu& menu, const SoftMenuEntry& entry)
{
    if (entry.isSeparator()) {
        menu.addSeparator();
        return;
    }
    if (entry.isPopup()) {
        QMenu* sub = CreateSoftQMenu(entry, &menu);
        menu.addMenu(sub)->setEnabled(!(entry.flags & kMenuGrayed));
        return;
    }
    QAction* action = menu.addAction(FromCp1252(entry.text));
    action->setData(entry.command);
}

void AddEntries(QMenu& menu, const std::vector<SoftMenuEntry>& entries)
{
    for (const SoftMenuEntry& entry : entries)
        AddEntry(menu, entry);
}

} // namespace

QMenu* CreateSoftQMenu(const QString& title, const std::vector<SoftMenuEntry>& entries, QWidget* parent)
{
    auto* menu = new CGuardedMenu(title, parent);
    AddEntries(*menu, entries);
    UpdateMenuCommands(*menu);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { UpdateMenuCommands(*menu); });
    return menu;
}

QMenu* CreateSoftQMenu(const SoftMenuEntry& popup, QWidget* parent)
{
    return CreateSoftQMenu(FromCp1252(popup.text), popup.items, parent);
}

QMenu* CreateOwnSoftQMenu(uint32_t menuId, QWidget* parent, std::function<void(uint32_t command)> run)
{
    auto* menu = new QMenu(parent);
    const SoftMenu built = LoadSoftMenu(menuId, true, 0xFF);
    const std::vector<SoftMenuEntry>* entries = &built.entries;
    if (entries->size() == 1 && entries->front().isPopup())
        entries = &entries->front().items;
    AddEntries(*menu, *entries);
    QObject::connect(menu, &QMenu::triggered, parent,
                     [run = std::move(run)](QAction* action) { run(ActionCommand(action)); });
    return menu;
}

QMenu* CreateBarPopupMenu(uint32_t menuId, QWidget* parent)
{
    return CreateSoftQMenu(BuildBarPopup(menuId, CurrentSoftMenuContext()), parent);
}

void FillSoftMenuBar(QMenuBar& bar, const SoftMenu& menu)
{
    // The caller waits until no menu is in use (shell/ui/MenuGuard.h): none of these can be returned
    // into, and none can be opened again once out of the bar.
    for (QAction* action : bar.actions())
        if (QMenu* sub = action->menu())
            sub->deleteLater();
    bar.clear();
    for (const SoftMenuEntry& entry : menu.entries) {
        if (entry.isPopup()) {
            bar.addMenu(CreateSoftQMenu(entry, &bar))->setEnabled(!(entry.flags & kMenuGrayed));
        } else if (!entry.isSeparator()) {
            QAction* action = bar.addAction(FromCp1252(entry.text));
            action->setData(entry.command);
            CommandUi ui = QueryCommandUi(entry.command);
            action->setEnabled(ui.enabled);
        }
    }
}

uint32_t ActionCommand(const QAction* action)
{
    bool ok = false;
    uint32_t command = action->data().toUInt(&ok);
    return ok ? command : 0;
}

void UpdateMenuCommands(QMenu& menu)
{
    for (QAction* action : menu.actions()) {
        if (action->menu() || action->isSeparator())
            continue;
        uint32_t command = ActionCommand(action);
        if (!command)
            continue;
        CommandUi ui = QueryCommandUi(command);
        action->setEnabled(ui.enabled);
        action->setVisible(!ui.hidden);
        action->setCheckable(ui.checked.has_value());
        if (ui.checked)
            action->setChecked(*ui.checked);
        if (ui.text)
            action->setText(FromCp1252(*ui.text));
    }
}

} // namespace qv
