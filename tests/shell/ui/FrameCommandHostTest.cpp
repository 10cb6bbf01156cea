// Tests of the frame's table, setting, portfolio, tool and real-time commands on the real frame,
// offscreen, with recording seams in place of the dialogs of other subsystems.
#include "shell/ui/FrameCommandHost.h"

#include "core/ConfigFamilies.h"
#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/ShareList.h"
#include "core/VexaEdition.h"
#include "core/WindowLayouts.h"
#include "devtools/lib/TempFolder.h"
#include "platform/MessageDispatch.h"
#include "platform/Paths.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/UndoRing.h"
#include "realtime/AgreementPages.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/TimerQueue.h"
#include "realtime/ui/NyseAgreementWizard.h"
#include "shell/FrameCommands.h"
#include "shell/FrameDialogSeams.h"
#include "shell/FrameMessages.h"
#include "shell/KeyTable.h"
#include "shell/LayoutWindow.h"
#include "shell/MenuBarPlan.h"
#include "shell/PortfolioCommands.h"
#include "shell/ToolbarCatalogue.h"
#include "shell/UserToolbars.h"
#include "shell/ui/CustomToolBar.h"
#include "shell/ui/MainFrame.h"
#include "core/ViewSettings.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/ToolbarHost.h"
#include "shell/ui/ViewRequests.h"
#include "support/FakeMessageBox.h"
#include "support/ui/FactoryFrame.h"
#include "support/ui/Render.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewGroupFields.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace qv;

