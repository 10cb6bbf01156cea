// The feed's engine states and connection steps, one set for the engine, the feed client, the frame's
// commands, the status bar and the DDE server.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qv {

// Engine states (the engine state word).
constexpr int32_t kEngineStopped = 0;
constexpr int32_t kEngineRunning = 1;
constexpr int32_t kEngineStarting = 2;
constexpr int32_t kEngineDisconnecting = 3;
constexpr int32_t kEnginePlayback = 4;
constexpr int32_t kEngineThreadStarting = 5;

// Connection steps: indices into the feed's 16 status texts.
constexpr int32_t kFeedDisconnected = 0;
constexpr int32_t kFeedConnecting = 1;
constexpr int32_t kFeedSetup = 2;
constexpr int32_t kFeedLocating = 3;
constexpr int32_t kFeedConnected = 7;      // the day is complete
constexpr int32_t kFeedBackfilling = 8;    // a catch-up runs; 8 and above count as a backfill
constexpr int32_t kFeedPriorityBackfill = 9;
constexpr int32_t kFeedConnectionLost = 15; // "Error - Unable to maintain connection."
// Steps 11-14: the server refused the log-on (version, account, password, disabled password).
constexpr bool IsFeedRefusal(int32_t step) { return step >= 11 && step <= 14; }

// The connection step's status text, as the connecting and feed-information dialogs show it.
inline constexpr std::array<const char*, 16> kFeedStepTexts{
    "Not connected.",
    "Starting connection.",
    "Initial intraday feed setup.",
    "Locating an intraday server.",
    "Checking your account number.",
    "Checking your password.",
    "Sending the status information.",
    "Success - Connected to Quorvantis Intraday.",
    "Error - Unable to connect.",
    "Error - Unable to setup connection.",
    "Error - Unable to locate a server.",
    "Error - Server does accept this verison.",
    "Error - Unable to logon (account problem).",
    "Error - Unable to logon (password problem).",
    "Error - Unable to logon (password disabled).",
    "Error - Unable to maintain connection.",
};
inline const char* FeedStepText(int32_t step)
{
    return step >= 0 && step < int32_t(kFeedStepTexts.size()) ? kFeedStepTexts[std::size_t(step)] : "";
}

} // namespace qv
