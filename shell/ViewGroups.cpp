// View-group walks: refresh, send, current share, numbering and freeing.
#include "shell/ViewGroups.h"

#include "core/CodedText.h"
#include "core/ConfigState.h"
#include "core/Memory.h"
#include "core/ShareList.h"
#include "lists/ViewBase.h"
#include "platform/ByteOrder.h"
#include "portfolio/Portfolio.h"
#include "resources/MessageIds.h"
#include "shell/DdeService.h"
#include "shell/TimerCallbacks.h"
#include "shell/ViewKinds.h"

#include <cstring>

namespace qv {

uint8_t RefreshHoldFlag = 0;

namespace {

static_assert(sizeof(ViewGroupFields) <= sizeof(ShareList::viewGroupRoom));

ViewGroupLockFn walkLock = nullptr;
ViewGroupLockFn walkUnlock = nullptr;

class WalkLock {
public:
    WalkLock()
    {
        if (walkLock)
            walkLock();
    }
    ~WalkLock()
    {
        if (walkUnlock)
            walkUnlock();
    }
    WalkLock(const WalkLock&) = delete;
    WalkLock& operator=(const WalkLock&) = delete;
};

void PostRefresh(CViewBase& view) { PostProgramMessage(view, WM_COMMAND, ID_REFRESH); }

// Record sizes below which the fields read here do not exist.
constexpr uint16_t kTransactionShareEnd = 11;
constexpr uint16_t kDealingShareEnd = 12;
constexpr uint16_t kCashShareEnd = 10;
constexpr uint16_t kNewsShareEnd = 32;

// Records addressed by a list's entries begin with their u16 length; a field is read only when the
// record holds it.
bool RecordHolds(const uint8_t* record, uint16_t end) { return record && LoadU16(record) >= end; }

} // namespace

ViewGroupFields GetViewGroupFields(const ShareList* list)
{
    ViewGroupFields fields;
    if (list)
        std::memcpy(&fields, list->viewGroupRoom, sizeof fields);
    return fields;
}

void SetViewGroupFields(ShareList* list, const ViewGroupFields& fields)
{
    if (list)
        std::memcpy(list->viewGroupRoom, &fields, sizeof fields);
}

void MarkNeedsRefill(ShareList* list)
{
    if (!list)
        return;
    ViewGroupFields fields = GetViewGroupFields(list);
    fields.needsRefill = 1;
    SetViewGroupFields(list, fields);
}

bool MultipleWindowsOn() { return Config().optionsA.data()[OptionBlockA::kMultipleWindows] != 0; }

void UpdateAllViewGroups(int32_t kindFilter, bool armNewsTimer, const Portfolio* sourceFilter, bool markChanged,
                         bool resetCharts)
{
    if (RefreshHoldFlag)
        return;
    for (ShareList* group = ShareListChain(); group; group = group->next) {
        if (sourceFilter && group->source != sourceFilter)
            continue;
        if (markChanged)
            group->changed = 1;
        UpdateViewGroup(group, kindFilter, armNewsTimer, resetCharts);
    }
    if (armNewsTimer)
        ArmNewsRefreshTimer();
    // Programs that follow values by DDE are told with every refresh.
    NotifyDdeRefresh();
}

void UpdateViewGroup(ShareList* group, int32_t kindFilter, bool deferNews, bool resetCharts)
{
    if (!group)
        return;
    ViewGroupFields fields = GetViewGroupFields(group);
    fields.builtFor = -1;
    SetViewGroupFields(group, fields);
    for (CViewBase* view = group->views; view;) {
        CViewBase* next = view->nextInList;
        if (resetCharts && IsChartViewKind(view->kind))
            view->recomputeMarker = 0;
        // A view without a list of its own has nothing to refresh.
        bool skip = (kindFilter != -1 && kindFilter != view->kind) || !view->WindowExists() || !view->list;
        if (!skip) {
            if (view->kind == kViewNews && deferNews && !view->newsRefreshPending) {
                if (MultipleWindowsOn())
                    view->newsRefreshPending = 1;
            } else {
                PostRefresh(*view);
            }
        }
        view = next;
    }
}

void ArmNewsRefreshTimer()
{
    // One entry serves every view that waits; a second would post the refresh twice.
    RemoveTimerCallback(RefreshNewsViewsTimer);
    AddTimerCallback(RefreshNewsViewsTimer, kNewsRefreshDelayMs, 0);
}

void RefreshNewsViewsTimer(uint32_t, uint32_t)
{
    RemoveTimerCallback(RefreshNewsViewsTimer);
    for (ShareList* l = ShareListChain(); l; l = l->next) {
        for (CViewBase* v = l->views; v; v = v->nextInList) {
            if (v->kind != kViewNews)
                continue;
            v->newsRefreshPending = 0;
            PostRefresh(*v);
        }
    }
}

void SendMessageToViews(ShareList* firstGroup, uint32_t message, uint16_t wParam, intptr_t lParam, bool visibleOnly,
                        int32_t kindFilter, int32_t keyFilter)
{
    for (ShareList* group = firstGroup; group; group = group->next) {
        for (CViewBase* view = group->views; view;) {
            CViewBase* next = view->nextInList;
            bool pass = view->WindowExists() && (!visibleOnly || view->WindowVisible()) &&
                        (kindFilter == -1 || kindFilter == view->kind) &&
                        (keyFilter == -1 || keyFilter == view->secondKey);
            if (pass)
                SendProgramMessage(*view, message, uintptr_t(wParam), lParam);
            view = next;
        }
    }
}

void SendMessageToAllViews(uint32_t message, uint16_t wParam, intptr_t lParam, bool visibleOnly, int32_t familyFilter,
                           int32_t kindFilter, int32_t tableFilter)
{
    for (ShareList* group = ShareListChain(); group; group = group->next) {
        if (familyFilter != -1 && familyFilter != group->family)
            continue;
        if (tableFilter != -1 && tableFilter != group->tableSetting)
            continue;
        for (CViewBase* view = group->views; view;) {
            CViewBase* next = view->nextInList;
            if (view->WindowExists() && (!visibleOnly || view->WindowVisible()) &&
                (kindFilter == -1 || kindFilter == view->kind))
                SendProgramMessage(*view, message, uintptr_t(wParam), lParam);
            view = next;
        }
    }
}

void GetViewShare(ShareList* group, uint32_t* shareId, uint32_t* subId)
{
    uint32_t id = 0, sub = 0;
    const RecordCursor* entry = CurrentEntry(group);
    const uint8_t* record = entry ? entry->record : nullptr;
    if (record) {
        ViewGroupFields fields = GetViewGroupFields(group);
        switch (group->family) {
        case kFamilyShares:
            id = EntryRecordId(*entry);
            sub = entry->count;
            break;
        case kFamilyTransactions:
            if (RecordHolds(record, kTransactionShareEnd)) {
                id = LoadU16(record + 8);
                sub = record[10];
            }
            break;
        case kFamilyDealings:
            if (group->currentId != 0) {
                id = group->currentId;
                sub = group->currentSub;
            } else if (RecordHolds(record, kDealingShareEnd)) {
                id = GetBitField(record + 9, 4, 15);
            }
            break;
        case kFamilyCash: {
            const auto* account = static_cast<const uint8_t*>(fields.cashAccount);
            if ((!account || LoadU32(account + 4) == 0) && RecordHolds(record, kCashShareEnd))
                id = LoadU16(record + 8);
            break;
        }
        case kFamilyNews:
            if (group->currentId != 0) {
                id = group->currentId;
                sub = group->currentSub;
            } else if (RecordHolds(record, kNewsShareEnd)) {
                id = LoadU32(record + 28);
            }
            break;
        case kFamilyTrades:
            if (const auto* block = static_cast<const uint8_t*>(fields.tradeBlock))
                id = LoadU16(block + 2);
            sub = group->currentSub;
            break;
        default: break;
        }
    }
    if (shareId)
        *shareId = id;
    if (subId)
        *subId = sub;
}

void FreeUnusedViewGroups()
{
    WalkLock lock;
    ShareList* previous = nullptr;
    for (ShareList* group = ShareListChain(); group;) {
        ShareList* next = group->next;
        if (!IsViewGroupUnused(group)) {
            previous = group;
            group = next;
            continue;
        }
        // Freed while still in the chain, so that a row array a portfolio shares is counted.
        FreeViewGroup(group);
        if (previous)
            previous->next = next;
        else
            ShareListChain() = next;
        ProFree(group);
        group = next;
    }
}

void FreeViewGroup(ShareList* group)
{
    if (ReleaseViewGroupData(group) < 0)
        return;
    ViewGroupFields fields = GetViewGroupFields(group);
    ProFree(fields.tradeBlock);
    ProFree(fields.cashAccount);
    fields.tradeBlock = nullptr;
    fields.cashAccount = nullptr;
    SetViewGroupFields(group, fields);
}

int32_t ReleaseViewGroupData(ShareList* group)
{
    if (!group)
        return -1;
    if (group->entries && IsViewGroupUnused(group)) {
        if (CountRowArrayUsers(group) < 2)
            ProFree(group->entries);
        group->entries = nullptr;
        group->capacity = 0;
        group->firstVisible = 0;
        group->current = 0;
        group->last = 0;
    }
    // The news results belong to the news store, which frees them through its own list.
    ViewGroupFields fields = GetViewGroupFields(group);
    fields.newsResults = nullptr;
    SetViewGroupFields(group, fields);
    return 0;
}

void ViewGroupsSettingsChanged(uint32_t) {}

void SetViewGroupWalkLock(ViewGroupLockFn lock, ViewGroupLockFn unlock)
{
    walkLock = lock;
    walkUnlock = unlock;
}

} // namespace qv
