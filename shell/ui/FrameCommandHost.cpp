// The frame's table, setting, option, alarm, help, tool, web, slide-show, save and real-time commands.
#include "shell/ui/FrameCommandHost.h"
#include "shell/ui/WindowCommands.h"

#include "core/ConfigFamilies.h"
#include "core/ConfigFile.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/RecordLookup.h"
#include "core/RecordLists.h"
#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "core/WindowLayouts.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/Paths.h"
#include "platform/qt/QtText.h"
#include "portfolio/TransactionRows.h"
#include "portfolio/UndoRing.h"
#include "realtime/AgreementBlock.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStoreFiles.h"
#include "resources/MessageIds.h"
#include "resources/WebAddresses.h"
#include "shell/LayoutStateHooks.h"
#include "shell/FrameCommands.h"
#include "core/ViewSettings.h"
#include "shell/CompanyLinks.h"
#include "shell/FrameDialogSeams.h"
#include "shell/FrameMessages.h"
#include "shell/KeyTable.h"
#include "shell/LayoutSwitch.h"
#include "shell/LayoutWindow.h"
#include "shell/MainMenu.h"
#include "shell/PortfolioAdd.h"
#include "shell/PortfolioCommands.h"
#include "shell/SlideShow.h"
#include "shell/SoftMenu.h"
#include "shell/StartUp.h"
#include "shell/ToolbarCatalogue.h"
#include "shell/ViewGroups.h"
#include "shell/ui/FeedConnectDlg.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/ToolbarImages.h"
#include "shell/ui/PortfolioCommandHost.h"
#include "shell/ui/RenameItem.h"
#include "shell/ui/MenuGuard.h"
#include "shell/ui/SoftMenuQt.h"
#include "shell/ui/ToolbarHost.h"
#include "shell/ui/ViewRequests.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QCursor>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace qv {
namespace {

constexpr int kFeedDisconnectSettleMs = 1000;

CViewBase* ActiveView()
{
    return MainFrameState().activeView;
}

ShareList* ActiveList()
{
    CViewBase* view = ActiveView();
    return view ? view->list : nullptr;
}

bool DefaultOpener(const std::string& target)
{
    // Unattended runs open nothing on the desktop; they say what they would have opened.
    if (AutoAnswerMessages()) {
        std::fprintf(stderr, "Open: %s\n", target.c_str());
        return true;
    }
    if (target == kDesktopCalculator) {
        for (const char* program : {"gnome-calculator", "kcalc", "galculator", "xcalc"})
            if (QProcess::startDetached(QString::fromLatin1(program), {}))
                return true;
        return false;
    }
    QString text = FromCp1252(target);
    if (text.startsWith(QLatin1String("/")))
        return QDesktopServices::openUrl(QUrl::fromLocalFile(text));
    return QDesktopServices::openUrl(QUrl(text));
}

bool IsTableCommand(uint32_t c)
{
    switch (c) {
    case kCommandSaveTable: case kCommandSaveTransactionTable: case kCommandSaveSetting: case kCommandSaveAll:
    case kCommandSaveAllSettings: case kCommandRestoreTable: case kCommandRestoreAll:
    case kCommandRestoreTransactionTable: case kCommandRestoreAllTransaction: case kCommandRestoreSetting:
    case kCommandRestoreAllSettings: case kCommandRenameSetting: case kCommandRenameTable:
    case kCommandRenameTransactionTable: case kCommandCopyTable: case kCommandCopySetting:
    case kCommandCopyTransactionTable: case kCommandToggleDataMiningMode: return true;
    default: return c >= kCommandFirstSetting && c <= kCommandLastSetting;
    }
}

// The share, news, web and tool commands, which wait while the program is busy or mining.
bool WaitsForBusy(uint32_t c)
{
    switch (c) {
    case 26650: case 26655: case 26640: case 27018: case 26705: case 26706: case 26701: case 26707:
    case 26730: case 26741: case 26742: case 27213: case 27287: case 27282: case 27130: case 27275:
    case 27257: case 26756: case 26757: case 26759: case 26758: case 26776: case 27256: case 27255: case 27064:
    case 27063: case 27276: case 26265: return true;
    default: return false;
    }
}

} // namespace

