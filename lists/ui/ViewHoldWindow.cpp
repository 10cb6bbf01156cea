// The directors' dealings view's window.
#include "lists/ui/ViewHoldWindow.h"

#include "core/ShareList.h"
#include "lists/DealingCells.h"
#include "lists/DealingItem.h"
#include "lists/DealingStats.h"
#include "lists/DirectorsDealings.h"
#include "lists/HoldList.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"
#include "lists/ui/DealingsOptionsDlg.h"
#include "lists/ui/DealingsStatsDlg.h"
#include "lists/ui/FindInvestorDlg.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"
#include "shell/KeyRouting.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StatusBarEx.h"
#include "shell/ui/ViewRequests.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <QMouseEvent>
#include <QPainter>

namespace qv {

CViewHoldWnd::CViewHoldWnd(QWidget* parent) : CViewBase(kViewDealings), CViewListTop(kViewDealings, parent)
{
    AddCommandTarget(this);
}

CViewHoldWnd::~CViewHoldWnd() { RemoveCommandTarget(this); }

void CViewHoldWnd::OnRefresh()
{
    // A build never runs under a sort: the sort is asked to stop and the refresh comes again.
    if (SortBusy) {
        SortStop = 1;
        PostProgramMessage(*this, WM_COMMAND, ID_REFRESH);
        return;
    }
    if (!list)
        AttachListSource(kFamilyDealings, nullptr, 0);
    CViewHold::OnRefresh();
    CViewListTop::OnRefresh();
    ShowStatusTexts();
}

void CViewHoldWnd::OnSetFocus()
{
    CViewListTop::OnSetFocus();
    ShowStatusTexts();
}

intptr_t CViewHoldWnd::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_COMMAND && RunCommand(uint32_t(wParam & 0xFFFF)))
        return 1;
    if (message == kMessageRetryHoldBuild)
        return CViewHold::onProgramMessage(message, wParam, lParam);
    return CViewListTop::onProgramMessage(message, wParam, lParam);
}

bool CViewHoldWnd::UpdateHoldCommand(CommandUi& ui)
{
    const auto state = CommandStateOf(ui.command);
    if (!state)
        return false;
    ui.enabled = state->enabled;
    if (ui.command != kCommandDealingsOptions && ui.command != kCommandDealingsStats)
        ui.checked = state->checked;
    return true;
}

bool CViewHoldWnd::UpdateCommand(CommandUi& ui)
{
    if (!IsActiveView())
        return false;
    return UpdateHoldCommand(ui) || UpdateListCommand(ui);
}

bool CViewHoldWnd::RunCommand(uint32_t command)
{
    if (!IsActiveView())
        return false;
    if (command == kCommandDealingsOptions) {
        CDealingsOptionsDlg dialog(filter, DealingsParentListMode(), this);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            ApplyFilter(dialog.filter());
        ShowStatusTexts();
        return true;
    }
    if (command == kCommandDealingsStats) {
        CDealingsStatsDlg dialog(filter, ProgramWeeklyTables(), this);
        RunModalDialog(dialog);
        return true;
    }
    if (RunFilterCommand(command)) {
        ShowStatusTexts();
        update();
        return true;
    }
    return RunListCommand(command);
}

void CViewHoldWnd::FindInvestor(const QString& seed)
{
    if (!list)
        return;
    std::vector<RecordCursor> shown(list->entries, list->entries + ShareListCount(list));
    const int32_t row = RunFindInvestor(shown, seed, this);
    if (row < 0)
        return;
    list->current = row;
    list->firstVisible = std::max(row - 4, 0);
    update();
}

void CViewHoldWnd::ShowShareOnly(uint16_t shareId)
{
    selectedShareId = shareId;
    ApplyFilter(shareId ? LimitToSelectedShare(filter) : ShowAllShares(filter));
    ShowStatusTexts();
    update();
}

void CViewHoldWnd::ShowStatusTexts()
{
    UpdateTitle();
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    if (!frame || !frame->statusBarEx() || !IsActiveView())
        return;
    const auto panes = StatusTexts();
    for (int i = 0; i < 3; ++i)
        frame->statusBarEx()->SetPaneText(i + 1, FromCp1252(panes[size_t(i)]));
}

void CViewHoldWnd::paintEvent(QPaintEvent* event)
{
    if (!DealingsMainBlock || !list) {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        DrawNoData(p, rect(), 60);
        return;
    }
    // A table setting chosen since (Table 1-12, List design) brings its own layout and stored sort.
    const bool newSetting = list->columnLayout != SettingLayout(kListKindDealings, list->tableSetting);
    if (newSetting && !SortBusy)
        qv::SelectColumnSetting(list, kListKindDealings, -1, false, false);
    if (!SortBusy && (newSetting || ParentRowsChanged()))
        BuildHoldList();
    CViewListTop::paintEvent(event);
}

void CViewHoldWnd::mouseMoveEvent(QMouseEvent* event)
{
    auto* frame = dynamic_cast<CMainFrame*>(MainFrameTarget());
    if (frame && frame->statusBarEx() && IsActiveView() && !SortBusy) {
        if (event->position().y() < headingTop_)
            frame->statusBarEx()->SetPaneText(1, FromCp1252(HeaderKeyName()));
        else
            ShowStatusTexts();
    }
    CViewListTop::mouseMoveEvent(event);
}

void CViewHoldWnd::focusOutEvent(QFocusEvent* event)
{
    if (!SortBusy)
        RememberSort();
    CViewListTop::focusOutEvent(event);
}

void InstallDealingsViewClass()
{
    RegisterViewClass(kViewDealings, [](int32_t) -> CViewBaseWnd* { return new CViewHoldWnd; });
    InstallDealingCells();
    // The View menu offers the weekly statistics from any view: outside a dealings view they show
    // the directors' and major holders' deals alike.
    ApplicationCommands().Add(
        kCommandDealingsStats,
        [] {
            CDealingsStatsDlg dialog(kHoldDefaultFilter, ProgramWeeklyTables(), nullptr);
            RunModalDialog(dialog);
        },
        [](CommandUi& ui) { ui.enabled = DealingsMainBlock != nullptr; });
    // "Share's Directors' Dealings": a dealings view limited to one share, or showing every share again.
    ViewRequestHooks& requests = GetViewRequestHooks();
    requests.limitDealingsToShare = [](CViewBase* view, uint16_t shareId) {
        if (auto* dealings = dynamic_cast<CViewHoldWnd*>(view))
            dealings->ShowShareOnly(shareId);
    };
    requests.dealingsDisplayFlags = [] { return PackHoldFilter(); };
    requests.dealingsRowShare = [](const CViewBase* view) -> uint16_t {
        auto* dealings = dynamic_cast<const CViewHoldWnd*>(view);
        const RecordCursor* row = dealings && dealings->list ? CurrentEntry(dealings->list) : nullptr;
        return row && row->record ? DealingShareId(row->record - 1) : 0;
    };
    // A typed letter in a dealings view finds an investor among its rows; the view moves its own row.
    SetFindInvestorDialog([](const std::string&, uint32_t character, bool seed, ShareList* list) -> std::optional<int32_t> {
        for (CViewBase* v = list ? list->views : nullptr; v; v = v->nextInList)
            if (auto* view = dynamic_cast<CViewHoldWnd*>(v)) {
                view->FindInvestor(seed && character ? QString(QChar(char16_t(character))) : QString());
                break;
            }
        return std::nullopt;
    });
}

} // namespace qv
