// The layout switch's guard.
#include "shell/LayoutSwitch.h"

#include "core/TableLock.h"
#include "shell/ViewGroups.h"

namespace qv {

uint16_t ShareListTableLock = 0;
uint8_t LayoutSwitchRunning = 0;
uint8_t DataMiningRunBusy = 0;

bool MaySwitchLayout(int index, int current)
{
    return !LayoutSwitchRunning && index != current && !DataMiningRunBusy;
}

bool MayPumpMessages() { return !LayoutSwitchRunning; }

LayoutSwitchGuard::LayoutSwitchGuard() : savedHold_(RefreshHoldFlag)
{
    LayoutSwitchRunning = 1;
    CreateDataLock();
    LockTable(&ShareListTableLock);
    RefreshHoldFlag = 1;
}

LayoutSwitchGuard::~LayoutSwitchGuard()
{
    RefreshHoldFlag = savedHold_;
    UnlockTable(&ShareListTableLock);
    LayoutSwitchRunning = 0;
}

} // namespace qv