CFrameCommandHost::CFrameCommandHost(CMainFrame& frame, CViewRequests& requests)
    : frame_(frame), requests_(requests)
{
    // The portfolio commands are asked after these.
    // An opener installed before the frame (by a test) stays.
    ExternalOpener previous = SetExternalOpener({});
    SetExternalOpener(previous ? std::move(previous) : ExternalOpener(DefaultOpener));
    AddCommandTarget(this);
    portfolios_ = std::make_unique<CPortfolioCommandHost>(frame, requests);
    frame_.AddMessageHandler([this](uint32_t message, uintptr_t, intptr_t) {
        if (message != MSG_NICKNAME_CHECK)
            return false;
        OnNicknameInUse();
        return true;
    });
}

CFrameCommandHost::~CFrameCommandHost()
{
    portfolios_.reset();
    RemoveCommandTarget(this);
}

FrameCommandFacts CFrameCommandHost::Facts() const
{
    FrameCommandFacts f;
    CViewBase* view = ActiveView();
    f.busy = BusyFlag != 0;
    f.modal = ModalCount != 0;
    f.dataMiningRun = DataMiningRunBusy != 0;
    f.feedState = FeedConnectionState();
    f.engineState = RTEngineState;
    f.backfillRunning = TheRTEngine().backfillRunning;
    f.recording = RTRecording();
    f.slideShowRunning = SlideShowRunning != 0;
    f.notesVisible = ProgramSwitches().notesVisible != 0;
    f.emailSwitch = ProgramSwitches().emailOn != 0;
    f.userPortfolioExists = UserPortfolioExists();
    f.canShowCurrentShare = requests_.CanShowCurrentShare();
    f.newsLoaded = FrameDialogs().newsLoaded && FrameDialogs().newsLoaded();
    f.newsModified = FrameDialogs().newsModified && FrameDialogs().newsModified();
    f.infoCentreReady = frame_.InfoCentreReady();
    f.importedItems = ImportedItemList != nullptr;
    if (!view)
        return f;
    f.activeKind = view->kind;
    f.chartOptions = view->kind == kViewDailyChart ? ChartOptionOf(*view) : 0;
    f.hasShareIndex = view->OwnShareId() != 0;
    f.training = GetGraphViewOption(view) != 0;
    ShareList* list = view->list;
    if (!list)
        return f;
    f.hasList = true;
    f.listFamily = list->family;
    f.listHasPortfolio = list->source && list->source->transactions.get() != nullptr;
    RecordCursor* entry = CurrentEntry(list);
    f.hasCurrentEntry = entry && entry->record;
    f.entryRangeValid = list->entries && list->current >= 0 && list->current <= list->last;
    if (!entry || !entry->record)
        return f;
    f.shareSubId = entry->count;
    const RecordCursor share = ShareOfRow(*list, *entry);
    if (!share.record)
        return f;
    f.hasCurrentShare = true;
    f.shareId = EntryRecordId(share);
    f.shareName = std::string(GetRecordName(share.record));
    GetShareFileCode(share, f.shareCode, false);
    if (const auto& text = FrameDialogs().shareColumnText) {
        f.hasWebAddress = !text(share, 113).empty();
        f.hasEmailAddress = !text(share, 114).empty();
    }
    return f;
}

