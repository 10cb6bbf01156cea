// View groups: a share list with the chain of views attached to it. The walks that refresh the
// groups (command 504, news views held back to a 250 ms timer entry), send messages to matching
// views, read a group's current share, and free the groups nothing uses any more.
#pragma once

#include "views/ViewGroupFields.h"

#include <cstdint>

namespace qv {

struct ShareList;
struct Portfolio;


// While set, refreshes of the groups are dropped (a database load, an import or a layout switch
// runs). A hold restores the flag it found when it ends.
extern uint8_t RefreshHoldFlag;
class RefreshHold {
public:
    RefreshHold() : saved_(RefreshHoldFlag) { RefreshHoldFlag = 1; }
    ~RefreshHold() { RefreshHoldFlag = saved_; }
    RefreshHold(const RefreshHold&) = delete;
    RefreshHold& operator=(const RefreshHold&) = delete;

private:
    uint8_t saved_;
};

void UpdateAllViewGroups(int32_t kindFilter, bool armNewsTimer, const Portfolio* sourceFilter, bool markChanged,
                         bool resetCharts);
void UpdateViewGroup(ShareList* group, int32_t kindFilter, bool deferNews, bool resetCharts);

// The 250 ms news entry: arms it unless one already waits; the callback removes its own entry and
// posts the refresh to every news view.
void ArmNewsRefreshTimer();
void RefreshNewsViewsTimer(uint32_t now, uint32_t parameter);
constexpr uint32_t kNewsRefreshDelayMs = 250;

void SendMessageToViews(ShareList* firstGroup, uint32_t message, uint16_t wParam, intptr_t lParam, bool visibleOnly,
                        int32_t kindFilter, int32_t keyFilter);
void SendMessageToAllViews(uint32_t message, uint16_t wParam, intptr_t lParam, bool visibleOnly, int32_t familyFilter,
                           int32_t kindFilter, int32_t tableFilter);


// Unlinks and frees every group that nothing uses.
void FreeUnusedViewGroups();
// Called after the options change; nothing depends on it yet.
void ViewGroupsSettingsChanged(uint32_t word);

// The lock the feed code takes while it walks the share lists; the intraday store fills it in.
using ViewGroupLockFn = void (*)();
void SetViewGroupWalkLock(ViewGroupLockFn lock, ViewGroupLockFn unlock);

// With the multiple-windows option off, news views are not held back.
bool MultipleWindowsOn();

} // namespace qv
