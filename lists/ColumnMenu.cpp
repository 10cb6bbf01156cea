// Heading menus fitted to their column.
#include "lists/ColumnMenu.h"

#include "core/ColumnDef.h"

#include <algorithm>

namespace qv {
namespace {

constexpr uint32_t kFormatMenu = 771;

using Entries = std::vector<SoftMenuEntry>;

bool HasCommand(const SoftMenuEntry& e, uint32_t command) { return !e.isPopup() && e.command == command; }

void RemoveCommand(Entries& entries, uint32_t command)
{
    for (SoftMenuEntry& e : entries)
        if (e.isPopup())
            RemoveCommand(e.items, command);
    entries.erase(std::remove_if(entries.begin(), entries.end(), [command](const SoftMenuEntry& e) { return HasCommand(e, command); }),
        entries.end());
}

// Removes a popup holding the command (the justification submenu).
void RemovePopupWith(Entries& entries, uint32_t command)
{
    entries.erase(std::remove_if(entries.begin(), entries.end(), [command](const SoftMenuEntry& e) {
        return e.isPopup() && std::any_of(e.items.begin(), e.items.end(), [command](const SoftMenuEntry& i) { return HasCommand(i, command); });
    }), entries.end());
}

size_t PositionOf(const Entries& entries, uint32_t command)
{
    const auto it = std::find_if(entries.begin(), entries.end(), [command](const SoftMenuEntry& e) { return HasCommand(e, command); });
    return size_t(it - entries.begin());
}

// The format entries of menu 771's popup: [0] decimals, [1] zero, [2] 538, [3] 27086, [4] money.
Entries FormatEntries(const ColumnMenuPlan& plan)
{
    const SoftMenu formats = LoadSoftMenu(kFormatMenu, true, 0xFF);
    if (formats.entries.empty() || formats.entries.front().items.size() < 5)
        return {};
    const Entries& source = formats.entries.front().items;
    Entries out;
    if (plan.numberSubmenu) {
        out.push_back(plan.moneySubmenu ? source[4] : source[0]);
        out.push_back(source[1]);
        if (plan.thousands) {
            out.push_back(SoftMenuEntry{kMenuSeparator, 0, {}, {}});
            out.push_back(SoftMenuEntry{0, ColumnCommand::Thousands, "Billions, millions and thousands", {}});
        }
    }
    if (plan.consensusItem)
        out.push_back(source[2]);
    if (plan.exchangeItem)
        out.push_back(source[3]);
    return out;
}

} // namespace

uint32_t ListBodyMenuId(int kind, int portfolioType)
{
    switch (kind) {
    case 1: return 302;
    case 2: return portfolioType == 3 ? 626 : portfolioType != 0 ? 567 : 303;
    case 3: return 304;
    case 4: return 305;
    case 5: return 306;
    case 6: return 615;
    case 7: return 308;
    case 8: return 309;
    case 10: return 311;
    default: return 0;
    }
}

uint32_t ListHeadingMenuId(int kind)
{
    switch (kind) {
    case 1: case 2: case 6: return 415;
    case 4: return 419;
    case 5: return 388;
    case 7: return 625;
    case 8: return 629;
    case 10: return 222;
    default: return 0;
    }
}

MenuFamily MenuFamilyOfKind(int kind)
{
    switch (kind) {
    case 4: return MenuFamily::Transactions;
    case 5: return MenuFamily::Dealings;
    case 7: return MenuFamily::Cash;
    case 8: return MenuFamily::News;
    case 10: return MenuFamily::Trades;
    default: return MenuFamily::Shares;
    }
}

std::vector<SoftMenuEntry> BuildColumnMenu(int kind, const uint8_t* def, bool arrowAccepted)
{
    const SoftMenu menu = LoadSoftMenu(ListHeadingMenuId(kind), true, 0xFF);
    if (menu.entries.empty() || !def)
        return {};
    Entries entries = menu.entries.front().items;
    const ColumnMenuPlan plan = PlanColumnMenu(MenuFamilyOfKind(kind), def);
    if (!plan.changeContents)
        RemoveCommand(entries, ColumnCommand::ChangeContents);
    if (!plan.fitAndJustify) {
        RemoveCommand(entries, ColumnCommand::Fit);
        RemovePopupWith(entries, ColumnCommand::LeftJustify);
    }
    const bool hasParameter = def[ColumnDefLayout::Length] > ColumnDefLayout::Parameters + 1 && def[ColumnDefLayout::Parameters + 1] != 0;
    Entries extra = FormatEntries(plan);
    if (arrowAccepted && (ColumnDefCode(def) != 73 || hasParameter))
        extra.push_back(SoftMenuEntry{0, ColumnCommand::UpDownArrow, "Show Up/Down arrow", {}});
    const size_t at = PositionOf(entries, ColumnCommand::Sort);
    entries.insert(entries.begin() + long(std::min(at, entries.size())), extra.begin(), extra.end());
    if (!plan.sort)
        RemoveCommand(entries, ColumnCommand::Sort);
    return entries;
}

} // namespace qv
