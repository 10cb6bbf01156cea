// Walking a built menu by command id and deleting entries with their separators.
#include "shell/SoftMenuEdit.h"

#include <cstdio>

namespace qv {
namespace {

void SetFlagBits(std::vector<SoftMenuEntry>& menu, uint32_t command, uint32_t bits, uint32_t value)
{
    FindMenuItem(
        menu, command,
        [&](std::vector<SoftMenuEntry>& parent, size_t position) {
            parent[position].flags = (parent[position].flags & ~bits) | (value & bits);
        },
        [](std::vector<SoftMenuEntry>&, size_t) {});
}

std::string Printable(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c == '\t') {
            out += "\\t";
        } else if (c >= 0x80) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += char(c);
        }
    }
    return out;
}

void DumpEntries(const std::vector<SoftMenuEntry>& entries, int level, std::string& out)
{
    for (const SoftMenuEntry& entry : entries) {
        out.append(size_t(level) * 2, ' ');
        if (entry.isSeparator())
            out += "--------";
        else if (entry.isPopup())
            out += Printable(entry.text) + ":";
        else
            out += Printable(entry.text) + " = " + std::to_string(entry.command);
        if (entry.flags & kMenuGrayed)
            out += " [greyed]";
        if (entry.flags & kMenuChecked)
            out += " [checked]";
        out += '\n';
        if (entry.isPopup())
            DumpEntries(entry.items, level + 1, out);
    }
}

} // namespace

bool FindMenuItem(std::vector<SoftMenuEntry>& menu, uint32_t command, const MenuEntryAction& popupAction,
                  const MenuEntryAction& itemAction)
{
    bool found = false;
    for (size_t i = menu.size(); i-- > 0;) {
        if (i >= menu.size()) // an action took a separator behind the entry
            continue;
        if (menu[i].isPopup()) {
            if (FindMenuItem(menu[i].items, command, popupAction, itemAction)) {
                found = true;
                popupAction(menu, i);
            }
        } else if (!menu[i].isSeparator() && menu[i].command == command) {
            found = true;
            itemAction(menu, i);
        }
    }
    return found;
}

void CheckMenuItemById(std::vector<SoftMenuEntry>& menu, uint32_t command, uint32_t checkFlags)
{
    SetFlagBits(menu, command, kMenuChecked, checkFlags);
}

void EnableMenuItemById(std::vector<SoftMenuEntry>& menu, uint32_t command, uint32_t enableFlags)
{
    SetFlagBits(menu, command, kMenuGrayed, enableFlags);
}

void DeleteSubMenuContaining(std::vector<SoftMenuEntry>& menu, uint32_t command)
{
    FindMenuItem(menu, command, DeleteMenuItemAndSeparator, [](std::vector<SoftMenuEntry>&, size_t) {});
}

void DeleteMenuItemById(std::vector<SoftMenuEntry>& menu, uint32_t command)
{
    FindMenuItem(menu, command, [](std::vector<SoftMenuEntry>&, size_t) {}, DeleteMenuItemAndSeparator);
}

void DeleteMenuItemAndSeparator(std::vector<SoftMenuEntry>& menu, size_t position)
{
    if (position >= menu.size())
        return;
    bool last = position + 1 == menu.size();
    menu.erase(menu.begin() + position);
    if (position == 0) {
        if (!menu.empty() && menu.front().isSeparator())
            menu.erase(menu.begin());
    } else if (last) {
        if (menu.back().isSeparator())
            menu.pop_back();
    } else if (menu[position - 1].isSeparator() && menu[position].isSeparator()) {
        menu.erase(menu.begin() + position);
    }
}

std::string DumpSoftMenu(const SoftMenu& menu)
{
    std::string out;
    DumpEntries(menu.entries, 0, out);
    return out;
}

} // namespace qv
