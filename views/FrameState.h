// The main frame's state that is not window state: which view commands act on, the program-wide
// busy, deferred and modal flags, and the frame's answers to a close request. The window layer
// holds the frame itself and tells this state what happens.
#pragma once

#include "views/KeyState.h"

#include <cstdint>

namespace qv {

class CViewBase;
class MessageTarget;

struct FrameState {
    CViewBase* activeView = nullptr; // the view commands act on; null when no window is open
    int32_t activeKind = -1;
    int32_t listNumber = -1;         // the active view's list number, or its share's position
    uint32_t windowCounter = 0;      // serial numbers of the child windows
};
FrameState& MainFrameState();

// Program-wide flags.
extern uint8_t BusyFlag;           // windows or layouts are being built
extern uint8_t DeferredFlag;       // a request or a close was put off while busy
extern uint32_t ModalCount;        // a modal loop or long job runs
extern uint8_t SlideShowRunning;
extern uint8_t MainWindowCreated;  // start-up has created the main window

// The main window as a message target, set while it exists.
MessageTarget*& MainFrameTarget();

// The frame's window side that views and the core call.
class FrameHooks {
public:
    virtual ~FrameHooks() = default;
    virtual void RebuildMenuBar() = 0;
    virtual void RefreshToolbars() {}
    virtual bool HandleViewKey(uint32_t key) = 0;
    virtual bool FindShareFromKey(uint32_t character) = 0;
    // The modifier keys held with the key being routed.
    virtual void NoteKeyState(const KeyState&) {}
    virtual void Beep() {}
};
FrameHooks*& MainFrameHooks();

// A view that gains the focus while its frame is active becomes the active view; one that loses it
// makes the frame forget its active view when it was that view (or none).
void NoteViewFocus(CViewBase* view, int32_t listNumber);
void NoteViewFocusLost(CViewBase* view);

enum class CloseDecision {
    Beep,      // a modal operation runs: the close is ignored
    Repost,    // busy: the close is posted again and the deferred flag set
    Close,
};
CloseDecision DecideClose();

// A view request put off while busy comes back as message 0x434 (kind, list number); true when it
// was put off.
bool DeferViewRequestWhileBusy(int32_t kind, int32_t listNumber);

} // namespace qv