namespace {

class FrameCommandHost : public test::FactoryFrame {
protected:
    FrameCommandHost() : FactoryFrame(1000, 760)
    {
        ResetAllConfigFamilies(Config());
        GetUndoRing().clear(); // steps an earlier test of the same process left
        requests = std::make_unique<CViewRequests>(*frame, *factory);
        previousOpener = SetExternalOpener([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
        host = std::make_unique<CFrameCommandHost>(*frame, *requests);
    }
    ~FrameCommandHost() override
    {
        host.reset();
        requests.reset();
        SetExternalOpener(std::move(previousOpener));
        FrameDialogs() = FrameDialogSeams{};
        SetModalDialogRunner(nullptr);
        SetFeedStateQuery(nullptr);
        GetUndoRing().clear();
        ProgramSwitches() = FrameSwitches{};
        ProgramToolbars().portfolioTargets = {};
        Config() = ConfigState{};
        BusyFlag = 0;
        ModalCount = 0;
    }

    // One window of the kind, active, with five shares in its list and the third current.
    CViewBase* Start(int32_t kind)
    {
        factory->CloseAllWindows();
        Settle();
        std::vector<LayoutWindow> windows = BuildDefaultLayout(0, factory->ClientArea());
        windows.resize(1);
        windows[0].kind = kind;
        SetLayoutSlotWindows(0, windows);
        factory->CreateLayoutWindows();
        Settle();
        CViewBase* view = MainFrameState().activeView;
        EXPECT_NE(view, nullptr);
        if (view && view->list && view->list->entries) {
            for (int32_t i = 0; i < 5; ++i)
                view->list->entries[i] = RecordCursor{Share(uint16_t(0x4001 + i)), 0};
            view->list->current = 2;
            view->list->last = 4;
        }
        return view;
    }
    void Settle()
    {
        QApplication::processEvents();
        DeliverPostedMessages();
        QApplication::processEvents();
    }
    Portfolio* MakePortfolio(uint16_t number, const char* name)
    {
        auto* p = new Portfolio;
        p->number = number;
        p->name = name;
        ResetPortfolioEntries(*p);
        AppendToChain(p);
        owned.emplace_back(p);
        return p;
    }

    std::unique_ptr<CViewRequests> requests;
    std::unique_ptr<CFrameCommandHost> host;
    std::vector<std::string> opened;
    ExternalOpener previousOpener;
    struct Unlink {
        void operator()(Portfolio* p) const
        {
            UnlinkFromChain(p);
            ClearPortfolio(p, true);
            delete p;
        }
    };
    std::vector<std::unique_ptr<Portfolio, Unlink>> owned;
};

} // namespace

TEST_F(FrameCommandHost, ACommandWhoseDialogIsNotInstalledStaysGreyedAndRunsItOnceInstalled)
{
    Start(kViewList);
    struct Case {
        uint32_t command;
        uint16_t mask;
    } options[] = {{21140, 0xFFFF}, {21141, 4}, {21142, 8}, {21143, 32}, {21144, 64}, {21145, 0x880},
                   {25001, 0x880}, {21146, 2}, {27128, 512}, {26056, 32}, {26211, 64}, {27199, 0x8000}};
    // The program installs the real sheet; this test puts its own in its place. The Market hours page
    // is an intraday page, so its command needs the real-time option too.
    const auto installed = FrameDialogs().optionsSheet;
    FrameDialogs().optionsSheet = nullptr;
    uint8_t& realTime = Config().optionsA.data()[OptionBlockA::kRealTimeOption];
    const uint8_t realTimeBefore = realTime;
    realTime = 1;
    for (const Case& c : options)
        EXPECT_FALSE(QueryCommandUi(c.command).enabled) << c.command;
    EXPECT_FALSE(QueryCommandUi(26401).enabled);

    std::vector<uint16_t> masks;
    FrameDialogs().optionsSheet = [&](uint16_t mask) {
        masks.push_back(mask);
        return true;
    };
    int alarms = 0;
    SetCommandDialog(26401, [&] { return ++alarms > 0; });
    for (const Case& c : options) {
        ASSERT_TRUE(QueryCommandUi(c.command).enabled) << c.command;
        frame->OnCommand(c.command);
    }
    frame->OnCommand(26401);
    SetCommandDialog(26401, nullptr);
    std::vector<uint16_t> expected;
    for (const Case& c : options)
        expected.push_back(c.mask);
    EXPECT_EQ(masks, expected);
    EXPECT_EQ(alarms, 1);
    EXPECT_TRUE(frame->commands().isEmpty()) << "every command found its handler";
    realTime = 0;
    EXPECT_FALSE(QueryCommandUi(27199).enabled);
    realTime = realTimeBefore;
    FrameDialogs().optionsSheet = installed;
}

TEST_F(FrameCommandHost, TheTablesPopupNamesTheSettingsOfTheKindAndChecksTheCurrentOne)
{
    Config().listTables.designs[0].name = "Profit & Loss";
    CViewBase* view = Start(kViewList);
    frame->OnCommand(kCommandFirstSetting + 4);
    EXPECT_EQ(view->list->tableSetting, 4);
    frame->RebuildMenuBar();
    QMenu* menu = frame->SlotMenu(kTablesMenuSlot);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "List &Tables");
    emit menu->aboutToShow();
    QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 15);
    EXPECT_EQ(actions[0]->text(), "Profit && Loss \tF2");
    EXPECT_FALSE(actions[0]->isChecked());
    EXPECT_TRUE(actions[4]->isChecked());
    EXPECT_TRUE(actions[4]->isEnabled());
    EXPECT_EQ(actions[13]->text(), "&Rename table");
    ASSERT_NE(actions[14]->menu(), nullptr);
    EXPECT_EQ(actions[14]->menu()->actions().size(), 6);
    menu->adjustSize();
    test::SaveRender(test::RenderWidget(*menu), "tables-popup-list");
}

