// The program's menu tables: every menu the soft-menu builder makes, registered by its menu id.
#pragma once

#include "shell/SoftMenuItem.h"

#include <cstdint>
#include <span>

namespace qv {

// The 56 registered menus in registry order.
std::span<const SoftMenuRegistryEntry> SoftMenuRegistry();

// The first record of a registered menu, or null when the id is not registered.
const SoftMenuItem* FindSoftMenuTable(uint32_t menuId);

} // namespace qv