bool CFrameCommandHost::SeamInstalled(uint32_t command) const
{
    const FrameDialogSeams& seams = FrameDialogs();
    switch (command) {
    case 21140: case 21141: case 21142: case 21143: case 21144: case 21145: case 25001: case 21146:
    case 27128: case 26056: case 26211: return bool(seams.optionsSheet);
    // The Market hours page is an intraday page, which the sheet shows only with the real-time option.
    case 27199: return bool(seams.optionsSheet) && RealTimeOptionOn();
    case 27200: return FindCommandDialog(27200) && RealTimeOptionOn();
    case 26730: return bool(seams.slideShowDialog);
    case 27213: return bool(seams.highLowSettings);
    case 26806: return bool(seams.startFeed);
    case 26811: return bool(seams.scheduleReconnect);
    case 26655: return ProgramSwitches().calculatorMode >= 128 || bool(seams.calculator);
    case 26122: case 26275: case 26504: case 57668: case 20929: case 20930: case 26121: case 26895: case 21159:
    case 21106: case 26650: case 26593: case 26640: case 27018: case 26705: case 26706: case 26741: case 26742:
    case 26265: case 26756: case 26757: case 26759: case 26758: case 26776: case 27256: case 27255: case 27064:
    case 26740: case 27036: case 27039: case kCommandIncomingMessage: return true;
    case 26537: return bool(seams.portfolioChooser);
    default: return FindCommandDialog(command) != nullptr;
    }
}

bool CFrameCommandHost::UpdateCommand(CommandUi& ui)
{
    if (UpdateTableCommand(ui))
        return true;
    if (ui.command == kCommandRenameLayout) {
        ui.enabled = true;
        return true;
    }
    if (ui.command == kRenameButtonCommand)
        return UpdateRenameButton(ui);
    std::optional<FrameCommandState> state = FrameCommandUpdate(ui.command, Facts());
    if (!state)
        return false;
    ui.enabled = state->enabled && SeamInstalled(ui.command);
    ui.checked = state->checked;
    ui.text = state->text;
    return true;
}

bool CFrameCommandHost::UpdateTableCommand(CommandUi& ui) const
{
    if (!IsTableCommand(ui.command))
        return false;
    CViewBase* view = ActiveView();
    ConfigKind kind = ConfigKindOfView(view);
    if (ui.command >= kCommandFirstSetting && ui.command <= kCommandLastSetting) {
        int32_t number = int32_t(ui.command - kCommandFirstSetting);
        SettingFacts facts{view != nullptr, view ? view->kind : -1, view && view->list,
                           view && GetGraphViewOption(view) != 0, ConfigNumberOfView(view)};
        SettingUi state = SettingCommandState(facts, number);
        ui.enabled = state.enabled;
        ui.checked = state.checked;
        if (state.checked)
            ui.text = FormatSettingMenuText(Config(), kind, number, KeyTable());
        return true;
    }
    switch (ui.command) {
    case kCommandSaveAll: case kCommandSaveAllSettings: case kCommandRestoreAll: case kCommandRestoreAllTransaction:
    case kCommandRestoreAllSettings: ui.enabled = true; return true;
    case kCommandSaveSetting: case kCommandRestoreSetting:
        ui.enabled = view && SettingFamilyBit(kind) && IsSettingKind(kind);
        return true;
    case kCommandToggleDataMiningMode: ui.enabled = view && view->kind == kViewDataMining; return true;
    default: ui.enabled = view && view->list && view->kind != kViewDetails; return true;
    }
}

bool CFrameCommandHost::RunCommand(uint32_t command)
{
    CommandUi ui{command, false, std::nullopt, std::nullopt};
    if (!UpdateCommand(ui))
        return false;
    // A command greyed by its rule, or whose dialog is not installed, is taken and does nothing;
    // so are the share and tool commands while the program is busy or a data-mining run is on.
    if (!ui.enabled || (WaitsForBusy(command) && (BusyFlag || DataMiningRunBusy)))
        return true;
    if (command == kCommandRenameLayout) {
        RenameLayout(WindowLayouts().current);
        return true;
    }
    if (command == kRenameButtonCommand) {
        RenameButtonTarget();
        return true;
    }
    return RunTableCommand(command) || RunToolCommand(command);
}

// Tables and settings.

