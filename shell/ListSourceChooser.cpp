// The list-source chooser.
#include "shell/ListSourceChooser.h"

#include "core/Portfolio.h"
#include "platform/MessageBox.h"
#include "shell/PortfolioAdd.h"
#include "views/ViewBase.h"

#include <algorithm>

namespace qv {
namespace {

constexpr uint16_t kSharesCode = 1;
constexpr uint16_t kFtse100Code = 4;

Portfolio* PortfolioNumbered(int32_t number)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->number == number)
            return p;
    return nullptr;
}

bool UserPortfoliosExist()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio || p->type == kGroupPortfolio)
            return true;
    return false;
}

std::string PortfolioEntryText(const Portfolio* p) { return "Port: " + PortfolioDisplayName(p); }

} // namespace

std::vector<uint16_t> ChooserListCodes(int mode)
{
    std::vector<uint16_t> codes{0, 2, 3, 18, 20, 5, 17, 6, 7, 8, 9, 19, 21, 10, 11, 12, 13, 14, 15, 16, 22, 23, 24};
    if (mode == 0)
        codes.insert(codes.end(), {27, 28, 29, 30, 31, 32, 33, 34});
    else if (mode >= 2)
        codes.insert(codes.end(), {28, 34});
    return codes;
}

void ListSourceChooser::Fill(int mode)
{
    entries.clear();
    entries.push_back({"<<User portfolio>>", kChooserUserPortfolio});
    Portfolio* p = portfolioNumber >= 0 ? PortfolioNumbered(portfolioNumber) : nullptr;
    if (p)
        entries.push_back({PortfolioEntryText(p), kChooserChosenPortfolio});
    else if (portfolioNumber >= 0)
        code = 0;
    for (uint16_t c : ChooserListCodes(mode))
        entries.push_back({ListCodeName(c), c});
    uint16_t wanted = p ? kChooserChosenPortfolio : uint16_t(code);
    auto it = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.data == wanted; });
    selected = it == entries.end() ? 1 : int(it - entries.begin());
    radio = code == kSharesCode ? 0 : code == kFtse100Code ? 2 : 1;
    comboEnabled = radio == 1;
}

void ListSourceChooser::OnSelect(int chosenRadio)
{
    radio = chosenRadio;
    comboEnabled = chosenRadio == 1;
    if (chosenRadio == 0)
        code = kSharesCode;
    else if (chosenRadio == 2)
        code = kFtse100Code;
    else if (selected >= 0)
        OnComboChange(selected, {});
}

void ListSourceChooser::RemovePortfolioEntry()
{
    auto it = std::find_if(entries.begin(), entries.end(),
                           [](const Entry& e) { return e.data == kChooserChosenPortfolio; });
    if (it == entries.end())
        return;
    int removed = int(it - entries.begin());
    entries.erase(it);
    if (selected > removed)
        --selected;
}

void ListSourceChooser::OnComboChange(int index, const PortfolioPicker& pick)
{
    if (index < 0 || index >= int(entries.size()))
        return;
    selected = index;
    uint16_t data = entries[size_t(index)].data;
    if (data == kChooserUserPortfolio) {
        if (!UserPortfoliosExist()) {
            ShowMessage("There are currently no user portfolios available.\nUsing the all list.", {}, MsgButtons::Ok);
            code = 0;
            return;
        }
        Portfolio* chosen = pick ? pick() : nullptr;
        if (!chosen)
            return;
        portfolio = chosen;
        LastChosenPortfolio() = chosen;
        portfolioNumber = chosen->number;
        RemovePortfolioEntry();
        entries.insert(entries.begin() + 1, {PortfolioEntryText(chosen), kChooserChosenPortfolio});
        selected = 1;
        return;
    }
    if (data == kChooserChosenPortfolio && portfolio)
        return;
    code = data;
    RemovePortfolioEntry();
    selected = int(std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.data == data; }) -
                   entries.begin());
}

} // namespace qv
