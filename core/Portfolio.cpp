// The program-wide portfolio chain and the portfolio's entry array.
#include "core/Portfolio.h"

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
            std::memcpy(grown, p.entries.get(), sizeof(RecordCursor) * n);
        ProFree(p.entries);
        p.entries = grown;
        p.entryBytes = slots * uint32_t(sizeof(RecordCursor));
    }
    p.entries[n] = entry;
    p.entries[n + 1] = RecordCursor{};
    p.last = int32_t(n);
}

void FreeMissingShares(Link32<MissingShare>& head)
{
    while (MissingShare* node = head) {
        head = node->next;
        delete node;
    }
}

void FreePortfolioMembers(Link32<PortfolioMember>& head)
{
    while (PortfolioMember* node = head) {
        head = node->next;
        delete node;
    }
}

void AppendMissingShare(Link32<MissingShare>& head, uint16_t id, uint16_t second)
{
    auto* node = new MissingShare{{}, id, second};
    if (!head) {
        head = node;
        return;
    }
    MissingShare* last = head;
    while (last->next)
        last = last->next;
    last->next = node;
}

void AppendToChain(Portfolio* p)
{
    p->next = nullptr;
    if (!PortfolioChain()) {
        PortfolioChain() = p;
        return;
    }
    Portfolio* last = PortfolioChain();
    while (last->next)
        last = last->next;
    last->next = p;
}

bool UnlinkFromChain(Portfolio* p)
{
    if (PortfolioChain() == p) {
        PortfolioChain() = p->next;
        p->next = nullptr;
        return true;
    }
    for (Portfolio* q = PortfolioChain(); q; q = q->next)
        if (q->next == p) {
            q->next = p->next.get();
            p->next = nullptr;
            return true;
        }
    return false;
}

namespace {
const std::string& EmptyName()
{
    static const std::string empty;
    return empty;
}
} // namespace

PortfolioName::PortfolioName(const PortfolioName& other) { *this = std::string_view(other.str()); }

PortfolioName::PortfolioName(PortfolioName&& other) noexcept : text_(other.text_) { other.text_ = nullptr; }

PortfolioName& PortfolioName::operator=(const PortfolioName& other)
{
    if (this != &other)
        *this = std::string_view(other.str());
    return *this;
}

PortfolioName& PortfolioName::operator=(PortfolioName&& other) noexcept
{
    if (this != &other) {
        delete text_.get();
        text_ = other.text_;
        other.text_ = nullptr;
    }
    return *this;
}

PortfolioName::~PortfolioName() { delete text_.get(); }

PortfolioName& PortfolioName::operator=(std::string_view text)
{
    if (std::string* own = text_)
        own->assign(text);
    else
        text_ = new std::string(text);
    return *this;
}

const std::string& PortfolioName::str() const
{
    const std::string* own = text_;
    return own ? *own : EmptyName();
}

} // namespace qv