bool CFrameCommandHost::RunTableCommand(uint32_t command)
{
    if (!IsTableCommand(command))
        return false;
    CViewBase* view = ActiveView();
    ConfigKind kind = ConfigKindOfView(view);
    int32_t number = ConfigNumberOfView(view);
    if (command >= kCommandFirstSetting && command <= kCommandLastSetting) {
        SelectSetting(view, int32_t(command - kCommandFirstSetting), true, true);
        return true;
    }
    bool wholeConfig = command == kCommandSaveAll || command == kCommandSaveAllSettings || command == kCommandRestoreAll ||
                       command == kCommandRestoreAllTransaction || command == kCommandRestoreAllSettings ||
                       command == kCommandToggleDataMiningMode;
    // A view whose number names no slot has nothing of its own to save, restore, rename or copy.
    if (!wholeConfig && (number < 0 || number >= int32_t(kSettingSlots)))
        return true;
    switch (command) {
    case kCommandSaveTable:
        if (uint32_t bit = TableFamilyBit(kind, false))
            SaveConfig(int32_t(uint32_t(number) | bit));
        return true;
    case kCommandSaveTransactionTable: SaveConfig(int32_t(uint32_t(number) | config_mask::kTranTables)); return true;
    case kCommandSaveSetting: SaveConfig(int32_t(uint32_t(number) | SettingFamilyBit(kind))); return true;
    case kCommandSaveAll: case kCommandSaveAllSettings: SaveConfig(kWholeConfig); return true;
    case kCommandRestoreTable: RestoreTable(number); return true;
    case kCommandRestoreAll: RestoreTable(-1); return true;
    case kCommandRestoreTransactionTable:
        RestoreTransactionTable(int32_t((uint32_t(number) & 0xFF) | config_mask::kTranTables));
        return true;
    case kCommandRestoreAllTransaction: RestoreTransactionTable(-1); return true;
    case kCommandRestoreSetting:
    case kCommandRestoreAllSettings:
        LoadConfig(command == kCommandRestoreSetting ? int32_t(uint32_t(number) | SettingFamilyBit(kind)) : kWholeConfig, false);
        RefreshAllViews();
        return true;
    case kCommandRenameSetting: case kCommandRenameTable: case kCommandRenameTransactionTable:
        RenameConfiguration(number);
        return true;
    case kCommandCopyTable: case kCommandCopySetting: case kCommandCopyTransactionTable: CopyConfiguration(); return true;
    case kCommandToggleDataMiningMode:
        Config().dataMining.bytes[0] = Config().dataMining.bytes[0] ? 0 : 1;
        frame_.RebuildMenuBar();
        return true;
    default: return false;
    }
}

void CFrameCommandHost::SelectSetting(CViewBase* view, int32_t number, bool a, bool b)
{
    if (!view)
        return;
    MainFrameState().activeKind = view->kind;
    if (view->list)
        MainFrameState().listNumber = view->list->word;
    view->SelectColumnSetting(number, a, b);
    // Kept for the kind, so that a view of the kind made again later (a chart after a list in the
    // same window) comes back on it.
    if (number >= 0)
        SetViewSettingIndex(view->kind, view->list ? view->list->word : 0, number);
    view->InvalidateWindow();
    view->InvalidateLinkedViews(true, false);
}

void CFrameCommandHost::RefreshAllViews()
{
    UpdateAllViewGroups(-1, false, nullptr, true, false);
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    frame_.RebuildMenuBar();
}

void CFrameCommandHost::RestoreTable(int32_t number)
{
    CViewBase* view = ActiveView();
    if (!view || !view->list)
        return;
    ShareList* list = view->list;
    ConfigKind kind = ConfigKindOfView(view);
    int32_t selector = number == -1 ? kWholeConfig : int32_t(uint32_t(number) | TableFamilyBit(kind, true));
    // A restore keeps the window on its share, its list and its table.
    int32_t current = list->current, table = list->tableSetting, frameKind = MainFrameState().activeKind;
    LoadConfig(selector, false);
    list->current = current;
    list->tableSetting = table;
    MainFrameState().activeKind = frameKind;
    MainFrameState().listNumber = list->word;
    RefreshAllViews();
}

