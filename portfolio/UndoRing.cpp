// The undo ring: slots, positions and the appliers for portfolios and cash accounts.
#include "portfolio/UndoRing.h"

#include "core/CashAccounts.h"
#include "core/Memory.h"
#include "core/ShareList.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"

#include <algorithm>
#include <utility>

namespace qv {
namespace {

constexpr const char* kNoPortfolioName = "Portfolio";
constexpr const char* kNoAccountName = "Cash account";

// A copy of the portfolio's share list: entries, missing shares, name, flags, type, positions.
std::unique_ptr<Portfolio> Snapshot(const Portfolio& p)
{
    auto copy = std::make_unique<Portfolio>();
    copy->number = p.number;
    copy->name = p.name;
    copy->flags = p.flags;
    copy->type = p.type;
    ResetPortfolioEntries(*copy);
    for (uint32_t i = 0; i < CountPortfolioEntries(p); ++i)
        AddPortfolioEntry(*copy, p.entries[i]);
    copy->current = p.current;
    copy->firstVisible = p.firstVisible;
    for (const MissingShare* m = p.missing; m; m = m->next)
        AppendMissingShare(copy->missing, m->id, m->second);
    return copy;
}

void FreeSnapshot(std::unique_ptr<Portfolio>& p)
{
    if (!p)
        return;
    ProFree(p->entries);
    p->entries = nullptr;
    FreeMissingShares(p->missing);
    p.reset();
}

CashAccount* CopyAccount(const CashAccount& a)
{
    auto* copy = new CashAccount;
    CopyCashAccount(*copy, a, false);
    copy->number = a.number;
    return copy;
}

void FreeAccountCopy(CashAccount*& a)
{
    if (!a)
        return;
    ProFree(a->data);
    delete a;
    a = nullptr;
}

// Exchanges the share-list contents of a live portfolio and its copy.
void SwapContents(Portfolio& live, Portfolio& copy)
{
    std::swap(live.entries, copy.entries);
    std::swap(live.entryBytes, copy.entryBytes);
    std::swap(live.missing, copy.missing);
    std::swap(live.name, copy.name);
    std::swap(live.flags, copy.flags);
    std::swap(live.type, copy.type);
    std::swap(live.current, copy.current);
    std::swap(live.firstVisible, copy.firstVisible);
    live.last = int32_t(CountPortfolioEntries(live)) - 1;
    if (live.last < 0)
        live.last = 0;
    live.changed = 1;
}

void RefreshListsShowing(Portfolio* p)
{
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->source == p)
            SetShareListSource(l, p, 0, 0, true, true);
}

CashAccount* FindAccount(uint32_t number)
{
    for (CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a->number == number)
            return a;
    return nullptr;
}

} // namespace

UndoSlot::UndoSlot() = default;

UndoSlot::~UndoSlot()
{
    FreeSnapshot(portfolio);
    FreeAccountCopy(account);
}

UndoRing& GetUndoRing()
{
    static UndoRing ring;
    return ring;
}

void UndoRing::prepare(uint32_t mode, const Portfolio* portfolio, const CashAccount* account)
{
    FreeSnapshot(prepared_.portfolio);
    FreeAccountCopy(prepared_.account);
    prepared_.name.clear();
    if (portfolio) {
        mode_ = int32_t(mode);
        prepared_.target = kUndoPortfolio;
        if (mode != kUndoNew)
            prepared_.portfolio = Snapshot(*portfolio);
        prepared_.name = portfolio->name;
    } else if (account) {
        mode_ = int32_t(mode);
        prepared_.target = kUndoCashAccount;
        if (mode != kUndoNew)
            prepared_.account = CopyAccount(*account);
        prepared_.number = account->number;
        prepared_.name = account->name;
    } else {
        mode_ = kUndoNew;
    }
}

void UndoRing::push(uint32_t kind, Portfolio* portfolio)
{
    if (!portfolio && CurrentShareList())
        portfolio = CurrentShareList()->source;
    int32_t mode = mode_;
    if (mode < 0)
        mode = kind < 4 ? kUndoNew : kind > 20 ? kUndoDelete : kUndoChange;

    if (write_ != done_)
        write_ = done_;
    write_ = (write_ + 1) % kSlots;
    if (write_ == oldest_) {
        int s = (oldest_ + 1) % kSlots;
        if (slots_[size_t(s)].kind() == kUndoKindKeptA || slots_[size_t(s)].kind() == kUndoKindKeptB)
            oldest_ = s;
        oldest_ = (oldest_ + 1) % kSlots;
    }
    done_ = write_;

    UndoSlot& slot = slots_[size_t(write_)];
    FreeSnapshot(slot.portfolio);
    FreeAccountCopy(slot.account);
    slot.operation = uint32_t(mode) << 16 | (kind & 0xFFFF);
    slot.target = prepared_.target;
    if (slot.target == kUndoPortfolio) {
        if (mode != kUndoNew && prepared_.portfolio)
            slot.portfolio = Snapshot(*prepared_.portfolio);
        slot.number = prepared_.portfolio ? prepared_.portfolio->number : portfolio ? portfolio->number : 0;
        if (kind == kUndoKindNamedPortfolio)
            slot.name = portfolio ? portfolio->name.str() : kNoPortfolioName;
        else
            slot.name = portfolio ? portfolio->name.str() : prepared_.name;
    } else {
        if (mode != kUndoNew && prepared_.account)
            slot.account = CopyAccount(*prepared_.account);
        CashAccount* current = CashAccounts().current;
        slot.number = prepared_.account ? prepared_.account->number : prepared_.number;
        if (kind == kUndoKindNamedAccount)
            slot.name = current ? current->name : kNoAccountName;
        else
            slot.name = prepared_.name;
    }
}

