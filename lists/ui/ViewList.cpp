// The share list window.
#include "lists/ui/ViewList.h"

#include "core/ColumnDef.h"
#include "core/ShareList.h"
#include "lists/ColumnCatalogues.h"
#include "lists/ListFormatters.h"
#include "lists/ListOptions.h"
#include "lists/ListPortfolioAdd.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"
#include "lists/UpDownColour.h"
#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"


namespace qv {
CViewList::CViewList(int32_t kind, QWidget* parent) : CViewBase(kind), CViewListBase(kind, parent)
{
    AddCommandTarget(this);
}

CViewList::~CViewList() { RemoveCommandTarget(this); }

int CViewList::GetUpDownState(const uint8_t* column, int, const CellValue& value)
{
    return ShareListUpDownState(ColumnDefCode(column), value.value);
}

bool CViewList::HasUpDownColour(const uint8_t* column)
{
    return ShareListHasUpDownColour(const_cast<uint8_t*>(column));
}

bool CViewList::SharedWithPortfolioView(const ShareList* group)
{
    for (const CViewBase* v = group->views; v; v = v->nextInList)
        if (v->kind == kViewPortfolio)
            return true;
    return false;
}

void CViewList::OnRefresh()
{
    if (SortBusy) {
        SortStop = 1;
        PostProgramMessage(*this, WM_COMMAND, ID_REFRESH);
        return;
    }
    // A portfolio window sharing the list keeps it on its portfolio: taking it off here would move
    // both windows to another share at every refresh, whichever of the two refreshed last.
    if (list && !SharedWithPortfolioView(list)) {
        // A share list shows a fixed list: a portfolio source left by a view that shared the
        // list before (a portfolio, or a chart following one) is dropped, as portfolios have their
        // own view.
        DropListSource(list);
        AttachListSource(kFamilyShares, nullptr, -1);
        qv::SelectColumnSetting(list, kind, -1, false, false);
        if (list->filledMark != list->word + 1) {
            ApplyListSortSetting(list, 0);
            RefillListSource(list, true);
        }
    }
    CViewListBase::OnRefresh();
}

intptr_t CViewList::onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_COMMAND && IsListAddCommand(uint32_t(wParam & 0xFFFF)))
        return RunCommand(uint32_t(wParam & 0xFFFF)) ? 1 : 0;
    return CViewListBase::onProgramMessage(message, wParam, lParam);
}

bool CViewList::UpdateCommand(CommandUi& ui)
{
    if (MainFrameState().activeView != this)
        return false;
    if (!IsListAddCommand(ui.command))
        return UpdateListCommand(ui);
    CurrentPortfolioView current = GetCurrentPortfolioView();
    ui.enabled = AddCommandEnabled(ui.command, ShareListCount(list), current);
    if (ui.command >= kCmdAddAllToCurrent && ui.command <= kCmdAddShareToCurrent)
        ui.text = AddCommandMenuText(ui.command, current);
    return true;
}

bool CViewList::RunCommand(uint32_t command)
{
    if (MainFrameState().activeView != this)
        return false;
    if (!IsListAddCommand(command))
        return RunListCommand(command);
    RunAddCommand(command, list);
    return true;
}

void CViewList::RememberRowAndSort()
{
    if (!list || SortBusy)
        return;
    if (RecordCursor* entry = CurrentEntry(list)) {
        list->currentId = EntryRecordId(*entry);
        list->currentSub = entry->count;
        RememberListRow(list->word, {list->currentId, entry->count});
    }
    SetSettingSort(kind, list->tableSetting, list->tradeMarket, (list->sortColumn + 1) * list->sortDirection);
}

void CViewList::paintEvent(QPaintEvent* event)
{
    if (list && !SortBusy) {
        FollowLinkedList();
        if (list->filledMark == 0)
            OnRefresh();
        ContinueListBuild(list);
    }
    CViewListBase::paintEvent(event);
}

void CViewList::FollowLinkedList()
{
    if (!secondList || secondList == list || ShareListCount(list) == 0)
        return;
    if (secondList->family == list->family) {
        list->firstVisible = secondList->firstVisible;
        list->current = secondList->current;
        list->last = secondList->last;
        ClampShareListCursors(list);
    } else if (list->family == kFamilyShares) {
        FollowLinkedShare();
    }
}

void CViewList::focusOutEvent(QFocusEvent* event)
{
    RememberRowAndSort();
    CViewListBase::focusOutEvent(event);
}

void RegisterListViews()
{
    InstallListFormatters();
    InstallColumnCatalogues();
    RegisterViewClass(1, [](int32_t kind) -> CViewBaseWnd* { return new CViewList(kind); });
}

} // namespace qv