void CFrameCommandHost::RestoreTransactionTable(int32_t selector)
{
    CViewBase* view = ActiveView();
    if (!view || !view->list)
        return;
    ShareList* list = view->list;
    int32_t current = list->current, table = list->tableSetting & 0xFF, frameKind = MainFrameState().activeKind;
    LoadConfig(selector, false);
    list->current = current;
    list->tableSetting = table;
    MainFrameState().activeKind = frameKind;
    MainFrameState().listNumber = list->word;
    RefreshAllViews();
}

void CFrameCommandHost::RenameConfiguration(int32_t number)
{
    CViewBase* view = ActiveView();
    ConfigKind kind = ConfigKindOfView(view);
    std::optional<std::string>* name = ConfigurationName(Config(), kind, number);
    if (!view || !name)
        return;
    CRenameItem dialog(kind.kind, FromCp1252(name->value_or(std::string())), true,
                       kind.kind == kViewDataMining && !kind.dataMiningGraph, &frame_);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    *name = ToCp1252(dialog.name());
    SelectSetting(view, number, false, true);
    MarkToolbarImagesStale();
    frame_.RefreshToolbars();
    frame_.RebuildMenuBar();
}

void CFrameCommandHost::CopyConfiguration()
{
    CViewBase* view = ActiveView();
    ConfigKind kind = ConfigKindOfView(view);
    int32_t number = ConfigNumberOfView(view);
    std::optional<std::string>* name = ConfigurationName(Config(), kind, number);
    if (!view || !name)
        return;
    CTableKey dialog(FromCp1252(name->value_or(std::string())), number, &frame_);
    if (IsProtectedConfiguration(Config(), kind, number)) {
        ShowMessage(kProtectedCopyMessage);
        return;
    }
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    int32_t target = dialog.keyIndex();
    if (!qv::CopyConfiguration(Config(), kind, number, target, ToCp1252(dialog.name())))
        return;
    SelectSetting(view, target, false, true);
    MarkToolbarImagesStale();
    frame_.RefreshToolbars();
    frame_.RebuildMenuBar();
}

void CFrameCommandHost::RenameLayout(int32_t slot)
{
    WindowLayoutSet& set = WindowLayouts();
    if (slot < 0 || slot >= int32_t(set.layouts.size()))
        return;
    std::string& name = set.layouts[size_t(slot)].name;
    CRenameItem dialog(kViewLayout, FromCp1252(name), true, false, &frame_);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    name = ToCp1252(dialog.name());
    MarkToolbarImagesStale();
    frame_.RefreshToolbars();
    frame_.RebuildMenuBar();
    frame_.update();
}

namespace {

// The command of the toolbar button the context menu was opened over, 0 for none.
uint32_t ContextButtonCommand()
{
    CToolbarHost* toolbars = CToolbarHost::Instance();
    int code = toolbars ? toolbars->contextButtonCode() : -1;
    return code >= 0 ? ButtonCommand(uint16_t(code)) : 0;
}

bool IsTableKind(int32_t kind)
{
    return kind == kViewList || kind == kViewPortfolio || kind == kViewTransactions || kind == kViewDealings ||
           kind == kViewCash || kind == kViewNews;
}

} // namespace

bool CFrameCommandHost::UpdateRenameButton(CommandUi& ui) const
{
    uint32_t command = ContextButtonCommand();
    CViewBase* view = ActiveView();
    if (command >= kCommandFirstLayout && command <= kCommandLastLayout) {
        ui.text = "Rename this Window Layout";
        ui.enabled = true;
    } else if (command >= kCommandFirstSetting && command <= kCommandLastSetting) {
        int32_t kind = view ? view->kind : -1;
        ui.text = IsTableKind(kind) ? "Rename this Table" : "Rename this Setting";
        ui.enabled = view && kind != kViewDetails;
    } else if (command >= kCommandFirstQuickPortfolio && command <= kCommandLastQuickPortfolio) {
        Portfolio* p = QuickPortfolio(command);
        ui.text = "Rename this Portfolio";
        ui.enabled = p && (p->type == kUserPortfolio || p->type == kGroupPortfolio) && FrameDialogs().askPortfolioName;
    }
    return true;
}

