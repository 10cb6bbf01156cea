// Installing the portfolio windows.
#include "portfolio/ui/PortfolioWindows.h"

#include "chartmodel/PortfolioSeriesCache.h"
#include "core/ShareList.h"
#include "lists/ListPortfolioAdd.h"
#include "lists/ui/ViewListTop.h"
#include "lists/ui/ViewDetailWindow.h"
#include "portfolio/PortfolioChooserRules.h"
#include "portfolio/PortfolioMaking.h"
#include "portfolio/ui/PortfolioChooser.h"
#include "portfolio/ui/PortfolioNameDlgs.h"
#include "portfolio/ui/ViewPort.h"
#include "portfolio/ui/ViewTran.h"
#include "portfolio/ui/CashDialogs.h"
#include "portfolio/ui/CgtCommands.h"
#include "portfolio/ui/PortSummary.h"
#include "portfolio/ui/ViewCash.h"
#include "shell/FrameDialogSeams.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/ModalDialog.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>

namespace qv {
namespace {

constexpr int kCopyToMode = 7;
constexpr int kPickMode = 9;

QWidget* Parent() { return QApplication::activeWindow(); }

Portfolio* Choose(int mode) { return RunPortfolioChooser(mode, false, Parent()); }

} // namespace

void InstallPortfolioWindows()
{
    InstallPortfolioViewClass();
    InstallTransactionViewClass();
    InstallCashViewClass();
    InstallCashDialogs();
    InstallSectorAnalysisCommand();
    SetTopCommandHandlers(UpdateCgtCommand, RunCgtCommand);
    PortfolioDialogHooks dialogs;
    dialogs.askName = [](const Portfolio& p, int mode, std::string& name) {
        return AskPortfolioNameDialog(p, mode, name, Parent());
    };
    dialogs.adjustMembers = [](Portfolio& group) {
        CAdjustPortfolios dialog(group, Parent());
        return RunModalDialog(dialog) == QDialog::Accepted;
    };
    SetPortfolioDialogHooks(std::move(dialogs));

    FrameDialogSeams& frame = FrameDialogs();
    // The chooser deletes by itself (its Delete button); what it answers is always to be opened.
    frame.portfolioChooser = [](int mode, bool& deleteFlag) {
        Portfolio* p = RunPortfolioChooser(mode, deleteFlag && mode == 0, Parent());
        if (mode == 0)
            deleteFlag = false;
        return p;
    };
    frame.newPortfolio = [] { return NewPortfolio(""); };
    frame.newGroupPortfolio = [] { return NewGroupPortfolio(); };
    frame.askPortfolioName = [](Portfolio* p) {
        return p && AskPortfolioName(*p, p->type == kGroupPortfolio ? kRenameGroup : kRenamePortfolio);
    };

    PortfolioAddHooks add = DefaultPortfolioAddHooks();
    add.newPortfolio = [](const char*) { return NewPortfolio(""); };
    add.chooseMember = [](Portfolio* group) { return RunPortfolioChooser(kPickMode, false, Parent(), group); };
    SetPortfolioAddHooks(std::move(add));

    SetPortfolioChooser([](int mode) { return Choose(mode); });
    DetailPortfolioHooks detail;
    detail.current = []() -> Portfolio* {
        if (CViewPort* view = CViewPort::Current())
            return view->portfolio();
        return CurrentShareList() ? CurrentShareList()->source : nullptr;
    };
    detail.choose = [] { return Choose(kCopyToMode); };
    SetDetailPortfolioHooks(std::move(detail));
    SetMarketGraphPortfolios([] {
        std::vector<MarketGraphPortfolio> out;
        const Portfolio* current = CurrentShareList() ? CurrentShareList()->source : nullptr;
        for (const ChooserEntry& e : ListChooserEntries(kPickMode, false, current).portfolios)
            if (const Portfolio* p = PortfolioAtPosition(e.value))
                out.push_back({p->number, e.text});
        return out;
    });
}

void RemovePortfolioWindows()
{
    RegisterViewClass(2, {});
    RegisterViewClass(4, {});
    RegisterViewClass(7, {});
    RemoveCashDialogs();
    SetTopCommandHandlers(nullptr, nullptr);
    SetPortfolioDialogHooks({});
    FrameDialogSeams& frame = FrameDialogs();
    frame.portfolioChooser = nullptr;
    frame.newPortfolio = nullptr;
    frame.newGroupPortfolio = nullptr;
    frame.askPortfolioName = nullptr;
    SetPortfolioAddHooks(DefaultPortfolioAddHooks());
    SetPortfolioChooser({});
    SetCurrentPortfolioViewSource({});
    SetDetailPortfolioHooks({});
    SetMarketGraphPortfolios({});
}

} // namespace qv
