// The frame's table, setting, portfolio, cash, option, alarm, help, tool, web, slide-show, save and
// real-time commands.
#include "shell/ui/FrameCommandHost.h"

#include "core/CashAccounts.h"
#include "core/ConfigFamilies.h"
#include "core/ConfigFile.h"
#include "core/ConfigState.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/WindowLayouts.h"
#include "lists/ViewBase.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/Paths.h"
#include "platform/qt/QtText.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/UndoRing.h"
#include "realtime/AgreementBlock.h"
#include "resources/MessageIds.h"
#include "shell/FrameCommands.h"
#include "shell/FrameDialogSeams.h"
#include "shell/FrameMessages.h"
#include "shell/FrameState.h"
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
#include "shell/UserToolbars.h"
#include "shell/ViewGroups.h"
#include "shell/ViewKinds.h"
#include "shell/WebAddresses.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/RenameItem.h"
#include "shell/ui/SoftMenuQt.h"
#include "shell/ui/ToolbarHost.h"
#include "shell/ui/ViewRequests.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QThread>
#include <QWidget>
#include <QUrl>
#include <cstdio>

namespace qv {
namespace {

constexpr uint32_t kCommandSelectPortfolio = 20805, kCommandSelectPortfolioBar = 26988;
constexpr uint32_t kCommandViewListPortfolio = 26985, kCommandViewCurrentPortfolioList = 26984;
constexpr uint32_t kCommandCurrentPortfolio = 20313, kCommandCurrentPortfolioBar = 26987;
constexpr uint32_t kCommandShowPortfolio = 20312;
constexpr uint32_t kCommandCreatePortfolio = 25011, kCommandNewGroupPortfolio = 26450;
constexpr uint32_t kCommandCopyPortfolio = 26095, kCommandCombinePortfolios = 26100;
constexpr uint32_t kCommandDeletePortfolio = 20807;
constexpr uint32_t kCommandSelectCash = 26561, kCommandSelectCashBar = 26989;
constexpr uint32_t kCommandCurrentCash = 26562, kCommandCurrentCashBar = 26990;
constexpr uint32_t kCommandDeleteCash = 26578;
constexpr uint32_t kCommandEmailSwitch = 26593;
constexpr uint32_t kUndoNewPortfolio = 1, kUndoCopyPortfolio = 2, kUndoNewCash = 3, kUndoDeletePortfolio = 21,
                   kUndoDeleteCash = 23;

constexpr const char* kDeletePortfolioQuestion = "Are you sure you want to delete the portfolio %s?";
constexpr const char* kDeleteCashQuestion = "Are you sure you want to delete Cash Account %s?\n\nAll cash transactions will be lost.";

std::string Fill(const char* pattern, const std::string& text)
{
    std::vector<char> out(std::char_traits<char>::length(pattern) + text.size() + 16);
    std::snprintf(out.data(), out.size(), pattern, text.c_str());
    return out.data();
}

bool AskYesNo(const std::string& text)
{
    return ShowMessage(text, {}, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

CViewBase* ActiveView()
{
    return MainFrameState().activeView;
}

ShareList* ActiveList()
{
    CViewBase* view = ActiveView();
    return view ? view->list : nullptr;
}

Portfolio* CurrentPortfolio()
{
    ShareList* list = CurrentShareList();
    return list ? list->source : nullptr;
}

bool InChain(const Portfolio* p)
{
    for (Portfolio* q = PortfolioChain(); q; q = q->next)
        if (q == p)
            return true;
    return false;
}

bool UserPortfolioExists()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio || p->type == kGroupPortfolio)
            return true;
    return false;
}

// The portfolio of Portfolio 1-9 (the toolbar set's targets; 0 names none), or null.
Portfolio* QuickPortfolio(uint32_t command)
{
    if (command < kCommandFirstQuickPortfolio || command > kCommandLastQuickPortfolio)
        return nullptr;
    uint32_t number = ProgramToolbars().portfolioTargets[command - kCommandFirstQuickPortfolio];
    return number ? FindPortfolioByNumber(uint16_t(number)) : nullptr;
}

bool NewCashDialogInstalled()
{
    NewCashAccountDialog dialog = SetNewCashAccountDialog({});
    bool installed = bool(dialog);
    SetNewCashAccountDialog(std::move(dialog));
    return installed;
}

bool InList(const CashAccount* account)
{
    for (CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a == account)
            return true;
    return false;
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
    case 26597: case 26650: case 26655: case 26640: case 27018: case 26705: case 26706: case 26701: case 26707:
    case 26730: case 26741: case 26742: case 27213: case 26481: case 27287: case 27282: case 27130: case 27275:
    case 27257: case 26756: case 26757: case 26759: case 26758: case 26776: case 27256: case 27255: case 27064:
    case 27063: case 27276: case 26265: return true;
    default: return false;
    }
}

} // namespace

