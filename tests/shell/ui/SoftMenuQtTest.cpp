// Qt menus from the menu tables: texts, command data, and greying through the command routing.
#include "shell/ui/SoftMenuQt.h"

#include "shell/MainMenu.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace qv;

namespace {

QAction* FindAction(QMenu* menu, uint32_t command)
{
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            if (QAction* found = FindAction(action->menu(), command))
                return found;
        } else if (ActionCommand(action) == command) {
            return action;
        }
    }
    return nullptr;
}

class TestTarget : public CommandTarget {
public:
    bool UpdateCommand(CommandUi& ui) override
    {
        if (ui.command != 26212)
            return false;
        ui.enabled = true;
        ui.checked = crosshairs;
        return true;
    }
    bool RunCommand(uint32_t command) override
    {
        if (command != 26212)
            return false;
        crosshairs = !crosshairs;
        return true;
    }
    bool crosshairs = false;
};

} // namespace

TEST(SoftMenuQt, BarHoldsEveryPopupWithUnhandledCommandsGreyed)
{
    QMenuBar bar;
    FillSoftMenuBar(bar, BuildSoftMenu(300, false, 0, SoftMenuContext{false, true, nullptr}));
    QStringList titles;
    for (QAction* action : bar.actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "T&ools", "&Update", "&Window", "&Help"}));
    QMenu* file = bar.actions()[0]->menu();
    QAction* print = FindAction(file, 26119);
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->text(), QStringLiteral("&Print...\tCtrl+P"));
    EXPECT_FALSE(print->isEnabled()); // present, but no handler yet

    ApplicationCommands().Add(26119, [] {});
    emit file->aboutToShow();
    EXPECT_TRUE(print->isEnabled());
    ApplicationCommands().Remove(26119);
    emit file->aboutToShow();
    EXPECT_FALSE(print->isEnabled());
}

TEST(SoftMenuQt, TargetsSetStateAndRunCommandsInOrder)
{
    TestTarget target;
    AddCommandTarget(&target);
    QMenu* graph = CreateSoftQMenu(BuildBarPopup(301, SoftMenuContext{false, false, nullptr}), nullptr);
    QAction* crosshairs = FindAction(graph, 26212);
    ASSERT_NE(crosshairs, nullptr);
    EXPECT_TRUE(crosshairs->isEnabled());
    EXPECT_TRUE(crosshairs->isCheckable());
    EXPECT_FALSE(crosshairs->isChecked());
    EXPECT_TRUE(RouteCommand(26212));
    emit graph->aboutToShow();
    EXPECT_TRUE(crosshairs->isChecked());
    EXPECT_FALSE(RouteCommand(26213));
    RemoveCommandTarget(&target);
    EXPECT_FALSE(QueryCommandUi(26212).enabled);
    delete graph;
}

TEST(SoftMenuQt, TextsKeepTheirWindows1252Characters)
{
    QMenu* columns = CreateSoftQMenu(BuildSoftMenu(415, true, 0, SoftMenuContext{}).entries[0], nullptr);
    QAction* cap = FindAction(columns, 26804);
    ASSERT_NE(cap, nullptr);
    EXPECT_EQ(cap->text(), QString::fromUtf8("Capitalisation (\u00A3m)"));
    delete columns;
}

TEST(SoftMenuQt, RendersTheFileMenuWithGreyedCommands)
{
    ASSERT_TRUE(test::FontsAvailable()) << "no font: install fonts-dejavu-core and fontconfig";
    std::vector<AcceleratorKey> keys;
    AddDefaultAccelerators(keys, true);
    SoftMenu bar = BuildSoftMenu(300, false, 0, SoftMenuContext{true, true, &keys});
    ApplicationCommands().Add(57665, [] {});
    QMenu* file = CreateSoftQMenu(bar.entries[0], nullptr);
    file->adjustSize();
    QImage image = test::RenderWidget(*file);
    EXPECT_GT(image.height(), 200);
    test::SaveRender(image, QStringLiteral("soft-menu-file"));
    ApplicationCommands().Remove(57665);
    delete file;
}
