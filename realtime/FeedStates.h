// The feed's engine states and connection steps, one set for the engine, the feed client, the frame's
// commands, the status bar and the DDE server.
#pragma once

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

} // namespace qv
