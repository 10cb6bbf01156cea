// The window-free rules of view requests and the list-switch command table.
#include "shell/ViewRequest.h"

#include "views/ViewKinds.h"

namespace qv {

namespace {
constexpr int32_t kCashFamily = 3;
constexpr int32_t kTradesFamily = 5;
} // namespace

int32_t ReturnListKind(int32_t previousListKind, bool listHasPortfolio)
{
    if (IsTableViewKind(previousListKind))
        return previousListKind;
    return listHasPortfolio ? kViewPortfolio : kViewList;
}

int32_t CycleViewKind(bool next, int32_t kind, bool graphHasParentLink, int32_t previousListKind,
                      bool listHasPortfolio)
{
    int32_t listKind = ReturnListKind(previousListKind, listHasPortfolio);
    if (IsNonNewsTableViewKind(kind))
        return next ? kViewDailyChart : kViewDetails;
    if (kind == kViewDailyChart) {
        if (!next || graphHasParentLink)
            return listKind;
        return kViewDetails;
    }
    if (kind == kViewDetails)
        return next ? listKind : kViewDailyChart;
    return -1;
}

int32_t RequestReferenceKind(int32_t oldKind, int32_t previousListKind)
{
    bool listOrMining = IsListOrMiningViewKind(oldKind);
    bool cameFromPortfolio = IsPortfolioViewKind(previousListKind);
    return listOrMining == cameFromPortfolio ? oldKind : previousListKind;
}

bool RequestLooksForSource(int32_t kind, int32_t referenceKind, bool foundHasSource)
{
    if (IsPortfolioViewKind(kind))
        return true;
    return IsOneShareViewKind(kind) && (IsPortfolioViewKind(referenceKind) || foundHasSource);
}

int32_t RequestCurrentNumber(uint32_t flags, int32_t viewKind, int32_t previousListKind)
{
    if (flags & kRequestNewWindow)
        return -1;
    return IsNonNewsTableViewKind(viewKind) ? viewKind : previousListKind;
}

bool RequestChangesNothing(int32_t kind, int32_t oldKind, int32_t number, int32_t frameListNumber,
                           int32_t listFamily, int32_t wantedFamily)
{
    if (kind == kViewPortfolio || kind == kViewTransactions || kind == kViewCash)
        return false;
    return kind == oldKind && number == frameListNumber && listFamily == wantedFamily;
}

int32_t LinkedViewFollowKind(int32_t linkedKind, int32_t wantedKind, uint32_t flags)
{
    if (!IsNonNewsTableViewKind(linkedKind))
        return -1;
    if (IsNonNewsTableViewKind(wantedKind)) {
        bool same = wantedKind == linkedKind || (IsPortfolioViewKind(wantedKind) && IsPortfolioViewKind(linkedKind));
        return same ? -1 : wantedKind;
    }
    if ((flags & kRequestKeepOwnList) && linkedKind != kViewList)
        return kViewList;
    return -1;
}

namespace {

struct ListCommandRow {
    uint32_t show;
    uint32_t sameWindow[2];
    uint32_t use;
};

// Rows by list number 0-34.
constexpr ListCommandRow kRows[kListNumberCount] = {
    {26910, {26991, 25053}, 26438}, {26911, {26992, 25054}, 26439}, {26912, {26993, 25055}, 26440},
    {26914, {26995, 25056}, 26441}, {26915, {26998, 25042}, 26432}, {26916, {26999, 25045}, 26433},
    {26917, {27001, 25048}, 26435}, {26918, {27002, 25051}, 26436}, {26919, {27003, 25041}, 26437},
    {26920, {27004, 25044}, 26443}, {26921, {27007, 25047}, 26444}, {26922, {27008, 25050}, 26445},
    {26923, {27009, 25043}, 26446}, {26924, {27010, 25046}, 26447}, {26925, {27011, 25049}, 26449},
    {26926, {27012, 25052}, 26448}, {26927, {26996, 26204}, 26442}, {26928, {27000, 26399}, 26434},
    {26913, {26994, 26605}, 26608}, {26929, {27005, 26606}, 26667}, {26931, {26997, 26668}, 26666},
    {26930, {27006, 26775}, 26670}, {0, {27040, 27042}, 27041},     {0, {27043, 27045}, 27044},
    {0, {27046, 27048}, 27047},     {0, {0, 0}, 27060},             {0, {27093, 27094}, 27080},
    {0, {27095, 27096}, 27081},     {0, {27097, 27098}, 27082},     {0, {27099, 27100}, 27083},
    {0, {27101, 27102}, 27084},     {0, {27103, 27104}, 27085},     {0, {27110, 27111}, 27109},
    {0, {27113, 27114}, 27112},     {0, {27116, 27117}, 27115},
};

} // namespace

ListCommand LookupListCommand(uint32_t id)
{
    if (id == 0)
        return {};
    for (int32_t n = 0; n < kListNumberCount; ++n) {
        const ListCommandRow& row = kRows[n];
        if (row.show == id)
            return {ListCommandFamily::Show, n, false};
        if (row.sameWindow[0] == id)
            return {ListCommandFamily::ShowSameWindow, n, true};
        if (row.sameWindow[1] == id)
            return {ListCommandFamily::ShowSameWindow, n, false};
        if (row.use == id)
            return {ListCommandFamily::Use, n, false};
    }
    return {};
}

uint32_t ShowListCommandId(int32_t number)
{
    return number >= 0 && number < kListNumberCount ? kRows[number].show : 0;
}

uint32_t ShowListSameWindowCommandId(int32_t number, int which)
{
    if (number < 0 || number >= kListNumberCount || which < 0 || which > 1)
        return 0;
    return kRows[number].sameWindow[which];
}

uint32_t UseListCommandId(int32_t number)
{
    return number >= 0 && number < kListNumberCount ? kRows[number].use : 0;
}

namespace {

CommandUiState State(bool enabled, bool checked) { return {true, enabled, true, checked}; }
// A command whose item never carries a check mark.
CommandUiState Plain(bool enabled) { return {true, enabled, false, false}; }

CommandUiState ListCommandState(const ListCommand& command, const CommandFacts& f)
{
    bool importsOk = command.number != kImportedListNumber || f.importedItems;
    if (command.family == ListCommandFamily::Use) {
        bool kindOk = f.activeKind == kViewDailyChart || f.activeKind == kViewIntradayChart ||
                      f.activeKind == kViewList || f.activeKind == kViewDetails || f.activeKind == kViewPortfolio;
        bool checked = (f.activeKind == kViewDailyChart || f.activeKind == kViewList || f.activeKind == kViewDetails ||
                        f.activeKind == kViewIntradayChart) &&
                       f.listNumber == command.number && !f.listHasSource;
        return State(kindOk && f.hasList && !f.graphTraining && importsOk, checked);
    }
    bool enabled = importsOk && (!command.needsShowableShare || f.canShowCurrentShare);
    return State(enabled, f.activeKind == kViewList && f.listNumber == command.number);
}

} // namespace

CommandUiState CommandUpdateState(uint32_t id, const CommandFacts& f)
{
    bool showable = !f.busy && f.listHasCurrent && f.listFamily != kCashFamily;
    int32_t k = f.activeKind;
    switch (id) {
    case kCommandGraphCurrent: return State(showable, k == kViewDailyChart && f.hasCurrentShare);
    case kCommandGraphCurrentBar:
        return State(showable && f.canShowCurrentShare, k == kViewDailyChart && f.hasCurrentShare);
    case kCommandShowDetails: return State(showable, k == kViewDetails && f.hasCurrentShare);
    case kCommandShowDetailsBar:
        return State(showable && f.canShowCurrentShare, k == kViewDetails && f.hasCurrentShare);
    case kCommandViewCurrentList: return Plain(true);
    case kCommandViewCurrentListBar: return Plain(f.canShowCurrentShare);
    case kCommandTransactions:
    case kCommandReviewTransactions:
        return State(k == kViewTransactions || f.transactionsPortfolio, k == kViewTransactions);
    case kCommandTransactionsBar:
        return State(f.canShowCurrentShare && (k == kViewTransactions || f.transactionsPortfolio), k == kViewTransactions);
    case kCommandDataMining: return State(true, k == kViewDataMining);
    case kCommandDataMiningBar: return State(f.canShowCurrentShare, k == kViewDataMining);
    case kCommandNews: return State(true, k == kViewNews && f.shareFilter == -1);
    case kCommandNewsBar: return State(f.canShowCurrentShare, k == kViewNews && f.shareFilter == -1);
    case kCommandDealings:
        return State(f.dealingsLoaded && !f.graphTraining, k == kViewDealings && !(f.dealingsFlags & 0x40));
    case kCommandDealingsBar:
        return State(f.dealingsLoaded && !f.graphTraining && (f.canShowCurrentShare || k == kViewDealings),
                     k == kViewDealings);
    case kCommandSelectedDealings:
    case kCommandSelectedDealingsB:
    case kCommandReturnDealings: {
        // A dealings view showing one share returns (or shows every share again) without a row.
        const bool oneShare = k == kViewDealings && (f.dealingsFlags & 0x40);
        return State(!f.busy && f.hasList && (f.listHasCurrent || oneShare) && !f.graphTraining && k != kViewCash,
                     oneShare);
    }
    case kCommandTicker: return State(!f.graphTraining, k == kViewTicker && f.tickerPreviousList == -1);
    // A trade list of the current share, from a list of shares or another trade list.
    case kCommandTradeList:
    case kCommandTradeListB:
    case kCommandTradeListBar:
        return State(f.realTime && !f.busy && (f.listFamily == 0 || f.listFamily == kTradesFamily),
                     k == kViewTradeList && f.tradeMarket == 0);
    case kCommandShareDates: return Plain(!f.busy && f.listHasCurrent && f.listFamily == 0 && !f.graphTraining);
    case kCommandFindShare: return Plain(k >= 0);
    case kCommandUnpricedShares: return State(k == kViewList, f.unpricedShares);
    default: break;
    }
    ListCommand command = LookupListCommand(id);
    if (command.family == ListCommandFamily::None)
        return {};
    return ListCommandState(command, f);
}

} // namespace qv