FrameSwitches& ProgramSwitches()
{
    static FrameSwitches switches;
    return switches;
}

ConfigKind ConfigKindOfView(const CViewBase* view)
{
    ConfigKind kind;
    kind.kind = view ? view->kind : kViewList;
    kind.dataMiningGraph = Config().dataMining.bytes[0] != 0;
    return kind;
}

int32_t ConfigNumberOfView(const CViewBase* view)
{
    if (!view)
        return -1;
    if (IsSettingKind(ConfigKindOfView(view)))
        return view->secondKey;
    return view->list ? view->list->tableSetting : -1;
}

CFrameCommandHost::CFrameCommandHost(CMainFrame& frame, CViewRequests& requests)
    : frame_(frame), requests_(requests)
{
    // An opener installed before the frame (by a test) stays.
    ExternalOpener previous = SetExternalOpener({});
    SetExternalOpener(previous ? std::move(previous) : ExternalOpener(DefaultOpener));
    AddCommandTarget(this);
    frame_.AddMessageHandler([this](uint32_t message, uintptr_t, intptr_t) {
        if (message != MSG_NICKNAME_CHECK)
            return false;
        OnNicknameInUse();
        return true;
    });
}

CFrameCommandHost::~CFrameCommandHost()
{
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
    f.slideShowRunning = SlideShowRunning != 0;
    f.notesVisible = ProgramSwitches().notesVisible != 0;
    f.emailSwitch = ProgramSwitches().emailOn != 0;
    f.userPortfolioExists = UserPortfolioExists();
    f.canShowCurrentShare = requests_.CanShowCurrentShare();
    if (!view)
        return f;
    f.activeKind = view->kind;
    f.training = GetGraphViewOption(view) != 0;
    ShareList* list = view->list;
    if (!list)
        return f;
    f.hasList = true;
    f.listFamily = list->family;
    RecordCursor* entry = CurrentEntry(list);
    f.hasCurrentEntry = entry && entry->record;
    f.entryRangeValid = list->entries && list->current >= 0 && list->current <= list->last;
    if (entry && entry->record) {
        f.hasCurrentShare = true;
        f.shareId = EntryRecordId(*entry);
        f.shareSubId = entry->count;
        f.shareName = std::string(GetRecordName(entry->record));
        GetShareFileCode(*entry, f.shareCode, false);
        if (const auto& text = FrameDialogs().shareColumnText) {
            f.hasWebAddress = !text(*entry, 113).empty();
            f.hasEmailAddress = !text(*entry, 114).empty();
        }
    }
    return f;
}

bool CFrameCommandHost::SeamInstalled(uint32_t command) const
{
    const FrameDialogSeams& seams = FrameDialogs();
    switch (command) {
    case 21140: case 21141: case 21142: case 21143: case 21144: case 21145: case 25001: case 21146:
    case 27128: case 27199: return bool(seams.optionsSheet);
    case 26730: return bool(seams.slideShowDialog);
    case 27213: return bool(seams.highLowSettings);
    case 26806: return bool(seams.startFeed);
    case 26597: return bool(seams.newPortfolio);
    case 26655: return ProgramSwitches().calculatorMode >= 128 || bool(seams.calculator);
    case 26122: case 26275: case 26504: case 57668: case 20929: case 20930: case 26121: case 26895: case 21159:
    case 21106: case 26650: case 26593: case 26640: case 27018: case 26705: case 26706: case 26741: case 26742:
    case 26265: case 26756: case 26757: case 26759: case 26758: case 26776: case 27256: case 27255: case 27064:
    case 26537: case 26740: case 26900: case 27036: case 27039: case kCommandIncomingMessage: return true;
    default: return FindCommandDialog(command) != nullptr;
    }
}

