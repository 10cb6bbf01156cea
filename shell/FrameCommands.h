// Commands posted to the main frame from anywhere, the timer queue's worker included, and the watch
// that tells the frame when the mouse capture has ended.
#pragma once

#include <cstdint>

namespace qv {

class MessageTarget;

inline constexpr uint32_t kCaptureEndedCommand = 26936;
inline constexpr uint32_t kCaptureWatchIntervalMs = 100;

// The main frame registers itself while it exists (null when it goes); commands posted without a
// frame are dropped.
void SetFrameCommandTarget(const MessageTarget* frame);
// Posts WM_COMMAND with the command to the frame; safe from any thread.
void PostCommandToFrame(uint32_t command);

// The window layer notes when it takes and releases the mouse capture.
void NoteMouseCapture(bool held);
bool MouseCaptureHeld();
// Adds the timer entry that looks once per tick whether the capture has ended; when it has, the
// entry removes itself and posts the capture-ended command to the frame.
void WatchForCaptureEnd();

} // namespace qv
