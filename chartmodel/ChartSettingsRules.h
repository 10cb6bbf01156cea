// Rules of the chart settings dialogs that are not bound to one control: what Display Events writes
// into the event block.
#pragma once

#include "core/ConfigRecords.h"

#include <array>

namespace qv::chartsettings {

constexpr int kEventKinds = 16;
// The mode a hidden event kind gets when it is ticked.
constexpr uint8_t kTickedEventMode = 2;

// "Show events" into word 0; an unticked kind gets mode 0 (its colours and marker stay), a ticked
// kind that was hidden gets mode 2, a ticked kind already shown keeps its mode.
void WriteEventDisplay(GraphSetting& record, bool show, const std::array<bool, kEventKinds>& ticked);

} // namespace qv::chartsettings
