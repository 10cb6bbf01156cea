// The portfolio chooser's rules.
#include "portfolio/PortfolioChooserRules.h"

#include "core/ShareList.h"
#include "core/Portfolio.h"
#include "portfolio/PortfolioMaking.h"
#include "portfolio/PortfolioRoutines.h"

namespace qv {
namespace {

const char* Verb(int mode)
{
    static const char* const kVerbs[kChooserModes] = {"View", "Delete", "Add", "Copy", "Merge",
                                                      "Revert", "View", "Copy to", "Move to", ""};
    return mode >= 0 && mode < kChooserModes ? kVerbs[mode] : "";
}

std::function<std::vector<std::string>()>& FilterNames()
{
    static std::function<std::vector<std::string>()> names;
    return names;
}

bool Listed(int mode, const Portfolio& p, const Portfolio* current)
{
    if (mode == 4 && &p == current)
        return false;
    if (p.type == kGroupPortfolio) {
        if (mode != 0 && mode != 1 && mode != 9)
            return false;
    } else if (p.type != kUserPortfolio) {
        return false;
    }
    if (mode == 9 && current && current->type == kGroupPortfolio)
        return PortfolioIncludes(current, p.number);
    return true;
}

bool OffersNew(int mode) { return mode == 0 || mode == 7 || mode == 8; }

} // namespace

std::string ChooserPrompt(int mode)
{
    return mode == 9 ? "Select the Portfolio" : std::string("Select the Portfolio to ") + Verb(mode);
}

std::string ChooserTitle(int mode) { return std::string("Portfolio ") + Verb(mode); }

uint32_t ChooserHelpContext(int mode)
{
    switch (mode) {
    case 1: return 86467;
    case 2: return 86468;
    case 3: return 86469;
    case 4: return 86472;
    default: return 86455;
    }
}

bool ChooserModeExtended(int mode) { return mode == 0 || mode == 3 || mode == 6; }

ChooserListing ListChooserEntries(int mode, bool extended, const Portfolio* current)
{
    ChooserListing out;
    uint32_t position = 0;
    for (const Portfolio* p = PortfolioChain(); p; p = p->next, ++position) {
        if (!Listed(mode, *p, current))
            continue;
        std::string text = p->name.str();
        if (p->type == kGroupPortfolio)
            text += " (Group)";
        out.portfolios.push_back({text, position});
    }
    if (OffersNew(mode)) {
        out.portfolios.push_back({" << new >>", kChooserNewPortfolio});
        if (extended)
            out.portfolios.push_back({" << new group >>", kChooserNewGroup});
        out.filters.push_back({" << new >>", kChooserNewFilter});
    }
    if (FilterNames()) {
        uint32_t index = 0;
        for (const std::string& name : FilterNames()())
            out.filters.push_back({name, kChooserFirstFilter + index++});
    }
    return out;
}

void SetChooserFilterNames(std::function<std::vector<std::string>()> names) { FilterNames() = std::move(names); }

Portfolio* PortfolioAtPosition(uint32_t position)
{
    Portfolio* p = PortfolioChain();
    for (; p && position > 0; --position)
        p = p->next;
    return p;
}

Portfolio* PrepareFilterPortfolio(const std::string& filterName)
{
    Portfolio* target = nullptr;
    for (Portfolio* p = PortfolioChain(); p && !target; p = p->next)
        if (p->type == kFilterPreset)
            target = p;
    if (target)
        ClearPortfolio(target, false);
    else
        target = NewPortfolio(filterName);
    if (!target)
        return nullptr;
    target->name = filterName;
    target->changed = 1;
    target->type = kFilterPreset;
    return target;
}

Portfolio*& ChosenPortfolio()
{
    static Portfolio* chosen = nullptr;
    return chosen;
}

bool& NewFilterRequested()
{
    static bool requested = false;
    return requested;
}

bool& ChooserAdvanced()
{
    static bool advanced = false;
    return advanced;
}

} // namespace qv
