// Portfolio routines over the chain.
#include "portfolio/PortfolioRoutines.h"

#include "core/Memory.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <vector>

namespace qv {
namespace {

std::vector<ShareList*> ListsShowing(const Portfolio* p)
{
    std::vector<ShareList*> lists;
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->source == p)
            lists.push_back(l);
    return lists;
}

void RemoveMember(Portfolio& group, uint16_t number)
{
    for (Link32<PortfolioMember>* link = &group.members; *link;) {
        if ((*link)->numberPlusOne == uint16_t(number + 1)) {
            PortfolioMember* gone = *link;
            *link = gone->next;
            delete gone;
        } else {
            link = &(*link)->next;
        }
    }
}

bool HasEntry(const Portfolio& p, RecordCursor entry)
{
    uint32_t n = CountPortfolioEntries(p);
    for (uint32_t i = 0; i < n; ++i)
        if (p.entries[i].record == entry.record && p.entries[i].count == entry.count)
            return true;
    return false;
}

void CopyMissing(const MissingShare* from, Link32<MissingShare>& to)
{
    for (; from; from = from->next)
        AppendMissingShare(to, from->id, from->second);
}

void EmptyEntries(Portfolio& p)
{
    if (p.entries && p.entryBytes >= sizeof(RecordCursor))
        p.entries[0] = RecordCursor{};
    p.current = p.last = p.firstVisible = 0;
}

} // namespace

PortfolioRoutineHooks& GetPortfolioRoutineHooks()
{
    static PortfolioRoutineHooks hooks;
    return hooks;
}

void ClearPortfolio(Portfolio* p, bool forGood)
{
    if (!p)
        return;
    for (ShareList* l : ListsShowing(p))
        SetShareListSource(l, nullptr, 0, 0, true, false);
    ProFree(p->entries);
    p->entries = nullptr;
    p->entryBytes = 0;
    p->current = p->last = p->firstVisible = 0;
    if (!forGood)
        ResetPortfolioEntries(*p);
    FreeTransactions(p->transactions);
    FreePortfolioMembers(p->members);
    FreeMissingShares(p->missing);
}

void DeletePortfolio(Portfolio* p)
{
    if (!p)
        return;
    UnlinkFromChain(p);
    for (bool interim : {false, true})
        if (auto name = MakePortfolioFileName(p->number, interim))
            ForceDelete(AppPath(*name));
    PortfolioRoutineHooks& hooks = GetPortfolioRoutineHooks();
    if (hooks.replaceShortcuts && PortfolioChain())
        hooks.replaceShortcuts(p->number, PortfolioChain()->number);
    for (Portfolio* g = PortfolioChain(); g; g = g->next)
        RemoveMember(*g, p->number);
    std::vector<ShareList*> lists = ListsShowing(p);
    ClearPortfolio(p, true);
    for (ShareList* l : lists) {
        ShowDefaultPortfolio(l);
        if (hooks.refreshGroup)
            hooks.refreshGroup(l);
    }
    const uint16_t number = p->number;
    FreePortfolio(p);
    if (hooks.portfolioDeleted)
        hooks.portfolioDeleted(number);
}

void ShowDefaultPortfolio(ShareList* list)
{
    if (!list)
        return;
    SetShareListSource(list, nullptr, 0, 0, true, false);
    Portfolio* target = nullptr;
    for (Portfolio* p = PortfolioChain(); p && !target; p = p->next)
        if (p->type == kUserPortfolio || p->type == kGroupPortfolio)
            target = p;
    if (!target && list->family != kFamilyTransactions && PortfolioChain())
        target = PortfolioChain()->next;
    if (target)
        SetShareListSource(list, target, 0, 0, true, false);
}

void CopyPortfolio(Portfolio* destination, const Portfolio* source, uint32_t)
{
    if (!destination || !source || destination == source)
        return;
    ResetPortfolioEntries(*destination);
    uint32_t n = CountPortfolioEntries(*source);
    for (uint32_t i = 0; i < n; ++i)
        AddPortfolioEntry(*destination, source->entries[i]);
    destination->current = n ? std::min(source->current, int32_t(n - 1)) : 0;
    destination->firstVisible = n ? std::min(source->firstVisible, int32_t(n - 1)) : 0;
    FreeMissingShares(destination->missing);
    CopyMissing(source->missing, destination->missing);
    destination->name = source->name;
    destination->flags = source->flags;
    destination->type = source->type;
    destination->changed = 1;
    for (Portfolio* g = PortfolioChain(); g; g = g->next)
        if (g != destination && PortfolioIncludes(g, destination->number))
            RebuildGroupPortfolio(g);
}

namespace {

// The group's transactions are copies of its members', each marked with the member's number.
void CopyMemberTransactions(Portfolio& group)
{
    FreeTransactions(group.transactions);
    for (const PortfolioMember* m = group.members; m; m = m->next) {
        const Portfolio* member = FindPortfolioByNumber(uint16_t(m->numberPlusOne - 1));
        if (!member || member == &group)
            continue;
        for (const Transaction* t = member->transactions; t; t = t->next) {
            if (t->type() == kLatestRowType || t->bytes.size() < TransactionLayout::FixedSize)
                continue;
            auto* copy = new Transaction;
            copy->bytes = t->bytes;
            StoreU16(&copy->bytes[TransactionLayout::MemberPortfolio], member->number);
            InsertSortedByName(group.transactions, copy);
        }
    }
}

} // namespace

void RebuildGroupPortfolio(Portfolio* group)
{
    if (!group || group->type != kGroupPortfolio)
        return;
    ResetPortfolioEntries(*group);
    for (const PortfolioMember* m = group->members; m; m = m->next) {
        const Portfolio* member = FindPortfolioByNumber(uint16_t(m->numberPlusOne - 1));
        if (!member || member == group)
            continue;
        uint32_t n = CountPortfolioEntries(*member);
        for (uint32_t i = 0; i < n; ++i)
            if (!HasEntry(*group, member->entries[i]))
                AddPortfolioEntry(*group, member->entries[i]);
    }
    CopyMemberTransactions(*group);
    group->current = group->firstVisible = 0;
    group->changed = 1;
}

Portfolio* FindPortfolioByNumber(uint16_t number)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->number == number)
            return p;
    return nullptr;
}

int32_t LowestFreePortfolioNumber()
{
    for (int32_t n = 0; n <= kHighestPortfolioNumber; ++n)
        if (!FindPortfolioByNumber(uint16_t(n)))
            return n;
    return -1;
}

void RecountPortfolioEntries()
{
    if (!PortfolioChain())
        return;
    for (Portfolio* p = PortfolioChain()->next; p; p = p->next) {
        int32_t count = int32_t(CountPortfolioEntries(*p));
        if (count == 0) {
            EmptyEntries(*p);
            continue;
        }
        p->last = count - 1;
        if (p->current >= count || p->current < 0)
            p->current = 0;
        if (p->firstVisible >= count || p->firstVisible < 0)
            p->firstVisible = p->current < 5 ? 0 : p->current - 4;
    }
}

} // namespace qv
