// A developer check for unattended runs with "/RT": waits until the feed has delivered the day so
// far, then reports what the intraday store holds of it and what the DDE server answers for a share.
#pragma once

#include <cstdint>
#include <functional>

namespace qv {

class CMainFrame;

// Polls on the user-interface thread (at most 60 s), prints one "Feed check:" line to standard
// output, then calls done.
void RunFeedCheck(CMainFrame& frame, std::function<void()> done);
// Polls on the user-interface thread (at most 60 s) until the feed is connected and has delivered
// trades, then lets it trade `seconds` more before calling then.
void WaitForTrading(CMainFrame& frame, uint32_t seconds, std::function<void()> then);
// Connects, waits for the connection to drop (the caller drops it at "connected") and come back,
// then disconnects and watches that nothing reconnects; a "Feed check:" line at each stage.
void RunFeedReconnectCheck(CMainFrame& frame, std::function<void()> done);
// Sets a per-share intraday alarm below the first traded share's price and waits for its log line.
void RunFeedAlarmCheck(CMainFrame& frame, std::function<void()> done);

} // namespace qv
