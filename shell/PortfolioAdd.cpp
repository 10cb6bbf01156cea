// Refresh broadcasts over the share lists and adding shares to portfolios.
#include "shell/PortfolioAdd.h"

#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "platform/MessageBox.h"
#include "platform/MessageDispatch.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/UndoRing.h"
#include "resources/MessageIds.h"
#include "shell/ViewGroups.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace qv {

uint32_t AddToPortfolioConfirmOption = 0;

namespace {

PortfolioAddHooks& Hooks()
{
    static PortfolioAddHooks hooks = DefaultPortfolioAddHooks();
    return hooks;
}

bool KindMatches(int32_t wanted, int32_t kind)
{
    if (wanted == -1 || wanted == kind)
        return true;
    return (wanted == kViewList || wanted == kViewPortfolio) && (kind == kViewList || kind == kViewPortfolio);
}

constexpr uint32_t kAnyId = 0xFFFFFFFF;

} // namespace

void InvalidateMatchingViews(ShareList* first, bool thisListOnly, int32_t kind, int32_t setting, uint32_t id,
                             const Portfolio* portfolio)
{
    uint8_t mark = portfolio && portfolio->changed ? 1 : 0;
    for (ShareList* l = first; l; l = thisListOnly ? nullptr : l->next) {
        if (portfolio && l->source != portfolio)
            continue;
        for (CViewBase* v = l->views; v; v = v->nextInList) {
            if (!v->WindowExists() || !v->WindowVisible() || !KindMatches(kind, v->kind))
                continue;
            const ShareList* own = v->list ? v->list : l;
            if (setting != -1 && setting != own->tableSetting)
                continue;
            if (id != kAnyId && id != v->windowId)
                continue;
            if (v->kind == kViewTransactions && portfolio)
                v->reload = mark;
            v->InvalidateWindow();
        }
    }
}

namespace {

bool AsksForRefresh(const ShareList* l)
{
    if (l->family == kFamilyNews)
        return (l->viewState1 & 1) != 0;
    if (l->family == kFamilyDealings)
        return (l->viewState2 & 0x60) == 0x20;
    return false;
}

} // namespace

void PostListViewsRefresh(ShareList* list, bool force)
{
    ShareList* current = CurrentShareList();
    bool sameSource = current && list && current->sourceNumber == list->sourceNumber;
    if (!sameSource || force) {
        for (ShareList* l = ShareListChain(); l; l = l->next) {
            if (!AsksForRefresh(l))
                continue;
            for (CViewBase* v = l->views; v; v = v->nextInList) {
                if (v->secondList)
                    continue;
                PostProgramMessage(*v, WM_COMMAND, ID_REFRESH);
                break;
            }
        }
    }
    CurrentShareList() = list;
}

void RefreshShareLists(ShareList* chain)
{
    for (ShareList* l = chain; l; l = l->next)
        SetShareListSource(l, l->source, 0, 0, false, true);
    SendMessageToViews(ShareListChain(), WM_COMMAND, ID_REFRESH, 0, false, -1, -1);
}

void RefreshListsOfPortfolio(const Portfolio* portfolio)
{
    for (ShareList* l = ShareListChain(); l; l = l->next) {
        if (!l->source || (portfolio && l->source->number != portfolio->number))
            continue;
        SetShareListSource(l, l->source, 0, 0, false, true);
    }
    SendMessageToViews(ShareListChain(), WM_COMMAND, ID_REFRESH, 0, false, -1, -1);
}

void MarkPortfoliosChanged(Portfolio* portfolio)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (!portfolio || PortfolioIncludes(p, portfolio->number))
            p->changed = 1;
    if (portfolio)
        portfolio->changed = 1;
}

std::function<void(const Portfolio*)>& PortfolioChangeListener()
{
    static std::function<void(const Portfolio*)> listener;
    return listener;
}

void NotifyPortfolioChanged(Portfolio* portfolio)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kGroupPortfolio && (!portfolio || PortfolioIncludes(p, portfolio->number)) && Hooks().rebuildGroup)
            Hooks().rebuildGroup(p);
    RefreshListsOfPortfolio(portfolio);
    MarkPortfoliosChanged(portfolio);
    if (const auto& listener = PortfolioChangeListener())
        listener(portfolio);
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, kAnyId, nullptr);
}

