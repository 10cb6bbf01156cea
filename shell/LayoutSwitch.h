// The layout switch's guard: the share-list table lock and the refresh hold for the switch's
// whole length, and the rule that nothing is pumped while the lock is held.
#pragma once

#include <cstdint>

namespace qv {

// The share-list table's lock flag.
extern uint16_t ShareListTableLock;
// Set while a layout switch runs.
extern uint8_t LayoutSwitchRunning;
// Set while a data-mining run is busy; switches wait for it.
extern uint8_t DataMiningRunBusy;

// Whether a switch to index may start: none running, not the current layout (unless -1 re-lays the
// default) and no data-mining run.
bool MaySwitchLayout(int index, int current);

// Waiting messages may be dispatched only while no switch holds the lock: a handler that takes
// the lock would otherwise wait for ever on the switch that dispatched it.
bool MayPumpMessages();

// Marks the switch running, takes the lock and holds refreshes; releases all three at its end.
class LayoutSwitchGuard {
public:
    LayoutSwitchGuard();
    ~LayoutSwitchGuard();
    LayoutSwitchGuard(const LayoutSwitchGuard&) = delete;
    LayoutSwitchGuard& operator=(const LayoutSwitchGuard&) = delete;

private:
    uint8_t savedHold_;
};

} // namespace qv