bool CFrameCommandHost::UpdateCommand(CommandUi& ui)
{
    if (UpdateTableCommand(ui) || UpdatePortfolioCommand(ui))
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

bool CFrameCommandHost::UpdatePortfolioCommand(CommandUi& ui) const
{
    uint32_t c = ui.command;
    CViewBase* view = ActiveView();
    int32_t kind = view ? view->kind : -1;
    bool training = view && GetGraphViewOption(view) != 0;
    bool listKinds = (kind == 0 || kind == 9 || kind == 1 || kind == 3 || kind == 2) && view->list && !training;
    const FrameDialogSeams& seams = FrameDialogs();
    if (c >= kCommandFirstQuickPortfolio && c <= kCommandLastQuickPortfolio) {
        Portfolio* p = QuickPortfolio(c);
        ui.enabled = p && !training;
        ui.checked = p && p == CurrentPortfolio() && kind == kViewPortfolio;
        return true;
    }
    switch (c) {
    case kCommandUndoPortfolio: {
        UndoMenuState state = UndoCommandState(GetUndoRing(), BusyFlag != 0);
        ui.enabled = state.enabled && view;
        ui.text = state.text;
        return true;
    }
    case kCommandRedoPortfolio: {
        UndoMenuState state = RedoCommandState(GetUndoRing());
        ui.enabled = state.enabled && view && !BusyFlag;
        ui.text = state.text;
        return true;
    }
    case kCommandSelectPortfolio: ui.enabled = bool(seams.portfolioChooser); return true;
    case kCommandSelectPortfolioBar: ui.enabled = seams.portfolioChooser && requests_.CanShowCurrentShare(); return true;
    case kCommandViewListPortfolio: ui.enabled = seams.portfolioChooser && listKinds; return true;
    case kCommandViewCurrentPortfolioList:
        ui.enabled = listKinds;
        ui.checked = view && view->list && view->list->source;
        return true;
    case kCommandCurrentPortfolio: case kCommandCurrentPortfolioBar:
        ui.enabled = c == kCommandCurrentPortfolio || requests_.CanShowCurrentShare();
        ui.checked = kind == kViewPortfolio;
        return true;
    case kCommandShowPortfolio: ui.enabled = true; return true;
    case kCommandCreatePortfolio: ui.enabled = bool(seams.newPortfolio); return true;
    case kCommandNewGroupPortfolio: ui.enabled = bool(seams.newGroupPortfolio); return true;
    case kCommandCopyPortfolio:
        ui.enabled = seams.portfolioChooser && seams.newPortfolio && UserPortfolioExists();
        return true;
    case kCommandCombinePortfolios:
        ui.enabled = seams.portfolioChooser && kind == kViewPortfolio && PortfolioChain();
        return true;
    case kCommandDeletePortfolio: ui.enabled = seams.portfolioChooser && UserPortfolioExists(); return true;
    case kCommandRevertPortfolio: ui.enabled = seams.portfolioChooser && UserPortfolioExists(); return true;
    case kCommandNextPortfolio:
    case kCommandPreviousPortfolio: {
        Portfolio* p = kind == kViewPortfolio && view->list ? view->list->source : nullptr;
        ui.enabled = (c == kCommandNextPortfolio ? NextPortfolio(p) : PreviousPortfolio(p)) != nullptr;
        return true;
    }
    case kCommandSelectCash: ui.enabled = bool(seams.cashAccountChooser); return true;
    case kCommandSelectCashBar:
        ui.enabled = seams.cashAccountChooser && requests_.CanShowCurrentShare();
        return true;
    case kCommandCurrentCash: case kCommandCurrentCashBar:
        ui.enabled = CashAccounts().current && (c == kCommandCurrentCash || requests_.CanShowCurrentShare());
        ui.checked = kind == kViewCash;
        return true;
    case kCommandCreateCashAccount: ui.enabled = NewCashDialogInstalled(); return true;
    case kCommandDeleteCash: ui.enabled = seams.cashAccountChooser && CashAccounts().head; return true;
    default: return false;
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
    return RunTableCommand(command) || RunPortfolioCommand(command) || RunToolCommand(command);
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
        MainFrameState().listNumber = view->list->number;
    view->SelectColumnSetting(number, a, b);
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
    MainFrameState().listNumber = list->number;
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
    MainFrameState().listNumber = list->number;
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

// Portfolios and cash accounts.

bool CFrameCommandHost::RunPortfolioCommand(uint32_t command)
{
    CViewBase* view = ActiveView();
    int32_t kind = view ? view->kind : -1;
    if (command >= kCommandFirstQuickPortfolio && command <= kCommandLastQuickPortfolio) {
        if (!ModalCount)
            ShowPortfolioStep(QuickPortfolio(command));
        return true;
    }
    FrameDialogSeams& seams = FrameDialogs();
    switch (command) {
    case kCommandUndoPortfolio: UndoPortfolioStep(); return true;
    case kCommandRedoPortfolio: RedoPortfolioStep(); return true;
    case kCommandSelectPortfolio: case kCommandSelectPortfolioBar: SelectPortfolio(kViewPortfolio); return true;
    case kCommandViewListPortfolio: SelectPortfolio(kind); return true;
    case kCommandViewCurrentPortfolioList: ShowPortfolio(view, nullptr, kind, 0); return true;
    case kCommandCurrentPortfolio:
    case kCommandCurrentPortfolioBar:
        if (kind == kViewPortfolio)
            SelectPortfolio(kViewPortfolio);
        if (!ActiveView() && command == kCommandCurrentPortfolio)
            requests_.ShowViewKind(kViewPortfolio, -1, 0, nullptr);
        else
            ShowPortfolio(ActiveView(), nullptr, kViewPortfolio, 0);
        return true;
    case kCommandShowPortfolio: ShowPortfolio(view, nullptr, kViewPortfolio, 0); return true;
    case kCommandCreatePortfolio: {
        PrepareUndoStep(0, nullptr, nullptr);
        Portfolio* p = seams.newPortfolio();
        if (!p)
            return true;
        selected_ = p;
        PushUndoStep(kUndoNewPortfolio, p);
        if (kind != kViewPortfolio)
            ShowPortfolio(view, p, kViewPortfolio, 0);
        else
            ShowPortfolioStep(p);
        return true;
    }
    case kCommandNewGroupPortfolio: {
        Portfolio* p = seams.newGroupPortfolio();
        if (p)
            ShowPortfolio(view, p, kViewPortfolio, 0);
        return true;
    }
    case kCommandCopyPortfolio: {
        if (BusyFlag || ModalCount)
            return true;
        bool deleteFlag = false;
        Portfolio* source = seams.portfolioChooser(3, deleteFlag);
        if (!source)
            return true;
        PrepareUndoStep(0, nullptr, nullptr);
        Portfolio* copy = seams.newPortfolio();
        if (!copy)
            return true;
        selected_ = copy;
        qv::CopyPortfolio(copy, source, 3);
        PushUndoStep(kUndoCopyPortfolio, copy);
        SavePortfolio(copy, true);
        return true;
    }
    case kCommandCombinePortfolios: {
        bool deleteFlag = false;
        seams.portfolioChooser(4, deleteFlag);
        if (Portfolio* p = seams.portfolioChooser(4, deleteFlag))
            selected_ = p;
        return true;
    }
    case kCommandDeletePortfolio: {
        bool deleteFlag = true;
        Portfolio* p = seams.portfolioChooser(1, deleteFlag);
        if (!p)
            return true;
        selected_ = p;
        if (!AskYesNo(Fill(kDeletePortfolioQuestion, p->name.str())))
            return true;
        DeleteChosenPortfolio(p);
        RefreshAllViews();
        return true;
    }
    case kCommandRevertPortfolio: RevertPortfolio(); return true;
    case kCommandNextPortfolio:
    case kCommandPreviousPortfolio: {
        if (ModalCount || kind != kViewPortfolio || !view->list)
            return true;
        Portfolio* p = view->list->source;
        ShowPortfolioStep(command == kCommandNextPortfolio ? NextPortfolio(p) : PreviousPortfolio(p));
        return true;
    }
    case kCommandSelectCash: case kCommandSelectCashBar: {
        CashAccount* account = seams.cashAccountChooser();
        if (!account)
            return true;
        CashAccounts().current = account;
        requests_.ShowViewKind(kViewCash, -1, 0, view);
        return true;
    }
    case kCommandCurrentCash: case kCommandCurrentCashBar:
        if (CashAccounts().current)
            requests_.ShowViewKind(kViewCash, -1, 0, nullptr);
        return true;
    case kCommandCreateCashAccount: {
        CashAccount* account = NewCashAccount({});
        if (!account)
            return true;
        PrepareAndPushUndoStep(kUndoNewCash, 0, nullptr, account);
        CashAccounts().current = account;
        requests_.ShowViewKind(kViewCash, -1, 0, view);
        return true;
    }
    case kCommandDeleteCash: {
        CashAccount* account = seams.cashAccountChooser();
        if (!account || !AskYesNo(Fill(kDeleteCashQuestion, account->name)))
            return true;
        PrepareAndPushUndoStep(kUndoDeleteCash, 2, nullptr, account);
        if (CashAccounts().current == account)
            CashAccounts().current = nullptr;
        RemoveCashAccount(account);
        if (!CashAccounts().current)
            CashAccounts().current = CashAccounts().head;
        RefreshAllViews();
        return true;
    }
    default: return false;
    }
}

void CFrameCommandHost::ShowPortfolioStep(Portfolio* target)
{
    if (!target)
        return;
    ViewRequest request;
    request.kind = kViewPortfolio;
    request.view = ActiveView();
    request.source = target;
    request.flags = kRequestKeepPositions;
    CViewBase* shown = requests_.OpenViewForRequest(request);
    if (shown && shown->list && shown->list->source != target)
        SetShareListSource(shown->list, target, 0, 0, true, true);
    requests_.ActivateRequestedView(shown, request);
    if (shown && shown->list)
        PostListViewsRefresh(shown->list, false);
}

void CFrameCommandHost::DeleteChosenPortfolio(Portfolio* p)
{
    CViewBase* view = ActiveView();
    bool shown = view && view->kind == kViewPortfolio && view->list && view->list->source == p;
    PrepareAndPushUndoStep(kUndoDeletePortfolio, 2, p, nullptr);
    DeletePortfolio(p);
    selected_ = nullptr;
    if (!shown) {
        FixCurrentPortfolio(0);
        return;
    }
    bool deleteFlag = false;
    Portfolio* other = FrameDialogs().portfolioChooser(0, deleteFlag);
    if (other)
        ShowPortfolio(view, other, kViewPortfolio, 0);
    else
        requests_.ShowListSameWindow(0);
}

void CFrameCommandHost::ShowPortfolio(CViewBase* view, Portfolio* portfolio, int32_t kind, uint32_t flags)
{
    if (ModalCount)
        return;
    if (!portfolio)
        portfolio = CurrentPortfolio();
    if (!portfolio && FrameDialogs().portfolioChooser) {
        bool deleteFlag = false;
        portfolio = FrameDialogs().portfolioChooser(0, deleteFlag);
    }
    if (!portfolio)
        portfolio = PortfolioChain();
    if (!portfolio)
        return;
    ViewRequest request;
    request.kind = kViewPortfolio;
    request.view = view ? view : ActiveView();
    request.flags = flags ? flags : kRequestKeepPositions;
    request.source = portfolio;
    CViewBase* shown = requests_.OpenViewForRequest(request);
    if (shown && shown->list && shown->list->source != portfolio)
        SetShareListSource(shown->list, portfolio, 0, 0, true, true);
    requests_.ActivateRequestedView(shown, request);
    if (shown && shown->list)
        PostListViewsRefresh(shown->list, false);
    if (shown && kind != kViewList && kind != kViewPortfolio && kind != kViewDataMining && kind >= 0)
        requests_.ShowViewKind(kind, -1, 0, shown);
}

void CFrameCommandHost::SelectPortfolio(int32_t kind)
{
    if (BusyFlag || ModalCount || !FrameDialogs().portfolioChooser)
        return;
    bool deleteFlag = true;
    Portfolio* chosen = FrameDialogs().portfolioChooser(0, deleteFlag);
    if (!chosen) {
        selected_ = CurrentPortfolio();
    } else if (deleteFlag) {
        if (AskYesNo(Fill(kDeletePortfolioQuestion, chosen->name.str()))) {
            selected_ = chosen;
            DeleteChosenPortfolio(chosen);
            if (Portfolio* current = CurrentPortfolio(); current && current->type != kUserPortfolio)
                current->changed = 1;
        }
        return;
    } else {
        ShowPortfolio(ActiveView(), chosen, kind, 0);
    }
    CViewBase* view = ActiveView();
    if (view && view->kind == kViewPortfolio && view->list && !view->list->source)
        requests_.ShowListSameWindow(0);
    UpdateAllViewGroups(-1, false, CurrentPortfolio(), false, false);
}

void CFrameCommandHost::FixCurrentPortfolio(uint16_t number)
{
    ShareList* current = CurrentShareList();
    if (!current || current->source == selected_ || (current->source && !InChain(current->source))) {
        if (current)
            current->source = nullptr;
        CViewBase* view = ActiveView();
        int32_t kind = view ? view->kind : -1;
        selected_ = nullptr;
        if (kind != kViewPortfolio && kind != kViewTransactions) {
            if (current)
                ShowDefaultPortfolio(current);
        } else {
            SelectPortfolio(kViewPortfolio);
            if (!current || !current->source)
                requests_.ShowListSameWindow(0);
        }
        return;
    }
    selected_ = FindPortfolioByNumber(number);
}

void CFrameCommandHost::UndoPortfolioStep()
{
    if (BusyFlag || ModalCount || !ActiveView())
        return;
    UndoRing& ring = GetUndoRing();
    if (ring.slot(ring.donePosition()).target == kUndoCashAccount) {
        bool done = ring.undo();
        CashAccountList& accounts = CashAccounts();
        if (!done || !accounts.current)
            accounts.current = InList(accounts.current) ? accounts.current : accounts.head;
    } else {
        bool done = true;
        for (int i = UndoRepeats(ring); i > 0; --i)
            done = ring.undo();
        if (!done)
            FixCurrentPortfolio(0);
    }
    AfterUndoOrRedo(false);
}

void CFrameCommandHost::RedoPortfolioStep()
{
    if (BusyFlag || ModalCount || !ActiveView())
        return;
    UndoRing& ring = GetUndoRing();
    const UndoSlot& next = ring.slot((ring.donePosition() + 1) % UndoRing::kSlots);
    if (next.target == kUndoCashAccount) {
        bool done = ring.redo();
        CashAccountList& accounts = CashAccounts();
        if (!done || !accounts.current)
            accounts.current = InList(accounts.current) ? accounts.current : accounts.head;
    } else {
        bool twice = next.kind() == kUndoKindKeptA || next.kind() == kUndoKindKeptB;
        bool done = ring.redo();
        if (twice && done)
            done = ring.redo();
        if (!done)
            FixCurrentPortfolio(0);
    }
    AfterUndoOrRedo(true);
}

void CFrameCommandHost::AfterUndoOrRedo(bool redo)
{
    CViewBase* view = ActiveView();
    if (redo && view && (view->kind == kViewPortfolio || view->kind == kViewTransactions || view->kind == kViewCash)) {
        SendProgramMessage(*view, WM_COMMAND, ID_REFRESH);
        view->InvalidateWindow();
    }
    Portfolio* current = CurrentPortfolio();
    if (current && (!redo || current->type == kGroupPortfolio)) {
        current->changed = 1;
        NotifyPortfolioChanged(current);
        MarkPortfoliosChanged(current);
    } else if (!redo && view && view->list) {
        PostListViewsRefresh(view->list, true);
    }
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    frame_.RefreshToolbars();
    frame_.RebuildMenuBar();
    frame_.update();
}

void CFrameCommandHost::RevertPortfolio()
{
    if (BusyFlag || ModalCount || !FrameDialogs().portfolioChooser)
        return;
    bool deleteFlag = false;
    Portfolio* p = FrameDialogs().portfolioChooser(5, deleteFlag);
    if (!p || !AskYesNo(Fill(kRevertQuestion, p->name.str())))
        return;
    bool wasSelected = p == selected_;
    Portfolio* fresh = RevertPortfolioToSaved(p);
    if (!fresh)
        return;
    if (wasSelected)
        selected_ = fresh;
    RefreshAllViews();
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
    connect(menu, &QMenu::triggered, &frame_, [this](QAction* action) {
        if (uint32_t command = ActionCommand(action))
            frame_.OnCommand(command);
    });
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
    RecordCursor* entry = list ? CurrentEntry(list) : nullptr;
    if (entry && entry->record) {
        // Transactions and cash entries name their share by the word at offset 8 of their record.
        bool ownRecord = list->family == kFamilyTransactions || list->family == kFamilyCash;
        code = ownRecord ? LoadU16(entry->record + 8) : EntryRecordId(*entry);
    }
    char address[160];
    std::snprintf(address, sizeof address, kCompanyPagePattern, code);
    OpenExternal(address);
}

void CFrameCommandHost::SaveCurrentData()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SaveProgramData();
    QApplication::restoreOverrideCursor();
}

void CFrameCommandHost::DisconnectFeed()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (FrameDialogs().stopFeed)
        FrameDialogs().stopFeed();
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    QApplication::restoreOverrideCursor();
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
    if (!seams.nicknameInUse || !WaitUntilActive(2000))
        return;
    QApplication::beep();
    ShowMessage(Fill("Unfortunately the messaging nickname %s is in use. Please edit your messaging profile",
                     seams.nicknameInUse()),
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
    case 21143: RunOptionsSheet(32); return true;
    case 21144: RunOptionsSheet(64); return true;
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
        if (switches.calculatorMode >= 128)
            OpenExternal(kDesktopCalculator);
        else
            FrameDialogs().calculator(switches.calculatorMode);
        return true;
    case 26640: case 27018: case 26705: requests_.ShowKindForCurrent(kViewNews); return true;
    case 26706: requests_.ShowViewKind(kViewNews, -1, kRequestCopyGroupMask | kRequestKeepPositions); return true;
    case 26730: OnSlideShow(); return true;
    case 26741: case 26742: {
        ShareList* list = ActiveList();
        RecordCursor* entry = list ? CurrentEntry(list) : nullptr;
        if (!entry)
            return true;
        std::string text = FrameDialogs().shareColumnText(*entry, command == 26741 ? 113 : 114);
        OpenExternal(command == 26741 ? text : "mailto:" + text);
        return true;
    }
    case 27213:
        if (FrameDialogs().highLowSettings()) {
            if (CurrentShareList() && CurrentShareList()->source)
                RefillHighsAndLows();
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
        if (FeedConnectionState() == kFeedDisconnected)
            FrameDialogs().startFeed();
        else
            DisconnectFeed();
        return true;
    case 26537: RevertPortfolio(); return true;
    case 26740: case 26900: case 27036: case 27039: case 26811: return true;
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
    if ((*dialog)() && (command == 26401 || command == 26402 || command == 26701 || command == 26707 ||
                        command == 26849 || command == 26850))
        InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    return true;
}

} // namespace qv