bool AskAddToPortfolio(const Portfolio* portfolio, int32_t count)
{
    uint32_t option = AddToPortfolioConfirmOption;
    bool ask = (option & 0x8000) || ((option & 0x4000) && count >= int32_t(option & 0x1FFF));
    if (!ask)
        return true;
    std::string name = PortfolioDisplayName(portfolio);
    char text[400];
    if (count == 1)
        std::snprintf(text, sizeof text, "Do you want to add this share to '%s' portfolio?", name.c_str());
    else
        std::snprintf(text, sizeof text, "Do you want to add these %i shares to '%s' portfolio?", int(count),
                      name.c_str());
    return ShowMessage(text, {}, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

namespace {

constexpr uint32_t kGrowBytes = 64;

bool SameEntry(const RecordCursor& a, const RecordCursor& b)
{
    return a.record == b.record && a.count == b.count;
}

// Entries before the end marker, bounded by the array.
uint32_t CountEntries(const Portfolio& p)
{
    uint32_t slots = PortfolioEntrySlots(p);
    uint32_t n = 0;
    while (p.entries && n < slots && p.entries[n].record)
        ++n;
    return n;
}

bool GrowEntries(Portfolio& p, uint32_t count)
{
    uint32_t slots = PortfolioEntrySlots(p) + kGrowBytes / 8;
    auto* grown = static_cast<RecordCursor*>(ProCalloc(slots, sizeof(RecordCursor), "Portfolio entries"));
    if (!grown)
        return false;
    if (p.entries)
        std::memcpy(static_cast<void*>(grown), p.entries, sizeof(RecordCursor) * count);
    ProFree(p.entries);
    p.entries = grown;
    p.entryBytes = slots * uint32_t(sizeof(RecordCursor));
    return true;
}

void Save(Portfolio* p)
{
    if (Hooks().save)
        Hooks().save(p);
}

} // namespace

int32_t AddPortfolioEntry(Portfolio* p, const RecordCursor& entry, bool save)
{
    if (!p || !entry.record)
        return 0;
    if (!p->entries) {
        p->entryBytes = 0;
        if (!GrowEntries(*p, 0))
            return 0;
        p->current = p->last = p->firstVisible = 0;
    }
    uint32_t n = CountEntries(*p);
    for (uint32_t i = 0; i < n; ++i)
        if (SameEntry(p->entries[i], entry))
            return 0;
    // Counted as the stored 8-byte entries: the entry, its end marker and one more must fit.
    if (n + 2 >= PortfolioEntrySlots(*p) && !GrowEntries(*p, n))
        return 0;
    p->entries[n] = entry;
    p->entries[n + 1] = RecordCursor{};
    p->changed = 1;
    p->last = int32_t(n);
    if (save)
        Save(p);
    return 1;
}

Portfolio*& LastChosenPortfolio()
{
    static Portfolio* last = nullptr;
    return last;
}

PortfolioAddHooks DefaultPortfolioAddHooks()
{
    PortfolioAddHooks hooks;
    hooks.save = [](Portfolio* p) { SavePortfolio(p, false); };
    hooks.prepareUndo = [](const Portfolio* p) { PrepareUndoStep(kUndoChange, p, nullptr); };
    hooks.pushUndo = [](uint32_t kind, Portfolio* p) { PushUndoStep(kind, p); };
    hooks.rebuildGroup = [](Portfolio* group) { RebuildGroupPortfolio(group); };
    return hooks;
}

void SetPortfolioAddHooks(PortfolioAddHooks hooks)
{
    Hooks() = std::move(hooks);
}

bool CanAddToPortfolio(const Portfolio* portfolio)
{
    if (!portfolio)
        return bool(Hooks().newPortfolio);
    if (portfolio->type == kGroupPortfolio)
        return bool(Hooks().chooseMember);
    return true;
}

int32_t AddToListPortfolio(ShareList* list, const RecordCursor& entry, bool save)
{
    if (list && list->source)
        return AddPortfolioEntry(list->source, entry, save) == 1 ? 0 : 1;
    Portfolio* made = Hooks().newPortfolio ? Hooks().newPortfolio("") : nullptr;
    if (!made)
        return 1;
    LastChosenPortfolio() = made;
    if (!list)
        GetShareListForSource(made);
    return AddPortfolioEntry(made, entry, save) == 1 ? 0 : 1;
}

namespace {

bool AddRun(Portfolio* p, const RecordCursor* first, const RecordCursor* last, const char* prompt, bool single)
{
    int32_t n = 1;
    if (!single) {
        n = 0;
        for (const RecordCursor* e = first; e && e <= last && e->record; ++e)
            ++n;
    }
    if (!p) {
        p = Hooks().newPortfolio ? Hooks().newPortfolio(prompt) : nullptr;
        if (!p)
            return false;
        LastChosenPortfolio() = p;
    }
    if (!AskAddToPortfolio(p, n))
        return false;
    if (p->type == kGroupPortfolio) {
        p = Hooks().chooseMember ? Hooks().chooseMember(p) : nullptr;
        if (!p)
            return false;
    }
    if (Hooks().prepareUndo)
        Hooks().prepareUndo(p);
    if (single) {
        if (AddPortfolioEntry(p, *first, true) == 0)
            return false;
    } else {
        for (int32_t i = 0; i < n; ++i)
            AddPortfolioEntry(p, first[i], false);
        Save(p);
    }
    NotifyPortfolioChanged(p);
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, kAnyId, nullptr);
    if (Hooks().pushUndo)
        Hooks().pushUndo(single ? kUndoAddShare : kUndoAddShares, p);
    return true;
}

} // namespace

bool AddShareToPortfolio(Portfolio* portfolio, const RecordCursor& entry, const char* prompt)
{
    return AddRun(portfolio, &entry, &entry, prompt, true);
}

bool AddSharesToPortfolio(Portfolio* portfolio, const RecordCursor* first, const RecordCursor* last,
                          const char* prompt)
{
    if (!first)
        return false;
    return AddRun(portfolio, first, last, prompt, false);
}

} // namespace qv
