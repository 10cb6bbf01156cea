// The save, exit and restart check: a session changes what the program keeps, saves it with
// File > Save and exits; the next start prints the same state for the caller to compare.
#include "app/ui/RoundTripCheck.h"

#include "app/ui/ScriptedUse.h"
#include "core/CashAccounts.h"
#include "core/DMFilter.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "core/TransactionTypes.h"
#include "portfolio/Transaction.h"
#include "portfolio/ui/RecordTransaction.h"
#include "portfolio/ui/TransactionRecordDlg.h"
#include "shell/FrameMessages.h"
#include "shell/LayoutWindow.h"
#include "shell/SettingCommands.h"
#include "shell/UserToolbars.h"
#include "shell/ui/AccelListBox.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/DialogAnswerer.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/ToolbarDesign.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace qv {
namespace {

constexpr uint32_t kCommandSave = 26265;
constexpr uint32_t kCommandExit = 57665;
constexpr uint32_t kCommandNewToolbar = 26754;
constexpr int kMainLayout = 0; // a share list, a daily chart and three intraday charts
// Windows of the other kinds, each opened as the user opens a new window.
constexpr uint32_t kNewWindows[] = {kCommandNewDetails,   kCommandNewTicker,    kCommandNewTradeList,
                                    kCommandNewSharesList, kCommandNewPortfolio, kCommandNewTransactions,
                                    kCommandNewCash};

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
        bars += " \"" + bar->name + "\" side " + std::to_string(bar->dock) + " buttons " + std::to_string(bar->count);
    lines.push_back(bars);
    const ShareList* current = CurrentShareList();
    lines.push_back("current portfolio " + std::to_string(current && current->source ? current->source->number : -1));
    lines.push_back(std::string("current filter \"") + (CurrentFilter() ? CurrentFilter()->name : "") + "\"");
    std::vector<std::string> windows;
    for (QMdiSubWindow* sub : frame.mdiArea()->subWindowList()) {
        auto* child = qobject_cast<CChildWindow*>(sub);
        if (!child || child->isHidden())
            continue;
        const QRect g = child->geometry();
        std::string shown;
        if (auto* view = dynamic_cast<CViewBase*>(child->widget()); view && view->list) {
            const RecordCursor* entry = CurrentEntry(view->list);
            shown = " share " + std::to_string(entry ? EntryRecordId(*entry) : view->list->currentId) + " setting " +
                    std::to_string(view->secondKey);
        }
        windows.push_back("window kind " + std::to_string(child->kind()) + " at " + std::to_string(g.left()) + "," +
                          std::to_string(g.top()) + " " + std::to_string(g.width()) + "x" +
                          std::to_string(g.height()) + shown +
                          (child == frame.mdiArea()->activeSubWindow() ? " active" : "") + " \"" +
                          child->windowTitle().toStdString() + "\"");
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

// A new toolbar with one button, made in the toolbar designer and kept with its OK.
bool AddToolbarWithAButton(CMainFrame& frame)
{
    CDialogAnswerer answerer(CDialogAnswerer::Answer::Ok);
    answerer.SetHook([](QWidget& dialog) {
        if (auto* design = dynamic_cast<CToolbarDesign*>(&dialog); design && design->available()->count() > 0) {
            design->available()->setCurrentRow(0);
            design->AddSelected();
        }
        return false;
    });
    const size_t before = ToolbarCount();
    if (!ChooseMenuCommand(frame, kCommandNewToolbar))
        frame.OnCommand(kCommandNewToolbar);
    SettleEvents(300);
    return ToolbarCount() == before + 1 && ProgramToolbars().toolbars.size() > 0;
}

CChildWindow* WindowOfKind(CMainFrame& frame, int32_t kind)
{
    for (QMdiSubWindow* sub : frame.mdiArea()->subWindowList())
        if (auto* child = qobject_cast<CChildWindow*>(sub); child && !child->isHidden() && child->kind() == kind)
            return child;
    return nullptr;
}

// The share the portfolio window shows, or 0.
uint32_t PortfolioWindowShare(CMainFrame& frame)
{
    CChildWindow* window = WindowOfKind(frame, kViewPortfolio);
    auto* view = window ? dynamic_cast<CViewBase*>(window->widget()) : nullptr;
    const RecordCursor* entry = view && view->list ? CurrentEntry(view->list) : nullptr;
    return entry ? EntryRecordId(*entry) : 0;
}

// Handles events until the condition holds, however long a loaded machine takes (a minute at most).
bool SettleUntil(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 60000)
            return false;
        SettleEvents(50);
    }
    return true;
}

void ChangeAndSave(CMainFrame& frame)
{
    SetUnattendedDialogsRun(true);
    SettleEvents(300);
    Check("main layout", ChooseMenuCommand(frame, kCommandFirstLayout + kMainLayout) &&
                             frame.mdiArea()->subWindowList().size() > 1);
    SettleEvents(500);
    size_t opened = 0;
    for (uint32_t command : kNewWindows) {
        const qsizetype before = frame.mdiArea()->subWindowList().size();
        if (ChooseMenuCommand(frame, command)) {
            SettleEvents(300);
            opened += frame.mdiArea()->subWindowList().size() > before;
        }
    }
    Check("windows of every kind opened", opened == std::size(kNewWindows));
    // Down to another share in the portfolio window, as the user moves in it (up when the window
    // opened on its last rows, which depends on the day's prices): the Buy and the restart must keep
    // that share, not go back to the portfolio's first row.
    SettleUntil([&frame] { return PortfolioWindowShare(frame) != 0; });
    const uint32_t first = PortfolioWindowShare(frame);
    if (CChildWindow* portfolio = WindowOfKind(frame, kViewPortfolio); portfolio && portfolio->widget()) {
        frame.mdiArea()->setActiveSubWindow(portfolio);
        auto* view = dynamic_cast<CViewBase*>(portfolio->widget());
        SettleUntil([view] { return MainFrameState().activeView == view; });
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up}) {
            for (int i = 0; i < 2 && PortfolioWindowShare(frame) == first; ++i) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::ShiftModifier);
                QApplication::sendEvent(portfolio->widget(), &press);
            }
        }
        SettleEvents(200);
    }
    const uint32_t chosen = PortfolioWindowShare(frame);
    if (chosen == 0 || chosen == first)
        Say("the portfolio window stayed on share " + std::to_string(first) + " (now " + std::to_string(chosen) +
            ", active view " + (MainFrameState().activeView ? "set" : "none") + ")");
    Check("another share chosen in the portfolio window", chosen != 0 && chosen != first);
    if (QMdiSubWindow* moved = frame.mdiArea()->subWindowList().value(0))
        moved->setGeometry(moved->geometry().translated(7, 5));
    if (CChildWindow* chart = WindowOfKind(frame, kViewDailyChart)) {
        frame.mdiArea()->setActiveSubWindow(chart);
        SettleEvents(200);
        Check("graph setting chosen", ChooseMenuCommand(frame, kCommandFirstSetting + 2));
    } else {
        Check("graph setting chosen", false);
    }

    Portfolio* held = FirstHeldPortfolio();
    Check("transaction recorded", held && RecordABuy(frame, *held));
    Check("the portfolio window stays on its share after the Buy", PortfolioWindowShare(frame) == chosen);
    Check("toolbar added", AddToolbarWithAButton(frame));
    const size_t toolbars = ToolbarCount();
    if (FilterList().size() > 1)
        SetCurrentFilter(FilterList()[FilterList().front().get() == CurrentFilter() ? 1 : 0].get());
    SettleEvents(300);

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
