// The frame-wide commands of the list dialogs that need no view: the global highs-and-lows period.
#pragma once

#include <cstdint>

namespace qv {

class CMainFrame;

inline constexpr uint32_t kCommandGlobalHighLowSettings = 27213;

void InstallListDialogCommands(CMainFrame& frame);
// 27213: "Highs & Lows Settings (Global)"; the period is kept in the option block on OK.
void RunGlobalHighLowSettings(CMainFrame* frame);

} // namespace qv
