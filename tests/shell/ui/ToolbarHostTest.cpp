// The user toolbars on the main frame: bars laid out from the toolbar set, buttons that send their
// commands, tooltips, the context menu, the toolbar commands, and every key a menu shows.
#include "shell/ui/ToolbarHost.h"

#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/KeyEditing.h"
#include "shell/KeyTable.h"
#include "shell/SoftMenu.h"
#include "shell/UserToolbars.h"
#include "shell/ui/CustomToolBar.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/ToolbarImages.h"
#include "support/ui/Render.h"
#include "tests/support/FakeMessageBox.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace qv {
namespace {

class ToolbarFrame : public ::testing::Test {
protected:
    ToolbarFrame()
    {
        saved_.CopyToolbarsFrom(ProgramToolbars());
        ProgramToolbars().ClearToolbars();
        ProgramToolbars().shown = true;
        ProgramToolbars().screen = {1024, 768};
        ProgramToolbars().SetDefaultToolbars(-1);
        KeyTable().clear();
        AddDefaultAccelerators(KeyTable(), true);
        MainWindowCreated = 1;
        frame = std::make_unique<CMainFrame>();
        frame->resize(1024, 720);
        frame->show();
        CToolbarButtons::SetCommandSink([this](uint32_t command) { sent.push_back(command); });
        frame->toolbars()->Layout(true);
    }
    ~ToolbarFrame() override
    {
        CToolbarButtons::SetCommandSink([](uint32_t command) {
            if (MessageTarget* f = MainFrameTarget())
                SendProgramMessage(*f, WM_COMMAND, command);
        });
        SetModalDialogRunner(nullptr);
        frame.reset();
        DeliverPostedMessages();
        KeyTable().clear();
        MainWindowCreated = 0;
        ProgramToolbars().CopyToolbarsFrom(saved_);
        MainFrameState() = FrameState{};
    }

    CToolbarButtons* BarOf(const std::string& name)
    {
        for (CToolbarButtons* bar : frame->toolbars()->Bars())
            if (ProgramToolbars().toolbars[bar->toolbarIndex()]->name == name)
                return bar;
        return nullptr;
    }

    // A command target, asked after the frame and the toolbars, that enables every command but
    // 26920 and records what runs.
    struct Commands : CommandTarget {
        Commands() { AddCommandTarget(this); }
        ~Commands() override { RemoveCommandTarget(this); }
        std::vector<uint32_t> ran;
        bool UpdateCommand(CommandUi& ui) override
        {
            ui.enabled = ui.command != 26920;
            return true;
        }
        bool RunCommand(uint32_t command) override
        {
            ran.push_back(command);
            return true;
        }
    };

    ToolbarSet saved_;
    std::unique_ptr<CMainFrame> frame;
    std::vector<uint32_t> sent;
};

TEST_F(ToolbarFrame, DefaultToolbarsAreDockedAtStart)
{
    // Main bar on top, Settings bar at the bottom; the graph and news bars wait for their views.
    CToolbarButtons* main = BarOf("Main bar");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(frame->toolBarArea(frame->toolbars()->DockedBars()[0]), Qt::TopToolBarArea);
    ASSERT_NE(BarOf("Settings bar"), nullptr);
    EXPECT_EQ(BarOf("Graph bar"), nullptr);
    EXPECT_EQ(main->buttons().size(), ProgramToolbars().toolbars[0]->Codes().size());
    EXPECT_EQ(main->buttons()[0].command, 26910u);

    // A chart makes the graph bar appear.
    frame->toolbars()->ShowForKind(0);
    EXPECT_NE(BarOf("Graph bar"), nullptr);
    EXPECT_EQ(BarOf("News bar"), nullptr);
    if (test::FontsAvailable())
        test::SaveRender(test::RenderWidget(*frame), QStringLiteral("toolbars_frame_default"));
}

TEST_F(ToolbarFrame, ANarrowerFrameWrapsTheBarsAgain)
{
    size_t wide = frame->toolbars()->DockedBars().size();
    frame->resize(640, 720);
    // The main bar of 20 large buttons no longer fits one row of 640 pixels.
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->toolbars()->DockedBars().size() > wide; }, 60000));
    EXPECT_EQ(ProgramToolbars().sideExtent[kSideTop], 2 * 55);
}

