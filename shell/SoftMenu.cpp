// The soft-menu builder: walks a menu's table records, leaves out what the conditions and mode mask
// exclude, follows includes in place and gives each command the text of its assigned key.
#include "shell/SoftMenu.h"

#include "core/ConfigState.h"
#include "shell/MenuTables.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qv {
namespace {

// An item of the first command shows the key assigned to the second.
constexpr std::array<std::pair<uint16_t, uint16_t>, 45> kAliases{{
    {26991, 25053}, {26992, 25054}, {26993, 25055}, {26994, 26605}, {27040, 27042}, {27043, 27045},
    {27046, 27048}, {27093, 27094}, {27095, 27096}, {27097, 27098}, {27099, 27100}, {27101, 27102},
    {27103, 27104}, {27110, 27111}, {27113, 27114}, {27116, 27117}, {26995, 25056}, {26996, 26204},
    {26998, 25042}, {26999, 25045}, {27000, 26399}, {27001, 25048}, {27002, 25051}, {27003, 25041},
    {27004, 25044}, {27005, 26606}, {27006, 26775}, {27007, 25047}, {27008, 25050}, {27009, 25043},
    {27010, 25046}, {27011, 25049}, {27012, 25052}, {27016, 26231}, {27017, 26621}, {27018, 26640},
    {27014, 20316}, {27020, 20317}, {27021, 20315}, {27022, 20320}, {26987, 20313}, {26988, 20805},
    {26989, 26561}, {26990, 26562}, {27015, 26826},
}};

constexpr uint16_t kGraveKey = 223;
// Included menus may include others this deep; the tables use one level, the bound keeps a bad
// table from looping.
constexpr size_t kMaxIncludeDepth = 4;

const std::vector<AcceleratorKey>* g_programKeys = nullptr;

class Builder {
public:
    Builder(uint8_t mask, const SoftMenuContext& context)
        : mask_(mask), state_(SoftMenuConditionState(context.realTime, context.multipleWindows)),
          keys_(context.keys)
    {
    }

    // Builds the entries from `cursor` up to the end record of the current popup or menu and
    // leaves the cursor on that end record.
    std::vector<SoftMenuEntry> Build(const SoftMenuItem*& cursor)
    {
        std::vector<SoftMenuEntry> entries;
        std::vector<const SoftMenuItem*> pendingIncludes;
        for (;;) {
            const SoftMenuItem& item = *cursor;
            if (item.control & kMenuEndBit) {
                if (pendingIncludes.empty())
                    return entries;
                cursor = pendingIncludes.back() + 1;
                pendingIncludes.pop_back();
                continue;
            }
            if (!Keeps(item)) {
                if (item.flags & kMenuPopup)
                    SkipPopup(cursor);
                ++cursor;
                continue;
            }
            if (item.control & kMenuIncludeBit) {
                const SoftMenuItem* included = FindSoftMenuTable(item.include);
                if (!included || pendingIncludes.size() >= kMaxIncludeDepth) {
                    ++cursor;
                    continue;
                }
                pendingIncludes.push_back(cursor);
                cursor = included;
                continue;
            }
            if (item.flags & kMenuPopup) {
                ++cursor;
                SoftMenuEntry popup{item.flags, 0, item.text, Build(cursor)};
                entries.push_back(std::move(popup));
                ++cursor;
                continue;
            }
            SoftMenuEntry entry{item.flags, item.command, {}, {}};
            entry.text = item.flags & kMenuSeparator ? std::string(item.text)
                                                     : SoftMenuItemText(item.text, item.command, keys_);
            entries.push_back(std::move(entry));
            ++cursor;
        }
    }

private:
    bool Keeps(const SoftMenuItem& item) const
    {
        if (!SoftMenuConditionsMatch(item.control, state_))
            return false;
        return item.mask == 0 || (item.mask & mask_) != 0;
    }

