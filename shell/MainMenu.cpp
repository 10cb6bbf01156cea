// Editing the menu bar's popups in place.
#include "shell/MainMenu.h"

#include "shell/SoftMenuEdit.h"

#include <algorithm>
#include <cstddef>

namespace qv {
namespace {

constexpr uint32_t kTickerMenu = 312;
constexpr std::array<uint32_t, 8> kMenusWithListPopup{301, 302, 303, 304, 310, 626, 567, 767};

size_t RepeatedWindowEntries(uint32_t menuId)
{
    size_t count = menuId == kTickerMenu ? 2 : 3;
    if (std::find(kMenusWithListPopup.begin(), kMenusWithListPopup.end(), menuId) != kMenusWithListPopup.end())
        ++count;
    return count;
}

std::vector<SoftMenuEntry>* ViewPopup(SoftMenu& bar)
{
    if (bar.entries.size() <= kBarViewPopup || !bar.entries[kBarViewPopup].isPopup())
        return nullptr;
    return &bar.entries[kBarViewPopup].items;
}

} // namespace

uint8_t BarPopupMask(uint32_t menuId)
{
    return menuId == 301 || menuId == 310 ? 1 : 0;
}

SoftMenuEntry BuildBarPopup(uint32_t menuId, const SoftMenuContext& context)
{
    SoftMenu built = BuildSoftMenu(menuId, false, BarPopupMask(menuId), context);
    auto first = std::find_if(built.entries.begin(), built.entries.end(),
                              [](const SoftMenuEntry& entry) { return entry.isPopup(); });
    if (first == built.entries.end())
        return SoftMenuEntry{kMenuPopup, 0, {}, {}};
    SoftMenuEntry popup = std::move(*first);
    if (context.multipleWindows) {
        // Only the included window popups and their separator go; a menu that starts with its own
        // commands (307, 345) keeps them.
        size_t count = std::min(RepeatedWindowEntries(menuId), popup.items.size());
        size_t repeated = 0;
        while (repeated < count && (popup.items[repeated].isPopup() || popup.items[repeated].isSeparator()))
            ++repeated;
        popup.items.erase(popup.items.begin(), popup.items.begin() + std::ptrdiff_t(repeated));
    }
    return popup;
}

void InsertWindowLayoutCommands(SoftMenu& bar, const std::array<std::string, kLayoutCommands>& names,
                                const std::vector<AcceleratorKey>* keys)
{
    std::vector<SoftMenuEntry>* view = ViewPopup(bar);
    if (!view)
        return;
    std::erase_if(*view, [](const SoftMenuEntry& entry) {
        return !entry.isPopup() && entry.command >= kFirstLayoutCommand &&
               entry.command < kFirstLayoutCommand + kLayoutCommands;
    });
    for (int n = 0; n < kLayoutCommands; ++n)
        InsertSoftMenuItem(*view, size_t(n), 0, kFirstLayoutCommand + uint32_t(n), names[size_t(n)], keys);
}

void ShowInfoCentreCommand(SoftMenu& bar, bool show, const std::vector<AcceleratorKey>* keys)
{
    std::vector<SoftMenuEntry>* view = ViewPopup(bar);
    if (!view)
        return;
    DeleteMenuItemById(*view, kInfoCentreCommand);
    if (!show)
        return;
    auto email = std::find_if(view->begin(), view->end(), [](const SoftMenuEntry& entry) {
        return !entry.isPopup() && !entry.isSeparator() && entry.command == kEmailCommand;
    });
    if (email == view->end())
        return;
    InsertSoftMenuItem(*view, size_t(email - view->begin()), 0, kInfoCentreCommand, "&InfoCentre", keys);
}

} // namespace qv
