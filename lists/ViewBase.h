// The view fields that the share lists read and write; the view classes of the window layer hold
// one of these and fill in the rest of the view.
#pragma once

#include <cstdint>

namespace qv {

struct ShareList;

struct CViewBase {
    int32_t kind = 0;                   // view kind 0-11
    ShareList* list = nullptr;          // its own share list
    ShareList* secondList = nullptr;    // the list it follows, when it follows another
    CViewBase* nextInList = nullptr;    // next view attached to the same list
    uint8_t reload = 0;                 // set when its portfolio changed under it
};

} // namespace qv
