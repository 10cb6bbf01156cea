// Linking windows.
#include "shell/WindowLinking.h"

#include "core/ShareList.h"
#include "core/StringPrintf.h"
#include "shell/LayoutStateHooks.h"
#include "shell/ViewGroups.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <cstdlib>

namespace qv {
namespace {

constexpr uint8_t kDealingsLinkedMark = 0x40;

bool IsTableKind(int32_t kind)
{
    return kind == kViewList || kind == kViewPortfolio || kind == kViewTransactions || kind == kViewDataMining ||
           kind == kViewCash || kind == kViewNews;
}

bool InChain(const ShareList* list, const CViewBase* view)
{
    for (const CViewBase* v = list->views; v; v = v->nextInList)
        if (v == view)
            return true;
    return false;
}

} // namespace

uint32_t GetViewKindLinkFlag(int32_t kind)
{
    switch (kind) {
    case kViewList: return 1;
    case kViewPortfolio: return 2;
    case kViewTransactions: return 8;
    case kViewDataMining: return 4;
    default: return 0;
    }
}

uint32_t GetViewLinkConflictMask(int32_t) { return 0; }

uint32_t GroupLinkConflictMask(const ShareList* group)
{
    uint32_t mask = 0;
    for (const CViewBase* v = group ? group->views : nullptr; v; v = v->nextInList)
        mask |= GetViewLinkConflictMask(v->kind);
    return mask;
}

ShareList* ViewGroupOf(const CViewBase* view)
{
    if (!view)
        return nullptr;
    return view->secondList ? view->secondList : view->list;
}

int32_t GroupViewCount(const ShareList* group)
{
    int32_t n = 0;
    for (const CViewBase* v = group ? group->views : nullptr; v; v = v->nextInList)
        ++n;
    return n;
}

void LinkViewToGroup(CViewBase* view, ShareList* target, int32_t position)
{
    UnlinkViewFromLists(view);
    bool sameFamily = view->list && view->list->family == target->family;
    bool conflict = (GetViewLinkConflictMask(view->kind) & GroupLinkConflictMask(target)) != 0;
    if (!view->list || (sameFamily && !conflict)) {
        view->list = target;
        view->secondList = nullptr;
        ViewGroupFields fields = GetViewGroupFields(target);
        fields.builtFor = position;
        SetViewGroupFields(target, fields);
    } else {
        view->secondList = target;
        SetShareListSource(view->list, target->source, 0, 0, false, false);
    }
    if (view->kind == kViewDealings && view->list)
        view->list->viewState2 |= kDealingsLinkedMark;
    if (!InChain(target, view)) {
        view->nextInList = target->views;
        target->views = view;
    }
}

bool CanLinkWindow(const CViewBase* active)
{
    if (!active || active->kind == kViewTicker)
        return false;
    if (active->kind == kViewDailyChart && (ChartOptionOf(*active) || active->GraphTrainingMode()))
        return false;
    const ShareList* own = active->list;
    const ShareList* linked = active->secondList;
    for (ShareList* l = ShareListChain(); l; l = l->next) {
        if (l == own || l == linked)
            continue;
        for (const CViewBase* v = l->views; v; v = v->nextInList) {
            bool linkedToActive = (own && (v->list == own || v->secondList == own)) ||
                                  (linked && (v->list == linked || v->secondList == linked));
            if (v->kind != kViewTicker && !linkedToActive)
                return true;
        }
    }
    return false;
}

bool CanUnlinkWindow(const CViewBase* active)
{
    return active && active->kind != kViewTicker && GroupViewCount(ViewGroupOf(active)) > 1;
}

std::string MaximisedFrameTitle(const std::string& title)
{
    const size_t open = title.find(" - [");
    if (open == std::string::npos || open == 0 || title.empty() || title.back() != ']')
        return title;
    const std::string frame = title.substr(0, open);
    const std::string inner = title.substr(open + 4, title.size() - open - 5);
    const std::string repeated = frame + " - ";
    if (inner.rfind(repeated, 0) != 0)
        return title;
    return frame + " - [" + inner.substr(repeated.size()) + "]";
}

std::string WindowNameFromTitle(const std::string& title)
{
    std::string text = title;
    std::string prefix = ApplicationTitle() + " - ";
    if (text.rfind(prefix, 0) == 0)
        text = text.substr(prefix.size()) + " - " + ApplicationTitle();
    size_t dash = text.find('-');
    std::string name(1, '"');
    if (dash != std::string::npos && dash > 0)
        name.append(text, 0, dash - 1);
    name.push_back('"');
    return name;
}

const CViewBase* GroupNamingView(const ShareList* group, const CViewBase* active)
{
    const CViewBase* named = nullptr;
    for (const CViewBase* v = group ? group->views : nullptr; v; v = v->nextInList) {
        if (v == active)
            continue;
        named = v;
        if (v->kind == kViewList)
            break;
    }
    return named;
}

std::string OthersClause(int32_t n)
{
    if (n <= 0)
        return {};
    return StringPrintf(n > 1 ? " and %i other windows" : " and %i other window", n);
}

LinkDialogTexts MakeLinkDialogTexts(const std::string& activeName, const std::string& sourceName,
                                    const std::string& targetName, int32_t sourceCount, int32_t targetCount,
                                    bool conflict)
{
    LinkDialogTexts t;
    t.situation = "The selected window " + activeName + " is currently linked to " + sourceName +
                  OthersClause(sourceCount - 2) +
                  (conflict ? ".\nIt is not possible to keep this link as this would create a conflict.  Click on "
                              "the break link button to continue or Cancel."
                            : ".\nYou have two choices.  Click on one of the buttons at the bottom or Cancel.");
    t.breakLink = "Press below to break that link and connect the selected window " + activeName +
                  " to the target window " + targetName + OthersClause(targetCount - 1) + ".";
    t.linkTogether = "Press below to keep that link and to connect the window " + targetName + " to " + activeName +
                     OthersClause(sourceCount + targetCount - 2) + ".";
    return t;
}

std::vector<LinkCandidate> LinkWindowCandidates(const CViewBase* active, ViewTitleFn title)
{
    std::vector<LinkCandidate> lines;
    const ShareList* own = active ? active->list : nullptr;
    const ShareList* linked = active ? active->secondList : nullptr;
    for (ShareList* l = ShareListChain(); l; l = l->next) {
        if (l == own || l == linked || !l->views || l->views->kind == kViewDataMining)
            continue;
        const CViewBase* named = nullptr;
        for (const CViewBase* v = l->views; v; v = v->nextInList)
            if (IsTableKind(v->kind))
                named = v;
        if (!named)
            named = l->views;
        std::string name = WindowNameFromTitle(title(named));
        int32_t others = GroupViewCount(l) - 1;
        std::string line = StringPrintf("View %02d - %s", l->number + 1, name.c_str());
        if (others > 0)
            line += StringPrintf(others > 1 ? " and %d other windows" : " and %d other window", others);
        lines.push_back({l, line});
    }
    return lines;
}

} // namespace qv
