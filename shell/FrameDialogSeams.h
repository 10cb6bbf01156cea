// The dialogs and services of other subsystems that the frame's commands run, installed by those
// subsystems when they exist. A command whose dialog is not installed stays greyed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

struct Portfolio;
struct CashAccount;
struct ShareList;
struct RecordCursor;

struct FrameDialogSeams {
    // A new trading day began in the intraday feed: what hangs on it (the automatic purge and the
    // purge reminder) runs.
    std::function<void()> newTradingDay;
    // Closes the feed information sheet when it is open (the feed's disconnect).
    std::function<void()> closeFeedInfo;
    // The options sheet with the pages of the mask; true on OK.
    std::function<bool(uint16_t pageMask)> optionsSheet;
    // The same sheet opened for a portfolio's own window: its portfolio page leaves out the warning on
    // adding shares, which belongs to the lists the shares are added from.
    std::function<bool(uint16_t pageMask)> portfolioViewOptionsSheet;
    // The portfolio chooser in a mode (0 select, 1 delete, 2 add a graph, 3 copy, 4 combine, 5 revert,
    // 6 select, 7 copy to, 8 move to, 9 pick); the chosen portfolio, null on Cancel. In mode 0 it may
    // clear deleteFlag (the user chose to open rather than delete).
    std::function<Portfolio*(int mode, bool& deleteFlag)> portfolioChooser;
    // A new portfolio, asking for its name; null when cancelled.
    std::function<Portfolio*()> newPortfolio;
    std::function<Portfolio*()> newGroupPortfolio;
    // Asks a new name for the portfolio; true when it was renamed.
    std::function<bool(Portfolio*)> askPortfolioName;
    // The cash-account chooser in a mode (0 choose, offering a new account; 1 delete); null on Cancel.
    std::function<CashAccount*(int mode)> cashAccountChooser;
    // The slide-show dialog offered the delay in seconds and the loop option; true on OK.
    std::function<bool(double& seconds, bool& loop)> slideShowDialog;
    // The program's calculator, given its mode setting (below 128), which it may change.
    std::function<void(uint8_t& mode)> calculator;
    // The high/low settings dialog; true when either period changed.
    std::function<bool()> highLowSettings;
    // The share's text in a list column (113 web address, 114 e-mail address); empty for none.
    std::function<std::string(const RecordCursor& share, int column)> shareColumnText;
    // The real-time messaging service: whether a message waits to be announced (the service exists
    // and its status asks for it, or the newest message is unseen), the alert (true when the user
    // asks to read) and the nickname another user already has.
    std::function<bool()> messageWaiting;
    std::function<bool()> messageAlert;
    std::function<std::string()> nicknameInUse;
    // Starts the feed connection (true when the engine started) and stops it.
    std::function<bool()> startFeed;
    std::function<void()> stopFeed;
    std::function<void()> scheduleReconnect; // the reconnect command: a connection attempt after 1 s
    // The news database: loaded, and holding search texts the user changed.
    std::function<bool()> newsLoaded;
    std::function<bool()> newsModified;
};
FrameDialogSeams& FrameDialogs();

// A dialog of another subsystem that a command runs as it stands (alarms, print settings, news,
// InfoCentre, price list, real-time dialogs ...); true when it ended with OK. Empty: uninstalled.
using CommandDialog = std::function<bool()>;
void SetCommandDialog(uint32_t command, CommandDialog dialog);
const CommandDialog* FindCommandDialog(uint32_t command);

// Opens a web address, a "mailto:" address or a file in the desktop's program for it; "calculator"
// starts the desktop's calculator. Replaceable so that runs without a desktop record what they ask.
using ExternalOpener = std::function<bool(const std::string& target)>;
ExternalOpener SetExternalOpener(ExternalOpener opener);
bool OpenExternal(const std::string& target);
inline constexpr const char* kDesktopCalculator = "calculator";

// The feed client's connection state, 0 until the real-time subsystem installs its client.
using FeedStateQuery = std::function<int32_t()>;
void SetFeedStateQuery(FeedStateQuery query);
int32_t FeedConnectionState();

} // namespace qv
