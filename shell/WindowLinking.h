// Linking windows: a view joins another view group, the rules that enable linking and unlinking,
// the names and texts of the "Choose how to link windows" dialog, and the lines of the "Link
// window" chooser.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class CViewBase;
struct ShareList;

// A view kind's link-group bit (1 -> 1, 2 -> 2, 4 -> 8, 6 -> 4, any other kind 0), and the kinds
// that would forbid a link with it (none for any kind).
uint32_t GetViewKindLinkFlag(int32_t kind);
uint32_t GetViewLinkConflictMask(int32_t kind);
// The combined conflict masks of a group's views.
uint32_t GroupLinkConflictMask(const ShareList* group);

// The group a view follows: its linked list, else its own.
ShareList* ViewGroupOf(const CViewBase* view);
int32_t GroupViewCount(const ShareList* group);

// Moves the view into the target group at the position: the target becomes its own list when the
// families match (the target's built-for marker takes the position), else its own list takes the
// target's source; a dealings view marks its list; the view goes to the head of the target's chain.
void LinkViewToGroup(CViewBase* view, ShareList* target, int32_t position);

// The update rules of "Link window" (26888) and "Unlink window" (26889).
bool CanLinkWindow(const CViewBase* active);
bool CanUnlinkWindow(const CViewBase* active);

// The frame's title while a child window is maximised: the multiple-document area writes it as
// "FRAME - [CHILD]", and a child's title starting with the frame's own ("FRAME - rest") loses that
// start, so the program's name is not said twice. Any other title is answered unchanged.
std::string MaximisedFrameTitle(const std::string& title);

// A window's name from its title: the title up to its first "-", less the character just before
// it, in double quotes (two double quotes for a title without "-"). A title that starts with the
// program's name and " - " is read with that part moved to its end.
std::string WindowNameFromTitle(const std::string& title);
// The view whose name a group goes by: the last view other than the active one, or the first list
// view (kind 1) met. Null for a group with no other view.
const CViewBase* GroupNamingView(const ShareList* group, const CViewBase* active);

// " and %i other window(s)" for n above 0, else empty.
std::string OthersClause(int32_t n);
struct LinkDialogTexts {
    std::string situation;  // 2955
    std::string breakLink;  // 2953
    std::string linkTogether; // 2954
};
LinkDialogTexts MakeLinkDialogTexts(const std::string& activeName, const std::string& sourceName,
                                    const std::string& targetName, int32_t sourceCount, int32_t targetCount,
                                    bool conflict);

// The lines of the "Link window" chooser: every share list other than the active view's groups
// with views, whose first view is not a data-mining view, in chain order.
struct LinkCandidate {
    ShareList* list = nullptr;
    std::string line;
};
using ViewTitleFn = std::string (*)(const CViewBase* view);
std::vector<LinkCandidate> LinkWindowCandidates(const CViewBase* active, ViewTitleFn title);

} // namespace qv