void CFrameCommandHost::RenameButtonTarget()
{
    uint32_t command = ContextButtonCommand();
    if (command >= kCommandFirstLayout && command <= kCommandLastLayout) {
        RenameLayout(int32_t(command - kCommandFirstLayout));
    } else if (command >= kCommandFirstSetting && command <= kCommandLastSetting) {
        RenameConfiguration(int32_t(command - kCommandFirstSetting));
    } else if (Portfolio* p = QuickPortfolio(command)) {
        PrepareUndoStep(1, p, nullptr);
        if (!FrameDialogs().askPortfolioName(p))
            return;
        PushUndoStep(kUndoKindNamedPortfolio, p);
        p->changed = 1;
        RefreshAllViews();
    }
}

// Options, alarms, help, tools, the web and the feed.

bool CFrameCommandHost::RunOptionsSheet(uint16_t pageMask)
{
    if (!FrameDialogs().optionsSheet || !FrameDialogs().optionsSheet(pageMask))
        return false;
    UpdateAllViewGroups(-1, false, nullptr, true, false);
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    return true;
}

void CFrameCommandHost::ShowPopupMenu(uint32_t menuId, int subIndex)
{
    SoftMenuEntry popup = BuildBarPopup(menuId, CurrentSoftMenuContext());
    if (subIndex >= 0 && size_t(subIndex) < popup.items.size() && popup.items[size_t(subIndex)].isPopup())
        popup = popup.items[size_t(subIndex)];
    QMenu* menu = CreateSoftQMenu(popup, &frame_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    RunChosenCommandsLater(*menu, &frame_, [this](uint32_t command) { frame_.OnCommand(command); });
    menu->popup(QCursor::pos());
}

void CFrameCommandHost::OnSlideShow()
{
    ShareList* list = ActiveList();
    if (!list || !list->entries || SlideShowRunning || list->current < 0 || list->current > list->last)
        return;
    FrameSwitches& switches = ProgramSwitches();
    switches.slideDelayTenths = SlideDelayTenths(switches.slideDelayTenths);
    double seconds = switches.slideDelayTenths / 10.0;
    bool loop = switches.slideLoop != 0;
    if (!FrameDialogs().slideShowDialog(seconds, loop))
        return;
    switches.slideDelayTenths = SlideDelayTenths(int32_t(seconds * 10));
    switches.slideLoop = loop;
    if (!MultipleWindowsOn())
        requests_.ShowKindForCurrent(kViewDailyChart);
    CViewBase* view = ActiveView();
    if (!view || !view->list)
        return;
    list = view->list;
    RecordCursor* entries = list->entries;
    int32_t start = list->current;
    SlideShowRunning = 1;
    frame_.ShowProgress(QStringLiteral("Slide show"), 0, true);
    while (SlideShowRunning) {
        QElapsedTimer waited;
        waited.start();
        while (SlideShowRunning && waited.elapsed() < switches.slideDelayTenths * 100) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        // The show ends when its window, its list or the list's entries went meanwhile.
        if (!SlideShowRunning || ActiveView() != view || view->list != list || list->entries != entries)
            break;
        SlideStep step = NextSlide(list->current, 0, list->last, start, loop);
        list->current = step.entry;
        view->InvalidateWindow();
        view->InvalidateLinkedViews(true, false);
        if (step.stop)
            break;
    }
    SlideShowRunning = 0;
    frame_.ShowProgress(QString(), -1, true);
}

void CFrameCommandHost::OpenCompanyPage()
{
    int code = 0;
    ShareList* list = ActiveList();
    if (RecordCursor* entry = list ? CurrentEntry(list) : nullptr)
        code = EntryRecordId(ShareOfRow(*list, *entry));
    char address[160];
    std::snprintf(address, sizeof address, kCompanyPagePattern, code);
    OpenExternal(address);
}

void CFrameCommandHost::SaveCurrentData()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SaveProgramData(false);
    QApplication::restoreOverrideCursor();
}