TEST_F(FrameCommandHost, AGraphsPopupShowsACtrlShiftKeyInPlaceOfItsFunctionKey)
{
    std::vector<AcceleratorKey> saved = KeyTable();
    KeyTable().push_back(AcceleratorKey{'5', kAccelCtrl | kAccelShift, 0, uint16_t(kCommandFirstSetting + 1), 0});
    Start(kViewDailyChart);
    frame->RebuildMenuBar();
    QMenu* menu = frame->SlotMenu(kTablesMenuSlot);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "Graph &Settings");
    emit menu->aboutToShow();
    QList<QAction*> actions = menu->actions();
    ASSERT_GE(actions.size(), 15);
    EXPECT_TRUE(actions[1]->text().endsWith("\tCtrl+Shift+5")) << actions[1]->text().toStdString();
    EXPECT_TRUE(actions[2]->text().endsWith("F4"));
    EXPECT_EQ(actions[13]->text(), "&Rename setting");
    menu->adjustSize();
    test::SaveRender(test::RenderWidget(*menu), "tables-popup-graph");
    KeyTable() = saved;
}

TEST_F(FrameCommandHost, RenameNamesTheTableAndTheLayoutThroughTheNamingDialog)
{
    CViewBase* view = Start(kViewList);
    frame->OnCommand(kCommandFirstSetting + 4);
    std::vector<QString> captions;
    SetModalDialogRunner([&](QDialog& dialog) {
        captions.push_back(dialog.windowTitle());
        dialog.findChild<QLineEdit*>()->setText(QStringLiteral("Momentum & Co"));
        return int(QDialog::Accepted);
    });
    frame->OnCommand(kCommandRenameTable);
    EXPECT_EQ(Config().listTables.designs[4].name, "Momentum & Co");
    EXPECT_EQ(view->list->tableSetting, 4);

    WindowLayouts().current = 2;
    frame->OnCommand(kCommandRenameLayout);
    EXPECT_EQ(WindowLayouts().layouts[2].name, "Momentum & Co");
    ASSERT_EQ(captions.size(), 2u);
    EXPECT_EQ(captions[0], "Rename the current list table");
    EXPECT_EQ(captions[1], "Rename the current layout");
}

TEST_F(FrameCommandHost, CopyOntoItsOwnNumberDoesNothingAndOntoAnotherTakesNameAndLayout)
{
    CViewBase* view = Start(kViewNews);
    view->list->tableSetting = 4;
    Config().newsTables.designs[4].chain = {9, 8, 7};
    Config().newsTables.designs[4].sort = 3;
    TableSlot before = Config().newsTables.designs[4];
    int target = 4;
    SetModalDialogRunner([&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText(QStringLiteral("Copied"));
        dialog.findChildren<QRadioButton*>()[target % 3]->setChecked(true);
        return int(QDialog::Accepted);
    });
    frame->OnCommand(kCommandCopyTable);
    EXPECT_EQ(Config().newsTables.designs[4], before) << "a copy onto itself changes nothing";
    EXPECT_EQ(view->list->tableSetting, 4);

    target = 1; // F3 without Shift or Ctrl: the key dialog shows index 4 as Shift+F3, so clear Shift
    SetModalDialogRunner([&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText(QStringLiteral("Copied"));
        dialog.findChildren<QRadioButton*>()[1]->setChecked(true);
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
            box->setChecked(false);
        return int(QDialog::Accepted);
    });
    frame->OnCommand(kCommandCopyTable);
    EXPECT_EQ(Config().newsTables.designs[1].name, "Copied");
    EXPECT_EQ(Config().newsTables.designs[1].chain, before.chain);
    EXPECT_EQ(Config().newsTables.designs[1].sort, 3);
    EXPECT_EQ(view->list->tableSetting, 1) << "the view shows the copy";
}

