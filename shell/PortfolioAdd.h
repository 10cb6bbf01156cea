// Refresh broadcasts over the share lists (repaint the matching views, post the refresh to the
// list views) and the common path by which any window adds one share or a run of shares to a user
// portfolio: the confirmation, group portfolios, the undo step, the save and the broadcast.
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <functional>

namespace qv {

struct ShareList;
struct Portfolio;

// Repaints the visible views of the chain from `first` (only `first` with thisListOnly) that match
// the kind (-1 any; 1 and 2 match each other), the list's table setting (-1 any) and the view's
// window id (0xFFFFFFFF any); only lists of the given portfolio when one is given. A transactions
// view of that portfolio takes the portfolio's changed flag as its reload byte.
void InvalidateMatchingViews(ShareList* first, bool thisListOnly, int32_t kind, int32_t setting, uint32_t id,
                             const Portfolio* portfolio);
// Posts the refresh to the first unlinked view of every news list asking for it and every dealings
// list showing one share's dealings, unless the list shows the current list's source again; then
// the list becomes the current share list.
void PostListViewsRefresh(ShareList* list, bool force);

void NotifyPortfolioChanged(Portfolio* portfolio);
// Told of every portfolio change after the lists (null: any portfolio); the charts' breadth series
// of the portfolio are built again when next shown.
std::function<void(const Portfolio*)>& PortfolioChangeListener();
void RefreshListsOfPortfolio(const Portfolio* portfolio);
void RefreshShareLists(ShareList* chain);
void MarkPortfoliosChanged(Portfolio* portfolio);

// The add-to-portfolio confirmation option: bit 15 asks always; bit 14 asks from the count in
// bits 0-12; neither never asks.
extern uint32_t AddToPortfolioConfirmOption;
bool AskAddToPortfolio(const Portfolio* portfolio, int32_t count);

// Appends an entry unless the same share and sub-record is present (0); the array grows by 64
// bytes once the append leaves no room for the entry and its end marker plus one. With save the
// portfolio is saved at once. 1 when added.
int32_t AddPortfolioEntry(Portfolio* portfolio, const RecordCursor& entry, bool save);
// 0 when the entry went into the list's source (or a new portfolio made for it), 1 otherwise.
int32_t AddToListPortfolio(ShareList* list, const RecordCursor& entry, bool save);
bool AddShareToPortfolio(Portfolio* portfolio, const RecordCursor& entry, const char* prompt);
// The run from first up to last, stopping at an empty entry.
bool AddSharesToPortfolio(Portfolio* portfolio, const RecordCursor* first, const RecordCursor* last,
                          const char* prompt);

// Undo kinds of the two adds.
constexpr uint32_t kUndoAddShare = 4;
constexpr uint32_t kUndoAddShares = 5;

// What the portfolio code supplies: a new portfolio named by the user (null on Cancel), the member
// of a group portfolio (null on Cancel), the save, the undo ring's two steps and the rebuild of a
// group portfolio from its members. The defaults save the portfolio file, use the program's undo
// ring and rebuild groups; the two dialogs wait for the portfolio views (without them: Cancel).
struct PortfolioAddHooks {
    std::function<Portfolio*(const char* prompt)> newPortfolio;
    std::function<Portfolio*(Portfolio* group)> chooseMember;
    std::function<void(Portfolio*)> save;
    std::function<void(const Portfolio*)> prepareUndo;
    std::function<void(uint32_t kind, Portfolio*)> pushUndo;
    std::function<void(Portfolio*)> rebuildGroup;
};
PortfolioAddHooks DefaultPortfolioAddHooks();
void SetPortfolioAddHooks(PortfolioAddHooks hooks);
// Whether an add to the portfolio can be offered: to no portfolio (a new one is made) only while
// the new-portfolio dialog exists, to a group only while the member dialog exists. A menu or
// button offering such an add shows it greyed otherwise, rather than doing nothing.
bool CanAddToPortfolio(const Portfolio* portfolio);
// The portfolio last chosen or made by an add.
Portfolio*& LastChosenPortfolio();

} // namespace qv
