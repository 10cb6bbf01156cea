// Main-frame state and the program-wide busy, deferred and modal flags.
#include "views/FrameState.h"

#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "views/ViewBase.h"

namespace qv {

uint8_t BusyFlag = 0;
uint8_t DeferredFlag = 0;
uint32_t ModalCount = 0;
uint8_t SlideShowRunning = 0;
uint8_t MainWindowCreated = 0;

FrameState& MainFrameState()
{
    static FrameState state;
    return state;
}

MessageTarget*& MainFrameTarget()
{
    static MessageTarget* target = nullptr;
    return target;
}

FrameHooks*& MainFrameHooks()
{
    static FrameHooks* hooks = nullptr;
    return hooks;
}

void NoteViewFocus(CViewBase* view, int32_t listNumber)
{
    FrameState& frame = MainFrameState();
    frame.activeView = view;
    frame.activeKind = view ? view->kind : -1;
    frame.listNumber = listNumber;
}

void NoteViewFocusLost(CViewBase* view)
{
    FrameState& frame = MainFrameState();
    if (frame.activeView && frame.activeView != view)
        return;
    frame.activeView = nullptr;
    frame.activeKind = -1;
    frame.listNumber = -1;
}

CloseDecision DecideClose()
{
    if (ModalCount != 0)
        return CloseDecision::Beep;
    if (BusyFlag) {
        DeferredFlag = 1;
        if (MessageTarget* frame = MainFrameTarget())
            PostProgramMessage(*frame, WM_CLOSE);
        return CloseDecision::Repost;
    }
    return CloseDecision::Close;
}

bool DeferViewRequestWhileBusy(int32_t kind, int32_t listNumber)
{
    if (!BusyFlag)
        return false;
    DeferredFlag = 1;
    if (MessageTarget* frame = MainFrameTarget())
        PostProgramMessage(*frame, MSG_VIEW_REQUEST_DEFERRED, uintptr_t(uint32_t(kind)), intptr_t(listNumber));
    return true;
}

} // namespace qv
