// The program-wide portfolio chain and the portfolio's entry array.
#include "portfolio/Portfolio.h"

#include "core/Memory.h"

#include <cstring>

namespace qv {

Portfolio*& PortfolioChain()
{
    static Portfolio* head = nullptr;
    return head;
}

uint32_t CountPortfolioEntries(const Portfolio& p)
{
    uint32_t slots = PortfolioEntrySlots(p);
    uint32_t n = 0;
    while (p.entries && n < slots && p.entries[n].record)
        ++n;
    return n;
}

void ResetPortfolioEntries(Portfolio& p)
{
    ProFree(p.entries);
    p.entries = static_cast<RecordCursor*>(ProCalloc(kEntrySlotsStep, sizeof(RecordCursor), "Portfolio entries"));
    p.entryBytes = kEntrySlotsStep * uint32_t(sizeof(RecordCursor));
    p.current = p.last = p.firstVisible = 0;
}

void AddPortfolioEntry(Portfolio& p, RecordCursor entry)
{
    uint32_t n = CountPortfolioEntries(p);
    if (n + 1 >= PortfolioEntrySlots(p)) {
        uint32_t slots = PortfolioEntrySlots(p) + kEntrySlotsStep;
        auto* grown = static_cast<RecordCursor*>(ProCalloc(slots, sizeof(RecordCursor), "Portfolio entries"));
        if (p.entries)
            std::memcpy(grown, p.entries, sizeof(RecordCursor) * n);
        ProFree(p.entries);
        p.entries = grown;
        p.entryBytes = slots * uint32_t(sizeof(RecordCursor));
    }
    p.entries[n] = entry;
    p.entries[n + 1] = RecordCursor{};
    p.last = int32_t(n);
}

void FreeMissingShares(MissingShare*& head)
{
    while (MissingShare* node = head) {
        head = node->next;
        delete node;
    }
}

void FreePortfolioMembers(PortfolioMember*& head)
{
    while (PortfolioMember* node = head) {
        head = node->next;
        delete node;
    }
}

} // namespace qv
