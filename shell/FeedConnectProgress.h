// What the connecting dialog shows of a connection step, and how long it stays up when closed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

constexpr uint32_t kFeedConnectMinimumMs = 3000; // the dialog stays up at least this long

struct FeedConnectView {
    int32_t position = 0; // the progress bar's, 0-7
    std::string text;
};

// Steps below 0 show as 0 and above 7 as 7 (8 and 9, a catch-up, mean connected); the errors 10-15
// keep their own text, so a refusal never reads as a success.
// While not connected (steps 0-3), a failure of the last connection (FeedFailureText) shows in
// place of the step's text, so the reason stays in view until the user closes the dialog.
FeedConnectView FeedConnectStepView(int32_t step, int32_t failure = 0);
// The status pane's text in place of the step's, when the last connection ended with a failure.
std::optional<std::string> FeedFailurePaneText(int32_t step, int32_t failure);

// Closing: the time the dialog must still stay up (0: close now), after `elapsedMs` open.
uint32_t FeedConnectCloseWaitMs(uint32_t elapsedMs);

} // namespace qv
