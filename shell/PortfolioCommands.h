// Rules of the frame's portfolio commands that need no window: the texts and availability of undo
// and redo, stepping through the portfolio chain, and reverting a portfolio to its saved file.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

class UndoRing;
struct Portfolio;

constexpr uint32_t kCommandUndoPortfolio = 26538, kCommandRedoPortfolio = 26539;
constexpr uint32_t kCommandNextPortfolio = 26420, kCommandPreviousPortfolio = 26421;
constexpr uint32_t kCommandFirstQuickPortfolio = 26422, kCommandLastQuickPortfolio = 26430;
constexpr uint32_t kCommandRevertPortfolio = 26537;

// The name of an undo step's operation kind in the menu texts.
const char* UndoOperationName(uint32_t kind);

struct UndoMenuState {
    bool enabled = false;
    std::string text;
};
// "Undo\tCtrl Z", or "Undo <operation> '<item>'\tCtrl Z" while a step can be taken back; steps of
// kinds 10 and 11 go back two slots, so they need two.
UndoMenuState UndoCommandState(const UndoRing& ring, bool busy);
// "Redo\tCtrl Y", or "Redo <operation> '<item>'\tCtrl Y" while a step undone can be made again.
UndoMenuState RedoCommandState(const UndoRing& ring);
// How many times the ring undoes for one command: twice for kinds 10 and 11.
int UndoRepeats(const UndoRing& ring);

// Whether the portfolio is in the program's chain; whether any is a user or group portfolio.
bool PortfolioInChain(const Portfolio* p);
bool UserPortfolioExists();
// The portfolio of Portfolio 1-9 (the toolbar set's nine targets; 0 names none), or null.
Portfolio* QuickPortfolio(uint32_t command);

// The portfolio after or before p in the chain; null at the ends, and before p when that is the
// first portfolio and a filter pre-set.
Portfolio* NextPortfolio(const Portfolio* p);
Portfolio* PreviousPortfolio(const Portfolio* p);

// Re-points every share list showing the portfolio with this number at it (refilled and re-sorted)
// and refreshes every ticker.
void RefreshPortfolioLists(uint16_t number);
// After the new-high and new-low periods changed: the period extremes are worked out again and
// the New Lows and New Highs portfolios refilled, with the lists that show them.
void RefillHighsAndLows();

// Puts the portfolio back as its saved file holds it: the saved file must exist (else the user is
// told and nothing, not even the interim copy, is deleted); the interim copy goes, the portfolio
// is read again in its place in the chain and the lists that showed it show the new one. Returns
// the reloaded portfolio, or null when nothing changed.
Portfolio* RevertPortfolioToSaved(Portfolio* p);
inline constexpr const char* kRevertQuestion =
    "Are you sure you want to revert to the saved version of the selected portfolio %s?";
inline constexpr const char* kRevertNoSavedFile =
    "There is no saved version of the portfolio %s, so it cannot be reverted. Nothing has been changed.";

} // namespace qv
