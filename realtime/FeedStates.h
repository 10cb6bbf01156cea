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
constexpr int32_t kFeedConnected = 7;
constexpr int32_t kFeedNoServer = 10;      // "Error - Unable to locate a server."      // the day is complete
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
// Why the last connection ended, when the step alone does not say it: a refusal (steps 11-14), a
// server that could not be reached (10), or one of these. Shown until a connection completes or
// the user connects again.
constexpr int32_t kFeedNoAnswer = 16;
constexpr int32_t kFeedUnreadable = 17;
constexpr int32_t kFeedFlooded = 18;
inline const char* FeedFailureText(int32_t failure)
{
    switch (failure) {
    case kFeedNoAnswer: return "No answer from the intraday server";
    case kFeedUnreadable: return "The intraday server sent data that could not be read";
    case kFeedFlooded: return "The intraday server sent more than the program accepts";
    default: return failure >= 10 && failure < 16 ? kFeedStepTexts[std::size_t(failure)] : "";
    }
}

inline const char* FeedStepText(int32_t step)
{
    return step >= 0 && step < int32_t(kFeedStepTexts.size()) ? kFeedStepTexts[std::size_t(step)] : "";
}

} // namespace qv