TEST_F(FrameCommandHost, UndoAndRedoShowTheirStepAndFollowBusy)
{
    Start(kViewList);
    Portfolio* growth = MakePortfolio(1, "Growth");
    EXPECT_FALSE(QueryCommandUi(kCommandUndoPortfolio).enabled);
    EXPECT_EQ(QueryCommandUi(kCommandUndoPortfolio).text, "Undo\tCtrl Z");
    PrepareUndoStep(1, growth, nullptr);
    PushUndoStep(14, growth);
    CommandUi undo = QueryCommandUi(kCommandUndoPortfolio);
    EXPECT_TRUE(undo.enabled);
    EXPECT_EQ(undo.text, "Undo rename portfolio 'Growth'\tCtrl Z");
    BusyFlag = 1;
    EXPECT_FALSE(QueryCommandUi(kCommandUndoPortfolio).enabled);
    BusyFlag = 0;

    frame->OnCommand(kCommandUndoPortfolio);
    EXPECT_FALSE(QueryCommandUi(kCommandUndoPortfolio).enabled);
    CommandUi redo = QueryCommandUi(kCommandRedoPortfolio);
    EXPECT_TRUE(redo.enabled);
    EXPECT_EQ(redo.text, "Redo rename portfolio 'Growth'\tCtrl Y");
    frame->OnCommand(kCommandRedoPortfolio);
    EXPECT_TRUE(QueryCommandUi(kCommandUndoPortfolio).enabled);
    EXPECT_FALSE(QueryCommandUi(kCommandRedoPortfolio).enabled);
}

TEST_F(FrameCommandHost, NextAndPreviousPortfolioStopAtTheEndsAndTheQuickTableShowsItsTarget)
{
    CViewBase* view = Start(kViewPortfolio);
    Portfolio* second = MakePortfolio(1, "Second");
    SetShareListSource(view->list, &portfolio, 0, 0, true, false);
    EXPECT_FALSE(QueryCommandUi(kCommandPreviousPortfolio).enabled);
    EXPECT_TRUE(QueryCommandUi(kCommandNextPortfolio).enabled);
    frame->OnCommand(kCommandPreviousPortfolio);
    EXPECT_EQ(MainFrameState().activeView->list->source, &portfolio);

    frame->OnCommand(kCommandNextPortfolio);
    Settle();
    ASSERT_NE(MainFrameState().activeView, nullptr);
    EXPECT_EQ(MainFrameState().activeView->list->source, second);
    EXPECT_FALSE(QueryCommandUi(kCommandNextPortfolio).enabled) << "the last portfolio has no successor";
    EXPECT_TRUE(QueryCommandUi(kCommandPreviousPortfolio).enabled);

    EXPECT_FALSE(QueryCommandUi(kCommandFirstQuickPortfolio).enabled);
    ProgramToolbars().portfolioTargets[0] = 1;
    frame->OnCommand(kCommandPreviousPortfolio);
    Settle();
    EXPECT_EQ(MainFrameState().activeView->list->source, &portfolio);
    ASSERT_TRUE(QueryCommandUi(kCommandFirstQuickPortfolio).enabled);
    frame->OnCommand(kCommandFirstQuickPortfolio);
    Settle();
    EXPECT_EQ(MainFrameState().activeView->list->source, second);
}

TEST_F(FrameCommandHost, ASlideShowOverFiveSharesWithoutLoopEndsOnItsStartShare)
{
    CViewBase* view = Start(kViewList);
    ProgramSwitches().slideDelayTenths = 0;
    double offered = 0;
    FrameDialogs().slideShowDialog = [&](double& seconds, bool& loop) {
        offered = seconds;
        seconds = 0.1;
        loop = false;
        return true;
    };
    ASSERT_TRUE(QueryCommandUi(26730).enabled);
    int before = view->invalidations();
    frame->OnCommand(26730);
    EXPECT_DOUBLE_EQ(offered, 2.5) << "a delay of 0 is offered as 2.5 seconds";
    EXPECT_EQ(ProgramSwitches().slideDelayTenths, 1);
    EXPECT_EQ(view->list->current, 2);
    EXPECT_GE(view->invalidations() - before, 3) << "shares 4, 5 and back to 3";
    EXPECT_EQ(SlideShowRunning, 0);
}

