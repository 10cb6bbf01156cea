// The feed's engine start and stop, and the feed thread that receives frames (or plays back
// "Demo.dat") and hands them to the decoder.
#pragma once

#include "realtime/feed/FeedFrame.h"
#include "realtime/feed/FeedTransport.h"

#include <functional>

namespace qv {

FeedTransport& TheFeedTransport();

// The most shares a log-on names for a priority catch-up.
constexpr size_t kFeedPriorityShares = 10;

// With the real-time option on: resets the request tables and starts the feed thread, which connects
// (the caller never waits for a server), logs on and, when "Demo.dat" exists, plays it back. True
// once the thread runs; an attempt that fails ends the thread with its reason in the engine's
// failure, and the feedEnded hook tells the user-interface side.
bool StartRTEngine();
// Stops the feed thread: sets the stop event, closes the transport and joins the thread before
// anything of the store may be freed; marks the rest of the day uncovered. True.
bool StopRTEngine();
// After the feed thread ended by itself: the transport is closed and disconnected, the engine state
// and the step go to 0, and, unless the user stopped the feed or the log-on was refused, the next
// attempt follows after its pause (ScheduleRTRetryAfterEnd). False when the feed thread did not end
// within 2.1 s.
bool DisconnectDroppedRTEngine();
bool RTFeedThreadRunning();
// The connection the feed thread had completed its day (step 7) and has not been ended since.
bool RTConnectionCompleted();
// Waits in steps of 100 ms, at most 52, until no frame is being handled, no recording played back and
// no request sent: 0, or -1 on time-out. `sleep` waits the milliseconds given.
constexpr int kActivitySteps = 52, kActivityStepMs = 100;
int WaitFeedActivityEnd(const std::function<void(int ms)>& sleep);
bool FeedActive();
// Asks the server for the days it can backfill (the answer fills TheFeedServerInfo().days), and sends
// the backfill dialog's request record. False when not connected or the send failed.
bool RequestRTBackfillDays();
bool SendRTBackfillRequest(std::span<const uint8_t> record);
// Asks the server to stop the running backfill: its current day, or every day asked for.
bool AbortRTBackfill(bool all);
// Sends the agreement answers the wizard packed (TheAgreementOutbox) while connected, and clears the
// "to send" flag once they went; false when there is nothing to send, no connection or the send failed
// (the answers then wait for the next connection).
bool SendRTAgreement();
// A connection that dropped shows step 15 ("Error - Unable to maintain connection.") and ends the
// feed thread; the user-interface side then ends the engine.

// One frame from the server or the recording, as the feed thread handles it.
void HandleFeedFrame(const FeedFrame& frame);

// "Demo.dat": a run of frames as received. Plays them back, live records paced 32 times faster
// than their record times; returns the frames handled. Stops at the stop event or a bad frame.
size_t PlayBackFeedFrames(std::span<const uint8_t> recording, uint32_t pace, const std::atomic<bool>* stop);

} // namespace qv
