// The menu bar's own editing: the view-kind popups prepared for their bar slot, the window-layout
// commands of the View popup and the "&InfoCentre" command.
#pragma once

#include "shell/SoftMenu.h"

#include <array>
#include <cstdint>
#include <string>

namespace qv {

constexpr size_t kBarViewPopup = 2;
constexpr uint32_t kFirstLayoutCommand = 21147;
constexpr int kLayoutCommands = 12;
constexpr uint32_t kInfoCentreCommand = 27130;
constexpr uint32_t kEmailCommand = 21108;

// The mode mask a menu gets when it is put into the bar: 1 for the graph menus 301 and 310.
uint8_t BarPopupMask(uint32_t menuId);

// The first popup of the registered menu built as a bar, as it goes into a bar slot. With the
// multiple-windows option the entries that repeat the bar's Window popup go: the first two, a third
// unless the menu is 312, a fourth for 301, 302, 303, 304, 310, 626, 567 and 767; only leading
// popups and separators are taken, so a menu's own first commands stay.
SoftMenuEntry BuildBarPopup(uint32_t menuId, const SoftMenuContext& context);

// Puts command 21147 + n with the name of layout n at the head of the bar's View popup, replacing
// the layout commands an earlier call put there.
void InsertWindowLayoutCommands(SoftMenu& bar, const std::array<std::string, kLayoutCommands>& names,
                                const std::vector<AcceleratorKey>* keys);

// Takes command 27130 out of the View popup, and when `show` puts it back as "&InfoCentre" before
// command 21108.
void ShowInfoCentreCommand(SoftMenu& bar, bool show, const std::vector<AcceleratorKey>* keys);

} // namespace qv
