// The main frame's rules for its own messages and window commands.
#include "shell/FrameMessages.h"

#include "core/StringPrintf.h"
#include "views/ViewKinds.h"

#include <array>

namespace qv {
namespace {

constexpr std::array<const char*, 10> kFeedStateTexts{"Disconnected", "Connecting", "Connecting", "Server",
                                                     "Account",      "Password",   "Status",     "Connected",
                                                     "Backfilling",  "Backfilling"};
constexpr std::array<const char*, 15> kExchangeWords{"LSE", "NYSE", "AMEX", "NAS", "NAS", "DOW", "SP",  "ENXTI",
                                                    "GER", "FX",   "MAD",  "MIL", "SWS", "STK", "WRLD"};
constexpr int32_t kConnectedState = 7;
constexpr int32_t kBackfillingState = 8;
constexpr uint32_t kCommandFeedLevels = 27061;
constexpr uint32_t kCommandBackfill = 26894;
constexpr uint32_t kCommandReviewBackfill = 27105;

constexpr NewWindowCommand kNewWindowCommands[] = {
    {kCommandNewAllList, kViewList, 0},
    {kCommandNewSharesList, kViewList, 1},
    {kCommandNewDailyChart, kViewDailyChart, 1},
    {kCommandNewIntradayChart, kViewIntradayChart, 1},
    {kCommandNewDataMining, kViewDataMining, 1},
    {kCommandNewTicker, kViewTicker, -1},
    {kCommandNewNews, kViewNews, -1},
    {kCommandNewPortfolio, kViewPortfolio, -1},
    {kCommandNewDetails, kViewDetails, 1},
    {kCommandNewCash, kViewCash, -1},
    {kCommandNewTradeList, kViewTradeList, -1},
    {kCommandNewDealings, kViewDealings, -1},
    {kCommandNewTransactions, kViewTransactions, -1},
    {kCommandNewChosenPortfolio, kViewPortfolio, -1},
};

} // namespace

FeedStatus& CurrentFeedStatus()
{
    static FeedStatus status;
    return status;
}

std::optional<std::string> FeedStatusText(int32_t state, int32_t exchange, int32_t percent, const FeedStatus& status)
{
    if (state < 0 || state >= int32_t(kFeedStateTexts.size()))
        return std::nullopt;
    const char* word = exchange >= 0 && exchange < int32_t(kExchangeWords.size()) ? kExchangeWords[size_t(exchange)] : "";
    if (state == kConnectedState && status.newsFetching) {
        state = kBackfillingState;
        word = "news";
    }
    if (state > kConnectedState && percent < 0)
        return std::nullopt;
    if (status.shortStatus)
        return StringPrintf("Backfill %s %2d%c", word, percent, '%');
    return StringPrintf("%s %s %2d%c", kFeedStateTexts[size_t(state)], word, percent, '%');
}

int32_t FeedIconIndex(uintptr_t index) { return index < uintptr_t(kFeedIconCount) ? int32_t(index) : 0; }

uint32_t StatusPaneDoubleClickCommand(int pane, int32_t feedState)
{
    if (pane == kFeedLevelPane)
        return kCommandFeedLevels;
    if (pane != kFeedStatusPane)
        return 0;
    if (feedState == kConnectedState)
        return kCommandBackfill;
    return feedState >= kBackfillingState ? kCommandReviewBackfill : 0;
}

FrameSizeState& MainFrameSize()
{
    static FrameSizeState state;
    return state;
}

FrameSizeSteps PlanFrameSize(FrameSizeState& state, bool suspended, bool minimised, int32_t width, int32_t height)
{
    FrameSizeSteps steps;
    bool keep = suspended || minimised || width <= kMinStoredFrameSide || height <= kMinStoredFrameSide ||
                (width == state.storedWidth && height == state.storedHeight);
    if (keep || state.relayoutPending) {
        steps.relayout = state.relayoutPending;
        state.relayoutPending = false;
        return steps;
    }
    steps.showToolbars = true;
    if (!state.skipStoreOnce) {
        state.storedWidth = width;
        state.storedHeight = height;
        steps.stored = true;
    }
    state.skipStoreOnce = false;
    return steps;
}

std::vector<SoftMenuEntry> WindowMenuItems(std::vector<SoftMenuEntry> items, int32_t kind, bool maximised)
{
    if (maximised)
        for (SoftMenuEntry& e : items)
            if (e.command == kCommandMaximiseWindow)
                e.text = "Restore window";
    size_t drop = 0;
    if (kind == kViewTicker)
        drop = 2;
    else if (kind == kViewTransactions || kind == kViewDealings || kind == kViewDataMining || kind == kViewCash ||
             kind == kViewNews || kind == kViewTradeList)
        drop = 1;
    items.erase(items.begin(), items.begin() + std::ptrdiff_t(std::min(drop, items.size())));
    return items;
}

const NewWindowCommand* FindNewWindowCommand(uint32_t command)
{
    for (const NewWindowCommand& c : kNewWindowCommands)
        if (c.command == command)
            return &c;
    return nullptr;
}

WindowCommandState WindowCommandUpdate(uint32_t command, const WindowCommandFacts& f)
{
    WindowCommandState s;
    s.handled = true;
    s.enabled = true;
    switch (command) {
    case kCommandIntradayGraph:
    case kCommandIntradayGraphShift:
    case kCommandIntradayGraphMenu:
        s.checked = f.activeKind == kViewIntradayChart && f.hasCurrentShare;
        if (command == kCommandIntradayGraphMenu)
            s.enabled = f.intradayAvailable;
        return s;
    case kCommandCloseWindow: s.enabled = f.activeView; return s;
    case kCommandMaximiseWindow: s.enabled = f.activeKind != kViewTicker; return s;
    case kCommandLinkWindow: s.enabled = f.canLink; return s;
    case kCommandUnlinkWindow: s.enabled = f.canUnlink; return s;
    case kCommandNothing:
    case kCommandCloseAllWindows:
    case kCommandPostStatusToggle: return s;
    default: break;
    }
    if (command >= 26974 && command <= 26977) {
        s.enabled = f.activeView;
        return s;
    }
    s.handled = FindNewWindowCommand(command) != nullptr;
    return s;
}

} // namespace qv