TEST_F(ToolbarFrame, ButtonsSendOnReleaseOverTheSameButtonOnly)
{
    Commands commands;
    CToolbarButtons* main = BarOf("Main bar");
    ASSERT_NE(main, nullptr);
    main->UpdateButtons();
    QPoint first = main->ButtonRect(0).center();
    QPoint second = main->ButtonRect(1).center();
    QTest::mouseClick(main, Qt::LeftButton, {}, first);
    EXPECT_EQ(sent, std::vector<uint32_t>{26910});
    // Pressed on one button, released on another: nothing is sent.
    QTest::mousePress(main, Qt::LeftButton, {}, first);
    EXPECT_EQ(main->pressed(), 0);
    QTest::mouseRelease(main, Qt::LeftButton, {}, second);
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(main->pressed(), -1);
    // The context help button sends its command like any other; the frame's help mode takes the
    // next click (the frame's tests).
    int help = -1;
    for (int i = 0; i < int(main->buttons().size()); ++i)
        if (main->buttons()[size_t(i)].code == kContextHelpCode)
            help = i;
    ASSERT_GE(help, 0);
    QTest::mouseClick(main, Qt::LeftButton, {}, main->ButtonRect(help).center());
    QTest::mouseClick(main, Qt::LeftButton, {}, first);
    EXPECT_EQ(sent, (std::vector<uint32_t>{26910, 57669, 26910}));
}

TEST_F(ToolbarFrame, ButtonStatesFollowTheCommandRouting)
{
    Commands commands;
    CUserToolbar& main = *ProgramToolbars().toolbars[0];
    main.SetEntries({ToolbarEntry{0, 0, {}}, ToolbarEntry{kSpacerCode, 0, {}}, ToolbarEntry{48, 0, {}}});
    frame->toolbars()->Layout(true);
    CToolbarButtons* bar = BarOf("Main bar");
    ASSERT_NE(bar, nullptr);
    bar->UpdateButtons();
    EXPECT_TRUE(bar->buttons()[0].state & kButtonEnabled);
    EXPECT_EQ(bar->buttons()[1].kind, kButtonSpacer);
    EXPECT_FALSE(bar->buttons()[2].state & kButtonEnabled); // code 48 sends 26920
    // A disabled button does not send.
    sent.clear();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->ButtonRect(2).center());
    EXPECT_TRUE(sent.empty());
}

// The box and reversal styles are on no menu: their buttons (codes 218-221) on a user toolbar send
// "Display point & figure", "Display Kagi chart", "Display Renko chart" and "Display 3-Line Break".
TEST_F(ToolbarFrame, TheBoxStyleButtonsSendTheirCommands)
{
    Commands commands;
    CUserToolbar& main = *ProgramToolbars().toolbars[0];
    main.SetEntries({ToolbarEntry{218, 0, {}}, ToolbarEntry{219, 0, {}}, ToolbarEntry{220, 0, {}},
                     ToolbarEntry{221, 0, {}}});
    frame->toolbars()->Layout(true);
    CToolbarButtons* bar = BarOf("Main bar");
    ASSERT_NE(bar, nullptr);
    bar->UpdateButtons();
    sent.clear();
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(bar->buttons()[size_t(i)].state & kButtonEnabled) << i;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->ButtonRect(i).center());
    }
    EXPECT_EQ(sent, (std::vector<uint32_t>{27217, 27250, 27251, 27252}));
}

TEST_F(ToolbarFrame, TooltipsNamePortfoliosAndCommands)
{
    CToolbarButtons* settings = BarOf("Settings bar");
    ASSERT_NE(settings, nullptr);
    int portfolio = -1;
    for (int i = 0; i < int(settings->buttons().size()); ++i)
        if (settings->buttons()[size_t(i)].code == 21)
            portfolio = i;
    ASSERT_GE(portfolio, 0);
    EXPECT_EQ(settings->TooltipAt(settings->ButtonRect(portfolio).center()), QStringLiteral("Portfolio - not set"));
    EXPECT_EQ(settings->TooltipAt(QPoint(-5, -5)), QString());
    CToolbarButtons* main = BarOf("Main bar");
    EXPECT_FALSE(main->TooltipAt(main->ButtonRect(0).center()).isEmpty());
}