TEST_F(FrameCommandHost, TheFeedCommandFollowsTheEngineState)
{
    Start(kViewList);
    FrameDialogSeams installed = FrameDialogs();
    FrameDialogs().startFeed = nullptr;
    FrameDialogs().stopFeed = nullptr;
    EXPECT_FALSE(QueryCommandUi(26806).enabled) << "greyed without a feed client";
    int starts = 0, stops = 0;
    FrameDialogs().startFeed = [&] { return ++starts > 0; };
    FrameDialogs().stopFeed = [&] { ++stops; };
    CommandUi ui = QueryCommandUi(26806);
    EXPECT_TRUE(ui.enabled);
    EXPECT_EQ(ui.text, "Connect to real time feed");
    frame->OnCommand(26806);
    RTEngineState = kEngineRunning;
    ui = QueryCommandUi(26806);
    EXPECT_EQ(ui.text, "Disconnect from real time feed");
    EXPECT_EQ(ui.checked, true);
    frame->OnCommand(26806);
    RTEngineState = kEngineStarting;
    EXPECT_FALSE(QueryCommandUi(26806).enabled);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(stops, 1);
    RTEngineState = kEngineStopped;
    FrameDialogs().startFeed = installed.startFeed;
    FrameDialogs().stopFeed = installed.stopFeed;
}

TEST_F(FrameCommandHost, WebAndToolCommandsOpenTheirTargets)
{
    test::FakeMessageBox boxes;
    Start(kViewList);
    for (uint32_t command : {26504u, 26756u, 26758u, 27255u, 26275u, 26122u, 26122u, 26740u})
        frame->OnCommand(command);
    ASSERT_EQ(opened.size(), 5u);
    EXPECT_EQ(opened[0], "https://companies.quorvantis.example/profile?code=16387");
    EXPECT_EQ(opened[1], "https://www.quorvantis.example/");
    EXPECT_NE(opened[2].find("group=support"), std::string::npos);
    EXPECT_NE(opened[4].find("comms.log"), std::string::npos);
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Debug mode turning ON", "Debug mode turning OFF"}));

    ProgramSwitches().calculatorMode = 128;
    frame->OnCommand(26655);
    EXPECT_EQ(opened.back(), kDesktopCalculator);
    EXPECT_TRUE(frame->commands().isEmpty());
}

// The company's website and e-mail commands are offered where the current share has the address,
// and hand the desktop a link it can open: a bare "www." text gets its scheme.
TEST_F(FrameCommandHost, TheCompanysWebsiteAndEmailOpenAsLinks)
{
    std::string website = "www.alder.example; Investor relations", mail = "ir@alder.example";
    FrameDialogs().shareColumnText = [&](const RecordCursor&, int column) { return column == 113 ? website : mail; };
    Start(kViewList);
    ASSERT_TRUE(QueryCommandUi(26741).enabled);
    ASSERT_TRUE(QueryCommandUi(26742).enabled);
    frame->OnCommand(26741);
    frame->OnCommand(26742);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://www.alder.example", "mailto:ir@alder.example"}));

    website.clear();
    mail.clear();
    EXPECT_FALSE(QueryCommandUi(26741).enabled);
    EXPECT_FALSE(QueryCommandUi(26742).enabled);
}

// A chart made again in its window (after a list shown there) comes back on the setting last
// chosen for charts; an unlinked chart keeps its own.
TEST_F(FrameCommandHost, AChartShownAgainComesBackOnTheSettingLastChosen)
{
    Start(kViewDailyChart);
    frame->OnCommand(20502);
    Settle();
    ASSERT_EQ(MainFrameState().activeView->secondKey, 2);
    requests->ShowKindForCurrent(kViewList);
    Settle();
    ASSERT_EQ(MainFrameState().activeView->kind, kViewList);
    frame->OnCommand(20500);
    Settle();
    requests->ShowKindForCurrent(kViewDailyChart);
    Settle();
    CViewBase* chart = MainFrameState().activeView;
    ASSERT_EQ(chart->kind, kViewDailyChart);
    EXPECT_EQ(chart->secondKey, 2) << "the list's own Table 1 is no chart setting";

    // A setting the chart was given without the command (a layout's) is left for the next one too.
    chart->SelectColumnSetting(4, false, false);
    requests->ShowKindForCurrent(kViewDetails);
    Settle();
    requests->ShowKindForCurrent(kViewDailyChart);
    Settle();
    EXPECT_EQ(MainFrameState().activeView->secondKey, 4);
    SetViewSettingIndex(kViewDailyChart, 0, 0);
}

