// The view request behind every command that shows a view, and the rules it follows that need no
// window: which kind a view cycles to (commands 505 and 506), how linked views follow, when a
// request changes nothing, and the list-switch command families with their list numbers.
#pragma once

#include "resources/MessageIds.h"

#include <cstdint>

namespace qv {

class CViewBase;
struct ShareList;
struct Portfolio;

// Request flags.
constexpr uint32_t kRequestNewWindow = 1;
constexpr uint32_t kRequestNoFollow = 8;
constexpr uint32_t kRequestKeepOwnList = 16;
constexpr uint32_t kRequestUseGivenList = 32;
constexpr uint32_t kRequestCopyGroupMask = 64;
constexpr uint32_t kRequestKeepPositions = 128;
// A new window goes into free space rather than beside the view it came from.
constexpr uint32_t kRequestFreeSpace = 256;

struct ViewRequest {
    int32_t kind = 0;
    int32_t number = -1;          // list number, share position, or -1 to keep
    CViewBase* view = nullptr;    // the view it starts from and replaces
    ShareList* list = nullptr;
    uint32_t flags = 0;
    Portfolio* source = nullptr;
    void* childWindow = nullptr;  // set by the request
    int32_t oldKind = -1;         // set by the request
    int32_t currentNumber = -1;   // set by the request
    int32_t linkResult = 0;       // set by the request
};

// The cycling commands: 506 goes list -> daily graph -> details -> list, 505 the other way.
constexpr uint32_t kCommandNextViewKind = ID_NEXT_VIEW;
constexpr uint32_t kCommandPreviousViewKind = ID_PREVIOUS_VIEW;

// The list kind a one-share view returns to: the previous list kind when it is a table kind, else 2
// with a portfolio behind the list, else 1.
int32_t ReturnListKind(int32_t previousListKind, bool listHasPortfolio);
// The kind 506 (next) or 505 (previous) shows next; -1 when the kind does not cycle.
int32_t CycleViewKind(bool next, int32_t kind, bool graphHasParentLink, int32_t previousListKind,
                      bool listHasPortfolio);

// The kind a request compares with: the old kind, unless exactly one of "old kind is 1 or 6" and
// "the previous list kind is 2 or 4" holds, when it is the previous list kind.
int32_t RequestReferenceKind(int32_t oldKind, int32_t previousListKind);

// Whether a request looks for the portfolio it works in: for kinds 2 and 4, and for one-share kinds
// (0, 3, 9) when the reference kind is 2 or 4 or the list found has a portfolio.
bool RequestLooksForSource(int32_t kind, int32_t referenceKind, bool foundHasSource);

// The current number a request starts with: -1 for a new window; else the view's kind when it is a
// list-type kind (1, 2, 4, 6, 7), else its previous list kind.
int32_t RequestCurrentNumber(uint32_t flags, int32_t viewKind, int32_t previousListKind);

// A request in the same window that keeps the view's kind, list number and family changes nothing.
bool RequestChangesNothing(int32_t kind, int32_t oldKind, int32_t number, int32_t frameListNumber,
                           int32_t listFamily, int32_t wantedFamily);

// What a linked view does when the view it follows changes kind: -1 refresh only, else the kind it
// switches to (a list-type view switches to a differing list-type kind, kinds 2 and 4 counting as
// one, or to a list when the new kind shows one share and the request keeps its own list).
int32_t LinkedViewFollowKind(int32_t linkedKind, int32_t wantedKind, uint32_t flags);

// The list-switch commands: ShowList (first family), ShowListSameWindow (second family, two ids a
// number) and UseList, all keyed by the list number 0-34.
enum class ListCommandFamily { None, Show, ShowSameWindow, Use };
struct ListCommand {
    ListCommandFamily family = ListCommandFamily::None;
    int32_t number = -1;
    // The first second-family id of a row also needs a share that can be shown.
    bool needsShowableShare = false;
};
ListCommand LookupListCommand(uint32_t id);
// The ids of a number, 0 where the family has none.
uint32_t ShowListCommandId(int32_t number);
uint32_t ShowListSameWindowCommandId(int32_t number, int which);
uint32_t UseListCommandId(int32_t number);
constexpr int32_t kListNumberCount = 35;
constexpr int32_t kImportedListNumber = 16;

// The current-share commands.
constexpr uint32_t kCommandGraphCurrent = 20316, kCommandGraphCurrentBar = 27014;
constexpr uint32_t kCommandViewCurrentList = 20318, kCommandViewCurrentListBar = 27013;
constexpr uint32_t kCommandShowDetails = 20315, kCommandShowDetailsBar = 27021;
constexpr uint32_t kCommandTransactions = 20320, kCommandTransactionsBar = 27022, kCommandReviewTransactions = 25029;
constexpr uint32_t kCommandDataMining = 20317, kCommandDataMiningBar = 27020;
constexpr uint32_t kCommandNews = 26621, kCommandNewsBar = 27017;
constexpr uint32_t kCommandDealings = 26231, kCommandDealingsBar = 27016;
constexpr uint32_t kCommandSelectedDealings = 26396, kCommandSelectedDealingsB = 26397,
                   kCommandReturnDealings = 26395;
constexpr uint32_t kCommandShareDates = 26907;
constexpr uint32_t kCommandTicker = 26822;
constexpr uint32_t kCommandTradeList = 26196, kCommandTradeListB = 26819, kCommandTradeListBar = 27019;
constexpr uint32_t kCommandFindShare = 20408;
constexpr uint32_t kCommandInterimResults = 25098;
constexpr uint32_t kCommandPercentChanges = 25099;
constexpr uint32_t kCommandUnpricedShares = 26517;
constexpr uint32_t kCommandLogScale = 20223;
constexpr uint32_t kCommandUnlink = 26889;
constexpr uint32_t kCommandSearchNews = 26636;

// What the update rules of the current-share and list commands look at.
struct CommandFacts {
    int32_t activeKind = -1;      // -1 without an active view
    bool hasList = false;         // the active view has a list
    bool busy = false;
    bool listHasCurrent = false;  // the list has a current entry
    int32_t listFamily = -1;
    bool hasCurrentShare = false;
    bool canShowCurrentShare = false;
    int32_t listNumber = -1;      // the active list's number
    bool listHasSource = false;
    bool importedItems = false;
    bool dealingsLoaded = false;
    bool graphTraining = false;   // the active view is a graph in training mode
    int32_t shareFilter = -1;     // news and dealings views
    uint8_t dealingsFlags = 0;
    int32_t tickerPreviousList = -1;
    bool unpricedShares = false;
    bool realTime = false;        // the real-time option of this run
    int32_t tradeMarket = -1;     // the active trade list's mode (0 trades only)
    // The transactions view has a portfolio to show: the active list's own, or one the chooser gives.
    bool transactionsPortfolio = false;
};
struct CommandUiState {
    bool known = false;           // the command is one of these
    bool enabled = false;
    bool checkable = false;       // the command's item carries a check mark
    bool checked = false;
};
CommandUiState CommandUpdateState(uint32_t id, const CommandFacts& facts);

} // namespace qv
