// The share list's commands that put its shares into a portfolio: the current portfolio (of the
// program's current portfolio view) or one chosen in the portfolio chooser, with one share, all,
// those above or those below the current row; their menu texts and enabling.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

struct Portfolio;
struct ShareList;

enum ListAddCommand : uint32_t {
    kCmdAddAllToCurrent = 20800,
    kCmdAddAboveToCurrent = 20801,
    kCmdAddBelowToCurrent = 20802,
    kCmdAddShareToCurrent = 20803,
    kCmdAddAllToChosen = 26544,
    kCmdAddAboveToChosen = 26545,
    kCmdAddBelowToChosen = 26546,
    kCmdAddShareToChosen = 26548,
};
bool IsListAddCommand(uint32_t command);

// The program's current portfolio view: whether there is one, and its portfolio (may be null).
struct CurrentPortfolioView {
    bool exists = false;
    Portfolio* portfolio = nullptr;
};
// The portfolio views answer; without them there is no current portfolio view.
void SetCurrentPortfolioViewSource(std::function<CurrentPortfolioView()> source);
CurrentPortfolioView GetCurrentPortfolioView();
// The portfolio chooser (mode 7); without the portfolio views it answers Cancel (null).
void SetPortfolioChooser(std::function<Portfolio*(int mode)> chooser);
bool PortfolioChooserInstalled();
constexpr int kChooserAddMode = 7;

// The rows a command adds, from 0: [first, last]; empty (first > last) without rows.
struct RowSpan {
    int first = 0;
    int last = -1;
};
RowSpan AddCommandRows(uint32_t command, int current, int rows);

// The menu text of 20800-20803: the command's words and the current portfolio's name between
// "'" or "<None selected>".
std::string AddCommandMenuText(uint32_t command, const CurrentPortfolioView& view);
bool AddCommandEnabled(uint32_t command, int rows, const CurrentPortfolioView& view);

// Carries the command out on the list; false when nothing was added.
bool RunAddCommand(uint32_t command, ShareList* list);

} // namespace qv
