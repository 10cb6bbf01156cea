// View-group walks: refresh, send, current share, numbering and freeing.
#include "shell/ViewGroups.h"

#include "core/CodedText.h"
#include "core/ConfigState.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"
#include "resources/MessageIds.h"
#include "shell/DdeService.h"
#include "shell/TimerCallbacks.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <cstring>

namespace qv {

uint8_t RefreshHoldFlag = 0;

namespace {

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


} // namespace


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

void ViewGroupsSettingsChanged(uint32_t) {}

void SetViewGroupWalkLock(ViewGroupLockFn lock, ViewGroupLockFn unlock)
{
    walkLock = lock;
    walkUnlock = unlock;
}

} // namespace qv
