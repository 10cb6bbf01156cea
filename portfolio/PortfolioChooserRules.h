// The portfolio chooser's rules: each mode's wording and help, which portfolios and filters it lists,
// and what OK answers for a listed entry (new portfolios, groups and the filter-driven portfolio).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

struct Portfolio;

// 0 view, 1 delete, 2 add a graph, 3 copy, 4 merge, 5 revert, 6 view, 7 copy to, 8 move to, 9 pick.
constexpr int kChooserModes = 10;
std::string ChooserPrompt(int mode);
std::string ChooserTitle(int mode);
uint32_t ChooserHelpContext(int mode);
// Modes 0, 3 and 6 show the advanced part's button.
bool ChooserModeExtended(int mode);

// Item values of the list entries: a portfolio's position in the chain, or one of these.
constexpr uint32_t kChooserNewPortfolio = 0xFFFE;
constexpr uint32_t kChooserNewGroup = 0xFFFF;
constexpr uint32_t kChooserFirstFilter = 0xE000;
constexpr uint32_t kChooserNewFilter = 0xFF05;

struct ChooserEntry {
    std::string text;
    uint32_t value = 0;
};
struct ChooserListing {
    std::vector<ChooserEntry> portfolios;
    std::vector<ChooserEntry> filters;
};
// The entries of a mode over the program's portfolio chain and filters; `current` is the current
// share list's portfolio (merge leaves it out; a group narrows mode 9 to its members).
ChooserListing ListChooserEntries(int mode, bool extended, const Portfolio* current);

// The data-mining filters' names, installed by the data-mining code; none until then.
void SetChooserFilterNames(std::function<std::vector<std::string>()> names);

// The portfolio at a position of the chain; null when the chain is shorter.
Portfolio* PortfolioAtPosition(uint32_t position);
// A filter chosen: the first filter-driven portfolio is emptied (or one is made), named after the
// filter and marked changed. Null when none could be made.
Portfolio* PrepareFilterPortfolio(const std::string& filterName);

// The portfolio chosen last (null until a chooser ends with OK, and after Cancel).
Portfolio*& ChosenPortfolio();
// Set when " << new >>" was picked in the filter list.
bool& NewFilterRequested();
// Whether the chooser shows its advanced part (kept for the run).
bool& ChooserAdvanced();

} // namespace qv
