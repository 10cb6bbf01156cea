// Making and naming portfolios: a new portfolio or group with the lowest free number, the name
// asked in the new-name dialog, and the member list a group's adjust dialog edits.
#pragma once

#include "core/Portfolio.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

// Modes of the name question: 0 rename a portfolio, 1 rename a group, 2 name a new portfolio, 3 name
// a new group.
enum PortfolioNameMode : int { kRenamePortfolio = 0, kRenameGroup = 1, kNameNewPortfolio = 2, kNameNewGroup = 3 };
// The dialog's title for a mode, and its second line ("Previous name: " and the name in mode 0).
std::string PortfolioNameTitle(int mode);
std::string PortfolioNameLine(int mode, const std::string& previous);
// Whether the new-name dialog's OK can be pressed on the text: not empty, and unless duplicates are
// allowed, no portfolio of the chain named exactly so (case counts).
bool PortfolioNameAcceptable(const std::string& text, bool allowDuplicates);

// The dialogs the portfolio windows install: the name question (the new name, false on Cancel) and
// the group's member editor (true on OK, the members edited in place).
struct PortfolioDialogHooks {
    std::function<bool(const Portfolio& portfolio, int mode, std::string& name)> askName;
    std::function<bool(Portfolio& group)> adjustMembers;
};
void SetPortfolioDialogHooks(PortfolioDialogHooks hooks);
bool PortfolioDialogsInstalled();

// Asks the name; on OK stores it and saves the portfolio (true).
bool AskPortfolioName(Portfolio& portfolio, int mode);
// A new user portfolio with the lowest free number, appended to the chain; with no name given it is
// asked (Cancel: none) and the portfolio saved. None, after telling the user, when every number is
// taken.
Portfolio* NewPortfolio(const std::string& name);
// A new group portfolio: its name asked, then its members; none on either Cancel (after the name
// it stays in the chain unsaved, as the member dialog found it).
Portfolio* NewGroupPortfolio();

constexpr const char* kNoMorePortfolios = "No more portfolios can be made: numbers 0 to 999 are in use.";

// The group's members as portfolio numbers + 1, in list order.
std::vector<uint16_t> GroupMemberKeys(const Portfolio& group);
void SetGroupMemberKeys(Portfolio& group, const std::vector<uint16_t>& keys);
// The user portfolios a group can take: {key, name} of every portfolio of kind 0, included or not.
struct MemberChoice {
    uint16_t key = 0;
    std::string name;
};
std::vector<MemberChoice> UserPortfolioChoices();

} // namespace qv