TEST_F(FrameCommandHost, AMessageArrivingDuringADragIsAnnouncedOnceTheCaptureEnds)
{
    Start(kViewList);
    SetFrameCommandTarget(frame.get());
    int alerts = 0;
    FrameDialogs().messageWaiting = [] { return true; };
    FrameDialogs().messageAlert = [&] {
        ++alerts;
        return false;
    };
    auto pumpFor = [&](int milliseconds, auto done) {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < milliseconds) {
            DeliverPostedMessages();
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return done();
    };
    NoteMouseCapture(true);
    frame->OnCommand(kCommandIncomingMessage);
    EXPECT_FALSE(pumpFor(400, [&] { return alerts > 0; })) << "not announced while the capture is held";
    NoteMouseCapture(false);
    EXPECT_TRUE(pumpFor(60000, [&] { return alerts > 0; }));
    EXPECT_EQ(alerts, 1);
    SetFrameCommandTarget(nullptr);
    TimerQueue().Clear();
}

TEST_F(FrameCommandHost, ANicknameInUseIsNamedAndTheProfileEditorOpens)
{
    test::FakeMessageBox boxes;
    Start(kViewList);
    int profiles = 0;
    FrameDialogs().nicknameInUse = [] { return std::string("trader7"); };
    SetCommandDialog(26946, [&] { return ++profiles > 0; });
    SendProgramMessage(*frame, MSG_NICKNAME_CHECK, 0, 0);
    SetCommandDialog(26946, nullptr);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Unfortunately the messaging nickname trader7 is in use. Please edit your messaging profile");
    EXPECT_EQ(profiles, 1);
}

TEST_F(FrameCommandHost, CancellingTheNyseAgreementShowsTheDeclinedMessageAndLeavesNothingToSend)
{
    test::FakeMessageBox boxes;
    Start(kViewList);
    SetCommandDialog(kCommandNyseAgreement, [] { return RunNyseAgreementWizard(nullptr); });
    ASSERT_TRUE(QueryCommandUi(kCommandNyseAgreement).enabled);
    SetModalDialogRunner([](QDialog& d) {
        auto& w = dynamic_cast<CNyseAgreementWizard&>(d);
        w.restart();
        w.next();
        w.reject();
        return w.result();
    });
    frame->OnCommand(kCommandNyseAgreement);
    SetCommandDialog(kCommandNyseAgreement, nullptr);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{AgreementDeclinedText()});
    EXPECT_FALSE(TheAgreementOutbox().toSend);
    EXPECT_FALSE(TheAgreementOutbox().wizardRunning);
}

TEST_F(FrameCommandHost, RestoringATableBringsBackItsSavedDesignAndKeepsTheWindowOnItsShare)
{
    dev::TempFolder dir;
    const std::filesystem::path previousFolder = ProgramFolder();
    SetProgramFolder(dir.path());
    test::FakeMessageBox boxes;
    CViewBase* view = Start(kViewList);
    frame->OnCommand(kCommandFirstSetting + 4);
    Config().listTables.designs[4].name = "Saved";
    Config().listTables.designs[5].name = "Other saved";
    frame->OnCommand(kCommandSaveAll);
    ASSERT_TRUE(std::filesystem::exists(AppPath("Quorva.cfg")));

    Config().listTables.designs[4].name = "Changed";
    Config().listTables.designs[5].name = "Other changed";
    view->list->current = 3;
    frame->OnCommand(kCommandRestoreTable);
    EXPECT_EQ(Config().listTables.designs[4].name, "Saved");
    EXPECT_EQ(Config().listTables.designs[5].name, "Other changed") << "only the view's table comes back";
    EXPECT_EQ(view->list->current, 3);
    EXPECT_EQ(view->list->tableSetting, 4);
    EXPECT_EQ(MainFrameState().activeKind, kViewList);

    frame->OnCommand(kCommandRestoreAll);
    EXPECT_EQ(Config().listTables.designs[5].name, "Other saved");
    EXPECT_TRUE(boxes.texts().empty());
    SetProgramFolder(previousFolder);
}