TEST_F(ToolbarFrame, ContextMenuIsPrunedByTheButtonUnderTheCursor)
{
    CToolbarButtons* settings = BarOf("Settings bar");
    ASSERT_NE(settings, nullptr);
    auto commandsOf = [&](int button) {
        std::unique_ptr<QMenu> menu(frame->toolbars()->BuildContextMenu(*settings, button));
        std::vector<uint32_t> commands;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                commands.push_back(action->data().toUInt());
        return commands;
    };
    auto indexOf = [&](uint16_t code) {
        for (int i = 0; i < int(settings->buttons().size()); ++i)
            if (settings->buttons()[size_t(i)].code == code)
                return i;
        return -1;
    };
    std::vector<uint32_t> rest{26270, 26754, 26753, 26672, 26408, 26271, 26272, 26273, 26409};
    std::vector<uint32_t> portfolio{26410, 26411};
    portfolio.insert(portfolio.end(), rest.begin(), rest.end());
    std::vector<uint32_t> setting{26410};
    setting.insert(setting.end(), rest.begin(), rest.end());
    EXPECT_EQ(commandsOf(indexOf(21)), portfolio);
    EXPECT_EQ(commandsOf(indexOf(52)), setting);
    EXPECT_EQ(commandsOf(indexOf(15)), rest);
    EXPECT_EQ(commandsOf(-1), rest);
}

TEST_F(ToolbarFrame, ToolbarCommandsChangeSizesAndVisibility)
{
    ProgramToolbars().current = 0;
    EXPECT_TRUE(QueryCommandUi(26271).checked.value_or(false));
    frame->OnCommand(26273);
    EXPECT_EQ(ProgramToolbars().toolbars[0]->size, kButtonsSmall);
    EXPECT_EQ(BarOf("Main bar")->buttonSize(), kButtonsSmall);
    EXPECT_TRUE(QueryCommandUi(26273).checked.value_or(false));
    EXPECT_TRUE(QueryCommandUi(59392).checked.value_or(false));
    frame->OnCommand(59392);
    EXPECT_TRUE(frame->toolbars()->Bars().empty());
    frame->OnCommand(59392);
    EXPECT_FALSE(frame->toolbars()->Bars().empty());

    test::FakeMessageBox box;
    box.queue(MsgAnswer::Yes);
    ProgramToolbars().current = 1;
    std::string name = ProgramToolbars().toolbars[1]->name;
    frame->OnCommand(26753);
    EXPECT_EQ(ProgramToolbars().Count(), 3u);
    EXPECT_EQ(box.texts().back(), "Are you sure you want to delete the toolbar " + name + "?");
    box.queue(MsgAnswer::Yes);
    frame->OnCommand(26672);
    EXPECT_EQ(ProgramToolbars().Count(), 4u);

    // Dialogs run by commands close as Cancel without a person there, and change nothing.
    SetModalDialogRunner([](QDialog& dialog) {
        dialog.reject();
        return int(QDialog::Rejected);
    });
    for (uint32_t command : {26270u, 26408u, 26409u, 26754u})
        frame->OnCommand(command);
    EXPECT_EQ(ProgramToolbars().Count(), 4u);
    // Without an answer the offscreen screen, where no one could answer, cancels them too.
    SetModalDialogRunner(nullptr);
    for (uint32_t command : {26270u, 26408u, 26409u, 26754u})
        frame->OnCommand(command);
    EXPECT_EQ(ProgramToolbars().Count(), 4u);
}

TEST_F(ToolbarFrame, RendersOfEachSizeOnThreeSidesAndFloating)
{
    Commands commands; // enabled buttons show their pictures; 26920 stays greyed
    ToolbarSet& set = ProgramToolbars();
    set.ClearToolbars();
    auto add = [&](const char* name, uint8_t dock, uint8_t size, std::vector<uint16_t> codes) {
        set.AddToolbar(-1);
        CUserToolbar& t = *set.toolbars.back();
        t.name = name;
        t.dock = dock;
        t.size = size;
        std::vector<ToolbarEntry> entries;
        for (uint16_t c : codes)
            entries.push_back(ToolbarEntry{c, 0, {}});
        t.SetEntries(entries);
    };
    add("top large", kSideTop, kButtonsLarge, {0, 1, 2, 3, kSpacerCode, 12, 4, 5, 9, kSpacerCode, 6, 7, 10, 11});
    add("left small", kSideLeft, kButtonsSmall, {37, 41, 122, 8, 118, 119, 120, kSpacerCode, 116, 117, 48});
    add("bottom wide", kSideBottom, kButtonsWide, {52, 53, 54, kSpacerCode, 21, 22, 15});
    add("floating", kSideFloating, kButtonsSmall, {135, 136, 137, 138, 139});
    frame->toolbars()->Layout(true);
    ASSERT_EQ(frame->toolbars()->FloatingWindows().size(), 1u);
    if (!test::FontsAvailable())
        GTEST_SKIP() << "no fonts";
    test::SaveRender(test::RenderWidget(*frame), QStringLiteral("toolbars_three_sides"));
    QWidget* floating = frame->toolbars()->FloatingWindows()[0];
    test::SaveRender(test::RenderWidget(*floating->findChild<CToolbarButtons*>()), QStringLiteral("toolbars_floating"));
    for (uint8_t size = 0; size < 3; ++size) {
        RefreshToolbarImages();
        test::SaveRender(ProgramToolbarStrip(size), QStringLiteral("toolbar_strip_%1").arg(size));
    }
}