void CFrameCommandHost::ConnectFeed()
{
    CFeedConnectDlg::Open(&frame_);
    if (FrameDialogs().startFeed)
        FrameDialogs().startFeed();
}

void CFrameCommandHost::DisconnectFeed()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CFeedConnectDlg::CloseCurrent();
    if (FrameDialogs().closeFeedInfo)
        FrameDialogs().closeFeedInfo();
    if (FrameDialogs().stopFeed)
        FrameDialogs().stopFeed();
    QApplication::restoreOverrideCursor();
    // The feed's last notices settle before the command is offered again; a timer, so the
    // user-interface thread never sleeps.
    RTEngineState = kEngineDisconnecting;
    QTimer::singleShot(kFeedDisconnectSettleMs, &frame_, [] {
        if (RTEngineState == kEngineDisconnecting)
            RTEngineState = kEngineStopped;
        InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    });
}

bool CFrameCommandHost::WaitUntilActive(int milliseconds)
{
    frame_.activateWindow();
    QElapsedTimer waited;
    waited.start();
    QApplication::processEvents();
    while (!frame_.isActiveWindow() && waited.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return frame_.isActiveWindow();
}

void CFrameCommandHost::OnIncomingMessage()
{
    FrameDialogSeams& seams = FrameDialogs();
    if (!seams.messageWaiting || !seams.messageWaiting())
        return;
    QApplication::beep();
    FrameSwitches& switches = ProgramSwitches();
    if (!switches.messagingIdle)
        return;
    // A drag or a held button keeps the mouse: the message waits until it is let go, looked at again
    // every tick of the timer queue.
    if (MouseCaptureHeld() || QWidget::mouseGrabber() || !WaitUntilActive(0)) {
        WatchForCaptureEnd();
        return;
    }
    switches.messagingIdle = 0;
    const CommandDialog* messages = FindCommandDialog(26938);
    if (seams.messageAlert && seams.messageAlert() && messages)
        (*messages)();
    switches.messagingIdle = 1;
}

void CFrameCommandHost::OnNicknameInUse()
{
    FrameDialogSeams& seams = FrameDialogs();
    // The box's own event loop may deliver another report: it waits for this one to close.
    static bool showing = false;
    if (showing || !seams.nicknameInUse || !WaitUntilActive(2000))
        return;
    QScopedValueRollback guard(showing, true);
    QApplication::beep();
    ShowMessage(StringPrintf("Unfortunately the messaging nickname %s is in use. Please edit your messaging profile",
                             seams.nicknameInUse().c_str()),
                {}, MsgButtons::Ok, MsgIcon::Exclamation);
    if (const CommandDialog* profile = FindCommandDialog(26946))
        (*profile)();
}

bool CFrameCommandHost::RunToolCommand(uint32_t command)
{
    FrameSwitches& switches = ProgramSwitches();
    switch (command) {
    case 21140: RunOptionsSheet(0xFFFF); return true;
    case 21141: RunOptionsSheet(4); return true;
    case 21142: RunOptionsSheet(8); return true;
    case 21143: case 26056: RunOptionsSheet(32); return true;
    case 21144: case 26211: RunOptionsSheet(64); return true;
    case 21145: case 25001: RunOptionsSheet(0x880); return true;
    case 21146: RunOptionsSheet(2); return true;
    case 27128: RunOptionsSheet(512); return true;
    case 27199: RunOptionsSheet(0x8000); return true;
    case 26895: ShowPopupMenu(763, -1); return true;
    case 21159: ShowPopupMenu(765, -1); return true;
    case 21106:
        ShowPopupMenu(565, -1);
        InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
        return true;
    case 26122:
        switches.debugMode = !switches.debugMode;
        ShowMessage(switches.debugMode ? "Debug mode turning ON" : "Debug mode turning OFF");
        return true;
    case 26275: OpenExternal(AppPath("comms.log").string()); return true;
    case 26504: OpenCompanyPage(); return true;
    case 57668: frame_.WinHelp(0x168E7); return true;
    case 20929: frame_.WinHelp(0x151C1); return true;
    case 20930: frame_.WinHelp(0x151C2); return true;
    case 26121: frame_.WinHelp(0x16609); return true;
    case 26650:
        switches.notesVisible = !switches.notesVisible;
        InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
        return true;
    case 26593: switches.emailOn = !switches.emailOn; return true;
    case 26655:
        // The desktop's calculator when the mode asks for it, the program's own when none starts.
        if (switches.calculatorMode >= 128 && OpenExternal(kDesktopCalculator))
            return true;
        if (FrameDialogs().calculator)
            FrameDialogs().calculator(switches.calculatorMode);
        return true;
    case 26640: case 27018: case 26705: requests_.ShowShareNews(); return true;
    case 26706: requests_.ShowPortfolioNews(); return true;
    case 26730: OnSlideShow(); return true;
    case 26741: case 26742: {
        ShareList* list = ActiveList();
        RecordCursor* entry = list ? CurrentEntry(list) : nullptr;
        if (!entry)
            return true;
        std::string text = FrameDialogs().shareColumnText(*entry, command == 26741 ? 113 : 114);
        OpenExternal(command == 26741 ? WebsiteLink(text) : MailLink(text));
        return true;
    }
    case 27213:
        // A new period changes every share's period high and low: the preset portfolios and the
        // lists restricted to new highs or lows are filled afresh, whatever list is current.
        if (FrameDialogs().highLowSettings()) {
            RefillHighsAndLows();
            for (ShareList* l = ShareListChain(); l; l = l->next)
                if (l->newHighsOnly || l->newLowsOnly)
                    l->filledMark = 0;
            frame_.RefreshToolbars();
            UpdateAllViewGroups(-1, true, nullptr, false, false);
            InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
        }
        return true;
    case 26265: SaveCurrentData(); return true;
    case 26756: OpenExternal(kProductSite); return true;
    case 26757: case 26759: case 26758: case 26776: {
        const char* group = command == 26757 ? "general" : command == 26759 ? "datamining" : command == 26758 ? "support" : "realtime";
        char address[200];
        std::snprintf(address, sizeof address, kForumPage, group, "");
        OpenExternal(address);
        return true;
    }
    case 27256: OpenExternal(AppPath("License.txt").string()); return true;
    case 27255: OpenExternal(kFeedStatusPage); return true;
    case 27064: {
        char address[200];
        std::snprintf(address, sizeof address, kAgreementForm, "");
        OpenExternal(address);
        return true;
    }
    case 26806:
        if (RTEngineState == kEngineStopped)
            ConnectFeed();
        else
            DisconnectFeed();
        return true;
    case 26811:
        if (FrameDialogs().scheduleReconnect)
            FrameDialogs().scheduleReconnect();
        return true;
    case 26537: portfolios_->RevertPortfolio(); return true;
    case 26740: case 27036: case 27039: return true;
    case kCommandIncomingMessage: OnIncomingMessage(); return true;
    case 27063:
        // The sheet packs its answers on Finish (PackAgreementAnswers) and stays open when they do
        // not fit; Cancel declines.
        if (!(*FindCommandDialog(27063))())
            ShowMessage(AgreementDeclinedText(), {}, MsgButtons::Ok, MsgIcon::Information);
        return true;
    case 26938:
        switches.messagingIdle = 0;
        (*FindCommandDialog(26938))();
        switches.messagingIdle = 1;
        return true;
    default:
        break;
    }
    const CommandDialog* dialog = FindCommandDialog(command);
    if (!dialog)
        return false;
    // Dialogs whose OK changes what every view shows repaint them all.
    if ((*dialog)() && (command == 21111 || command == 26400 || command == 26401 || command == 26402 || command == 26701 || command == 26707 ||
                        command == 26849 || command == 26850))
        InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    return true;
}

} // namespace qv