    // Leaves the cursor on the popup's own end record.
    static void SkipPopup(const SoftMenuItem*& cursor)
    {
        int depth = 0;
        for (;; ++cursor) {
            if (cursor->flags & kMenuPopup)
                ++depth;
            else if (cursor->control & kMenuEndBit && --depth == 0)
                return;
        }
    }

    uint8_t mask_;
    uint8_t state_;
    const std::vector<AcceleratorKey>* keys_;
};

std::string ShortcutText(const AcceleratorKey& key)
{
    std::string text;
    if (key.modifiers & kAccelCtrl)
        text += "Ctrl+";
    if (key.modifiers & kAccelShift)
        text += "Shift+";
    text += key.key == kGraveKey ? '`' : char(key.key & 0xFF);
    return text;
}

} // namespace

uint8_t SoftMenuConditionState(bool realTime, bool multipleWindows)
{
    return uint8_t((realTime ? 2 : 1) | (multipleWindows ? 4 : 8) | 16);
}

bool SoftMenuConditionsMatch(uint8_t control, uint8_t state)
{
    for (uint8_t group : {uint8_t(0x03), uint8_t(0x0C), uint8_t(0x10)}) {
        uint8_t wanted = control & group;
        if (wanted && wanted != (state & group))
            return false;
    }
    return true;
}

uint32_t SoftMenuAcceleratorAlias(uint32_t command)
{
    for (auto [shown, assigned] : kAliases)
        if (shown == command)
            return assigned;
    return command;
}

std::string SoftMenuItemText(std::string_view tableText, uint32_t command, const std::vector<AcceleratorKey>* keys)
{
    size_t tab = tableText.find('\t');
    std::string label(tableText.substr(0, tab));
    std::string shortcut(tab == std::string_view::npos ? std::string_view() : tableText.substr(tab + 1));
    if (keys && !keys->empty() && command != 0) {
        uint32_t assigned = SoftMenuAcceleratorAlias(command);
        auto found = std::find_if(keys->begin(), keys->end(),
                                  [&](const AcceleratorKey& key) { return key.command == assigned; });
        // The user's key joins the item's own keys, which keep working.
        if (found != keys->end()) {
            const std::string user = ShortcutText(*found);
            const std::string spaced = " or " + shortcut + " or ";
            if (shortcut.empty())
                shortcut = user;
            else if (spaced.find(" or " + user + " or ") == std::string::npos)
                shortcut += " or " + user;
        }
    }
    return shortcut.empty() ? label : label + '\t' + shortcut;
}

SoftMenu BuildSoftMenu(uint32_t menuId, bool popup, uint8_t mask, const SoftMenuContext& context)
{
    SoftMenu menu{popup, {}};
    const SoftMenuItem* cursor = FindSoftMenuTable(menuId);
    if (!cursor)
        return menu;
    menu.entries = Builder(mask, context).Build(cursor);
    return menu;
}

void SetSoftMenuKeyTable(const std::vector<AcceleratorKey>* keys)
{
    g_programKeys = keys;
}

SoftMenuContext CurrentSoftMenuContext()
{
    const OptionBlockA& options = Config().optionsA;
    return SoftMenuContext{options.bytes[OptionBlockA::kRealTimeOption] != 0,
                           options.bytes[OptionBlockA::kMultipleWindows] != 0, g_programKeys};
}

SoftMenu LoadSoftMenu(uint32_t menuId, bool popup, uint8_t mask)
{
    return BuildSoftMenu(menuId, popup, mask, CurrentSoftMenuContext());
}

void InsertSoftMenuItem(std::vector<SoftMenuEntry>& menu, size_t position, uint32_t flags, uint32_t command,
                        std::string_view text, const std::vector<AcceleratorKey>* keys)
{
    SoftMenuEntry entry{flags, command, SoftMenuItemText(text, command, keys), {}};
    menu.insert(menu.begin() + std::min(position, menu.size()), std::move(entry));
}

} // namespace qv
