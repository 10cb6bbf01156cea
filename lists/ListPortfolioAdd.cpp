// Adding a list's shares to a portfolio.
#include "lists/ListPortfolioAdd.h"

#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "shell/PortfolioAdd.h"
#include "views/CommandUpdate.h"

#include <algorithm>

namespace qv {
namespace {

std::function<CurrentPortfolioView()>& ViewSource()
{
    static std::function<CurrentPortfolioView()> source;
    return source;
}

std::function<Portfolio*(int)>& Chooser()
{
    static std::function<Portfolio*(int)> chooser;
    return chooser;
}

bool ToCurrent(uint32_t command) { return command >= kCmdAddAllToCurrent && command <= kCmdAddShareToCurrent; }

const char* Prompt(uint32_t command)
{
    switch (command) {
    case kCmdAddShareToCurrent: return "Add share to the current portfolio";
    case kCmdAddAllToCurrent: return "Add all shares to the current portfolio";
    case kCmdAddAboveToCurrent: return "Add the shares above (including the selected share) to the current portfolio";
    case kCmdAddBelowToCurrent: return "Add the shares below (including the selected share) to the current portfolio";
    case kCmdAddShareToChosen: return "Add the selected share to another portfolio";
    case kCmdAddAllToChosen: return "Add all shares to a selected portfolio";
    case kCmdAddAboveToChosen: return "Add the shares above (including the selected share) to another portfolio";
    default: return "Add the shares below (including the selected share) to another portfolio";
    }
}

} // namespace

bool IsListAddCommand(uint32_t command)
{
    return ToCurrent(command) || (command >= kCmdAddAllToChosen && command <= kCmdAddBelowToChosen) ||
           command == kCmdAddShareToChosen;
}

void SetCurrentPortfolioViewSource(std::function<CurrentPortfolioView()> source) { ViewSource() = std::move(source); }

CurrentPortfolioView GetCurrentPortfolioView() { return ViewSource() ? ViewSource()() : CurrentPortfolioView{}; }

void SetPortfolioChooser(std::function<Portfolio*(int mode)> chooser) { Chooser() = std::move(chooser); }

bool PortfolioChooserInstalled() { return bool(Chooser()); }

RowSpan AddCommandRows(uint32_t command, int current, int rows)
{
    if (rows <= 0)
        return {};
    int at = std::clamp(current, 0, rows - 1);
    switch (command) {
    case kCmdAddAllToCurrent:
    case kCmdAddAllToChosen: return {0, rows - 1};
    case kCmdAddAboveToCurrent:
    case kCmdAddAboveToChosen: return {0, at};
    case kCmdAddBelowToCurrent:
    case kCmdAddBelowToChosen: return {at, rows - 1};
    default: return {at, at};
    }
}

std::string AddCommandMenuText(uint32_t command, const CurrentPortfolioView& view)
{
    std::string text;
    switch (command) {
    case kCmdAddAllToCurrent: text = "Add &all shares to portfolio "; break;
    case kCmdAddAboveToCurrent: text = "Add all shares abo&ve to portfolio "; break;
    case kCmdAddBelowToCurrent: text = "Add all shares &below to portfolio "; break;
    default: text = "Add selected share to &portfolio "; break;
    }
    if (view.exists && view.portfolio)
        return text + "'" + view.portfolio->name.str() + "'";
    return text + "<None selected>";
}

bool AddCommandEnabled(uint32_t command, int rows, const CurrentPortfolioView& view)
{
    if (rows <= 0)
        return false;
    // Without the portfolio chooser the commands to a chosen portfolio have nothing to run.
    if (!ToCurrent(command))
        return PortfolioChooserInstalled();
    if (!view.exists)
        return false;
    const Portfolio* p = view.portfolio;
    return !p || p->type == kUserPortfolio || (p->type == kGroupPortfolio && p->members.get() != nullptr);
}

bool RunAddCommand(uint32_t command, ShareList* list)
{
    int rows = ShareListCount(list);
    Portfolio* target = nullptr;
    if (ToCurrent(command)) {
        CurrentPortfolioView view = GetCurrentPortfolioView();
        if (!view.exists || (command != kCmdAddShareToCurrent && rows == 0))
            return false;
        target = view.portfolio;
    } else {
        if (!Chooser())
            NoteNothingToRun(command);
        if (rows == 0 || !Chooser())
            return false;
        target = Chooser()(kChooserAddMode);
        if (!target)
            return false;
    }
    RowSpan span = AddCommandRows(command, list ? list->current : 0, rows);
    if (span.first > span.last)
        return false;
    RecordCursor* first = ShareListEntry(list, span.first);
    if (command == kCmdAddShareToCurrent || command == kCmdAddShareToChosen)
        return AddShareToPortfolio(target, *first, Prompt(command));
    return AddSharesToPortfolio(target, first, ShareListEntry(list, span.last), Prompt(command));
}

} // namespace qv
