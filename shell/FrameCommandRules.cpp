// Update rules of the options, alarm, help, tool, news, web and real-time commands.
#include "shell/FrameCommandRules.h"

#include "core/ShareList.h"
#include "views/ViewKinds.h"

#include <initializer_list>

namespace qv {
namespace {

bool In(int32_t value, std::initializer_list<int32_t> set)
{
    for (int32_t v : set)
        if (v == value)
            return true;
    return false;
}

FrameCommandState Enabled(bool enabled)
{
    return FrameCommandState{enabled, std::nullopt, std::nullopt};
}

bool HasView(const FrameCommandFacts& f)
{
    return f.activeKind >= 0;
}

std::optional<FrameCommandState> ShareAlarmState(const FrameCommandFacts& f)
{
    FrameCommandState state;
    state.enabled = !f.busy && !f.training && f.listFamily == kFamilyShares && f.hasCurrentEntry;
    // The item's table text is a bare "-": without a share it still reads as what it does.
    state.text = state.enabled ? "Edit alarms for " + f.shareName : std::string("Edit alarms");
    return state;
}

std::optional<FrameCommandState> IntradayAlarmState(const FrameCommandFacts& f)
{
    FrameCommandState state;
    bool shareFamily = !In(f.listFamily, {kFamilyTransactions, kFamilyDealings, kFamilyNews, kFamilyTrades, kFamilyCash});
    bool named = f.hasList && shareFamily && f.hasCurrentShare;
    state.text = named ? "Edit alarms for " + f.shareCode : std::string("Edit alarms");
    state.enabled = named && !f.training;
    return state;
}

std::optional<FrameCommandState> NewsState(const FrameCommandFacts& f)
{
    FrameCommandState state;
    // A news row is a story, not a share: in a news view its current story leads to its share.
    bool share = f.hasCurrentShare || f.hasShareIndex || (f.activeKind == kViewNews && f.hasCurrentEntry);
    bool cashSub = f.listFamily == kFamilyCash && f.shareSubId != 0;
    state.enabled = f.canShowCurrentShare && share && !cashSub && !f.training;
    state.checked = f.activeKind == kViewNews && f.hasShareIndex;
    return state;
}

std::optional<FrameCommandState> FeedConnectState(const FrameCommandFacts& f)
{
    FrameCommandState state;
    bool running = f.engineState == kEngineRunning;
    state.text = running ? "Disconnect from real time feed" : "Connect to real time feed";
    state.checked = running;
    state.enabled = f.engineState != kEngineStarting && f.engineState != kEngineDisconnecting;
    return state;
}

bool TradeHistoryEnabled(const FrameCommandFacts& f)
{
    if (!f.hasList || !(f.hasCurrentEntry || f.hasShareIndex) || f.training)
        return false;
    if (f.listFamily == kFamilyCash && f.shareSubId != 0)
        return false;
    return !(f.activeKind == kViewDailyChart && (f.chartOptions & 0x0C));
}

bool CompanyPageEnabled(const FrameCommandFacts& f)
{
    return !f.busy && !f.training && f.hasCurrentEntry &&
           !In(f.listFamily, {kFamilyDealings, kFamilyCash, kFamilyNews, kFamilyTrades}) && f.shareId < 0xF000 &&
           (f.activeKind != kViewTransactions || f.hasCurrentShare);
}

bool PriceListEnabled(const FrameCommandFacts& f)
{
    return !f.busy && !f.modal && HasView(f) && !f.training && f.hasCurrentEntry &&
           !In(f.listFamily, {kFamilyTransactions, kFamilyDealings, kFamilyCash, kFamilyNews});
}

// Editing and deleting an imported item: a share list's current record is one, in a view other than
// transactions, details, cash, the ticker and the trade list, out of training.
bool ImportedItemEnabled(const FrameCommandFacts& f)
{
    return f.hasCurrentShare && f.shareId >= 0xF000 && f.listFamily == kFamilyShares && !f.training &&
           !In(f.activeKind, {4, 5, 7, 8, 10});
}

} // namespace

std::optional<FrameCommandState> FrameCommandUpdate(uint32_t command, const FrameCommandFacts& f)
{
    switch (command) {
    // Options, alarms, windows and lists.
    case 21140: case 21111: case 26401: case 26402: return Enabled(!f.training);
    case 21141: case 21142: case 21143: case 21144: case 21145: case 25001: case 21146: case 27128: case 27199:
    case 26056: case 26211:
    case 26213: case 26895: case 26122: case 26275: case 27056:
    case 57668: case 20929: case 20930: case 26121: return Enabled(true);
    case 26400: return ShareAlarmState(f);
    case 21159: return Enabled(HasView(f) && f.activeKind != kViewTicker && !f.training);
    case 21106: return Enabled(In(f.activeKind, {0, 9, 1, 3, 2}) && f.hasList && !f.training);
    case 21117: case 26195: return Enabled(PriceListEnabled(f));
    case 26504: return Enabled(CompanyPageEnabled(f));
    // Share, news, web and tool commands.
    case 26655: case 27213: case 27275: case 27257: case 26265:
    case 26756: case 26757: case 26759: case 26758: case 26776: case 27256: case 27255: case 27064:
    case 27063: case 27276: case 26740: case 27036: case 27039: return Enabled(true);
    // The details page keeps its own notes switch.
    case 26650:
        if (f.activeKind == kViewDetails)
            return std::nullopt;
        return FrameCommandState{true, f.notesVisible, std::nullopt};
    case 26593: return FrameCommandState{true, f.emailSwitch, std::nullopt};
    case 26640: case 27018: case 26705: return NewsState(f);
    case 26706: return Enabled(f.hasCurrentShare);
    case 26701: return Enabled(f.hasCurrentShare || f.hasShareIndex);
    case 26707: return Enabled(f.newsLoaded && HasView(f) && f.newsModified);
    case 26730:
        return Enabled(!f.busy && !f.slideShowRunning && f.entryRangeValid &&
                       In(f.listFamily, {kFamilyShares, kFamilyTicker}));
    case 26741: return Enabled(f.hasWebAddress);
    case 26742: return Enabled(f.hasEmailAddress);
    case 27287: return Enabled(f.hasList && f.listFamily == kFamilyShares);
    case 26198: case 26210: case 26216: return Enabled(!f.busy && !f.training);
    case 26214: case 26217: return Enabled(!f.busy && ImportedItemEnabled(f));
    case 26218: return Enabled(!f.busy && f.importedItems);
    case 26055: return Enabled(!f.busy && !f.training && f.hasCurrentEntry && f.activeKind != 8);
    case 26058: return Enabled(!f.busy && !f.training && f.hasCurrentShare && !In(f.activeKind, {4, 5, 8, 10}));
    case 26201: return Enabled(!f.busy && !f.training && f.hasCurrentEntry && !In(f.activeKind, {4, 5, 8, 10}));
    case 26057: return Enabled(!f.busy && !f.training && f.hasCurrentShare && !In(f.activeKind, {5, 8, 10}));
    // Sector analysis: the share lists, and the transactions of a portfolio with entries.
    case 27282:
        return Enabled(f.hasList && ((f.listFamily == kFamilyShares && In(f.activeKind, {1, 2, 6})) ||
                                     (f.listFamily == kFamilyTransactions && f.listHasPortfolio)));
    case 27130: return Enabled(f.infoCentreReady);
    case 26537: return Enabled(f.userPortfolioExists);
    // Real time.
    case 26806: return FeedConnectState(f);
    case 26807: return Enabled(TradeHistoryEnabled(f));
    // The summary of trades: any view but the cash view (list views answer for themselves).
    case 27200: return Enabled(HasView(f) && f.activeKind != kViewCash && (f.hasCurrentShare || f.activeKind == kViewTradeList));
    case 26894: return Enabled(f.feedState == kFeedConnected && !f.backfillRunning);
    case 27105: return Enabled(f.feedState >= kFeedBackfilling);
    case 26935: return Enabled(!f.recording);
    case 26937: return Enabled(f.purgeAllowed && (f.feedState == kFeedDisconnected || f.feedState == kFeedConnected));
    case 26811: case 27061: case 26810: case 26938: case 26946: case 26947: case 2727: case 26936: return Enabled(true);
    case 26848: return IntradayAlarmState(f);
    case 26849: case 26850: case 26851: case 26904: return Enabled(!f.training);
    default: return std::nullopt;
    }
}

} // namespace qv