TEST_F(FrameCommandHost, TheSpecialEditionsOwnTableMayNotBeCopied)
{
    test::FakeMessageBox boxes;
    Config().optionsA.bytes[OptionBlockA::kEditionTableSlot] = 4;
    Config().optionsA.bytes[OptionBlockA::kEditionGraphSlot1] = 0;
    Config().optionsA.bytes[OptionBlockA::kEditionGraphSlot2] = 11;
    InitVexaTables();
    SetEditionOptionByte(kEditionOn | kEditionSetUp);
    ApplyVexaSettings(true);
    ASSERT_TRUE(VexaSettingsApplied());

    CViewBase* view = Start(kViewList);
    view->list->tableSetting = 4;
    int dialogs = 0;
    SetModalDialogRunner([&](QDialog&) {
        ++dialogs;
        return int(QDialog::Rejected);
    });
    frame->OnCommand(kCommandCopyTable);
    view->list->tableSetting = 3;
    frame->OnCommand(kCommandCopyTable);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{kProtectedCopyMessage});
    EXPECT_EQ(dialogs, 1) << "only the user's own table reaches the key dialog";

    ApplyVexaSettings(false);
    FreeVexaTables();
    SetEditionOptionByte(0);
    RemoveEditionFilters();
}

TEST_F(FrameCommandHost, DeletingThePortfolioTheViewShowsAsksForAnotherAndCancelShowsListZero)
{
    dev::TempFolder dir;
    const std::filesystem::path previousFolder = ProgramFolder();
    SetProgramFolder(dir.path());
    test::FakeMessageBox boxes;
    boxes.queue(MsgAnswer::Yes);
    CViewBase* view = Start(kViewPortfolio);
    auto* doomed = new Portfolio; // the command frees it
    doomed->number = 7;
    doomed->name = "Doomed";
    ResetPortfolioEntries(*doomed);
    AppendToChain(doomed);
    SetShareListSource(view->list, doomed, 0, 0, true, false);
    std::vector<int> modes;
    FrameDialogs().portfolioChooser = [&](int mode, bool&) -> Portfolio* {
        modes.push_back(mode);
        return mode == 1 ? doomed : nullptr;
    };
    frame->OnCommand(20807);
    Settle();
    EXPECT_EQ(modes, (std::vector<int>{1, 0}));
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Are you sure you want to delete the portfolio Doomed?");
    EXPECT_EQ(PortfolioChain()->next, nullptr) << "the portfolio left the chain";
    ASSERT_NE(MainFrameState().activeView, nullptr);
    EXPECT_EQ(MainFrameState().activeView->kind, kViewList);
    EXPECT_EQ(MainFrameState().listNumber, 0);
    EXPECT_TRUE(UndoCommandState(GetUndoRing(), false).enabled) << "the deletion can be undone";
    SetProgramFolder(previousFolder);
}

