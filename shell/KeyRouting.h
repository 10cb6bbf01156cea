// The frame's key rules: which typed keys become accelerator commands and which open the find-a-
// share search. The window layer reads the keyboard and carries the answers out.
#pragma once

#include "views/KeyState.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qv {

class CViewBase;
struct ShareList;


// Keys typed in views or the empty client area. findShare is tried with right Alt held; the
// accelerator's command is handed to postCommand. True when the key was used.
bool RouteViewKey(uint32_t key, const KeyState& keys, const std::function<bool(uint32_t)>& findShare,
                  const std::function<void(uint32_t)>& postCommand);

enum class FindShareAction {
    Refuse,        // not a find key, or no view to search in: false
    Beep,          // a locked child graph: beep, true
    FindInvestor,  // a dealings view: the find-investor search
    FindShare,     // the find-a-share search
};
struct FindSharePlan {
    FindShareAction action = FindShareAction::Refuse;
    bool seed = false; // the typed character starts the search
};
// view: the active view; parentLinked: it is a graph opened from a list.
FindSharePlan PlanFindShare(uint32_t character, const KeyState& keys, const CViewBase* view, bool parentLinked);

// The search dialogs: given the title, the character, whether to seed with it and the list, the
// index of the entry found, or nothing on Cancel. Without a dialog the search is cancelled.
using FindShareDialog =
    std::function<std::optional<int32_t>(const std::string& title, uint32_t character, bool seed, ShareList* list)>;
void SetFindShareDialog(FindShareDialog dialog);
void SetFindInvestorDialog(FindShareDialog dialog);

// Runs the planned search on the view: the entry found becomes the list's current entry (the first
// when it lies beyond the last), the view redoes everything and repaints, and the other views of
// its group follow when the share changed. beep is called for a locked child graph.
bool CarryOutFindShare(CViewBase* view, const FindSharePlan& plan, uint32_t character,
                       const std::function<void()>& beep);

} // namespace qv
