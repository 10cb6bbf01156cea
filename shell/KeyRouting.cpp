// Key rules of the frame.
#include "shell/KeyRouting.h"

#include "core/ShareList.h"
#include "resources/MessageIds.h"
#include "shell/KeyTable.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

namespace qv {
namespace {

constexpr uint32_t kFirstPrintable = 32;

FindShareDialog& ShareDialog()
{
    static FindShareDialog dialog;
    return dialog;
}

FindShareDialog& InvestorDialog()
{
    static FindShareDialog dialog;
    return dialog;
}

bool IsLetterOrDigit(uint32_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool IsFindCharacter(uint32_t c)
{
    return c == 0 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

bool RouteViewKey(uint32_t key, const KeyState& keys, const std::function<bool(uint32_t)>& findShare,
                  const std::function<void(uint32_t)>& postCommand)
{
    uint8_t modifiers = ModifierState(keys);
    bool kept = false;
    if (keys.rightAlt && key > kFirstPrintable && findShare)
        kept = findShare(key);
    if (modifiers == kModBoth)
        return kept;
    if (key < kFirstPrintable)
        return false;
    if (key >= 128)
        key = OemKeyToChar(key);
    if (modifiers == kModNone && IsLetterOrDigit(key))
        return false; // these come again as characters and start the find
    uint16_t command = FindAcceleratorCommand(key, modifiers);
    if (command == 0)
        return false;
    if (postCommand)
        postCommand(command);
    return true;
}

FindSharePlan PlanFindShare(uint32_t character, const KeyState& keys, const CViewBase* view, bool parentLinked)
{
    FindSharePlan plan;
    if (!IsFindCharacter(character))
        return plan;
    // A capital letter is typed with Shift; only Ctrl (without right Alt) makes the key no search key.
    if (!keys.rightAlt && keys.ctrl)
        return plan;
    if (!view || !view->list || view->kind == kViewCash || view->kind == kViewNews)
        return plan;
    plan.seed = !keys.rightAlt;
    if (view->kind == kViewDealings)
        plan.action = FindShareAction::FindInvestor;
    else if (parentLinked)
        plan.action = FindShareAction::Beep;
    else
        plan.action = FindShareAction::FindShare;
    return plan;
}

void SetFindShareDialog(FindShareDialog dialog) { ShareDialog() = std::move(dialog); }
void SetFindInvestorDialog(FindShareDialog dialog) { InvestorDialog() = std::move(dialog); }

bool CarryOutFindShare(CViewBase* view, const FindSharePlan& plan, uint32_t character,
                       const std::function<void()>& beep)
{
    switch (plan.action) {
    case FindShareAction::Refuse: return false;
    case FindShareAction::Beep:
        if (beep)
            beep();
        return true;
    case FindShareAction::FindInvestor:
    case FindShareAction::FindShare: break;
    }
    ShareList* list = view->list;
    const FindShareDialog& dialog = plan.action == FindShareAction::FindInvestor ? InvestorDialog() : ShareDialog();
    std::optional<int32_t> found;
    if (dialog)
        found = dialog(view->GetSourceTitle(false), character, plan.seed, list);
    if (found && plan.action == FindShareAction::FindShare) {
        int32_t before = list->current;
        bool inList = *found >= 0 && *found <= list->last && *found < ShareListCount(list);
        list->current = inList ? *found : 0;
        view->SetResyncCode(HINT_REDO_EVERYTHING);
        view->InvalidateWindow();
        if (list->current != before)
            view->InvalidateLinkedViews(true, false);
        return true;
    }
    view->InvalidateWindow();
    return true;
}

} // namespace qv