TEST_F(FrameCommandHost, CopyThisPortfolioMakesANamedStandardPortfolioOfTheShownOnesEntries)
{
    test::FakeMessageBox boxes; // no database here, so the save reports it cannot write
    dev::TempFolder dir;
    const std::filesystem::path previousFolder = ProgramFolder();
    SetProgramFolder(dir.path());
    CViewBase* view = Start(kViewPortfolio);
    Portfolio* group = MakePortfolio(8, "Family");
    group->type = kGroupPortfolio;
    uint8_t* second = Share(0x4004);
    AddPortfolioEntry(*group, RecordCursor{Share(0x4002), 0});
    AddPortfolioEntry(*group, RecordCursor{second, 0});
    auto* member = new PortfolioMember;
    member->numberPlusOne = 1;
    group->members = member;
    SetShareListSource(view->list, group, 0, 0, true, false);
    Portfolio* made = MakePortfolio(9, "Mine");
    int asked = 0;
    FrameDialogs().newPortfolio = [&]() -> Portfolio* {
        ++asked;
        return made;
    };
    EXPECT_TRUE(QueryCommandUi(26597).enabled);

    frame->OnCommand(26597);
    Settle();
    EXPECT_TRUE(frame->commands().empty()) << "the command is handled";
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(made->name, "Mine") << "the name given to the new portfolio stays";
    EXPECT_EQ(made->type, kUserPortfolio);
    EXPECT_EQ(made->members, nullptr);
    ASSERT_EQ(CountPortfolioEntries(*made), 2u);
    EXPECT_EQ(made->entries[1].record, second);
    EXPECT_TRUE(UndoCommandState(GetUndoRing(), false).enabled) << "the copy can be undone";
    SetProgramFolder(previousFolder);
}

TEST_F(FrameCommandHost, TheButtonRenameNamesTheSettingUnderTheToolbarsContextMenu)
{
    ToolbarSet saved;
    saved.CopyToolbarsFrom(ProgramToolbars());
    ProgramToolbars().ClearToolbars();
    ProgramToolbars().shown = true;
    ProgramToolbars().screen = {1024, 768};
    ProgramToolbars().SetDefaultToolbars(-1);
    CViewBase* view = Start(kViewList);
    frame->toolbars()->Layout(true);
    Settle();

    CToolbarButtons* bar = nullptr;
    int third = -1;
    for (CToolbarButtons* b : frame->toolbars()->Bars())
        for (int i = 0; i < int(b->buttons().size()); ++i)
            if (b->buttons()[size_t(i)].code == 52 + 2) {
                bar = b;
                third = i;
            }
    ASSERT_NE(bar, nullptr) << "the list's default toolbars hold Setting 3";
    QPoint at = bar->ButtonRect(third).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
    QApplication::sendEvent(bar, &event);
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();

    CommandUi ui = QueryCommandUi(kRenameButtonCommand);
    EXPECT_TRUE(ui.enabled);
    EXPECT_EQ(ui.text, "Rename this Table");
    SetModalDialogRunner([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText(QStringLiteral("Third"));
        return int(QDialog::Accepted);
    });
    frame->OnCommand(kRenameButtonCommand);
    EXPECT_EQ(Config().listTables.designs[2].name, "Third");
    EXPECT_EQ(view->list->tableSetting, 2) << "the renamed table is shown";

    ProgramToolbars().CopyToolbarsFrom(saved);
}

TEST_F(FrameCommandHost, WeeklyDealingStatisticsAreLeftToTheDealingsSubsystem)
{
    // The frame has no rule of its own for them: the handler the dealings subsystem installs
    // answers from any view.
    bool ran = false;
    bool loaded = false;
    ApplicationCommands().Add(26481, [&ran] { ran = true; }, [&loaded](CommandUi& ui) { ui.enabled = loaded; });
    EXPECT_FALSE(QueryCommandUi(26481).enabled);
    loaded = true;
    EXPECT_TRUE(QueryCommandUi(26481).enabled);
    EXPECT_TRUE(RouteCommand(26481));
    EXPECT_TRUE(ran);
    ApplicationCommands().Remove(26481);
}

// Portfolio news shows the news of the list's shares in the active window, and the news view's list
// keeps that mode for a saved layout.
TEST_F(FrameCommandHost, PortfolioNewsShowsTheListsSharesNewsInTheActiveWindow)
{
    Start(kViewList);
    frame->OnCommand(26706);
    Settle();
    CViewBase* news = MainFrameState().activeView;
    ASSERT_NE(news, nullptr);
    EXPECT_EQ(news->kind, kViewNews);
    EXPECT_EQ(GetViewGroupFields(news->list).newsMode, news_mode::kCurrentList);
}