bool UndoRing::undo()
{
    UndoSlot& slot = slots_[size_t(done_)];
    bool applied = apply(slot, slot.mode());
    done_ = done_ == 0 ? kSlots - 1 : done_ - 1;
    return applied;
}

bool UndoRing::redo()
{
    done_ = (done_ + 1) % kSlots;
    UndoSlot& slot = slots_[size_t(done_)];
    uint32_t operation = slot.operation;
    bool applied = apply(slot, kUndoDelete - slot.mode());
    slot.operation = operation;
    return applied;
}

void UndoRing::clear()
{
    for (UndoSlot& slot : slots_) {
        FreeSnapshot(slot.portfolio);
        FreeAccountCopy(slot.account);
        slot.operation = 0;
        slot.number = 0;
        slot.name.clear();
    }
    FreeSnapshot(prepared_.portfolio);
    FreeAccountCopy(prepared_.account);
    write_ = done_ = oldest_ = 0;
    mode_ = -1;
}

bool UndoRing::apply(UndoSlot& slot, int32_t operation)
{
    return slot.target == kUndoPortfolio ? applyToPortfolio(slot, operation) : applyToAccount(slot, operation);
}

bool UndoRing::applyToPortfolio(UndoSlot& slot, int32_t operation)
{
    Portfolio* live = FindPortfolioByNumber(uint16_t(slot.number));
    switch (operation) {
    case kUndoNew:
        if (!live)
            return false;
        FreeSnapshot(slot.portfolio);
        slot.portfolio = Snapshot(*live);
        DeletePortfolio(live);
        return true;
    case kUndoChange:
        if (!live || !slot.portfolio)
            return false;
        SwapContents(*live, *slot.portfolio);
        RefreshListsShowing(live);
        return true;
    default: {
        int32_t number = LowestFreePortfolioNumber();
        if (!slot.portfolio || number < 0)
            return false;
        auto* made = new Portfolio;
        made->number = uint16_t(number);
        made->changed = 1;
        std::fill(std::begin(made->settings), std::end(made->settings), uint8_t(0xFF));
        AppendToChain(made);
        CopyPortfolio(made, slot.portfolio.get(), 0);
        made->name = slot.name.empty() ? slot.portfolio->name : slot.name;
        slot.number = made->number;
        slot.portfolio->number = made->number;
        return true;
    }
    }
}

bool UndoRing::applyToAccount(UndoSlot& slot, int32_t operation)
{
    CashAccount* live = FindAccount(slot.number);
    switch (operation) {
    case kUndoNew:
        if (!live)
            return false;
        FreeAccountCopy(slot.account);
        slot.account = CopyAccount(*live);
        RemoveCashAccount(live);
        return true;
    case kUndoChange: {
        if (!live || !slot.account)
            return false;
        CashAccount* before = CopyAccount(*live);
        CopyCashAccount(*live, *slot.account, true);
        FreeAccountCopy(slot.account);
        slot.account = before;
        return true;
    }
    default: {
        if (!slot.account)
            return false;
        CashAccount* made = NewCashAccount(slot.name.empty() ? slot.account->name : slot.name);
        if (!made)
            return false;
        uint32_t number = made->number;
        CopyCashAccount(*made, *slot.account, false);
        made->number = number;
        slot.number = number;
        slot.account->number = number;
        return true;
    }
    }
}

void PushUndoStep(uint32_t kind, Portfolio* portfolio) { GetUndoRing().push(kind, portfolio); }

void PrepareUndoStep(uint32_t mode, const Portfolio* portfolio, const CashAccount* account)
{
    GetUndoRing().prepare(mode, portfolio, account);
}

void PrepareAndPushUndoStep(uint32_t kind, uint32_t mode, Portfolio* portfolio, const CashAccount* account)
{
    PrepareUndoStep(mode, portfolio, account);
    PushUndoStep(kind, portfolio);
}

} // namespace qv
