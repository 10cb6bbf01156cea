// Undo and redo texts, portfolio stepping and reverting.
#include "shell/PortfolioCommands.h"

#include "core/PriceSubRecords.h"
#include "core/ShareList.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "platform/Paths.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/PresetPortfolios.h"
#include "portfolio/UndoRing.h"
#include "resources/MessageIds.h"
#include "shell/UserToolbars.h"
#include "shell/ViewGroups.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace qv {
namespace {

int Wrap(int position)
{
    return (position + UndoRing::kSlots) % UndoRing::kSlots;
}

bool TakesTwoSteps(uint32_t kind)
{
    return kind == kUndoKindKeptA || kind == kUndoKindKeptB;
}

std::string StepText(const char* verb, const UndoSlot& slot, const char* key)
{
    return std::string(verb) + ' ' + UndoOperationName(slot.kind()) + " '" + slot.name + "'\t" + key;
}

std::string Formatted(const char* pattern, const std::string& name)
{
    std::vector<char> text(std::char_traits<char>::length(pattern) + name.size() + 1);
    std::snprintf(text.data(), text.size(), pattern, name.c_str());
    return text.data();
}

Portfolio* Predecessor(const Portfolio* p)
{
    for (Portfolio* q = PortfolioChain(); q; q = q->next)
        if (q->next == p)
            return q;
    return nullptr;
}

void InsertAfter(Portfolio* before, Portfolio* p)
{
    if (!before) {
        p->next = PortfolioChain();
        PortfolioChain() = p;
        return;
    }
    p->next = before->next.get();
    before->next = p;
}

} // namespace

const char* UndoOperationName(uint32_t kind)
{
    switch (kind) {
    case 1: return "new portfolio";
    case 2: return "copy portfolio";
    case 3: return "new cash account";
    case 10: return "add share";
    case 11: return "remove share";
    case 14: return "rename portfolio";
    case 19: return "rename cash account";
    case 21: return "delete portfolio";
    case 23: return "delete cash account";
    default: return "change to";
    }
}

UndoMenuState UndoCommandState(const UndoRing& ring, bool busy)
{
    UndoMenuState state{false, "Undo\tCtrl Z"};
    int done = ring.donePosition();
    int oldest = ring.oldestPosition();
    const UndoSlot& slot = ring.slot(done);
    bool available = oldest != done && (!TakesTwoSteps(slot.kind()) || Wrap(oldest + 1) != done);
    if (!available)
        return state;
    state.text = StepText("Undo", slot, "Ctrl Z");
    state.enabled = !busy;
    return state;
}

UndoMenuState RedoCommandState(const UndoRing& ring)
{
    UndoMenuState state{false, "Redo\tCtrl Y"};
    if (ring.writePosition() == ring.donePosition())
        return state;
    state.text = StepText("Redo", ring.slot(Wrap(ring.donePosition() + 1)), "Ctrl Y");
    state.enabled = true;
    return state;
}

int UndoRepeats(const UndoRing& ring)
{
    return TakesTwoSteps(ring.slot(ring.donePosition()).kind()) ? 2 : 1;
}

bool PortfolioInChain(const Portfolio* p)
{
    for (Portfolio* q = PortfolioChain(); q; q = q->next)
        if (q == p)
            return true;
    return false;
}

bool UserPortfolioExists()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio || p->type == kGroupPortfolio)
            return true;
    return false;
}

Portfolio* QuickPortfolio(uint32_t command)
{
    if (command < kCommandFirstQuickPortfolio || command > kCommandLastQuickPortfolio)
        return nullptr;
    uint32_t number = ProgramToolbars().portfolioTargets[command - kCommandFirstQuickPortfolio];
    return number ? FindPortfolioByNumber(uint16_t(number)) : nullptr;
}

Portfolio* NextPortfolio(const Portfolio* p)
{
    return p ? p->next.get() : nullptr;
}

Portfolio* PreviousPortfolio(const Portfolio* p)
{
    Portfolio* before = p ? Predecessor(p) : nullptr;
    if (before && before == PortfolioChain() && before->type == kFilterPreset)
        return nullptr;
    return before;
}

void RefreshPortfolioLists(uint16_t number)
{
    for (ShareList* list = ShareListChain(); list; list = list->next)
        if (list->source && list->source->number == number)
            SetShareListSource(list, list->source, list->currentId, list->currentSub, true, true);
    ForEachView([](CViewBase* view) {
        if (view->kind == kViewTicker)
            SendProgramMessage(*view, WM_COMMAND, ID_REFRESH);
    });
}

void RefillHighsAndLows()
{
    RecomputeAllPeriodExtremes();
    ViewGroupsSettingsChanged(2);
    if (Portfolio* lows = FindPortfolioByNumber(kNewLowsNumber)) {
        ResetPortfolioEntries(*lows);
        FillNewLows(lows);
        RefreshPortfolioLists(kNewLowsNumber);
    }
    if (Portfolio* highs = FindPortfolioByNumber(kNewHighsNumber)) {
        ResetPortfolioEntries(*highs);
        FillNewHighs(highs);
        RefreshPortfolioLists(kNewHighsNumber);
    }
}

Portfolio* RevertPortfolioToSaved(Portfolio* p)
{
    if (!p)
        return nullptr;
    std::optional<std::string> saved = MakePortfolioFileName(p->number, false);
    std::optional<std::string> interim = MakePortfolioFileName(p->number, true);
    // The interim copy is the only one with the latest changes; it may go only once the saved file
    // that replaces it is known to exist.
    if (!saved || !std::filesystem::exists(AppPath(*saved))) {
        ShowMessage(Formatted(kRevertNoSavedFile, p->name.str()), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return nullptr;
    }
    if (std::filesystem::exists(AppPath(*interim)))
        ForceDelete(AppPath(*interim));
    Portfolio* before = Predecessor(p);
    UnlinkFromChain(p);
    Portfolio* fresh = LoadPortfolio(p->number, false, 0, 1);
    if (!fresh) {
        InsertAfter(before, p);
        return nullptr;
    }
    UnlinkFromChain(fresh);
    InsertAfter(before, fresh);
    for (ShareList* list = ShareListChain(); list; list = list->next)
        if (list->source == p)
            SetShareListSource(list, fresh, list->currentId, list->currentSub, true, true);
    // A group holds its members' entries, which may point at records the old copy owns: the groups
    // that include it take the fresh copy's before the old one goes.
    for (Portfolio* group = PortfolioChain(); group; group = group->next) {
        if (group == fresh || !PortfolioIncludes(group, fresh->number))
            continue;
        RebuildGroupPortfolio(group);
        for (ShareList* list = ShareListChain(); list; list = list->next)
            if (list->source == group)
                SetShareListSource(list, group, list->currentId, list->currentSub, true, true);
    }
    FreePortfolio(p);
    return fresh;
}

} // namespace qv
