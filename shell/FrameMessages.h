// The main frame's own rules that need no window: the feed status text and icon, what a double-click
// on a status pane asks for, the sizing steps, the window menu of the client area, and the window
// commands (which kind a "new window" command opens, and when each command is enabled).
#pragma once

#include "shell/SoftMenu.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// The frame's private messages.
constexpr uint32_t MSG_RECALC_BARS = 0x442;
constexpr uint32_t MSG_FEED_ICON = 0x44F;
constexpr uint32_t MSG_FEED_STATUS = 0x450;
constexpr uint32_t MSG_CHECK_INTRADAY_HISTORY = 0x451;
constexpr uint32_t MSG_NICKNAME_CHECK = 0x452;
constexpr uint32_t MSG_INCOMING_MESSAGE = 0x453;
constexpr uint32_t MSG_REBUILD_LINE_ALARMS = 0x456;
constexpr uint32_t MSG_DATABASE_CHANGED = 0x457;
constexpr uint32_t MSG_REPAINT_LEVEL_PANE = 0x458;
constexpr uint32_t MSG_ACTIVE_VIEW_WINDOW = 0x459;
constexpr uint32_t MSG_RECALC_BARS_LATER = 0x44A;
constexpr uint32_t kCommandIncomingMessage = 26936;
constexpr uint32_t kCommandStatusBarToggle = 0xE801;

// The status panes of the real-time feed: 4 its state text, 5 its data levels, 6 its icon.
constexpr int kFeedStatusPane = 4;
constexpr int kFeedLevelPane = 5;
constexpr int kFeedIconPane = 6;
constexpr int kFeedIconCount = 10;

// The feed's state as the status text shows it; the feed client fills it in.
struct FeedStatus {
    bool newsFetching = false; // in state 7, news is being fetched
    bool shortStatus = false;  // the short-status option
};
FeedStatus& CurrentFeedStatus();

// The text of pane 4 for the feed state (0-9), exchange index and percent; nothing where the pane
// keeps its text (above state 7 with a negative percent). An exchange outside 0-14 has no word.
std::optional<std::string> FeedStatusText(int32_t state, int32_t exchange, int32_t percent, const FeedStatus& status);
// The icon of the feed icon table pane 6 shows for the message's index.
int32_t FeedIconIndex(uintptr_t index);

// The command a double-click on a status pane posts (real-time option on), 0 for none.
uint32_t StatusPaneDoubleClickCommand(int pane, int32_t feedState);

// Sizing the frame (WM_SIZE): the size kept for the next start, a one-shot skip of storing it, and
// a toolbar re-layout put off until the next size.
struct FrameSizeState {
    int32_t storedWidth = 0, storedHeight = 0;
    bool skipStoreOnce = false;
    bool relayoutPending = false;
};
FrameSizeState& MainFrameSize();
struct FrameSizeSteps {
    bool relayout = false;     // the pending toolbar re-layout runs
    bool showToolbars = false; // the toolbars of the active kind are shown again
    bool stored = false;       // the new size became the stored size
};
constexpr int32_t kMinStoredFrameSide = 100;
// The steps for a new size; the pending re-layout is cleared when it runs (the caller runs it).
FrameSizeSteps PlanFrameSize(FrameSizeState& state, bool suspended, bool minimised, int32_t width, int32_t height);

// The window menu (722) for the client area's context menu: "Restore window" in place of the
// maximise item's text when the active child is maximised; a ticker loses the first two items, the
// kinds 4, 5, 6, 7, 8 and 10 the first.
std::vector<SoftMenuEntry> WindowMenuItems(std::vector<SoftMenuEntry> items, int32_t kind, bool maximised);

// The window commands.
constexpr uint32_t kCommandNewAllList = 26832;
constexpr uint32_t kCommandNewSharesList = 26833;
constexpr uint32_t kCommandNewDailyChart = 26834;
constexpr uint32_t kCommandNewTradeList = 26835;
constexpr uint32_t kCommandNewIntradayChart = 26836;
constexpr uint32_t kCommandNewDetails = 26837;
constexpr uint32_t kCommandNewNews = 26838;
constexpr uint32_t kCommandNewTicker = 26840;
constexpr uint32_t kCommandNewDealings = 26841;
constexpr uint32_t kCommandNewPortfolio = 26842;
constexpr uint32_t kCommandNewTransactions = 26843;
constexpr uint32_t kCommandNewCash = 26844;
constexpr uint32_t kCommandNewChosenPortfolio = 26845;
constexpr uint32_t kCommandNewDataMining = 26880;
constexpr uint32_t kCommandIntradayGraph = 26825;
constexpr uint32_t kCommandIntradayGraphShift = 26826;
constexpr uint32_t kCommandIntradayGraphMenu = 27015;
constexpr uint32_t kCommandCloseWindow = 26829;
constexpr uint32_t kCommandNothing = 26831;
constexpr uint32_t kCommandCloseAllWindows = 26948;
constexpr uint32_t kCommandMaximiseWindow = 26979;
constexpr uint32_t kCommandPostStatusToggle = 26755;
constexpr uint32_t kCommandLinkWindow = 26888;
constexpr uint32_t kCommandUnlinkWindow = 26889;
constexpr uint32_t kCommandCreateCashAccount = 26577;

// A "new window" command: the kind it opens and the list number it passes (-1 none).
struct NewWindowCommand {
    uint32_t command;
    int32_t kind;
    int32_t listNumber;
};
const NewWindowCommand* FindNewWindowCommand(uint32_t command);

// What the window commands' update rules read.
struct WindowCommandFacts {
    bool activeView = false;
    int32_t activeKind = -1;
    bool hasCurrentShare = false;
    bool intradayAvailable = false;
    bool canLink = false;
    bool canUnlink = false;
};
// Whether the frame handles the command here, with its enable and check state.
struct WindowCommandState {
    bool handled = false;
    bool enabled = false;
    std::optional<bool> checked;
};
WindowCommandState WindowCommandUpdate(uint32_t command, const WindowCommandFacts& facts);

} // namespace qv