// Every key a menu item of the frame's bar shows runs that item's command, in the bar of every view
// kind, with the default keys, with none (a file without keys: the tables' own key texts then), and
// with a user's key given to "All", whose F5 keeps working beside it.
TEST_F(ToolbarFrame, EveryKeyShownBesideAMenuItemWorks)
{
    enum Keys { kDefaultKeys, kNoKeys, kUserKeyOnAll };
    for (int32_t kind = -1; kind < kViewKindCount; ++kind)
    for (Keys keys : {kDefaultKeys, kNoKeys, kUserKeyOnAll}) {
        SCOPED_TRACE(kind);
        SCOPED_TRACE(keys == kDefaultKeys ? "default keys" : keys == kNoKeys ? "no keys" : "a user key on All");
        KeyTable().clear();
        if (keys != kNoKeys)
            AddDefaultAccelerators(KeyTable(), true);
        if (keys == kUserKeyOnAll)
            KeyTable().push_back(AcceleratorKey{'Q', kAccelCtrl, 0, uint16_t(SoftMenuAcceleratorAlias(26991)), 0});
        MainFrameState().activeKind = kind;
        frame->ReloadMainMenu();
        Commands commands;
        struct Shown {
            QString text;
            uint32_t command;
        };
        std::vector<Shown> shown;
        std::set<QString> seen;
        std::function<void(QMenu&)> walk = [&](QMenu& menu) {
            for (QAction* action : menu.actions()) {
                if (action->menu()) {
                    walk(*action->menu());
                    continue;
                }
                qsizetype tab = action->text().indexOf(QLatin1Char('\t'));
                // A key shown twice means the first item reached: the view's own menus come first.
                if (tab >= 0 && action->data().toUInt() != 0 && seen.insert(action->text().mid(tab + 1)).second)
                    shown.push_back({action->text().mid(tab + 1), action->data().toUInt()});
            }
        };
        for (int slot : {5, 6, 7})
            if (QMenu* menu = frame->SlotMenu(slot))
                walk(*menu);
        for (QAction* action : frame->menuBar()->actions())
            if (action->menu())
                walk(*action->menu());
        ASSERT_GT(shown.size(), 10u);
        int pressed = 0;
        for (const Shown& s : shown) {
            for (const QString& part : s.text.split(QStringLiteral(" or "))) {
                std::optional<ShortcutKey> key = ParseShortcutText(part.toStdString());
                if (!key)
                    continue; // "Any char": the find-a-share keys
                SCOPED_TRACE(s.text.toStdString());
                uint8_t modifiers = key->modifiers;
                frame->NoteKeyState(KeyState{bool(modifiers & kAccelCtrl), bool(modifiers & kAccelShift), false});
                commands.ran.clear();
                // Keys are handed over as the window layer reads them: punctuation as its virtual key.
                uint32_t virtualKey = key->key;
                for (uint32_t vk : {0xBDu, 0xBBu, 0xDBu, 0xDDu, 0xBAu, 0xC0u, 0xDEu, 0xDCu, 0xBCu, 0xBEu, 0xBFu})
                    if (OemKeyToChar(vk) == key->key)
                        virtualKey = vk;
                if (key->key == 223)
                    virtualKey = 0xDF;
                EXPECT_TRUE(frame->HandleViewKey(virtualKey));
                DeliverPostedMessages();
                uint32_t expected = SoftMenuAcceleratorAlias(s.command);
                if (const AcceleratorKey* user = KeyOfCommand(KeyTable(), uint16_t(expected)))
                    expected = user->command;
                ASSERT_EQ(commands.ran.size(), 1u);
                EXPECT_EQ(commands.ran[0], expected);
                ++pressed;
            }
        }
        EXPECT_GT(pressed, 10);
        if (keys == kUserKeyOnAll && kind == kViewList) {
            const auto all = std::find_if(shown.begin(), shown.end(), [](const Shown& s) { return s.command == 26991; });
            ASSERT_NE(all, shown.end());
            EXPECT_EQ(all->text, QStringLiteral("F5 or Ctrl+Q"));
        }
    }
}

} // namespace
} // namespace qv
