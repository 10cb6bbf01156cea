// Making and naming portfolios.
#include "portfolio/PortfolioMaking.h"

#include "platform/MessageBox.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"

#include <cstring>

namespace qv {
namespace {

PortfolioDialogHooks& Hooks()
{
    static PortfolioDialogHooks hooks;
    return hooks;
}

Portfolio* MakeRecord(uint8_t type)
{
    const int32_t number = LowestFreePortfolioNumber();
    if (number < 0) {
        ShowMessage(kNoMorePortfolios, {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return nullptr;
    }
    auto* p = new Portfolio;
    p->number = uint16_t(number);
    p->type = type;
    p->changed = type == kGroupPortfolio ? 1 : 0;
    std::memset(p->settings, 0xFF, sizeof p->settings);
    ResetPortfolioEntries(*p);
    return p;
}

bool AskName(const Portfolio& p, int mode, std::string& name)
{
    return Hooks().askName && Hooks().askName(p, mode, name);
}

} // namespace

std::string PortfolioNameTitle(int mode)
{
    switch (mode) {
    case kRenamePortfolio: return "Choose a new name for the portfolio";
    case kRenameGroup: return "Choose a new name for the group portfolio";
    case kNameNewGroup: return "Choose a name for the group portfolio";
    default: return "Choose a name for the portfolio";
    }
}

std::string PortfolioNameLine(int mode, const std::string& previous)
{
    return mode == kRenamePortfolio ? "Previous name: " + previous : std::string();
}

bool PortfolioNameAcceptable(const std::string& text, bool allowDuplicates)
{
    if (text.empty())
        return false;
    if (allowDuplicates)
        return true;
    for (const Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->name.str() == text)
            return false;
    return true;
}

void SetPortfolioDialogHooks(PortfolioDialogHooks hooks) { Hooks() = std::move(hooks); }
bool PortfolioDialogsInstalled() { return bool(Hooks().askName) && bool(Hooks().adjustMembers); }

bool AskPortfolioName(Portfolio& portfolio, int mode)
{
    std::string name = portfolio.name;
    if (!AskName(portfolio, mode, name))
        return false;
    portfolio.name = name;
    SavePortfolio(&portfolio, false);
    return true;
}

Portfolio* NewPortfolio(const std::string& name)
{
    Portfolio* p = MakeRecord(kUserPortfolio);
    if (!p)
        return nullptr;
    std::string chosen = name;
    if (name.empty() && !AskName(*p, kNameNewPortfolio, chosen)) {
        FreePortfolio(p);
        return nullptr;
    }
    p->name = chosen;
    AppendToChain(p);
    if (name.empty())
        SavePortfolio(p, false);
    return p;
}

Portfolio* NewGroupPortfolio()
{
    Portfolio* p = MakeRecord(kGroupPortfolio);
    if (!p)
        return nullptr;
    std::string chosen;
    if (!AskName(*p, kNameNewGroup, chosen)) {
        FreePortfolio(p);
        return nullptr;
    }
    p->name = chosen;
    AppendToChain(p);
    if (!Hooks().adjustMembers || !Hooks().adjustMembers(*p))
        return nullptr;
    p->changed = 1;
    RebuildGroupPortfolio(p);
    SavePortfolio(p, false);
    return p;
}

std::vector<uint16_t> GroupMemberKeys(const Portfolio& group)
{
    std::vector<uint16_t> keys;
    for (const PortfolioMember* m = group.members; m; m = m->next)
        keys.push_back(m->numberPlusOne);
    return keys;
}

void SetGroupMemberKeys(Portfolio& group, const std::vector<uint16_t>& keys)
{
    FreePortfolioMembers(group.members);
    Link32<PortfolioMember>* tail = &group.members;
    for (uint16_t key : keys) {
        auto* node = new PortfolioMember{{}, key, 0xFFFF};
        *tail = node;
        tail = &node->next;
    }
    group.changed = 1;
}

std::vector<MemberChoice> UserPortfolioChoices()
{
    std::vector<MemberChoice> out;
    for (const Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio)
            out.push_back({uint16_t(p->number + 1), p->name.str()});
    return out;
}

} // namespace qv
