// The save, exit and restart check: a session changes what the program keeps, saves it with
// File > Save and exits; the next start prints the same state for the caller to compare.
#include "app/ui/RoundTripCheck.h"

#include "app/ui/ScriptedUse.h"
#include "core/CashAccounts.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/Portfolio.h"
#include "core/TransactionTypes.h"
#include "portfolio/Transaction.h"
#include "portfolio/ui/RecordTransaction.h"
#include "portfolio/ui/TransactionRecordDlg.h"
#include "shell/LayoutWindow.h"
#include "shell/UserToolbars.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/DialogAnswerer.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "views/FrameState.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace qv {
namespace {

constexpr uint32_t kCommandSave = 26265;
constexpr uint32_t kCommandExit = 57665;
constexpr int kLayoutOfManyWindows = 1; // the second default layout

void Say(const std::string& line) { std::fprintf(stderr, "Round trip: %s\n", line.c_str()); }

int RecordsOf(const Portfolio& p)
{
    int n = 0;
    for (const Transaction* t = p.transactions; t; t = t->next)
        n += t->type() != kLatestRowType;
    return n;
}

Portfolio* FirstHeldPortfolio()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio && p->transactions)
            return p;
    return nullptr;
}

size_t ToolbarCount() { return ProgramToolbars().Count(); }

// What the program keeps, one line each, in an order that does not depend on the run.
std::vector<std::string> State(CMainFrame& frame)
{
    std::vector<std::string> lines;
    for (const Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio || p->type == kGroupPortfolio)
            lines.push_back("portfolio " + std::to_string(p->number) + " \"" + p->name.str() + "\" " +
                            std::to_string(RecordsOf(*p)) + " records");
    for (const CashAccount* a = CashAccounts().head; a; a = a->next)
        lines.push_back("cash account " + std::to_string(a->number) + " \"" + a->name + "\" " +
                        std::to_string(a->dataSize) + " bytes");
    std::string bars = "toolbars";
    for (const auto& bar : ProgramToolbars().toolbars)
        bars += " \"" + bar->name + "\"";
    lines.push_back(bars);
    lines.push_back(std::string("current filter \"") + (CurrentFilter() ? CurrentFilter()->name : "") + "\"");
    std::vector<std::string> windows;
    for (QMdiSubWindow* sub : frame.mdiArea()->subWindowList()) {
        auto* child = qobject_cast<CChildWindow*>(sub);
        if (!child || child->isHidden())
            continue;
        const QRect g = child->geometry();
        windows.push_back("window kind " + std::to_string(child->kind()) + " at " + std::to_string(g.left()) + "," +
                          std::to_string(g.top()) + " " + std::to_string(g.width()) + "x" +
                          std::to_string(g.height()) + " \"" + child->windowTitle().toStdString() + "\"");
    }
    std::sort(windows.begin(), windows.end());
    lines.insert(lines.end(), windows.begin(), windows.end());
    return lines;
}

void SayState(CMainFrame& frame)
{
    for (const std::string& line : State(frame))
        Say("state: " + line);
}

void Check(const char* step, bool done) { Say(std::string(step) + (done ? ": done" : ": FAILED")); }

// A buy of 100 shares at 123p of the portfolio's first share, through the transaction dialog.
bool RecordABuy(CMainFrame& frame, Portfolio& portfolio)
{
    CDialogAnswerer answerer(CDialogAnswerer::Answer::Ok);
    answerer.SetHook([](QWidget& dialog) {
        if (!qobject_cast<CTransactionRecord*>(&dialog))
            return false;
        for (auto [id, text] : {std::pair{TransactionControl::Shares, "100"}, std::pair{TransactionControl::Price, "123"}})
            if (auto* edit = dialog.findChild<QLineEdit*>(QString::number(id))) {
                edit->setText(QString::fromLatin1(text));
                edit->textEdited(edit->text());
            }
        return false;
    });
    const int before = RecordsOf(portfolio);
    const bool stored =
        RecordTransaction(&portfolio, 1, portfolio.transactions->shareId(), portfolio.transactions->line(), 0, nullptr, &frame);
    SettleEvents(300);
    return stored && RecordsOf(portfolio) == before + 1;
}

void ChangeAndSave(CMainFrame& frame)
{
    SetUnattendedDialogsRun(true);
    SettleEvents(300);
    Config().optionsA.data()[OptionBlockA::kMultipleWindows] = 1;
    frame.ReloadMainMenu();
    SettleEvents(300);
    Check("layout of many windows", ChooseMenuCommand(frame, kCommandFirstLayout + kLayoutOfManyWindows) &&
                                        frame.mdiArea()->subWindowList().size() > 1);
    SettleEvents(500);
    if (QMdiSubWindow* moved = frame.mdiArea()->subWindowList().value(0))
        moved->setGeometry(moved->geometry().translated(7, 5));

    Portfolio* held = FirstHeldPortfolio();
    Check("transaction recorded", held && RecordABuy(frame, *held));

    ProgramToolbars().AddToolbar(-1);
    if (FrameHooks* hooks = MainFrameHooks())
        hooks->RefreshToolbars();
    const size_t toolbars = ToolbarCount();
    if (FilterList().size() > 1)
        SetCurrentFilter(FilterList()[FilterList().front().get() == CurrentFilter() ? 1 : 0].get());

    const std::vector<std::string> before = State(frame);
    const int records = held ? RecordsOf(*held) : 0;
    Check("File > Save", ChooseMenuCommand(frame, kCommandSave));
    SettleEvents(500);
    Check("the transactions stay after Save", held && RecordsOf(*held) == records);
    Check("the toolbars stay after Save", ToolbarCount() == toolbars && toolbars > 0);
    Check("nothing else changed by Save", State(frame) == before);
    SayState(frame);
}

} // namespace

void RunRoundTrip(CMainFrame& frame, int phase)
{
    SettleEvents(500);
    if (phase == 1)
        ChangeAndSave(frame);
    else
        SayState(frame);
    Check("exit", ChooseMenuCommand(frame, kCommandExit));
}

} // namespace qv
